// The recursive elimination behind X3DMath::SolveSystem, for any shape.
//
// SolveSystem runs the same algorithm unrolled for the square systems its
// contract names (n = k + 1, k from 1 to 3); this general form takes every
// other shape, and it is the reference that the x3dmath fuzzer holds the
// unrolled levels to, bit for bit.
#ifndef MORVANE_SRC_MATH_SOLVE_LEVELS_H_
#define MORVANE_SRC_MATH_SOLVE_LEVELS_H_

namespace morvane::math {

// SolveSystem's algorithm with n and k as given (n <= 4, k <= 3).
void SolveAnyShape(float (*m)[4], int n, int k, float* x);

}  // namespace morvane::math

#endif  // MORVANE_SRC_MATH_SOLVE_LEVELS_H_
