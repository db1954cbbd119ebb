// A part of a text read on its own: what the token reader's windows rely on.
#include "GlazeCore/json/TextPart.h"
#include "GlazeCore/json/PaddedBytes.h"

#include <gtest/gtest.h>

#include <string>

using namespace GlazeCore;

namespace {

struct Text {
    Json::PaddedBytes bytes;
    Json::TokenText text;

    explicit Text(std::string_view content, std::size_t window = 8)
        : bytes(Json::PaddedBytes::copyOf(content)), text{bytes.data(), bytes.size(), window, {}} {}
};

// The integers of the array a part holds, up to the first one it cannot read.
std::vector<std::int64_t> integersOf(Json::TextPart& part) {
    std::vector<std::int64_t> read;
    simdjson::ondemand::array array;
    if (part.root().get_array().get(array)) return read;
    for (auto item : array) {
        std::int64_t value;
        if (item.get_int64().get(value)) break;
        read.push_back(value);
    }
    return read;
}

} // namespace

// The bytes after a part, which the parser may read past its end, are never the text's own: a part that stops
// inside a value fails there, whatever follows in the text.
TEST(TextPart, APartCutOffInsideAValueFailsAtTheCut) {
    const Text whole("[1,\n2,\n3]");
    {
        Json::TextPart rest(whole.text, '\0', 0, whole.text.size);
        EXPECT_EQ(integersOf(rest), (std::vector<std::int64_t>{1, 2, 3}));
        EXPECT_TRUE(rest.holdsRest());
    }
    // The memory of the whole text's part is used again for this one.
    Json::TextPart cut(whole.text, '\0', 0, 4); // "[1,\n"
    EXPECT_EQ(integersOf(cut), std::vector<std::int64_t>{1});
    EXPECT_TRUE(cut.stoppedAtCut());
    EXPECT_FALSE(cut.holdsRest());

    // A failure before the cut is the text's own.
    const Text broken("[1,\nx,\n3]");
    Json::TextPart early(broken.text, '\0', 0, 7);
    EXPECT_EQ(integersOf(early), std::vector<std::int64_t>{1});
    EXPECT_FALSE(early.stoppedAtCut());
}

// A part that continues a container after its opening reads on as the container, and offsets of its bytes and of
// where it stopped are the text's.
TEST(TextPart, APartContinuingAContainerMapsToTheText) {
    const Text whole("{\"a\" : [10,\n  20, 30\n]}\n");
    Json::TextPart items(whole.text, '[', 12, whole.text.size); // "  20, 30\n]}\n" after '['
    simdjson::ondemand::array array;
    ASSERT_FALSE(items.root().get_array().get(array));
    std::vector<std::size_t> offsets;
    for (auto item : array) {
        simdjson::ondemand::value value;
        ASSERT_FALSE(item.get(value));
        offsets.push_back(items.offsetOf(value.raw_json_token().data()));
    }
    EXPECT_EQ(offsets, (std::vector<std::size_t>{14, 18}));
    EXPECT_EQ(items.nextOffset(), 22u); // the '}' after the array's ']'
    EXPECT_FALSE(items.stoppedAtCut());

    // A list given its close reads as a whole array; the part ends past its close.
    Json::TextPart closed(whole.text, '[', 8, 16, ']'); // "10,\n  20"
    EXPECT_EQ(integersOf(closed), (std::vector<std::int64_t>{10, 20}));
    EXPECT_EQ(closed.nextOffset(), closed.end());
    EXPECT_FALSE(closed.holdsRest());
}

