// Every sheet and dialog on a 900 × 600 and an 800 × 600 screen: inside the usable area, its buttons in view,
// its content given at least the room it asks for, and the field that takes the focus in view; where the content
// cannot fit, it still never asks for more than the screen. The Tests page from those screens up to 1440 × 900.
// The suite runs on eight offscreen screens.

#include "GlazeCore/book/BookTypes.h"
#include "Orza/app/DocumentController.h"
#include "Orza/batch/BatchSheet.h"
#include "Orza/blends/BlendSheet.h"
#include "Orza/chemistry/StullChartView.h"
#include "Orza/chemistry/StullPlot.h"
#include "Orza/document/BookDocument.h"
#include "Orza/labels/LabelSheet.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/FitWindowToScreen.h"
#include "Orza/platform/GlazeMainApp.h"
#include "Orza/reformulate/AdjustmentSummary.h"
#include "Orza/reformulate/OxideNudgeSheet.h"
#include "Orza/reformulate/ReplaceMaterialSheet.h"
#include "Orza/testlog/TestLogModel.h"
#include "Orza/testlog/TestLogPage.h"
#include "Orza/testlog/TestSearchBar.h"
#include "Orza/testlog/TestTileEditor.h"
#include "Orza/testlog/TileCodeField.h"
#include "Orza/widgets/FirstFitView.h"
#include "Orza/window/BookToolbar.h"
#include "Orza/window/BookWindow.h"
#include "Orza/window/CustomizeToolbarDialog.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>

using namespace Orza;

namespace {

QScreen* screenNamed(const QString& name) {
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == name) return screen;
    return nullptr;
}

/// Whether `widget` sits in a scroll area of `dialog`, where it may lie out of view by design.
bool scrolls(const QWidget* widget, const QWidget* dialog) {
    for (const QWidget* up = widget->parentWidget(); up && up != dialog; up = up->parentWidget())
        if (qobject_cast<const QScrollArea*>(up)) return true;
    return false;
}

QString describe(const QWidget* dialog, QSize size) {
    return QStringLiteral("%1 %2×%3").arg(dialog->metaObject()->className()).arg(size.width()).arg(size.height());
}

/// The dialog fits the area, gives its content the room it asks for, and shows every button whole.
void checkFits(QWidget* dialog, const QRect& area) {
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->isVisible());
    OrzaTest::settle();
    QVERIFY2(area.contains(dialog->frameGeometry()), qPrintable(describe(dialog, dialog->frameGeometry().size())));
    if (QLayout* layout = dialog->layout()) {
        layout->activate();
        const QSize needed = layout->totalMinimumSize();
        QVERIFY2(needed.width() <= dialog->width() && needed.height() <= dialog->height(),
                 qPrintable(describe(dialog, needed) + QStringLiteral(" needed")));
    }
    int buttons = 0;
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (!button->isVisibleTo(dialog) || scrolls(button, dialog)) continue;
        ++buttons;
        QVERIFY2(dialog->rect().contains(QRect(button->mapTo(dialog, QPoint()), button->size())),
                 qPrintable(button->text()));
        QVERIFY(button->height() >= button->minimumSizeHint().height());
    }
    QVERIFY(buttons > 0);
}

/// The dialog stands inside the area and asks for no more than the area, frame included, as its smallest size.
void checkWithinScreen(QWidget* dialog, const QRect& area) {
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->isVisible());
    OrzaTest::settle();
    const QSize room = area.marginsRemoved(FitWindowToScreen::decorations(dialog)).size();
    const QSize smallest = dialog->minimumSize();
    QVERIFY2(smallest.width() <= room.width() && smallest.height() <= room.height(),
             qPrintable(describe(dialog, smallest) + QStringLiteral(" at the smallest")));
    QVERIFY2(area.contains(dialog->frameGeometry()), qPrintable(describe(dialog, dialog->frameGeometry().size())));
}

/// A focused field is in view when the window shows its middle at its full height: one wider than its pane
/// cannot show whole.
bool inView(const QWidget* field) {
    const QRect shown = OrzaTest::shownPart(field, field->rect());
    const QPoint middle = field->mapTo(field->window(), field->rect().center());
    return shown.height() == field->height() && shown.contains(middle);
}

/// How many cut scroll areas checkCutContentReachable() scrolled by keys.
int scrolledByKeys = 0;

