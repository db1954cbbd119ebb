#include "Orza/platform/SystemBeep.h"

#include <QApplication>

namespace Orza::SystemBeep {

namespace {
int beeps = 0;
}

void beep() {
    ++beeps;
    QApplication::beep();
}

int count() {
    return beeps;
}

} // namespace Orza::SystemBeep
