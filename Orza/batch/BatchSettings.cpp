#include "Orza/batch/BatchSettings.h"

#include "Orza/settings/Settings.h"

namespace Orza::BatchSettings {

double totalGrams() {
    return Settings::instance().doubleValue(Settings::Key::batchTotalGrams);
}

void setTotalGrams(double grams) {
    Settings::instance().set(Settings::Key::batchTotalGrams, grams);
}

double precision() {
    return Settings::instance().doubleValue(Settings::Key::batchPrecision);
}

void setPrecision(double step) {
    Settings::instance().set(Settings::Key::batchPrecision, step);
}

} // namespace Orza::BatchSettings
