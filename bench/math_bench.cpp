// Geometry math: both forms of IntersectPolygon next to the Moller-Trumbore
// test in double, and SolveSystem on 3x3 systems next to Eigen's LU with
// partial pivoting.
#include <benchmark/benchmark.h>
#include <morvane/X3DMath.h>

#include <Eigen/Dense>
#include <array>
#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

namespace morvane::bench {
namespace {

// --- Segment and triangle ----------------------------------------------------

constexpr std::size_t kCases = 1024;  // a power of two: cycled with a mask

struct Case {
  float a[3], b[3], c[3];
  float normal[3];  // (B - A) x (C - A), for the six-input form
  float s[3], e[3];
};

// Random triangles and random segments in the cube [-1, 1]^3: most segments
// cross the triangle's plane, a few hit the triangle.
const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = [] {
    std::mt19937 random(3);
    std::uniform_real_distribution<float> coordinate(-1.0f, 1.0f);
    std::vector<Case> made(kCases);
    for (Case& k : made) {
      for (float* point : {k.a, k.b, k.c, k.s, k.e}) {
        for (int i = 0; i < 3; ++i) point[i] = coordinate(random);
      }
      const float e1[3] = {k.b[0] - k.a[0], k.b[1] - k.a[1], k.b[2] - k.a[2]};
      const float e2[3] = {k.c[0] - k.a[0], k.c[1] - k.a[1], k.c[2] - k.a[2]};
      k.normal[0] = e1[1] * e2[2] - e1[2] * e2[1];
      k.normal[1] = e1[2] * e2[0] - e1[0] * e2[2];
      k.normal[2] = e1[0] * e2[1] - e1[1] * e2[0];
    }
    return made;
  }();
  return cases;
}

// The textbook segment/triangle test in double, as an application would
// write it; not inlined, so that both sides pay for a call.
[[gnu::noinline]] bool MollerTrumbore(const float* a, const float* b,
                                      const float* c, const float* s,
                                      const float* e, float* t, float* u,
                                      float* v) {
  constexpr double kEpsilon = 1e-12;
  double e1[3], e2[3], d[3], w[3];
  for (int i = 0; i < 3; ++i) {
    e1[i] = static_cast<double>(b[i]) - a[i];
    e2[i] = static_cast<double>(c[i]) - a[i];
    d[i] = static_cast<double>(e[i]) - s[i];
    w[i] = static_cast<double>(s[i]) - a[i];
  }
  const double p[3] = {d[1] * e2[2] - d[2] * e2[1], d[2] * e2[0] - d[0] * e2[2],
                       d[0] * e2[1] - d[1] * e2[0]};
  const double det = e1[0] * p[0] + e1[1] * p[1] + e1[2] * p[2];
  if (std::fabs(det) < kEpsilon) return false;
  const double inverse = 1.0 / det;
  const double uu = (w[0] * p[0] + w[1] * p[1] + w[2] * p[2]) * inverse;
  if (uu < 0.0 || uu > 1.0) return false;
  const double q[3] = {w[1] * e1[2] - w[2] * e1[1], w[2] * e1[0] - w[0] * e1[2],
                       w[0] * e1[1] - w[1] * e1[0]};
  const double vv = (d[0] * q[0] + d[1] * q[1] + d[2] * q[2]) * inverse;
  if (vv < 0.0 || uu + vv > 1.0) return false;
  const double tt = (e2[0] * q[0] + e2[1] * q[1] + e2[2] * q[2]) * inverse;
  if (tt < 0.0 || tt > 1.0) return false;
  *t = static_cast<float>(tt);
  *u = static_cast<float>(uu);
  *v = static_cast<float>(vv);
  return true;
}

template <class Test>
void RunIntersections(benchmark::State& state, Test test) {
  const std::vector<Case>& cases = Cases();
  std::size_t i = 0;
  int hits = 0;
  float t = 0, u = 0, v = 0;
  for (auto _ : state) {
    hits += test(cases[i++ & (kCases - 1)], &t, &u, &v) ? 1 : 0;
    benchmark::DoNotOptimize(t);
  }
  benchmark::DoNotOptimize(hits);
  state.counters["hit_rate"] =
      static_cast<double>(hits) / static_cast<double>(state.iterations());
}

bool IntersectNormal(const Case& k, float* t, float* u, float* v) {
  return X3DMath::IntersectPolygon(k.a, k.b, k.c, k.normal, k.s, k.e, t, u, v);
}

void IntersectNormalOurs(benchmark::State& state) {
  RunIntersections(state, IntersectNormal);
  // The quotients the six-input form computes per call on these cases: t
  // always; v once t is in range; u once v is in range too (u is written
  // only then). Moller-Trumbore computes one reciprocal.
  int divisions = 0;
  for (const Case& k : Cases()) {
    constexpr float kUntouched = -7.0f;
    float t = kUntouched, u = kUntouched, v = kUntouched;
    IntersectNormal(k, &t, &u, &v);
    divisions +=
        (t != kUntouched) + (t > 0.0f && t <= 1.0f) + (u != kUntouched);
  }
  state.counters["divisions_per_call"] =
      static_cast<double>(divisions) / static_cast<double>(kCases);
}

void IntersectCornersOurs(benchmark::State& state) {
  RunIntersections(state, [](const Case& k, float* t, float* u, float* v) {
    return X3DMath::IntersectPolygon(k.a, k.b, k.c, k.s, k.e, t, u, v);
  });
}

void IntersectMollerTrumbore(benchmark::State& state) {
  RunIntersections(state, [](const Case& k, float* t, float* u, float* v) {
    return MollerTrumbore(k.a, k.b, k.c, k.s, k.e, t, u, v);
  });
}

// --- 3x3 linear systems
// --------------------------------------------------------

// Row i: constant term, then the three coefficients.
using System = std::array<std::array<float, 4>, 3>;

const std::vector<System>& Systems() {
  static const std::vector<System> systems = [] {
    std::mt19937 random(5);
    std::uniform_real_distribution<float> entry(-1.0f, 1.0f);
    std::vector<System> made(kCases);
    for (System& m : made) {
      for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) m[i][j] = entry(random);
        m[i][i + 1] += 3.0f;  // dominant diagonal: well conditioned
      }
    }
    return made;
  }();
  return systems;
}

