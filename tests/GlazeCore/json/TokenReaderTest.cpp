// The token reader's outermost object, read a window at a time, at every place a window can end.
#include "GlazeCore/json/JsonRead.h"
#include "GlazeCore/json/JsonTokens.h"
#include "GlazeCore/json/PaddedBytes.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace GlazeCore;

// A member whose value a window cuts off is read again, whole, at the start of the next window: it counts once.
TEST(TokenReader, AMemberCutOffByAWindowIsReadAgainOnce) {
    const std::string text = "{\"a\" : {\n  \"x\" : 1,\n  \"y\" : 2\n},\n\"b\" : [\n  3,\n  4\n],\n\"c\" : 5\n}\n";
    const Json::PaddedBytes padded = Json::PaddedBytes::copyOf(text);
    static constexpr std::array<std::string_view, 3> names{"a", "b", "c"};
    const auto integer = [](Json::Token value, const Json::Path& at) { return Json::readInteger(value, at); };
    for (std::size_t window = 1; window <= text.size(); ++window) {
        Json::TokenReader reader(padded.data(), padded.size(), window, {});
        std::map<std::string, std::int64_t> a;
        std::vector<std::int64_t> b;
        std::int64_t c = 0;
        try {
            Json::readObject(reader.root(), Json::Path{}, names, Json::allOf(3),
                             [&](std::size_t i, Json::Token value, const Json::Path& at) {
                                 if (i == 0) {
                                     a.clear();
                                     Json::readMembers(value, at, [&](std::string_view name, Json::Token member) {
                                         a[std::string(name)] = integer(member, at);
                                     });
                                 } else if (i == 1) {
                                     b.clear();
                                     Json::readArray(value, at, b, integer);
                                 } else {
                                     c = integer(value, at);
                                 }
                             });
        } catch (const Json::NotTrusted&) {
            ADD_FAILURE() << "declined with a window of " << window;
            continue;
        }
        EXPECT_TRUE(reader.atEnd()) << window;
        EXPECT_EQ(a, (std::map<std::string, std::int64_t>{{"x", 1}, {"y", 2}})) << window;
        EXPECT_EQ(b, (std::vector<std::int64_t>{3, 4})) << window;
        EXPECT_EQ(c, 5) << window;
    }
}
