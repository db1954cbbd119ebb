#include "Orza/widgets/ContentUnavailableView.h"

#include "Orza/resources/Resources.h"
#include "Orza/widgets/ThemedIcon.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

namespace Orza {

ContentUnavailableView::ContentUnavailableView(const QString& symbol, const QString& title, const QString& description,
                                               QWidget* parent)
    : QWidget(parent), m_title(new QLabel(title)), m_description(new QLabel(description)), m_buttons(new QHBoxLayout) {
    ensureResources();
    auto* icon = new QLabel;
    // Quiet, in the description's colour, on light and dark palettes alike.
    icon->setPixmap(ThemedIcon::tinted(QIcon(QStringLiteral(":/orza/icons/%1.svg").arg(symbol)).pixmap(QSize(48, 48)),
                                       palette().color(QPalette::PlaceholderText)));
    icon->setAlignment(Qt::AlignCenter);

    QFont titleFont = m_title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_title->setAlignment(Qt::AlignCenter);

    m_description->setAlignment(Qt::AlignCenter);
    m_description->setWordWrap(true);
    setDescriptionWidth(460);
    m_description->setForegroundRole(QPalette::PlaceholderText);

    m_buttons->setSpacing(12);
    m_buttons->setAlignment(Qt::AlignCenter);

    auto* column = new QVBoxLayout(this);
    column->addStretch();
    column->addWidget(icon);
    column->addSpacing(6);
    column->addWidget(m_title);
    column->addWidget(m_description, 0, Qt::AlignHCenter);
    // Only once it has a parent: shown before, it would flash up as a window of its own and take the focus.
    m_description->setVisible(!description.isEmpty());
    column->addSpacing(8);
    column->addLayout(m_buttons);
    column->addStretch();
}

QString ContentUnavailableView::title() const {
    return m_title->text();
}

QString ContentUnavailableView::description() const {
    return m_description->text();
}

void ContentUnavailableView::setDescriptionWidth(int width) {
    // A fixed width lets the wrapped text report the height it needs.
    m_description->setFixedWidth(width);
    m_description->setMinimumHeight(m_description->heightForWidth(width));
}

} // namespace Orza
