#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace Orza {

class TileSearchCache;
class WindowModel;

/**
 * The top of the test log's list: a search box (a search symbol, the field and, while it holds any text, a
 * clear button) over a row with the cone menu, the atmosphere menu and the count of tiles shown.
 *
 * The field and menus are the window model's search text and filters: editing one writes the model, and a
 * change of the model from elsewhere (Add Test clearing the search) shows in them. The menus list the cones
 * and atmospheres the book's tiles use, plus the one chosen.
 */
class TestSearchBar final : public QWidget {
    Q_OBJECT
public:
    TestSearchBar(WindowModel& model, TileSearchCache& cache, QWidget* parent = nullptr);

    /// "12 tiles", or "3 of 12" while a search or filter is on.
    void setCount(int shown, int total);
    /// Gives the field the keyboard focus with its text selected, so typing replaces it; a bar not yet on
    /// screen does so as it appears.
    void focusSearch();

    QLineEdit* searchField() const { return m_field; }
    QToolButton* clearButton() const { return m_clear; }
    QComboBox* conePicker() const { return m_cone; }
    QComboBox* atmospherePicker() const { return m_atmosphere; }
    QLabel* countLabel() const { return m_count; }

signals:
    /// Return in the search field.
    void submitted();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeSearchBox();
    QWidget* makeFilterRow();
    void showQuery();
    void showConeMenu();
    void showAtmosphereMenu();
    void paintSymbols();

    WindowModel& m_model;
    TileSearchCache& m_cache;
    QLabel* m_symbol = nullptr;
    QLineEdit* m_field = nullptr;
    QToolButton* m_clear = nullptr;
    QComboBox* m_cone = nullptr;
    QComboBox* m_atmosphere = nullptr;
    QLabel* m_count = nullptr;
    bool m_focusWhenShown = false;
};

} // namespace Orza
