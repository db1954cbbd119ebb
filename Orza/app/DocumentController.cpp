#include "Orza/app/DocumentController.h"

#include "Orza/app/AppMenus.h"
#include "Orza/document/BookDocument.h"
#include "Orza/document/BookFileType.h"
#include "Orza/document/DocumentError.h"
#include "Orza/document/FileStamp.h"
#include "Orza/document/VisibleFileName.h"
#include "Orza/platform/FileDialog.h"
#include "Orza/platform/FitWindowToScreen.h"
#include "Orza/platform/GlazeMainApp.h"
#include "Orza/platform/MessageBox.h"
#include "Orza/platform/StartFolder.h"
#include "Orza/settings/Settings.h"
#include "Orza/window/BookWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QUndoStack>

namespace Orza {

namespace {

QString samePath(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

void call(const DocumentController::Done& done, bool result) {
    if (done) done(result);
}

void alertCannotOpen(QWidget* parent, const QString& path, const DocumentError& error) {
    MessageBox::alert(parent,
                      DocumentController::tr("The book \u201c%1\u201d could not be opened.").arg(visibleFileName(path)),
                      error.message(), error.details());
}

/// A new untitled book nobody has written in, as a start without files leaves it: it gives way to a book
/// that is opened.
bool isUntouchedNewBook(const BookWindow& window) {
    const BookDocument& document = *window.document();
    const GlazeCore::GlazeBook& book = document.book();
    return document.isUntitled() && !document.isSample() && !document.isModified() &&
           document.undoStack()->count() == 0 && book.recipes.empty() && book.customMaterials.empty() &&
           book.tests.empty();
}

} // namespace

DocumentController& DocumentController::instance() {
    static auto* controller = new DocumentController;
    return *controller;
}

void DocumentController::launch(const QStringList& files) {
    QList<std::pair<QString, DocumentError>> failures;
    for (const QString& file : files) {
        try {
            readAndOpen(file);
        } catch (const DocumentError& error) {
            failures.append({file, error});
        }
    }
    if (!failures.isEmpty()) {
        if (m_windows.isEmpty()) newDocument();
        // After the windows are up, so that the alerts stand in front of them.
        QTimer::singleShot(0, this, [failures] {
            for (const auto& [path, error] : failures)
                alertCannotOpen(nullptr, path, error);
        });
        return;
    }
    if (!files.isEmpty()) return;
    if (Settings::instance().boolValue(Settings::Key::showOpenPanelAtLaunch)) {
        FileDialog::chooseBookToOpen(nullptr, StartFolder::lastUsed(), [this](const QString& path) {
            if (!path.isEmpty()) openFile(path);
        });
        return;
    }
    newDocument();
}

BookWindow* DocumentController::newDocument() {
    return openWindow(GlazeMainApp::makeNewDocument());
}

BookWindow* DocumentController::newSampleDocument(BookWindow* replacing) {
    const QString name = replacing && replacing->isUntitled() ? replacing->document()->displayName() : QString();
    return openWindow(BookWindow::makeSampleDocument(), {}, name);
}

BookWindow* DocumentController::openWindow(GlazeDocument document, const QString& filePath,
                                           const QString& untitledName) {
    auto book = std::make_unique<BookDocument>(std::move(document), filePath);
    if (filePath.isEmpty()) {
        if (untitledName.isEmpty()) {
            ++m_untitledCount;
            book->setUntitledName(m_untitledCount == 1 ? tr("Untitled") : tr("Untitled %1").arg(m_untitledCount));
        } else {
            book->setUntitledName(untitledName);
        }
    }
    auto* window = new BookWindow(std::move(book));
    const QScreen* screen = QGuiApplication::primaryScreen();
    window->resize(FitWindowToScreen::fittingSize(GlazeMainApp::defaultWindowSize(),
                                                  screen ? screen->availableGeometry() : QRect(), window));
    installAppMenus(*window, *this);
    m_windows.append(window);
    connect(window, &QObject::destroyed, this, [this, window] { m_windows.removeOne(window); });
    connect(window, &BookWindow::sampleDocumentRequested, this, [this] { newSampleDocument(); });
    connect(window, &BookWindow::replaceWithSampleRequested, this, [this, window] { newSampleDocument(window); });
    connect(window, &BookWindow::closeAttempted, this, [this](BookWindow* w) { close(w); });
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

BookWindow* DocumentController::windowForPath(const QString& path) const {
    const QString wanted = samePath(path);
    // A hard link is the same book under another name, as a symbolic link is.
    const std::optional<FileStamp> file = FileStamp::ofPath(path);
    const auto holds = [&](const BookWindow& window) {
        const QString& open = window.document()->filePath();
        if (samePath(open) == wanted) return true;
        const std::optional<FileStamp> openFile = file ? FileStamp::ofPath(open) : std::nullopt;
        return openFile && openFile->isSameFileAs(*file);
    };
    for (BookWindow* window : m_windows)
        if (!window->isUntitled() && holds(*window)) return window;
    return nullptr;
}

BookWindow* DocumentController::openFile(const QString& path, QWidget* alertParent) {
    try {
        return readAndOpen(path);
    } catch (const DocumentError& error) {
        alertCannotOpen(alertParent, path, error);
        return nullptr;
    }
}

BookWindow* DocumentController::readAndOpen(const QString& path) {
    if (BookWindow* open = windowForPath(path)) {
        open->show();
        open->raise();
        open->activateWindow();
        return open;
    }
    BookWindow* untouched =
        m_windows.size() == 1 && isUntouchedNewBook(*m_windows.first()) ? m_windows.first() : nullptr;
    std::optional<FileStamp> stamp;
    GlazeDocument document = GlazeDocument::read(path, &stamp);
    BookWindow* window = openWindow(std::move(document), samePath(path));
    window->document()->setDiskStamp(stamp);
    StartFolder::remember(path);
    if (untouched) {
        untouched->approveClose();
        untouched->close();
    }
    return window;
}

void DocumentController::chooseAndOpen(QWidget* window) {
    auto* book = qobject_cast<BookWindow*>(window);
    const QString folder =
        book && !book->isUntitled() ? QFileInfo(book->document()->filePath()).absolutePath() : StartFolder::lastUsed();
    QPointer<QWidget> guard(window);
    FileDialog::chooseBookToOpen(window, folder, [this, guard](const QString& path) {
        if (!path.isEmpty()) openFile(path, guard);
    });
}

void DocumentController::save(BookWindow* window, Done done) {
    // Before any question or panel: the file and the answers weigh only what the potter typed and kept.
    window->document()->endFieldEdits();
    if (window->isUntitled()) {
        saveAs(window, std::move(done));
        return;
    }
    if (!window->document()->fileChangedOnDisk()) return writeTo(window, window->document()->filePath(), done);
    // Another program wrote the book since this window read or wrote it: its work is lost only when asked.
    QPointer<BookWindow> guard(window);
    MessageBox::askToOverwriteChangedFile(window, window->document()->displayName(),
                                          [this, guard, done](MessageBox::Answer answer) {
                                              if (!guard || answer != MessageBox::Answer::overwrite)
                                                  return call(done, false);
                                              writeTo(guard, guard->document()->filePath(), done);
                                          });
}

void DocumentController::saveAs(BookWindow* window, Done done) {
    window->document()->endFieldEdits();
    const BookDocument& document = *window->document();
    // A saved book suggests its own name in its own folder; an untitled one gets the file type's suffix.
    const QString suggested = document.isUntitled() ? document.displayName() + QLatin1Char('.') + BookFileType::suffix
                                                    : QFileInfo(document.filePath()).fileName();
    const QString folder =
        document.isUntitled() ? StartFolder::lastUsed() : QFileInfo(document.filePath()).absolutePath();
    QPointer<BookWindow> guard(window);
    FileDialog::chooseSaveLocation(window, folder, suggested, [this, guard, done](const QString& path) {
        if (!guard || path.isEmpty()) return call(done, false);
        // Two windows writing one file would each overwrite the other's work.
        if (BookWindow* other = windowForPath(path); other && other != guard) {
            MessageBox::alert(guard,
                              tr("The book \u201c%1\u201d is open in another window.").arg(visibleFileName(path)),
                              tr("Choose another name, or close that window first. Nothing was saved."));
            return call(done, false);
        }
        writeTo(guard, path, done);
    });
}

void DocumentController::writeTo(BookWindow* window, const QString& path, const Done& done) {
    try {
        window->document()->save(path);
        StartFolder::remember(path);
        call(done, true);
    } catch (const DocumentError& error) {
        // The file that could not be written: after Save As, not the one the window still holds.
        MessageBox::alert(window, tr("The book \u201c%1\u201d could not be saved.").arg(visibleFileName(path)),
                          error.message(), error.details());
        call(done, false);
    }
}

void DocumentController::revertToSaved(BookWindow* window) {
    if (window->isUntitled()) return;
    window->document()->endFieldEdits();
    QPointer<BookWindow> guard(window);
    MessageBox::askToRevert(window, window->document()->displayName(), [guard](MessageBox::Answer answer) {
        if (!guard || answer != MessageBox::Answer::revert) return;
        try {
            guard->document()->revert();
        } catch (const DocumentError& error) {
            MessageBox::alert(
                guard, tr("The book \u201c%1\u201d could not be reverted.").arg(guard->document()->displayName()),
                error.message());
        }
    });
}

void DocumentController::close(BookWindow* window, Done done) {
    // A refused text taken back leaves nothing to ask about.
    window->document()->endFieldEdits();
    if (!window->document()->isModified()) {
        window->approveClose();
        window->close();
        return call(done, true);
    }
    QPointer<BookWindow> guard(window);
    MessageBox::askToSaveChanges(window, window->document()->displayName(),
                                 [this, guard, done](MessageBox::Answer answer) {
                                     if (!guard) return call(done, true);
                                     switch (answer) {
                                     case MessageBox::Answer::save:
                                         save(guard, [guard, done](bool saved) {
                                             if (saved && guard) {
                                                 guard->approveClose();
                                                 guard->close();
                                             }
                                             call(done, saved);
                                         });
                                         return;
                                     case MessageBox::Answer::dontSave:
                                         guard->approveClose();
                                         guard->close();
                                         return call(done, true);
                                     default:
                                         return call(done, false);
                                     }
                                 });
}

void DocumentController::quit(Done done) {
    reviewUnsaved(std::make_shared<QList<QPointer<BookWindow>>>(), [this, done](bool reviewed) {
        if (!reviewed) return call(done, false);
        closeAll();
        QApplication::quit();
        call(done, true);
    });
}

BookWindow* DocumentController::nextUnsaved(const QList<QPointer<BookWindow>>& discarded) const {
    for (auto window = m_windows.crbegin(); window != m_windows.crend(); ++window)
        if ((*window)->document()->isModified() && !discarded.contains(*window)) return *window;
    return nullptr;
}

void DocumentController::reviewUnsaved(const std::shared_ptr<QList<QPointer<BookWindow>>>& discarded,
                                       const Done& done) {
    // Found afresh each time: the questions are window-modal, so another window may be edited meanwhile.
    // A refused text taken back leaves its book as it was: nothing to ask about.
    for (BookWindow* open : m_windows)
        open->document()->endFieldEdits();
    BookWindow* window = nextUnsaved(*discarded);
    if (!window) return call(done, true);
    QPointer<BookWindow> guard(window);
    MessageBox::askToSaveChanges(window, window->document()->displayName(),
                                 [this, guard, discarded, done](MessageBox::Answer answer) {
                                     switch (answer) {
                                     case MessageBox::Answer::save:
                                         if (!guard) return reviewUnsaved(discarded, done);
                                         save(guard, [this, discarded, done](bool saved) {
                                             if (!saved) return call(done, false);
                                             reviewUnsaved(discarded, done);
                                         });
                                         return;
                                     case MessageBox::Answer::dontSave:
                                         discarded->append(guard);
                                         return reviewUnsaved(discarded, done);
                                     default:
                                         return call(done, false);
                                     }
                                 });
}

void DocumentController::closeAll() {
    for (BookWindow* window : QList<BookWindow*>(m_windows)) {
        window->approveClose();
        window->close();
        // A closed window leaves the list when it is destroyed, later; take it out now.
        m_windows.removeOne(window);
    }
}

} // namespace Orza
