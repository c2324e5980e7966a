// The portable exact operations give the one correct result, which the
// platform's own functions also give, for every class of argument and in
// every rounding mode.
#include "zu_test.h"

#include "real/portable.h"

#include <cfenv>
#include <cmath>

namespace portable = zu::real::portable;

#if defined(_WIN32)
constexpr bool kPlatformSqrtMisrounds = true;
#else
constexpr bool kPlatformSqrtMisrounds = false;
#endif

TEST(PortableExact, MatchThePlatformInEveryRoundingMode) {
    const int modes[] = {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO};
    zt::PartGenerator gen(52);
    std::vector<double> xs = {0.0, -0.0, 0.5, -0.5, 0.49999999999999994, -0.49999999999999994, 1.0, -1.0,
                              1.5, -1.5, 0x1p52 + 1, -0x1p52 - 1, 0x1p53, 4.9e-324, -4.9e-324};
    for (int n = 0; n < 20000; ++n) xs.push_back(gen.next());
    for (int mode : modes) {
        ASSERT_EQ(0, std::fesetround(mode));
        for (double x : xs) {
            SCOPED_TRACE(zt::describe(x) + " mode " + std::to_string(mode));
            // The platform's functions themselves, also in portable mode
            // (the tests are built with -fno-builtin: these are calls).
            const double floor_x = std::floor(x), ceil_x = std::ceil(x);
            const double fabs_x = std::fabs(x), sqrt_x = std::sqrt(x);
            // A NaN argument comes back as a NaN; which one is the processor's.
            if (std::isnan(x)) {
                EXPECT_TRUE(std::isnan(portable::floor(x)) && std::isnan(portable::ceil(x)));
                continue;
            }
            EXPECT_SAME(floor_x, portable::floor(x));
            EXPECT_SAME(ceil_x, portable::ceil(x));
            EXPECT_SAME(fabs_x, portable::fabs(x));
            // MinGW's C runtime rounds some square roots wrongly (sqrt of
            // the largest double comes out one unit high), so there the
            // digest checks them instead.
            if (!(x < 0.0) && !kPlatformSqrtMisrounds) {
                EXPECT_SAME(sqrt_x, portable::sqrt(x));
            }
        }
    }
    std::fesetround(FE_TONEAREST);
}

TEST(PortableExact, SquareRootOfANegativeIsADomainError) {
    for (double x : {-1.0, -4.9e-324, -zt::Inf()}) {
        double r = 0.0;
        EXPECT_EQ(EDOM, zt::errno_after([&] { r = portable::sqrt(x); }));
        EXPECT_EQ(0x7ff8000000000000u, zt::bits(r));
    }
    EXPECT_EQ(zt::kErrnoSentinel, zt::errno_after([] { portable::sqrt(-0.0); }));
}
