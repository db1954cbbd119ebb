#include "Orza/materials/MaterialsPage.h"

#include "GlazeCore/text/UnicodeText.h"
#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/materials/BundledMaterialsModel.h"
#include "Orza/materials/CustomMaterialDelegate.h"
#include "Orza/materials/CustomMaterialEditor.h"
#include "Orza/materials/CustomMaterialsModel.h"
#include "Orza/materials/MaterialAnalysisView.h"
#include "Orza/resources/Resources.h"
#include "Orza/widgets/AccessibleHidden.h"
#include "Orza/widgets/ContentUnavailableView.h"
#include "Orza/widgets/Divider.h"
#include "Orza/widgets/FocusReportingView.h"
#include "Orza/widgets/ListDetailSplit.h"
#include "Orza/widgets/ListFootButtons.h"
#include "Orza/widgets/OneLineText.h"
#include "Orza/widgets/SearchClearButton.h"
#include "Orza/widgets/SegmentedPicker.h"
#include "Orza/widgets/ThemedIcon.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace Orza {

namespace {

constexpr int tableMinimumWidth = 360;
constexpr int nameColumnMinimumWidth = 180;
constexpr int bundledDetailMinimumWidth = 300;
constexpr int bundledDetailIdealWidth = 380;
constexpr int bundledDetailMaximumWidth = 460;
constexpr int listMinimumWidth = 240;
constexpr int listIdealWidth = 280;
constexpr int listMaximumWidth = 340;
constexpr int customDetailMinimumWidth = 380;
constexpr int scopePickerMaximumWidth = 240;

/// The shared empty state, its description wrapped to fit a pane narrower than the view's usual width.
ContentUnavailableView* emptyState(const QString& title, const QString& description, int width) {
    auto* view = new ContentUnavailableView(QStringLiteral("shippingbox"), title, description);
    view->setDescriptionWidth(width);
    return view;
}

QToolButton* segment(const QString& title) {
    auto* button = new QToolButton;
    button->setText(title);
    button->setCheckable(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

} // namespace

QString MaterialsPage::scopeTitle(Scope scope) {
    return scope == Scope::bundled ? tr("Bundled") : tr("Custom");
}

MaterialsPage::MaterialsPage(BookDocument& document, ActionRegistry& actions, QWidget* parent)
    : QWidget(parent), m_document(document), m_actions(actions) {
    setWindowTitle(tr("Materials"));
    setAccessibleName(tr("Materials"));
    m_panes = new QStackedWidget;
    m_panes->addWidget(makeBundledPane());
    m_panes->addWidget(makeCustomPane());

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(makeTopRow());
    column->addWidget(hairline());
    column->addWidget(m_panes, 1);

    connectDocument();
    setScope(Scope::bundled);
    showCustomSelection();
    updateBundledDetail();
    updateCustomDetail();
    updateCustomFoot();
}

MaterialsPage::~MaterialsPage() = default;

QWidget* MaterialsPage::makeTopRow() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(12, 10, 12, 10);

    auto* picker = new QWidget;
    picker->setAccessibleName(tr("Material list"));
    picker->setMaximumWidth(scopePickerMaximumWidth);
    auto* segments = new QHBoxLayout(picker);
    segments->setContentsMargins(0, 0, 0, 0);
    segments->setSpacing(0);
    m_bundledButton = segment(scopeTitle(Scope::bundled));
    m_customButton = segment(scopeTitle(Scope::custom));
    auto* group = new QButtonGroup(picker);
    group->setExclusive(true);
    for (QAbstractButton* button : {m_bundledButton, m_customButton}) {
        group->addButton(button);
        segments->addWidget(button);
    }
    makeSegmentedPicker(picker, group);
    connect(m_bundledButton, &QAbstractButton::clicked, this, [this] { setScope(Scope::bundled); });
    connect(m_customButton, &QAbstractButton::clicked, this, [this] { setScope(Scope::custom); });
    layout->addWidget(picker, 1, Qt::AlignLeft);

    m_search = new QLineEdit;
    OneLineText::keepWhole(m_search);
    m_search->setPlaceholderText(tr("Search materials"));
    m_search->setAccessibleName(tr("Search materials"));
    enableSearchClearButton(m_search);
    ensureResources();
    QAction* glass =
        m_search->addAction(ThemedIcon::symbol(QStringLiteral("magnifyingglass")), QLineEdit::LeadingPosition);
    // The glass only marks a search field; a reader would meet it as a button with no name.
    for (QObject* shown : glass->associatedObjects())
        if (auto* button = qobject_cast<QToolButton*>(shown)) hideFromAccessibility(button);
    m_search->setMinimumWidth(160);
    m_search->setMaximumWidth(260);
    connect(m_search, &QLineEdit::textChanged, this, &MaterialsPage::applyQuery);
    layout->addWidget(m_search, 1, Qt::AlignRight);
    return row;
}

QWidget* MaterialsPage::makeBundledPane() {
    m_bundledModel = new BundledMaterialsModel(BookLibrary::bundledMaterials().materials, this);
    m_table = new FocusReportingView<QTableView>;
    m_table->setModel(m_bundledModel);
    m_table->setAccessibleName(tr("Bundled materials"));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setTextElideMode(Qt::ElideMiddle);
    // A list of rows to choose from: Tab leaves it for the next control, the arrows move the selection.
    m_table->setTabKeyNavigation(false);
    m_table->setWordWrap(false);
    m_table->setShowGrid(false);
    m_table->setAlternatingRowColors(true);
    m_table->setFrameShape(QFrame::NoFrame);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    QHeaderView* header = m_table->horizontalHeader();
    header->setHighlightSections(false);
    header->setMinimumSectionSize(40);
    header->setSectionResizeMode(BundledMaterialsModel::name, QHeaderView::Stretch);
    header->setSectionResizeMode(BundledMaterialsModel::loi, QHeaderView::Fixed);
    const int loiWidth = std::clamp(header->sectionSizeHint(BundledMaterialsModel::loi), 55, 70);
    header->resizeSection(BundledMaterialsModel::loi, loiWidth);
    m_table->setMinimumWidth(std::max(tableMinimumWidth, nameColumnMinimumWidth + loiWidth));
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_table, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = m_table->indexAt(at);
        if (!index.isValid()) return;
        const GlazeCore::Material material = m_bundledModel->materialAt(index.row());
        auto* menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        connect(menu->addAction(tr("Duplicate as Custom Material")), &QAction::triggered, this,
                [this, material] { duplicateAsCustom(material); });
        menu->popup(m_table->viewport()->mapToGlobal(at));
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &MaterialsPage::bundledRowChosen);

