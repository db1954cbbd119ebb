#include "Orza/printing/PrintDialog.h"

#include <QPrintDialog>
#include <QPrinter>

#include <utility>

namespace Orza::Printing {

QList<PrintDialog::Answer> PrintDialog::s_nextAnswers;

void PrintDialog::run(QWidget* window, QPrinter& printer, int pageCount, Callback done) {
    if (!s_nextAnswers.isEmpty()) {
        done(s_nextAnswers.takeFirst() == Answer::print);
        return;
    }
    auto* dialog = new QPrintDialog(&printer, window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    dialog->setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog->setOption(QAbstractPrintDialog::PrintPageRange, pageCount > 1);
    if (pageCount > 1) dialog->setMinMax(1, pageCount);
    QObject::connect(dialog, &QDialog::finished, dialog, [done](int result) { done(result == QDialog::Accepted); });
    dialog->open();
}

void PrintDialog::setNextAnswer(Answer answer) {
    s_nextAnswers.append(answer);
}

bool PrintDialog::clearNextAnswers() {
    return std::exchange(s_nextAnswers, {}).isEmpty();
}

} // namespace Orza::Printing
