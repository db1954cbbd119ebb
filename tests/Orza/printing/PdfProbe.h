#pragma once

#include <QByteArray>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QSizeF>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <optional>
#include <vector>

// What a PDF holds, read back with poppler's command-line tools as any reader would see it.
namespace OrzaTest::PdfProbe {

/// pdfinfo and pdftotext are installed; suites skip their PDF checks without them.
inline bool available() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

inline QByteArray run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
    return process.readAllStandardOutput();
}

struct Info {
    int pages = 0;
    QSizeF pageSize;
};

/// The page count and the first page's size in points; none when the file is no PDF.
inline std::optional<Info> info(const QString& path) {
    const QString out = QString::fromUtf8(run(QStringLiteral("pdfinfo"), {path}));
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out);
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(out);
    if (!pages.hasMatch() || !size.hasMatch()) return std::nullopt;
    return Info{pages.captured(1).toInt(), QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble())};
}

/// The text a reader extracts, in reading order.
inline QString text(const QString& path) {
    return QString::fromUtf8(
        run(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")}));
}

struct Word {
    QString text;
    QRectF box; // points, from the page's top left
    int page = 0;
};

/// Every word with where it stands.
inline std::vector<Word> words(const QString& path) {
    QXmlStreamReader xml(run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-enc"),
                                                           QStringLiteral("UTF-8"), path, QStringLiteral("-")}));
    std::vector<Word> found;
    int page = -1;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("page")) ++page;
        if (xml.name() != QLatin1String("word")) continue;
        const auto at = [&](const char* name) { return xml.attributes().value(QLatin1String(name)).toDouble(); };
        const QRectF box(QPointF(at("xMin"), at("yMin")), QPointF(at("xMax"), at("yMax")));
        found.push_back({xml.readElementText(), box, page});
    }
    return found;
}

} // namespace OrzaTest::PdfProbe
