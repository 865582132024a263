/// @file
/// X3DMath, a small linear solver and segment/triangle intersection.
///
/// Thread-safety: SolveSystem and the six-input IntersectPolygon use only the
/// stack. The five-input IntersectPolygon works in static storage and must not
/// run on two threads at once.
#ifndef MORVANE_X3DMATH_H_
#define MORVANE_X3DMATH_H_

#include <morvane/export.h>

/// Static geometry operations on single-precision floats.
///
/// All operations are static and allocate nothing. Values are single-precision
/// floats; intermediate products and sums are computed in double and rounded
/// to float where they are stored. Points and vectors are three consecutive
/// floats (x, y, z).
class MORVANE_API X3DMath {
 public:
  /// Solves k equations (1 <= k <= 3) in k unknowns, n = k + 1 columns, by
  /// recursive elimination. Row i of `m` stands for
  /// `m[i][0] = m[i][1]*x0 + m[i][2]*x1 + ... + m[i][n-1]*x(n-2)`
  /// (the constant term comes first). Writes `x[0..k-1]`; `x[k]` onward is left
  /// untouched. When the first row's last coefficient is below the float
  /// nearest 0.0001 in magnitude, every later row with a nonzero entry there
  /// is exchanged with row 0 in turn, in the caller's matrix. A single
  /// equation (k = 1) divides by any nonzero coefficient, however small, and
  /// yields 0 for a zero one. Otherwise a singular system yields infinities
  /// or NaN; nothing is reported. Any other shape (n other than k + 1, or k
  /// outside 1 to 3) is not solved: the call writes nothing, and `m` and `x`
  /// keep what they held.
  static void SolveSystem(float (*const m)[4], int n, int k, float* const x);

  /// Does the segment S->E meet the triangle A, B, C? Solves
  /// `S + t*(E - S) = A + u*(B - A) + v*(C - A)` with SolveSystem, writes t, u
  /// and v on every call, and returns true when 0 <= t <= 1, u >= 0, v >= 0
  /// and u + v <= 1 (boundaries included). A segment parallel to the plane,
  /// or of zero length, or a triangle without area is judged by the solver's
  /// rules: for a triangle aligned with the axes this gives t = 0 with u and v
  /// locating the start over the triangle (a hit when the start lies over
  /// it), and a NaN parameter fails none of the range tests.
  static bool IntersectPolygon(float const* const a, float const* const b,
                               float const* const c, float const* const s,
                               float const* const e, float* t, float* u,
                               float* v);

  /// The same question with a normal `nrm` of the triangle's plane (any
  /// nonzero length, either side) given by the caller: crosses the plane,
  /// then solves for u and v on the coordinate plane the triangle faces most.
  /// t is written rounded to float but judged at working precision (a t of
  /// 1.0000000009 is a miss with 1.0f written); a start on the plane (t = 0)
  /// is a miss. Writes: nothing when the segment is parallel to the plane (or
  /// of zero length, or the normal is zero); t only when t or v is out of
  /// range or the projected triangle has no area; t, u and v otherwise.
  static bool IntersectPolygon(float const* const a, float const* const b,
                               float const* const c, float const* const nrm,
                               float const* const s, float const* const e,
                               float* t, float* u, float* v);

  /// Changes nothing (the class has no state) and returns this object.
  X3DMath& operator=(const X3DMath& other);
};

#endif  // MORVANE_X3DMATH_H_
