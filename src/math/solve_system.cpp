// X3DMath::SolveSystem: recursive elimination of the last unknown, and the
// class's stateless copy assignment.
#include <morvane/X3DMath.h>

#include "math/solve_steps.h"

namespace {

using morvane::math::BackSubstitute;
using morvane::math::ExchangeSmallPivot;
using morvane::math::kMaxRows;
using morvane::math::kRowWidth;
using morvane::math::Reduce;
using morvane::math::SolveOne;

#if defined(__GNUC__)
#define SOLVE_LEVEL_INLINE __attribute__((always_inline)) inline
#else
#define SOLVE_LEVEL_INLINE inline
#endif

// One level for k = K equations in n = K + 1 columns, the sizes known when
// compiled, with every loop unrolled. Each level goes inline into the one
// above, so that the values the levels hand on stay in registers.
template <int K>
SOLVE_LEVEL_INLINE void SolveSquare(float (*const m)[4], float* const x) {
  ExchangeSmallPivot(m, K + 1, K);
  if constexpr (K <= 1) {
    x[0] = SolveOne(m[0]);
  } else {
    const float pivot = m[0][K];
    float reduced[kMaxRows][kRowWidth];
    for (int i = 1; i < K; ++i) Reduce(m[0], m[i], K, pivot, reduced[i - 1]);
    float lower[kMaxRows];
    SolveSquare<K - 1>(reduced, lower);
    const float unknown = BackSubstitute(m[0], lower, K, pivot);
    for (int j = 0; j < K - 1; ++j) x[j] = lower[j];
    x[K - 1] = unknown;
  }
}

}  // namespace

// Only the three square shapes are solved. Any other shape would index past
// the rows of four floats or the three-row temporaries, or read what no step
// wrote, so such a call returns at once and writes nothing.
void X3DMath::SolveSystem(float (*const m)[4], int n, int k, float* const x) {
  if (n != k + 1) return;
  switch (k) {
    case 1:
      return SolveSquare<1>(m, x);
    case 2:
      return SolveSquare<2>(m, x);
    case 3:
      return SolveSquare<3>(m, x);
    default:
      return;
  }
}

X3DMath& X3DMath::operator=(const X3DMath&) = default;
