// The portable sin, cos and atan2: special values and errno, the arguments
// that are hard to reduce (next to multiples of pi/2, up to the largest
// double) and atan2 in every quadrant, checked against exact values computed
// with mpmath (tests/real/trig_cases.h), in every rounding mode.
#include "zu_test.h"

#include "real/portable.h"

#include <cfenv>
#include <cmath>
#include <string>

namespace portable = zu::real::portable;

namespace {

#include "trig_cases.h"

constexpr std::uint64_t kDomainNaN = 0x7ff8000000000000u;

// |got - (hi + lo)| in ulps of hi (hi is the exact value rounded to nearest;
// got - hi is exact for results within a few ulps).
double ulps(double got, double hi, double lo) {
    const int e = std::ilogb(hi);
    const double ulp = std::ldexp(1.0, (e < -1022 ? -1022 : e) - 52);
    return std::fabs((got - hi) - lo) / ulp;
}

const int kModes[] = {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO};

}  // namespace

TEST(PortableTrig, SpecialValuesAndErrno) {
    const double inf = zt::Inf(), nan = zt::kAnyNaN, tiny = 4.9e-324;
    const double pi = 0x1.921fb54442d18p+1, pio2 = 0x1.921fb54442d18p+0;
    const double pio4 = 0x1.921fb54442d18p-1, tpio4 = 0x1.2d97c7f3321d2p+1;
    struct Case {
        const char* f;
        double y, x, expected;
        int err;
    };
    const int none = zt::kErrnoSentinel;
    const Case cases[] = {
        {"sin", 0.0, 0, 0.0, none},       {"sin", -0.0, 0, -0.0, none},
        {"sin", tiny, 0, tiny, none},     {"sin", -0x1p-1022, 0, -0x1p-1022, none},
        {"sin", inf, 0, nan, EDOM},       {"sin", -inf, 0, nan, EDOM},
        {"sin", nan, 0, nan, none},       {"cos", 0.0, 0, 1.0, none},
        {"cos", -0.0, 0, 1.0, none},      {"cos", -tiny, 0, 1.0, none},
        {"cos", inf, 0, nan, EDOM},       {"cos", -inf, 0, nan, EDOM},
        {"cos", nan, 0, nan, none},
        // atan2(y, x): signed zeros, infinities, NaNs, underflow.
        {"atan2", 0.0, 0.0, 0.0, none},   {"atan2", -0.0, 0.0, -0.0, none},
        {"atan2", 0.0, -0.0, pi, none},   {"atan2", -0.0, -0.0, -pi, none},
        {"atan2", 0.0, 2.0, 0.0, none},   {"atan2", -0.0, 2.0, -0.0, none},
        {"atan2", 0.0, -2.0, pi, none},   {"atan2", -0.0, -2.0, -pi, none},
        {"atan2", 2.0, 0.0, pio2, none},  {"atan2", -2.0, -0.0, -pio2, none},
        {"atan2", inf, 2.0, pio2, none},  {"atan2", -inf, -2.0, -pio2, none},
        {"atan2", inf, inf, pio4, none},  {"atan2", -inf, inf, -pio4, none},
        {"atan2", inf, -inf, tpio4, none}, {"atan2", -inf, -inf, -tpio4, none},
        {"atan2", 2.0, inf, 0.0, none},   {"atan2", -2.0, inf, -0.0, none},
        {"atan2", 2.0, -inf, pi, none},   {"atan2", -2.0, -inf, -pi, none},
        {"atan2", nan, 1.0, nan, none},   {"atan2", 1.0, nan, nan, none},
        {"atan2", nan, -0.0, nan, none},  {"atan2", inf, nan, nan, none},
        {"atan2", tiny, 0x1p60, 0.0, ERANGE}, {"atan2", -tiny, 0x1p60, -0.0, ERANGE},
        {"atan2", tiny, -0x1p60, pi, none}, {"atan2", 0x1p-1020, 0x1p10, 0x1p-1030, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.f) + "(" + zt::describe(c.y) + ", " + zt::describe(c.x) + ")");
        const std::string f = c.f;
        double r = 0.0;
        const int err = zt::errno_after([&] {
            r = f == "sin" ? portable::sin(c.y) : f == "cos" ? portable::cos(c.y) : portable::atan2(c.y, c.x);
        });
        EXPECT_EQ(c.err, err);
        EXPECT_SAME(c.expected, r);
        if (c.err == EDOM) {
            EXPECT_EQ(kDomainNaN, zt::bits(r));
        }
    }
    // A NaN argument comes back with its payload.
    const double payload = zt::from_bits(0x7ff800000000beefu);
    EXPECT_EQ(0x7ff800000000beefu, zt::bits(portable::sin(payload)));
    EXPECT_EQ(0x7ff800000000beefu, zt::bits(portable::atan2(1.0, payload)));
}

