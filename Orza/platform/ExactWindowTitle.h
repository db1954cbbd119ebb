#pragma once

#include <QObject>

class QWidget;

namespace Orza {

/**
 * Keeps a window's title on the desktop exactly as the window sets it. Qt's desktop platforms end every
 * window's title with " — " and the application's display name; a title that names the application already
 * ("Orza Help") would read it twice. Watches the window, whose child it is, and ends with it.
 */
class ExactWindowTitle final : public QObject {
    Q_OBJECT
public:
    explicit ExactWindowTitle(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showTitle();

    QWidget* m_window;
};

} // namespace Orza
