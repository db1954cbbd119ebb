#pragma once

#include "Orza/widgets/SymbolIcon.h"
#include "Orza/widgets/TextStyle.h"

#include <QWidget>

class QLabel;

namespace Orza {

/**
 * A symbol followed by text that wraps onto as many lines as it needs, the symbol beside the first line.
 * The tone colours both and follows palette changes, so a warning stays readable in a dark palette.
 */
class IconLabel final : public QWidget {
    Q_OBJECT
public:
    enum class Tone { primary, secondary, warning };

    IconLabel(Symbol symbol, Tone tone, TextStyle::Style style, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    Symbol symbol() const { return m_symbol; }
    Tone tone() const { return m_tone; }
    /// The colour the tone gives in the current palette.
    QColor toneColor() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void refreshColors();

    Symbol m_symbol;
    Tone m_tone;
    QLabel* m_icon;
    QLabel* m_text;
};

} // namespace Orza