/// Whatever a scroll area of the dialog cuts, the keyboard reaches: a stop inside brings itself into view, or the
/// area is a stop itself and the arrow and Page keys scroll it.
void checkCutContentReachable(QWidget* dialog, const QRect& /*area*/) {
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->isVisible());
    OrzaTest::settle();
    for (QScrollArea* area : dialog->findChildren<QScrollArea*>()) {
        QScrollBar* down = area->verticalScrollBar();
        QScrollBar* across = area->horizontalScrollBar();
        if (!area->isVisible() || (down->maximum() == 0 && across->maximum() == 0)) continue;
        const QList<QWidget*> inside = area->viewport()->findChildren<QWidget*>();
        if (std::any_of(inside.begin(), inside.end(), [area](const QWidget* widget) {
                return (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() && widget->isVisibleTo(area);
            }))
            continue;
        const QString name = area->accessibleName();
        QVERIFY2(area->focusPolicy() & Qt::TabFocus, qPrintable(name + QStringLiteral(" cuts but takes no Tab")));
        QVERIFY2(!name.isEmpty(), "a stop without a name");
        area->setFocus(Qt::TabFocusReason);
        for (const auto& [bar, key] : {std::pair{down, Qt::Key_PageDown}, std::pair{across, Qt::Key_Right}}) {
            if (bar->maximum() == 0) continue;
            bar->setValue(bar->minimum());
            QTest::keyClick(area, key);
            QVERIFY2(bar->value() > bar->minimum(), qPrintable(name));
        }
        ++scrolledByKeys;
    }
}

/// Whether `widget` lies in the content of a scroll area, which the area's own bars bring into view.
bool inScrolledContent(const QWidget* widget) {
    for (const QWidget* up = widget->parentWidget(); up; up = up->parentWidget())
        if (const auto* area = qobject_cast<const QAbstractScrollArea*>(up->parentWidget());
            area && area->viewport() == up)
            return true;
    return false;
}

template <class Sheet> Sheet* shownSheet(QWidget& window) {
    for (Sheet* sheet : window.findChildren<Sheet*>())
        if (sheet->isVisible()) return sheet;
    return nullptr;
}

} // namespace

class SmallScreensTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private:
    using Check = std::function<void(QWidget* dialog, const QRect& area)>;

    std::unique_ptr<BookWindow> m_window;
    QRect m_area;
    QFont m_font;

    /// The sample book in a window on the named screen.
    void openOn(const QString& screenName) {
        QScreen* screen = screenNamed(screenName);
        QVERIFY(screen);
        m_area = screen->availableGeometry();
        m_window = OrzaTest::makeWindow(BookWindow::makeSampleDocument());
        m_window->setGeometry(
            QRect(m_area.topLeft() + QPoint(20, 40), QSize(700, 500).boundedTo(m_area.size() - QSize(40, 60))));
        QVERIFY(OrzaTest::showActive(*m_window));
        QTRY_COMPARE(m_window->screen(), screen);
    }

    GlazeCore::Uuid firstRecipe() const { return m_window->document()->book().recipes.front().id; }

    void setUp() override { m_font = QApplication::font(); }

    void tearDown() override {
        if (m_window)
            for (QDialog* dialog : m_window->findChildren<QDialog*>())
                if (dialog->isVisible()) dialog->reject();
        m_window.reset();
        QApplication::setFont(m_font);
        OrzaTest::settle();
    }

    void checkSheetsOfTheRecipe(const Check& check) {
        const GlazeCore::Uuid recipe = firstRecipe();
        for (const BlendMode mode : {BlendMode::line, BlendMode::triaxial, BlendMode::grid}) {
            check(BlendSheet::open(m_window->paneContext(), recipe, mode), m_area);
            shownSheet<BlendSheet>(*m_window)->reject();
        }
        check(BatchSheet::open(m_window->paneContext(), recipe), m_area);
        shownSheet<BatchSheet>(*m_window)->reject();
        check(OxideNudgeSheet::open(m_window->paneContext(), recipe, NudgeRequest{}), m_area);
        shownSheet<OxideNudgeSheet>(*m_window)->reject();
        check(ReplaceMaterialSheet::open(m_window->paneContext(), recipe, ReplaceRequest{}), m_area);
        shownSheet<ReplaceMaterialSheet>(*m_window)->reject();
    }

    void checkSheetsAndDialogsOfTheBook(const Check& check) {
        check(LabelSheet::open(m_window->paneContext(), LabelScope::all), m_area);
        shownSheet<LabelSheet>(*m_window)->reject();

        m_window->beginRename(firstRecipe());
        check(shownSheet<QDialog>(*m_window), m_area);
        shownSheet<QDialog>(*m_window)->reject();
        m_window->beginDelete(firstRecipe());
        check(shownSheet<QDialog>(*m_window), m_area);
        shownSheet<QDialog>(*m_window)->reject();

        check(m_window->findChild<BookToolbar*>()->customize(), m_area);
        shownSheet<QDialog>(*m_window)->reject();

        DocumentController::instance().chooseAndOpen(m_window.get());
        check(shownSheet<QFileDialog>(*m_window), m_area);
        shownSheet<QFileDialog>(*m_window)->reject();
    }

    using Parts = std::vector<std::pair<QString, QWidget*>>;

    static Parts chartParts(const StullChartView* chart) {
        return {{QStringLiteral("header"), chart->header()},
                {QStringLiteral("plot"), chart->plot()},
                {QStringLiteral("legend"), chart->legend()},
                {QStringLiteral("footnote"), chart->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly)}};
    }

    /// The parts, each shown, lie apart within `root`, and the chart's plot has at least the height it asks for.
    static void checkPartsApart(const QWidget* root, const StullChartView* chart, const Parts& parts) {
        std::vector<std::pair<QString, QRect>> placed;
        for (const auto& [name, part] : parts)
            if (part && part->isVisible() && part->width() > 0 && part->height() > 0)
                placed.emplace_back(name, QRect(part->mapTo(root, QPoint()), part->size()));
        QCOMPARE(placed.size(), parts.size());
        QVERIFY2(chart->plot()->height() >= chart->plot()->minimumSizeHint().height(),
                 qPrintable(QString::number(chart->plot()->height())));
        for (std::size_t i = 0; i < placed.size(); ++i)
            for (std::size_t j = i + 1; j < placed.size(); ++j)
                QVERIFY2(!placed[i].second.intersects(placed[j].second),
                         qPrintable(placed[i].first + QLatin1Char('/') + placed[j].first));
    }

    /// The summary's list and the chart's header, plot, legend and footnote lie apart.
    static void checkPartsApart(AdjustmentSummary* summary) {
        OrzaTest::settle();
        QVERIFY(summary->isVisible());
        StullChartView* chart = summary->chart();
        Parts parts = chartParts(chart);
        for (QScrollArea* area : summary->findChildren<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly))
            if (!area->isAncestorOf(chart)) parts.emplace_back(QStringLiteral("list"), area);
        // Where the sheet is short, the chart's column scrolls rather than losing the plot.
        checkPartsApart(summary, chart, parts);
    }

    static void addScreens() {
        QTest::addColumn<QString>("screen");
        QTest::newRow("900 × 600") << QStringLiteral("wide");
        QTest::newRow("800 × 600") << QStringLiteral("small");
    }

