// X3DMath::SolveSystem: recursive elimination of the last unknown, and the
// class's stateless copy assignment.
#include <morvane/X3DMath.h>

#include <cmath>

#include "math/rounding.h"
#include "math/solve_levels.h"

namespace {

using morvane::math::Product;
using morvane::math::Quotient;
using morvane::math::Round;

// The float nearest 0.0001 (9.99999975e-05): a first-row pivot strictly
// smaller in magnitude is replaced by row exchange.
constexpr float kPivotThreshold = 0.0001f;

#if defined(__GNUC__)
#define SOLVE_LEVEL_INLINE __attribute__((always_inline)) inline
#else
#define SOLVE_LEVEL_INLINE inline
#endif

// Each level's temporaries: at most three equations, rows four floats wide.
constexpr int kMaxRows = 3;
constexpr int kRowWidth = 4;

// A small pivot goes to the rows below in turn: every row that involves the
// last unknown (column n - 1) is exchanged with row 0, with no early stop and
// no comparison of sizes; only the first n floats of the rows move. The
// caller's matrix keeps the permutation.
inline void ExchangeSmallPivot(float (*const m)[4], int n, int k) {
  const int last = n - 1;
  if (k < 2 || !(std::fabs(m[0][last]) < kPivotThreshold)) return;
  for (int i = 1; i < k; ++i) {
    if (m[i][last] == 0.0f) continue;
    for (int j = 0; j < n; ++j) {
      const float held = m[0][j];
      m[0][j] = m[i][j];
      m[i][j] = held;
    }
  }
}

// One equation: any nonzero coefficient divides, however small; a zero one
// yields 0 rather than a division by zero.
inline float SolveOne(const float* row) {
  const float coefficient = row[1];
  return coefficient == 0.0f ? 0.0f : Quotient(row[0], coefficient);
}

// Elimination of column `last` from `row`: row 0 plus (-pivot / entry) times
// the row, which cancels the last column while row 0 keeps weight one. A row
// without the last unknown is taken over as it is.
inline void Reduce(const float* first, const float* row, int last, float pivot,
                   float* target) {
  const float entry = row[last];
  if (entry == 0.0f) {
    for (int j = 0; j < last; ++j) target[j] = row[j];
    return;
  }
  const double factor = -static_cast<double>(pivot) / entry;
  for (int j = 0; j < last; ++j) {
    const double combined = Product(factor, row[j]) + first[j];
    target[j] = Round(combined);
  }
}

// Back-substitution into row 0, subtracting in ascending column order and
// rounding once. A zero pivot gives an infinity or NaN, by design.
inline float BackSubstitute(const float* first, const float* lower, int last,
                            float pivot) {
  double rest = first[0];
  for (int j = 1; j < last; ++j) rest -= Product(lower[j - 1], first[j]);
  return Round(rest / pivot);
}

// One level for k = K equations in n = K + 1 columns, the sizes known when
// compiled: the same steps as SolveAnyShape, with every loop unrolled. Each
// level goes inline into the one above, so that the values the levels hand
// on stay in registers.
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