    m_duplicate = new QPushButton(tr("Duplicate as Custom Material"));
    connect(m_duplicate, &QPushButton::clicked, this, [this] {
        if (const GlazeCore::Material* material = selectedBundled()) duplicateAsCustom(*material);
    });
    // The row keeps its height while the button is hidden, so the table does not jump.
    QSizePolicy keep = m_duplicate->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_duplicate->setSizePolicy(keep);
    auto* foot = new QHBoxLayout;
    foot->setContentsMargins(12, 8, 12, 8);
    foot->addWidget(m_duplicate);
    foot->addStretch(1);

    auto* tableColumn = new QWidget;
    auto* columnLayout = new QVBoxLayout(tableColumn);
    columnLayout->setContentsMargins(0, 0, 0, 0);
    columnLayout->setSpacing(0);
    columnLayout->addWidget(m_table, 1);
    columnLayout->addWidget(hairline());
    columnLayout->addLayout(foot);

    QWidget* detail = ListDetailSplit::detailColumn(bundledDetailMinimumWidth, m_bundledHolder);
    detail->setMaximumWidth(bundledDetailMaximumWidth);
    // The detail gives way first.
    return ListDetailSplit::make(tableColumn, detail, ListDetailSplit::Steady::detail, bundledDetailIdealWidth);
}

QWidget* MaterialsPage::makeCustomPane() {
    QWidget* detail = ListDetailSplit::detailColumn(customDetailMinimumWidth, m_customHolder);
    return ListDetailSplit::make(makeCustomListColumn(), detail, ListDetailSplit::Steady::list, listIdealWidth);
}

