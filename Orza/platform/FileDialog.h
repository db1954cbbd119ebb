#pragma once

#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace Orza {

/**
 * The open and save panels for book files, window-modal and answered through a callback with the chosen
 * path (empty when the user cancelled). Each panel starts in the folder it is given; the save panel
 * suggests a name and adds the book suffix to a name typed without one, the open panel does neither.
 *
 * Tests answer the next panel with setNextFileName(); the callback then runs before the call returns, and
 * lastRequest() tells how the panel was asked for.
 */
class FileDialog final {
public:
    using Callback = std::function<void(const QString& path)>;

    struct Request {
        enum class Kind { open, save };
        Kind kind = Kind::open;
        QString folder;
        QString suggestedName;
        QPointer<QWidget> window;
    };

    static void chooseBookToOpen(QWidget* window, const QString& folder, Callback done);
    static void chooseSaveLocation(QWidget* window, const QString& folder, const QString& suggestedName, Callback done);

    /// The next panel is not shown and answers with `path`; an empty path is a cancel.
    static void setNextFileName(const QString& path);
    /// Forgets an unused answer; true when there was none.
    static bool clearNextFileName();
    /// How the last panel was asked for, shown or answered by a test.
    static const std::optional<Request>& lastRequest() { return s_lastRequest; }

private:
    static std::optional<QString> s_nextFileName;
    static std::optional<Request> s_lastRequest;
};

} // namespace Orza
