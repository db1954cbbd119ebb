#include "Orza/document/GlazeDocument.h"

#include "GlazeCore/book/GlazeBookCodec.h"
#include "GlazeCore/book/JsonReadError.h"
#include "GlazeCore/core/Error.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/document/DocumentError.h"
#include "Orza/document/SaveLeftovers.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QScopeGuard>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace Orza {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("GlazeDocument", text);
}

bool commitFails = false;

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

// The system's reasons name the file, path and all, as it was given: its controls are written out.
DocumentError notRead(const QString& reason) {
    return DocumentError(tr("The file could not be read: %1.").arg(visibleText(reason)));
}

/// The whole file in one padded buffer of the size the file gives, read straight into it; a file that grew
/// meanwhile (or gives no size) has the rest appended.
GlazeCore::Json::PaddedBytes readWhole(QFile& file) {
    try {
        GlazeCore::Json::PaddedBytes bytes(static_cast<std::size_t>(std::max<qint64>(0, file.size())));
        const std::size_t total = bytes.readFrom(file.handle());
        bytes.shrink(total);
        if (!file.seek(static_cast<qint64>(total))) throw notRead(file.errorString());
        const QByteArray rest = file.readAll();
        if (file.error() != QFileDevice::NoError) throw notRead(file.errorString());
        if (rest.isEmpty()) return bytes;
        GlazeCore::Json::PaddedBytes whole(total + static_cast<std::size_t>(rest.size()));
        std::memcpy(whole.data(), bytes.data(), total);
        std::memcpy(whole.data() + total, rest.constData(), static_cast<std::size_t>(rest.size()));
        return whole;
    } catch (const std::system_error& error) {
        throw notRead(QString::fromLocal8Bit(std::strerror(error.code().value())));
    } catch (const std::bad_alloc&) {
        throw notRead(QString::fromLocal8Bit(std::strerror(ENOMEM)));
    }
}

/// A file longer than its first bytes that no book starts with is refused before the rest is read: a film or an
/// archive may be gigabytes. A shorter one is read whole, so that the reader names its problem.
void refuseByFirstBytes(QFile& file) {
    constexpr std::size_t headBytes = std::size_t{64} << 10;
    std::string head(headBytes + 1, '\0');
    ssize_t got = 0;
    do {
        got = ::pread(file.handle(), head.data(), head.size(), 0);
    } while (got < 0 && errno == EINTR);
    if (got < 0) throw notRead(QString::fromLocal8Bit(std::strerror(errno)));
    if (std::size_t(got) <= headBytes) return;
    head.resize(headBytes);
    if (GlazeCore::GlazeBookCodec::cannotBeABook(head))
        throw notABook(GlazeCore::JsonReadError("", "its first bytes cannot start a glaze book"), false);
}

DocumentError notWritten(const QString& reason) {
    return DocumentError(
        tr("The file could not be written: %1. The file on disk was not changed.").arg(visibleText(reason)));
}

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

/// Why the file to save could not be opened, in the system's words: QSaveFile asks the system whether an existing
/// file may be written and, when not, says only that it is not writable, whatever the cause.
QString openFailure(const QSaveFile& file, const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (QFileInfo::exists(path) && ::faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) != 0)
        return systemReason(errno);
    return file.errorString();
}

void writeWhole(QSaveFile& file, std::string_view piece) {
    while (!piece.empty()) {
        const qint64 written = file.write(piece.data(), static_cast<qint64>(piece.size()));
        // A short write leaves the rest to the next one, which then fails with the system's reason.
        if (written < 0) throw notWritten(file.errorString());
        if (written == 0) throw notWritten(systemReason(EIO));
        piece.remove_prefix(static_cast<std::size_t>(written));
    }
    if (file.error() != QFileDevice::NoError) throw notWritten(file.errorString());
}

/// Some file systems say that the disk is full only when the data go out; commit() would not tell.
void syncToDisk(QSaveFile& file) {
    if (::fsync(file.handle()) == 0) return;
    const int error = errno;
    // A file that cannot be synced (a special file) is written all the same.
    if (error != EINVAL && error != EROFS) throw notWritten(systemReason(error));
}

GlazeDocument fromDecoded(GlazeCore::GlazeBookCodec::Decoded decoded) {
    // The ledger starts from the book as decoded, after the codes were given and the number raised.
    GlazeDocument document = GlazeDocument::make(std::move(decoded.book), false);
    document.backfillNotice = std::move(decoded.notice);
    return document;
}

} // namespace

