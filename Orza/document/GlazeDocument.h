#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/json/JsonWrite.h"
#include "GlazeCore/json/PaddedBytes.h"
#include "GlazeCore/tilecode/TileCode.h"
#include "GlazeCore/tilecode/TileCodeLedger.h"
#include "Orza/document/FileStamp.h"

#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace Orza {

/**
 * One open glaze book as a value: the book, whether it is the built-in sample, the document's tile-code
 * ledger and what opening the file reported about tiles that were given codes.
 *
 * Copies share the ledger, which is made once with the document and never replaced, so a number it
 * handed out is never handed out again in this document, whatever happens to the book.
 */
struct GlazeDocument {
    GlazeCore::GlazeBook book;
    bool isSample = false;
    std::shared_ptr<GlazeCore::TileCodeLedger> tileLedger;
    std::optional<GlazeCore::TileCode::BackfillNotice> backfillNotice;

    /// A new untitled book: nothing in it, version 1, next tile number 1.
    static GlazeDocument makeNew();
    /// A document over a book, with a fresh ledger and no notice.
    static GlazeDocument make(GlazeCore::GlazeBook book, bool isSample);
    /// Reads a book file, once, straight into the buffer the parser reads; throws DocumentError with the
    /// sentence to show. Never writes the file; once it reads, removes what saves cut short left beside it
    /// (removeSaveLeftovers). `stamp`, when given, receives the stamp of the file read.
    static GlazeDocument read(const QString& path, std::optional<FileStamp>* stamp = nullptr);

    /// Hands the bytes to save to `sink` in pieces, never held whole: the next tile number raised to cover
    /// the ledger, the format version that the book needs. The document itself is not changed. Throws what
    /// the codec throws; on a throw the receiver drops the pieces.
    void writeFileBytes(const GlazeCore::Json::Sink& sink) const;
    /// Writes the bytes to `path` through a temporary file, so a failure leaves any old file whole; a book
    /// that breaks the file's rules does not touch the disk. Throws DocumentError with the sentence to show,
    /// the system's reason among it. Once saved, removes what saves cut short left beside the file
    /// (removeSaveLeftovers). Returns the stamp of the file written.
    std::optional<FileStamp> save(const QString& path) const;
    /// For tests: the next save fails at its last step, where the written file takes the old one's place, as
    /// when the file system refuses it.
    static void failNextCommit();

    /// Equal books and equal sample flags; the ledgers and notices are not compared.
    friend bool operator==(const GlazeDocument& a, const GlazeDocument& b) {
        return a.isSample == b.isSample && a.book == b.book;
    }
};

/// The ledger that views outside any book window see: one per process, over an empty book.
std::shared_ptr<GlazeCore::TileCodeLedger> defaultTileLedger();

} // namespace Orza
