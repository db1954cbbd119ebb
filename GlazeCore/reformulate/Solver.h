#pragma once

#include <vector>

/// Dense least-squares kernels of the reformulations. Both are pure and never throw: malformed input gives
/// an empty or all-zero answer, and the caller decides what that means.
namespace GlazeCore::Solver {

using Vector = std::vector<double>;
/// A list of arrays: rows for nonNegativeLeastSquares, columns for leastSquares.
using Matrix = std::vector<Vector>;

/// Minimises ‖C x − b‖₂ by Householder QR with column pivoting. `columns` holds n columns of b's length.
/// Variables past the numerical rank (relative cut 1e-12) get 0, so the answer is basic, not minimum-norm.
/// No columns gives an empty answer; a column whose length differs from b's gives n zeros.
Vector leastSquares(const Matrix& columns, const Vector& b);

/// Minimises Σ (wᵢ (Aᵢ·x − bᵢ))² subject to x ≥ 0, Lawson–Hanson active set with fixed iteration limits.
/// `rows` is m × n. No rows or an empty first row gives an empty answer; mismatched lengths or a non-finite
/// entry in A or b gives n zeros. Weights of the wrong count, or negative or non-finite, count as all 1.
/// Every entry of the answer is finite and ≥ 0.
Vector nonNegativeLeastSquares(const Matrix& rows, const Vector& b, const Vector& weights);

} // namespace GlazeCore::Solver
