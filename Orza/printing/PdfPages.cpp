#include "Orza/printing/PdfPages.h"

#include "Orza/printing/PagePainting.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace Orza::Printing {

QByteArray makePdf(const std::vector<PageMaker>& pages, QSizeF pageSize, const QString& title) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(QGuiApplication::applicationDisplayName());
        // An exact size, so a page a hair off a paper standard is not snapped to that standard.
        const QPageSize size(pageSize, QPageSize::Point, QString(), QPageSize::ExactMatch);
        if (!writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(), QPageLayout::Point))) return {};
        QPainter painter;
        if (!painter.begin(&writer)) return {};
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (i > 0) writer.newPage();
            paintPage(painter, *pages[i](writer), pageSize);
        }
        if (!painter.end()) return {};
    }
    return buffer.data();
}

} // namespace Orza::Printing
