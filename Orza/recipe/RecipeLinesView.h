#pragma once

#include "Orza/widgets/FocusReportingView.h"

#include <QTableView>

namespace Orza {

class RecipeLinesModel;

/**
 * The table of a recipe's lines: fixed-height rows, the Material column taking the spare width, the
 * others fixed. It grows with its lines from two to eight rows and scrolls beyond; it never builds a
 * widget per row, so a recipe of 10,000 lines scrolls as quickly as one of ten.
 */
class RecipeLinesView final : public FocusReportingView<QTableView> {
    Q_OBJECT
public:
    explicit RecipeLinesView(RecipeLinesModel* model, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    /// Delete or Backspace with rows selected.
    void removeRequested();
    /// The picker for the row's material: a click on the Material cell, or Return or Space on it.
    void pickRequested(const QModelIndex& index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    int heightForRows(int rows) const;
    void followRowCount();

    RecipeLinesModel* m_model;
};

} // namespace Orza
