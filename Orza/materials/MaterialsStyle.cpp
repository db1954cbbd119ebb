#include "Orza/materials/MaterialsStyle.h"

#include "Orza/resources/Resources.h"
#include "Orza/widgets/ThemedIcon.h"

#include <QFile>
#include <QLabel>
#include <QPalette>

static void initMaterialsResources() {
    Q_INIT_RESOURCE(materials);
}

namespace Orza::MaterialsStyle {

namespace {

QFont scaled(QFont font, double factor) {
    font.setPointSizeF(font.pointSizeF() * factor);
    return font;
}

} // namespace

QFont captionFont(const QFont& base) {
    return scaled(base, 0.85);
}

QFont headlineFont(const QFont& base) {
    QFont font = base;
    font.setWeight(QFont::DemiBold);
    return font;
}

QFont titleFont(const QFont& base) {
    QFont font = scaled(base, 1.35);
    font.setWeight(QFont::DemiBold);
    return font;
}

void makeSecondary(QLabel* label) {
    label->setForegroundRole(QPalette::PlaceholderText);
}

QIcon symbol(const QString& name) {
    // The library is static: its resources must be registered by hand before the first use.
    static const bool registered = (initMaterialsResources(), ensureResources(), true);
    (void)registered;
    const QString own = QStringLiteral(":/orza/materials/icons/%1.svg").arg(name);
    return QFile::exists(own) ? QIcon(own) : ThemedIcon::symbol(name);
}

} // namespace Orza::MaterialsStyle
