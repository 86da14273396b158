#include "world/SolveLinear.h"

#include <cmath>
#include <utility>
#include <vector>

SolveResult SolveLinear(double* a, int n, double* b, int m) {
    std::vector<int> column(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) column[static_cast<std::size_t>(i)] = i;
    auto A = [&](int r, int c) -> double& { return a[r * n + c]; };
    auto B = [&](int r, int c) -> double& { return b[r * m + c]; };

    bool ill = false;
    double first = 0;
    for (int k = 0; k < n; ++k) {
        int pr = k, pc = k;
        double best = 0;
        for (int r = k; r < n; ++r) {
            for (int c = k; c < n; ++c) {
                double v = std::fabs(A(r, c));
                if (v > best) {
                    best = v;
                    pr = r;
                    pc = c;
                }
            }
        }
        // NaN never compares greater, so a matrix of NaN counts as singular too.
        if (!(best > 0)) return SolveResult::kSingular;
        if (k == 0) {
            first = best;
        } else if (!(best > 1e-9 * first)) {
            ill = true;
        }
        if (pr != k) {
            for (int c = 0; c < n; ++c) std::swap(A(k, c), A(pr, c));
            for (int c = 0; c < m; ++c) std::swap(B(k, c), B(pr, c));
        }
        if (pc != k) {
            for (int r = 0; r < n; ++r) std::swap(A(r, k), A(r, pc));
            std::swap(column[static_cast<std::size_t>(k)], column[static_cast<std::size_t>(pc)]);
        }
        for (int r = k + 1; r < n; ++r) {
            double f = A(r, k) / A(k, k);
            if (f == 0) continue;
            for (int c = k + 1; c < n; ++c) A(r, c) -= f * A(k, c);
            A(r, k) = 0;
            for (int c = 0; c < m; ++c) B(r, c) -= f * B(k, c);
        }
    }
    for (int k = n - 1; k >= 0; --k) {
        for (int c = 0; c < m; ++c) {
            double s = B(k, c);
            for (int j = k + 1; j < n; ++j) s -= A(k, j) * B(j, c);
            B(k, c) = s / A(k, k);
        }
    }
    // Row k of the solution belongs to unknown column[k]; put every row back in its place.
    std::vector<double> x(static_cast<std::size_t>(n) * static_cast<std::size_t>(m));
    for (int k = 0; k < n; ++k) {
        for (int c = 0; c < m; ++c)
            x[static_cast<std::size_t>(column[static_cast<std::size_t>(k)] * m + c)] = B(k, c);
    }
    for (int i = 0; i < n * m; ++i) b[i] = x[static_cast<std::size_t>(i)];
    return ill ? SolveResult::kIllConditioned : SolveResult::kSolved;
}
