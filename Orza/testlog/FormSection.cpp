#include "Orza/testlog/FormSection.h"

#include "Orza/platform/AccessibleHeading.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace Orza {

QFont calloutFont(const QFont& base) {
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 0.93);
    return font;
}

QFont captionFont(const QFont& base) {
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 0.85);
    return font;
}

void makeSecondary(QWidget* label) {
    QPalette palette = label->palette();
    // On a panel a label draws with the text colour, elsewhere with the window's: dim both.
    const QColor secondary = palette.color(QPalette::PlaceholderText);
    palette.setColor(QPalette::WindowText, secondary);
    palette.setColor(QPalette::Text, secondary);
    label->setPalette(palette);
}

FormSection::FormSection(const QString& title, QWidget* parent)
    : QWidget(parent), m_heading(new QLabel(title)), m_rows(new QVBoxLayout) {
    QFont headingFont = m_heading->font();
    headingFont.setWeight(QFont::DemiBold);
    m_heading->setFont(headingFont);
    markAsHeading(m_heading);

    auto* panel = new QFrame;
    panel->setObjectName(QStringLiteral("formSectionPanel"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    panel->setBackgroundRole(QPalette::Base);
    panel->setLayout(m_rows);
    m_rows->setContentsMargins(12, 10, 12, 12);
    m_rows->setSpacing(8);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addWidget(m_heading);
    column->addWidget(panel);
}

} // namespace Orza
