#include <gtest/gtest.h>
#include <morvane/X3DMath.h>

#include <cmath>
#include <limits>

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kSentinel = -777.0f;

// The triangle most cases use, and its normal for the six-input form.
constexpr float kA[3] = {0, 0, 0};
constexpr float kB[3] = {1, 0, 0};
constexpr float kC[3] = {0, 1, 0};
constexpr float kUp[3] = {0, 0, 1};

// Which outputs the six-input form writes.
enum Written { kNone = 0, kTOnly = 1, kAll = 3 };

struct Outputs {
  float tuv[3] = {kSentinel, kSentinel, kSentinel};
};

bool Five(const float* a, const float* b, const float* c, const float* s,
          const float* e, Outputs& out) {
  return X3DMath::IntersectPolygon(a, b, c, s, e, &out.tuv[0], &out.tuv[1],
                                   &out.tuv[2]);
}

bool Six(const float* a, const float* b, const float* c, const float* n,
         const float* s, const float* e, Outputs& out) {
  return X3DMath::IntersectPolygon(a, b, c, n, s, e, &out.tuv[0], &out.tuv[1],
                                   &out.tuv[2]);
}

// The first `written` outputs hold `expected`, the others their sentinel.
void ExpectOutputs(const float* expected, int written, const Outputs& out) {
  static const char* const kNames[] = {"t", "u", "v"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(i < written ? expected[i] : kSentinel, out.tuv[i]) << kNames[i];
  }
}

struct TableCase {
  const char* name;
  float s[3];
  float e[3];
  bool five_hit;
  float five[3];
  bool six_hit;
  Written six_written;
  float six[3];
};

// clang-format off
const TableCase kTable[] = {
    // name, S, E; five-input answer and t, u, v; six-input answer, outputs.
    {"through the inside", {.25f, .25f, 1}, {.25f, .25f, -1},
     true, {.5f, .25f, .25f}, true, kAll, {.5f, .25f, .25f}},
    {"starts on the triangle", {.25f, .25f, 0}, {.25f, .25f, -1},
     true, {0, .25f, .25f}, false, kTOnly, {0}},
    {"ends on the triangle", {.25f, .25f, 1}, {.25f, .25f, 0},
     true, {1, .25f, .25f}, true, kAll, {1, .25f, .25f}},
    {"stops short", {.25f, .25f, 1}, {.25f, .25f, .5f},
     false, {2, .25f, .25f}, false, kTOnly, {2}},
    {"u < 0", {-.25f, .25f, 1}, {-.25f, .25f, -1},
     false, {.5f, -.25f, .25f}, false, kAll, {.5f, -.25f, .25f}},
    {"v < 0", {.25f, -.25f, 1}, {.25f, -.25f, -1},
     false, {.5f, .25f, -.25f}, false, kTOnly, {.5f}},
    {"v > 1", {0, 2, 1}, {0, 2, -1},
     false, {.5f, 0, 2}, false, kTOnly, {.5f}},
    {"u + v > 1", {.75f, .75f, 1}, {.75f, .75f, -1},
     false, {.5f, .75f, .75f}, false, kAll, {.5f, .75f, .75f}},
    {"through edge BC", {.5f, .5f, 1}, {.5f, .5f, -1},
     true, {.5f, .5f, .5f}, true, kAll, {.5f, .5f, .5f}},
    {"through corner B", {1, 0, 1}, {1, 0, -1},
     true, {.5f, 1, 0}, true, kAll, {.5f, 1, 0}},
    // The five-input form leaves a parallel segment to the solver, whose
    // one-equation rule gives t = 0 and locates the start over the triangle.
    {"parallel to the plane", {.25f, .25f, 1}, {.5f, .25f, 1},
     true, {0, .25f, .25f}, false, kNone, {0}},
    // A zero-length segment is parallel to everything.
    {"zero length", {.25f, .25f, 1}, {.25f, .25f, 1},
     true, {0, .25f, .25f}, false, kNone, {0}},
};
// clang-format on

TEST(IntersectPolygon, FiveInputTable) {
  for (const TableCase& c : kTable) {
    SCOPED_TRACE(c.name);
    Outputs out;
    EXPECT_EQ(c.five_hit, Five(kA, kB, kC, c.s, c.e, out));
    ExpectOutputs(c.five, 3, out);
  }
}

TEST(IntersectPolygon, SixInputTable) {
  for (const TableCase& c : kTable) {
    SCOPED_TRACE(c.name);
    Outputs out;
    EXPECT_EQ(c.six_hit, Six(kA, kB, kC, kUp, c.s, c.e, out));
    ExpectOutputs(c.six, c.six_written, out);
  }
}

