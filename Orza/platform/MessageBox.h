#pragma once

#include <QList>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace Orza {

/**
 * Window-modal questions and alerts, opened with open() and answered through a callback, never a nested
 * event loop. Each stands over the window of the widget it is given and is modal to that window alone; one
 * given no widget is application-modal and stays on top of every window. Tests answer the next question with
 * setNextAnswer() and collect alerts instead of showing them with setRecordingAlerts(); either way the
 * callback runs before the call returns.
 */
class MessageBox final {
public:
    enum class Answer { save, dontSave, cancel, revert, overwrite };
    using Callback = std::function<void(Answer)>;

    struct Alert {
        QString text;
        QString informativeText;
        QString detailedText;
        /// The window the alert stands over (the window of the widget given); none for an alert in front of
        /// everything.
        QPointer<QWidget> window;
    };

    /// "Save", "Don't Save", "Cancel" for a document with unsaved changes.
    static void askToSaveChanges(QWidget* window, const QString& documentName, Callback done);
    /// "Revert", "Cancel" before dropping every unsaved change.
    static void askToRevert(QWidget* window, const QString& documentName, Callback done);
    /// "Overwrite", "Cancel" before saving over a book that another program changed since this window read
    /// or wrote it.
    static void askToOverwriteChangedFile(QWidget* window, const QString& documentName, Callback done);
    /// A warning with one OK button, over `window` (window-modal), or without one in front of every window.
    /// `detailedText`, when given, is behind the alert's "Show Details…" button.
    static void alert(QWidget* window, const QString& text, const QString& informativeText,
                      const QString& detailedText = {});

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
