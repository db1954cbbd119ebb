#pragma once

#include <QList>

#include <functional>

class QPrinter;
class QWidget;

namespace Orza::Printing {

/**
 * The print panel, window-modal over `window` and answered through a callback: true when the user chose
 * to print. What the user picks (printer, copies, paper) is kept in `printer`. Tests queue answers with
 * setNextAnswer(); the panel is then not shown and the callback runs before the call returns.
 */
class PrintDialog final {
public:
    enum class Answer { print, cancel };
    using Callback = std::function<void(bool print)>;

    /// `pageCount` above 1 lets the user choose a range of pages.
    static void run(QWidget* window, QPrinter& printer, int pageCount, Callback done);

    static void setNextAnswer(Answer answer);
    /// Forgets queued answers; true when none were left.
    static bool clearNextAnswers();

private:
    static QList<Answer> s_nextAnswers;
};

} // namespace Orza::Printing
