#include "zu_test.h"

#include <array>
#include <cfenv>
#include <cmath>
#include <thread>
#include <vector>

namespace {

// Everything a caller can read out of the special-value table, as bits:
// NaN, +inf, -inf, float NaN, float +inf.
using TableBits = std::array<std::uint64_t, 5>;

TableBits read_table() {
    return {zt::bits(Vel_NaN()), zt::bits(Vel_Inf()), zt::bits(-Vel_Inf()), zt::bits(Vel_NaN_Float()),
            zt::bits(Vel_Inf_Float())};
}

const int kModes[] = {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO, FE_TONEAREST};

TEST(SpecialValues, TableHoldsRuntimeNaNsAndInfinities) {
    // The load-time call filled the table; later calls still answer 1.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(1, VelInitFP());
    EXPECT_TRUE(std::isnan(Vel_NaN()));
    EXPECT_TRUE(std::isnan(Vel_NaN_Float()));
    // Platform-dependent: the table holds the processor's own 0/0, whose sign
    // bit differs between processors. Every other expectation of the suite
    // compares with Vel_NaN() itself and holds everywhere.
#if defined(__i386__) || defined(__x86_64__)
    // x86: the default quiet NaN has the sign bit set. A 0.0/0.0 folded at
    // compile time gives the positive NaN instead, which is exactly the
    // mistake this catches.
    EXPECT_EQ(0xFFF8000000000000ULL, zt::bits(Vel_NaN()));
    EXPECT_EQ(0xFFC00000U, zt::bits(Vel_NaN_Float()));
#elif defined(__aarch64__)
    // aarch64: the default NaN has the sign bit clear.
    EXPECT_EQ(0x7FF8000000000000ULL, zt::bits(Vel_NaN()));
    EXPECT_EQ(0x7FC00000U, zt::bits(Vel_NaN_Float()));
#endif  // Elsewhere: only that it is a NaN, checked above.
    EXPECT_EQ(0x7FF0000000000000ULL, zt::bits(Vel_Inf()));
    EXPECT_EQ(0xFFF0000000000000ULL, zt::bits(-Vel_Inf()));
    EXPECT_EQ(0x7F800000U, zt::bits(Vel_Inf_Float()));
}

// Only the load-time call resets the floating-point environment. A caller
// that picks its own rounding mode later keeps it across every accessor, and
// the accessors do not redo the divisions (which would raise the invalid and
// divide-by-zero flags again).
TEST(SpecialValues, LaterCallsLeaveTheCallersEnvironmentAlone) {
    const TableBits expected = read_table();
    for (int mode : kModes) {
        SCOPED_TRACE(mode);
        ASSERT_EQ(0, std::fesetround(mode));
        std::feclearexcept(FE_ALL_EXCEPT);
        (void)VelInitFP();
        const TableBits seen = read_table();
        const int raised = std::fetestexcept(FE_INVALID | FE_DIVBYZERO);
        const int mode_after = std::fegetround();
        std::fesetround(FE_TONEAREST);
        EXPECT_EQ(mode, mode_after);
        EXPECT_EQ(0, raised);
        EXPECT_EQ(expected, seen);
    }
}

// The table is filled at load, so first use from several threads at once,
// each under its own rounding mode, sees one set of values.
TEST(SpecialValues, ConcurrentFirstUseAgrees) {
    const TableBits expected = read_table();
    std::vector<TableBits> seen(8);
    std::vector<int> mode_after(seen.size());
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < seen.size(); ++t) {
        threads.emplace_back([&seen, &mode_after, t] {
            std::fesetround(kModes[t % 4]);
            seen[t] = read_table();
            mode_after[t] = std::fegetround();
        });
    }
    for (std::thread& th : threads) th.join();
    for (std::size_t t = 0; t < seen.size(); ++t) {
        EXPECT_EQ(kModes[t % 4], mode_after[t]) << "thread " << t;
        EXPECT_EQ(expected, seen[t]) << "thread " << t;
    }
}

}  // namespace
