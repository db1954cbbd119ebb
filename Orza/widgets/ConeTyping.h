#pragma once

class QComboBox;

namespace Orza {

/// Lets a cone picker whose items hold the cone as their data ("Cone 10" holding "10") be set by typing the
/// cone itself: "10", "04" or "6" choose that cone, as the potter reads it off the kiln log. Typing a title
/// ("Cone 10", "Any cone") still finds it as before.
void chooseConesByTyping(QComboBox* picker);

} // namespace Orza
