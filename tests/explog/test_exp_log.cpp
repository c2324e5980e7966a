#include "zu_test.h"

#include <cmath>
#include <cstddef>

namespace {

const double kInf = zt::Inf();
const double kNaN = zt::NaN();      // the library's own NaN
const double& kAny = zt::kAnyNaN;  // a NaN made by arithmetic or a real function
const double kPi = 3.141592653589793;
const double kLog10e = zt::from_bits(0x3FDBCB7B1526E50EULL);

struct Case { DComplex z, want; };

volatile double g_sink;
double opaque(double x) { volatile double v = x; return v; }  // keeps a real call at run time
template <class F> int real_errno(F f) { return zt::errno_after([&] { g_sink = f(); }); }

template <class F>
void expect_call(F f, const DComplex& z, const DComplex& want, int want_errno = zt::kErrnoSentinel) {
    SCOPED_TRACE(zt::describe(z));
    errno = zt::kErrnoSentinel;
    EXPECT_SAME_C(want, f(z));
    EXPECT_EQ(want_errno, errno);
}

// Cases that neither report nor touch errno.
template <class F, std::size_t N>
void expect_quiet(F f, const Case (&cases)[N]) {
    zt::HookRecorder rec;
    for (const Case& c : cases) expect_call(f, c.z, c.want);
    EXPECT_TRUE(rec.reports().empty());
}

const auto kExp = [](const DComplex& z) { return exp(z); };

TEST(Exp, QuietResults) {
    const double e = zt::real::exp(1.0);
    const Case cases[] = {
        // NaN parts and an infinite imaginary part are answered before any real call.
        {{kNaN, 0.0}, {kNaN, 0.0}}, {{kNaN, -0.0}, {kNaN, 0.0}},  // +0.0 whatever the sign
        {{kNaN, 1.0}, {kNaN, kNaN}}, {{1.0, kNaN}, {kNaN, kNaN}}, {{kNaN, kInf}, {kNaN, kNaN}},
        {{-kInf, kNaN}, {0.0, 0.0}}, {{-kInf, kInf}, {0.0, 0.0}}, {{-kInf, -kInf}, {0.0, 0.0}},
        {{1.0, kInf}, {kNaN, kNaN}}, {{kInf, kInf}, {kNaN, kNaN}}, {{kInf, kNaN}, {kNaN, kNaN}},
        {{-kInf, 1.0}, {0.0, 0.0}}, {{-kInf, -2.0}, {0.0, 0.0}},  // E == 0: cos and sin unused
        {{0.0, 0.0}, {1.0, 0.0}}, {{0.0, -0.0}, {1.0, -0.0}},  // E * sin(-0.0) keeps its sign
        {{1.0, 2.0}, {e * zt::real::cos(2.0), e * zt::real::sin(2.0)}}, {{709.0, 0.0}, {8.218407461554972e307, 0.0}},
    };
    expect_quiet(kExp, cases);
    expect_call(kExp, {-1000.0, 3.0}, {0.0, 0.0}, real_errno([] { return zt::real::exp(opaque(-1000.0)); }));
}

TEST(Exp, OverflowReportsSignedDefault) {
    // Per part +inf or -inf by the sign of cos im / sin im, NaN where it is zero.
    const Case cases[] = {
        {{710.0, 0.0}, {kInf, kNaN}}, {{710.0, -0.0}, {kInf, kNaN}}, {{710.0, kPi}, {-kInf, kInf}},
        {{710.0, -2.0}, {-kInf, -kInf}}, {{kInf, 0.0}, {kInf, kNaN}}, {{kInf, 1.0}, {kInf, kInf}},
    };
    for (const Case& c : cases) {
        zt::HookRecorder rec;
        expect_call(kExp, c.z, c.want, ERANGE);
        ASSERT_EQ(1u, rec.reports().size());
        EXPECT_TRUE(zt::ReportIs(rec.reports()[0], zt::kOverflow, "exp", c.z, c.want));
    }
}

TEST(Exp, HookAnswerDecidesOnlyErrno) {
    // retval is returned whatever the answer; only a zero answer writes ERANGE.
    // The real exp may set errno itself (for 710, not for +inf).
    const DComplex mine(7.0, -8.0), dflt(kInf, kNaN);
    for (double x : {710.0, kInf}) {
        const int real = real_errno([x] { return zt::real::exp(opaque(x)); });
        for (int answer : {0, 1}) {
            zt::HookRecorder rec(answer, mine);
            expect_call(kExp, DComplex(x, 0.0), mine, answer == 0 ? ERANGE : real);
            ASSERT_EQ(1u, rec.reports().size());
            EXPECT_TRUE(zt::ReportIs(rec.reports()[0], zt::kOverflow, "exp", DComplex(x, 0.0), dflt));
        }
        zt::HookRecorder rec(1);  // answers without writing: the default itself
        expect_call(kExp, DComplex(x, 0.0), dflt, real);
    }
}

TEST(Log, NaturalAndCommon) {
    const auto log_ = [](const DComplex& z) { return log(z); };
    const auto log10_ = [](const DComplex& z) { return log10(z); };
    const Case cases[] = {
        {{1.0, 0.0}, {0.0, 0.0}}, {{-1.0, 0.0}, {0.0, kPi}}, {{-1.0, -0.0}, {0.0, -kPi}},
        {{0.0, 1.0}, {0.0, kPi / 2}}, {{-kInf, 1.0}, {kInf, kPi}}, {{kInf, kInf}, {kInf, kNaN}},  // arg NaN
        {{kNaN, 0.0}, {kNaN, kNaN}}, {{0.0, kNaN}, {kNaN, kNaN}}, {{kInf, kNaN}, {kNaN, kNaN}},
        {{3.0, 4.0}, {zt::real::log(5.0), zt::real::atan2(4.0, 3.0)}},
    };
    expect_quiet(log_, cases);
    // A zero has no argument; the imaginary part is +0.0 for every sign of zero.
    for (double re : {0.0, -0.0})
        for (double im : {0.0, -0.0})
            expect_call(log_, {re, im}, {-kInf, 0.0}, real_errno([re] { return zt::real::log(opaque(re)); }));
    expect_call(log10_, {0.0, 0.0}, {-kInf, 0.0}, real_errno([] { return zt::real::log(opaque(0.0)); }));
    // 1/ln(10) in double is one unit lower and would give 0.9999999999999999 for 10.
    const Case cases10[] = {
        {{10.0, 0.0}, {1.0, 0.0}}, {{100.0, 0.0}, {2.0, 0.0}}, {{1e10, -0.0}, {10.0, 0.0}},
        {{-1.0, 0.0}, {0.0, 1.3643763538418412}}, {{-1.0, -0.0}, {0.0, -1.3643763538418412}},
        {{kInf, kInf}, {kNaN, kNaN}},  // a NaN part of log makes both parts NaN
        {{3.0, 4.0}, {kLog10e * zt::real::log(5.0), kLog10e * zt::real::atan2(4.0, 3.0)}},
    };
    expect_quiet(log10_, cases10);
}

TEST(Sqrt, SignsOfZeroAndSnappedFactors) {
    const double r = zt::real::sqrt(5.0), h = zt::real::atan2(4.0, 3.0) / 2.0;
    const Case cases[] = {
        // On the real axis the sign of a zero imaginary part is ignored.
        {{4.0, 0.0}, {2.0, 0.0}}, {{4.0, -0.0}, {2.0, 0.0}}, {{-4.0, 0.0}, {0.0, 2.0}},
        {{-4.0, -0.0}, {0.0, 2.0}}, {{0.0, 0.0}, {0.0, 0.0}}, {{-0.0, -0.0}, {-0.0, 0.0}},
        {{kInf, 0.0}, {kInf, 0.0}}, {{-kInf, -0.0}, {0.0, kInf}}, {{1.0, kInf}, {kInf, kInf}},
        {{kInf, 1.0}, {kInf, kAny}}, {{-kInf, 1.0}, {kAny, kInf}},  // snapped factor 0 times +inf
        {{kInf, kInf}, {kAny, kAny}}, {{kNaN, 0.0}, {kNaN, kNaN}}, {{0.0, kNaN}, {kNaN, kNaN}},
        {{3.0, 4.0}, {r * zt::real::cos(h), r * zt::real::sin(h)}}, {{1.0, 1e-20}, {1.0, 0.0}},
        {{-1.0, 1e-20}, {0.0, 1.0}}, {{-1.0, -1e-20}, {0.0, -1.0}},
        // Half-angle 2^-49 is at the tolerance and snaps; 2^-48 is above it and stays.
        {{1.0, std::ldexp(1.0, -48)}, {1.0, 0.0}}, {{1.0, std::ldexp(1.0, -47)}, {1.0, std::ldexp(1.0, -48)}},
    };
    expect_quiet([](const DComplex& z) { return sqrt(z); }, cases);
}

TEST(Hypot, ComplexSquareRootOfSumOfSquares) {
    const struct { DComplex a, b, want; } cases[] = {
        {{3.0, 0.0}, {4.0, 0.0}, {5.0, 0.0}}, {{1.0, 1.0}, {1.0, -1.0}, {0.0, 0.0}},  // not a modulus
        {{2.0, 0.0}, {0.0, 2.0}, {0.0, 0.0}}, {{0.0, 1.0}, {0.0, 0.0}, {0.0, 1.0}},  // sqrt of -1
        {{1e200, 0.0}, {0.0, 0.0}, {kInf, 0.0}}, {{kNaN, 0.0}, {1.0, 0.0}, {kNaN, kNaN}},  // unscaled
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(zt::describe(c.b));
        expect_call([&](const DComplex& a) { return hypot(a, c.b); }, c.a, c.want);
    }
}

}  // namespace
