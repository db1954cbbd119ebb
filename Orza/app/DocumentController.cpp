#include "Orza/app/DocumentController.h"

#include "Orza/window/BookWindow.h"
#include "Orza/app/GlazeMainApp.h"
#include "Orza/document/BookDocument.h"
#include "Orza/document/BookFileType.h"
#include "Orza/document/DocumentError.h"
#include "Orza/actions/AppMenus.h"
#include "Orza/platform/FileDialog.h"
#include "Orza/platform/MessageBox.h"
#include "Orza/settings/Settings.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>

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

} // namespace

DocumentController& DocumentController::instance() {
    static auto* controller = new DocumentController;
    return *controller;
}

void DocumentController::launch(const QStringList& files) {
    for (const QString& file : files)
        openFile(file);
    if (!files.isEmpty()) return;
    if (Settings::instance().boolValue(Settings::Key::showOpenPanelAtLaunch)) {
        FileDialog::chooseBookToOpen(nullptr, [this](const QString& path) {
            if (!path.isEmpty()) openFile(path);
        });
        return;
    }
    newDocument();
}

BookWindow* DocumentController::newDocument() {
    return openWindow(GlazeMainApp::makeNewDocument());
}

BookWindow* DocumentController::newSampleDocument() {
    return openWindow(BookWindow::makeSampleDocument());
}

BookWindow* DocumentController::openWindow(GlazeDocument document, const QString& filePath) {
    auto book = std::make_unique<BookDocument>(std::move(document), filePath);
    if (filePath.isEmpty()) {
        ++m_untitledCount;
        book->setUntitledName(m_untitledCount == 1 ? tr("Untitled") : tr("Untitled %1").arg(m_untitledCount));
    }
    auto* window = new BookWindow(std::move(book));
    window->resize(GlazeMainApp::defaultWindowSize());
    installAppMenus(*window, *this);
    m_windows.append(window);
    connect(window, &QObject::destroyed, this, [this, window] { m_windows.removeOne(window); });
    connect(window, &BookWindow::sampleDocumentRequested, this, [this] { newSampleDocument(); });
    connect(window, &BookWindow::closeAttempted, this, [this](BookWindow* w) { close(w); });
    window->show();
    window->raise();
    window->activateWindow();
    emit windowOpened(window);
    return window;
}

BookWindow* DocumentController::windowForPath(const QString& path) const {
    const QString wanted = samePath(path);
    for (BookWindow* window : m_windows)
        if (!window->isUntitled() && samePath(window->document()->filePath()) == wanted) return window;
    return nullptr;
}

BookWindow* DocumentController::openFile(const QString& path, QWidget* alertParent) {
    if (BookWindow* open = windowForPath(path)) {
        open->show();
        open->raise();
        open->activateWindow();
        return open;
    }
    try {
        return openWindow(GlazeDocument::read(path), samePath(path));
    } catch (const DocumentError& error) {
        MessageBox::alert(alertParent,
                          tr("The book \u201c%1\u201d could not be opened.").arg(QFileInfo(path).fileName()),
                          error.message());
        return nullptr;
    }
}

void DocumentController::chooseAndOpen(QWidget* parent) {
    QPointer<QWidget> guard(parent);
    FileDialog::chooseBookToOpen(parent, [this, guard](const QString& path) {
        if (!path.isEmpty()) openFile(path, guard);
    });
}

void DocumentController::save(BookWindow* window, Done done) {
    if (window->isUntitled()) {
        saveAs(window, std::move(done));
        return;
    }
    writeTo(window, window->document()->filePath(), done);
}

void DocumentController::saveAs(BookWindow* window, Done done) {
    const QString suggested = window->document()->displayName() + QLatin1Char('.') + BookFileType::suffix;
    QPointer<BookWindow> guard(window);
    FileDialog::chooseSaveLocation(window, suggested, [this, guard, done](const QString& path) {
        if (!guard || path.isEmpty()) return call(done, false);
        // Two windows writing one file would each overwrite the other's work.
        if (BookWindow* other = windowForPath(path); other && other != guard) {
            MessageBox::alert(guard,
                              tr("The book \u201c%1\u201d is open in another window.").arg(QFileInfo(path).fileName()),
                              tr("Choose another name, or close that window first. Nothing was saved."));
            return call(done, false);
        }
        writeTo(guard, path, done);
    });
}

void DocumentController::writeTo(BookWindow* window, const QString& path, const Done& done) {
    try {
        window->document()->save(path);
        call(done, true);
    } catch (const DocumentError& error) {
        MessageBox::alert(window,
                          tr("The book \u201c%1\u201d could not be saved.").arg(window->document()->displayName()),
                          error.message());
        call(done, false);
    }
}

void DocumentController::revertToSaved(BookWindow* window) {
    if (window->isUntitled()) return;
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
    closeNext([done](bool all) {
        if (all) QApplication::quit();
        call(done, all);
    });
}

void DocumentController::closeNext(const Done& done) {
    if (m_windows.isEmpty()) return call(done, true);
    BookWindow* window = m_windows.last();
    close(window, [this, window, done](bool closed) {
        if (!closed) return call(done, false);
        // A closed window leaves the list when it is destroyed, later; take it out now to go on.
        m_windows.removeOne(window);
        closeNext(done);
    });
}

} // namespace Orza
