#include "Orza/platform/DialogKeys.h"

#include <QDialog>
#include <QPushButton>

namespace Orza::DialogKeys {

void follow(QDialog& dialog, QPushButton& defaultButton) {
    Q_ASSERT(dialog.isAncestorOf(&defaultButton));
    // Buttons made later follow as well: a push button in a dialog takes Return while it has the keyboard
    // unless it is told otherwise.
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->window() == &dialog) button->setAutoDefault(true);
    // The dialog takes a button as its own default only when it is made default inside it. Made default before
    // it was placed, the first button the keyboard passed would stay the default after the keyboard left it.
    defaultButton.setDefault(false);
    defaultButton.setDefault(true);
}

} // namespace Orza::DialogKeys
