// X3DMath::SolveSystem: recursive elimination of the last unknown, and the
// class's stateless copy assignment.
#include <morvane/X3DMath.h>

#include "math/solve_levels.h"

using morvane::math::BackSubstitute;
using morvane::math::ExchangeSmallPivot;
using morvane::math::Reduce;
using morvane::math::SolveOne;
using morvane::math::SolveSquare;
using morvane::math::kMaxRows;
using morvane::math::kRowWidth;

void morvane::math::SolveAnyShape(float (*const m)[4], int n, int k,
                                  float* const x) {
  ExchangeSmallPivot(m, n, k);
  if (k <= 1) {
    x[0] = SolveOne(m[0]);
    return;
  }
  const int last = n - 1;  // column of the unknown this level eliminates
  const float pivot = m[0][last];
  float reduced[kMaxRows][kRowWidth];
  for (int i = 1; i < k; ++i) Reduce(m[0], m[i], last, pivot, reduced[i - 1]);
  float lower[kMaxRows];
  SolveAnyShape(reduced, n - 1, k - 1, lower);
  const float unknown = BackSubstitute(m[0], lower, last, pivot);
  for (int j = 0; j < k - 1; ++j) x[j] = lower[j];
  x[k - 1] = unknown;
}

void X3DMath::SolveSystem(float (*const m)[4], int n, int k, float* const x) {
  if (n == k + 1) {
    switch (k) {
      case 1:
        return SolveSquare<1>(m, x);
      case 2:
        return SolveSquare<2>(m, x);
      case 3:
        return SolveSquare<3>(m, x);
      default:
        break;
    }
  }
  morvane::math::SolveAnyShape(m, n, k, x);
}

X3DMath& X3DMath::operator=(const X3DMath&) = default;
