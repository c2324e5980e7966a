#include "zu_test.h"

#include <cerrno>
#include <cmath>
#include <limits>
#include <string>

namespace {

using Fn = DComplex (*)(const DComplex&);
const double N = zt::NaN(), I = zt::Inf();
const double kQNaN = std::numeric_limits<double>::quiet_NaN();

using zt::ExpectCall;

}  // namespace

// cos and sin work on the turned argument w = (-y, x), so zero signs follow
// cosh/sinh of w: cos(0, 0) has imaginary part sinh(-0.0) * sin 0 = -0.0.
// sin = (t.im, -t.re) is built by a sign flip, not a product with -i (which
// would make sin(0, 0) (-0.0, +0.0)), so for an infinite x it returns the
// library's NaN with its sign bit flipped. No report, errno untouched.
TEST(Circular, SilentPaths) {
    const DComplex a(1.0, 2.0);
    const struct { Fn fn; DComplex z, expected; } cases[] = {
        {cos, {0.0, 0.0}, {1.0, -0.0}},  {cos, {-0.0, 0.0}, {1.0, 0.0}},
        {sin, {0.0, 0.0}, {0.0, 0.0}},   {sin, {-0.0, 0.0}, {-0.0, 0.0}},
        {tan, {0.0, 0.0}, {0.0, 0.0}},   {tan, {-0.0, 0.0}, {-0.0, 0.0}},
        {cos, a, {zt::real::cosh(-2.0) * zt::real::cos(1.0), zt::real::sinh(-2.0) * zt::real::sin(1.0)}},
        {sin, a, {zt::real::cosh(-2.0) * zt::real::sin(1.0), -(zt::real::sinh(-2.0) * zt::real::cos(1.0))}},
        {tan, a, sin(a) / cos(a)},       {cos, {-0.0, kQNaN}, {N, 0.0}},
        {cos, {kQNaN, 0.0}, {N, N}},     {cos, {I, 0.0}, {N, N}},
        {sin, {0.0, kQNaN}, {N, N}},     {sin, {kQNaN, 0.0}, {N, N}},
        {sin, {I, 0.0}, {N, -N}},        {sin, {-I, 5.0}, {N, -N}},
        {tan, {kQNaN, 1.0}, {N, N}},     {tan, {I, 0.0}, {N, N}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases) + " " + zt::describe(c.z));
        zt::HookRecorder hook;
        ExpectCall(hook, c.fn, c.z, c.expected, zt::kErrnoSentinel, 0);
    }
}

// |y| > 710 overflows inside cosh/sinh of w = (-y, x): the report names the
// inner function and carries w; sin returns -i times sinh's retval.
TEST(Circular, OverflowReportedUnderInnerName) {
    const struct { const char* name; Fn fn; DComplex z, w, retval, result; } cases[] = {
        {"cosh", cos, {0.0, 800.0}, {-800.0, 0.0}, {I, N}, {I, N}},
        {"cosh", cos, {1.0, -800.0}, {800.0, 1.0}, {I, I}, {I, I}},
        {"cosh", cos, {2.0, 800.0}, {-800.0, 2.0}, {-I, -I}, {-I, -I}},
        {"sinh", sin, {1.0, 800.0}, {-800.0, 1.0}, {-I, I}, {I, I}},
        {"sinh", sin, {0.0, 800.0}, {-800.0, 0.0}, {-I, N}, {N, I}},
        {"sinh", sin, {2.0, -800.0}, {800.0, 2.0}, {-I, I}, {I, I}},
        {"sinh", sin, {-1.0, -800.0}, {800.0, -1.0}, {I, -I}, {-I, -I}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases) + " " + zt::describe(c.z));
        zt::HookRecorder hook;
        if (ExpectCall(hook, c.fn, c.z, c.result, ERANGE, 1)) {
            EXPECT_TRUE(zt::ReportIs(hook.reports()[0], zt::kOverflow, c.name, c.w, c.retval));
        }
    }
    // A hook's retval (a, b) comes back from cos as is and from sin as (b, -a).
    zt::HookRecorder hook(1, DComplex(3.0, -0.0));
    ExpectCall(hook, cos, {1.0, 800.0}, {3.0, -0.0}, zt::kErrnoSentinel, 1);
    ExpectCall(hook, sin, {1.0, 800.0}, {-0.0, -3.0}, zt::kErrnoSentinel, 2);
}

// sin before cos; (NaN, +inf) / (+inf, NaN) is (NaN, NaN) and tan adds nothing.
TEST(Tan, OverflowMakesTwoReports) {
    const DComplex w(-800.0, 0.0);
    zt::HookRecorder hook;
    ExpectCall(hook, tan, {0.0, 800.0}, {N, N}, ERANGE, 2);
    ASSERT_EQ(2u, hook.reports().size());
    EXPECT_TRUE(zt::ReportIs(hook.reports()[0], zt::kOverflow, "sinh", w, DComplex(-I, N)));
    EXPECT_TRUE(zt::ReportIs(hook.reports()[1], zt::kOverflow, "cosh", w, DComplex(I, N)));
}

// A hook writing (a, b) into both inner reports makes sin (b, -a) and cos
// (a, b). A non-zero cos gives the quotient. A zero cos is a singularity of
// tan's own even when sin is zero too: a zero answer then gives (NaN, NaN)
// with EDOM, a non-zero one the hook's retval.
TEST(Tan, HookDecidesThroughInnerAndOwnReports) {
    const DComplex z(0.0, 800.0);
    const struct { int answer; DComplex written, result; int err; size_t reports; } cases[] = {
        {1, {2.0, 0.0}, {0.0, -1.0}, zt::kErrnoSentinel, 2},
        {0, {2.0, 0.0}, {0.0, -1.0}, ERANGE, 2},
        {1, {-0.0, -0.0}, {-0.0, -0.0}, zt::kErrnoSentinel, 3},
        {0, {0.0, 0.0}, {N, N}, EDOM, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(zt::describe(c.written) + " answer " + std::to_string(c.answer));
        zt::HookRecorder hook(c.answer, c.written);
        if (ExpectCall(hook, tan, z, c.result, c.err, c.reports) && c.reports == 3) {
            EXPECT_TRUE(zt::ReportIs(hook.reports()[2], zt::kSingularity, "tan", z, DComplex()));
        }
    }
}

// tan's singularity with a non-zero sine: the hook makes sinh's overflow
// return t (so sin is (t.im, -t.re)) and cosh's (0, 0). A zero answer to the
// "tan" report gives P per part of the sine.
TEST(Tan, SingularityDefaultsFollowTheSine) {
    const DComplex z(1.0, 800.0);
    const struct { DComplex t; DComplex result; } cases[] = {
        {{2.0, 3.0}, {I, -I}},      // sine (3, -2)
        {{N, 0.0}, {0.0, -I}},      // sine (+0, -NaN): P(NaN) is -inf
        {{-0.0, -1.0}, {-I, 0.0}},  // sine (-1, +0)
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(zt::describe(c.t));
        zt::HookRecorder hook([&c](c_exception& e) {
            const std::string name = e.name;
            if (name == "sinh") e.retval = c.t;
            if (name == "cosh") e.retval = DComplex(0.0, 0.0);
            return name == "tan" ? 0 : 1;
        });
        if (ExpectCall(hook, tan, z, c.result, EDOM, 3)) {
            EXPECT_TRUE(zt::ReportIs(hook.reports()[2], zt::kSingularity, "tan", z, DComplex()));
        }
    }
}
