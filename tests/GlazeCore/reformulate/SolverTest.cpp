#include "GlazeCore/reformulate/Solver.h"

#include "support/BookBuilders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

using namespace GlazeCore;
using Solver::Matrix;
using Solver::Vector;

using OrzaTest::inf;
using OrzaTest::notANumber;

namespace {

/// Σ (wᵢ (Aᵢ·x − bᵢ))².
double objective(const Matrix& a, const Vector& b, const Vector& w, const Vector& x) {
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        double r = -b[i];
        for (std::size_t j = 0; j < x.size(); ++j)
            r += a[i][j] * x[j];
        sum += (w[i] * r) * (w[i] * r);
    }
    return sum;
}

/// −½ ∂objective/∂x: Aᵀ W² (b − A x).
Vector descent(const Matrix& a, const Vector& b, const Vector& w, const Vector& x) {
    Vector g(x.size(), 0.0);
    for (std::size_t i = 0; i < a.size(); ++i) {
        double r = b[i];
        for (std::size_t j = 0; j < x.size(); ++j)
            r -= a[i][j] * x[j];
        for (std::size_t j = 0; j < x.size(); ++j)
            g[j] += a[i][j] * w[i] * w[i] * r;
    }
    return g;
}

/// Unconstrained weighted fit on the variables of `subset`, zeros elsewhere.
Vector subsetFit(const Matrix& a, const Vector& b, const Vector& w, const std::vector<std::size_t>& subset,
                 std::size_t n) {
    Matrix columns(subset.size(), Vector(a.size()));
    Vector wb(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t p = 0; p < subset.size(); ++p)
            columns[p][i] = w[i] * a[i][subset[p]];
        wb[i] = w[i] * b[i];
    }
    const Vector z = Solver::leastSquares(columns, wb);
    Vector x(n, 0.0);
    for (std::size_t p = 0; p < subset.size(); ++p)
        x[subset[p]] = z[p];
    return x;
}

/// The best objective over every active set whose unconstrained fit is non-negative.
double bruteForceMinimum(const Matrix& a, const Vector& b, const Vector& w) {
    const std::size_t n = a.front().size();
    double best = objective(a, b, w, Vector(n, 0.0));
    for (unsigned mask = 1; mask < (1u << n); ++mask) {
        std::vector<std::size_t> subset;
        for (std::size_t j = 0; j < n; ++j)
            if (mask & (1u << j)) subset.push_back(j);
        const Vector x = subsetFit(a, b, w, subset, n);
        if (std::any_of(x.begin(), x.end(), [](double v) { return v < 0; })) continue;
        best = std::min(best, objective(a, b, w, x));
    }
    return best;
}

struct Problem {
    Matrix a;
    Vector b;
    Vector w;
};

Problem randomProblem(std::mt19937& rng, std::size_t m, std::size_t n, bool weighted) {
    std::uniform_real_distribution<double> entry(-1.0, 1.0), weight(0.1, 30.0);
    Problem p{Matrix(m, Vector(n)), Vector(m), Vector(m, 1.0)};
    for (auto& row : p.a)
        for (double& v : row)
            v = entry(rng);
    for (double& v : p.b)
        v = entry(rng) * 3;
    if (weighted)
        for (double& v : p.w)
            v = weight(rng);
    return p;
}

/// Kuhn–Tucker conditions: no descent along a free variable, none into the feasible side of a bound one.
void expectOptimal(const Problem& p, const Vector& x) {
    const Vector g = descent(p.a, p.b, p.w, x);
    double scale = 1;
    for (std::size_t i = 0; i < p.a.size(); ++i)
        scale = std::max(scale, p.w[i] * p.w[i] * (std::abs(p.b[i]) + 1));
    for (std::size_t j = 0; j < x.size(); ++j) {
        if (x[j] > 0)
            EXPECT_NEAR(g[j], 0.0, 1e-9 * scale) << "free variable " << j;
        else
            EXPECT_LE(g[j], 1e-9 * scale) << "bound variable " << j;
    }
}

} // namespace

TEST(SolverLeastSquares, emptyAndDegenerateShapes) {
    EXPECT_TRUE(Solver::leastSquares({}, {1, 2}).empty());
    EXPECT_EQ(Solver::leastSquares({{}, {}}, {}), (Vector{0, 0}));                     // m = 0
    EXPECT_EQ(Solver::leastSquares({{1, 2}, {3}}, {1, 2}), (Vector{0, 0}));            // ragged column
    EXPECT_EQ(Solver::leastSquares({{1e-13, 0}, {0, 1e-13}}, {1, 1}), (Vector{0, 0})); // below the rank cut
}

