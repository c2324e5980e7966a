#include "zu_test.h"

#include <cerrno>
#include <cmath>
#include <limits>
#include <string>
#include <optional>
#include <vector>

namespace {

using Fn = DComplex (*)(const DComplex&);
struct Named { const char* name; Fn fn; };
const Named kCosh{"cosh", cosh}, kSinh{"sinh", sinh}, kTanh{"tanh", tanh};
const double N = zt::NaN(), I = zt::Inf();
// Sign bit clear, unlike the library's NaN: results must not pass it through.
const double kQNaN = std::numeric_limits<double>::quiet_NaN();

using zt::ExpectCall;

}  // namespace

// Paths without a report, errno untouched. A NaN part or an infinite y
// returns first; only x NaN with y == 0 keeps a part, +0.0 even for y = -0.0.
// |x| == 710 is still computed directly (cosh(710) is finite), and zero parts
// take their signs from the products, e.g. sinh(-0.0) * sin 0. tanh divides
// by the library's quotient; a NaN denominator is not zero, so no report.
TEST(Hyperbolic, SilentPaths) {
    const double c710 = zt::real::cosh(710.0), s710 = zt::real::sinh(710.0);
    const DComplex w(0.5, -2.0);
    struct Case { Named f; DComplex z, expected; };
    std::vector<Case> cases = {
        {kCosh, {710.0, 0.0}, {c710, 0.0}},    {kCosh, {-710.0, 0.0}, {c710, -0.0}},
        {kSinh, {710.0, 0.0}, {s710, 0.0}},    {kSinh, {-710.0, 0.0}, {-s710, 0.0}},
        {kCosh, {-0.0, 0.0}, {1.0, -0.0}},     {kSinh, {-0.0, 0.0}, {-0.0, 0.0}},
        {kCosh, {1.0, 2.0}, {zt::real::cosh(1.0) * zt::real::cos(2.0), zt::real::sinh(1.0) * zt::real::sin(2.0)}},
        {kSinh, {1.0, 2.0}, {zt::real::sinh(1.0) * zt::real::cos(2.0), zt::real::cosh(1.0) * zt::real::sin(2.0)}},
        {kTanh, {0.0, 0.0}, {0.0, 0.0}},       {kTanh, {-0.0, 0.0}, {-0.0, 0.0}},
        {kTanh, w, sinh(w) / cosh(w)},         {kTanh, {kQNaN, 0.0}, {N, N}},
        {kTanh, {0.0, I}, {N, N}},
    };
    const struct { DComplex z, expected; } nans[] = {
        {{kQNaN, 0.0}, {N, 0.0}}, {{kQNaN, -0.0}, {N, 0.0}}, {{kQNaN, 1.0}, {N, N}}, {{1.0, kQNaN}, {N, N}},
        {{0.0, I}, {N, N}},       {{I, -I}, {N, N}},         {{800.0, -I}, {N, N}},  {{I, kQNaN}, {N, N}}};
    for (const Named& f : {kCosh, kSinh}) {
        for (const auto& c : nans) cases.push_back({f, c.z, c.expected});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.f.name) + zt::describe(c.z));
        zt::HookRecorder hook;
        ExpectCall(hook, c.f.fn, c.z, c.expected, zt::kErrnoSentinel, 0);
    }
}

// Beyond +-710 (infinite x included) the default is a signed infinity per
// part from the signs of cos y and sin y, flipped where the real sinh(x) is
// negative; a zero factor gives the library's NaN, also for -S(0) and for
// sin(-0.0). cos 2 < 0 < sin 2; cos 4 and sin 4 are both negative.
TEST(Hyperbolic, OverflowDefaultsAndReport) {
    const struct { Named f; DComplex z, dflt; } cases[] = {
        {kCosh, {710.25, 0.0}, {I, N}},  {kCosh, {I, 0.0}, {I, N}},      {kCosh, {-800.0, 1.0}, {I, -I}},
        {kCosh, {-800.0, 0.0}, {I, N}},  {kCosh, {-800.0, -0.0}, {I, N}}, {kCosh, {800.0, 2.0}, {-I, I}},
        {kCosh, {800.0, -1.0}, {I, -I}}, {kCosh, {-800.0, 4.0}, {-I, I}}, {kSinh, {-I, 0.0}, {-I, N}},
        {kSinh, {-710.25, 0.0}, {-I, N}}, {kSinh, {-800.0, 1.0}, {-I, I}}, {kSinh, {800.0, 4.0}, {-I, -I}},
        {kSinh, {-800.0, 2.0}, {I, I}},  {kSinh, {710.25, -1.0}, {I, -I}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.f.name) + zt::describe(c.z));
        zt::HookRecorder hook;
        if (ExpectCall(hook, c.f.fn, c.z, c.dflt, ERANGE, 1)) {
            EXPECT_TRUE(zt::ReportIs(hook.reports()[0], zt::kOverflow, c.f.name, c.z, c.dflt));
        }
    }
}

