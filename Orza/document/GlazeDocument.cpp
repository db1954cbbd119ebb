#include "Orza/document/GlazeDocument.h"

#include "GlazeCore/book/GlazeBookCodec.h"
#include "GlazeCore/book/JsonReadError.h"
#include "GlazeCore/core/Error.h"
#include "Orza/document/DocumentError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace Orza {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("GlazeDocument", text);
}

/// Where in the book a reading problem lies, in a potter's words: "recipe 3", "test tile 12"; empty when
/// the place would not help.
QString placeOf(const std::string& path) {
    const std::pair<const char*, const char*> lists[] = {
        {"recipes[", "recipe %1"}, {"tests[", "test tile %1"}, {"customMaterials[", "custom material %1"}};
    for (const auto& [prefix, words] : lists) {
        if (!path.starts_with(prefix)) continue;
        const std::size_t start = std::string_view(prefix).size();
        const std::size_t end = path.find(']', start);
        if (end == std::string::npos) return {};
        bool ok = false;
        const qulonglong index = QString::fromStdString(path.substr(start, end - start)).toULongLong(&ok);
        return ok ? tr(words).arg(index + 1) : QString();
    }
    return {};
}

/// A file that is not the JSON of a book: what a potter can do with that, the reader's words as details.
DocumentError notABook(const GlazeCore::JsonReadError& error, bool empty) {
    QString sentence = empty ? tr("The file is empty, so it holds no glaze book.")
                             : tr("The file is not a glaze book, or it is damaged.");
    if (const QString place = placeOf(error.path()); !place.isEmpty())
        sentence += QLatin1Char(' ') + tr("The problem is in %1.").arg(place);
    sentence += QLatin1Char(' ') + tr("The file was not changed.");
    return DocumentError(sentence, QString::fromStdString(error.message()));
}

} // namespace

GlazeDocument GlazeDocument::makeNew() {
    return make(GlazeCore::GlazeBook{}, false);
}

GlazeDocument GlazeDocument::make(GlazeCore::GlazeBook book, bool isSample) {
    auto ledger = std::make_shared<GlazeCore::TileCodeLedger>(book);
    return {std::move(book), isSample, std::move(ledger), std::nullopt};
}

GlazeDocument GlazeDocument::fromFileBytes(std::string_view bytes) {
    GlazeCore::GlazeBookCodec::Decoded decoded = GlazeCore::GlazeBookCodec::decode(bytes);
    // The ledger starts from the book as decoded, after the codes were given and the number raised.
    GlazeDocument document = make(std::move(decoded.book), false);
    document.backfillNotice = std::move(decoded.notice);
    return document;
}

GlazeDocument GlazeDocument::read(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) throw DocumentError(tr("It is a folder, not a book file."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DocumentError(tr("The file could not be read: %1.").arg(file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw DocumentError(tr("The file could not be read: %1.").arg(file.errorString()));
    try {
        return fromFileBytes(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    } catch (const GlazeCore::JsonReadError& error) {
        throw notABook(error, bytes.isEmpty());
    } catch (const GlazeCore::Error& error) {
        throw DocumentError(QString::fromStdString(error.message()));
    } catch (const std::exception& error) {
        throw DocumentError(QString::fromUtf8(error.what()));
    }
}

std::string GlazeDocument::fileBytes() const {
    GlazeCore::GlazeBook saved = tileLedger->bookForSaving(book);
    saved.version = GlazeCore::GlazeBookCodec::formatVersion(saved);
    return GlazeCore::GlazeBookCodec::encode(saved);
}

std::shared_ptr<GlazeCore::TileCodeLedger> defaultTileLedger() {
    static const auto ledger = std::make_shared<GlazeCore::TileCodeLedger>(GlazeCore::GlazeBook{});
    return ledger;
}

} // namespace Orza
