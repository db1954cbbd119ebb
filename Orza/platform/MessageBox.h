#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;

namespace Orza {

/**
 * Window-modal questions and alerts, opened with open() and answered through a callback, never a nested
 * event loop. Tests answer the next question with setNextAnswer() and collect alerts instead of showing
 * them with setRecordingAlerts(); either way the callback runs before the call returns.
 */
class MessageBox final {
public:
    enum class Answer { save, dontSave, cancel, revert };
    using Callback = std::function<void(Answer)>;

    struct Alert {
        QString text;
        QString informativeText;
    };

    /// "Save", "Don't Save", "Cancel" for a document with unsaved changes.
    static void askToSaveChanges(QWidget* window, const QString& documentName, Callback done);
    /// "Revert", "Cancel" before dropping every unsaved change.
    static void askToRevert(QWidget* window, const QString& documentName, Callback done);
    /// A warning with one OK button.
    static void alert(QWidget* window, const QString& text, const QString& informativeText);

    /// Queues an answer for the next question; questions take the queued answers in order.
    static void setNextAnswer(Answer answer);
    /// Forgets queued answers; true when none were left.
    static bool clearNextAnswers();
    static void setRecordingAlerts(bool recording);
    static QList<Alert> takeRecordedAlerts();

private:
    static QList<Answer> s_nextAnswers;
    static bool s_recording;
    static QList<Alert> s_recorded;
};

} // namespace Orza
