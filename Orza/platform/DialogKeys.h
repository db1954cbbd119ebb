#pragma once

class QDialog;
class QPushButton;

namespace Orza::DialogKeys {

/**
 * The desktop's keys in a sheet or dialog: Return and Space press the button that has the keyboard, and Return
 * anywhere else (a field, a list, a picker) presses `defaultButton`, which is drawn as the default whenever the
 * keyboard is on no other button. Every sheet and dialog calls it once it holds `defaultButton`.
 */
void follow(QDialog& dialog, QPushButton& defaultButton);

} // namespace Orza::DialogKeys
