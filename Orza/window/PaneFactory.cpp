#include "Orza/window/PaneFactory.h"

namespace Orza {

namespace {

std::unique_ptr<PaneFactory>& installed() {
    static std::unique_ptr<PaneFactory> factory = std::make_unique<PaneFactory>();
    return factory;
}

} // namespace

QWidget* PaneFactory::makeRecipePane(const PaneContext&, const GlazeCore::Uuid&, QWidget*) {
    return nullptr;
}

QWidget* PaneFactory::makeTestLog(const PaneContext&, QWidget*) {
    return nullptr;
}

QWidget* PaneFactory::makeMaterialsPage(const PaneContext&, QWidget*) {
    return nullptr;
}

QDialog* PaneFactory::makeLabelSheet(const PaneContext&, QWidget*) {
    return nullptr;
}

PaneFactory& PaneFactory::current() {
    return *installed();
}

void PaneFactory::install(std::unique_ptr<PaneFactory> factory) {
    installed() = factory ? std::move(factory) : std::make_unique<PaneFactory>();
}

} // namespace Orza
