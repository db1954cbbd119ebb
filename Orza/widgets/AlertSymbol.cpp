#include "Orza/widgets/AlertSymbol.h"

#include "Orza/widgets/TextStyle.h"

#include <QEvent>

namespace Orza {

AlertSymbol::AlertSymbol(Symbol symbol, int side, QWidget* parent) : QLabel(parent), m_symbol(symbol), m_side(side) {
    setFixedSize(side, side);
    paintSymbol();
}

QColor AlertSymbol::colour() const {
    return TextStyle::alert(palette());
}

void AlertSymbol::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ScreenChangeInternal) paintSymbol();
}

void AlertSymbol::paintSymbol() {
    setPixmap(SymbolIcon::pixmap(m_symbol, colour(), m_side, devicePixelRatioF()));
}

} // namespace Orza
