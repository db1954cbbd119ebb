#pragma once

namespace GlazeCore {

/// Visitor built from lambdas, one per variant case.
template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };
/// Spelled out for compilers without aggregate deduction (clang before 17, which builds the fuzzers).
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

} // namespace GlazeCore
