#include "Orza/batch/BatchSheet.h"
#include "Orza/actions/ActionRegistry.h"
#include "Orza/batch/BatchMenuPrint.h"
#include "Orza/batch/BatchPrintPage.h"
#include "Orza/batch/BatchSettings.h"
#include "Orza/batch/BatchTotalRow.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/MessageBox.h"
#include "Orza/platform/PrintInfo.h"
#include "Orza/platform/SystemBeep.h"
#include "Orza/printing/PdfSaveDialog.h"
#include "Orza/printing/PrintDialog.h"
#include "Orza/settings/Settings.h"
#include "Orza/widgets/LiveNumberField.h"
#include "Orza/window/BookWindow.h"
#include "printing/PdfProbe.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTest>

using namespace Orza;
using Orza::Printing::PdfSaveDialog;
using Orza::Printing::PrintDialog;

namespace {

GlazeCore::RecipeLine line(std::string materialID, double amount, bool isAddition = false) {
    return {GlazeCore::Uuid::random(), std::move(materialID), amount, isAddition};
}

GlazeCore::Recipe glaze(std::string name, std::vector<GlazeCore::RecipeLine> lines) {
    return {GlazeCore::Uuid::random(), std::move(name), "6", std::move(lines), ""};
}

GlazeCore::Recipe celadon() {
    return glaze("Celadon", {line("silica", 30), line("potash-feldspar", 25), line("whiting", 20), line("kaolin", 25),
                             line("red-iron-oxide", 1, true)});
}

QStringList column(const QTableView& table, int column) {
    QStringList cells;
    for (int row = 0; row < table.model()->rowCount(); ++row)
        cells << table.model()->index(row, column).data().toString();
    return cells;
}

} // namespace

class BatchSheetTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private:
    QString printed;

    void setUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        printed = filePath(QStringLiteral("printed.pdf"));
        PrintInfo::shared().setOutputFileName(printed);
    }
    void tearDown() override {
        PrintInfo::shared().setOutputFileName(QString());
        QLocale::setDefault(QLocale::system());
        QVERIFY(PrintDialog::clearNextAnswers());
        QVERIFY(PdfSaveDialog::clearNextAnswer());
        QVERIFY(MessageBox::takeRecordedAlerts().isEmpty());
    }

