#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/book/JsonReadError.h"
#include "GlazeCore/json/JsonTokens.h"
#include "GlazeCore/json/JsonWrite.h"
#include "GlazeCore/json/PaddedBytes.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simdjson::dom {
class parser;
}

/// The JSON form of the book's value types. Reading checks shape only (no validation); errors are
/// JsonReadError naming the path. Writing gives the exact stored form: sorted keys, two-space indent,
/// " : ", "\/" escaped, dates in whole UTC seconds with "Z"; a non-finite number throws JsonWriteError.
namespace GlazeCore::BookJson {

/// Reads the text in one pass through the parser's On-Demand interface, without building a document; a text that
/// pass does not take on trust is read again through a parsed document, which finds and names the problem.
GlazeBook readBook(const Json::PaddedBytes& bytes);
/// The same, giving the pages of a large text back as its lists are read, so that the text and the book are
/// never both whole in memory; should the document reader then be needed, `again` gives the bytes anew.
GlazeBook readBook(Json::PaddedBytes& bytes, const std::function<Json::PaddedBytes()>& again);
/// The same for unpadded bytes, which are copied.
GlazeBook readBook(std::string_view bytes);
/// Whether a text starting with `head` cannot be a book whatever follows: a control byte no JSON text holds, bytes
/// that are not UTF-8, or anything but an object with named members to start with. A head that is a book's start,
/// or too short to tell, is no reason to refuse.
bool cannotBeABook(std::string_view head);
/// The rows of the built-in `materials.json`: an array of material objects.
std::vector<Material> readMaterials(std::string_view bytes);
/// The rows of the built-in `oxides.json`: an array of oxide-table objects.
std::vector<OxideInfo> readOxideTable(std::string_view bytes);

std::string writeBook(const GlazeBook& book);
/// The same text with `version` and `nextTileNumber` in place of the book's own, handed to `sink` in pieces
/// of about a megabyte, so it is never held whole. A throw may come after some pieces went out.
void writeBook(const GlazeBook& book, std::int64_t version, std::int64_t nextTileNumber, const Json::Sink& sink);

/// The two ways readBook reads, apart, for tests that hold them to each other and benchmarks that weigh them.
namespace Readers {
/// The token pass alone, reading `window` bytes at a time and long lists as `longLists` says (by default as
/// readBook does: by several threads for a large text): the book, or none when it leaves the text to the document
/// reader.
std::optional<GlazeBook> tokens(const Json::PaddedBytes& bytes, std::size_t window = Json::TokenReader::defaultWindow,
                                std::optional<Json::LongLists> longLists = std::nullopt);
/// The document reader with a parser the caller keeps; throws what readBook throws.
GlazeBook document(const Json::PaddedBytes& bytes, simdjson::dom::parser& parser);
} // namespace Readers

} // namespace GlazeCore::BookJson
