// X3DMath: the solver's results and the row exchanges it leaves in the
// caller's matrix; both intersection forms over a table of cases, with the
// outputs that the six-input form leaves alone. (The shapes the solver
// refuses: the x3dmath harness's seeds, which the suite replays.)
#include <gtest/gtest.h>
#include <morvane/X3DMath.h>

#include <cmath>

namespace {

constexpr float kKept = -777.0f;  // in outputs that must stay

// Equal, or both NaN, or less than `tol` apart; a failure shows both values
// (in all their digits: GoogleTest's messages print them so).
testing::AssertionResult Near(float want, float got, float tol = 0) {
  if (std::isnan(want) ? std::isnan(got)
                       : want == got || std::fabs(want - got) < tol)
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "want " << want << ", got " << got;
}

// --- SolveSystem ------------------------------------------------------------

// Each case: the matrix; k; x[0] to x[k - 1] (x[k] onward must keep the
// sentinel) and their tolerance; the input row that each row holds
// afterwards (what stands beyond column k stays).
TEST(SolveSystem, SolvesEachCaseInTheCallersMatrix) {
  // clang-format off
  const struct { const char* label; float rows[3][4]; int k; float x[3], tol;
                 int order[3]; } kCases[] = {
    // One equation: divides by any nonzero coefficient, 0 for a zero one.
    {"k = 1, tiny", {{6, 5e-5}}, 1, {120000}, 0, {0}},
    {"k = 1, zero", {{6, 0}}, 1, {0}, 0, {0}},
    // A pivot whose magnitude is the threshold (the float nearest 0.0001)
    // stays, one float step below is exchanged, and only the first n floats
    // of a row move; every later row with a nonzero last entry is exchanged
    // in turn, whatever its size.
    {"at threshold", {{1, 1, -1e-4f}, {2, 3, 1}}, 2, {1, -1}, .01f, {0, 1}},
    {"below it", {{1, 1, std::nextafter(1e-4f, 0.f), 7}, {2, 3, 1, 8}}, 2,
     {1, -1}, .01f, {1, 0}},
    {"in turn", {{1, 1, 0, 1e-5}, {2, 0, 1, 1}, {3, 0, 0, 2}}, 3,
     {.999985, .5, 1.5}, 0, {2, 0, 1}},
    // The factor -pivot / entry, its products and the sum s stay in double
    // until stored: this gives the floats nearest the true (0.1, 0.3). Any
    // earlier rounding, or the textbook step (row i minus q / p times row 0),
    // lands a float away.
    {"rounding", {{1, 1, 3}, {2, 5, 5}}, 2, {.1, .3}, 0, {0, 1}},
  };
  // clang-format on
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.label);
    auto m = c;  // its rows are the caller's matrix
    float x[4] = {kKept, kKept, kKept, kKept};
    X3DMath::SolveSystem(m.rows, c.k + 1, c.k, x);
    for (int j = 0; j < 4; ++j)
      EXPECT_TRUE(Near(j < c.k ? c.x[j] : kKept, x[j], c.tol)) << j;
    for (int i = 0; i < c.k; ++i)
      for (int j = 0; j < 4; ++j)
        EXPECT_TRUE(Near(c.rows[j > c.k ? i : c.order[i]][j], m.rows[i][j]));
  }
}

// --- IntersectPolygon -------------------------------------------------------

// Triangles: corners A, B, C, then the normal N for the six-input form.
constexpr float kFlat[4][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
// Just below z = 0: a segment from z = 1 to 0 meets it at t = 1 + 2^-30.
constexpr float h = -0x1p-30f;
constexpr float kLow[4][3] = {{0, 0, h}, {1, 0, h}, {0, 1, h}, {0, 0, 1}};
// No side along an axis, the normal given the other way round: the general
// forms of the solution, with B - A across the first axis kept, or along it.
constexpr float kSlanted[4][3] = {{1, 1, 1}, {3, -1, 2}, {-2, 0, 4}, {5, 9, 8}};
constexpr float kSteep[4][3] = {{1, 1, 1}, {1, 3, 2}, {3, 2, 0}, {-3, 2, -4}};
// A normal that does not belong to the triangle (plane x + z = 0); ties of
// the projection drop the later axis.
constexpr float kTilt[4][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 0, 1}};
// B and A share x: the first branch of the six-input form's solution; with
// y and z tied (plane z = y), x and y are kept.
constexpr float kSwapped[4][3] = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, -1, 1}};
// Normals along x, and with x and y tied: seen along the axis dropped, these
// have no area (A, B, C level on the first axis kept; B on A), where the axis
// wrongly dropped would see some.
constexpr float kFacingX[4][3] = {{0, 0, 0}, {0, 0, 1}, {1, 0, 0}, {3, 0, 0}};
constexpr float kTiedXY[4][3] = {{0, 0, 0}, {0, 1, 0}, {1, 0, 1}, {1, 1, 0}};
// No area at all: the corners on a line.
constexpr float kLine[4][3] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 0, 1}};

