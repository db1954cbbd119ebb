#pragma once

#include "Orza/widgets/SymbolIcon.h"

#include <QLabel>

namespace Orza {

/// A symbol drawn in the alert colour of its own palette, drawn again whenever the palette or the screen's
/// scale changes, so it reads on a dark window as on a light one.
class AlertSymbol final : public QLabel {
    Q_OBJECT
public:
    explicit AlertSymbol(Symbol symbol, int side = 16, QWidget* parent = nullptr);

    /// The colour the symbol is drawn in now.
    QColor colour() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void paintSymbol();

    Symbol m_symbol;
    int m_side;
};

} // namespace Orza
