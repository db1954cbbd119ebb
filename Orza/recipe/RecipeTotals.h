#pragma once

#include <QWidget>

class QHeaderView;
class QLabel;

namespace Orza {

class RecipeLinesModel;

/**
 * The totals under the lines table: the base total with "100.0 %", and the additions with their share
 * of the base when there are any. The figures stand under the Amount and "% of base" columns and follow
 * them when the columns move.
 */
class RecipeTotals final : public QWidget {
    Q_OBJECT
public:
    RecipeTotals(RecipeLinesModel* model, QHeaderView* columns, QWidget* parent = nullptr);

    QWidget* additionsRow() const { return m_additionsRow; }
    QLabel* baseAmount() const { return m_baseAmount; }
    QLabel* basePercent() const { return m_basePercent; }
    QLabel* additionsAmount() const { return m_additionsAmount; }

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void update();
    void place();

    RecipeLinesModel* m_model;
    QHeaderView* m_columns;
    QWidget* m_baseRow;
    QLabel* m_baseTitle;
    QLabel* m_baseAmount;
    QLabel* m_basePercent;
    QWidget* m_additionsRow;
    QLabel* m_additionsTitle;
    QLabel* m_additionsAmount;
    QLabel* m_additionsPercent;
};

} // namespace Orza
