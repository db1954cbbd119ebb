#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace GlazeCore::Json {

/// How a value of the wrong type is reported: "expected a string, found a number", or only what was
/// expected ("expected a string").
enum class Mismatch { namesFound, expectedOnly };

/// Where a value sits: a chain of frames on the stack, turned into text ("tests[3].date") only on failure.
/// The root frame also says how wrong types below it are reported.
struct Path {
    enum class Kind { root, member, item };
    const Path* parent = nullptr;
    Kind kind = Kind::root;
    std::string_view name;
    std::size_t index = 0;
    Mismatch mismatch = Mismatch::namesFound; // read from the root frame only

    Path member(std::string_view memberName) const { return Path{this, Kind::member, memberName}; }
    Path item(std::size_t i) const { return Path{this, Kind::item, {}, i}; }

    const Path& root() const {
        const Path* p = this;
        while (p->parent != nullptr)
            p = p->parent;
        return *p;
    }

    std::string text() const {
        std::vector<const Path*> chain;
        for (const Path* p = this; p && p->kind != Kind::root; p = p->parent)
            chain.push_back(p);
        std::string out;
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            if ((*it)->kind == Kind::member) {
                if (!out.empty()) out += '.';
                out += (*it)->name;
            } else {
                out += '[' + std::to_string((*it)->index) + ']';
            }
        }
        return out;
    }
};

} // namespace GlazeCore::Json
