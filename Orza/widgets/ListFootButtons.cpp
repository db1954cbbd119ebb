#include "Orza/widgets/ListFootButtons.h"

#include "Orza/resources/Resources.h"
#include "Orza/widgets/ThemedIcon.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QToolButton>

namespace Orza {

namespace {

QToolButton* footButton(const QString& themeIcon, const QString& symbol, const QString& label) {
    ensureResources();
    auto* button = new QToolButton;
    // The desktop's own icon when its theme has one, else the application's.
    button->setIcon(QIcon::fromTheme(themeIcon, ThemedIcon::symbol(symbol)));
    button->setIconSize(QSize(12, 12));
    button->setFixedSize(24, 20);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    button->setAccessibleName(label);
    return button;
}

} // namespace

ListFootButtons::ListFootButtons(const QString& addLabel, const QString& removeLabel, QWidget* parent)
    : QWidget(parent), m_addLabel(addLabel),
      m_add(footButton(QStringLiteral("list-add"), QStringLiteral("plus"), addLabel)),
      m_remove(footButton(QStringLiteral("list-remove"), QStringLiteral("minus"), removeLabel)),
      m_row(new QHBoxLayout(this)) {
    m_add->setToolTip(addLabel);
    m_remove->setToolTip(removeLabel);

    auto* divider = new QFrame;
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Plain);
    divider->setFixedHeight(14);
    divider->setForegroundRole(QPalette::Mid);

    m_row->setSpacing(0);
    m_row->setContentsMargins(6, 4, 6, 4);
    m_row->addWidget(m_add, 0, Qt::AlignVCenter);
    m_row->addWidget(divider, 0, Qt::AlignVCenter);
    m_row->addWidget(m_remove, 0, Qt::AlignVCenter);
    m_row->addStretch(1);

    connect(m_add, &QToolButton::clicked, this, &ListFootButtons::addRequested);
    connect(m_remove, &QToolButton::clicked, this, &ListFootButtons::removeRequested);
}

void ListFootButtons::setCanAdd(bool canAdd) {
    m_add->setEnabled(canAdd);
}

void ListFootButtons::setCanRemove(bool canRemove) {
    m_remove->setEnabled(canRemove);
}

void ListFootButtons::setAddHelp(const std::optional<QString>& help) {
    m_add->setToolTip(help.value_or(m_addLabel));
}

void ListFootButtons::setTrailing(QWidget* content) {
    if (m_trailing) delete m_trailing;
    m_trailing = content;
    if (content) m_row->addWidget(content, 0, Qt::AlignVCenter);
}

} // namespace Orza
