#pragma once

enum class SolveResult { kSolved, kIllConditioned, kSingular };

// Solves A X = B by Gaussian elimination with complete pivoting. a is n x n and b is n x m,
// both row-major; a is consumed and b is replaced by X. kIllConditioned: some pivot was not
// greater than 1e-9 times the first (X is computed all the same); kSingular: a pivot was zero,
// and b is left partly reduced.
SolveResult SolveLinear(double* a, int n, double* b, int m);
