#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace Orza {

/**
 * The open and save panels for book files, window-modal and answered through a callback with the chosen
 * path (empty when the user cancelled). Tests answer the next panel with setNextFileName(); the callback
 * then runs before the call returns.
 */
class FileDialog final {
public:
    using Callback = std::function<void(const QString& path)>;

    static void chooseBookToOpen(QWidget* window, Callback done);
    static void chooseSaveLocation(QWidget* window, const QString& suggestedName, Callback done);

    /// The next panel is not shown and answers with `path`; an empty path is a cancel.
    static void setNextFileName(const QString& path);
    /// Forgets an unused answer; true when there was none.
    static bool clearNextFileName();

private:
    static std::optional<QString> s_nextFileName;
};

} // namespace Orza
