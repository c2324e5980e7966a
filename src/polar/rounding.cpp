// Component-wise ceiling, floor and rounding, and the library's real
// rounding. None of them tests for NaN or infinity: the C library's ceil and
// floor pass them through.
#include "zu_complex.h"
#include "real/real.h"

// Halves away from zero: ceil(x - 0.5) below zero, floor(x + 0.5) otherwise.
// The comparison is strict, so -0.0 takes the floor path and rounds to +0.0;
// -0.3 rounds to ceil(-0.8) = -0.0.
//
// Two inputs defeat the sum-then-floor formula and are answered before it:
// - the largest double below one half: x + 0.5 is exactly 1 - 2^-54, a tie
//   that rounds to 1.0, so 0.49999999999999994 would round to 1.0 (and its
//   negation to -1.0); every |x| < 0.5 rounds to a zero of the formula's sign;
// - |x| >= 2^52: such doubles are integers already, but for odd ones in
//   [2^52, 2^53) x +- 0.5 is a tie that rounds to the even neighbour, one
//   further from zero. They come back unchanged (as they do from 2^53 on).
// A NaN fails every comparison and goes through floor(x + 0.5).
extern "C" double Vel_Round(double x) {
    constexpr double kHalf = 0.5;
    constexpr double kAllIntegral = 0x1p52;  // from here on every double is an integer
    if (x < 0.0) {
        if (x > -kHalf) return -0.0;
        if (x <= -kAllIntegral) return x;
        return zu::real::ceil(x - kHalf);
    }
    if (x < kHalf) return 0.0;  // +0.0, -0.0 included
    if (x >= kAllIntegral) return x;
    return zu::real::floor(x + kHalf);
}

DComplex ceil(const DComplex& z) { return DComplex(zu::real::ceil(z.re), zu::real::ceil(z.im)); }

DComplex floor(const DComplex& z) { return DComplex(zu::real::floor(z.re), zu::real::floor(z.im)); }

DComplex round(const DComplex& z) { return DComplex(Vel_Round(z.re), Vel_Round(z.im)); }
