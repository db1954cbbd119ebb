// Opening a book and choosing files: the untouched new book gives way to a book opened, and the photo and
// PDF panels start beside the book, else in the folder last used.

#include "Orza/app/DocumentController.h"
#include "Orza/batch/BatchSheet.h"
#include "Orza/document/BookDocument.h"
#include "Orza/labels/LabelSheet.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/FileDialog.h"
#include "Orza/platform/MessageBox.h"
#include "Orza/settings/Settings.h"
#include "Orza/testlog/TestLogPage.h"
#include "Orza/testlog/TestTileEditor.h"
#include "Orza/testlog/TilePhotoSection.h"
#include "Orza/window/BookWindow.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFileDialog>
#include <QTest>
#include <QUndoStack>

using namespace Orza;
using OrzaTest::settle;

namespace {

DocumentController& controller() {
    return DocumentController::instance();
}

/// The folder a file panel that `owner` opened starts in; empty when none is up.
QString panelFolder(const QWidget& owner) {
    const auto panels = owner.findChildren<QFileDialog*>();
    if (panels.isEmpty()) return {};
    QFileDialog* panel = panels.last();
    const QString folder = panel->directory().absolutePath();
    panel->reject();
    return folder;
}

} // namespace

class FilePanelsTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private:
    void tearDown() override {
        OrzaTest::closeEveryWindow();
        QVERIFY(controller().windows().isEmpty());
        QVERIFY(FileDialog::clearNextFileName());
    }

    /// A saved book with one recipe and one tile, in a folder of its own, open in a window.
    BookWindow* openSavedBook(const QString& folder) {
        QDir().mkpath(filePath(folder));
        GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
        book.tests.push_back(OrzaTest::tile(book.recipes[0].id, "6", "T-1"));
        const QString path = QDir(filePath(folder)).filePath(QStringLiteral("Book.orzabook"));
        OrzaTest::saveBook(book, path);
        return controller().openFile(path);
    }

private slots:
    void anUntouchedNewBookGivesWayToABookOpened() {
        const QString path = filePath(QStringLiteral("Glazes.orzabook"));
        OrzaTest::saveBook(OrzaTest::bookWithRecipes({"A"}), path);
        controller().launch({});
        QCOMPARE(controller().windows().size(), 1);
        FileDialog::setNextFileName(path);
        controller().chooseAndOpen(controller().windows().first());
        settle();
        QCOMPARE(controller().windows().size(), 1);
        QCOMPARE(controller().windows().first()->document()->displayName(), QStringLiteral("Glazes.orzabook"));
    }

    void aNewBookWithWorkInItStays() {
        const QString path = filePath(QStringLiteral("Glazes.orzabook"));
        OrzaTest::saveBook(OrzaTest::bookWithRecipes({"A"}), path);
        BookWindow* started = controller().newDocument();
        started->addRecipe();
        // Undone, it reads as new, but the potter has been at work in it.
        started->document()->undoStack()->undo();
        QVERIFY(started->document()->book().recipes.empty());
        controller().openFile(path);
        settle();
        QCOMPARE(controller().windows().size(), 2);

        // With two windows up, neither is "the" new book: both stay.
        OrzaTest::closeEveryWindow();
        controller().newDocument();
        controller().newDocument();
        controller().openFile(path);
        settle();
        QCOMPARE(controller().windows().size(), 3);
    }

    void panelsStartBesideTheBook() {
        BookWindow* window = openSavedBook(QStringLiteral("Studio"));
        QVERIFY(window);
        const QString folder = QDir(filePath(QStringLiteral("Studio"))).absolutePath();
        const GlazeCore::Uuid recipe = window->document()->book().recipes.front().id;

        BatchSheet* batch = BatchSheet::open(window->paneContext(), recipe);
        batch->exportPDF();
        QCOMPARE(panelFolder(*batch), folder);
        batch->reject();

        LabelSheet* labels = LabelSheet::open(window->paneContext(), LabelScope::all);
        labels->exportLabels();
        QCOMPARE(panelFolder(*labels), folder);
        labels->reject();

        window->model()->setSelection(SidebarItem::tests());
        auto* page = qobject_cast<TestLogPage*>(window->detail());
        QVERIFY(page && page->editor());
        TilePhotoSection* photo = page->editor()->photoSection();
        photo->choosePhoto();
        QVERIFY(photo->openPanel());
        QCOMPARE(photo->openPanel()->directory().absolutePath(), folder);
        photo->openPanel()->reject();
    }

    // A path typed into the open panel is opened as it stands, so that a file without the book suffix, or a
    // device, gets Orza's own word on what is wrong with it; the save panel alone adds the suffix.
    void onlyTheSavePanelAddsTheBookSuffix() {
        BookWindow* window = controller().newDocument();
        const QString notes = filePath(QStringLiteral("notes"));
        OrzaTest::writeAll(notes, "Celadon: 4 parts feldspar");
        const QList<std::pair<QString, QStringList>> typed{
            {notes,
             {QStringLiteral("The book \u201cnotes\u201d could not be opened."),
              QStringLiteral("The file is not a glaze book, or it is damaged. The file was not changed.")}},
            {QStringLiteral("/dev/null"),
             {QStringLiteral("The book \u201cnull\u201d could not be opened."),
              QStringLiteral("It is not a regular file, so it cannot be a book file.")}}};
        for (const auto& [path, alert] : typed) {
            controller().chooseAndOpen(window);
            QFileDialog* panel = window->findChild<QFileDialog*>();
            QVERIFY(panel && panel->isVisible());
            panel->selectFile(path);
            QCOMPARE(panel->selectedFiles(), QStringList{path});
            static_cast<QDialog*>(panel)->accept(); // Open, as the panel's button does it
            settle();
            const auto alerts = MessageBox::takeRecordedAlerts();
            QCOMPARE(alerts.size(), 1);
            QCOMPARE((QStringList{alerts[0].text, alerts[0].informativeText}), alert);
        }

        controller().saveAs(window);
        QFileDialog* panel = window->findChild<QFileDialog*>();
        QVERIFY(panel && panel->isVisible());
        panel->selectFile(filePath(QStringLiteral("Glazes")));
        QCOMPARE(panel->selectedFiles(), QStringList{filePath(QStringLiteral("Glazes.orzabook"))});
        panel->reject();
    }

    void panelsOfAnUntitledBookStartInTheFolderLastUsed() {
        const QString last = filePath(QStringLiteral("Exports"));
        QDir().mkpath(last);
        Settings::instance().set(Settings::Key::lastFolder, last);
        BookWindow* window =
            controller().openWindow(GlazeDocument::make(OrzaTest::bookWithRecipes({"Celadon"}), false));
        BatchSheet* batch = BatchSheet::open(window->paneContext(), window->document()->book().recipes.front().id);
        batch->exportPDF();
        QCOMPARE(panelFolder(*batch), QDir(last).absolutePath());
        batch->reject();
    }
};

QTEST_MAIN(FilePanelsTest)
#include "FilePanelsTest.moc"
