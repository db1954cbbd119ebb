#pragma once

#include <QString>

class QWidget;

namespace Orza::FieldRefusal {

/// Says under `field`, with the alert sound, why what was just pasted or typed into it was not taken.
void show(QWidget* field, const QString& why);

} // namespace Orza::FieldRefusal