void SolveOurs(benchmark::State& state) {
  const std::vector<System>& systems = Systems();
  std::size_t i = 0;
  float x[3];
  for (auto _ : state) {
    const System& source = systems[i++ & (kCases - 1)];
    float m[3][4];
    for (int r = 0; r < 3; ++r) {
      for (int j = 0; j < 4; ++j) m[r][j] = source[r][j];
    }
    X3DMath::SolveSystem(m, 4, 3, x);
    benchmark::DoNotOptimize(x);
  }
}

void SolveEigen(benchmark::State& state) {
  const std::vector<System>& systems = Systems();
  std::size_t i = 0;
  Eigen::Vector3f x;
  for (auto _ : state) {
    const System& source = systems[i++ & (kCases - 1)];
    Eigen::Matrix3f a;
    Eigen::Vector3f b;
    for (int r = 0; r < 3; ++r) {
      b[r] = source[r][0];
      for (int j = 0; j < 3; ++j) a(r, j) = source[r][j + 1];
    }
    const Eigen::PartialPivLU<Eigen::Matrix3f> lu(a);
    x = lu.solve(b);
    benchmark::DoNotOptimize(x.data());
  }
}

BENCHMARK(IntersectNormalOurs)->Name("intersect6/ours");
BENCHMARK(IntersectMollerTrumbore)->Name("intersect6/theirs");
BENCHMARK(IntersectCornersOurs)->Name("intersect5/ours");
BENCHMARK(IntersectMollerTrumbore)->Name("intersect5/theirs");
BENCHMARK(SolveOurs)->Name("solve3/ours");
BENCHMARK(SolveEigen)->Name("solve3/theirs");

}  // namespace
}  // namespace morvane::bench