QWidget* MaterialsPage::makeCustomListColumn() {
    m_customModel = new CustomMaterialsModel(m_document, this);
    // Rows coming and going (a rename in or out of the search, an undo) move the view's selection; that is
    // not the user choosing. Held before the view hears of the change (so connected before it), and the
    // selection follows the id again once the rows stand (connected after it, below).
    const auto holdSelection = [this] { m_syncing = true; };
    connect(m_customModel, &QAbstractItemModel::rowsAboutToBeInserted, this, holdSelection);
    connect(m_customModel, &QAbstractItemModel::rowsAboutToBeRemoved, this, holdSelection);
    connect(m_customModel, &QAbstractItemModel::modelAboutToBeReset, this, holdSelection);
    m_list = new FocusReportingView<QListView>;
    m_list->setModel(m_customModel);
    m_list->setItemDelegate(new CustomMaterialDelegate(m_list));
    m_list->setAccessibleName(tr("Custom materials"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setUniformItemSizes(true);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, &MaterialsPage::customRowChosen);
    const auto restoreSelection = [this] {
        m_syncing = false;
        showCustomSelection();
    };
    connect(m_customModel, &QAbstractItemModel::rowsInserted, this, restoreSelection);
    connect(m_customModel, &QAbstractItemModel::rowsRemoved, this, restoreSelection);
    connect(m_customModel, &QAbstractItemModel::modelReset, this, restoreSelection);

    // The list's own delete command, and the same in its context menu.
    auto* remove = new QAction(tr("Delete Material"), m_list);
    remove->setShortcuts({QKeySequence::Delete, QKeySequence(Qt::Key_Backspace)});
    remove->setShortcutContext(Qt::WidgetShortcut);
    connect(remove, &QAction::triggered, this, &MaterialsPage::deleteSelectedMaterial);
    m_list->addAction(remove);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this, remove](const QPoint& at) {
        if (!m_list->indexAt(at).isValid() || !m_customSelection) return;
        auto* menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addAction(remove);
        menu->popup(m_list->viewport()->mapToGlobal(at));
    });

    m_emptyNote = new QLabel(tr("No custom materials"), m_list->viewport());
    m_emptyNote->setAlignment(Qt::AlignCenter);
    m_emptyNote->setForegroundRole(QPalette::PlaceholderText);
    m_emptyNote->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_list->viewport()->installEventFilter(this);

    m_foot = new ListFootButtons(tr("Add Material"), tr("Delete Material"));
    connect(m_foot, &ListFootButtons::addRequested, this, &MaterialsPage::addMaterial);
    connect(m_foot, &ListFootButtons::removeRequested, this, &MaterialsPage::deleteSelectedMaterial);

    auto* column = new QWidget;
    column->setMinimumWidth(listMinimumWidth);
    column->setMaximumWidth(listMaximumWidth);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_list, 1);
    layout->addWidget(hairline());
    layout->addWidget(m_foot);
    return column;
}

void MaterialsPage::connectDocument() {
    // The list model heard these first (it was made first), so its rows are current here.
    for (const auto signal : {&BookDocument::materialsInserted, &BookDocument::materialsRemoved}) {
        connect(&m_document, signal, this, [this] {
            showCustomSelection();
            updateCustomDetail();
            updateCustomFoot();
        });
    }
    connect(&m_document, &BookDocument::reset, this, [this] {
        showCustomSelection();
        updateCustomDetail();
        updateInUse();
        updateCustomFoot();
    });
    connect(&m_document, &BookDocument::lineChanged, this, [this](const GlazeCore::Uuid&, int, LineField field) {
        if (field == LineField::materialID) updateInUse();
    });
    for (const auto signal : {&BookDocument::linesInserted, &BookDocument::linesRemoved})
        connect(&m_document, signal, this, &MaterialsPage::updateInUse);
    connect(&m_document, &BookDocument::linesReset, this, &MaterialsPage::updateInUse);
    for (const auto signal : {&BookDocument::recipesInserted, &BookDocument::recipesRemoved})
        connect(&m_document, signal, this, &MaterialsPage::updateInUse);
}

bool MaterialsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list->viewport() && event->type() == QEvent::Resize)
        m_emptyNote->setGeometry(m_list->viewport()->rect());
    return QWidget::eventFilter(watched, event);
}

// --- State -----------------------------------------------------------------------------------------------------

void MaterialsPage::setScope(Scope scope) {
    m_scope = scope;
    m_panes->setCurrentIndex(scope == Scope::bundled ? 0 : 1);
    m_bundledButton->setChecked(scope == Scope::bundled);
    m_customButton->setChecked(scope == Scope::custom);
}

QString MaterialsPage::query() const {
    return m_search->text();
}

void MaterialsPage::setQuery(const QString& query) {
    m_search->setText(query);
}

void MaterialsPage::applyQuery() {
    const MaterialFilter filter(m_search->text());
    m_bundledModel->setFilter(filter);
    m_customModel->setFilter(filter);
    showBundledSelection();
    showCustomSelection();
}

void MaterialsPage::selectBundled(const std::optional<std::string>& id) {
    m_bundledSelection = id;
    showBundledSelection();
    updateBundledDetail();
}

void MaterialsPage::selectCustom(const std::optional<std::string>& id) {
    m_customSelection = id;
    showCustomSelection();
    updateCustomDetail();
    updateCustomFoot();
}

CustomMaterialEditor* MaterialsPage::editor() const {
    return qobject_cast<CustomMaterialEditor*>(m_customDetail);
}

const GlazeCore::Material* MaterialsPage::selectedBundled() const {
    if (!m_bundledSelection) return nullptr;
    for (const GlazeCore::Material& material : BookLibrary::bundledMaterials().materials)
        if (GlazeCore::UnicodeText::canonicallyEqual(material.id, *m_bundledSelection)) return &material;
    return nullptr;
}

// --- Views following the state ---------------------------------------------------------------------------------

