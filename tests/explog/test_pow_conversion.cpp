// pow(z, double) hands a finite integral exponent within the range of int to
// pow(z, int). That conversion is the library's only double-to-int one, and
// converting a NaN, an infinity or an integral value beyond int is undefined
// behaviour in C++: the range test must decide before any conversion. On x86
// such a conversion would quietly give INT_MIN, so each exponent below is
// paired with a base for which pow(z, INT_MIN) is visibly different from the
// right answer; the sanitizer build additionally traps the conversion itself.
#include "zu_test.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <string>

namespace {

const double kInf = zt::Inf();
const DComplex kNaNs(zt::NaN(), zt::NaN());
const DComplex kI(0.0, 1.0);

// i^y on the polar row for a non-integral or out-of-range y: modulus
// 1^y = 1, angle (pi/2) y, factors within 2^-49 of zero made exact zeros.
// For 2^31 the angle is pi 2^30, whose sine is the small residue of pi's
// rounding; i^INT_MIN, the wrong answer, has the opposite sign there.
// The real functions run at run time, as in the library: a compiler that
// folds cos of a constant rounds correctly, the math library need not.
DComplex i_to_the(double y) {
    auto snap = [](double v) { return std::fabs(v) <= std::ldexp(1.0, -49) ? 0.0 : v; };
    volatile double one = 1.0, exponent = y;
    const double phi = zt::real::atan2(one, 0.0) * exponent;
    return DComplex(snap(zt::real::cos(phi)), snap(zt::real::sin(phi)));
}

TEST(PowConversion, ExponentsOutsideIntNeverConverted) {
    const double two31 = 2147483648.0;
    const struct { DComplex z; double y; DComplex want; } cases[] = {
        // A zero base: y > 0 gives (0, 0), y < 0 (+inf, 0); INT_MIN would give (+inf, 0).
        {{0.0, 0.0}, two31, {0.0, 0.0}},
        {{0.0, 0.0}, 1e300, {0.0, 0.0}},
        {{0.0, 0.0}, DBL_MAX, {0.0, 0.0}},
        {{0.0, 0.0}, kInf, {0.0, 0.0}},
        {{0.0, 0.0}, -kInf, {kInf, 0.0}},
        {{0.0, 0.0}, -two31 - 1.0, {kInf, 0.0}},
        {{0.0, 0.0}, 0x1p63, {0.0, 0.0}},
        {{0.0, 0.0}, 0x1p64, {0.0, 0.0}},
        // NaN beats every row: (NaN, NaN), not pow(z, INT_MIN).
        {{0.0, 0.0}, zt::NaN(), kNaNs},
        {{0.0, 0.0}, -std::nan(""), kNaNs},
        {kI, std::nan(""), kNaNs},
        // An infinite angle fails the final check.
        {kI, kInf, kNaNs},
        {kI, -kInf, kNaNs},
        // Integral but beyond int, and just off an integer inside the range.
        {kI, two31, i_to_the(two31)},
        {kI, 4294967296.0, i_to_the(4294967296.0)},
        {kI, 1e300, i_to_the(1e300)},
        {kI, -1e300, i_to_the(-1e300)},
        {kI, 2147483647.5, i_to_the(2147483647.5)},
        {kI, -2147483648.5, i_to_the(-2147483648.5)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(zt::describe(c.z) + " ^ " + zt::describe(c.y));
        EXPECT_SAME_C(c.want, pow(c.z, c.y));
        // The complex-exponent overload hands a real exponent on unchanged.
        EXPECT_SAME_C(c.want, pow(c.z, DComplex(c.y, 0.0)));
    }
}

// The edges that do convert: the result is the integer overload's, bit for bit.
TEST(PowConversion, IntegralExponentsWithinIntConverted) {
    const double exponents[] = {INT_MAX, INT_MIN, INT_MAX - 1.0, INT_MIN + 1.0, -0.0, 0x1p30, -0x1p30};
    const int as_int[] = {INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1, 0, 1 << 30, -(1 << 30)};
    const DComplex bases[] = {kI, {0.0, 0.0}, {-1.0, 0.0}, {0.6, 0.8}, {kInf, 0.0}, {-kInf, 0.0}};
    for (const DComplex& z : bases) {
        for (std::size_t k = 0; k < sizeof exponents / sizeof exponents[0]; ++k) {
            SCOPED_TRACE(zt::describe(z) + " ^ " + std::to_string(as_int[k]));
            EXPECT_SAME_C(pow(z, as_int[k]), pow(z, exponents[k]));
        }
    }
}

}  // namespace
