#include "Orza/window/BookNotes.h"

#include "GlazeCore/book/SampleBook.h"
#include "Orza/platform/GlazeMainApp.h"
#include "Orza/resources/Resources.h"
#include "Orza/widgets/ColorMix.h"
#include "Orza/widgets/LineLimitedLabel.h"
#include "Orza/widgets/TextStyle.h"
#include "Orza/widgets/ThemedIcon.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace Orza {

namespace {

QIcon symbol(const QString& name) {
    return ThemedIcon::symbol(name);
}

constexpr qreal cornerRadius = 8;
/// How far the note's background steps from the window's towards its text.
constexpr qreal backgroundStep = 0.07;

/// The secondary level of the window's background: the window colour a step towards its text, so the note
/// reads as a card on light and dark palettes alike.
QColor secondaryBackground(const QPalette& palette) {
    return towards(palette.color(QPalette::Window), palette.color(QPalette::WindowText), backgroundStep);
}

/// A size smaller than body text, as notes and captions are set.
QFont calloutFont(QFont font) {
    font.setPointSizeF(font.pointSizeF() * 0.92);
    return font;
}

} // namespace

NoteBanner::NoteBanner(const QString& heading, const QString& symbolName, const QString& text, int maximumLines,
                       const QString& closeAccessibleName, QWidget* parent)
    : QWidget(parent), m_heading(new QLabel(heading)), m_close(new QToolButton),
      m_text(new LineLimitedLabel(text, maximumLines)) {
    const QFont callout = calloutFont(font());
    QFont headingFont = callout;
    headingFont.setWeight(QFont::DemiBold);
    m_heading->setFont(headingFont);
    auto* icon = new QLabel;
    const int iconSide = QFontMetrics(headingFont).height();
    icon->setPixmap(symbol(symbolName).pixmap(QSize(iconSide, iconSide)));

    m_close->setIcon(symbol(QStringLiteral("xmark")));
    m_close->setIconSize(QSize(10, 10));
    m_close->setAutoRaise(true); // borderless until pointed at
    m_close->setToolTip(tr("Close this note"));
    m_close->setAccessibleName(closeAccessibleName);
    m_close->setCursor(Qt::ArrowCursor);
    connect(m_close, &QToolButton::clicked, this, &NoteBanner::closeClicked);

    m_text->setFont(callout);
    TextStyle::makeSecondary(m_text);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(4);
    top->addWidget(icon, 0, Qt::AlignVCenter);
    top->addWidget(m_heading, 0, Qt::AlignVCenter);
    top->addStretch();
    top->addWidget(m_close, 0, Qt::AlignVCenter);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(6);
    column->addLayout(top);
    column->addWidget(m_text);

    // One element for assistive tools; the heading, the button and the text stay reachable inside it.
    setAccessibleName(heading);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void NoteBanner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(secondaryBackground(palette()));
    painter.drawRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
}

TileCodeNote::TileCodeNote(const QString& text, QWidget* parent)
    : NoteBanner(tr("Tile codes"), QStringLiteral("number"), text, maximumLines, tr("Close the tile code note"),
                 parent) {}

SampleNote::SampleNote(QWidget* parent)
    : NoteBanner(tr("Sample book"), QStringLiteral("info.circle"),
                 QString::fromStdString(GlazeCore::SampleBook::introNote(GlazeMainApp::appName().toStdString())),
                 maximumLines, tr("Close the sample book note"), parent) {}

} // namespace Orza