private slots:
    // With nothing stored the sheet weighs 1000 g to 0.1 g; editing either stores it for every later sheet.
    void weightAndStepAreSharedSettings() {
        BatchSheet sheet(celadon(), BookLibrary({}));
        QCOMPARE(sheet.totalField()->text(), QStringLiteral("1000"));
        QCOMPARE(sheet.precisionPicker()->currentText(), QStringLiteral("0.1 g"));
        QCOMPARE(QAccessible::queryAccessibleInterface(sheet.precisionPicker())->text(QAccessible::Name),
                 QStringLiteral("Weighing precision"));
        QCOMPARE(column(*sheet.table(), 0),
                 (QStringList{"Silica", "Potash feldspar", "Whiting", "Kaolin", "Red iron oxide (addition)"}));
        QCOMPARE(column(*sheet.table(), 1), (QStringList{"300.0", "250.0", "200.0", "250.0", "10.0"}));
        QCOMPARE(sheet.totalRow()->weightText(), QStringLiteral("1,010.0 g"));
        for (const QLabel* note : {sheet.noRowsLabel(), sheet.warningLabel(), sheet.messageLabel()})
            QVERIFY(!note->isVisibleTo(&sheet));
        QVERIFY(sheet.printButton()->isEnabled() && sheet.exportButton()->isEnabled());

        sheet.totalField()->selectAll();
        QTest::keyClicks(sheet.totalField(), QStringLiteral("333"));
        QCOMPARE(BatchSettings::totalGrams(), 333.0);
        emit sheet.precisionPicker()->activated(0);
        QCOMPARE(BatchSettings::precision(), 1.0);
        QCOMPARE(column(*sheet.table(), 1), (QStringList{"100", "83", "67", "83", "3"}));
        QCOMPARE(sheet.totalRow()->weightText(), QStringLiteral("336 g"));

        BatchSheet later(celadon(), BookLibrary({}));
        QCOMPARE(later.totalField()->text(), QStringLiteral("333"));
        QCOMPARE(later.precisionPicker()->currentText(), QStringLiteral("1 g"));

        // A stored step the picker does not offer shows no choice; its size gives the decimals, here one.
        BatchSettings::setPrecision(0.25);
        QCOMPARE(later.precisionPicker()->currentIndex(), -1);
        QCOMPARE(column(*later.table(), 1).first(), QStringLiteral("100.0"));
        QCOMPARE(later.totalRow()->weightText(), QStringLiteral("336.3 g"));
    }

    // The weight is read as the potter's locale writes numbers; a separator where it puts none is refused
    // and marked, and the digits before it, stored on the way, are taken back when the sheet closes.
    // A weight typed in full is kept; a text refused on the way never leaves its prefix in the settings, not
    // even while it stands (a second window's sheet reads them), and Escape keeps what was there.
    void weightReadsNumbersOfTheLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("taken"); // 0: refused
        QTest::newRow("en comma in the fraction") << "en_US"
                                                  << "2,50" << 0.0;
        QTest::newRow("en grouped") << "en_US"
                                    << "2,500" << 2500.0;
        QTest::newRow("de full stop in the fraction") << "de_DE"
                                                      << "2.50" << 0.0;
        QTest::newRow("de decimal point") << "de_DE"
                                          << "17.5" << 0.0;
        QTest::newRow("de grouped") << "de_DE"
                                    << "2.500,5" << 2500.5;
        QTest::newRow("fr full stop") << "fr_FR"
                                      << "2.50" << 0.0;
        QTest::newRow("fr grouped with a space") << "fr_FR"
                                                 << "2 500,5" << 2500.5;
        QTest::newRow("ch comma") << "de_CH"
                                  << "2,50" << 0.0;
        QTest::newRow("ch grouped with an apostrophe") << "de_CH"
                                                       << "2'500.5" << 2500.5;
    }
    void weightReadsNumbersOfTheLocale() {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(double, taken);
        QLocale::setDefault(QLocale(locale));
        BatchSettings::setTotalGrams(600);
        BatchSheet sheet(celadon(), BookLibrary({}));
        QVERIFY(OrzaTest::showActive(sheet));
        sheet.totalField()->setFocus(Qt::TabFocusReason);
        sheet.totalField()->selectAll();
        QTest::keyClicks(sheet.totalField(), typed);
        const bool refused = taken == 0;
        const double kept = refused ? 600 : taken;
        QCOMPARE(BatchSettings::totalGrams(), kept);
        QCOMPARE(QSettings().value(QStringLiteral("batchTotalGrams")).toDouble(), kept);
        QCOMPARE(sheet.totalField()->text(), typed);
        QCOMPARE(sheet.totalField()->accessibleDescription().isEmpty(), !refused);
        QTest::keyClick(sheet.totalField(), Qt::Key_Escape);
        QVERIFY(!sheet.isVisible());
        QTRY_COMPARE(QSettings().value(QStringLiteral("batchTotalGrams")).toDouble(), kept);
    }

    // Nothing to list, or rows without a material, keep Print… and Export PDF… off and say why.
    void outputWaitsForAListThatCanBePrinted() {
        BatchSettings::setTotalGrams(0);
        BatchSheet empty(celadon(), BookLibrary({}));
        QCOMPARE(empty.table()->model()->rowCount(), 0);
        QVERIFY(empty.noRowsLabel()->isVisibleTo(&empty));
        QCOMPARE(empty.noRowsLabel()->text(), QStringLiteral("Enter a batch weight above 0 g."));
        QCOMPARE(empty.totalRow()->weightText(), QStringLiteral("0.0 g"));
        QVERIFY(!empty.printButton()->isEnabled() && !empty.exportButton()->isEnabled());
        QVERIFY(!empty.canOutput());

        BatchSettings::setTotalGrams(1000);
        QVERIFY(!empty.noRowsLabel()->isVisibleTo(&empty));
        QVERIFY(empty.printButton()->isEnabled());

        BatchSheet missing(glaze("Shino", {line("silica", 50), line("", 5), line(" ", 3)}), BookLibrary({}));
        QCOMPARE(column(*missing.table(), 0), (QStringList{"Silica", "Choose material", "Unknown material ( )"}));
        QVERIFY(missing.warningLabel()->isVisibleTo(&missing));
        QCOMPARE(missing.warningLabel()->text(),
                 QStringLiteral("2 rows have an amount but no material. Choose a material or remove the row before you "
                                "print or export the batch sheet."));
        QVERIFY(!missing.printButton()->isEnabled() && !missing.exportButton()->isEnabled());
        missing.print();
        missing.exportPDF();
        QVERIFY(!missing.message());
        QVERIFY(!QFile::exists(printed));
    }

    // The PDF is saved under the recipe's name in one file, and the sheet's one line says how it went.
    void exportReportsInTheSheet() {
        if (!OrzaTest::PdfProbe::available()) QSKIP("pdfinfo and pdftotext are not installed");
        const QString folder = filePath(QStringLiteral("out"));
        QDir().mkpath(folder);
        BatchSheet sheet(celadon(), BookLibrary({}));
        PdfSaveDialog::setNextFolder(folder);
        sheet.exportPDF();
        QCOMPARE(sheet.message(), std::optional(QStringLiteral("Saved Celadon batch.pdf.")));
        QVERIFY(sheet.messageLabel()->isVisibleTo(&sheet));
        const QString saved = QDir(folder).filePath(QStringLiteral("Celadon batch.pdf"));
        QCOMPARE(OrzaTest::PdfProbe::info(saved)->pages, 1);
        QVERIFY(OrzaTest::PdfProbe::text(saved).contains(QStringLiteral("Red iron oxide (addition)")));

        // A cancelled panel leaves the line as it was.
        PdfSaveDialog::setNextFileName(QString());
        sheet.exportPDF();
        QCOMPARE(sheet.message(), std::optional(QStringLiteral("Saved Celadon batch.pdf.")));

        BatchSheet halves(glaze("Celadon 1/2", {line("silica", 10)}), BookLibrary({}));
        PdfSaveDialog::setNextFolder(folder);
        halves.exportPDF();
        QCOMPARE(halves.message(), std::optional(QStringLiteral("Saved Celadon 1-2 batch.pdf.")));
        QVERIFY(QFile::exists(QDir(folder).filePath(QStringLiteral("Celadon 1-2 batch.pdf"))));

        // A line break in the name is a space in the file's name; other control characters too.
        BatchSheet twoLines(glaze("Two\nlines\tname\r", {line("silica", 10)}), BookLibrary({}));
        PdfSaveDialog::setNextFolder(folder);
        twoLines.exportPDF();
        QCOMPARE(twoLines.message(), std::optional(QStringLiteral("Saved Two lines name  batch.pdf.")));
        QCOMPARE(PdfSaveDialog::fileNameFor(QStringLiteral("A\u2028B\u0085C\u007fD\0E/F")),
                 QStringLiteral("A B C D E-F"));

        // A name typed into the panel is shown with its line breaks and direction controls written out.
        PdfSaveDialog::setNextFileName(QDir(folder).filePath(QStringLiteral("Odd \u202Ename\n.pdf")));
        halves.exportPDF();
        QCOMPARE(halves.message(), std::optional(QStringLiteral("Saved Odd \\u202Ename\\u000A.pdf.")));

        // A name of 270 bytes: the file's name is cut to the 255 the file system takes, keeping ".pdf".
        const QString pair = QStringLiteral("\u91C9\u85AC");
        BatchSheet glazes(glaze(pair.repeated(45).toStdString(), {line("silica", 10)}), BookLibrary({}));
        PdfSaveDialog::setNextFolder(folder);
        glazes.exportPDF();
        const QString cut = pair.repeated(41) + QStringLiteral("\u91C9.pdf");
        QCOMPARE(glazes.message(), std::optional(QStringLiteral("Saved %1.").arg(cut)));
        QVERIFY(QFile::exists(QDir(folder).filePath(cut)));

        PdfSaveDialog::setNextFileName(QDir(folder).filePath(QStringLiteral("gone/x.pdf")));
        halves.exportPDF();
        QVERIFY(halves.message()->startsWith(QStringLiteral("The PDF was not saved: ")));
        QVERIFY(!halves.message()->endsWith(QStringLiteral("..")));
    }

    // Print… goes through the print panel to the shared printer; a printer that cannot start is reported.
    void printReportsOnlyWhatFails() {
        if (!OrzaTest::PdfProbe::available()) QSKIP("pdfinfo and pdftotext are not installed");
        BatchSheet sheet(celadon(), BookLibrary({}));
        PrintDialog::setNextAnswer(PrintDialog::Answer::print);
        sheet.print();
        QVERIFY(!sheet.message());
        QCOMPARE(PrintInfo::shared().docName(), QStringLiteral("Celadon batch"));
        QCOMPARE(OrzaTest::PdfProbe::info(printed)->pages, 1);
        QVERIFY(OrzaTest::PdfProbe::text(printed).contains(QStringLiteral("Potash feldspar")));

        PrintInfo::shared().setOutputFileName(filePath(QStringLiteral("gone/printed.pdf")));
        PrintDialog::setNextAnswer(PrintDialog::Answer::print);
        sheet.print();
        QCOMPARE(sheet.message(), std::optional(QStringLiteral("Printing is not available.")));
    }

    // The print panel makes its print-to-file name from the document's name: it is offered the name Export PDF…
    // offers, so a slash in the recipe's name makes no folder.
    void printOffersTheFileNameExportOffers() {
        const std::string name = "C\u00e9ladon 50/50 Satin \u2013 test \u21162";
        BatchSheet sheet(glaze(name, {line("silica", 10)}), BookLibrary({}));
        PrintDialog::setNextAnswer(PrintDialog::Answer::cancel);
        sheet.print();
        QCOMPARE(PrintInfo::shared().docName(),
                 QStringLiteral("C\u00e9ladon 50-50 Satin \u2013 test \u21162 batch.pdf"));
        QCOMPARE(PrintInfo::shared().docName(), PdfSaveDialog::fileNameFor(batchPdfFileName(sheet.recipe())));

        // A name of 270 bytes makes a file name the file system takes.
        const QString pair = QStringLiteral("\u91C9\u85AC");
        BatchSheet glazes(glaze(pair.repeated(45).toStdString(), {line("silica", 10)}), BookLibrary({}));
        PrintDialog::setNextAnswer(PrintDialog::Answer::cancel);
        glazes.print();
        QCOMPARE(PrintInfo::shared().docName(), pair.repeated(41) + QStringLiteral("\u91C9.pdf"));
    }

    // The window's entry point: the flag follows the sheet, the sheet follows the book, and Ctrl+P prints
    // from the sheet while the menu's print is off.
    void sheetOpensOverItsWindow() {
        if (!OrzaTest::PdfProbe::available()) QSKIP("pdfinfo and pdftotext are not installed");
        GlazeCore::GlazeBook book;
        book.recipes = {celadon(), glaze("Shino", {line("silica", 10)})};
        auto window = OrzaTest::makeWindowWithMenus(book);
        const auto id = book.recipes[0].id;
        window->model()->setSelection(SidebarItem::recipe(id));
        QStringList calls;
        OrzaTest::standInRecipePane(*window, calls);
        QVERIFY(OrzaTest::showActive(*window));
        QVERIFY(window->actions()->action(Command::printBatchSheet)->isEnabled());

        QVERIFY(!BatchSheet::open(window->paneContext(), GlazeCore::Uuid::random()));
        BatchSheet* sheet = BatchSheet::open(window->paneContext(), id);
        QVERIFY(sheet && sheet->isVisible() && sheet->isModal());
        QVERIFY(window->model()->showBatch());
        QVERIFY(!window->actions()->action(Command::printBatchSheet)->isEnabled());
        QCOMPARE(BatchSheet::open(window->paneContext(), book.recipes[1].id), sheet);
        sheet->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), sheet);
        // The button takes the key of the menu's print, and its tooltip names that key.
        const QKeySequence menuKeys = window->actions()->action(Command::printBatchSheet)->shortcut();
        QCOMPARE(sheet->printButton()->shortcut(), menuKeys);
        QCOMPARE(sheet->printButton()->toolTip(),
                 QStringLiteral("Print the batch sheet (%1)").arg(menuKeys.toString(QKeySequence::NativeText)));

        PrintDialog::setNextAnswer(PrintDialog::Answer::print);
        QTest::keyClick(sheet, Qt::Key_P, Qt::ControlModifier);
        // A button's shortcut clicks it after its press is shown.
        QTRY_VERIFY(QFile::exists(printed));
        QVERIFY(PrintDialog::clearNextAnswers());
        QVERIFY(OrzaTest::PdfProbe::text(printed).contains(QStringLiteral("Celadon")));
        QVERIFY(calls.isEmpty());

        window->document()->setRecipeName(id, "Blue celadon");
        QVERIFY(sheet->titleLabel()->text().endsWith(QStringLiteral("Blue celadon")));
        QCOMPARE(sheet->page().recipe.name, std::string("Blue celadon"));
        window->document()->insertMaterial(0, {"whiting", "Local whiting", {{GlazeCore::Oxide::CaO, 56}}, 44, ""},
                                           QStringLiteral("Add"));
        QCOMPARE(column(*sheet->table(), 0)[2], QStringLiteral("Local whiting"));

        const QPointer<BatchSheet> first(sheet);
        sheet->doneButton()->click();
        QVERIFY(!window->model()->showBatch());
        QVERIFY(window->actions()->action(Command::printBatchSheet)->isEnabled());
        OrzaTest::settle();
        QVERIFY(!first);

        // Clearing the flag puts the sheet away; so does the recipe leaving the book.
        QPointer<BatchSheet> second(BatchSheet::open(window->paneContext(), id));
        window->model()->setShowBatch(false);
        QVERIFY(second->isHidden());
        QPointer<BatchSheet> third(BatchSheet::open(window->paneContext(), id));
        QVERIFY(third != second && third->isVisible());
        window->document()->removeRecipe(id);
        QVERIFY(third->isHidden());
        QVERIFY(!window->model()->showBatch());
    }

    // The menu road prints without the sheet; what it cannot print it says with an alert or a beep.
    void menuPrintAlertsOrBeeps() {
        if (!OrzaTest::PdfProbe::available()) QSKIP("pdfinfo and pdftotext are not installed");
        QWidget window;
        const BookLibrary library({});
        int beeps = SystemBeep::count();

        printBatchSheetFromMenu(&window, glaze("Shino", {line("silica", 50), line("", 5)}), library);
        const auto alerts = MessageBox::takeRecordedAlerts();
        QCOMPARE(alerts.size(), 1);
        QCOMPARE(alerts[0].text, QStringLiteral("The batch sheet cannot be printed"));
        QCOMPARE(alerts[0].informativeText,
                 QStringLiteral("1 row has an amount but no material. Choose a material or remove the row before you "
                                "print or export the batch sheet."));
        QCOMPARE(SystemBeep::count(), beeps);
        QVERIFY(!QFile::exists(printed));

        printBatchSheetFromMenu(&window, glaze("Wash", {line("red-iron-oxide", 5, true)}), library);
        QCOMPARE(SystemBeep::count(), ++beeps);
        QVERIFY(!QFile::exists(printed));

        // Unreadable settings print at 1000 g to 0.1 g.
        QSettings().setValue(Settings::name(Settings::Key::batchTotalGrams), QStringLiteral("heavy"));
        PrintDialog::setNextAnswer(PrintDialog::Answer::print);
        printBatchSheetFromMenu(&window, celadon(), library);
        QCOMPARE(SystemBeep::count(), beeps);
        const QString text = OrzaTest::PdfProbe::text(printed);
        QVERIFY(text.contains(QStringLiteral("batch 1,000.0 g")));
        QVERIFY(text.contains(QStringLiteral("1,010.0")));

        PrintInfo::shared().setOutputFileName(filePath(QStringLiteral("gone/printed.pdf")));
        PrintDialog::setNextAnswer(PrintDialog::Answer::print);
        printBatchSheetFromMenu(&window, celadon(), library);
        QCOMPARE(SystemBeep::count(), ++beeps);
    }
};

QTEST_MAIN(BatchSheetTest)
#include "BatchSheetTest.moc"
