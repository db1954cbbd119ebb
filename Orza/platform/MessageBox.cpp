#include "Orza/platform/MessageBox.h"

#include <QCoreApplication>
#include <QHash>
#include <QMessageBox>
#include <QPushButton>

#include <memory>
#include <utility>

namespace Orza {

QList<MessageBox::Answer> MessageBox::s_nextAnswers;
bool MessageBox::s_recording = false;
QList<MessageBox::Alert> MessageBox::s_recorded;

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("MessageBox", text);
}

/// A warning standing over the window that `window` lies in.
QMessageBox* makeBox(QWidget* window, const QString& text, QMessageBox::StandardButtons buttons) {
    auto* box = new QMessageBox(QMessageBox::Warning, QString(), text, buttons, window ? window->window() : nullptr);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}

/// Modal to its window alone, so that it stays with the book it is about. One about no window blocks every
/// window and stays on top of them all: open() would make it modal to no window, free to fall behind one and
/// leave Orza looking stuck.
void present(QMessageBox* box) {
    if (box->parentWidget()) {
        box->open();
        return;
    }
    box->setWindowModality(Qt::ApplicationModal);
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    box->show();
    box->raise();
    box->activateWindow();
}

/// A button of a question: a standard one, named in the user's language by Qt, or one of our own words.
struct Choice {
    QMessageBox::StandardButton standard = QMessageBox::NoButton;
    QString text;
    QMessageBox::ButtonRole role = QMessageBox::InvalidRole;
    MessageBox::Answer answer;
};

void ask(QWidget* window, const QString& text, const QString& informative, const QList<Choice>& choices,
         MessageBox::Answer defaultAnswer, const MessageBox::Callback& done) {
    auto* box = makeBox(window, text, QMessageBox::NoButton);
    box->setInformativeText(informative);
    auto answers = std::make_shared<QHash<QAbstractButton*, MessageBox::Answer>>();
    for (const Choice& choice : choices) {
        QAbstractButton* button = choice.standard != QMessageBox::NoButton
                                      ? static_cast<QAbstractButton*>(box->addButton(choice.standard))
                                      : box->addButton(choice.text, choice.role);
        answers->insert(button, choice.answer);
        if (choice.answer == defaultAnswer) box->setDefaultButton(qobject_cast<QPushButton*>(button));
        if (choice.answer == MessageBox::Answer::cancel) box->setEscapeButton(button);
    }
    QObject::connect(box, &QMessageBox::finished, box, [box, answers, done] {
        QAbstractButton* clicked = box->clickedButton();
        done(answers->value(clicked, MessageBox::Answer::cancel));
    });
    present(box);
}

} // namespace

void MessageBox::askToSaveChanges(QWidget* window, const QString& documentName, Callback done) {
    if (!s_nextAnswers.isEmpty()) {
        done(s_nextAnswers.takeFirst());
        return;
    }
    ask(window, tr("Do you want to save the changes made to the document \u201c%1\u201d?").arg(documentName),
        tr("Your changes will be lost if you don't save them."),
        {{QMessageBox::Save, {}, {}, Answer::save},
         {QMessageBox::Discard, {}, {}, Answer::dontSave},
         {QMessageBox::Cancel, {}, {}, Answer::cancel}},
        Answer::save, done);
}

void MessageBox::askToRevert(QWidget* window, const QString& documentName, Callback done) {
    if (!s_nextAnswers.isEmpty()) {
        done(s_nextAnswers.takeFirst());
        return;
    }
    ask(window, tr("Revert to the saved version of \u201c%1\u201d?").arg(documentName),
        tr("Your unsaved changes will be lost. You can't undo this."),
        {{QMessageBox::NoButton, tr("Revert"), QMessageBox::DestructiveRole, Answer::revert},
         {QMessageBox::Cancel, {}, {}, Answer::cancel}},
        Answer::cancel, done);
}

void MessageBox::askToOverwriteChangedFile(QWidget* window, const QString& documentName, Callback done) {
    if (!s_nextAnswers.isEmpty()) {
        done(s_nextAnswers.takeFirst());
        return;
    }
    ask(window,
        tr("The book \u201c%1\u201d was changed by another program since it was opened or last saved.")
            .arg(documentName),
        tr("If you overwrite it, the changes made there will be lost."),
        {{QMessageBox::NoButton, tr("Overwrite"), QMessageBox::DestructiveRole, Answer::overwrite},
         {QMessageBox::Cancel, {}, {}, Answer::cancel}},
        Answer::cancel, done);
}

void MessageBox::alert(QWidget* window, const QString& text, const QString& informativeText,
                       const QString& detailedText) {
    if (s_recording) {
        s_recorded.append({text, informativeText, detailedText, window ? window->window() : nullptr});
        return;
    }
    auto* box = makeBox(window, text, QMessageBox::Ok);
    box->setInformativeText(informativeText);
    box->setDetailedText(detailedText);
    present(box);
}

void MessageBox::setNextAnswer(Answer answer) {
    s_nextAnswers.append(answer);
}

bool MessageBox::clearNextAnswers() {
    return std::exchange(s_nextAnswers, {}).isEmpty();
}

void MessageBox::setRecordingAlerts(bool recording) {
    s_recording = recording;
    s_recorded.clear();
}

QList<MessageBox::Alert> MessageBox::takeRecordedAlerts() {
    return std::exchange(s_recorded, {});
}

} // namespace Orza