GlazeDocument GlazeDocument::makeNew() {
    return make(GlazeCore::GlazeBook{}, false);
}

GlazeDocument GlazeDocument::make(GlazeCore::GlazeBook book, bool isSample) {
    auto ledger = std::make_shared<GlazeCore::TileCodeLedger>(book);
    return {std::move(book), isSample, std::move(ledger), std::nullopt};
}

GlazeDocument GlazeDocument::read(const QString& path, std::optional<FileStamp>* stamp) {
    const QFileInfo info(path);
    if (info.isDir()) throw DocumentError(tr("It is a folder, not a book file."));
    // A device, a pipe or a socket: nothing that holds a book's bytes.
    if (info.exists() && !info.isFile())
        throw DocumentError(tr("It is not a regular file, so it cannot be a book file."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) throw notRead(file.errorString());
    if (stamp) *stamp = FileStamp::ofOpenFile(file.handle());
    refuseByFirstBytes(file);
    GlazeCore::Json::PaddedBytes bytes = readWhole(file);
    try {
        // A large file's pages go back as its book is made; the file is read once more only if the reader that
        // names a problem needs the text whole.
        GlazeDocument document = fromDecoded(GlazeCore::GlazeBookCodec::decode(bytes, [&] {
            if (!file.seek(0)) throw notRead(file.errorString());
            return readWhole(file);
        }));
        // Only beside a book that reads: should it not, a save's leftover may be the best copy there is.
        removeSaveLeftovers(path);
        return document;
    } catch (const DocumentError&) {
        throw;
    } catch (const GlazeCore::JsonReadError& error) {
        throw notABook(error, bytes.size() == 0);
    } catch (const GlazeCore::Error& error) {
        throw DocumentError(QString::fromStdString(error.message()));
    } catch (const std::exception& error) {
        throw DocumentError(QString::fromUtf8(error.what()));
    }
}

void GlazeDocument::writeFileBytes(const GlazeCore::Json::Sink& sink) const {
    // No copy of the book: the raised number and the version go straight into the text.
    const std::int64_t nextTileNumber = tileLedger->nextTileNumberForSaving(book);
    GlazeCore::GlazeBookCodec::encode(book, GlazeCore::GlazeBookCodec::formatVersion(book, nextTileNumber),
                                      nextTileNumber, sink);
}

std::optional<FileStamp> GlazeDocument::save(const QString& path) const {
    // Outlives the file, so that a file given up is gone before its note.
    std::optional<SaveNote> note;
    QSaveFile file(path);
    const auto open = [&] {
        if (file.isOpen()) return;
        // Unbuffered, so that every write meets the disk here and its error is seen with the system's reason:
        // a buffer flushed only by commit() loses the error, and commit() then replaces the old file.
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) throw notWritten(openFailure(file, path));
        note.emplace(path, file.handle());
    };
    try {
        // Opened with the first piece, so that a book the codec refuses never reaches the disk.
        writeFileBytes([&](std::string_view piece) {
            open();
            writeWhole(file, piece);
        });
        open();
        syncToDisk(file);
    } catch (const DocumentError&) {
        file.cancelWriting();
        throw;
    } catch (const GlazeCore::Error& error) {
        file.cancelWriting();
        throw DocumentError(QString::fromStdString(error.message()));
    } catch (const std::exception& error) {
        file.cancelWriting();
        throw DocumentError(QString::fromUtf8(error.what()));
    }
    if (std::exchange(commitFails, false)) file.cancelWriting();
    // The written file itself, kept open past the commit: the rename changes its status time, and a stamp taken
    // from the name afterwards could be of another program's file put there meanwhile.
    const int kept = file.isOpen() ? ::dup(file.handle()) : -1;
    const auto closeKept = qScopeGuard([kept] {
        if (kept >= 0) ::close(kept);
    });
    if (!file.commit()) throw notWritten(file.errorString());
    removeSaveLeftovers(path);
    return kept >= 0 ? FileStamp::ofOpenFile(kept) : std::nullopt;
}

void GlazeDocument::failNextCommit() {
    commitFails = true;
}

std::shared_ptr<GlazeCore::TileCodeLedger> defaultTileLedger() {
    static const auto ledger = std::make_shared<GlazeCore::TileCodeLedger>(GlazeCore::GlazeBook{});
    return ledger;
}

} // namespace Orza