void MaterialsPage::showBundledSelection() {
    const auto row = m_bundledSelection ? m_bundledModel->rowOf(*m_bundledSelection) : std::nullopt;
    m_syncing = true;
    if (row) {
        m_table->selectRow(*row);
        m_table->scrollTo(m_bundledModel->index(*row, 0));
    } else {
        m_table->clearSelection();
    }
    m_syncing = false;
}

void MaterialsPage::showCustomSelection() {
    const auto row = m_customSelection ? m_customModel->rowOf(*m_customSelection) : std::nullopt;
    m_syncing = true;
    if (row) {
        const QModelIndex index = m_customModel->index(*row);
        m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        m_list->scrollTo(index);
    } else {
        m_list->clearSelection();
    }
    m_syncing = false;
    m_emptyNote->setVisible(m_document.book().customMaterials.empty());
}

void MaterialsPage::bundledRowChosen() {
    if (m_syncing) return;
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    m_bundledSelection =
        rows.isEmpty() ? std::nullopt : std::optional(m_bundledModel->materialAt(rows.first().row()).id);
    updateBundledDetail();
}

void MaterialsPage::customRowChosen() {
    if (m_syncing) return;
    const QModelIndexList rows = m_list->selectionModel()->selectedIndexes();
    m_customSelection = rows.isEmpty() ? std::nullopt : std::optional(m_customModel->idAt(rows.first().row()));
    updateCustomDetail();
    updateCustomFoot();
}

void MaterialsPage::replaceDetail(QVBoxLayout* holder, QWidget*& detail, QWidget* replacement) {
    QWidget* focus = QApplication::focusWidget();
    const bool hadFocus = detail && focus && detail->isAncestorOf(focus);
    if (detail) {
        detail->hide();
        detail->deleteLater();
    }
    detail = replacement;
    holder->addWidget(replacement);
    // The field being typed in has gone with its material; the list keeps the keyboard.
    if (hadFocus) (holder == m_customHolder ? static_cast<QWidget*>(m_list) : m_table)->setFocus();
}

void MaterialsPage::updateBundledDetail() {
    const GlazeCore::Material* material = selectedBundled();
    m_duplicate->setVisible(material != nullptr);
    m_duplicate->setEnabled(m_document.canAddMaterial());
    if (!material) {
        replaceDetail(m_bundledHolder, m_bundledDetail,
                      emptyState(tr("Select a Material"),
                                 tr("Bundled materials are read-only. To change one, duplicate it as a custom "
                                    "material."),
                                 bundledDetailMinimumWidth - 40));
        return;
    }
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // It only scrolls: the controls inside take the keyboard focus, the area does not.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidget(new MaterialAnalysisView(*material, true));
    replaceDetail(m_bundledHolder, m_bundledDetail, scroll);
}

void MaterialsPage::updateCustomDetail() {
    const auto index = m_customSelection ? m_document.materialIndex(*m_customSelection) : std::nullopt;
    if (!index) {
        if (!m_editorID.empty() || !m_customDetail) {
            m_editorID.clear();
            replaceDetail(m_customHolder, m_customDetail,
                          emptyState(tr("No Custom Material Selected"),
                                     tr("Add a material with your own oxide analysis, LOI and source."),
                                     customDetailMinimumWidth - 40));
        }
        return;
    }
    const std::string& id = m_document.book().customMaterials[*index].id;
    const std::string canonical = GlazeCore::UnicodeText::canonicalForm(id);
    // The same material keeps its editor, and so the field being typed in.
    if (canonical == m_editorID) {
        updateInUse();
        return;
    }
    m_editorID = canonical;
    replaceDetail(m_customHolder, m_customDetail, new CustomMaterialEditor(m_document, m_actions, id, isInUse(id)));
}

void MaterialsPage::updateInUse() {
    if (CustomMaterialEditor* shown = editor()) shown->setInUse(isInUse(shown->materialID()));
}

void MaterialsPage::updateCustomFoot() {
    m_foot->setCanAdd(m_document.canAddMaterial());
    m_foot->setCanRemove(m_customSelection.has_value());
    m_duplicate->setEnabled(m_document.canAddMaterial());
}

bool MaterialsPage::isInUse(const std::string& id) const {
    // One pass over every line of the book: byte equality first, the Unicode comparison only where an id
    // is not plain ASCII (a Kelvin sign still names the id "K").
    const auto isAscii = [](const std::string& text) {
        return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    };
    const bool plainID = isAscii(id);
    for (const GlazeCore::Recipe& recipe : m_document.book().recipes)
        for (const GlazeCore::RecipeLine& line : recipe.lines) {
            if (line.materialID == id) return true;
            if ((!plainID || !isAscii(line.materialID)) &&
                GlazeCore::UnicodeText::canonicallyEqual(line.materialID, id))
                return true;
        }
    return false;
}

} // namespace Orza
