#include "Orza/testlog/TestLogPage.h"

#include "Orza/actions/ActionRegistry.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/PaneContext.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/SystemBeep.h"
#include "Orza/testlog/ProblemLabel.h"
#include "Orza/testlog/TestLogModel.h"
#include "Orza/testlog/TestSearchBar.h"
#include "Orza/testlog/TestTileEditor.h"
#include "Orza/testlog/TileCodeField.h"
#include "Orza/testlog/TileSearchCache.h"
#include "Orza/widgets/ContentUnavailableView.h"
#include "Orza/widgets/Divider.h"
#include "Orza/widgets/FocusReportingView.h"
#include "Orza/widgets/ListDetailSplit.h"
#include "Orza/widgets/ListFootButtons.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>

namespace Orza {

namespace {

constexpr int listMinimumWidth = 320;
constexpr int listIdealWidth = 420;
constexpr int listMaximumWidth = 600;
constexpr int detailMinimumWidth = 360;
// On a small screen the page fits the window rather than scrolling sideways, so a field focused in the tile
// editor never pushes the table out of view: the detail goes below its usual least, and its editor scrolls.
constexpr int detailNarrowestWidth = 240;

/// A date whose numeric form is as wide as a date gets: a two-digit day and month, and a year of wide digits.
/// Noon keeps it a two-digit day in every time zone.
GlazeCore::Date widestDate() {
    using namespace std::chrono;
    return sys_days{year(2088) / December / 28} + hours(12);
}

/// Recipe names are cut in the middle, so both ends of "Celadon … v2" stay readable.
class MiddleElideDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->textElideMode = Qt::ElideMiddle;
    }
};

} // namespace

TestLogPage::TestLogPage(const PaneContext& context, QWidget* parent)
    : QWidget(parent), m_context(context), m_document(context.document), m_model(context.model),
      m_actions(context.actions), m_tableModel(new TestLogModel(m_document, m_model, this)) {
    setWindowTitle(tr("Test Log"));
    setAccessibleName(tr("Test Log"));

    QWidget* detail = ListDetailSplit::detailColumn(detailNarrowestWidth, m_detailHolder);
    m_split = ListDetailSplit::make(makeListColumn(), detail, ListDetailSplit::Steady::list, listIdealWidth);
    m_listWidth = listIdealWidth;
    m_split->installEventFilter(this);
    connect(m_split, &QSplitter::splitterMoved, this, [this] { m_listWidth = m_split->sizes().value(0); });

    m_forms = new QStackedWidget;
    m_forms->addWidget(makeEmptyPage());
    m_forms->addWidget(m_split);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_forms);

    connectModels();
    updateForm();
    updateEmptyState();
    updateBanner();
    selectNewestTest();
    rowsChanged();
    updateDetail();
    updateFoot();
}

TestLogPage::~TestLogPage() = default;

// --- Building ---------------------------------------------------------------------------------------------------

QWidget* TestLogPage::makeEmptyPage() {
    auto* page = new QWidget;
    m_emptyHolder = new QVBoxLayout(page);
    m_emptyHolder->setContentsMargins(0, 0, 0, 0);
    return page;
}

QWidget* TestLogPage::makeListColumn() {
    m_bar = new TestSearchBar(m_model, m_tableModel->cache());
    connect(m_bar, &TestSearchBar::submitted, this, [this] { findTestByCode(true); });

    m_bannerRow = new QWidget;
    auto* bannerLayout = new QVBoxLayout(m_bannerRow);
    bannerLayout->setContentsMargins(10, 0, 10, 6);
    m_banner = new ProblemLabel;
    bannerLayout->addWidget(m_banner);

    m_foot = new ListFootButtons(tr("Add Test"), tr("Delete Test"));
    connect(m_foot, &ListFootButtons::addRequested, this, &TestLogPage::addTestTile);
    connect(m_foot, &ListFootButtons::removeRequested, this, &TestLogPage::deleteSelectedTest);

    auto* column = new QWidget;
    column->setMinimumWidth(listMinimumWidth);
    column->setMaximumWidth(listMaximumWidth);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_bar);
    layout->addWidget(m_bannerRow);
    layout->addWidget(hairline());
    layout->addWidget(makeTable(), 1);
    layout->addWidget(hairline());
    layout->addWidget(m_foot);
    return column;
}

