#include <gtest/gtest.h>
#include <morvane/X3DMath.h>

#include <cmath>
#include <limits>

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kSentinel = -777.0f;
constexpr float kThreshold = 0.0001f;

struct SolveCase {
  const char* name;
  int k;
  float rows[3][4];
  float expected[3];  // x[0..k-1]; NaN means NaN
  float tolerance;    // 0: exact
  int order[3];       // input row that each row of the matrix holds after
};

// clang-format off
const SolveCase kCases[] = {
    // name, k, rows; x, tolerance; row order afterwards.
    // Worked example and the one-equation case.
    {"worked example", 2, {{5, 1, 2}, {6, 3, 4}}, {-4, 4.5f}, 0, {0, 1}},
    {"one equation", 1, {{6, 3}}, {2}, 0, {0}},
    {"one equation, zero coefficient", 1, {{6, 0}}, {0}, 0, {0}},
    {"one equation ignores the threshold", 1, {{6, 0.00005f}},
     {120000}, 0.01f, {0}},
    // Row exchange: every nonzero row in turn, whatever its size.
    {"zero pivot exchanged", 2, {{1, 1, 0}, {2, 0, 1}}, {1, 2}, 0, {1, 0}},
    {"every nonzero row exchanged, no early stop", 3,
     {{1, 1, 0, 0.00001f}, {2, 0, 1, 1}, {3, 0, 0, 2}},
     {0.999985f, 0.5f, 1.5f}, 1e-6f, {2, 0, 1}},
    {"exchanged for a smaller entry", 2,
     {{1, 1, -0.00005f}, {2, 3, 0.00001f}}, {0.6875f, -6250}, 0.01f, {1, 0}},
    {"no row qualifies, small pivot used", 2,
     {{1, 1, 0.00001f}, {2, 3, 0}}, {0.6666667f, 33333.3f}, 0.1f, {0, 1}},
    // Singular systems flow through IEEE arithmetic.
    {"zero last column", 3, {{1, 1, 0, 0}, {2, 0, 1, 0}, {3, 1, 1, 0}},
     {1, 2, kNaN}, 0, {0, 1, 2}},
    {"zero coefficients", 2, {{1, 0, 0}, {2, 0, 0}}, {0, kInf}, 0, {0, 1}},
    // The factor is -pivot / entry and reduced rows are rounded to float:
    // -1e30 * 1e10 overflows, where the textbook step would give (1, 1).
    {"divisor is the other row's entry", 2,
     {{1, 0, 1}, {1e10f, 1e10f, 1e-30f}}, {kNaN, kNaN}, 0, {0, 1}},
    // Non-finite inputs.
    {"infinite constant", 1, {{kInf, 2}}, {kInf}, 0, {0}},
    {"infinite coefficient", 1, {{6, kInf}}, {0}, 0, {0}},
    {"NaN constant", 1, {{kNaN, 2}}, {kNaN}, 0, {0}},
    {"NaN coefficient divides", 1, {{6, kNaN}}, {kNaN}, 0, {0}},
    {"NaN pivot is not small", 2, {{1, 1, kNaN}, {2, 3, 1}},
     {kNaN, kNaN}, 0, {0, 1}},
    {"NaN entry counts as nonzero", 2, {{1, 1, 0}, {2, 3, kNaN}},
     {1, kNaN}, 0, {1, 0}},
    {"infinite pivot", 2, {{1, 1, kInf}, {2, 3, 1}}, {kNaN, kNaN}, 0, {0, 1}},
};
// clang-format on

void ExpectValue(float expected, float actual, float tolerance) {
  if (std::isnan(expected)) {
    EXPECT_TRUE(std::isnan(actual)) << actual;
  } else if (tolerance == 0) {
    EXPECT_EQ(expected, actual);
  } else {
    EXPECT_NEAR(expected, actual, tolerance);
  }
}

bool SameFloat(float expected, float actual) {
  return (std::isnan(expected) && std::isnan(actual)) || expected == actual;
}

TEST(SolveSystem, Table) {
  for (const SolveCase& c : kCases) {
    SCOPED_TRACE(c.name);
    float m[3][4];
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 4; ++j) m[i][j] = c.rows[i][j];
    }
    float x[4] = {kSentinel, kSentinel, kSentinel, kSentinel};
    X3DMath::SolveSystem(m, c.k + 1, c.k, x);

    for (int j = 0; j < c.k; ++j) ExpectValue(c.expected[j], x[j], c.tolerance);
    for (int j = c.k; j < 4; ++j)
      EXPECT_EQ(kSentinel, x[j]) << "x[" << j << "]";
    for (int i = 0; i < c.k; ++i) {
      for (int j = 0; j <= c.k; ++j) {
        EXPECT_TRUE(SameFloat(c.rows[c.order[i]][j], m[i][j]))
            << "row " << i << " column " << j << ": " << m[i][j];
      }
    }
  }
}

// The threshold is the float nearest 0.0001 (below 0.0001 itself), compared
// strictly and by magnitude.
TEST(SolveSystem, PivotThreshold) {
  const struct {
    float pivot;
    bool exchanged;
  } kPivots[] = {
      {kThreshold, false},
      {-kThreshold, false},
      {std::nextafter(kThreshold, 0.0f), true},
      {-std::nextafter(kThreshold, 0.0f), true},
      {0.0f, true},
  };
  for (const auto& p : kPivots) {
    SCOPED_TRACE(p.pivot);
    float m[2][4] = {{1, 1, p.pivot, kSentinel}, {2, 3, 1, kSentinel}};
    float x[2];
    X3DMath::SolveSystem(m, 3, 2, x);
    EXPECT_EQ(p.exchanged ? 2.0f : 1.0f, m[0][0]);
    EXPECT_EQ(p.exchanged ? p.pivot : 1.0f, m[1][2]);
  }
}

// An exchange moves the first n floats of a row and nothing beyond them.
TEST(SolveSystem, ExchangeLeavesColumnsBeyondN) {
  float m[2][4] = {{1, 1, 0, -1}, {2, 0, 1, -2}};
  float x[2];
  X3DMath::SolveSystem(m, 3, 2, x);
  EXPECT_EQ(2.0f, m[0][0]);
  EXPECT_EQ(1.0f, m[1][0]);
  EXPECT_EQ(-1.0f, m[0][3]);
  EXPECT_EQ(-2.0f, m[1][3]);
}

TEST(X3DMathAssignment, ChangesNothing) {
  X3DMath first;
  const X3DMath second;
  EXPECT_EQ(&first, &(first = second));
}

}  // namespace