private slots:
    void sheetsOfTheRecipeFit_data() { addScreens(); }
    void sheetsOfTheRecipeFit() {
        QFETCH(QString, screen);
        openOn(screen);
        checkSheetsOfTheRecipe(checkFits);
    }

    // On an 800 × 600 screen the results of Oxide Nudge and Replace Material and the blend tiles are cut; the
    // keyboard still reaches every part of them.
    void cutContentIsReachedByKeyboard() {
        openOn(QStringLiteral("small"));
        scrolledByKeys = 0;
        checkSheetsOfTheRecipe(checkCutContentReachable);
        ReplaceMaterialSheet* replace = ReplaceMaterialSheet::open(m_window->paneContext(), firstRecipe(), {});
        replace->setNewID("wollastonite");
        QVERIFY(replace->adjustment());
        checkCutContentReachable(replace, m_area);
        replace->reject();
        QVERIFY(scrolledByKeys >= 3);
    }

    // Tabbing through the tile editor keeps the focused field and the table's Code column in view; Find Test
    // shows the search field it focuses, even from a page scrolled sideways.
    void theTestsPageKeepsTheFocusInView_data() { addScreens(); }
    void theTestsPageKeepsTheFocusInView() {
        QFETCH(QString, screen);
        openOn(screen);
        m_window->setGeometry(m_area.marginsRemoved(FitWindowToScreen::decorations(m_window.get())));
        m_window->model()->setSelection(SidebarItem::tests());
        // The page and the scroll area around it settle their widths over a few turns of the event loop, each
        // posting the next: counted in turns, which no load on the machine shortens as it shortens a wait.
        for (int turn = 0; turn < 10; ++turn)
            OrzaTest::settle();
        auto* page = qobject_cast<TestLogPage*>(m_window->detail());
        QVERIFY(page && page->editor());
        QHeaderView* header = page->table()->horizontalHeader();
        const auto codeColumnShown = [header] {
            const QRect code(header->sectionViewportPosition(0), 0, header->sectionSize(0), header->height());
            return OrzaTest::shownPart(header->viewport(), code).size() == code.size();
        };
        QVERIFY(codeColumnShown());

        page->editor()->codeField()->lineEdit()->setFocus(Qt::TabFocusReason);
        for (int tab = 0; tab < 12; ++tab) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focused = QApplication::focusWidget();
            QVERIFY(page->editor()->isAncestorOf(focused));
            QVERIFY2(inView(focused), focused->metaObject()->className());
            QVERIFY(codeColumnShown());
        }

        auto* pages = m_window->findChild<QScrollArea*>();
        pages->horizontalScrollBar()->setValue(pages->horizontalScrollBar()->maximum());
        m_window->findTest();
        QLineEdit* search = page->searchBar()->searchField();
        QTRY_VERIFY(search->hasFocus());
        QCOMPARE(OrzaTest::shownPart(search, search->rect()).size(), search->size());
    }

    // In the window a new book opens in, the Tests list takes its ideal width wherever the page holds it beside
    // the detail's usual least, its columns whole within it; only a small screen narrows it, toward its least.
    void theTestsListTakesItsIdealWidth_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<int>("listWidth");   // -1: what the detail leaves
        QTest::addColumn<int>("detailWidth"); // -1: what the list leaves
        QTest::newRow("1440 × 900") << QStringLiteral("normal") << 420 << -1;
        QTest::newRow("900 × 600") << QStringLiteral("wide") << -1 << 360;
        QTest::newRow("800 × 600") << QStringLiteral("small") << 320 << -1;
    }
    void theTestsListTakesItsIdealWidth() {
        QFETCH(QString, screen);
        QFETCH(int, listWidth);
        QFETCH(int, detailWidth);
        openOn(screen);
        BookDocument& document = *m_window->document();
        QVERIFY(document.renameRecipe(document.book().tests.front().recipeID, "Celadon Blue"));
        m_window->setGeometry(
            QRect(m_area.topLeft(), FitWindowToScreen::fittingSize(GlazeMainApp::defaultWindowSize(m_area.size()),
                                                                   m_area, m_window.get())));
        m_window->model()->setSelection(SidebarItem::tests());
        // The page and the scroll area around it settle their widths over a few turns of the event loop, each
        // posting the next: counted in turns, which no load on the machine shortens as it shortens a wait.
        for (int turn = 0; turn < 10; ++turn)
            OrzaTest::settle();
        auto* page = qobject_cast<TestLogPage*>(m_window->detail());
        QVERIFY(page && page->editor());
        auto* split = page->findChild<QSplitter*>();
        const QList<int> sizes = split->sizes();
        QCOMPARE(sizes.size(), 2);
        QVERIFY2(sizes[0] >= 320 && sizes[0] <= 420, qPrintable(QString::number(sizes[0])));
        if (listWidth >= 0) QCOMPARE(sizes[0], listWidth);
        if (detailWidth >= 0) QCOMPARE(sizes[1], detailWidth);
        // The page fits the window: nothing scrolls sideways.
        QCOMPARE(m_window->findChild<QScrollArea*>()->horizontalScrollBar()->maximum(), 0);
        if (sizes[0] < 420) return;

        QTableView* table = page->table();
        QVERIFY(!table->horizontalScrollBar()->isVisible());
        QCOMPARE(table->horizontalHeader()->length(), table->viewport()->width());
        const int margin = table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1;
        const int room = table->columnWidth(TestLogModel::recipe) - 2 * margin;
        QVERIFY(table->fontMetrics().horizontalAdvance(QStringLiteral("Celadon Blue")) <= room);
    }

    // On an 800 × 600 screen at a scale of 1.5 or 2 the window asks for no more than the screen and stands
    // inside it on every page, its scroll bars within it: the panes scroll rather than run off the screen.
    void theWindowFitsAScaledScreen_data() {
        QTest::addColumn<QString>("screen");
        QTest::newRow("800 × 600 at 1.5") << QStringLiteral("scaled");
        QTest::newRow("800 × 600 at 2") << QStringLiteral("doubled");
        QTest::newRow("1024 × 768 at 1.5") << QStringLiteral("xga scaled");
        QTest::newRow("1440 × 900 at 2") << QStringLiteral("normal doubled");
    }
    void theWindowFitsAScaledScreen() {
        QFETCH(QString, screen);
        openOn(screen);
        m_window->setGeometry(m_area.marginsRemoved(FitWindowToScreen::decorations(m_window.get())));
        OrzaTest::settle();
        const QSize room = m_area.marginsRemoved(FitWindowToScreen::decorations(m_window.get())).size();
        QVERIFY2(room.expandedTo(m_window->QWidget::minimumSize()) == room,
                 qPrintable(describe(m_window.get(), m_window->QWidget::minimumSize())));
        for (const SidebarItem& page :
             {SidebarItem::recipe(firstRecipe()), SidebarItem::tests(), SidebarItem::materials()}) {
            m_window->model()->setSelection(page);
            QTest::qWait(50); // the page and the scroll area around it settle their sizes over a few turns
            QVERIFY2(m_area.contains(m_window->frameGeometry()),
                     qPrintable(describe(m_window.get(), m_window->frameGeometry().size())));
            for (const QScrollBar* bar : m_window->findChildren<QScrollBar*>()) {
                if (!bar->isVisibleTo(m_window.get()) || inScrolledContent(bar)) continue;
                const QRect at(bar->mapTo(m_window.get(), QPoint()), bar->size());
                QVERIFY2(m_window->rect().contains(at), qPrintable(describe(m_window.get(), at.size())));
            }
        }
    }

    // Oxide Nudge and Replace Material on those screens: the list and the Stull chart beside it never lie over
    // each other, nor do the chart's header, plot, legend and footnote.
    void theReformulationSummaryKeepsItsPartsApart_data() { theWindowFitsAScaledScreen_data(); }
    void theReformulationSummaryKeepsItsPartsApart() {
        QFETCH(QString, screen);
        openOn(screen);
        const GlazeCore::Recipe& recipe = m_window->document()->book().recipes.front();
        auto* nudge = OxideNudgeSheet::open(m_window->paneContext(), recipe.id,
                                            NudgeRequest{GlazeCore::Uuid::random(), GlazeCore::Oxide::SiO2, 1});
        QTRY_VERIFY(nudge->isVisible());
        nudge->setTarget(nudge->target() + 0.2);
        QVERIFY(nudge->adjustment());
        checkPartsApart(nudge->summary());
        if (QTest::currentTestFailed()) return;
        nudge->reject();

        const auto& recipes = m_window->document()->book().recipes;
        const auto satin = std::find_if(recipes.begin(), recipes.end(), [](const GlazeCore::Recipe& held) {
            return QString::fromStdString(held.name).contains(QStringLiteral("Satin"));
        });
        QVERIFY(satin != recipes.end());
        auto* replace = ReplaceMaterialSheet::open(m_window->paneContext(), satin->id,
                                                   ReplaceRequest{GlazeCore::Uuid::random(), "whiting"});
        QTRY_VERIFY(replace->isVisible());
        replace->setNewID("wollastonite");
        QVERIFY(replace->adjustment());
        checkPartsApart(replace->summary());
        replace->reject();
    }

    // The recipe page on the small screens, its window as large as the screen lets it be: the Stull chart's plot
    // keeps the height it asks for, apart from the header, legend and footnote, and the detail area scrolls to
    // every part of the chart, the page being taller than the window.
    void theRecipePageScrollsToAWholeChart_data() {
        addScreens();
        QTest::newRow("800 × 600 at 1.5") << QStringLiteral("scaled");
        QTest::newRow("800 × 600 at 2") << QStringLiteral("doubled");
        QTest::newRow("1440 × 900 at 2") << QStringLiteral("normal doubled");
    }
    void theRecipePageScrollsToAWholeChart() {
        QFETCH(QString, screen);
        openOn(screen);
        m_window->setGeometry(m_area.marginsRemoved(FitWindowToScreen::decorations(m_window.get())));
        m_window->model()->setSelection(SidebarItem::recipe(firstRecipe()));
        QTest::qWait(50); // the page and the scroll area around it settle their sizes over a few turns
        auto* chart = m_window->detail()->findChild<StullChartView*>();
        QVERIFY(chart && chart->isVisible());
        checkPartsApart(m_window->detail(), chart, chartParts(chart));
        if (QTest::currentTestFailed()) return;

        const QList<QScrollArea*> areas = m_window->findChildren<QScrollArea*>();
        const auto detailScroll = std::find_if(areas.begin(), areas.end(),
                                               [chart](const QScrollArea* area) { return area->isAncestorOf(chart); });
        QVERIFY(detailScroll != areas.end());
        QScrollArea* scroll = *detailScroll;
        QVERIFY(scroll->verticalScrollBar()->isVisible() && scroll->verticalScrollBar()->maximum() > 0);
        // Each part lies within the page and scrolls whole into view, top to bottom; on the narrowest windows
        // the page scrolls sideways as well.
        for (const auto& [name, part] : chartParts(chart)) {
            QVERIFY2(scroll->widget()->rect().contains(QRect(part->mapTo(scroll->widget(), QPoint()), part->size())),
                     qPrintable(name));
            scroll->ensureWidgetVisible(part, 0, 0);
            QVERIFY2(OrzaTest::shownPart(part, part->rect()).height() == part->height(), qPrintable(name));
        }
    }

    void sheetsAndDialogsOfTheBookFit_data() { addScreens(); }
    void sheetsAndDialogsOfTheBookFit() {
        QFETCH(QString, screen);
        openOn(screen);
        checkSheetsAndDialogsOfTheBook(checkFits);
    }

    // Where the content cannot fit (a screen below 800 × 600, or fonts twice the size on one of 800 × 600), no
    // sheet or dialog asks for more than the screen as its smallest size: it stays inside, scrolling its content.
    void noDialogAsksForMoreThanTheScreen_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<double>("fontScale");
        QTest::newRow("640 × 480") << QStringLiteral("tiny") << 1.0;
        QTest::newRow("800 × 600, large fonts") << QStringLiteral("small") << 2.0;
    }
    void noDialogAsksForMoreThanTheScreen() {
        QFETCH(QString, screen);
        QFETCH(double, fontScale);
        QFont font = m_font;
        font.setPointSizeF(m_font.pointSizeF() * fontScale);
        QApplication::setFont(font);
        openOn(screen);
        checkSheetsOfTheRecipe(checkWithinScreen);
        checkSheetsAndDialogsOfTheBook(checkWithinScreen);
    }
};

