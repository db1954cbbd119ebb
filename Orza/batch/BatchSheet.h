#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "Orza/batch/BatchPrintPage.h"
#include "Orza/batch/BatchRows.h"
#include "Orza/library/BookLibrary.h"

#include <QDialog>
#include <QString>

#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QWidget;

namespace Orza {

class BatchRowsModel;
class BatchTotalRow;
class LiveNumberField;
struct PaneContext;

/**
 * The batch sheet: one recipe as a weighing list, every line scaled to the batch weight and rounded to
 * the scale's step (both per-user settings, written as they are edited), with the total, the reasons
 * nothing can be listed or printed, and Print… and Export PDF… of the printed page. It writes nothing
 * to the book. Results of printing and export are reported in one line of the sheet, never in an alert.
 */
class BatchSheet final : public QDialog {
    Q_OBJECT
public:
    BatchSheet(GlazeCore::Recipe recipe, BookLibrary library, QWidget* parent = nullptr);

    /// Opens the sheet of the book's recipe, window-modal over the window, and keeps it on the recipe and
    /// library as the book changes. The window model's showBatch is true while it is up: clearing it
    /// closes the sheet, closing the sheet clears it. A sheet already up is brought forward instead.
    /// None when the book has no recipe with that id.
    static BatchSheet* open(const PaneContext& context, const GlazeCore::Uuid& recipeID);
    using QDialog::open;

    const GlazeCore::Recipe& recipe() const { return m_recipe; }
    void setRecipe(GlazeCore::Recipe recipe);
    void setLibrary(BookLibrary library);

    /// The list as the settings make it now.
    std::vector<BatchRow> rows() const;
    /// Why the list cannot be printed: rows with an amount but no material.
    std::optional<QString> batchWarning() const;
    /// Print… and Export PDF… can run: there are rows and no warning.
    bool canOutput() const;
    /// The result line of the last print failure or export.
    const std::optional<QString>& message() const { return m_message; }
    /// The printed page of the list as it stands.
    BatchPrintPage page() const;

    /// Print…: the print panel, then the page. Nothing while canOutput() is false.
    void print();
    /// Export PDF…: the save panel, then the page's PDF. Nothing while canOutput() is false.
    void exportPDF();

    QLabel* titleLabel() const { return m_title; }
    LiveNumberField* totalField() const { return m_total; }
    QComboBox* precisionPicker() const { return m_precision; }
    QTableView* table() const { return m_table; }
    BatchTotalRow* totalRow() const { return m_totalRow; }
    QLabel* noRowsLabel() const { return m_noRows; }
    QLabel* warningLabel() const { return m_warning; }
    QLabel* messageLabel() const { return m_messageLabel; }
    QPushButton* printButton() const { return m_print; }
    QPushButton* exportButton() const { return m_export; }
    QPushButton* doneButton() const { return m_done; }

private:
    void build();
    QWidget* makeForm();
    QWidget* makeButtons();
    QWidget* makeWarning();
    void refresh();
    void showPrecision(double precision);
    void setMessage(const QString& text);

    GlazeCore::Recipe m_recipe;
    BookLibrary m_library;
    std::optional<QString> m_message;

    QLabel* m_title = nullptr;
    LiveNumberField* m_total = nullptr;
    QComboBox* m_precision = nullptr;
    BatchRowsModel* m_model = nullptr;
    QTableView* m_table = nullptr;
    BatchTotalRow* m_totalRow = nullptr;
    QLabel* m_noRows = nullptr;
    QWidget* m_warningRow = nullptr;
    QLabel* m_warningIcon = nullptr;
    QLabel* m_warning = nullptr;
    QLabel* m_messageLabel = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_done = nullptr;
};

} // namespace Orza
