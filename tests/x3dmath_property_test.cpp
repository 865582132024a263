// Both intersection forms against an independent double-precision reference
// (Moller-Trumbore) on random, well-conditioned triangles and segments.
#include <gtest/gtest.h>
#include <morvane/X3DMath.h>

#include <cmath>
#include <cstdint>
#include <random>

namespace {

// Cases whose reference t, u, v, 1 - t or 1 - u - v lies within kMargin of
// zero are skipped: float rounding may decide them either way. Outside the
// margin both forms must give the reference's hit/miss answer in 100% of
// the cases. Their t, u, v (where written) must lie within kClose (scaled
// by max(1, |reference|)): always for the six-input form, in at least
// kFiveCloseRate of the cases for the five-input form (measured: 99.9%),
// whose solver takes any pivot from 0.0001 up without a search and so loses
// more digits; its worst case must stay within kFiveWorst.
constexpr double kMargin = 1e-3;
constexpr double kClose = 1e-4;
constexpr double kFiveCloseRate = 0.995;
constexpr double kFiveWorst = 1e-2;
constexpr int kCases = 100000;
constexpr std::uint32_t kSeed = 20240611;

struct Vec {
  double x, y, z;
};
Vec Sub(Vec p, Vec q) { return {p.x - q.x, p.y - q.y, p.z - q.z}; }
double Dot(Vec p, Vec q) { return p.x * q.x + p.y * q.y + p.z * q.z; }
Vec Cross(Vec p, Vec q) {
  return {p.y * q.z - p.z * q.y, p.z * q.x - p.x * q.z, p.x * q.y - p.y * q.x};
}
double Length(Vec p) { return std::sqrt(Dot(p, p)); }

struct Reference {
  double tuv[3];
};

// Moller-Trumbore on the whole line through S and E; the caller has made
// sure the line is not close to parallel.
Reference Intersect(Vec a, Vec b, Vec c, Vec s, Vec e) {
  const Vec d = Sub(e, s);
  const Vec e1 = Sub(b, a);
  const Vec e2 = Sub(c, a);
  const Vec p = Cross(d, e2);
  const double det = Dot(e1, p);
  const Vec w = Sub(s, a);
  const Vec q = Cross(w, e1);
  return {{Dot(e2, q) / det, Dot(w, p) / det, Dot(d, q) / det}};
}

bool NearBoundary(const Reference& r) {
  const double t = r.tuv[0], u = r.tuv[1], v = r.tuv[2];
  for (double distance : {t, 1 - t, u, v, 1 - u - v}) {
    if (std::fabs(distance) < kMargin) return true;
  }
  return false;
}

bool Hits(const Reference& r) {
  const double t = r.tuv[0], u = r.tuv[1], v = r.tuv[2];
  return t >= 0 && t <= 1 && u >= 0 && v >= 0 && u + v <= 1;
}

// The largest error of the first `count` outputs, relative to
// max(1, |reference|).
double Error(const Reference& r, const float* tuv, int count) {
  double worst = 0;
  for (int i = 0; i < count; ++i) {
    const double scale = std::fmax(1.0, std::fabs(r.tuv[i]));
    worst = std::fmax(worst, std::fabs(tuv[i] - r.tuv[i]) / scale);
  }
  return worst;
}

// A portable uniform draw (the standard distributions differ between
// standard libraries; the engine does not).
float Uniform(std::mt19937& engine, double low, double high) {
  return static_cast<float>(low + (high - low) * (engine() / 4294967296.0));
}

Vec Widen(const float* p) { return {p[0], p[1], p[2]}; }

TEST(IntersectPolygonProperty, AgreesWithDoubleReference) {
  std::mt19937 engine(kSeed);
  int compared = 0, hits = 0, answer_mismatches = 0, five_close = 0;
  double five_worst = 0, six_worst = 0;
  while (compared < kCases) {
    float a[3], b[3], c[3], s[3], e[3];
    for (float* p : {a, b, c}) {
      for (int i = 0; i < 3; ++i) p[i] = Uniform(engine, -1, 1);
    }
    for (float* p : {s, e}) {
      for (int i = 0; i < 3; ++i) p[i] = Uniform(engine, -1.5, 1.5);
    }
    const Vec va = Widen(a), vb = Widen(b), vc = Widen(c);
    const Vec vs = Widen(s), ve = Widen(e);
    const Vec normal = Cross(Sub(vb, va), Sub(vc, va));
    const Vec d = Sub(ve, vs);
    // Well-conditioned only: a triangle of some area without a sliver
    // angle, and a segment some degrees off the plane.
    const double twice_area = Length(normal);
    const double longest =
        std::fmax(Length(Sub(vb, va)),
                  std::fmax(Length(Sub(vc, va)), Length(Sub(vc, vb))));
    if (twice_area < 0.1 || twice_area < 0.2 * longest * longest) continue;
    if (std::fabs(Dot(d, normal)) < 0.1 * Length(d) * twice_area) continue;
    const Reference ref = Intersect(va, vb, vc, vs, ve);
    if (NearBoundary(ref)) continue;
    ++compared;
    const bool expected = Hits(ref);
    hits += expected;

    const float n[3] = {static_cast<float>(normal.x),
                        static_cast<float>(normal.y),
                        static_cast<float>(normal.z)};
    float five[3];
    float six[3] = {NAN, NAN, NAN};
    answer_mismatches +=
        X3DMath::IntersectPolygon(a, b, c, s, e, &five[0], &five[1],
                                  &five[2]) != expected;
    answer_mismatches +=
        X3DMath::IntersectPolygon(a, b, c, n, s, e, &six[0], &six[1],
                                  &six[2]) != expected;
    // The six-input form writes u and v of a miss only sometimes.
    const double five_error = Error(ref, five, 3);
    five_close += five_error < kClose;
    five_worst = std::fmax(five_worst, five_error);
    six_worst = std::fmax(six_worst, Error(ref, six, expected ? 3 : 1));
  }
  EXPECT_EQ(0, answer_mismatches);
  EXPECT_LT(six_worst, kClose);
  EXPECT_GE(five_close, kFiveCloseRate * kCases);
  EXPECT_LT(five_worst, kFiveWorst);
  // Enough of both answers to mean something.
  EXPECT_GT(hits, kCases / 20);
  EXPECT_LT(hits, kCases - kCases / 20);
  RecordProperty("five_close", five_close);
}

}  // namespace
