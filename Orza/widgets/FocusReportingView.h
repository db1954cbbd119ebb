#pragma once

#include <QAbstractItemView>

namespace Orza {

/**
 * An item view that tells assistive tools of a new current item only while it has the focus. Qt's own tables
 * and lists report every new current item as focused, even while the focus is elsewhere: a search typed above
 * a table, or a button that takes an item out of a list, would pull a screen reader into the view.
 */
template <class View> class FocusReportingView : public View {
public:
    using View::View;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override {
        if (this->hasFocus())
            View::currentChanged(current, previous);
        else
            QAbstractItemView::currentChanged(current, previous);
    }
};

} // namespace Orza