QWidget* TestLogPage::makeTable() {
    // Rows coming and going move the view's selection; that is not the user choosing. Held before the view
    // hears of the change (so connected before it), and the selection follows the model again afterwards.
    const auto hold = [this] { m_syncing = true; };
    connect(m_tableModel, &QAbstractItemModel::rowsAboutToBeInserted, this, hold);
    connect(m_tableModel, &QAbstractItemModel::rowsAboutToBeRemoved, this, hold);
    connect(m_tableModel, &QAbstractItemModel::modelAboutToBeReset, this, hold);

    m_table = new FocusReportingView<QTableView>;
    m_table->setModel(m_tableModel);
    m_table->setAccessibleName(tr("Test tiles"));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A list of rows to choose from: Tab leaves it for the next control, the arrows move the selection.
    m_table->setTabKeyNavigation(false);
    m_table->setTextElideMode(Qt::ElideRight);
    m_table->setItemDelegateForColumn(TestLogModel::recipe, new MiddleElideDelegate(m_table));
    m_table->setWordWrap(false);
    m_table->setShowGrid(false);
    m_table->setAlternatingRowColors(true);
    m_table->setFrameShape(QFrame::NoFrame);
    m_table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);

    QHeaderView* header = m_table->horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setMinimumSectionSize(48);
    header->setStretchLastSection(true);
    // The ideal widths, widened where the font needs more for a typical code, the widest date and a firing.
    const QFontMetrics metrics = m_table->fontMetrics();
    const auto fit = [&](int ideal, const QString& sample) {
        return std::max(ideal, metrics.horizontalAdvance(sample) + 16);
    };
    header->resizeSection(TestLogModel::code, fit(56, QStringLiteral("T-00000")));
    header->resizeSection(TestLogModel::date, fit(72, m_tableModel->dateText(widestDate())));
    header->resizeSection(TestLogModel::firing, fit(90, tr("%1 \u00B7 %2").arg(QStringLiteral("6"), tr("Oxidation"))));

    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TestLogPage::rowChosen);
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_tableModel, signal, this, &TestLogPage::rowsChanged);
    connect(m_tableModel, &QAbstractItemModel::modelReset, this, [this] {
        rowsChanged();
        // New rows from a new search start at the top, unless the selected tile is among them.
        if (m_table->selectionModel()->selectedRows().isEmpty()) m_table->scrollToTop();
    });

    // The table's own delete command, and the same in its context menu.
    auto* remove = new QAction(tr("Delete Test"), m_table);
    remove->setShortcuts({QKeySequence::Delete, QKeySequence(Qt::Key_Backspace)});
    remove->setShortcutContext(Qt::WidgetShortcut);
    connect(remove, &QAction::triggered, this, &TestLogPage::deleteSelectedTest);
    m_table->addAction(remove);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_table, &QWidget::customContextMenuRequested, this, [this, remove](const QPoint& at) {
        if (!m_table->indexAt(at).isValid() || !m_model.testSelection()) return;
        auto* menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addAction(remove);
        menu->popup(m_table->viewport()->mapToGlobal(at));
    });

    m_noMatch =
        new ContentUnavailableView(QStringLiteral("magnifyingglass"), tr("No Matching Tiles"),
                                   tr("No tile matches the search and filters. Check the code, or clear the search."));
    m_noMatch->setDescriptionWidth(listMinimumWidth - 40);
    m_noMatch->setParent(m_table->viewport());
    m_noMatch->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_table->viewport()->installEventFilter(this);
    return m_table;
}

void TestLogPage::connectModels() {
    connect(&m_model, &WindowModel::testSelectionChanged, this, [this] {
        showSelection();
        updateDetail();
        updateFoot();
    });
    // After the table model, which refilters first: the search and the shown list agree here.
    connect(&m_model, &WindowModel::testQueryChanged, this, [this] { findTestByCode(false); });
    // Only the page on screen serves the request: one the window has just replaced waits for deletion and
    // would take the request from the page that replaces it. The window hides a page it replaces.
    connect(&m_model, &WindowModel::wantsTestSearchFocusChanged, this, [this] {
        if (!isHidden() || !testAttribute(Qt::WA_WState_ExplicitShowHide)) applySearchFocusRequest();
    });
    for (const auto signal :
         {&WindowModel::testQueryChanged, &WindowModel::testConeChanged, &WindowModel::testAtmosphereChanged})
        connect(&m_model, signal, this, &TestLogPage::updateCount);

    for (const auto signal : {&BookDocument::testsInserted, &BookDocument::testsRemoved})
        connect(&m_document, signal, this, [this] {
            updateForm();
            updateCount();
            updateDetail();
            updateFoot();
        });
    connect(&m_document, &BookDocument::reset, this, [this] {
        updateForm();
        updateEmptyState();
        rowsChanged();
        updateDetail();
        updateFoot();
    });
    for (const auto signal : {&BookDocument::recipesInserted, &BookDocument::recipesRemoved})
        connect(&m_document, signal, this, [this] {
            updateEmptyState();
            updateFoot();
        });
    connect(&m_tableModel->cache(), &TileSearchCache::codesChanged, this, &TestLogPage::updateBanner);
}

