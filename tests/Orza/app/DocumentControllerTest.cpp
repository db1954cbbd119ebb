#include "Orza/app/DocumentController.h"

#include "Orza/actions/ActionRegistry.h"
#include "Orza/document/BookDocument.h"
#include "Orza/materials/CustomMaterialEditor.h"
#include "Orza/materials/MaterialsPage.h"
#include "Orza/materials/PercentField.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/FileDialog.h"
#include "Orza/platform/GlazeMainApp.h"
#include "Orza/platform/MessageBox.h"
#include "Orza/platform/StartFolder.h"
#include "Orza/recipe/RecipeLinesModel.h"
#include "Orza/recipe/RecipeLinesTable.h"
#include "Orza/recipe/RecipeLinesView.h"
#include "Orza/recipe/RecipePane.h"
#include "Orza/reformulate/OxideNudgeSheet.h"
#include "Orza/reformulate/ReplaceMaterialSheet.h"
#include "Orza/settings/Settings.h"
#include "Orza/testlog/FiringScheduleEditor.h"
#include "Orza/testlog/TestLogPage.h"
#include "Orza/testlog/TestTileEditor.h"
#include "Orza/widgets/IconLabel.h"
#include "Orza/widgets/LiveNumberField.h"
#include "Orza/window/BookWindow.h"
#include "Orza/window/RenameRecipeDialog.h"
#include "support/ChildRun.h"
#include "support/FileSizeLimit.h"
#include "support/TestEnvironment.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>

#include <cerrno>
#include <cmath>
#include <cstring>

#include <unistd.h>

using namespace Orza;
using OrzaTest::readAll;
using OrzaTest::settle;

namespace {

DocumentController& controller() {
    return DocumentController::instance();
}

/// The text of the question shown over `window`, which is then answered with Cancel; empty when none is up.
QString askedQuestion(const BookWindow& window) {
    for (QMessageBox* box : window.findChildren<QMessageBox*>()) {
        if (!box->isVisible()) continue;
        const QString text = box->text();
        box->button(QMessageBox::Cancel)->click();
        settle();
        return text;
    }
    return {};
}

/// The one alert on screen; null when there is none or more than one.
QMessageBox* shownAlert() {
    QList<QMessageBox*> shown;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) shown.append(box);
    return shown.size() == 1 ? shown.first() : nullptr;
}

/// The places a number of the book is typed into.
enum class Place { amount, hold, silica };
/// The ways out of an edit that write or weigh the book.
enum class Way { saveKeys, saveAs, closeQuestionSave, quitQuestionSave, closeButton, closeCommand, revertCancelled };

const std::string clayID = "local-clay";

/// 28 in each place: the recipe line's amount, the tile's first hold, the custom material's SiO2.
GlazeCore::GlazeBook bookOfTwentyEights() {
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"A"});
    book.recipes[0].lines[0].amount = 28;
    GlazeCore::TestTile tile = OrzaTest::tile(book.recipes[0].id, "6", "T-001");
    tile.schedule = {{150, 600, 28}};
    book.tests.push_back(tile);
    book.customMaterials.push_back({clayID, "Local clay", {{GlazeCore::Oxide::SiO2, 28}}, 0, ""});
    return book;
}

double storedAt(const GlazeCore::GlazeBook& book, Place place) {
    switch (place) {
    case Place::amount:
        return book.recipes[0].lines[0].amount;
    case Place::hold:
        return book.tests[0].schedule[0].holdMinutes;
    case Place::silica:
        break;
    }
    return book.customMaterials[0].analysis.at(GlazeCore::Oxide::SiO2);
}

/// The commands run in the middle of an edit, by their keys, their menu item or their toolbar item.
enum class Act {
    duplicateKeys,
    addRecipeKeys,
    addMaterialKeys,
    addTestMenu,
    undoTabRedoKeys,
    oxideNudgeMenu,
    replaceMaterialMenu
};

/// Whether any amount, hold or oxide percent of the book is `value`.
bool holdsAnywhere(const GlazeCore::GlazeBook& book, double value) {
    for (const auto& recipe : book.recipes)
        for (const auto& line : recipe.lines)
            if (line.amount == value) return true;
    for (const auto& tile : book.tests)
        for (const auto& segment : tile.schedule)
            if (segment.holdMinutes == value) return true;
    for (const auto& material : book.customMaterials)
        for (const auto& [oxide, percent] : material.analysis)
            if (percent == value) return true;
    return false;
}

/// Whether any step of the document's history, undone or redone, makes the book hold `value`. The history is
/// left where it was.
bool anyStepHolds(BookDocument& document, double value) {
    QUndoStack& stack = *document.undoStack();
    const int now = stack.index();
    bool holds = false;
    for (int index = stack.count(); index >= 0; --index) {
        stack.setIndex(index);
        holds = holds || holdsAnywhere(document.book(), value);
    }
    stack.setIndex(now);
    return holds;
}

/// The field of `place` with the keyboard and its text selected, as a double click or a click leaves it.
QLineEdit* startEditing(BookWindow& window, Place place) {
    QLineEdit* field = nullptr;
    switch (place) {
    case Place::amount: {
        window.model()->setSelection(SidebarItem::recipe(window.document()->book().recipes[0].id));
        auto* pane = qobject_cast<RecipePane*>(window.detail());
        if (!pane) return nullptr;
        RecipeLinesView& view = *pane->linesTable()->view();
        const QModelIndex amount = pane->linesTable()->model()->index(0, RecipeLinesModel::amountColumn);
        view.setCurrentIndex(amount);
        view.edit(amount);
        field = view.findChild<LiveNumberField*>();
        break;
    }
    case Place::hold: {
        window.showPage(GlazeCore::BookPage::tests);
        auto* page = qobject_cast<TestLogPage*>(window.detail());
        if (!page || !page->editor()) return nullptr;
        field = page->editor()->scheduleEditor()->field(0, FiringScheduleEditor::Column::hold);
        break;
    }
    case Place::silica: {
        window.showPage(GlazeCore::BookPage::materials);
        auto* page = qobject_cast<MaterialsPage*>(window.detail());
        if (!page) return nullptr;
        page->setScope(MaterialsPage::Scope::custom);
        page->selectCustom(clayID);
        if (!page->editor()) return nullptr;
        field = page->editor()->oxideField(GlazeCore::Oxide::SiO2)->lineEdit();
        page->editor()->ensureWidgetVisible(field);
        break;
    }
    }
    if (!field) return nullptr;
    field->setFocus(Qt::MouseFocusReason);
    field->selectAll();
    return field->hasFocus() ? field : nullptr;
}

} // namespace

class DocumentControllerTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private:
    /// A book file with the given recipes, written through a document.
    QString writeBook(const QString& name, const std::vector<std::string>& recipes) {
        const QString path = filePath(name);
        OrzaTest::saveBook(OrzaTest::bookWithRecipes(recipes), path);
        return path;
    }

    void tearDown() override {
        QLocale::setDefault(QLocale::c());
        OrzaTest::closeEveryWindow();
        QVERIFY(controller().windows().isEmpty());
        QVERIFY2(MessageBox::clearNextAnswers(), "a queued answer was not asked for");
        QVERIFY2(FileDialog::clearNextFileName(), "a queued file name was not asked for");
    }

