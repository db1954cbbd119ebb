#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace Orza {

class BookLibrary;
class MaterialResultsModel;

/**
 * Choosing a material: a search field over every material of the book's library, the results in the
 * library's order with a keyboard highlight, their count and "Choose". Return in the field picks the
 * highlighted result, else the first; Return in the list and "Choose" pick the highlighted one; a
 * double-click picks a row at once. A highlight that the search filters out is dropped, not moved.
 */
class MaterialSearchList final : public QWidget {
    Q_OBJECT
public:
    /// `selectedID`: the material chosen now, highlighted when the list opens.
    MaterialSearchList(const BookLibrary& library, const std::string& selectedID, QWidget* parent = nullptr);
    ~MaterialSearchList() override;

    /// The size it opens at where the screen leaves room for it.
    QSize sizeHint() const override;

    QLineEdit* searchField() const { return m_search; }
    QListView* list() const { return m_list; }
    QLabel* countLabel() const { return m_count; }
    QPushButton* chooseButton() const { return m_choose; }

    /// The highlighted result while it is among the results; else, with `fallBack`, the first result.
    std::optional<std::string> effectiveHighlight(bool fallBack) const;
    /// Picks effectiveHighlight(fallBack), when there is one.
    void pickHighlighted(bool fallBack);

    /// The three largest oxides of the analysis, "SiO₂ 68.0, Al₂O₃ 19.0, Na₂O 11.0", in the user's locale.
    static QString materialSubtitle(const GlazeCore::Material& material);

signals:
    void picked(const QString& materialID);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void search(const QString& query);
    void setHighlight(const std::optional<std::string>& id);
    std::optional<std::string> highlighted() const;
    void updateFooter();

    std::unique_ptr<MaterialResultsModel> m_results;
    QLineEdit* m_search;
    QListView* m_list;
    QLabel* m_count;
    QPushButton* m_choose;
};

} // namespace Orza