void TestLogPage::fitListWidth() {
    // The list keeps its width (its ideal, or where it was dragged) while the detail has its usual least
    // beside it. A narrower page takes the difference from the list, down to the list's own least; only then
    // does the detail go below its usual least.
    const int room = m_split->contentsRect().width() - m_split->handleWidth();
    const int list = std::clamp(room - detailMinimumWidth, listMinimumWidth, std::max(m_listWidth, listMinimumWidth));
    if (m_split->sizes().value(0) != list) m_split->setSizes({list, std::max(room - list, 0)});
}

bool TestLogPage::eventFilter(QObject* watched, QEvent* event) {
    // Before the split lays out its new width, so it does so once, with the list's width for that width.
    if (watched == m_split && event->type() == QEvent::Resize) fitListWidth();
    if (watched == m_table->viewport() && event->type() == QEvent::Resize)
        m_noMatch->setGeometry(m_table->viewport()->rect());
    return QWidget::eventFilter(watched, event);
}

// --- Actions ----------------------------------------------------------------------------------------------------

void TestLogPage::addTestTile() {
    // The recipe of the tile in front of the user, while the book still has both; else the first recipe.
    std::optional<GlazeCore::Uuid> recipeID;
    if (const auto& selected = m_model.testSelection())
        if (const GlazeCore::TestTile* tile = m_document.tile(*selected))
            if (m_document.recipe(tile->recipeID)) recipeID = tile->recipeID;
    if (m_document.book().recipes.empty()) return;
    const auto id = m_document.addNewTestTile(recipeID);
    if (!id) {
        // At the file's tile limit a further tile would make a book that cannot be opened again.
        SystemBeep::beep();
        return;
    }
    m_model.setTestQuery(std::string());
    m_model.setTestCone(std::nullopt);
    m_model.setTestAtmosphere(std::nullopt);
    m_model.setTestSelection(*id);
    focusSelectedTileCode();
}

void TestLogPage::focusSelectedTileCode() {
    TestTileEditor* shown = editor();
    if (!shown) return;
    // A new editor is shown and laid out on a later turn. Laid out now, the focus brings the code into view
    // where it will stand, not where an editor not yet laid out puts it.
    shown->show();
    m_detailHolder->activate();
    // Ready for the code written on the tile: typing replaces the one given, and never reaches the table's
    // type-ahead.
    QLineEdit* code = shown->codeField()->lineEdit();
    code->setFocus(Qt::OtherFocusReason);
    code->selectAll();
}

void TestLogPage::deleteSelectedTest() {
    const auto selected = m_model.testSelection();
    if (!selected) return;
    m_document.removeTests({*selected});
    m_model.setTestSelection(std::nullopt);
}

void TestLogPage::selectNewestTest() {
    const auto& tests = m_document.book().tests;
    if (!m_model.testSelection() && !tests.empty()) {
        const GlazeCore::TestTile* newest = &tests.front();
        for (const GlazeCore::TestTile& tile : tests)
            if (tile.date > newest->date) newest = &tile;
        m_model.setTestSelection(newest->id);
    }
    applySearchFocusRequest();
}

void TestLogPage::applySearchFocusRequest() {
    if (!m_model.wantsTestSearchFocus()) return;
    m_model.setWantsTestSearchFocus(false);
    // After the current round of updates, when the field is on screen.
    QTimer::singleShot(0, this, [this] {
        if (!m_document.book().tests.empty()) m_bar->focusSearch();
    });
}

void TestLogPage::findTestByCode(bool submitted) {
    if (const auto id = m_tableModel->cache().findByCode(m_model.testQuery())) {
        m_model.setTestSelection(*id);
        return;
    }
    if (submitted && m_tableModel->rowCount() == 1) m_model.setTestSelection(m_tableModel->idAt(0));
}

void TestLogPage::printSelectedLabel() {
    emit printLabelRequested();
}

// --- Following the book and the window model --------------------------------------------------------------------

bool TestLogPage::showsEmptyState() const {
    return m_forms->currentIndex() == 0;
}

TestTileEditor* TestLogPage::editor() const {
    return qobject_cast<TestTileEditor*>(m_detail);
}

void TestLogPage::updateForm() {
    const bool empty = m_document.book().tests.empty();
    if (empty == showsEmptyState()) return;
    m_forms->setCurrentIndex(empty ? 0 : 1);
}

