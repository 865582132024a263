// X3DMath on arbitrary floats (NaN and infinities included): no crash, no
// write outside the outputs, and the outputs written exactly as X3DMath.h
// states.
// Every output sits between guard floats, and every input is a heap array of
// its exact size. The guard is a NaN whose payload the inputs are kept from
// carrying, so no computed value can equal it: a guard that changed was
// written, one that did not was left alone.
//
//   SolveSystem: x[0..k-1] written, nothing after; rows of the caller's
//     matrix exchanged exactly by the rule that X3DMath.h states; columns
//     n.. untouched; results and exchanges those of the same steps run in a
//     plain loop over the levels. Any other shape writes nothing at all.
//   Rounding: a float difference or quotient equals the one taken in double
//     and rounded to float.
//   IntersectPolygon, five inputs: t, u and v written on every call; the
//     answer is the inclusive range test of the written values.
//   IntersectPolygon, six inputs: nothing written when the segment's
//     direction is perpendicular to the normal (d = 0); otherwise t, and u
//     and v only once t and v passed their range tests.
#include <morvane/X3DMath.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_input.h"
#include "math/rounding.h"
#include "math/solve_steps.h"

namespace {

constexpr uint32_t kGuardBits = 0x7fc0ffeeu;  // a quiet NaN
constexpr float kThreshold = 0.0001f;

uint32_t Bits(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

float Guard() {
  float f;
  std::memcpy(&f, &kGuardBits, sizeof f);
  return f;
}

bool IsGuard(float f) { return Bits(f) == kGuardBits; }

// An input float; NaNs keep their payload through arithmetic, so one that
// carries the guard's payload becomes 0.
float Value(fuzz::Input& in) {
  const float f = in.Float();
  const uint32_t payload = (Bits(f) | 0x00400000u) & 0x7fffffffu;
  return payload == kGuardBits ? 0.0f : f;
}

std::vector<float> Point(fuzz::Input& in) {
  return {Value(in), Value(in), Value(in)};
}

// --- Rounding ----------------------------------------------------------------

// The float operations that stand in for "taken in double, then rounded to
// float" give the same float (NaN: any NaN).
void CheckRounding(float a, float b) {
  const float difference = static_cast<float>(static_cast<double>(a) - b);
  const float quotient = static_cast<float>(static_cast<double>(a) / b);
  const float d = morvane::math::Difference(a, b);
  const float q = morvane::math::Quotient(a, b);
  FUZZ_CHECK(Bits(d) == Bits(difference) ||
             (std::isnan(d) && std::isnan(difference)));
  FUZZ_CHECK(Bits(q) == Bits(quotient) ||
             (std::isnan(q) && std::isnan(quotient)));
}

// --- SolveSystem -------------------------------------------------------------

// SolveSystem's steps in a loop over the levels, the shape as given: the
// reference for its unrolled levels.
void SolveByLoop(float (*const m)[4], int n, int k, float* const x) {
  using namespace morvane::math;
  ExchangeSmallPivot(m, n, k);
  if (k <= 1) {
    x[0] = SolveOne(m[0]);
    return;
  }
  const int last = n - 1;
  const float pivot = m[0][last];
  float reduced[kMaxRows][kRowWidth];
  for (int i = 1; i < k; ++i) Reduce(m[0], m[i], last, pivot, reduced[i - 1]);
  float lower[kMaxRows];
  SolveByLoop(reduced, n - 1, k - 1, lower);
  const float unknown = BackSubstitute(m[0], lower, last, pivot);
  for (int j = 0; j < k - 1; ++j) x[j] = lower[j];
  x[k - 1] = unknown;
}

// A shape other than 1 <= k <= 3, n = k + 1: the matrix and x stay as they
// were.
void CheckOtherShape(fuzz::Input& in) {
  const int k = static_cast<int>(in.Byte() % 10) - 2;
  const int n = static_cast<int>(in.Byte() % 10) - 2;
  if (n == k + 1 && k >= 1 && k <= 3) return;
  float m[6][4];
  float x[8];
  for (auto& row : m)
    for (float& f : row) f = Value(in);
  for (float& f : x) f = Guard();
  float m_before[6][4];
  std::memcpy(m_before, m, sizeof m);
  X3DMath::SolveSystem(m, n, k, x);
  FUZZ_CHECK(std::memcmp(m, m_before, sizeof m) == 0);
  for (float f : x) FUZZ_CHECK(IsGuard(f));
}

void CheckSolve(fuzz::Input& in) {
  const int k = 1 + in.Byte() % 3;
  const int n = k + 1;
  // Rows 1..k are the matrix; rows 0 and k + 1 and columns n.. are guards.
  std::vector<float> block(static_cast<size_t>(4 * (k + 2)), Guard());
  auto m = reinterpret_cast<float(*)[4]>(block.data());
  for (int i = 1; i <= k; ++i)
    for (int j = 0; j < n; ++j) m[i][j] = Value(in);
  std::vector<float> x(static_cast<size_t>(k + 2), Guard());

  // The exchanges that the rule stated in X3DMath.h makes, on a copy.
  std::vector<float> expected = block;
  auto e = reinterpret_cast<float(*)[4]>(expected.data());
  bool nan_in_last_column = false;
  for (int i = 1; i <= k; ++i) nan_in_last_column |= std::isnan(e[i][n - 1]);
  if (k >= 2 && std::fabs(e[1][n - 1]) < kThreshold) {
    for (int i = 2; i <= k; ++i)
      if (e[i][n - 1] != 0.0f)
        for (int j = 0; j < n; ++j) std::swap(e[1][j], e[i][j]);
  }

  CheckRounding(m[1][0], m[1][1]);
  CheckRounding(m[1][1], m[1][0]);

  // The same steps in a loop, on a copy: the same results (any NaN for a
  // NaN) and the same exchanges.
  std::vector<float> general = block;
  std::vector<float> y = x;
  SolveByLoop(reinterpret_cast<float(*)[4]>(general.data()) + 1, n, k,
              y.data() + 1);

  X3DMath::SolveSystem(m + 1, n, k, x.data() + 1);

  for (size_t i = 0; i < x.size(); ++i) {
    FUZZ_CHECK(Bits(x[i]) == Bits(y[i]) ||
               (std::isnan(x[i]) && std::isnan(y[i])));
  }
  FUZZ_CHECK(std::memcmp(block.data(), general.data(),
                         block.size() * sizeof(float)) == 0);

  FUZZ_CHECK(IsGuard(x[0]) && IsGuard(x[static_cast<size_t>(k + 1)]));
  for (int i = 1; i <= k; ++i) FUZZ_CHECK(!IsGuard(x[static_cast<size_t>(i)]));
  for (size_t i = 0; i < block.size(); ++i) {
    const size_t row = i / 4;
    const size_t column = i % 4;
    if (row == 0 || row > static_cast<size_t>(k) ||
        column >= static_cast<size_t>(n)) {
      FUZZ_CHECK(IsGuard(block[i]));
    } else if (!nan_in_last_column) {
      FUZZ_CHECK(Bits(block[i]) == Bits(expected[i]));
    }
  }
}

// --- IntersectPolygon --------------------------------------------------------

// t, u and v, each between guards.
struct Outputs {
  float slots[7];
  Outputs() {
    for (float& f : slots) f = Guard();
  }
  float* t() { return &slots[1]; }
  float* u() { return &slots[3]; }
  float* v() { return &slots[5]; }
  bool GuardsKept() const {
    return IsGuard(slots[0]) && IsGuard(slots[2]) && IsGuard(slots[4]) &&
           IsGuard(slots[6]);
  }
};

bool Unchanged(const std::vector<float>& now, const std::vector<float>& was) {
  return std::memcmp(now.data(), was.data(), 3 * sizeof(float)) == 0;
}

bool AnyNan(float a, float b, float c) {
  return std::isnan(a) || std::isnan(b) || std::isnan(c);
}

void CheckIntersect(fuzz::Input& in, bool with_normal) {
  std::vector<std::vector<float>> p;  // A, B, C, [N,] S, E
  for (int i = with_normal ? 6 : 5; i > 0; --i) p.push_back(Point(in));
  const std::vector<std::vector<float>> before = p;
  Outputs out;
  bool hit;
  if (!with_normal) {
    hit = X3DMath::IntersectPolygon(p[0].data(), p[1].data(), p[2].data(),
                                    p[3].data(), p[4].data(), out.t(), out.u(),
                                    out.v());
  } else {
    hit = X3DMath::IntersectPolygon(p[0].data(), p[1].data(), p[2].data(),
                                    p[3].data(), p[4].data(), p[5].data(),
                                    out.t(), out.u(), out.v());
  }
  for (size_t i = 0; i < p.size(); ++i) FUZZ_CHECK(Unchanged(p[i], before[i]));
  FUZZ_CHECK(out.GuardsKept());
  const float t = *out.t();
  const float u = *out.u();
  const float v = *out.v();
  const bool nan = AnyNan(t, u, v);

  if (!with_normal) {
    FUZZ_CHECK(!IsGuard(t) && !IsGuard(u) && !IsGuard(v));
    // 1 - u at working precision; double and wider may differ.
    const bool in_double = v <= 1.0 - u;
    const bool in_long_double = v <= 1.0L - u;
    const bool ranges = t >= 0 && t <= 1 && u >= 0 && u <= 1 && v >= 0;
    FUZZ_CHECK(nan || (hit ? ranges && (in_double || in_long_double)
                           : !ranges || !in_double || !in_long_double));
    return;
  }

  // d = D.z*N.z + D.y*N.y + D.x*N.x with D = E - S rounded to float; the
  // sum in double or wider, then rounded to float.
  const std::vector<float>& nrm = p[3];
  float d[3];
  for (int i = 0; i < 3; ++i)
    d[i] = static_cast<float>(static_cast<double>(p[5][i]) - p[4][i]);
  const double dot = static_cast<double>(d[2]) * nrm[2] +
                     static_cast<double>(d[1]) * nrm[1] +
                     static_cast<double>(d[0]) * nrm[0];
  const long double dot_wide = static_cast<long double>(d[2]) * nrm[2] +
                               static_cast<long double>(d[1]) * nrm[1] +
                               static_cast<long double>(d[0]) * nrm[0];
  const bool parallel = static_cast<float>(dot) == 0.0f;
  const bool parallel_wide = static_cast<float>(dot_wide) == 0.0f;

  const bool t_written = !IsGuard(t);
  const bool uv_written = !IsGuard(u);
  FUZZ_CHECK(uv_written == !IsGuard(v));
  FUZZ_CHECK(!uv_written || t_written);
  // NaN inputs get no defined treatment.
  if (!std::isnan(dot) && parallel == parallel_wide) {
    FUZZ_CHECK(t_written == !parallel);
  }
  if (!t_written) FUZZ_CHECK(!hit);
  if (hit) FUZZ_CHECK(uv_written);
  if (uv_written && !nan) {
    // t passed 0 < t <= 1 (rounding may bring it to 0) and v passed its test
    // on the stored value.
    FUZZ_CHECK(t >= 0 && t <= 1 && v >= 0 && v <= 1);
    const bool sum_double = static_cast<double>(u) + v <= 1;
    const bool sum_float = u + v <= 1.0f;
    FUZZ_CHECK(hit == (u >= 0 && (sum_double || sum_float)) ||
               sum_double != sum_float);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input in(data, size);
  while (!in.Done()) {
    switch (in.Byte() % 4) {
      case 0:
        CheckSolve(in);
        break;
      case 1:
        CheckIntersect(in, false);
        break;
      case 2:
        CheckIntersect(in, true);
        break;
      default:
        CheckOtherShape(in);
        break;
    }
  }
  return 0;
}
