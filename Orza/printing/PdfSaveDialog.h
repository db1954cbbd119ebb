#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace Orza::Printing {

/**
 * The save panel for a PDF file, window-modal and answered through a callback with the chosen path
 * (empty when the user cancelled). It opens in the book's folder, else in the folder last used.
 * Tests answer the next panel without showing it; the callback then runs before the call returns.
 */
class PdfSaveDialog final {
public:
    using Callback = std::function<void(const QString& path)>;

    /// `suggestedName` is offered as a file name: a "/" in it would name a folder, so it becomes "-", and a
    /// line break or other control character becomes a space, and a name too long for the file system is cut
    /// short, keeping ".pdf".
    static void chooseLocation(QWidget* window, const QString& suggestedName, Callback done);

    /// The name a panel offers for `suggestedName`.
    static QString fileNameFor(const QString& suggestedName);

    /// The next panel is not shown and answers with `path`; an empty path is a cancel.
    static void setNextFileName(const QString& path);
    /// The next panel is not shown and answers with the name it offers, inside `folder`.
    static void setNextFolder(const QString& folder);
    /// Forgets an unused answer; true when there was none.
    static bool clearNextAnswer();

private:
    using Answer = std::function<QString(const QString& offeredName)>;
    static std::optional<Answer> s_next;
};

} // namespace Orza::Printing
