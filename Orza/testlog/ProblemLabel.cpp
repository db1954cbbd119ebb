#include "Orza/testlog/ProblemLabel.h"

#include "Orza/testlog/FormSection.h"
#include "Orza/widgets/AccessibleOneElement.h"
#include "Orza/widgets/AlertAnnouncement.h"

#include <QAccessible>
#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>

#include <utility>

namespace Orza {

ProblemLabel::ProblemLabel(QWidget* parent) : QWidget(parent), m_symbol(new QLabel), m_text(new QLabel) {
    const QIcon symbol = QIcon(QStringLiteral(":/orza/testlog/icons/exclamationmark.triangle.fill.svg"));
    m_symbol->setPixmap(symbol.pixmap(QSize(16, 16), devicePixelRatioF()));
    m_symbol->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_symbol->setAccessibleName(tr("Warning"));
    m_text->setWordWrap(true);
    m_text->setFont(calloutFont(font()));
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(m_symbol, 0, Qt::AlignTop);
    row->addWidget(m_text, 1);
    readAsOneElement(this, QAccessible::AlertMessage);
}

QString ProblemLabel::text() const {
    return m_text->text();
}

void ProblemLabel::setText(const QString& text) {
    m_text->setText(text);
    setAccessibleName(text);
}

void ProblemLabel::announce() {
    announceAlert(this, std::exchange(m_shownAnew, false));
    emit announced(m_text->text());
}

bool ProblemLabel::event(QEvent* event) {
    if (event->type() == QEvent::Show) m_shownAnew = true;
    if (event->type() == QEvent::Hide) m_shownAnew = false;
    return QWidget::event(event);
}

} // namespace Orza