// Each case: the triangle, S and E; the two forms' answers (1: a hit); how
// many of t, u, v the six-input form writes; the five-input form's t, u, v,
// which the six-input form's match, except for a t of its own where given.
TEST(IntersectPolygon, BothFormsAnswerEachCase) {
  // clang-format off
  const struct { const char* label; const float (*g)[3]; float s[3], e[3];
                 int five, six, six_writes; float tuv[3], six_t = 0; }
  kCases[] = {
    {"inside", kFlat, {.25, .25, 1}, {.25, .25, -1}, 1, 1, 3, {.5, .25, .25}},
    {"starts on", kFlat, {.25, .25, 0}, {.25, .25, -1}, 1, 0, 1, {0, .25, .25}},
    {"ends on it", kFlat, {.25, .25, 1}, {.25, .25, 0}, 1, 1, 3, {1, .25, .25}},
    {"short", kFlat, {.25, .25, 1}, {.25, .25, .5}, 0, 0, 1, {2, .25, .25}},
    // The six-input form judges t as computed, and writes it rounded.
    {"t = 1+2^-30", kLow, {.25, .25, 1}, {.25, .25, 0}, 1, 0, 1, {1, .25, .25}},
    {"t = 2^-169", kFlat, {.25, .25, 0x1p-149f}, {.25, .25, -0x1p20f}, 1, 1, 3,
     {0, .25, .25}},
    {"u < 0", kFlat, {-.25, .25, 1}, {-.25, .25, -1}, 0, 0, 3, {.5, -.25, .25}},
    {"v < 0", kFlat, {.25, -.25, 1}, {.25, -.25, -1}, 0, 0, 1, {.5, .25, -.25}},
    {"u+v > 1", kFlat, {.75, .75, 1}, {.75, .75, -1}, 0, 0, 3, {.5, .75, .75}},
    {"edge BC", kFlat, {.5, .5, 1}, {.5, .5, -1}, 1, 1, 3, {.5, .5, .5}},
    {"corner B", kFlat, {1, 0, 1}, {1, 0, -1}, 1, 1, 3, {.5, 1, 0}},
    {"slanted", kSlanted, {-.5, -.5, 3.25}, {.5, .5, 2.25}, 1, 1, 3,
     {.5, .25, .5}},
    {"steep", kSteep, {2, 2, 1.75}, {2, 2, -.25}, 1, 1, 3, {.5, .25, .5}},
    // Parallel to the plane: the six-input form writes nothing; the
    // five-input form's solver gives t = 0 and locates the start.
    {"parallel", kFlat, {.25, .25, 1}, {.5, .25, 1}, 1, 0, 0, {0, .25, .25}},
    {"tilted normal", kTilt, {.25, .25, 1}, {.25, .25, -1}, 1, 1, 3,
     {.5, .25, .25}, .625},
    {"corner C", kSwapped, {1, 0, 1}, {1, 0, -1}, 1, 1, 3, {.5, 0, 1}},
    // The six-input form writes only t and makes none of the divisions by
    // zero (they would give NaN or infinity).
    {"facing x", kFacingX, {1, .25, .25}, {-1, -.25, .25}, 1, 0, 1,
     {.5, .25, 0}},
    {"x, y tied", kTiedXY, {1, 1, .25}, {-1, -1, .25}, 1, 0, 1,
     {.375, .25, .25}, .5},
    // Without area the five-input form's weights are not finite (a NaN passes
    // its range tests).
    {"on a line", kLine, {.5, 0, 1}, {.5, 0, -1}, 1, 0, 1, {.5, NAN, NAN}},
  };
  // clang-format on
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.label);
    // The five-input form's t, u, v, then the six-input form's.
    float out[6] = {kKept, kKept, kKept, kKept, kKept, kKept};
    EXPECT_EQ(c.five, X3DMath::IntersectPolygon(c.g[0], c.g[1], c.g[2], c.s,
                                                c.e, out, out + 1, out + 2));
    EXPECT_EQ(c.six,
              X3DMath::IntersectPolygon(c.g[0], c.g[1], c.g[2], c.g[3], c.s,
                                        c.e, out + 3, out + 4, out + 5));
    for (int i = 0; i < 6; ++i) {
      const float want = i == 3 && c.six_t != 0 ? c.six_t : c.tuv[i % 3];
      EXPECT_TRUE(Near(i - 3 >= c.six_writes ? kKept : want, out[i])) << i;
    }
  }
}

}  // namespace
