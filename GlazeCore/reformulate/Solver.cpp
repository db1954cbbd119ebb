#include "GlazeCore/reformulate/Solver.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace GlazeCore::Solver {

namespace {

/// Four running sums, so the additions do not wait on each other; the order is fixed, so the result is
/// the same on every run.
double dot(const double* a, const double* b, std::size_t count) {
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        s0 += a[i] * b[i];
        s1 += a[i + 1] * b[i + 1];
        s2 += a[i + 2] * b[i + 2];
        s3 += a[i + 3] * b[i + 3];
    }
    for (; i < count; ++i)
        s0 += a[i] * b[i];
    return (s0 + s1) + (s2 + s3);
}

double sumOfSquares(const double* a, std::size_t count) {
    return dot(a, a, count);
}

/// Scratch of one QR solve, kept by the active-set loop so that its many subproblems reuse the storage.
/// Column j of the block lives at cols[j * m, j * m + m).
struct QrWork {
    std::vector<double> cols;
    std::vector<double> rhs;
    std::vector<double> v;
    std::vector<double> y;
    std::vector<std::size_t> perm;
};

/// Solves the m × n block in `work.cols` against `work.rhs` (both are overwritten) and writes n entries to x.
void solveInPlace(QrWork& work, std::size_t m, std::size_t n, double* x) {
    double* const c = work.cols.data();
    double* const b = work.rhs.data();
    const auto column = [&](std::size_t j) { return c + j * m; };

    work.perm.resize(n);
    for (std::size_t j = 0; j < n; ++j)
        work.perm[j] = j;

    double largestNorm = 0;
    for (std::size_t j = 0; j < n; ++j)
        largestNorm = std::max(largestNorm, std::sqrt(sumOfSquares(column(j), m)));
    const double tol = largestNorm > 1 ? 1e-12 * largestNorm : 1e-12;

    const std::size_t steps = std::min(m, n);
    std::size_t rank = 0;
    work.v.resize(m);
    double* const v = work.v.data();
    for (std::size_t k = 0; k < steps; ++k) {
        const std::size_t rest = m - k;
        double best = -1;
        std::size_t pivot = k;
        for (std::size_t j = k; j < n; ++j) {
            const double sum = sumOfSquares(column(j) + k, rest);
            if (sum > best) {
                best = sum;
                pivot = j;
            }
        }
        if (pivot != k) {
            std::swap_ranges(column(k), column(k) + m, column(pivot));
            std::swap(work.perm[k], work.perm[pivot]);
        }
        const double norm = std::sqrt(best);
        // Written as "not above" so that a NaN column also ends the factorisation.
        if (!(norm > tol)) break;

        const double* const ck = column(k);
        const double alpha = ck[k] > 0 ? -norm : norm;
        for (std::size_t i = k; i < m; ++i)
            v[i] = ck[i];
        v[k] = v[k] - alpha;
        const double vv = sumOfSquares(v + k, rest);
        if (vv == 0) break;

        for (std::size_t j = k; j < n; ++j) {
            double* const cj = column(j);
            const double f = 2 * dot(v + k, cj + k, rest) / vv;
            for (std::size_t i = k; i < m; ++i)
                cj[i] = cj[i] - v[i] * f;
        }
        const double f = 2 * dot(v + k, b + k, rest) / vv;
        for (std::size_t i = k; i < m; ++i)
            b[i] = b[i] - v[i] * f;
        rank = k + 1;
    }

    work.y.assign(n, 0.0);
    double* const y = work.y.data();
    for (std::size_t i = rank; i-- > 0;) {
        double sum = 0;
        for (std::size_t j = i + 1; j < rank; ++j)
            sum += column(j)[i] * y[j];
        y[i] = (b[i] - sum) / column(i)[i];
    }

    std::fill(x, x + n, 0.0);
    for (std::size_t i = 0; i < n; ++i)
        x[work.perm[i]] = y[i];
}

bool allFinite(const Vector& values) {
    return std::all_of(values.begin(), values.end(), [](double value) { return std::isfinite(value); });
}

} // namespace

Vector leastSquares(const Matrix& columns, const Vector& b) {
    const std::size_t n = columns.size();
    if (n == 0) return {};
    const std::size_t m = b.size();
    QrWork work;
    work.cols.resize(m * n);
    for (std::size_t j = 0; j < n; ++j) {
        if (columns[j].size() != m) return Vector(n, 0.0);
        std::copy(columns[j].begin(), columns[j].end(), work.cols.begin() + static_cast<std::ptrdiff_t>(j * m));
    }
    work.rhs = b;
    Vector x(n, 0.0);
    solveInPlace(work, m, n, x.data());
    return x;
}

