// The geometry steps: a 3x3 linear system and a segment meeting a triangle.
#include <morvane/X3DMath.h>

#include <cstdio>

#include "steps.h"

namespace demo {
namespace {

void PrintPoint(const char* label, const float* p) {
  std::printf("  %s = (%g, %g, %g)\n", label, p[0], p[1], p[2]);
}

}  // namespace

void ShowLinearSystem() {
  // Each row is: constant = a*x0 + b*x1 + c*x2 (the constant comes first).
  float m[3][4] = {{6, 1, 1, 1}, {19, 0, 2, 5}, {9, 2, 5, -1}};
  std::printf(
      "  6 =  x0 +  x1 +  x2\n 19 =       2x1 + 5x2\n"
      "  9 = 2x0 + 5x1 -  x2\n");
  float x[3] = {0, 0, 0};
  X3DMath::SolveSystem(m, 4, 3, x);
  std::printf("  x0 = %g, x1 = %g, x2 = %g\n", x[0], x[1], x[2]);
  std::printf(
      "  (X3DMath::SolveSystem, each row given as: constant, then the three "
      "coefficients)\n");
}

void ShowIntersection() {
  const float a[3] = {0, 0, 0};
  const float b[3] = {4, 0, 0};
  const float c[3] = {0, 4, 0};
  const float normal[3] = {0, 0, 1};
  const float start[3] = {1, 1, 2};
  const float end[3] = {1, 1, -2};
  PrintPoint("triangle A", a);
  PrintPoint("triangle B", b);
  PrintPoint("triangle C", c);
  PrintPoint("segment from", start);
  PrintPoint("segment to", end);

  float t = 0, u = 0, v = 0;
  bool hit = X3DMath::IntersectPolygon(a, b, c, start, end, &t, &u, &v);
  std::printf("  solved as a 3x3 system: %s at t = %g (u = %g, v = %g)\n",
              hit ? "hit" : "miss", t, u, v);
  t = u = v = 0;
  hit = X3DMath::IntersectPolygon(a, b, c, normal, start, end, &t, &u, &v);
  std::printf("  with the plane's normal: %s at t = %g (u = %g, v = %g)\n",
              hit ? "hit" : "miss", t, u, v);
  std::printf(
      "  (IntersectPolygon's two forms: t is how far along the segment the\n"
      "  point lies, 0 at from, 1 at to; the point is A + u(B - A) + v(C - "
      "A))\n");
}

}  // namespace demo
