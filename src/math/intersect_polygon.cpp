// X3DMath::IntersectPolygon from the triangle's corners alone: the general
// solver on S + t*D = A + u*(B - A) + v*(C - A).
#include <morvane/X3DMath.h>

#include "math/rounding.h"

namespace {

using morvane::math::Difference;

constexpr int kAxes = 3;

}  // namespace

bool X3DMath::IntersectPolygon(float const* const a, float const* const b,
                               float const* const c, float const* const s,
                               float const* const e, float* t, float* u,
                               float* v) {
  // Working data shared by every call and overwritten by each; this is why
  // the operation must not run on two threads at once.
  static float direction[kAxes];
  static float equations[kAxes][4];
  static float solution[kAxes];

  for (int i = 0; i < kAxes; ++i) direction[i] = Difference(e[i], s[i]);
  // One row per axis, constant term first: S - A = t*(-D) + u*(B - A) +
  // v*(C - A), so the solution comes out as t, u, v.
  for (int i = 0; i < kAxes; ++i) {
    equations[i][0] = Difference(s[i], a[i]);
    equations[i][1] = -direction[i];
    equations[i][2] = Difference(b[i], a[i]);
    equations[i][3] = Difference(c[i], a[i]);
  }
  SolveSystem(equations, 4, kAxes, solution);

  // Written whatever the answer, before any test.
  const float segment_t = solution[0];
  const float weight_u = solution[1];
  const float weight_v = solution[2];
  *t = segment_t;
  *u = weight_u;
  *v = weight_v;

  // Boundaries count as hits. A parameter that is NaN (a singular system)
  // fails none of these tests.
  const double room_for_v = 1.0 - weight_u;
  if (segment_t < 0.0f || segment_t > 1.0f) return false;
  if (weight_u < 0.0f || weight_u > 1.0f) return false;
  if (weight_v < 0.0f || weight_v > room_for_v) return false;
  return true;
}
