// X3DMath::IntersectPolygon with a caller's normal: crosses the plane through
// A, then solves for u and v in closed form on the two axes the plane faces
// most. Stops as early as it can and writes only what it has decided.
#include <morvane/X3DMath.h>

#include <cmath>

#include "math/rounding.h"

namespace {

using morvane::math::Difference;
using morvane::math::Product;
using morvane::math::Round;

constexpr int kX = 0;
constexpr int kY = 1;
constexpr int kZ = 2;

// p . q at working precision, summed in x, y, z order.
double Dot(float const* p, float const* q) {
  double sum = Product(p[kX], q[kX]);
  sum += Product(p[kY], q[kY]);
  sum += Product(p[kZ], q[kZ]);
  return sum;
}

// The two axes kept when the one along which the normal is largest is
// dropped, in x, y, z order. Ties drop the later axis.
struct KeptAxes {
  int a;
  int b;
};

KeptAxes ProjectionFor(float const* normal) {
  const float nx = std::fabs(normal[kX]);
  const float ny = std::fabs(normal[kY]);
  const float nz = std::fabs(normal[kZ]);
  if (nx > ny && nx > nz) return {kY, kZ};
  if (ny > nz) return {kX, kZ};
  return {kX, kY};
}

// A vector of the projection plane, relative to corner A, rounded to float.
struct Planar {
  float a;
  float b;
};

Planar FromCornerA(float const* point, float const* corner_a, KeptAxes axes) {
  return {Difference(point[axes.a], corner_a[axes.a]),
          Difference(point[axes.b], corner_a[axes.b])};
}

}  // namespace

bool X3DMath::IntersectPolygon(float const* const a, float const* const b,
                               float const* const c, float const* const nrm,
                               float const* const s, float const* const e,
                               float* t, float* u, float* v) {
  const float direction[3] = {Difference(e[kX], s[kX]),
                              Difference(e[kY], s[kY]),
                              Difference(e[kZ], s[kZ])};

  // Parallel segment, zero-length segment or zero normal: nothing written.
  double slope = Product(direction[kZ], nrm[kZ]);
  slope += Product(direction[kY], nrm[kY]);
  slope += Product(direction[kX], nrm[kX]);
  const float denominator = Round(slope);
  if (denominator == 0.0f) return false;

  // The two dot products are taken separately, not as N . (A - S).
  // t is written rounded, but judged (and used below) as computed: a t just
  // above 1 that rounds to 1.0f is still a miss.
  const double crossing = (Dot(nrm, a) - Dot(nrm, s)) / denominator;
  *t = Round(crossing);
  // A start on the plane (t = 0) is a miss.
  if (crossing <= 0.0 || crossing > 1.0) return false;

  float point[3];
  for (int i = kX; i <= kZ; ++i) {
    point[i] = Round(s[i] + Product(crossing, direction[i]));
  }

  const KeptAxes axes = ProjectionFor(nrm);
  const Planar w = FromCornerA(point, a, axes);
  const Planar e1 = FromCornerA(b, a, axes);
  const Planar e2 = FromCornerA(c, a, axes);

  // w = u*e1 + v*e2, v first. A projected triangle without area (a zero
  // divisor in either branch) is a miss with only t written.
  const bool a_b_share_first_axis = e1.a == 0.0f;
  double v_working;
  if (a_b_share_first_axis) {
    if (e2.a == 0.0f || e1.b == 0.0f) return false;
    v_working = static_cast<double>(w.a) / e2.a;
  } else {
    const double divisor = Product(e2.b, e1.a) - Product(e1.b, e2.a);
    if (divisor == 0.0) return false;
    v_working = (Product(w.b, e1.a) - Product(e1.b, w.a)) / divisor;
  }
  const float weight_v = Round(v_working);
  if (weight_v < 0.0f || weight_v > 1.0f) return false;

  const double u_working = a_b_share_first_axis
                               ? (w.b - Product(weight_v, e2.b)) / e1.b
                               : (w.a - Product(weight_v, e2.a)) / e1.a;
  const float weight_u = Round(u_working);
  *u = weight_u;
  *v = weight_v;

  const double weight_sum = static_cast<double>(weight_u) + weight_v;
  if (weight_u < 0.0f || weight_sum > 1.0) return false;
  return true;
}
