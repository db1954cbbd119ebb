#include "Orza/document/GlazeDocument.h"

#include "GlazeCore/book/GlazeBookCodec.h"
#include "GlazeCore/core/Error.h"
#include "Orza/document/DocumentError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace Orza {

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
    if (info.exists() && !info.isFile())
        throw DocumentError(QCoreApplication::translate("GlazeDocument", "It is a folder, not a book file."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DocumentError(
            QCoreApplication::translate("GlazeDocument", "The file could not be read: %1.").arg(file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw DocumentError(
            QCoreApplication::translate("GlazeDocument", "The file could not be read: %1.").arg(file.errorString()));
    try {
        return fromFileBytes(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
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
