#pragma once

#include <QObject>

namespace Orza {

/**
 * A window read by its title tells assistive tools when the title changes (a page switched to, a book or
 * recipe renamed): Qt's windows change the name they are read by without a word. One filter on the
 * application serves every window, sheet and dialog.
 */
class SpokenWindowTitle final : public QObject {
    Q_OBJECT
public:
    /// Puts the filter on the running application; again changes nothing.
    static void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
    template <class Filter> friend void installApplicationFilter();
};

} // namespace Orza