// Six-input form: normals of any length and side, normals that do not belong
// to the triangle, the projection's tie rules and triangles without area.
struct NormalCase {
  const char* name;
  float a[3], b[3], c[3], n[3], s[3], e[3];
  bool hit;
  Written written;
  float tuv[3];
};

// clang-format off
const NormalCase kNormalCases[] = {
    // name; A, B, C, N; S, E; answer, outputs.
    {"A and B share x: first branch",
     {0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, -1}, {.25f, .25f, 1},
     {.25f, .25f, -1}, true, kAll, {.5f, .25f, .25f}},
    {"first branch, long normal",
     {0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 5}, {.25f, .25f, 1},
     {.25f, .25f, -1}, true, kAll, {.5f, .25f, .25f}},
    {"zero normal",
     {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 0}, {.25f, .25f, 1},
     {.25f, .25f, -1}, false, kNone, {0}},
    // Plane x + z = 0; the x-z tie keeps (x, y).
    {"normal not perpendicular",
     {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 0, 1}, {.25f, .25f, 1},
     {.25f, .25f, -1}, true, kAll, {.625f, .25f, .25f}},
    {"y-z tie keeps (x, y)",
     {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 1}, {.25f, .25f, 1},
     {.25f, .25f, -1}, true, kAll, {.375f, .25f, .25f}},
    {"three-way tie keeps (x, y)",
     {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 1}, {.25f, .25f, 1},
     {.25f, .25f, -1}, true, kAll, {.75f, .25f, .25f}},
    // Triangles in the planes y = 0 and x = 0: only one projection sees
    // their area.
    {"x-y tie keeps (x, z)",
     {0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, 1, 0}, {.25f, 1, .25f},
     {.25f, -1, .25f}, true, kAll, {.625f, .25f, .25f}},
    {"dominant y keeps (x, z)",
     {0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, -2, 0}, {.25f, 1, .25f},
     {.25f, -1, .25f}, true, kAll, {.5f, .25f, .25f}},
    {"dominant x keeps (y, z)",
     {0, 0, 0}, {0, 1, 0}, {0, 0, 1}, {3, 0, 0}, {1, .25f, .25f},
     {-1, .25f, .25f}, true, kAll, {.5f, .25f, .25f}},
    // No area on the kept axes: a miss with t only, no division by zero.
    {"corners on one line",
     {0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 0, 1}, {.5f, 0, 1},
     {.5f, 0, -1}, false, kTOnly, {.5f}},
    {"B and C on A",
     {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 1}, {0, 0, 1},
     {0, 0, -1}, false, kTOnly, {.5f}},
    {"first branch, B on A",
     {0, 0, 0}, {0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {.5f, 0, 1},
     {.5f, 0, -1}, false, kTOnly, {.5f}},
};
// clang-format on

TEST(IntersectPolygon, SixInputNormals) {
  for (const NormalCase& c : kNormalCases) {
    SCOPED_TRACE(c.name);
    Outputs out;
    EXPECT_EQ(c.hit, Six(c.a, c.b, c.c, c.n, c.s, c.e, out));
    ExpectOutputs(c.tuv, c.written, out);
  }
}

// Five-input form on a triangle without area: the singular system gives
// infinite weights, which the range tests reject.
TEST(IntersectPolygon, FiveInputCollinearCorners) {
  const float b[3] = {1, 0, 0};
  const float c[3] = {2, 0, 0};
  const float s[3] = {.5f, .5f, 1};
  const float e[3] = {.5f, .5f, -1};
  Outputs out;
  EXPECT_FALSE(Five(kA, b, c, s, e, out));
  EXPECT_EQ(.5f, out.tuv[0]);
  EXPECT_EQ(kInf, out.tuv[1]);
  EXPECT_EQ(-kInf, out.tuv[2]);
}

// The five-input form keeps its working data in static storage: one call's
// answer does not depend on the call before it.
TEST(IntersectPolygon, FiveInputRepeatable) {
  const float s[3] = {.25f, .25f, 1};
  const float e[3] = {.25f, .25f, -1};
  const float far_s[3] = {5, 5, 5};
  const float far_e[3] = {6, -7, 8};
  Outputs first, between, again;
  EXPECT_TRUE(Five(kA, kB, kC, s, e, first));
  Five(kA, kB, kC, far_s, far_e, between);
  EXPECT_TRUE(Five(kA, kB, kC, s, e, again));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(first.tuv[i], again.tuv[i]);
}

}  // namespace