Vector nonNegativeLeastSquares(const Matrix& rows, const Vector& b, const Vector& weights) {
    const std::size_t m = rows.size();
    if (m == 0) return {};
    const std::size_t n = rows.front().size();
    if (n == 0) return {};
    if (b.size() != m) return Vector(n, 0.0);
    for (const Vector& row : rows)
        if (row.size() != n) return Vector(n, 0.0);
    for (const Vector& row : rows)
        if (!allFinite(row)) return Vector(n, 0.0);
    if (!allFinite(b)) return Vector(n, 0.0);
    const bool weightsUsable = weights.size() == m && std::all_of(weights.begin(), weights.end(),
                                                                  [](double w) { return std::isfinite(w) && w >= 0; });

    // The weighted system, column-major so that every column is one contiguous run.
    std::vector<double> wc(m * n);
    Vector d(m);
    for (std::size_t i = 0; i < m; ++i) {
        const double w = weightsUsable ? weights[i] : 1.0;
        for (std::size_t j = 0; j < n; ++j)
            wc[j * m + i] = rows[i][j] * w;
        d[i] = b[i] * w;
    }
    const auto column = [&](std::size_t j) { return wc.data() + j * m; };

    double largestSum = 0;
    for (std::size_t j = 0; j < n; ++j) {
        double sum = 0;
        for (std::size_t i = 0; i < m; ++i)
            sum += std::abs(column(j)[i]);
        largestSum = std::max(largestSum, sum);
    }
    double tol = largestSum > 1 ? 1e-12 * largestSum : 1e-12;
    tol = tol * static_cast<double>(std::max(m, n));

    Vector x(n, 0.0), z(n, 0.0), r(m), g(n);
    std::vector<bool> passive(n, false), blocked(n, false);
    std::vector<std::size_t> members;
    QrWork work;

    const auto solvePassive = [&] {
        members.clear();
        for (std::size_t j = 0; j < n; ++j)
            if (passive[j]) members.push_back(j);
        std::fill(z.begin(), z.end(), 0.0);
        if (members.empty()) return;
        const std::size_t k = members.size();
        work.cols.resize(m * k);
        for (std::size_t p = 0; p < k; ++p)
            std::copy(column(members[p]), column(members[p]) + m,
                      work.cols.begin() + static_cast<std::ptrdiff_t>(p * m));
        work.rhs = d;
        Vector solved(k);
        solveInPlace(work, m, k, solved.data());
        for (std::size_t p = 0; p < k; ++p)
            z[members[p]] = solved[p];
    };

    const std::size_t mainLimit = 10 * n + 20;
    const std::size_t innerLimit = 3 * n + 10;
    for (std::size_t iteration = 0; iteration < mainLimit; ++iteration) {
        r = d;
        for (std::size_t j = 0; j < n; ++j) {
            if (x[j] == 0) continue;
            const double* cj = column(j);
            for (std::size_t i = 0; i < m; ++i)
                r[i] = r[i] - cj[i] * x[j];
        }
        for (std::size_t j = 0; j < n; ++j)
            g[j] = dot(column(j), r.data(), m);

        bool found = false;
        std::size_t t = 0;
        for (std::size_t j = 0; j < n; ++j) {
            if (passive[j] || blocked[j] || !(g[j] > tol)) continue;
            if (!found || g[j] > g[t]) {
                t = j;
                found = true;
            }
        }
        if (!found) break;

        passive[t] = true;
        solvePassive();
        if (!(z[t] > 0)) {
            // Entering t would not move it off zero; keep it out until x changes, or the loop would cycle.
            passive[t] = false;
            blocked[t] = true;
            continue;
        }

        for (std::size_t step = 0; step < innerLimit; ++step) {
            bool allPositive = true;
            for (std::size_t k = 0; k < n; ++k)
                if (passive[k] && !(z[k] > 0)) allPositive = false;
            if (allPositive) {
                x = z;
                break;
            }
            double alpha = 1.0;
            for (std::size_t k = 0; k < n; ++k)
                if (passive[k] && z[k] <= 0 && x[k] - z[k] > 0) alpha = std::min(alpha, x[k] / (x[k] - z[k]));
            for (std::size_t j = 0; j < n; ++j)
                x[j] = (z[j] - x[j]) * alpha + x[j];
            for (std::size_t k = 0; k < n; ++k) {
                if (passive[k] && x[k] <= tol) {
                    x[k] = 0;
                    passive[k] = false;
                }
            }
            solvePassive();
        }
        std::fill(blocked.begin(), blocked.end(), false);
    }

    for (double& value : x)
        if (!(value > 0 && std::isfinite(value))) value = 0;
    return x;
}

} // namespace GlazeCore::Solver
