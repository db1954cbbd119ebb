#include "Orza/widgets/IconLabel.h"

#include "Orza/widgets/AccessibleOneElement.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

namespace Orza {

IconLabel::IconLabel(Symbol symbol, Tone tone, TextStyle::Style style, QWidget* parent)
    : QWidget(parent), m_symbol(symbol), m_tone(tone), m_icon(new QLabel), m_text(new QLabel) {
    TextStyle::apply(this, style);
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_icon->setAlignment(Qt::AlignCenter);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(m_icon, 0, Qt::AlignTop);
    row->addWidget(m_text, 1);
    // Its name is its text: the symbol says nothing more, and the text label would say it again.
    readAsOneElement(this);
    refreshColors();
}

QString IconLabel::text() const {
    return m_text->text();
}

void IconLabel::setText(const QString& text) {
    if (text == m_text->text()) return;
    m_text->setText(text);
    setAccessibleName(text);
}

QColor IconLabel::toneColor() const {
    switch (m_tone) {
    case Tone::primary:
        return palette().color(QPalette::WindowText);
    case Tone::secondary:
        return TextStyle::secondary(palette());
    case Tone::warning:
        return TextStyle::warning(palette());
    }
    return palette().color(QPalette::WindowText);
}

void IconLabel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) refreshColors();
}

void IconLabel::refreshColors() {
    const QColor color = toneColor();
    QPalette textPalette = m_text->palette();
    textPalette.setColor(QPalette::WindowText, color);
    m_text->setPalette(textPalette);
    // The symbol is as tall as a line of the text, so it sits level with the first line.
    const int side = QFontMetrics(font()).height();
    m_icon->setFixedSize(side, side);
    m_icon->setPixmap(SymbolIcon::pixmap(m_symbol, color, side - 2, devicePixelRatioF()));
}

} // namespace Orza
