#include "GlazeCore/chemistry/LimitJson.h"

#include "GlazeCore/json/JsonRead.h"
#include "GlazeCore/json/JsonWrite.h"

namespace GlazeCore::LimitJson {

namespace {

using namespace Json;

// ---------------------------------------------------------------------------------------------------------------
// Reading

Oxide readOxide(element value, const Path& at) {
    const std::string_view text = readText(value, at);
    const auto oxide = OxideNames::fromRaw(text);
    if (!oxide) fail(at, "unknown oxide formula \"" + std::string(text.substr(0, 40)) + "\"");
    return *oxide;
}

LimitRange readRangeObject(element value, const Path& at) {
    static constexpr std::array<std::string_view, 4> names{"oxide", "min", "max", "combinedWith"};
    LimitRange range;
    readObject(value, at, names, allOf(3), [&](std::size_t i, element v, const Path& p) {
        switch (i) {
        case 0:
            range.oxide = readOxide(v, p);
            break;
        case 1:
            range.min = readDouble(v, p);
            break;
        case 2:
            range.max = readDouble(v, p);
            break;
        case 3:
            if (!v.is_null()) readArray(v, p, range.combinedWith.emplace(), readOxide);
            break;
        }
    });
    return range;
}

LimitSet readSetObject(element value, const Path& at) {
    static constexpr std::array<std::string_view, 5> names{"id", "name", "cone", "ranges", "source"};
    LimitSet set;
    readObject(value, at, names, allOf(5), [&](std::size_t i, element v, const Path& p) {
        switch (i) {
        case 0:
            set.id = readString(v, p);
            break;
        case 1:
            set.name = readString(v, p);
            break;
        case 2:
            set.cone = readString(v, p);
            break;
        case 3:
            readArray(v, p, set.ranges, readRangeObject);
            break;
        case 4:
            set.source = readString(v, p);
            break;
        }
    });
    return set;
}

// ---------------------------------------------------------------------------------------------------------------
// Writing

// Compact, members in field order, numbers in %g form.
constexpr Style limitStyle{};

void writeOxide(Writer& w, Oxide oxide, const Path& at) {
    w.string(OxideNames::rawValue(oxide), at);
}

void writeRangeObject(Writer& w, const LimitRange& range, const Path& at) {
    auto o = w.object(at);
    o.string("oxide", OxideNames::rawValue(range.oxide));
    o.number("min", range.min);
    o.number("max", range.max);
    if (range.combinedWith) o.array("combinedWith", *range.combinedWith, writeOxide);
    o.close();
}

} // namespace

LimitRange readRange(std::string_view bytes) {
    return parseAndDecode(bytes, readRangeObject, Mismatch::expectedOnly);
}

LimitSet readSet(std::string_view bytes) {
    return parseAndDecode(bytes, readSetObject, Mismatch::expectedOnly);
}

std::string writeRange(const LimitRange& range) {
    Writer w(limitStyle);
    writeRangeObject(w, range, Path{});
    return std::move(w.out);
}

std::string writeSet(const LimitSet& set) {
    Writer w(limitStyle);
    const Path root;
    auto o = w.object(root);
    o.string("id", set.id);
    o.string("name", set.name);
    o.string("cone", set.cone);
    o.array("ranges", set.ranges, writeRangeObject);
    o.string("source", set.source);
    o.close();
    return std::move(w.out);
}

} // namespace GlazeCore::LimitJson
