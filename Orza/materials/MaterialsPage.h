#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <QString>
#include <QWidget>

#include <optional>
#include <string>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QStackedWidget;
class QTableView;
class QVBoxLayout;

namespace Orza {

class ActionRegistry;
class BookDocument;
class BundledMaterialsModel;
class CustomMaterialEditor;
class CustomMaterialsModel;
class ListFootButtons;

/**
 * The Materials page of a book window. Two scopes: "Bundled" lists the built-in materials in a searchable
 * table beside a read-only detail, from which one can be duplicated into the book; "Custom" lists the
 * book's own materials with Add and Delete under the list and the editor of the selected one beside it.
 *
 * Every change goes through the document's edit methods, one undo step each (typing merges per field).
 * Selections are ids, never rows: they survive the search, undo, redo and a revert, and may name a material
 * that is not listed (or no longer in the book). Deleting a material that recipes use is refused with an
 * alert naming them. The page's state (scope, search, selections) lasts as long as the page.
 */
class MaterialsPage final : public QWidget {
    Q_OBJECT
public:
    enum class Scope { bundled, custom };
    /// "Bundled" or "Custom".
    static QString scopeTitle(Scope scope);

    MaterialsPage(BookDocument& document, ActionRegistry& actions, QWidget* parent = nullptr);
    ~MaterialsPage() override;

    Scope scope() const { return m_scope; }
    void setScope(Scope scope);
    QString query() const;
    void setQuery(const QString& query);
    const std::optional<std::string>& bundledSelection() const { return m_bundledSelection; }
    void selectBundled(const std::optional<std::string>& id);
    const std::optional<std::string>& customSelection() const { return m_customSelection; }
    void selectCustom(const std::optional<std::string>& id);

    /// Appends "New material N" to the book, shows the Custom scope and selects it.
    void addMaterial();
    /// Appends a copy of a built-in material under a new id, shows the Custom scope and selects it.
    void duplicateAsCustom(const GlazeCore::Material& bundled);
    /// Deletes the selected custom material, unless recipes use it: then an alert names them.
    void deleteSelectedMaterial();
    /// Whether a line of a recipe of the book names this material.
    bool isInUse(const std::string& id) const;

    // The page's parts, as the user reaches them.
    QLineEdit* searchField() const { return m_search; }
    QTableView* bundledTable() const { return m_table; }
    BundledMaterialsModel* bundledModel() const { return m_bundledModel; }
    QPushButton* duplicateButton() const { return m_duplicate; }
    /// The read-only view of the selected built-in material, or the empty state.
    QWidget* bundledDetail() const { return m_bundledDetail; }
    QListView* customList() const { return m_list; }
    CustomMaterialsModel* customModel() const { return m_customModel; }
    ListFootButtons* footButtons() const { return m_foot; }
    /// Shown over the list while the book has no custom materials.
    QLabel* emptyListNote() const { return m_emptyNote; }
    /// The editor of the selected custom material, or the empty state.
    QWidget* customDetail() const { return m_customDetail; }
    /// The editor, while one is shown.
    CustomMaterialEditor* editor() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeTopRow();
    QWidget* makeBundledPane();
    QWidget* makeCustomPane();
    QWidget* makeCustomListColumn();
    void connectDocument();

    const GlazeCore::Material* selectedBundled() const;
    void applyQuery();
    void showBundledSelection();
    void showCustomSelection();
    void bundledRowChosen();
    void customRowChosen();
    void updateBundledDetail();
    void updateCustomDetail();
    void updateInUse();
    void updateCustomFoot();
    void replaceDetail(QVBoxLayout* holder, QWidget*& detail, QWidget* replacement);
    void focusNewMaterialName();

    BookDocument& m_document;
    ActionRegistry& m_actions;
    Scope m_scope = Scope::bundled;
    std::optional<std::string> m_bundledSelection;
    std::optional<std::string> m_customSelection;
    /// Set while the page moves a view's selection to match its own, so the view's echo is not a choice.
    bool m_syncing = false;

    QAbstractButton* m_bundledButton = nullptr;
    QAbstractButton* m_customButton = nullptr;
    QLineEdit* m_search = nullptr;
    QStackedWidget* m_panes = nullptr;

    BundledMaterialsModel* m_bundledModel = nullptr;
    QTableView* m_table = nullptr;
    QPushButton* m_duplicate = nullptr;
    QVBoxLayout* m_bundledHolder = nullptr;
    QWidget* m_bundledDetail = nullptr;

    CustomMaterialsModel* m_customModel = nullptr;
    QListView* m_list = nullptr;
    QLabel* m_emptyNote = nullptr;
    ListFootButtons* m_foot = nullptr;
    QVBoxLayout* m_customHolder = nullptr;
    QWidget* m_customDetail = nullptr;
    /// The id of the material the editor shows, canonical; empty while the empty state is shown.
    std::string m_editorID;
};

} // namespace Orza
