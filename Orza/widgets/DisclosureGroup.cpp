#include "Orza/widgets/DisclosureGroup.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace Orza {

DisclosureGroup::DisclosureGroup(const QString& title, QWidget* content, QWidget* parent)
    : QWidget(parent), m_toggle(new QToolButton), m_content(content) {
    m_toggle->setText(title);
    m_toggle->setCheckable(true);
    m_toggle->setAutoRaise(true);
    m_toggle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toggle->setArrowType(Qt::RightArrow);
    m_toggle->setIconSize(QSize(8, 8));
    m_toggle->setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 0; }"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(m_toggle, 0, Qt::AlignLeft);
    column->addWidget(m_content);
    m_content->setVisible(false);
    connect(m_toggle, &QToolButton::toggled, this, &DisclosureGroup::setExpanded);
}

bool DisclosureGroup::isExpanded() const {
    return m_toggle->isChecked();
}

void DisclosureGroup::setExpanded(bool expanded) {
    m_toggle->setChecked(expanded);
    m_toggle->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    m_content->setVisible(expanded);
}

} // namespace Orza
