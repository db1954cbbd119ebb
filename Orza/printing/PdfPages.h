#pragma once

#include "Orza/printing/PageContent.h"

#include <QByteArray>
#include <QSizeF>
#include <QString>

#include <vector>

namespace Orza::Printing {

/// A PDF of one page per maker, each `pageSize` points with no margins and its content fitted at the top
/// left, text kept as text. Empty bytes when the PDF could not be drawn.
QByteArray makePdf(const std::vector<PageMaker>& pages, QSizeF pageSize, const QString& title);

} // namespace Orza::Printing
