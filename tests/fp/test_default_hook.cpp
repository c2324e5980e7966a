// The library's own error hook, in a program that defines none (unlike the
// other test programs, this one is linked without the recording hook of
// tests/support): it answers 0 and changes nothing, so every report sets
// errno and the function returns its default.
#include "zu_complex.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

std::uint64_t bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

TEST(DefaultHook, ReportsEndInErrnoAndTheDefault) {
    const double inf = Vel_Inf(), nan = Vel_NaN();
    const struct { const char* what; DComplex (*fn)(const DComplex&); DComplex z, want; int err; } cases[] = {
        // exp overflows with sin 0 = 0: the default's imaginary part is NaN.
        {"exp", exp, {1000.0, 0.0}, {inf, nan}, ERANGE},
        {"cosh", cosh, {-800.0, 1.0}, {inf, -inf}, ERANGE},
        {"atan", atan, {0.0, -1.0}, {0.0, -inf}, EDOM},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        errno = 0;
        const DComplex r = c.fn(c.z);
        EXPECT_EQ(c.err, errno);
        EXPECT_EQ(bits(c.want.re), bits(r.re));
        EXPECT_EQ(bits(c.want.im), bits(r.im));
    }
}

TEST(DefaultHook, AnswersZeroAndLeavesTheRecord) {
    c_exception e("cosh", DComplex(1.0, 2.0));
    e.type = 3;
    e.retval = DComplex(Vel_Inf(), -0.0);
    EXPECT_EQ(0, DComplex_error(e));
    EXPECT_EQ(3, e.type);
    EXPECT_STREQ("cosh", e.name);
    EXPECT_EQ(bits(Vel_Inf()), bits(e.retval.re));
    EXPECT_EQ(bits(-0.0), bits(e.retval.im));
}

}  // namespace