// Parts end between two tokens at least a window on, looking at the bytes from there alone: after a line end or a
// tab, never inside a token of valid JSON, or after a comma that follows a close or a quote not escaped; a comma
// after a number may end one.
TEST(TextPart, PartsEndBetweenTokensAtLeastAWindowOn) {
    const Text whole("[1,\n22,\n333]");
    EXPECT_EQ(Json::partEnd(whole.text, 0, 1), 4u);
    EXPECT_EQ(Json::partEnd(whole.text, 0, 4), 8u);
    EXPECT_EQ(Json::partEnd(whole.text, 4, 5), whole.text.size); // nothing after: the text's end
    EXPECT_EQ(Json::partEnd(whole.text, 0, 100), whole.text.size);

    const std::string compact = R"([{"a":1,"b":[2],"c":"x\",y","d":"z"},{"e":3}])";
    const Text one(compact);
    EXPECT_EQ(Json::partEnd(one.text, 0, 1), compact.find("[2],") + 4);
    EXPECT_EQ(Json::partEnd(one.text, 0, compact.find("[2],") + 4), compact.find("y\",") + 3); // past "\","
    for (const char lineEnd : {'\r', '\t'}) {
        const Text other("[1,2," + std::string(1, lineEnd) + "3,\"4\",5]");
        EXPECT_EQ(Json::partEnd(other.text, 0, 1), 6u) << int(lineEnd);
    }
}

// A window that reaches into a long text with no cut for another window on ends at the last cut short of it, so that
// it need not hold the text; an element's end is found past strings that hold commas, brackets and escaped quotes.
TEST(TextPart, AWindowBeforeALongTextStopsShortOfIt) {
    const std::string compact = R"([{"a":"1","b":")" + std::string(100, 'x') + R"("},{"c":2}])";
    const Text one(compact);
    EXPECT_EQ(Json::partEnd(one.text, 0, 20), compact.find("1\",") + 3);
    EXPECT_EQ(Json::partEnd(one.text, 0, 60), compact.find("},") + 2); // the next cut is near enough

    const std::string nested = R"([{"a":[1,{"b":"],}\"x"}],"c":"\\"},3])";
    const Text element(nested);
    EXPECT_EQ(Json::elementEnd(element.text, 1), nested.find("},3") + 1);
    EXPECT_EQ(Json::elementEnd(element.text, nested.find("3]")), nested.size() - 1);
}

// Where a cut the bytes suggest falls inside a string, the part ends past the string: the parser finds the string
// unclosed, and the text read from the part's start shows where strings are.
TEST(TextPart, APartWhoseCutFallsInsideAStringEndsPastIt) {
    const std::string compact = R"(["a},b\"],c",{"d":"\\"},"e"])";
    const Text whole(compact);
    const std::size_t afterString = compact.find("\",{") + 2;
    EXPECT_EQ(Json::partEnd(whole.text, 1, 1), compact.find("},b") + 2); // inside the first string
    EXPECT_EQ(Json::partEndOutsideStrings(whole.text, 1, 1), afterString);
    EXPECT_EQ(Json::partEndOutsideStrings(whole.text, 1, afterString - 1), afterString + 1); // past '{'
    const std::size_t last = compact.find("\"e\"");
    EXPECT_EQ(Json::partEndOutsideStrings(whole.text, 1, last), last + 4); // past "\\" and "e"

    Json::TextPart part(whole.text, '[', 1, Json::AtLeast{1});
    EXPECT_EQ(part.end(), afterString);
    simdjson::ondemand::array array;
    ASSERT_FALSE(part.root().get_array().get(array));
    std::string_view first;
    ASSERT_FALSE((*array.begin()).get_string().get(first));
    EXPECT_EQ(first, "a},b\"],c");

    // A text whose string does not close is refused at either cut.
    const Text unclosed(R"(["a},b,c)");
    EXPECT_THROW(Json::TextPart(unclosed.text, '[', 1, Json::AtLeast{1}), Json::NotTrusted);
}

// A thread keeps the memory of its parts for the next ones, also when the parser refused a part: a damaged text may
// be tried in many parts, each refused.
TEST(TextPart, AThreadKeepsItsPartsMemoryWhenAPartIsRefused) {
    const Text fine("[1]");
    { Json::TextPart warm(fine.text, '\0', 0, fine.text.size); }
    const std::size_t made = Json::TextPart::memoriesMade();
    const Text broken("[\"1]");
    for (int i = 0; i < 5; ++i) {
        EXPECT_THROW(Json::TextPart(broken.text, '\0', 0, broken.text.size), Json::NotTrusted);
        Json::TextPart again(fine.text, '\0', 0, fine.text.size);
    }
    EXPECT_EQ(Json::TextPart::memoriesMade(), made);
}
