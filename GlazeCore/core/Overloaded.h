#pragma once

namespace GlazeCore {

/// Visitor built from lambdas, one per variant case.
template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };

} // namespace GlazeCore