// The hook sees the default before it answers. Whatever it answers, retval as
// it leaves it is returned; only a zero answer sets errno.
TEST(Hyperbolic, HookAnswersOnOverflow) {
    const DComplex z(-800.0, 1.0), written(5.0, -0.0);
    const struct { Named f; DComplex dflt; } fns[] = {{kCosh, {I, -I}}, {kSinh, {-I, I}}};
    for (const auto& f : fns) {
        const struct { int answer; bool write; DComplex result; int err; } hooks[] = {
            {1, false, f.dflt, zt::kErrnoSentinel}, {1, true, written, zt::kErrnoSentinel},
            {0, true, written, ERANGE}};
        for (const auto& h : hooks) {
            SCOPED_TRACE(std::string(f.f.name) + " answer " + std::to_string(h.answer));
            std::optional<zt::HookRecorder> hook;
            if (h.write) hook.emplace(h.answer, written); else hook.emplace(h.answer);
            if (ExpectCall(*hook, f.f.fn, z, h.result, h.err, 1)) {
                EXPECT_TRUE(zt::ReportIs(hook->reports()[0], zt::kOverflow, f.f.name, z, f.dflt));
            }
        }
    }
}

// Numerator first, then denominator: two overflow reports, and (+inf, NaN) /
// (+inf, NaN) is (NaN, NaN) by the quotient's NaN rule. A hook that zeroes
// both inner results gives 0/0, which tanh (unlike tan) settles as (NaN, NaN)
// before it would report.
TEST(Tanh, OverflowReportsSinhThenCosh) {
    const DComplex z(800.0, 0.0), dflt(I, N);
    zt::HookRecorder hook;
    if (ExpectCall(hook, tanh, z, {N, N}, ERANGE, 2)) {
        EXPECT_TRUE(zt::ReportIs(hook.reports()[0], zt::kOverflow, "sinh", z, dflt));
        EXPECT_TRUE(zt::ReportIs(hook.reports()[1], zt::kOverflow, "cosh", z, dflt));
    }
    zt::HookRecorder zeroing(1, DComplex(-0.0, -0.0));
    ExpectCall(zeroing, tanh, {800.0, 1.0}, {N, N}, zt::kErrnoSentinel, 2);
}

// The singularity of tanh: a hook zeroes the inner cosh overflow but lets
// sinh keep a value, so cosh(z) == 0 != sinh(z). A zero answer to tanh's own
// report gives P per part of sinh(z): +inf, +0.0 for either zero, -inf for a
// negative part or a NaN. A non-zero answer returns what the hook wrote.
TEST(Tanh, SingularityDefaultsFollowTheNumerator) {
    const DComplex z(800.0, 1.0);
    const struct { DComplex numerator; int answer; DComplex result; int err; } cases[] = {
        {{2.0, 0.0}, 0, {I, 0.0}, EDOM},
        {{-3.0, -0.0}, 0, {-I, 0.0}, EDOM},
        {{kQNaN, 5.0}, 0, {-I, I}, EDOM},
        {{0.0, -1.0}, 0, {0.0, -I}, EDOM},
        {{2.0, 0.0}, 1, {7.0, -8.0}, zt::kErrnoSentinel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(zt::describe(c.numerator));
        zt::HookRecorder hook([&c](c_exception& e) {
            const std::string name = e.name;
            e.retval = name == "sinh" ? c.numerator : name == "cosh" ? DComplex(0.0, 0.0) : DComplex(7.0, -8.0);
            return name == "tanh" ? c.answer : 1;
        });
        if (ExpectCall(hook, tanh, z, c.result, c.err, 3)) {
            EXPECT_TRUE(zt::ReportIs(hook.reports()[2], zt::kSingularity, "tanh", z, DComplex()));
        }
    }
}
