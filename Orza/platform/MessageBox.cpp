#include "Orza/platform/MessageBox.h"

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

struct Choice {
    QString text;
    QMessageBox::ButtonRole role;
    MessageBox::Answer answer;
};

void ask(QWidget* window, const QString& text, const QString& informative, const QList<Choice>& choices,
         MessageBox::Answer defaultAnswer, const MessageBox::Callback& done) {
    auto* box = new QMessageBox(QMessageBox::Warning, QString(), text, QMessageBox::NoButton, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    box->setInformativeText(informative);
    auto answers = std::make_shared<QHash<QAbstractButton*, MessageBox::Answer>>();
    for (const Choice& choice : choices) {
        QPushButton* button = box->addButton(choice.text, choice.role);
        answers->insert(button, choice.answer);
        if (choice.answer == defaultAnswer) box->setDefaultButton(button);
        if (choice.answer == MessageBox::Answer::cancel) box->setEscapeButton(button);
    }
    QObject::connect(box, &QMessageBox::finished, box, [box, answers, done] {
        QAbstractButton* clicked = box->clickedButton();
        done(answers->value(clicked, MessageBox::Answer::cancel));
    });
    box->open();
}

} // namespace

void MessageBox::askToSaveChanges(QWidget* window, const QString& documentName, Callback done) {
    if (!s_nextAnswers.isEmpty()) {
        done(s_nextAnswers.takeFirst());
        return;
    }
    ask(window,
        QMessageBox::tr("Do you want to save the changes made to the document \u201c%1\u201d?").arg(documentName),
        QMessageBox::tr("Your changes will be lost if you don't save them."),
        {{QMessageBox::tr("Save"), QMessageBox::AcceptRole, Answer::save},
         {QMessageBox::tr("Don't Save"), QMessageBox::DestructiveRole, Answer::dontSave},
         {QMessageBox::tr("Cancel"), QMessageBox::RejectRole, Answer::cancel}},
        Answer::save, done);
}

void MessageBox::askToRevert(QWidget* window, const QString& documentName, Callback done) {
    if (!s_nextAnswers.isEmpty()) {
        done(s_nextAnswers.takeFirst());
        return;
    }
    ask(window, QMessageBox::tr("Revert to the saved version of \u201c%1\u201d?").arg(documentName),
        QMessageBox::tr("Your unsaved changes will be lost. You can't undo this."),
        {{QMessageBox::tr("Revert"), QMessageBox::DestructiveRole, Answer::revert},
         {QMessageBox::tr("Cancel"), QMessageBox::RejectRole, Answer::cancel}},
        Answer::cancel, done);
}

void MessageBox::alert(QWidget* window, const QString& text, const QString& informativeText) {
    if (s_recording) {
        s_recorded.append({text, informativeText});
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Warning, QString(), text, QMessageBox::Ok, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    box->setInformativeText(informativeText);
    box->open();
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
