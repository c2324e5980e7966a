#include "zu_test.h"

namespace {

const double kInf = zt::Inf();
const double k2p52 = 4503599627370496.0;  // 2^52: from here on every double is an integer
const double k2p53 = 9007199254740992.0;  // 2^53: from here on every double is even

TEST(Rounding, VelRoundHalvesAwayFromZero) {
    static const struct {
        double x, expected;
    } cases[] = {
        {2.5, 3.0}, {-2.5, -3.0}, {0.5, 1.0}, {-0.5, -1.0}, {1.5, 2.0}, {-1.5, -2.0},
        {1.4, 1.0}, {-1.4, -1.0}, {1.6, 2.0}, {-1.6, -2.0},
        // Signs of zero: -0.0 is not below zero and takes the floor path.
        {0.0, 0.0}, {-0.0, 0.0}, {0.3, 0.0}, {-0.3, -0.0}, {5e-324, 0.0}, {-5e-324, -0.0},
        // x + 0.5 rounds up to 1.0 for the largest double below one half; the
        // result must still be zero, keeping the sign.
        {0.49999999999999994, 0.0}, {-0.49999999999999994, -0.0},
        {0.5000000000000001, 1.0}, {0.49999999999999983, 0.0},
        // Just below 2^52 the half is still representable.
        {k2p52 - 0.5, k2p52}, {-(k2p52 - 0.5), -k2p52}, {k2p52 - 1, k2p52 - 1},
        // Integers in [2^52, 2^53), odd ones included, come back unchanged.
        {k2p52, k2p52}, {k2p52 + 1, k2p52 + 1}, {k2p52 + 2, k2p52 + 2},
        {-(k2p52 + 1), -(k2p52 + 1)}, {-(k2p52 + 2), -(k2p52 + 2)},
        {k2p53 - 1, k2p53 - 1}, {k2p53 - 2, k2p53 - 2}, {-(k2p53 - 1), -(k2p53 - 1)},
        {k2p53, k2p53}, {k2p53 + 2, k2p53 + 2}, {-(k2p53 + 2), -(k2p53 + 2)},
        {1.7976931348623157e308, 1.7976931348623157e308}, {-1e300, -1e300},
        {kInf, kInf}, {-kInf, -kInf}, {zt::NaN(), zt::kAnyNaN}, {-zt::NaN(), zt::kAnyNaN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(zt::describe(c.x));
        errno = zt::kErrnoSentinel;
        EXPECT_SAME(c.expected, Vel_Round(c.x));
        EXPECT_EQ(zt::kErrnoSentinel, errno);
    }
}

TEST(Rounding, ComplexPartsRoundIndependently) {
    const double nan = zt::NaN();
    static const struct {
        DComplex z, ceil_, floor_, round_;
    } cases[] = {
        {{1.2, -1.2}, {2.0, -1.0}, {1.0, -2.0}, {1.0, -1.0}},
        {{2.5, -2.5}, {3.0, -2.0}, {2.0, -3.0}, {3.0, -3.0}},
        {{-0.5, 0.5}, {-0.0, 1.0}, {-1.0, 0.0}, {-1.0, 1.0}},
        // The complex round uses the library's rounding, not the C library's:
        // -0.0 becomes +0.0 and the awkward inputs come out as for Vel_Round.
        {{-0.0, -0.3}, {-0.0, -0.0}, {-0.0, -1.0}, {0.0, -0.0}},
        {{0.49999999999999994, k2p52 + 1}, {1.0, k2p52 + 1}, {0.0, k2p52 + 1}, {0.0, k2p52 + 1}},
        {{-kInf, 0.3}, {-kInf, 1.0}, {-kInf, 0.0}, {-kInf, 0.0}},
        // A NaN part does not spill into the other part.
        {{nan, 1.6}, {zt::kAnyNaN, 2.0}, {zt::kAnyNaN, 1.0}, {zt::kAnyNaN, 2.0}},
        {{-1.6, nan}, {-1.0, zt::kAnyNaN}, {-2.0, zt::kAnyNaN}, {-2.0, zt::kAnyNaN}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(zt::describe(c.z));
        EXPECT_SAME_C(c.ceil_, ceil(c.z));
        EXPECT_SAME_C(c.floor_, floor(c.z));
        EXPECT_SAME_C(c.round_, round(c.z));
    }
}

}  // namespace
