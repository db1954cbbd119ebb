#pragma once

#include <QObject>

class QWidget;

namespace Orza {

/**
 * Keeps a new window from opening in an editing state: on the window's first show it clears a text
 * field's keyboard focus at once and again 0.3 s later (a field may take the focus a moment after the
 * window appears). A table, list or button that holds the focus keeps it, and so does whatever a key, a click
 * or a command (a focus given for Qt::ShortcutFocusReason) focused before the second pass. Acts once per window.
 */
class NoInitialTextFocus final : public QObject {
    Q_OBJECT
public:
    static constexpr int secondPassMilliseconds = 300;

    /// Watches `window`; the probe is the window's child and ends with it.
    explicit NoInitialTextFocus(QWidget* window);

    bool done() const { return m_done; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clearTextFocus();
    static bool isUserInput(const QEvent* event);

    QWidget* m_window;
    bool m_done = false;
    bool m_userActed = false;
};

} // namespace Orza