private slots:
    void firstLaunchOpensTheSampleOnceAndClosesTheEmptyWindow() {
        Settings::instance().set(Settings::Key::firstLaunchSampleShown, false);
        controller().launch({});
        const QString emptyName = controller().windows().first()->document()->displayName();
        QTRY_COMPARE(controller().windows().size(), 1);
        BookWindow* sample = controller().windows().first();
        // The sample takes the empty window's place and its name: the first book shown is the first untitled.
        QCOMPARE(sample->document()->displayName(), emptyName);
        QVERIFY(sample->document()->isSample());
        QVERIFY(sample->isUntitled());
        QCOMPARE(sample->document()->book().recipes.size(), std::size_t(6));
        QCOMPARE(sample->document()->book().tests.size(), std::size_t(3));
        QVERIFY(sample->selectedRecipeID()); // the sample window itself went on to select its first recipe
        QVERIFY(Settings::instance().boolValue(Settings::Key::firstLaunchSampleShown));

        BookWindow* fresh = controller().newDocument();
        settle();
        QCOMPARE(controller().windows().size(), 2);
        QVERIFY(fresh->document()->book().recipes.empty());
        QVERIFY(!fresh->model()->selection());
    }

    void firstLaunchWithAFileOpensNoSample() {
        const QString path = writeBook("first.orzabook", {"A", "B"});
        Settings::instance().set(Settings::Key::firstLaunchSampleShown, false);
        controller().launch({path});
        settle();
        QCOMPARE(controller().windows().size(), 1);
        BookWindow* window = controller().windows().first();
        QVERIFY(!window->document()->isSample());
        QCOMPARE(window->selectedRecipeID(), std::optional(window->document()->book().recipes[0].id));
        QVERIFY(Settings::instance().boolValue(Settings::Key::firstLaunchSampleShown));
    }

    void sampleBookOpensAsManyTimesAsAsked() {
        BookWindow* first = controller().newSampleDocument();
        BookWindow* second = controller().newSampleDocument();
        QVERIFY(first != second);
        QVERIFY(&first->document()->tileLedger() != &second->document()->tileLedger());
        QVERIFY(first->document()->isSample() && second->document()->isSample());
        QVERIFY(first->document()->book().recipes[0].id != second->document()->book().recipes[0].id);
    }

    // Under another name too: a symbolic or a hard link is the same book, and no other window may save onto it.
    void anOpenBookIsBroughtForwardNotOpenedAgain() {
        const QString path = writeBook("open.orzabook", {"A"});
        BookWindow* window = controller().openFile(path);
        QVERIFY(window);
        QCOMPARE(controller().openFile(filePath("./open.orzabook")), window);
        const QString symbolic = filePath("symbolic.orzabook");
        const QString hard = filePath("hard.orzabook");
        QVERIFY(QFile::link(path, symbolic));
        QVERIFY(::link(QFile::encodeName(path).constData(), QFile::encodeName(hard).constData()) == 0);
        QCOMPARE(controller().openFile(symbolic), window);
        QCOMPARE(controller().openFile(hard), window);
        QCOMPARE(controller().windows().size(), 1);
        QVERIFY(window->windowTitle().startsWith(QStringLiteral("open.orzabook[*] \u2014 ")));

        BookWindow* other = controller().newDocument();
        other->addRecipe();
        FileDialog::setNextFileName(hard);
        bool saved = true;
        controller().saveAs(other, [&](bool result) { saved = result; });
        QVERIFY(!saved);
        const auto alerts = MessageBox::takeRecordedAlerts();
        QCOMPARE(alerts.size(), 1);
        QVERIFY(alerts[0].text.contains(QStringLiteral("is open in another window")));
        QCOMPARE(OrzaTest::recipeNames(GlazeDocument::read(path).book), std::vector<std::string>{"A"});
    }

    void aBookThatCannotBeOpenedSaysWhyAndStaysAsItWas() {
        const QString path = filePath("broken.orzabook");
        const QByteArray bytes = R"({"recipes": [], "customMaterials": [], "tests": [], "version": 7})";
        OrzaTest::writeAll(path, bytes);
        QVERIFY(!controller().openFile(path));
        const auto alerts = MessageBox::takeRecordedAlerts();
        QCOMPARE(alerts.size(), 1);
        QVERIFY(alerts[0].text.contains(QStringLiteral("broken.orzabook")));
        QVERIFY2(alerts[0].informativeText.endsWith(QStringLiteral("The file was not changed.")),
                 qPrintable(alerts[0].informativeText));
        QCOMPARE(readAll(path), bytes);
        QVERIFY(controller().windows().isEmpty());
    }

    // A file's name may hold line breaks and direction controls: the title and every question and alert that
    // names the book write them out, so that no name splits a line or turns the rest of a sentence around.
    void oddFileNamesShowTheirControlsWrittenOut() {
        const QString shown = QStringLiteral("Glaze \\u202Ekoob.txt\\u000ASecond.orzabook");
        const QString path = writeBook(QStringLiteral("Glaze \u202Ekoob.txt\nSecond.orzabook"), {"A"});
        BookWindow* window = controller().openFile(path);
        QVERIFY(window);
        QVERIFY2(window->windowTitle().startsWith(shown + QStringLiteral("[*] \u2014 ")),
                 qPrintable(window->windowTitle()));

        window->addRecipe();
        controller().close(window);
        QCOMPARE(askedQuestion(*window),
                 QStringLiteral("Do you want to save the changes made to the document \u201c%1\u201d?").arg(shown));
        controller().revertToSaved(window);
        QCOMPARE(askedQuestion(*window), QStringLiteral("Revert to the saved version of \u201c%1\u201d?").arg(shown));
        OrzaTest::writeAll(path, readAll(path) + "\n"); // another program's change
        controller().save(window);
        QCOMPARE(askedQuestion(*window),
                 QStringLiteral("The book \u201c%1\u201d was changed by another program since it was opened or last "
                                "saved.")
                     .arg(shown));

        MessageBox::setNextAnswer(MessageBox::Answer::overwrite);
        GlazeDocument::failNextCommit();
        controller().save(window);
        BookWindow* other = controller().newDocument();
        FileDialog::setNextFileName(path);
        controller().saveAs(other);
        const QString broken = filePath(QStringLiteral("Broken \u2067name\u2028.orzabook"));
        OrzaTest::writeAll(broken, "not a book");
        controller().openFile(broken);
        QStringList alerts;
        for (const MessageBox::Alert& alert : MessageBox::takeRecordedAlerts())
            alerts << alert.text;
        QCOMPARE(alerts,
                 (QStringList{QStringLiteral("The book \u201c%1\u201d could not be saved.").arg(shown),
                              QStringLiteral("The book \u201c%1\u201d is open in another window.").arg(shown),
                              QStringLiteral("The book \u201cBroken \\u2067name\\u2028.orzabook\u201d could not "
                                             "be opened.")}));
    }

    // An alert about a book stands over that book's window and is modal to it alone; one about no window (a
    // file given at start-up that could not be opened) blocks every window and stays on top of them all, so
    // that it cannot hide behind one.
    // A recipe's name reaches the window's title with its controls written out, as the file's name does.
    void oddRecipeNamesShowTheirControlsWrittenOut() {
        const QString path = writeBook(QStringLiteral("Glazes.orzabook"), {"Tenmoku \u202Eblack\nglossy"});
        BookWindow* window = controller().openFile(path);
        QVERIFY(window);
        window->model()->setSelection(SidebarItem::recipe(window->document()->book().recipes[0].id));
        settle();
        const QString title = window->windowTitle();
        QVERIFY2(title.contains(QStringLiteral("Tenmoku \\u202Eblack\\u000Aglossy")), qPrintable(title));
        QVERIFY(!title.contains(QChar(0x202E)) && !title.contains(QLatin1Char('\n')));
    }

    // Texts of millions of characters are no book's usual lot, but a valid one: the window shows their ends, in
    // titles, lists and fields, and notes too long to type in are shown read only under a notice. Nothing is
    // written that was not typed, and the book saves back byte for byte.
    void hugeTextsShowTheirEndsAndSaveBackWhole() {
        GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon", ""});
        GlazeCore::Recipe& huge = book.recipes[1];
        huge.name = "<" + std::string(std::size_t{2} << 20, 'x') + ">";
        huge.notes = std::string(300'000, 'n');
        book.tests.push_back(OrzaTest::tile(huge.id, "6", "T-001"));
        book.tests[0].notes = std::string(20'000, 't') + "\nshort line";
        const QString path = filePath(QStringLiteral("huge.orzabook"));
        OrzaTest::saveBook(book, path);
        const QByteArray bytes = readAll(path);

        BookWindow* window = controller().openFile(path);
        QVERIFY(window);
        window->model()->setSelection(SidebarItem::recipe(huge.id));
        settle();
        QVERIFY2(window->windowTitle().size() < 1100, qPrintable(window->windowTitle().left(100)));
        auto* pane = qobject_cast<RecipePane*>(window->detail());
        QVERIFY(pane);
        const QString name = pane->nameField()->text();
        QVERIFY(name.size() <= 1000 && name.startsWith(QStringLiteral("<xx")) && name.endsWith(QStringLiteral("xx>")));
        QVERIFY(pane->notesField()->isReadOnly());
        QVERIFY(pane->notesField()->toPlainText().size() <= 1000);
        const auto noticeShown = [](const QWidget& editor) {
            for (const IconLabel* label : editor.findChildren<IconLabel*>())
                if (label->isVisible() && label->text().startsWith(QStringLiteral("These notes are too long")))
                    return true;
            return false;
        };
        QVERIFY(noticeShown(*pane));

        // Through the name and the notes with the keyboard, as a potter reading them would.
        pane->nameField()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(pane->nameField(), Qt::Key_End);
        QTest::keyClick(pane->nameField(), Qt::Key_Tab);
        pane->notesField()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(pane->notesField(), Qt::Key_X);
        window->showPage(GlazeCore::BookPage::tests);
        settle();
        auto* page = qobject_cast<TestLogPage*>(window->detail());
        QVERIFY(page && page->editor());
        QVERIFY(page->editor()->notesEditor()->isReadOnly());
        QVERIFY(noticeShown(*page->editor()));
        QVERIFY(window->document()->undoStack()->count() == 0);

        controller().save(window);
        QCOMPARE(readAll(path), bytes);

        // Typing in the shown ends edits the whole name there, in the field and in Rename.
        window->showPage(GlazeCore::BookPage::recipes);
        window->model()->setSelection(SidebarItem::recipe(huge.id));
        settle();
        pane = qobject_cast<RecipePane*>(window->detail());
        QVERIFY(pane);
        const auto storedName = [&] { return window->document()->recipe(huge.id)->name; };
        pane->nameField()->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(pane->nameField(), Qt::Key_End);
        QTest::keyClicks(pane->nameField(), QStringLiteral("YZ"));
        QTest::keyClick(pane->nameField(), Qt::Key_Backspace);
        QTest::keyClick(pane->nameField(), Qt::Key_Home);
        QTest::keyClick(pane->nameField(), Qt::Key_Delete);
        QTest::keyClicks(pane->nameField(), QStringLiteral("["));
        QVERIFY(storedName() == "[" + huge.name.substr(1) + "Y");
        window->beginRename(huge.id);
        auto* rename = window->findChild<RenameRecipeDialog*>();
        QVERIFY(rename);
        QTest::keyClick(rename->nameField(), Qt::Key_End);
        QTest::keyClick(rename->nameField(), Qt::Key_Backspace);
        QTest::keyClicks(rename->nameField(), QStringLiteral("]"));
        rename->renameButton()->click();
        QVERIFY(storedName() == "[" + huge.name.substr(1) + "]");
        // Across the "…" the typed text is the whole name.
        pane->nameField()->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(pane->nameField(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(pane->nameField(), QStringLiteral("Celadon"));
        QCOMPARE(storedName(), std::string("Celadon"));

        // Notes a potter could have typed stay editable, and their notice goes.
        window->model()->setSelection(SidebarItem::recipe(book.recipes[0].id));
        settle();
        pane = qobject_cast<RecipePane*>(window->detail());
        QVERIFY(pane && !pane->notesField()->isReadOnly() && !noticeShown(*pane));
    }

    void alertsStandOverTheirWindowOrOnTopOfEveryWindow() {
        MessageBox::setRecordingAlerts(false);
        const QString bad = filePath("bad.orzabook");
        OrzaTest::writeAll(bad, "not a book");
        BookWindow* window = controller().openFile(writeBook("good.orzabook", {"A"}));
        const auto overTheWindow = [window] {
            QMessageBox* alert = shownAlert();
            QVERIFY(alert);
            QCOMPARE(alert->parentWidget(), window);
            QCOMPARE(alert->windowModality(), Qt::WindowModal);
            QVERIFY(!alert->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            alert->accept();
            settle();
        };

        FileDialog::setNextFileName(bad);
        controller().chooseAndOpen(window);
        overTheWindow();
        window->addRecipe();
        GlazeDocument::failNextCommit();
        controller().save(window);
        overTheWindow();

        controller().launch({bad});
        settle();
        QMessageBox* alert = shownAlert();
        QVERIFY(alert);
        QVERIFY(!alert->parentWidget());
        QCOMPARE(alert->windowModality(), Qt::ApplicationModal);
        QVERIFY(alert->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        alert->accept();
        settle();
        MessageBox::setRecordingAlerts(true);
    }

    // A file that is not a book reads as a plain sentence, with the reader's words kept as details; the
    // validation's own sentences stay as they are.
    void unreadableFilesSayWhatIsWrongInPlainWords_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<QString>("details");
        QTest::newRow("not JSON") << QByteArray("<html>nope</html>")
                                  << "The file is not a glaze book, or it is damaged. The file was not changed."
                                  << "not valid JSON";
        QTest::newRow("empty") << QByteArray()
                               << "The file is empty, so it holds no glaze book. The file was not changed."
                               << "not valid JSON";
        QTest::newRow("another JSON file")
            << QByteArray(R"({"customMaterials": [], "tests": [], "version": 1})")
            << "The file is not a glaze book, or it is damaged. The file was not changed."
            << "recipes";
        QTest::newRow("a damaged recipe")
            << QByteArray(R"({"customMaterials": [], "tests": [], "version": 1, "recipes": [)"
                          R"({"id": "8E1B2A50-0C8F-4D0C-9C0D-1B2A3C4D5E6F", "name": "A", "cone": "6",)"
                          R"( "notes": "", "lines": []}, {"id": "nope"}]})")
            << "The file is not a glaze book, or it is damaged. The problem is in recipe 2. The file was not changed."
            << "recipes[1]";
    }
    void unreadableFilesSayWhatIsWrongInPlainWords() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, sentence);
        QFETCH(QString, details);
        const QString path = filePath("odd.orzabook");
        OrzaTest::writeAll(path, bytes);
        QVERIFY(!controller().openFile(path));
        const auto alerts = MessageBox::takeRecordedAlerts();
        QCOMPARE(alerts.size(), 1);
        QCOMPARE(alerts[0].informativeText, sentence);
        QVERIFY2(alerts[0].detailedText.contains(details), qPrintable(alerts[0].detailedText));
        QCOMPARE(readAll(path), bytes);
    }

    // Files that cannot be opened at start-up are said once the windows stand, in front of all of them;
    // when none opened, an untitled book opens as on a start without files.
    void launchReportsFailuresAfterTheWindowsAreUp() {
        const QString good = writeBook("good.orzabook", {"A"});
        const QString bad = filePath("bad.orzabook");
        OrzaTest::writeAll(bad, "not a book");
        controller().launch({bad, good});
        QCOMPARE(controller().windows().size(), 1);
        QVERIFY(MessageBox::takeRecordedAlerts().isEmpty()); // not yet: the window comes first
        settle();
        auto alerts = MessageBox::takeRecordedAlerts();
        QCOMPARE(alerts.size(), 1);
        QVERIFY(alerts[0].text.contains(QStringLiteral("bad.orzabook")));
        QVERIFY(!alerts[0].window); // it concerns no window, so it stands in front of every one

        controller().windows().first()->close();
        settle();
        controller().launch({bad});
        settle();
        QCOMPARE(controller().windows().size(), 1);
        QVERIFY(controller().windows().first()->isUntitled());
        QCOMPARE(MessageBox::takeRecordedAlerts().size(), 1);
    }

    // The panels start where the book is: its own folder and name for a saved book, the folder last used
    // for an untitled one; the open panel never suggests a name.
    void panelsStartInTheBooksFolder() {
        QDir(filePath(QString())).mkdir(QStringLiteral("shelf"));
        const QString path = writeBook("shelf/book.orzabook", {"A"});
        const QString folder = QFileInfo(path).absolutePath();
        BookWindow* saved = controller().openFile(path);

        FileDialog::setNextFileName(QString());
        controller().saveAs(saved);
        QCOMPARE(FileDialog::lastRequest()->suggestedName, QStringLiteral("book.orzabook"));
        QCOMPARE(FileDialog::lastRequest()->folder, folder);

        FileDialog::setNextFileName(QString());
        controller().chooseAndOpen(saved);
        QCOMPARE(FileDialog::lastRequest()->kind, FileDialog::Request::Kind::open);
        QCOMPARE(FileDialog::lastRequest()->folder, folder);
        QVERIFY(FileDialog::lastRequest()->suggestedName.isEmpty());

        // An untitled book: the folder last used, which opening the book above made this one.
        BookWindow* untitled = controller().newDocument();
        FileDialog::setNextFileName(QString());
        controller().saveAs(untitled);
        QCOMPARE(FileDialog::lastRequest()->folder, folder);
        QCOMPARE(FileDialog::lastRequest()->suggestedName,
                 untitled->document()->displayName() + QStringLiteral(".orzabook"));
        FileDialog::setNextFileName(QString());
        controller().chooseAndOpen(untitled);
        QCOMPARE(FileDialog::lastRequest()->folder, folder);

        // A name longer than a file's may be is offered cut short between characters, with the book suffix.
        const QString glazes = QStringLiteral("\u91C9\u85AC").repeated(45);
        BookWindow* longName = controller().openWindow(GlazeMainApp::makeNewDocument(), {}, glazes);
        FileDialog::setNextFileName(QString());
        controller().saveAs(longName);
        QCOMPARE(FileDialog::lastRequest()->suggestedName, glazes.left(82) + QStringLiteral(".orzabook"));

        // A last folder that has gone is passed over for one that exists.
        Settings::instance().set(Settings::Key::lastFolder, filePath("gone"));
        QVERIFY(QFileInfo(StartFolder::lastUsed()).isDir());
    }

    // Codes given to tiles on opening live in memory only: the book opens edited, so closing asks.
    void codesGivenOnOpeningMarkTheBookEdited() {
        GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"A"});
        book.tests.push_back(OrzaTest::tile(book.recipes[0].id));
        const QString path = filePath("codes.orzabook");
        OrzaTest::saveBook(book, path);
        BookWindow* window = controller().openFile(path);
        QVERIFY(window->document()->backfillNotice());
        QVERIFY(window->document()->isModified());
        QVERIFY(window->isWindowModified());
        MessageBox::setNextAnswer(MessageBox::Answer::save);
        controller().close(window);
        settle();
        QVERIFY(!GlazeDocument::read(path).backfillNotice); // the codes were kept
    }

    void aPageThatCannotBeShownIsSaidSo() {
        GlazeMainApp::setPageOpener([](const QUrl&) { return false; });
        BookWindow* window = controller().newDocument();
        GlazeMainApp::openPage(GlazeMainApp::supportPage(), window);
        GlazeMainApp::setPageOpener([](const QUrl&) { return true; });
        const auto alerts = MessageBox::takeRecordedAlerts();
        QCOMPARE(alerts.size(), 1);
        QCOMPARE(alerts[0].window.data(), window);
        QVERIFY(alerts[0].informativeText.contains(GlazeMainApp::supportPage().toString()));
    }

    void savingAnUntitledBookAsksWhereAndThenBelongsThere() {
        BookWindow* window = controller().newDocument();
        window->addRecipe();
        QVERIFY(window->isWindowModified());

        FileDialog::setNextFileName(QString()); // the user cancels the panel
        bool result = true;
        controller().save(window, [&](bool saved) { result = saved; });
        QVERIFY(!result);
        QVERIFY(window->document()->isModified());

        const QString path = filePath("mine.orzabook");
        FileDialog::setNextFileName(path);
        controller().save(window, [&](bool saved) { result = saved; });
        QVERIFY(result);
        QVERIFY(!window->isWindowModified());
        QVERIFY(window->windowTitle().startsWith(QStringLiteral("mine.orzabook[*] \u2014 ")));
        QCOMPARE(GlazeDocument::read(path).book.recipes[0].name, std::string("New recipe 1"));
        QCOMPARE(controller().windowForPath(path), window);

        // Saving another book over the file this window has open is refused; both stay as they were.
        BookWindow* other = controller().newDocument();
        other->addRecipe();
        const QByteArray before = readAll(path);
        FileDialog::setNextFileName(path);
        controller().save(other, [&](bool saved) { result = saved; });
        QVERIFY(!result);
        QCOMPARE(MessageBox::takeRecordedAlerts().size(), 1);
        QCOMPARE(readAll(path), before);
        QVERIFY(other->document()->isModified());
    }

    void closingAskAboutUnsavedChanges() {
        const QString path = writeBook("ask.orzabook", {"A"});
        const QByteArray saved = readAll(path);
        BookWindow* window = controller().openFile(path);
        window->addRecipe();

        MessageBox::setNextAnswer(MessageBox::Answer::cancel);
        window->close(); // the title bar's close button
        settle();
        QCOMPARE(controller().windows().size(), 1);
        QVERIFY(window->isVisible());

        MessageBox::setNextAnswer(MessageBox::Answer::dontSave);
        controller().close(window);
        settle();
        QVERIFY(controller().windows().isEmpty());
        QCOMPARE(readAll(path), saved);

        window = controller().openFile(path);
        window->addRecipe();
        MessageBox::setNextAnswer(MessageBox::Answer::save);
        controller().close(window);
        settle();
        QVERIFY(controller().windows().isEmpty());
        QCOMPARE(GlazeDocument::read(path).book.recipes.size(), std::size_t(2));
    }

    // Every edited book is asked about before any window closes, the unedited ones too, so Cancel keeps all.
    void quitAsksAboutEveryBookBeforeClosingAny() {
        const QString firstPath = writeBook("q1.orzabook", {"A"});
        const QString secondPath = writeBook("q2.orzabook", {"B"});
        BookWindow* first = controller().openFile(firstPath);
        BookWindow* second = controller().openFile(secondPath);
        BookWindow* unedited = controller().openFile(writeBook("q3.orzabook", {"C"}));
        first->addRecipe();
        second->addRecipe();
        MessageBox::setNextAnswer(MessageBox::Answer::dontSave);
        MessageBox::setNextAnswer(MessageBox::Answer::cancel);
        bool quit = true;
        controller().quit([&](bool all) { quit = all; });
        settle();
        QVERIFY(!quit);
        QCOMPARE(controller().windows(), (QList<BookWindow*>{first, second, unedited}));
        QVERIFY(first->isWindowModified() && second->isWindowModified());

        // Answered all: saved or left, then every window closes.
        const QByteArray firstOnDisk = readAll(firstPath);
        MessageBox::setNextAnswer(MessageBox::Answer::save);
        MessageBox::setNextAnswer(MessageBox::Answer::dontSave);
        controller().quit([&](bool all) { quit = all; });
        settle();
        QVERIFY(quit);
        QVERIFY(controller().windows().isEmpty());
        QCOMPARE(GlazeDocument::read(secondPath).book.recipes.size(), std::size_t(2));
        QCOMPARE(readAll(firstPath), firstOnDisk);
    }

    // A disk without room for the book (a file size limit here: writes beyond it fail as on a full disk):
    // the save says why in the system's words, the book stays edited and its old file whole, and quitting
    // with Save stops with the window open.
    void aFullDiskSaysWhyAndKeepsTheBookEditedAndTheFileWhole() {
        ORZA_TEST_IN_CHILD_PROCESS();
        const QString path = writeBook("full.orzabook", {"A"});
        const QByteArray old = readAll(path);
        BookWindow* window = controller().openFile(path);
        for (int i = 0; i < 30; ++i)
            window->addRecipe();
        bool saved = true;
        bool quit = true;
        {
            OrzaTest::FileSizeLimit limit(4096); // within the first buffer of bytes
            controller().save(window, [&](bool result) { saved = result; });
            MessageBox::setNextAnswer(MessageBox::Answer::save);
            controller().quit([&](bool all) { quit = all; });
            settle();
        }
        QVERIFY(!saved);
        QVERIFY(!quit);
        QCOMPARE(controller().windows(), QList<BookWindow*>{window});
        QVERIFY(window->isWindowModified());
        QCOMPARE(readAll(path), old);
        const auto alerts = MessageBox::takeRecordedAlerts();
        QCOMPARE(alerts.size(), 2);
        const QString reason = QString::fromLocal8Bit(std::strerror(EFBIG));
        for (const MessageBox::Alert& alert : alerts) {
            QCOMPARE(alert.text, QStringLiteral("The book \u201cfull.orzabook\u201d could not be saved."));
            QCOMPARE(
                alert.informativeText,
                QStringLiteral("The file could not be written: %1. The file on disk was not changed.").arg(reason));
        }
    }

    // Another program wrote the book since this window opened or saved it: saving asks before overwriting,
    // from the menu and from quitting alike, and Cancel leaves both the file and the window as they were.
    void savingOverAnotherProgramsChangeAsksFirst() {
        const QString path = writeBook("shared.orzabook", {"A"});
        BookWindow* window = controller().openFile(path);
        window->addRecipe();
        OrzaTest::saveBook(OrzaTest::bookWithRecipes({"Theirs", "Also theirs"}), path); // a new file in its place
        const QByteArray theirs = readAll(path);

        bool saved = true;
        MessageBox::setNextAnswer(MessageBox::Answer::cancel);
        controller().save(window, [&](bool result) { saved = result; });
        QVERIFY(!saved);
        QCOMPARE(readAll(path), theirs);
        QVERIFY(window->isWindowModified());

        bool quit = true;
        MessageBox::setNextAnswer(MessageBox::Answer::save);
        MessageBox::setNextAnswer(MessageBox::Answer::cancel);
        controller().quit([&](bool all) { quit = all; });
        settle();
        QVERIFY(!quit);
        QCOMPARE(controller().windows(), QList<BookWindow*>{window});
        QCOMPARE(readAll(path), theirs);

        MessageBox::setNextAnswer(MessageBox::Answer::overwrite);
        controller().save(window, [&](bool result) { saved = result; });
        QVERIFY(saved);
        QCOMPARE(GlazeDocument::read(path).book.recipes.size(), std::size_t(2));
        QCOMPARE(GlazeDocument::read(path).book.recipes[0].name, std::string("A"));

        // Its own save is the version it knows now: the next save asks nothing.
        window->addRecipe();
        saved = false;
        controller().save(window, [&](bool result) { saved = result; });
        QVERIFY(saved);

        // The same file written over in place, grown by another program's text.
        window->addRecipe();
        OrzaTest::writeAll(path, readAll(path) + "\n\n");
        saved = true;
        MessageBox::setNextAnswer(MessageBox::Answer::cancel);
        controller().save(window, [&](bool result) { saved = result; });
        QVERIFY(!saved);
        QVERIFY(readAll(path).endsWith("\n\n"));
    }

    // A file that has gone is simply written again; Save As onto another file asks nothing; a revert reads the
    // other program's version, which the next save then knows.
    void savingWithoutAConflictAsksNothing() {
        const QString path = writeBook("gone.orzabook", {"A"});
        BookWindow* window = controller().openFile(path);
        window->addRecipe();
        QVERIFY(QFile::remove(path));
        bool saved = false;
        controller().save(window, [&](bool result) { saved = result; });
        QVERIFY(saved);
        QCOMPARE(GlazeDocument::read(path).book.recipes.size(), std::size_t(2));

        window->addRecipe();
        OrzaTest::saveBook(OrzaTest::bookWithRecipes({"Theirs"}), path);
        const QString other = filePath("other.orzabook");
        FileDialog::setNextFileName(other);
        saved = false;
        controller().saveAs(window, [&](bool result) { saved = result; });
        QVERIFY(saved);
        QCOMPARE(GlazeDocument::read(other).book.recipes.size(), std::size_t(3));
        QCOMPARE(GlazeDocument::read(path).book.recipes[0].name, std::string("Theirs"));

        window->addRecipe();
        OrzaTest::saveBook(OrzaTest::bookWithRecipes({"Theirs"}), other);
        MessageBox::setNextAnswer(MessageBox::Answer::revert);
        controller().revertToSaved(window);
        QCOMPARE(OrzaTest::recipeNames(window->document()->book()), std::vector<std::string>{"Theirs"});
        window->addRecipe();
        saved = false;
        controller().save(window, [&](bool result) { saved = result; });
        QVERIFY(saved);
    }

    // Save As onto the file the window has open is a save of that book: the whole book lands in the file,
    // nothing is asked, the window is clean and its next save knows the file. When the disk refuses the
    // bytes, the old file stays whole.
    void saveAsOntoItsOwnFileWritesTheBookWhole() {
        ORZA_TEST_IN_CHILD_PROCESS();
        const QString path = writeBook("own.orzabook", {"A", "B"});
        BookWindow* window = controller().openFile(path);
        window->addRecipe();
        bool saved = false;
        FileDialog::setNextFileName(path);
        controller().saveAs(window, [&](bool result) { saved = result; });
        QVERIFY(saved);
        QVERIFY(MessageBox::takeRecordedAlerts().isEmpty());
        QVERIFY(!window->isWindowModified());
        QVERIFY(!window->document()->fileChangedOnDisk());
        QCOMPARE(GlazeDocument::read(path).book, window->document()->book());
        QCOMPARE(OrzaTest::recipeNames(GlazeDocument::read(path).book),
                 (std::vector<std::string>{"A", "B", "New recipe 3"}));
        QCOMPARE(controller().windowForPath(path), window);

        window->addRecipe();
        saved = false;
        controller().save(window, [&](bool result) { saved = result; });
        QVERIFY(saved);
        QCOMPARE(GlazeDocument::read(path).book.recipes.size(), std::size_t(4));

        const QByteArray whole = readAll(path);
        for (int i = 0; i < 30; ++i)
            window->addRecipe();
        saved = true;
        {
            OrzaTest::FileSizeLimit limit(4096);
            FileDialog::setNextFileName(path);
            controller().saveAs(window, [&](bool result) { saved = result; });
        }
        QVERIFY(!saved);
        QCOMPARE(MessageBox::takeRecordedAlerts().size(), 1);
        QCOMPARE(readAll(path), whole);
        QVERIFY(window->isWindowModified());
    }

    void aFailedSaveSaysWhyAndKeepsTheBookOpenAndEdited() {
        const QString path = writeBook("fail.orzabook", {"A"});
        const QByteArray saved = readAll(path);
        // No edit makes a book the file refuses, so the broken book comes in whole.
        GlazeCore::GlazeBook broken = GlazeDocument::read(path).book;
        broken.recipes[0].lines[0].amount = std::nan("");
        BookWindow* window = controller().openWindow(GlazeDocument::make(broken, false), path);
        window->document()->markEdited();

        MessageBox::setNextAnswer(MessageBox::Answer::save);
        controller().close(window);
        settle();
        QCOMPARE(controller().windows().size(), 1);
        QVERIFY(window->document()->isModified());
        const auto alerts = MessageBox::takeRecordedAlerts();
        QCOMPARE(alerts.size(), 1);
        QVERIFY(alerts[0].text.contains(QStringLiteral("could not be saved")));
        QVERIFY2(alerts[0].informativeText.contains(QStringLiteral("amount")), qPrintable(alerts[0].informativeText));
        QCOMPARE(readAll(path), saved);
    }

    // A Save As that fails names the file it could not write, not the book the window still holds.
    void aFailedSaveAsNamesTheFileItCouldNotWrite() {
        BookWindow* window = controller().openFile(writeBook("book.orzabook", {"A"}));
        window->addRecipe();
        const QString copy = filePath("copy.orzabook");
        FileDialog::setNextFileName(copy);
        GlazeDocument::failNextCommit();
        bool saved = true;
        controller().saveAs(window, [&](bool result) { saved = result; });
        QVERIFY(!saved);
        const auto alerts = MessageBox::takeRecordedAlerts();
        QCOMPARE(alerts.size(), 1);
        QCOMPARE(alerts[0].text, QStringLiteral("The book \u201ccopy.orzabook\u201d could not be saved."));
        QVERIFY(!QFile::exists(copy));
        QCOMPARE(window->document()->displayName(), QStringLiteral("book.orzabook"));
        QVERIFY(window->isWindowModified());
    }

    void revertAsksThenReadsTheFileAgain() {
        const QString path = writeBook("revert.orzabook", {"A"});
        BookWindow* window = controller().openFile(path);
        window->addRecipe();
        MessageBox::setNextAnswer(MessageBox::Answer::cancel);
        controller().revertToSaved(window);
        QCOMPARE(window->document()->book().recipes.size(), std::size_t(2));
        MessageBox::setNextAnswer(MessageBox::Answer::revert);
        controller().revertToSaved(window);
        QCOMPARE(window->document()->book().recipes.size(), std::size_t(1));
        QVERIFY(!window->isWindowModified());
        // The selected recipe went with the revert; the first one is selected instead.
        QCOMPARE(window->selectedRecipeID(), std::optional(window->document()->book().recipes[0].id));
    }

    void selectionComesBackWithTheBook() {
        const QString path = writeBook("sel.orzabook", {"A", "B"});
        BookWindow* window = controller().openFile(path);
        settle();
        window->showPage(GlazeCore::BookPage::tests);
        controller().close(window);
        settle();
        window = controller().openFile(path);
        settle();
        QCOMPARE(window->model()->selection(), std::optional(SidebarItem::tests()));

        // A saved selection naming a recipe that is gone gives the first recipe.
        const auto second = window->document()->book().recipes[1].id;
        window->model()->setSelection(SidebarItem::recipe(second));
        window->approveClose();
        window->close();
        settle();
        window = controller().openFile(path);
        settle();
        QCOMPARE(window->selectedRecipeID(), std::optional(second));
        window->deleteRecipe(second);
        window->document()->save(path);
        window->model()->setSelection(SidebarItem::recipe(second)); // saved, though the book lost it
        controller().close(window);
        settle();
        window = controller().openFile(path);
        settle();
        QCOMPARE(window->selectedRecipeID(), std::optional(window->document()->book().recipes[0].id));
    }

    void theLedgersNumbersGetSaved() {
        const QString path = writeBook("ledger.orzabook", {"A"});
        BookWindow* window = controller().openFile(path);
        window->addTestTile();
        controller().save(window);
        window->document()->undoStack()->undo();
        controller().save(window);
        settle();
        QVERIFY(window->isWindowModified()); // the ledger is ahead of the book: marked edited again
        controller().save(window);
        QCOMPARE(GlazeDocument::read(path).book.nextTileNumber, std::int64_t(2));
        controller().close(window);
        settle();

        window = controller().openFile(path);
        window->addTestTile();
        QCOMPARE(window->document()->book().tests[0].code, std::string("T-002"));
    }

    // A revert takes the book back behind the ledger: the book stays edited, so the number handed out is
    // saved and not handed out again after reopening.
    void aRevertBehindTheLedgerKeepsTheBookEdited() {
        const QString path = writeBook("reverted.orzabook", {"A"});
        BookWindow* window = controller().openFile(path);
        window->addTestTile();
        QCOMPARE(window->document()->book().tests[0].code, std::string("T-001"));
        MessageBox::setNextAnswer(MessageBox::Answer::revert);
        controller().revertToSaved(window);
        settle();
        QVERIFY(window->document()->book().tests.empty());
        QVERIFY(window->isWindowModified());

        MessageBox::setNextAnswer(MessageBox::Answer::save); // closing asks
        controller().close(window);
        settle();
        QVERIFY(controller().windows().isEmpty());
        window = controller().openFile(path);
        window->addTestTile();
        QCOMPARE(window->document()->book().tests[0].code, std::string("T-002"));
    }

    // Every way out of an edit that writes the book or asks about it ends the edit first, exactly as leaving
    // the field does: a text that is no number goes back to the value before the edit, so the file never
    // holds the prefix typed on the way ("17.5" in German wrote 17) and no undo step holds it; a number is
    // kept as typed. A window whose only change went back closes without asking.
    void everyWayOutOfAnEditKeepsOnlyWhatWasTyped_data() {
        QTest::addColumn<int>("place");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("kept");
        QTest::addColumn<int>("way");
        QTest::addColumn<bool>("editedBefore");
        const int amount = int(Place::amount), hold = int(Place::hold), silica = int(Place::silica);
        QTest::newRow("amount, de 17.5, Ctrl+S") << amount << "de_DE"
                                                 << "17.5" << 28.0 << int(Way::saveKeys) << false;
        QTest::newRow("amount, en 1,5, Ctrl+S") << amount << "en_US"
                                                << "1,5" << 28.0 << int(Way::saveKeys) << false;
        QTest::newRow("amount, de 17,5, Ctrl+S") << amount << "de_DE"
                                                 << "17,5" << 17.5 << int(Way::saveKeys) << false;
        QTest::newRow("hold, de 17.5, Ctrl+S") << hold << "de_DE"
                                               << "17.5" << 28.0 << int(Way::saveKeys) << false;
        QTest::newRow("hold, en 1,5, Save As") << hold << "en_US"
                                               << "1,5" << 28.0 << int(Way::saveAs) << false;
        QTest::newRow("SiO2, de 17.5, Ctrl+S") << silica << "de_DE"
                                               << "17.5" << 28.0 << int(Way::saveKeys) << false;
        QTest::newRow("SiO2, en 1.5, Ctrl+S") << silica << "en_US"
                                              << "1.5" << 1.5 << int(Way::saveKeys) << false;
        QTest::newRow("SiO2, en 1,5, the close question's Save")
            << silica << "en_US"
            << "1,5" << 28.0 << int(Way::closeQuestionSave) << true;
        QTest::newRow("hold, de 17,5, the close question's Save")
            << hold << "de_DE"
            << "17,5" << 17.5 << int(Way::closeQuestionSave) << false;
        QTest::newRow("amount, de 17.5, the quit question's Save")
            << amount << "de_DE"
            << "17.5" << 28.0 << int(Way::quitQuestionSave) << true;
        QTest::newRow("amount, de 17.5, close button") << amount << "de_DE"
                                                       << "17.5" << 28.0 << int(Way::closeButton) << false;
        QTest::newRow("hold, en 1,5, Close") << hold << "en_US"
                                             << "1,5" << 28.0 << int(Way::closeCommand) << false;
        QTest::newRow("SiO2, de 17.5, Close") << silica << "de_DE"
                                              << "17.5" << 28.0 << int(Way::closeCommand) << false;
        QTest::newRow("SiO2, de 17.5, Revert cancelled") << silica << "de_DE"
                                                         << "17.5" << 28.0 << int(Way::revertCancelled) << false;
    }
    void everyWayOutOfAnEditKeepsOnlyWhatWasTyped() {
        QFETCH(int, place);
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(double, kept);
        QFETCH(int, way);
        QFETCH(bool, editedBefore);
        QLocale::setDefault(QLocale(locale));
        const QString path = filePath("numbers.orzabook");
        OrzaTest::saveBook(bookOfTwentyEights(), path);
        BookWindow* window = controller().openFile(path);
        QVERIFY(window && OrzaTest::showActive(*window));
        BookDocument& document = *window->document();
        QVERIFY(!document.isModified());
        if (editedBefore) window->addRecipe();
        const int steps = document.undoStack()->count();
        QLineEdit* field = startEditing(*window, Place(place));
        QVERIFY(field);
        QTest::keyClicks(field, typed);
        // A refused text's prefix, written on the way, is taken back the moment the text is refused.
        QCOMPARE(storedAt(document.book(), Place(place)), kept);
        const QString keptText = QLocale().toString(kept);
        const auto inFile = [&](const QString& file) { return storedAt(GlazeDocument::read(file).book, Place(place)); };

        switch (Way(way)) {
        case Way::saveKeys:
            QTest::keyClick(field, Qt::Key_S, Qt::ControlModifier);
            QCOMPARE(inFile(path), kept);
            break;
        case Way::saveAs: {
            const QString copy = filePath("copy.orzabook");
            FileDialog::setNextFileName(copy);
            controller().saveAs(window);
            QCOMPARE(inFile(copy), kept);
            break;
        }
        case Way::closeQuestionSave:
            MessageBox::setNextAnswer(MessageBox::Answer::save);
            controller().close(window);
            break;
        case Way::quitQuestionSave:
            MessageBox::setNextAnswer(MessageBox::Answer::save);
            controller().quit();
            break;
        case Way::closeButton:
            window->close();
            break;
        case Way::closeCommand:
            controller().close(window);
            break;
        case Way::revertCancelled:
            MessageBox::setNextAnswer(MessageBox::Answer::cancel);
            controller().revertToSaved(window);
            QCOMPARE(inFile(path), 28.0);
            break;
        }
        settle();

        if (Way(way) == Way::saveKeys || Way(way) == Way::saveAs || Way(way) == Way::revertCancelled) {
            // The book as the field now shows it, saved; only a number kept is a step.
            QCOMPARE(storedAt(document.book(), Place(place)), kept);
            QCOMPARE(field->text(), keptText);
            QVERIFY(!document.isModified());
            QVERIFY(!window->isWindowModified());
            QCOMPARE(document.undoStack()->count(), steps + (kept != 28 ? 1 : 0));
            QVERIFY(field->hasFocus());
            if (Way(way) != Way::saveKeys) return;
            // The edit the save ended has nothing left to cancel, and undoing and saving again never stores the
            // prefix either.
            QTest::keyClick(field, Qt::Key_Escape);
            QVERIFY(!document.isModified());
            window->actions()->action(Command::undo)->trigger();
            window->actions()->action(Command::save)->trigger();
            QCOMPARE(inFile(path), 28.0);
            return;
        }
        // Asked only when more than the refused text was edited, and saved when asked.
        QVERIFY(controller().windows().isEmpty());
        QCOMPARE(inFile(path), kept);
        if (editedBefore) QCOMPARE(GlazeDocument::read(path).book.recipes.size(), std::size_t(2));
    }

    // While a refused text stands ("17.5" in German wrote 17 on the way), the book already holds the value
    // from before the edit, and every command ends the edit before it runs: no copy, sheet, undo step or
    // redo ever holds the prefix, and the field shows what it kept.
    void noCommandSeesOrStoresARefusedTextsPrefix_data() {
        QTest::addColumn<int>("place");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("act");
        const int amount = int(Place::amount), hold = int(Place::hold), silica = int(Place::silica);
        QTest::newRow("amount, de, Ctrl+D") << amount << "de_DE"
                                            << "17.5" << int(Act::duplicateKeys);
        QTest::newRow("amount, en, Ctrl+D") << amount << "en_US"
                                            << "17,5" << int(Act::duplicateKeys);
        QTest::newRow("amount, de, Ctrl+Alt+N") << amount << "de_DE"
                                                << "17.5" << int(Act::addRecipeKeys);
        QTest::newRow("amount, de, Ctrl+Shift+L") << amount << "de_DE"
                                                  << "17.5" << int(Act::addMaterialKeys);
        QTest::newRow("hold, de, Add Test") << hold << "de_DE"
                                            << "17.5" << int(Act::addTestMenu);
        QTest::newRow("amount, de, Ctrl+Z Tab Ctrl+Shift+Z") << amount << "de_DE"
                                                             << "17.5" << int(Act::undoTabRedoKeys);
        QTest::newRow("hold, en, Ctrl+Z Tab Ctrl+Shift+Z") << hold << "en_US"
                                                           << "17,5" << int(Act::undoTabRedoKeys);
        QTest::newRow("SiO2, de, Ctrl+Z Tab Ctrl+Shift+Z") << silica << "de_DE"
                                                           << "17.5" << int(Act::undoTabRedoKeys);
        QTest::newRow("amount, de, Oxide Nudge") << amount << "de_DE"
                                                 << "17.5" << int(Act::oxideNudgeMenu);
        QTest::newRow("amount, en, Oxide Nudge") << amount << "en_US"
                                                 << "17,5" << int(Act::oxideNudgeMenu);
        QTest::newRow("amount, de, Replace Material") << amount << "de_DE"
                                                      << "17.5" << int(Act::replaceMaterialMenu);
    }
    void noCommandSeesOrStoresARefusedTextsPrefix() {
        QFETCH(int, place);
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(int, act);
        QLocale::setDefault(QLocale(locale));
        const QString path = filePath("numbers.orzabook");
        OrzaTest::saveBook(bookOfTwentyEights(), path);
        BookWindow* window = controller().openFile(path);
        QVERIFY(window && OrzaTest::showActive(*window));
        BookDocument& document = *window->document();
        window->addRecipe(); // a step for Ctrl+Z to take back
        QPointer<QLineEdit> field = startEditing(*window, Place(place));
        QVERIFY(field);
        QTest::keyClicks(field, typed);
        QCOMPARE(field->text(), typed);
        QVERIFY(!holdsAnywhere(document.book(), 17));
        const auto ctrl = [](Qt::Key key, Qt::KeyboardModifiers more = {}) {
            QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier | more);
        };

        switch (Act(act)) {
        case Act::duplicateKeys:
            ctrl(Qt::Key_D);
            QCOMPARE(document.book().recipes.size(), std::size_t(3));
            break;
        case Act::addRecipeKeys:
            ctrl(Qt::Key_N, Qt::AltModifier);
            QCOMPARE(document.book().recipes.size(), std::size_t(3));
            break;
        case Act::addMaterialKeys:
            ctrl(Qt::Key_L, Qt::ShiftModifier);
            QCOMPARE(document.book().recipes[0].lines.size(), std::size_t(2));
            break;
        case Act::addTestMenu:
            window->actions()->action(Command::addTest)->trigger();
            QCOMPARE(document.book().tests.size(), std::size_t(2));
            break;
        case Act::undoTabRedoKeys:
            ctrl(Qt::Key_Z);
            QCOMPARE(document.book().recipes.size(), std::size_t(1));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            ctrl(Qt::Key_Z, Qt::ShiftModifier);
            QCOMPARE(document.book().recipes.size(), std::size_t(2));
            break;
        case Act::oxideNudgeMenu: {
            window->actions()->action(Command::oxideNudge)->trigger();
            auto* sheet = window->findChild<OxideNudgeSheet*>();
            QVERIFY(sheet);
            // The sheet works from the recipe as kept, and the field shows it.
            QCOMPARE(sheet->recipe().lines[0].amount, 28.0);
            if (field) QCOMPARE(field->text(), QStringLiteral("28"));
            sheet->reject();
            settle();
            break;
        }
        case Act::replaceMaterialMenu: {
            window->actions()->action(Command::replaceMaterial)->trigger();
            auto* sheet = window->findChild<ReplaceMaterialSheet*>();
            QVERIFY(sheet);
            QCOMPARE(sheet->recipe().lines[0].amount, 28.0);
            sheet->reject();
            settle();
            break;
        }
        }
        QVERIFY(!holdsAnywhere(document.book(), 17));
        QVERIFY(!anyStepHolds(document, 17));
        if (field && field->isVisible()) QCOMPARE(field->text(), QStringLiteral("28"));
        // One step back (the prefix is no step of its own) and a save store no prefix either.
        document.undoStack()->undo();
        QVERIFY(!holdsAnywhere(document.book(), 17));
        window->actions()->action(Command::save)->trigger();
        QVERIFY(!holdsAnywhere(GlazeDocument::read(path).book, 17));
    }

    // The one gate before every command ends the focused field's edit as leaving it does, and only the field's
    // own editing commands go on with it: a refused text shows the value kept at once, and a number confirmed
    // by a command is an undo step apart from what is typed after it.
    void everyCommandEndsTheFocusedFieldsEditFirst() {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        const QString path = filePath("numbers.orzabook");
        OrzaTest::saveBook(bookOfTwentyEights(), path);
        BookWindow* window = controller().openFile(path);
        QVERIFY(window && OrzaTest::showActive(*window));
        BookDocument& document = *window->document();
        auto* field = qobject_cast<LiveNumberField*>(startEditing(*window, Place::hold));
        QVERIFY(field);
        ActionRegistry& actions = *window->actions();

        QTest::keyClicks(field, QStringLiteral("17.5"));
        actions.action(Command::selectAll)->trigger();
        actions.action(Command::copy)->trigger();
        QCOMPARE(field->text(), QStringLiteral("17.5"));
        QVERIFY(!field->problem().isEmpty());
        actions.action(Command::toggleToolbar)->trigger();
        QCOMPARE(field->text(), QStringLiteral("28"));
        QVERIFY(field->problem().isEmpty());
        QVERIFY(field->hasFocus());

        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("17,5"));
        actions.action(Command::toggleToolbar)->trigger();
        QTest::keyClicks(field, QStringLiteral("9"));
        QCOMPARE(storedAt(document.book(), Place::hold), 17.59);
        QCOMPARE(document.undoStack()->count(), 2);
        actions.action(Command::undo)->trigger();
        QCOMPARE(storedAt(document.book(), Place::hold), 17.5);
        QCOMPARE(field->text(), QStringLiteral("17,5"));
    }

    // Quitting asks about a window's changes, and a refused text is none: nothing it typed is in the book, so
    // no window asks, whichever window is in front.
    void quittingWithOnlyARefusedTextAsksNothing() {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        const QString path = filePath("numbers.orzabook");
        OrzaTest::saveBook(bookOfTwentyEights(), path);
        BookWindow* window = controller().openFile(path);
        QVERIFY(window && OrzaTest::showActive(*window));
        QLineEdit* field = startEditing(*window, Place::hold);
        QVERIFY(field);
        QTest::keyClicks(field, QStringLiteral("17.5"));
        BookWindow* other = controller().openFile(writeBook("other.orzabook", {"B"}));
        QVERIFY(other && OrzaTest::showActive(*other));

        MessageBox::setNextAnswer(MessageBox::Answer::cancel);
        controller().quit();
        settle();
        QVERIFY(controller().windows().isEmpty());
        QVERIFY2(!MessageBox::clearNextAnswers(), "a question was asked");
        QCOMPARE(storedAt(GlazeDocument::read(path).book, Place::hold), 28.0);
    }

    // A question about the book ends the typing burst of any field being edited, a text field too: what is
    // typed after it is an undo step of its own.
    void aQuestionEndsTheTypingBurst() {
        BookWindow* window = controller().openFile(writeBook("named.orzabook", {"Celadon"}));
        QVERIFY(window && OrzaTest::showActive(*window));
        BookDocument& document = *window->document();
        window->model()->setSelection(SidebarItem::recipe(document.book().recipes[0].id));
        auto* pane = qobject_cast<RecipePane*>(window->detail());
        QVERIFY(pane);
        QLineEdit* name = pane->nameField();
        name->setFocus(Qt::MouseFocusReason);
        name->end(false);
        QTest::keyClicks(name, QStringLiteral(" A"));

        MessageBox::setNextAnswer(MessageBox::Answer::cancel);
        controller().close(window);
        QCOMPARE(controller().windows().size(), 1);
        QTest::keyClicks(name, QStringLiteral("B"));
        QCOMPARE(document.book().recipes[0].name, std::string("Celadon AB"));
        QCOMPARE(document.undoStack()->count(), 2);
        document.undoStack()->undo();
        QCOMPARE(document.book().recipes[0].name, std::string("Celadon A"));
    }
};

QTEST_MAIN(DocumentControllerTest)
#include "DocumentControllerTest.moc"
