#include "zu_test.h"

#include <cerrno>
#include <cmath>
#include <limits>
#include <optional>

namespace {

using Fn = DComplex (*)(const DComplex&);
const double kPi2 = 1.5707963267948966;

}  // namespace

// Each formula runs through the library's own products, sqrt and log, so the
// zero signs come from the product table: -i * log(1) = -i * (0, 0) is
// (-0.0, -0.0). A real argument beyond 1 takes its branch from sqrt of a
// negative real, (+0.0, sqrt 3). atan of (1, 2) is not the principal value:
// log(i - z) = log(-1, -1) has argument -3pi/4, so the real part is the
// principal one minus pi; that is the defined result.
TEST(InverseCircular, StepByStepResults) {
    const double lm = zt::real::log(2.0 - zt::real::sqrt(3.0)), lp = zt::real::log(2.0 + zt::real::sqrt(3.0));
    const DComplex i(0.0, 1.0), z(1.0, 2.0);
    const struct { Fn fn; DComplex z, expected; } cases[] = {
        {acos, {0.0, 0.0}, {kPi2, 0.0}},    {asin, {1.0, 0.0}, {kPi2, 0.0}},
        {acos, {1.0, 0.0}, {-0.0, -0.0}},   {asin, {0.0, 0.0}, {-0.0, -0.0}},
        {acos, {2.0, 0.0}, {0.0, -lm}},     {asin, {2.0, 0.0}, {kPi2, -lp}},
        {acos, {-2.0, 0.0}, {3.141592653589793, -lp}},
        {atan, {0.0, 0.0}, {0.0, 0.0}},     {atan, {1.0, 0.0}, {0.7853981633974483, 0.0}},
        {atan, z, DComplex(0.0, 0.5) * (log(i + z) - log(i - z))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases) + " " + zt::describe(c.z));
        EXPECT_SAME_C(c.expected, c.fn(c.z));
    }
    EXPECT_NEAR(1.31695789692482, -lm, 1e-13);
    EXPECT_NEAR(-1.8026201312952996, atan(z).re, 1e-12);
    EXPECT_NEAR(0.4023594781085251, atan(z).im, 1e-12);
}

// atan at +-i (a -0.0 real part compares equal too); acos and asin where
// sqrt(1 - z*z) cancels z exactly: for |z| = 2^30, 1 + 2^60 rounds to 2^60
// and the logarithm's argument is (0, 0). retval is (0, 0) at the call. A
// zero answer sets EDOM and returns the default even if the hook wrote
// retval; a non-zero answer returns retval as left, errno untouched.
TEST(InverseCircular, Singularities) {
    const double I = zt::Inf(), big = 1073741824.0;
    const struct { const char* name; Fn fn; DComplex z, dflt; } cases[] = {
        {"atan", atan, {0.0, 1.0}, {0.0, I}},   {"atan", atan, {-0.0, 1.0}, {0.0, I}},
        {"atan", atan, {0.0, -1.0}, {0.0, -I}}, {"atan", atan, {-0.0, -1.0}, {0.0, -I}},
        {"acos", acos, {0.0, -big}, {0.0, I}},  {"asin", asin, {-big, 0.0}, {0.0, I}},
        {"asin", asin, {0.0, big}, {0.0, I}},
    };
    const DComplex written(7.0, -0.0);
    const struct { int answer; bool write; DComplex result; int err; } hooks[] = {
        {0, false, {}, EDOM}, {0, true, {}, EDOM},
        {1, false, {0.0, 0.0}, zt::kErrnoSentinel}, {1, true, written, zt::kErrnoSentinel}};
    for (const auto& c : cases) {
        for (const auto& h : hooks) {
            SCOPED_TRACE(std::string(c.name) + zt::describe(c.z) + " answer " + std::to_string(h.answer) +
                         (h.write ? " writing" : ""));
            std::optional<zt::HookRecorder> hook;
            if (h.write) hook.emplace(h.answer, written); else hook.emplace(h.answer);
            DComplex r;
            EXPECT_EQ(h.err, zt::errno_after([&] { r = c.fn(c.z); }));
            EXPECT_SAME_C(h.answer == 0 ? c.dflt : h.result, r);
            ASSERT_EQ(1u, hook->reports().size());
            EXPECT_TRUE(zt::ReportIs(hook->reports()[0], zt::kSingularity, c.name, c.z, DComplex()));
        }
    }
}

// A NaN part gives the library's (NaN, NaN), not the NaN passed in, silently.
TEST(InverseCircular, NaNArgumentsSilent) {
    const double q = std::numeric_limits<double>::quiet_NaN();
    for (Fn fn : {Fn(acos), Fn(asin), Fn(atan)}) {
        for (const DComplex& z : {DComplex(q, 0.0), DComplex(0.0, q), DComplex(q, 1.0), DComplex(zt::Inf(), q)}) {
            SCOPED_TRACE(zt::describe(z));
            zt::HookRecorder hook;
            DComplex r;
            EXPECT_EQ(zt::kErrnoSentinel, zt::errno_after([&] { r = fn(z); }));
            EXPECT_SAME_C(DComplex(zt::NaN(), zt::NaN()), r);
            EXPECT_TRUE(hook.reports().empty());
        }
    }
}
