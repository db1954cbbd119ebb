#include "Orza/labels/LabelSheet.h"

#include "Orza/actions/ActionRegistry.h"
#include "Orza/document/BookDocument.h"
#include "Orza/labels/LabelPreview.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/PrintInfo.h"
#include "Orza/printing/PdfSaveDialog.h"
#include "Orza/printing/PrintDialog.h"
#include "Orza/settings/Settings.h"
#include "Orza/window/BookWindow.h"
#include "printing/PdfProbe.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>

#include <atomic>
#include <cstdlib>
#include <new>

using namespace Orza;
using Orza::Printing::PdfSaveDialog;
using Orza::Printing::PrintDialog;

// What the sheet copies is counted as the bytes asked of operator new, which every std::string and std::vector
// of a book goes through. The sanitizers bring an operator new of their own: there, nothing is counted.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ORZA_COUNTS_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define ORZA_COUNTS_ALLOCATIONS 0
#endif
#endif
#ifndef ORZA_COUNTS_ALLOCATIONS
#define ORZA_COUNTS_ALLOCATIONS 1
#endif

namespace {
std::atomic<std::size_t> allocatedBytes{0};
} // namespace

#if ORZA_COUNTS_ALLOCATIONS
void* operator new(std::size_t size) {
    allocatedBytes.fetch_add(size, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
#endif

namespace {

/// Two recipes and `count` tiles coded T-001 onwards, the odd ones of the second recipe at cone 10.
GlazeCore::GlazeBook bookWithTiles(int count) {
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon", "Tenmoku"});
    for (int i = 1; i <= count; ++i) {
        const bool odd = i % 2 == 1;
        book.tests.push_back(OrzaTest::tile(book.recipes[odd ? 1 : 0].id, odd ? "10" : "6",
                                            QStringLiteral("T-%1").arg(i, 3, 10, QLatin1Char('0')).toStdString()));
    }
    return book;
}

QStringList items(const QComboBox& picker) {
    QStringList texts;
    for (int i = 0; i < picker.count(); ++i)
        texts << picker.itemText(i);
    return texts;
}

void choose(QComboBox* picker, int index) {
    picker->setCurrentIndex(index);
    emit picker->activated(index);
}

} // namespace

class LabelSheetTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private:
    QString printed;

    void setUp() override {
        printed = filePath(QStringLiteral("printed.pdf"));
        PrintInfo::shared().setOutputFileName(printed);
    }
    void tearDown() override {
        PrintInfo::shared().setOutputFileName(QString());
        QVERIFY(PrintDialog::clearNextAnswers());
        QVERIFY(PdfSaveDialog::clearNextAnswer());
    }

private slots:
    // Print Labels… asks for the search's tiles only while the Tests page shows an active search.
    void menuChoosesTheTilesTheUserSees() {
        auto window = OrzaTest::makeWindowWithMenus(bookWithTiles(4));
        WindowModel& model = *window->model();
        model.setSelection(SidebarItem::tests());
        model.setTestSelection(std::nullopt); // the page selected the newest tile as it came into view
        model.setTestCone("10");
        window->actions()->action(Command::printLabels)->trigger();
        auto* sheet = window->findChild<LabelSheet*>();
        QVERIFY(sheet && sheet->isVisible() && sheet->isModal());
        QVERIFY(model.showLabels());
        QCOMPARE(model.labelScope(), LabelScope::shown);
        QCOMPARE(sheet->scope(), LabelScope::shown);
        QCOMPARE(items(*sheet->tilesPicker()),
                 (QStringList{QStringLiteral("All tiles (4)"), QStringLiteral("Tiles shown by the search (2)")}));
        QCOMPARE(sheet->tiles().size(), std::size_t(2));
        QCOMPARE(sheet->tiles().back().code, std::string("T-003"));
        // Each picker is read by what it chooses, not by its current entry.
        QStringList spoken;
        for (QComboBox* picker : sheet->findChildren<QComboBox*>())
            spoken << QAccessible::queryAccessibleInterface(picker)->text(QAccessible::Name);
        spoken.sort();
        QCOMPARE(spoken, (QStringList{"Label sheet", "Start at label", "Tiles"}));
        QVERIFY(!window->actions()->action(Command::printLabels)->isEnabled());
        sheet->cancelButton()->click();
        QVERIFY(!model.showLabels());
        OrzaTest::settle();

        // The same search with a recipe on screen prints every tile, and the search's option is still there.
        model.setSelection(SidebarItem::recipe(window->document()->book().recipes[0].id));
        window->printLabels();
        sheet = window->findChild<LabelSheet*>();
        QCOMPARE(sheet->scope(), LabelScope::all);
        QCOMPARE(sheet->tiles().size(), std::size_t(4));
        QCOMPARE(sheet->tilesPicker()->count(), 2);
        model.setShowLabels(false);
        QVERIFY(sheet->isHidden());
        OrzaTest::settle();

        // No search: the option is not offered. A selected tile that has gone falls back to all tiles.
        model.setTestCone(std::nullopt);
        model.setTestSelection(GlazeCore::Uuid::random());
        sheet = LabelSheet::open(window->paneContext(), LabelScope::selected);
        QCOMPARE(sheet->scope(), LabelScope::all);
        QCOMPARE(items(*sheet->tilesPicker()), QStringList{QStringLiteral("All tiles (4)")});
        sheet->reject();
        OrzaTest::settle();
        model.setTestSelection(window->document()->book().tests[2].id);
        sheet = LabelSheet::open(window->paneContext(), LabelScope::selected);
        QCOMPARE(sheet->scope(), LabelScope::selected);
        QCOMPARE(sheet->tilesPicker()->currentText(), QStringLiteral("Selected tile"));
        QCOMPARE(sheet->summaryText(), QStringLiteral("1 label on 1 page. The preview shows page 1."));
        choose(sheet->tilesPicker(), 0);
        QCOMPARE(sheet->summaryText(), QStringLiteral("4 labels on 1 page. The preview shows page 1."));
    }

    // The sheet takes what its labels show from a book, never the notes: a book of 46 MiB of notes costs
    // opening it, and changing where it starts, a small part of that.
    void takesOnlyWhatTheLabelsShow() {
        if (!ORZA_COUNTS_ALLOCATIONS) QSKIP("allocations are not counted under a sanitizer");
        GlazeCore::GlazeBook book = bookWithTiles(30);
        for (int i = 0; i < 38; ++i)
            book.recipes.push_back(OrzaTest::recipe("Glaze " + std::to_string(i)));
        std::size_t notes = 0;
        for (GlazeCore::Recipe& recipe : book.recipes)
            notes += (recipe.notes = std::string(std::size_t{1} << 20, 'r')).size();
        for (GlazeCore::TestTile& tile : book.tests)
            notes += (tile.notes = std::string(std::size_t{200} << 10, 't')).size();
        auto window = OrzaTest::makeWindowWithMenus(std::move(book));
        window->model()->setSelection(SidebarItem::tests());
        OrzaTest::settle();

        std::size_t from = allocatedBytes;
        LabelSheet* sheet = LabelSheet::open(window->paneContext(), LabelScope::all);
        OrzaTest::settle();
        const std::size_t opening = allocatedBytes - from;
        QCOMPARE(sheet->tiles().size(), std::size_t(30));
        QVERIFY(allocatedBytes > from); // the count sees the sheet's own widgets
        QVERIFY2(opening < notes / 8, qPrintable(QStringLiteral("%1 bytes of %2").arg(opening).arg(notes)));

        from = allocatedBytes;
        choose(sheet->startPicker(), 4);
        OrzaTest::settle();
        const std::size_t starting = allocatedBytes - from;
        QCOMPARE(sheet->startAt(), 5);
        QVERIFY2(starting < notes / 8, qPrintable(QStringLiteral("%1 bytes of %2").arg(starting).arg(notes)));
        sheet->reject();
        OrzaTest::settle();
    }

    // The summary counts labels and pages from the chosen sheet and start; the start follows a smaller sheet.
    void sheetAndStartShapeThePages() {
        LabelSheet sheet(labelSource(bookWithTiles(45), {}), std::nullopt, false, LabelScope::all);
        QCOMPARE(sheet.sheetPicker()->currentText(), QStringLiteral("Letter, 30 labels, 2\u215d \u00d7 1 in"));
        QCOMPARE(sheet.summaryLabel()->text(), QStringLiteral("45 labels on 2 pages. The preview shows page 1."));
        QCOMPARE(sheet.startPicker()->count(), 30);
        QCOMPARE(sheet.startPicker()->itemText(4), QStringLiteral("5 of 30"));
        QVERIFY(sheet.startPicker()->toolTip().startsWith(QStringLiteral("On a sheet that is partly used")));

        choose(sheet.startPicker(), 24);
        QCOMPARE(sheet.startAt(), 25);
        QCOMPARE(sheet.skipCount(), 24);
        QCOMPARE(sheet.pages().front().size(), std::size_t(6));
        choose(sheet.sheetPicker(), 1);
        QCOMPARE(Settings::instance().stringValue(Settings::Key::labelSheetID), QStringLiteral("a4-21"));
        QCOMPARE(sheet.startAt(), 21);
        QCOMPARE(sheet.startPicker()->currentText(), QStringLiteral("21 of 21"));
        choose(sheet.sheetPicker(), 0);
        QCOMPARE(sheet.startAt(), 21);
        choose(sheet.startPicker(), 0);
        choose(sheet.sheetPicker(), 1);
        QCOMPARE(sheet.summaryText(), QStringLiteral("45 labels on 3 pages. The preview shows page 1."));
        QCOMPARE(sheet.preview()->accessibleDescription(),
                 QStringLiteral("21 labels, T-001 to T-021, starting at label 1."));

        // The choice of sheet is every window's: a sheet opened later starts on it.
        LabelSheet later(labelSource(bookWithTiles(30), {}), std::nullopt, false, LabelScope::all);
        QCOMPARE(later.sheet().id, std::string("a4-21"));
        choose(later.sheetPicker(), 0);
        choose(later.startPicker(), 1);
        QCOMPARE(later.summaryText(), QStringLiteral("30 labels on 2 pages. The preview shows page 1."));

        // An id that names no sheet prints on Letter, and the picker shows no choice.
        Settings::instance().set(Settings::Key::labelSheetID, QStringLiteral("avery-5160"));
        QCOMPARE(later.sheet().id, std::string("letter-30"));
        QCOMPARE(later.sheetPicker()->currentIndex(), -1);
    }

    // The sheets' sizes are written as the potter's locale writes numbers.
    void sheetSizesAsTheLocaleWritesThem() {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        LabelSheet sheet(labelSource(bookWithTiles(1), {}), std::nullopt, false, LabelScope::all);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(items(*sheet.sheetPicker()), (QStringList{QStringLiteral("Letter, 30 labels, 2\u215d \u00d7 1 in"),
                                                           QStringLiteral("A4, 21 labels, 63,5 \u00d7 38,1 mm")}));
    }

    // Without tiles nothing can be printed or saved; print failures and export results share one line.
    void buttonsReportInOneLine() {
        if (!OrzaTest::PdfProbe::available()) QSKIP("pdfinfo and pdftotext are not installed");
        LabelSheet empty(labelSource(bookWithTiles(0), {}), std::nullopt, false, LabelScope::all);
        QCOMPARE(empty.summaryLabel()->text(), QStringLiteral("No tiles to print."));
        QVERIFY(!empty.exportButton()->isEnabled() && !empty.printButton()->isEnabled());
        QVERIFY(empty.cancelButton()->isEnabled());
        QVERIFY(empty.preview()->layout()->labels().empty());
        QCOMPARE(empty.preview()->layout()->outlines().size(), std::size_t(30));

        const GlazeCore::GlazeBook book = bookWithTiles(3);
        LabelSheet sheet(labelSource(book, {}), std::nullopt, false, LabelScope::all);
        QVERIFY(!sheet.messageLabel()->isVisibleTo(&sheet));
        // A printer that cannot be written to makes printing unavailable.
        PrintInfo::shared().setOutputFileName(filePath(QStringLiteral("missing/folder/printed.pdf")));
        PrintDialog::setNextAnswer(PrintDialog::Answer::print);
        sheet.printButton()->click();
        QCOMPARE(sheet.messageLabel()->text(), QStringLiteral("Printing is not available."));

        PdfSaveDialog::setNextFolder(filePath(QString()));
        sheet.exportButton()->click();
        QCOMPARE(sheet.messageLabel()->text(), QStringLiteral("Saved Tile labels.pdf."));
        const auto info = OrzaTest::PdfProbe::info(filePath(QStringLiteral("Tile labels.pdf")));
        QVERIFY(info && info->pages == 1 && info->pageSize == QSizeF(612, 792));
        QVERIFY(
            OrzaTest::PdfProbe::text(filePath(QStringLiteral("Tile labels.pdf"))).contains(QStringLiteral("T-003")));

        PdfSaveDialog::setNextFileName(filePath(QStringLiteral("Tiles\u2028\u2066A.pdf")));
        sheet.exportButton()->click();
        QCOMPARE(sheet.messageLabel()->text(), QStringLiteral("Saved Tiles\\u2028\\u2066A.pdf."));

        PdfSaveDialog::setNextFileName(filePath(QStringLiteral("missing/Tile labels.pdf")));
        sheet.exportButton()->click();
        QVERIFY(sheet.messageLabel()->text().startsWith(QStringLiteral("The PDF was not saved: ")));
    }

    // Return prints and Escape cancels; the book is never changed.
    void keysPrintAndCancel() {
        if (!OrzaTest::PdfProbe::available()) QSKIP("pdfinfo and pdftotext are not installed");
        auto window = OrzaTest::makeWindow(bookWithTiles(2));
        QVERIFY(OrzaTest::showActive(*window));
        const GlazeCore::GlazeBook before = window->document()->book();
        // Whoever presents the sheet when the flag is set finds the one already up.
        const auto presenter = connect(window->model(), &WindowModel::showLabelsChanged, window.get(), [&] {
            if (window->model()->showLabels()) LabelSheet::open(window->paneContext(), LabelScope::shown);
        });
        QPointer<LabelSheet> sheet = LabelSheet::open(window->paneContext(), LabelScope::all);
        disconnect(presenter);
        QCOMPARE(window->findChildren<LabelSheet*>().size(), 1);
        QCOMPARE(sheet->scope(), LabelScope::all);
        QCOMPARE(LabelSheet::open(window->paneContext(), LabelScope::shown), sheet.data());
        sheet->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), sheet.data());
        PrintDialog::setNextAnswer(PrintDialog::Answer::print);
        QTest::keyClick(sheet->startPicker(), Qt::Key_Return);
        QTRY_VERIFY(QFile::exists(printed));
        QCOMPARE(OrzaTest::PdfProbe::info(printed)->pageSize, QSizeF(612, 792));
        QTest::keyClick(sheet, Qt::Key_Escape);
        QVERIFY(!window->model()->showLabels());
        OrzaTest::settle();
        QVERIFY(!sheet);
        QVERIFY(window->document()->book() == before);
        QCOMPARE(window->document()->undoStack()->count(), 0);
    }
};

QTEST_MAIN(LabelSheetTest)
#include "LabelSheetTest.moc"
