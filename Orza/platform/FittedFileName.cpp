#include "Orza/platform/FittedFileName.h"

#include <QTextBoundaryFinder>

namespace Orza {

namespace {

/// An extension longer than this is part of the name, not a file type.
constexpr int extensionByteLimit = 32;

qsizetype utf8Bytes(QStringView text) {
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 0x80)
            bytes += 1;
        else if (unit < 0x800)
            bytes += 2;
        else if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            bytes += 4;
            ++i;
        } else
            bytes += 3;
    }
    return bytes;
}

/// Where the extension starts (at its dot), or the name's length for none.
qsizetype extensionStart(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0 || utf8Bytes(QStringView(name).mid(dot)) > extensionByteLimit) return name.size();
    return dot;
}

/// The longest start of `text` ending between two characters as the user sees them within `byteLimit` bytes.
qsizetype fittingPrefix(const QString& text, qsizetype byteLimit) {
    // A character takes at least a byte: what lies far past the limit never counts, and a name of megabytes
    // is not analysed whole.
    const QString start = text.left(byteLimit + 64);
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, start);
    qsizetype kept = 0;
    qsizetype bytes = 0;
    for (qsizetype next = graphemes.toNextBoundary(); next > 0; next = graphemes.toNextBoundary()) {
        bytes += utf8Bytes(QStringView(start).mid(kept, next - kept));
        if (bytes > byteLimit) break;
        kept = next;
    }
    return kept;
}

/// The longest start of `text` ending between two code points within `byteLimit` bytes: for a first character too
/// long to keep whole (a letter under hundreds of accents), which would leave no name at all.
qsizetype codePointPrefix(QStringView text, qsizetype byteLimit) {
    qsizetype kept = 0;
    qsizetype bytes = 0;
    while (kept < text.size()) {
        const bool pair = QChar::isHighSurrogate(text[kept].unicode()) && kept + 1 < text.size() &&
                          QChar::isLowSurrogate(text[kept + 1].unicode());
        const qsizetype width = pair ? 2 : 1;
        bytes += utf8Bytes(text.mid(kept, width));
        if (bytes > byteLimit) break;
        kept += width;
    }
    return kept;
}

} // namespace

QString fittedFileName(const QString& name, int byteLimit) {
    if (utf8Bytes(name) <= byteLimit) return name;
    qsizetype split = extensionStart(name);
    // An extension that leaves no room for a name is cut with it.
    if (utf8Bytes(QStringView(name).mid(split)) >= byteLimit) split = name.size();
    const QString extension = name.mid(split);
    QString stem = name.left(split);
    const qsizetype room = byteLimit - utf8Bytes(extension);
    const qsizetype whole = fittingPrefix(stem, room);
    stem.truncate(whole > 0 ? whole : codePointPrefix(stem, room));
    while (!stem.isEmpty() && stem.back().isSpace())
        stem.chop(1);
    return stem + extension;
}

} // namespace Orza