// Faithful in round-to-nearest (measured 0.51 ulp at most over 10^7 random
// arguments, tools/realcheck); within 1.5 ulps in the directed modes.
TEST(PortableTrig, HardArgumentsInEveryRoundingMode) {
    for (int mode : kModes) {
        const double bound = mode == FE_TONEAREST ? 0.52 : 1.5;
        ASSERT_EQ(0, std::fesetround(mode));
        for (const SinCosCase& c : kSinCosCases) {
            const double s = portable::sin(c.x), co = portable::cos(c.x);
            std::fesetround(FE_TONEAREST);
            SCOPED_TRACE(zt::describe(c.x) + " mode " + std::to_string(mode));
            EXPECT_LT(ulps(s, c.sin_hi, c.sin_lo), bound);
            EXPECT_LT(ulps(co, c.cos_hi, c.cos_lo), bound);
            std::fesetround(mode);
        }
        for (const Atan2Case& c : kAtan2Cases) {
            const double r = portable::atan2(c.y, c.x);
            std::fesetround(FE_TONEAREST);
            SCOPED_TRACE(zt::describe(c.y) + ", " + zt::describe(c.x) + " mode " + std::to_string(mode));
            EXPECT_LT(ulps(r, c.hi, c.lo), bound);
            std::fesetround(mode);
        }
    }
    std::fesetround(FE_TONEAREST);
}

// Symmetries that hold bit for bit in round-to-nearest, on arguments over
// the whole range: sin is odd, cos even, atan2 odd in y.
TEST(PortableTrig, Symmetries) {
    zt::PartGenerator gen(13);
    for (int n = 0; n < 20000; ++n) {
        const double x = gen.next(), y = gen.next();
        if (!std::isfinite(x) || std::isnan(y)) continue;  // sin(+-inf): the one domain NaN
        SCOPED_TRACE(zt::describe(x) + ", " + zt::describe(y));
        EXPECT_SAME(-portable::sin(x), portable::sin(-x));
        EXPECT_SAME(portable::cos(x), portable::cos(-x));
        EXPECT_SAME(-portable::atan2(y, x), portable::atan2(-y, x));
    }
}

// sincos is sin and cos from one reduction: the same bits and the same errno,
// in every rounding mode, over the whole range and around the thresholds of
// the tiny arguments.
TEST(PortableTrig, SinCosIsSinAndCos) {
    zt::PartGenerator gen(29);
    const double thresholds[] = {0x1.8p-27, -0x1.8p-29, 0x1p-26, -0x1p-28, 0x1.921fb54442d18p-1};
    for (int n = 0; n < 20000; ++n) {
        const double x = n < 5 ? thresholds[n] : gen.next();
        for (int mode : kModes) {
            ASSERT_EQ(0, std::fesetround(mode));
            double s = 0.0, c = 0.0;
            portable::SinCos both{};
            const int err_sin = zt::errno_after([&] { s = portable::sin(x); });
            const int err_cos = zt::errno_after([&] { c = portable::cos(x); });
            const int err_both = zt::errno_after([&] { both = portable::sincos(x); });
            std::fesetround(FE_TONEAREST);
            SCOPED_TRACE(zt::describe(x) + " mode " + std::to_string(mode));
            EXPECT_EQ(zt::bits(s), zt::bits(both.sin));
            EXPECT_EQ(zt::bits(c), zt::bits(both.cos));
            EXPECT_EQ(err_sin, err_both);
            EXPECT_EQ(err_cos, err_both);
        }
    }
}
