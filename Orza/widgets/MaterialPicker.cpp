#include "Orza/widgets/MaterialPicker.h"

#include "Orza/platform/AccessiblePopup.h"
#include "Orza/widgets/MaterialSearchList.h"

#include <QLineEdit>

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>

namespace Orza {

namespace {

constexpr int chevronWidth = 7;
constexpr int chevronGap = 4;

/// The up-down chevron of a pop-up choice, drawn in `color`.
void paintChevron(QPainter& painter, const QPointF& centre, const QColor& color) {
    QPainterPath path;
    path.moveTo(centre + QPointF(-3, -1.5));
    path.lineTo(centre + QPointF(0, -4.5));
    path.lineTo(centre + QPointF(3, -1.5));
    path.moveTo(centre + QPointF(-3, 1.5));
    path.lineTo(centre + QPointF(0, 4.5));
    path.lineTo(centre + QPointF(3, 1.5));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.restore();
}

} // namespace

MaterialPicker::MaterialPicker(const BookLibrary& library, const std::string& selectedID, QWidget* parent)
    : QFrame(parent, Qt::Popup), m_list(new MaterialSearchList(library, selectedID)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::StyledPanel);
    // The name a reader gives the popup's window as it opens.
    setAccessibleName(tr("Choose material"));
    exposePopupAsWindow(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_list);
    connect(m_list, &MaterialSearchList::picked, this, [this](const QString& id) {
        emit picked(id);
        close();
    });
}

void MaterialPicker::popUp(const QRect& anchor) {
    adjustSize();
    const QScreen* screen = QGuiApplication::screenAt(anchor.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(QPoint(), size() * 4);
    setGeometry(placement(anchor, size(), available));
    show();
    m_list->searchField()->setFocus();
}

QRect MaterialPicker::placement(const QRect& anchor, const QSize& size, const QRect& available) {
    constexpr int gap = 2;
    const auto clampX = [&](int x) {
        return std::clamp(x, available.left(), std::max(available.left(), available.right() + 1 - size.width()));
    };
    const int below = available.bottom() - anchor.bottom() - gap;
    const int above = anchor.top() - available.top() - gap;
    if (size.height() <= below || below >= above) {
        const int height = std::max(0, std::min(size.height(), below));
        return QRect(clampX(anchor.left()), anchor.bottom() + 1 + gap, size.width(), height);
    }
    const int height = std::max(0, std::min(size.height(), above));
    return QRect(clampX(anchor.left()), anchor.top() - gap - height, size.width(), height);
}

void MaterialPicker::paintLabel(QPainter& painter, const QRect& rect, const QString& name, bool usable,
                                const QPalette& palette, bool selected) {
    const QColor primary = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    QColor secondary = selected ? primary : palette.color(QPalette::PlaceholderText);
    const QFontMetrics metrics(painter.font());
    const int textWidth = std::max(0, rect.width() - chevronWidth - chevronGap);
    const QString shown = metrics.elidedText(name, Qt::ElideMiddle, textWidth);
    painter.save();
    painter.setPen(usable ? primary : secondary);
    painter.drawText(QRect(rect.left(), rect.top(), textWidth, rect.height()), Qt::AlignLeft | Qt::AlignVCenter, shown);
    const int textEnd = rect.left() + metrics.horizontalAdvance(shown);
    painter.restore();
    paintChevron(painter, QPointF(textEnd + chevronGap + chevronWidth / 2.0, rect.center().y() + 0.5), secondary);
}

int MaterialPicker::labelWidth(const QFontMetrics& metrics, int width, const QString& name) {
    const int textWidth = std::max(0, width - chevronWidth - chevronGap);
    return metrics.horizontalAdvance(metrics.elidedText(name, Qt::ElideMiddle, textWidth)) + chevronGap + chevronWidth;
}

} // namespace Orza