TEST(SolverLeastSquares, rankCutGivesABasicSolutionInPivotOrder) {
    // Two equal columns: the first in pivot order (lower index on a tie) takes the whole coefficient.
    EXPECT_EQ(Solver::leastSquares({{1, 1}, {1, 1}}, {2, 2}), (Vector{2, 0}));
    // A longer column pivots first, whatever its index.
    const Vector x = Solver::leastSquares({{1, 1}, {2, 2}}, {2, 2});
    EXPECT_EQ(x[0], 0);
    EXPECT_NEAR(x[1], 1, 1e-15);
    // A zero column always stays at 0.
    const Vector y = Solver::leastSquares({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {3, 4, 5});
    EXPECT_EQ(y[0], 0);
    EXPECT_NEAR(y[1], 3, 1e-15);
    EXPECT_NEAR(y[2], 4, 1e-15);
}

TEST(SolverNonNegative, malformedInputGivesTheNeutralAnswer) {
    EXPECT_TRUE(Solver::nonNegativeLeastSquares({}, {}, {}).empty());
    EXPECT_TRUE(Solver::nonNegativeLeastSquares({{}}, {1}, {1}).empty());
    EXPECT_EQ(Solver::nonNegativeLeastSquares({{1, 2}}, {1, 2}, {}), (Vector{0, 0}));         // b too long
    EXPECT_EQ(Solver::nonNegativeLeastSquares({{1, 2}, {1}}, {1, 2}, {}), (Vector{0, 0}));    // ragged
    EXPECT_EQ(Solver::nonNegativeLeastSquares({{1, notANumber}}, {1}, {}), (Vector{0, 0}));   // NaN in A
    EXPECT_EQ(Solver::nonNegativeLeastSquares({{1, 2}}, {inf}, {}), (Vector{0, 0}));          // infinite b
    EXPECT_EQ(Solver::nonNegativeLeastSquares({{1, 2}, {3, 4}}, {0, 0}, {}), (Vector{0, 0})); // zero rhs
}

TEST(SolverNonNegative, unusableWeightsCountAsOnesAndZeroRemovesARow) {
    const Matrix a = {{1, 0}, {0, 1}, {1, 1}};
    const Vector b = {1, 2, 5};
    const Vector plain = Solver::nonNegativeLeastSquares(a, b, {1, 1, 1});
    EXPECT_EQ(Solver::nonNegativeLeastSquares(a, b, {1, 1}), plain);
    EXPECT_EQ(Solver::nonNegativeLeastSquares(a, b, {1, -1, 1}), plain);
    EXPECT_EQ(Solver::nonNegativeLeastSquares(a, b, {1, notANumber, 1}), plain);
    EXPECT_EQ(Solver::nonNegativeLeastSquares(a, b, {inf, 1, 1}), plain);
    // Without the third row the first two fit exactly.
    const Vector removed = Solver::nonNegativeLeastSquares(a, b, {1, 1, 0});
    EXPECT_NEAR(removed[0], 1, 1e-14);
    EXPECT_NEAR(removed[1], 2, 1e-14);
}

TEST(SolverNonNegative, clipsANegativeUnconstrainedOptimum) {
    // x1 − x2 = −1 has many non-negative exact answers; the active set enters x2 alone.
    const Vector x = Solver::nonNegativeLeastSquares({{1, -1}}, {-1}, {1});
    EXPECT_EQ(x[0], 0);
    EXPECT_NEAR(x[1], 1, 1e-15);
    // An unconstrained optimum at (−1, 2) moves to the bound.
    const Problem p{{{1, 0}, {0, 1}}, {-1, 2}, {1, 1}};
    const Vector y = Solver::nonNegativeLeastSquares(p.a, p.b, p.w);
    EXPECT_EQ(y[0], 0);
    EXPECT_NEAR(y[1], 2, 1e-15);
}

TEST(SolverNonNegative, exactNonNegativeSolutionIsFound) {
    const Matrix a = {{1, 2, 0}, {0, 1, 1}, {3, 0, 1}, {1, 1, 1}};
    const Vector truth = {0.5, 1.25, 2};
    Vector b;
    for (const auto& row : a)
        b.push_back(row[0] * truth[0] + row[1] * truth[1] + row[2] * truth[2]);
    const Vector x = Solver::nonNegativeLeastSquares(a, b, {1, 1, 1, 1});
    for (std::size_t j = 0; j < 3; ++j)
        EXPECT_NEAR(x[j], truth[j], 1e-13);
}

TEST(SolverNonNegative, randomProblemsMeetTheOptimalityConditionsAndTheBruteForceMinimum) {
    std::mt19937 rng(20240611);
    const std::pair<std::size_t, std::size_t> shapes[] = {{6, 3}, {3, 5}, {8, 5}, {2, 4}, {10, 6}, {9, 4}};
    for (int round = 0; round < 60; ++round) {
        for (const auto& [m, n] : shapes) {
            Problem p = randomProblem(rng, m, n, round % 3 == 1);
            if (round % 3 == 2) {
                // Rows held 10000 and 1000 times harder than the rest, as the reformulations stack them, and
                // dependent columns: the last repeats the first, the one before is the sum of the first two.
                for (std::size_t i = 0; i < m; ++i) {
                    p.w[i] = i < 2 ? 10000 : (i < 3 ? 1000 : 1);
                    if (n >= 4) {
                        p.a[i][n - 1] = p.a[i][0];
                        p.a[i][n - 2] = p.a[i][0] + p.a[i][1];
                    }
                }
            }
            const Vector x = Solver::nonNegativeLeastSquares(p.a, p.b, p.w);
            ASSERT_EQ(x.size(), n);
            for (const double v : x)
                EXPECT_TRUE(std::isfinite(v) && v >= 0);
            expectOptimal(p, x);
            const double best = bruteForceMinimum(p.a, p.b, p.w);
            EXPECT_LE(objective(p.a, p.b, p.w, x), best + 1e-9 * std::max(1.0, best))
                << "round " << round << ", " << m << " x " << n;
        }
    }
}
