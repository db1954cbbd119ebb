#pragma once

#include <QDialog>
#include <QWidget>

#include <functional>

namespace Orza {

/// The sheet of this kind already up over `window`, brought to the front; none when there is none. A window
/// shows one sheet of a kind at a time: asking again brings the one up forward instead of stacking another.
template <typename Sheet> Sheet* raiseSheetOnScreen(QWidget& window) {
    for (Sheet* up : window.findChildren<Sheet*>(QString(), Qt::FindDirectChildrenOnly))
        if (up->isVisible()) {
            up->raise();
            up->activateWindow();
            return up;
        }
    return nullptr;
}

/// The window's record that a sheet of one kind is up: `model` announces every change of it with `changed`.
template <typename Model> struct SheetFlag {
    Model* model;
    void (Model::*changed)();
    std::function<bool()> isSet;
    std::function<void()> set;
    std::function<void()> clear;
};

/**
 * Opens a sheet of one kind over `window`, as every sheet opens: one already up comes forward instead; else
 * `make` builds it (null when it cannot), and it opens window-modal and is deleted once closed. Closing it
 * clears its flag, and clearing the flag closes it. The flag is set once the sheet is up, so that whoever
 * opens sheets on that change finds this one.
 */
template <typename Sheet, typename Model, typename Make>
Sheet* openSheet(QWidget& window, Make make, const SheetFlag<Model>& flag) {
    if (auto* up = raiseSheetOnScreen<Sheet>(window)) return up;
    Sheet* sheet = make();
    if (!sheet) return nullptr;
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(flag.model, flag.changed, sheet, [sheet, isSet = flag.isSet] {
        if (!isSet() && sheet->isVisible()) sheet->reject();
    });
    QObject::connect(sheet, &QDialog::finished, flag.model, flag.clear);
    sheet->QDialog::open();
    flag.set();
    return sheet;
}

} // namespace Orza