void TestLogPage::updateEmptyState() {
    const bool hasRecipes = !m_document.book().recipes.empty();
    if (m_emptyForRecipes == hasRecipes) return;
    m_emptyForRecipes = hasRecipes;
    const QString description =
        hasRecipes ? tr("Log each test tile with its cone, atmosphere, firing schedule, notes and a photo. Each tile "
                        "gets a short code for its back and its label.")
                   : tr("Add a recipe first. Then log each test tile with its cone, atmosphere, firing schedule, notes "
                        "and a photo. Each tile gets a short code for its back and its label.");
    auto* view = new ContentUnavailableView(QStringLiteral("square.grid.3x3"), tr("No Test Tiles"), description);
    m_emptyAdd = new QPushButton(tr("Add Test"));
    m_emptyAdd->setDefault(true);
    // Bordered and prominent: the accent colour marks the way forward. A disabled button keeps the disabled
    // colours, so that it looks disabled.
    QPalette accent = m_emptyAdd->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        accent.setColor(group, QPalette::Button, accent.color(group, QPalette::Highlight));
        accent.setColor(group, QPalette::ButtonText, accent.color(group, QPalette::HighlightedText));
    }
    m_emptyAdd->setPalette(accent);
    m_emptyAdd->setEnabled(hasRecipes);
    connect(m_emptyAdd, &QPushButton::clicked, this, &TestLogPage::addTestTile);
    view->buttonRow()->addWidget(m_emptyAdd);
    if (m_emptyView) {
        m_emptyView->hide();
        m_emptyView->deleteLater();
    }
    m_emptyView = view;
    m_emptyHolder->addWidget(view);
}

void TestLogPage::updateBanner() {
    const std::vector<std::string> codes = m_tableModel->cache().duplicateCodes();
    m_bannerRow->setVisible(!codes.empty());
    if (codes.empty()) return;
    QStringList names;
    for (const std::string& code : codes)
        names << shownText(code);
    m_banner->setText(
        tr("Two or more tiles share the code %1. Give each tile its own code.").arg(names.join(QStringLiteral(", "))));
}

void TestLogPage::updateCount() {
    m_bar->setCount(m_tableModel->rowCount(), int(m_document.book().tests.size()));
}

void TestLogPage::updateFoot() {
    m_foot->setCanAdd(!m_document.book().recipes.empty() && m_document.canAddTest());
    m_foot->setCanRemove(m_model.testSelection().has_value());
}

void TestLogPage::rowsChanged() {
    m_syncing = false;
    showSelection();
    updateCount();
    m_noMatch->setVisible(m_tableModel->rowCount() == 0);
}

void TestLogPage::showSelection() {
    const auto& selected = m_model.testSelection();
    const auto row = selected ? m_tableModel->rowOf(*selected) : std::nullopt;
    m_syncing = true;
    if (row) {
        const QModelIndex index = m_tableModel->index(*row, 0);
        m_table->selectionModel()->setCurrentIndex(index,
                                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_table->scrollTo(index);
    } else {
        m_table->clearSelection();
    }
    m_syncing = false;
}

void TestLogPage::rowChosen() {
    if (m_syncing) return;
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    m_model.setTestSelection(rows.isEmpty() ? std::nullopt : std::optional(m_tableModel->idAt(rows.first().row())));
}

void TestLogPage::updateDetail() {
    const auto& selected = m_model.testSelection();
    if (selected && m_document.tile(*selected)) {
        // The same tile keeps its editor, and so the field being typed in.
        if (TestTileEditor* shown = editor(); shown && shown->tileID() == *selected) return;
        auto* tileEditor = new TestTileEditor(m_document, m_actions, *selected);
        tileEditor->setPrintLabel([this] { printSelectedLabel(); });
        replaceDetail(tileEditor);
        return;
    }
    if (m_detail && !editor()) return;
    auto* empty = new ContentUnavailableView(QStringLiteral("square.grid.3x3"), tr("No Test Selected"),
                                             tr("Add a test tile, or select one in the list."));
    empty->setDescriptionWidth(detailNarrowestWidth - 40);
    replaceDetail(empty);
}

void TestLogPage::replaceDetail(QWidget* replacement) {
    QWidget* focus = QApplication::focusWidget();
    const bool hadFocus = m_detail && focus && m_detail->isAncestorOf(focus);
    if (m_detail) {
        m_detail->hide();
        m_detail->deleteLater();
    }
    m_detail = replacement;
    m_detailHolder->addWidget(replacement);
    // The field being typed in has gone with its tile; the table keeps the keyboard.
    if (hadFocus) m_table->setFocus();
}

} // namespace Orza
