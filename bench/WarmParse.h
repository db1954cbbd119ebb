#pragma once

// The yardstick the book readers are held to: simdjson's DOM parse of the same bytes, warm.

#include "GlazeCore/json/PaddedBytes.h"

#include <benchmark/benchmark.h>
#include <simdjson.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace Bench {

inline double seconds(std::chrono::steady_clock::duration elapsed) {
    return std::chrono::duration<double>(elapsed).count();
}

/// The median of five parses by a parser that parsed the same bytes once before; -1 when they do not parse.
inline double warmDomParseSeconds(const GlazeCore::Json::PaddedBytes& bytes) {
    simdjson::dom::parser parser;
    simdjson::dom::element root;
    if (parser.parse(bytes.data(), bytes.size(), false).get(root)) return -1;
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (parser.parse(bytes.data(), bytes.size(), false).get(root)) return -1;
        benchmark::DoNotOptimize(root);
        times.push_back(seconds(std::chrono::steady_clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return times[2];
}

} // namespace Bench
