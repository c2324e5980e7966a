// The C pairs' documented preconditions: no null pointer. A build without
// NDEBUG asserts them, so a caller's mistake stops at the call instead of
// surfacing later as a stray write. The library and this test program are
// compiled with the same flags in one build, so the test's own NDEBUG says
// whether the library asserts.
#include "zu_test.h"

namespace {

using PairFn = void (*)(double*, const double*, const double*);

TEST(CPairPreconditionsDeathTest, NullPointersStopInDebugBuilds) {
#ifdef NDEBUG
    GTEST_SKIP() << "the library is built with NDEBUG: preconditions are not checked";
#else
    // The message tells the assertion from a crash on the null pointer.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    double r[2] = {0.0, 0.0};
    const double a[2] = {1.0, 2.0};
    const double b[2] = {3.0, 4.0};
    for (PairFn fn : {&Vel_ComplexMultiply, &Vel_ComplexDivide}) {
        EXPECT_DEATH(fn(nullptr, a, b), "Assertion");
        EXPECT_DEATH(fn(r, nullptr, b), "Assertion");
        EXPECT_DEATH(fn(r, a, nullptr), "Assertion");
    }
    // Aliasing is allowed: the same pair in all three places is a valid call.
    double z[2] = {3.0, 4.0};
    Vel_ComplexMultiply(z, z, z);
    EXPECT_SAME_C(DComplex(-7.0, 24.0), DComplex(z[0], z[1]));
#endif
}

}  // namespace
