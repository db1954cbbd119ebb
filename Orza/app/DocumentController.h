#pragma once

#include "Orza/document/GlazeDocument.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

namespace Orza {

class BookWindow;

/**
 * The application's documents: one BookWindow per open book. New, Open, Save, Save As, Revert, Close and
 * Quit all come here, and so does the question about unsaved changes.
 *
 * Every question and panel is window-modal and answers through a callback, so the flows below continue
 * in those callbacks; `done` reports whether the step went through (saved, closed).
 */
class DocumentController final : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(bool)>;

    static DocumentController& instance();

    /// Opens the files, or a new untitled book (an open panel when the setting asks for one). Files that
    /// cannot be opened are reported once the windows are up, in front of them; when none opened, a new
    /// untitled book opens as on a start without files.
    void launch(const QStringList& files);

    BookWindow* newDocument();
    /// The sample book in a new untitled window; `replacing`: the untitled window it takes the place of,
    /// whose name it takes, so the first book a user sees is the first untitled one.
    BookWindow* newSampleDocument(BookWindow* replacing = nullptr);
    /// A window for `document`, shown and brought forward.
    BookWindow* openWindow(GlazeDocument document, const QString& filePath = {}, const QString& untitledName = {});
    /// Brings the book's window forward when it is open; otherwise reads the file, or says why it cannot
    /// over `alertParent` (in front of every window without one).
    BookWindow* openFile(const QString& path, QWidget* alertParent = nullptr);
    /// The open panel, starting in the folder of `window`'s book, else the folder last used.
    void chooseAndOpen(QWidget* window);

    void save(BookWindow* window, Done done = {});
    void saveAs(BookWindow* window, Done done = {});
    void revertToSaved(BookWindow* window);
    /// Closes the window, asking first what to do with unsaved changes.
    void close(BookWindow* window, Done done = {});
    /// Asks about every book with unsaved changes first, then closes every window and quits. Cancel, or a
    /// save that fails, keeps every window open.
    void quit(Done done = {});

    const QList<BookWindow*>& windows() const { return m_windows; }
    /// The window that has the file at `path` open, under that name or another (a symbolic or hard link).
    BookWindow* windowForPath(const QString& path) const;

private:
    DocumentController() = default;
    BookWindow* readAndOpen(const QString& path);
    void writeTo(BookWindow* window, const QString& path, const Done& done);
    /// The newest window with unsaved changes that the user has not chosen to discard.
    BookWindow* nextUnsaved(const QList<QPointer<BookWindow>>& discarded) const;
    void reviewUnsaved(const std::shared_ptr<QList<QPointer<BookWindow>>>& discarded, const Done& done);
    void closeAll();

    QList<BookWindow*> m_windows;
    int m_untitledCount = 0;
};

} // namespace Orza