int main(int argc, char** argv) {
    // Eight screens side by side: 900 × 600, 800 × 600, 640 × 480 and 1440 × 900, then 800 × 600 as a scale of 1.5
    // and of 2 leaves it, 1024 × 768 at 1.5 and 1440 × 900 at 2, all without panels.
    QTemporaryDir folder;
    const QString config = folder.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.write(R"({"screens": [
        {"name": "wide", "x": 0, "y": 0, "width": 900, "height": 600, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
        {"name": "small", "x": 900, "y": 0, "width": 800, "height": 600, "logicalDpi": 96, "logicalBaseDpi": 96,
         "dpr": 1},
        {"name": "tiny", "x": 1700, "y": 0, "width": 640, "height": 480, "logicalDpi": 96, "logicalBaseDpi": 96,
         "dpr": 1},
        {"name": "normal", "x": 2340, "y": 0, "width": 1440, "height": 900, "logicalDpi": 96, "logicalBaseDpi": 96,
         "dpr": 1},
        {"name": "scaled", "x": 3780, "y": 0, "width": 533, "height": 400, "logicalDpi": 96, "logicalBaseDpi": 96,
         "dpr": 1},
        {"name": "doubled", "x": 4313, "y": 0, "width": 400, "height": 300, "logicalDpi": 96, "logicalBaseDpi": 96,
         "dpr": 1},
        {"name": "xga scaled", "x": 4713, "y": 0, "width": 683, "height": 512, "logicalDpi": 96, "logicalBaseDpi": 96,
         "dpr": 1},
        {"name": "normal doubled", "x": 5396, "y": 0, "width": 720, "height": 450, "logicalDpi": 96,
         "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + QFile::encodeName(config));
    QApplication application(argc, argv);
    SmallScreensTest suite;
    return QTest::qExec(&suite, argc, argv);
}

#include "SmallScreensTest.moc"
