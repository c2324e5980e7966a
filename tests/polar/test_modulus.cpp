#include "zu_test.h"

#include <cmath>
#include <iterator>

namespace {

const double kInf = zt::Inf();
const double kNaN = zt::NaN();  // the library's own NaN
const double kPi = 3.141592653589793;

struct RealCase {
    double re, im, expected;
};

// Runs f on every case and checks that errno still holds the sentinel.
template <class F>
void check_real(const RealCase* begin, const RealCase* end, F f) {
    for (const RealCase* c = begin; c != end; ++c) {
        SCOPED_TRACE(zt::describe(DComplex(c->re, c->im)));
        errno = zt::kErrnoSentinel;
        EXPECT_SAME(c->expected, f(DComplex(c->re, c->im)));
        EXPECT_EQ(zt::kErrnoSentinel, errno);
    }
}

TEST(Modulus, AbsClassifiesThenScales) {
    static const RealCase cases[] = {
        {kNaN, kInf, kNaN},  // the NaN test comes before the infinity test
        {kInf, kNaN, kNaN},
        {-kInf, 1.0, kInf},
        {1.0, -kInf, kInf},
        {-0.0, 0.0, -0.0},  // a real part is negated only when below zero
        {-0.0, -0.0, -0.0},
        {0.0, -0.0, 0.0},
        {-5.0, 0.0, 5.0},
        {0.0, -5.0, 5.0},
        {-0.0, -5.0, 5.0},
        {3.0, 4.0, 5.0},
        {-4.0, -3.0, 5.0},
        // Without the exchange y/x would overflow (or underflow to a lost part).
        {1e-300, 1e300, 1e300},
        {1e300, 1e-300, 1e300},
        // Neither part is squared, so large and tiny moduli survive.
        {1e308, 1e308, 1.4142135623730951e308},
        {1e-200, 1e-200, 1.414213562373095e-200},
        {1.7e308, 1.7e308, kInf},  // the modulus itself is beyond the range
    };
    check_real(std::begin(cases), std::end(cases), [](const DComplex& z) { return abs(z); });
}

TEST(Modulus, NormIsUnscaled) {
    static const RealCase cases[] = {
        {kInf, kNaN, kNaN}, {kNaN, 0.0, kNaN}, {-kInf, 0.0, kInf}, {0.0, kInf, kInf},
        {3.0, -4.0, 25.0}, {-0.0, -0.0, 0.0},
        // Squared directly: finite parts can overflow or vanish.
        {1e200, 0.0, kInf}, {1e154, 1e154, kInf}, {1e-200, 1e-200, 0.0},
    };
    check_real(std::begin(cases), std::end(cases), [](const DComplex& z) { return norm(z); });
}

TEST(Modulus, ArgFollowsAtan2AfterItsOwnTests) {
    static const RealCase cases[] = {
        {kNaN, 0.0, kNaN}, {0.0, kNaN, kNaN},
        {kInf, -kInf, kNaN}, {-kInf, kInf, kNaN},  // both parts infinite
        {0.0, 0.0, kNaN}, {-0.0, -0.0, kNaN}, {0.0, -0.0, kNaN}, {-0.0, 0.0, kNaN},
        // The sign of a zero part picks the side of the cut.
        {-1.0, 0.0, kPi}, {-1.0, -0.0, -kPi}, {1.0, -0.0, -0.0}, {-0.0, 1.0, kPi / 2},
        // One infinite part still goes to atan2.
        {kInf, 1.0, 0.0}, {kInf, -1.0, -0.0}, {-kInf, 1.0, kPi}, {-kInf, -1.0, -kPi},
        {1.0, kInf, kPi / 2}, {0.0, -kInf, -kPi / 2},
        {1.0, 1.0, kPi / 4}, {1e300, 1e-300, 0.0},  // atan2 underflows here
    };
    for (const RealCase& c : cases) {
        SCOPED_TRACE(zt::describe(DComplex(c.re, c.im)));
        // Only cases that reach atan2 may see errno changed, and only as atan2 itself changes it.
        const bool reaches_atan2 = !std::isnan(c.expected);
        volatile double sink = 0.0;
        const int want =
            reaches_atan2 ? zt::errno_after([&] { sink = zt::real::atan2(c.im, c.re); }) : zt::kErrnoSentinel;
        errno = zt::kErrnoSentinel;
        EXPECT_SAME(c.expected, arg(DComplex(c.re, c.im)));
        EXPECT_EQ(want, errno);
    }
}

TEST(Modulus, PolarTestsThetaAndZeroButNotInfiniteR) {
    static const struct {
        double r, theta;
        DComplex expected;
    } cases[] = {
        // NaN and infinite theta are tested before r == 0.
        {1.0, kInf, {kNaN, kNaN}}, {1.0, -kInf, {kNaN, kNaN}}, {kNaN, 0.0, {kNaN, kNaN}},
        {0.0, kNaN, {kNaN, kNaN}}, {0.0, kInf, {kNaN, kNaN}},
        {0.0, 5.0, {0.0, 0.0}}, {-0.0, -2.0, {0.0, 0.0}},
        {2.0, 0.0, {2.0, 0.0}}, {2.0, -0.0, {2.0, -0.0}}, {-1.0, 0.0, {-1.0, -0.0}},
        {1.0, kPi / 2, {6.123233995736766e-17, 1.0}},  // no snapping of tiny factors here
        {kInf, 0.0, {kInf, zt::kAnyNaN}},  // inf * sin 0
        {-kInf, 1.0, {-kInf, -kInf}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("r " + zt::describe(c.r) + ", theta " + zt::describe(c.theta));
        errno = zt::kErrnoSentinel;
        EXPECT_SAME_C(c.expected, polar(c.r, c.theta));
        EXPECT_EQ(zt::kErrnoSentinel, errno);
    }
}

}  // namespace
