#include "zu_test.h"

#include <cmath>
#include <string>

namespace {

const double kInf = zt::Inf();
const double kNaN = zt::NaN();      // the library's own NaN
const double& kAny = zt::kAnyNaN;  // a NaN made by arithmetic or a real function
const double kPi = 3.141592653589793;
const DComplex kNaNs(kNaN, kNaN);
const double kEmPi = 0.04321391826377226;  // e^-pi

volatile double g_sink;
double opaque(double x) { volatile double v = x; return v; }  // keeps a real call at run time
template <class F> int real_errno(F f) { return zt::errno_after([&] { g_sink = f(); }); }
double snap(double v) { return std::fabs(v) <= std::ldexp(1.0, -49) ? 0.0 : v; }
template <class A, class B>
std::string show(const A& a, const B& b) { return zt::describe(a) + " ^ " + zt::describe(b); }

template <class F>
void check(const std::string& what, F f, const DComplex& want, int want_errno = zt::kErrnoSentinel) {
    SCOPED_TRACE(what);
    errno = zt::kErrnoSentinel;
    EXPECT_SAME_C(want, f());
    EXPECT_EQ(want_errno, errno);
}

TEST(PowInt, RowsInOrder) {
    const double big = -kPi / 2 * 2147483648.0;  // arg(1/i) * |INT_MIN|, |n| taken in double
    const struct { DComplex z; int n; DComplex want; } cases[] = {
        {{kInf, kInf}, 0, kNaNs}, {{-kInf, kInf}, 1, kNaNs},  // before n == 0 and n == 1
        {{kNaN, 0.0}, 0, kNaNs}, {{1.0, kNaN}, 1, kNaNs},
        {{0.0, 0.0}, 0, {1.0, 0.0}}, {{3.0, 4.0}, 0, {1.0, 0.0}}, {{kInf, 0.0}, 0, {1.0, 0.0}},
        {{0.0, kInf}, 0, {1.0, 0.0}},  // one infinite part is not caught
        {{-0.0, 2.0}, 1, {-0.0, 2.0}}, {{kInf, 2.0}, 1, {kInf, 2.0}}, {{-0.0, -0.0}, 1, {-0.0, -0.0}},
        {{0.0, 0.0}, 3, {0.0, 0.0}}, {{-0.0, -0.0}, 2, {0.0, 0.0}},
        {{0.0, 0.0}, -3, {kInf, 0.0}}, {{-0.0, 0.0}, -1, {kInf, 0.0}},
        {{2.0, 0.0}, -1, {0.5, 0.0}}, {{2.0, -0.0}, 3, {8.0, 0.0}}, {{kInf, 0.0}, -2, {0.0, 0.0}},
        {{-kInf, 0.0}, -2, {0.0, 0.0}},
        // Polar rows: sin 3pi, sin pi and cos pi/2 are snapped, so these are exact.
        {{-2.0, 0.0}, 3, {-8.0, 0.0}}, {{0.0, 1.0}, 2, {-1.0, 0.0}}, {{0.0, 1.0}, -1, {0.0, -1.0}},
        {{1.0, 1.0}, 2, {0.0, 2.0000000000000004}},  // |z|^2, never multiplied out
        {{0.0, 5.0}, -2, {-0.04, 0.0}},  // pow(5, -2); pow(|1/z|, 2) is 0.040000000000000008
        {{-kInf, 0.0}, 2, {kInf, kAny}}, {{0.0, kInf}, 2, {-kInf, kAny}},
        {{kInf, 5.0}, -1, kNaNs},  // the reciprocal (0, 0) has a NaN argument
        {{0.0, 1.0}, -2147483647 - 1, {zt::real::cos(big), zt::real::sin(big)}},
    };
    for (const auto& c : cases)
        check(zt::describe(c.z) + " ^ " + std::to_string(c.n), [&] { return pow(c.z, c.n); }, c.want);
    check("overflow", [] { return pow(DComplex(1e200, 0.0), 2); }, {kInf, 0.0},
          real_errno([] { return zt::real::pow(opaque(1e200), opaque(2.0)); }));
}

TEST(PowReal, RowsInOrder) {
    const double r8 = zt::real::pow(8.0, 1.0 / 3), a8 = kPi * (1.0 / 3);
    const struct { DComplex z; double y; DComplex want; } cases[] = {
        {{kInf, -kInf}, 0.0, kNaNs}, {{kInf, kInf}, kNaN, kNaNs},
        {{1.0, 0.0}, kNaN, kNaNs}, {{kNaN, 0.0}, 0.0, kNaNs}, {{0.0, kNaN}, 1.0, kNaNs},
        // Integral exponents go to the integer overload; (inf, 5)^-1 takes its reciprocal's NaN angle.
        {{-4.0, 0.0}, -0.0, {1.0, 0.0}}, {{-0.0, 2.0}, 1.0, {-0.0, 2.0}}, {{0.0, 1.0}, -1.0, {0.0, -1.0}},
        {{-2.0, 0.0}, 3.0, {-8.0, 0.0}}, {{0.0, 0.0}, -3.0, {kInf, 0.0}}, {{kInf, 5.0}, -1.0, kNaNs},
        {{0.0, 0.0}, 0.5, {0.0, 0.0}}, {{0.0, 0.0}, kInf, {0.0, 0.0}}, {{-0.0, -0.0}, 0.5, {0.0, 0.0}},
        {{0.0, 0.0}, -0.5, {kInf, 0.0}}, {{0.0, 0.0}, -kInf, {kInf, 0.0}},
        {{4.0, 0.0}, 0.5, {2.0, 0.0}}, {{2.0, -0.0}, kInf, {kInf, 0.0}}, {{0.5, 0.0}, kInf, {0.0, 0.0}},
        {{-1.0, 0.0}, kInf, {kNaN, 0.0}}, {{-1.0, 0.0}, -kInf, {kNaN, 0.0}}, {{-kInf, 0.0}, -0.5, {0.0, 0.0}},
        // Polar row: the sign of a zero imaginary part reaches the angle.
        {{-4.0, 0.0}, 0.5, {0.0, 2.0}}, {{-4.0, -0.0}, 0.5, {0.0, -2.0}},
        {{-kInf, 0.0}, 0.5, {kAny, kInf}}, {{1.0, kInf}, 0.5, {kInf, kInf}},
        {{kInf, 5.0}, -0.5, {0.0, 0.0}},  // modulus 0; the sine of the angle -0.0 snaps to +0.0
        {{-8.0, 0.0}, 1.0 / 3, {r8 * zt::real::cos(a8), r8 * zt::real::sin(a8)}},  // the principal root
    };
    for (const auto& c : cases) check(show(c.z, c.y), [&] { return pow(c.z, c.y); }, c.want);
    // An infinite angle: cos and sin are still called before the final check answers.
    const int trig = zt::errno_after([] { g_sink = zt::real::cos(opaque(kInf)) + zt::real::sin(opaque(kInf)); });
    check("i ^ +inf", [] { return pow(DComplex(0.0, 1.0), kInf); }, kNaNs, trig);
    check("(1,1) ^ -inf", [] { return pow(DComplex(1.0, 1.0), -kInf); }, kNaNs, trig);
}

TEST(PowReal, IntegralExponentsBeyondInt) {
    // 2147483647 and -2147483648 still go to the integer overload; one step further the
    // exponent is never wrapped into an int and this overload's own rows decide.
    const double in_hi = 2147483647.0, in_lo = -2147483648.0, out_hi = 2147483648.0, out_lo = -2147483649.0;
    for (double y : {in_hi, in_lo, out_hi, out_lo}) {
        const DComplex zero(0.0, 0.0), two(2.0, 0.0);
        check(show(zero, y), [&] { return pow(zero, y); }, y > 0 ? zero : DComplex(kInf, 0.0));
        check(show(two, y), [&] { return pow(two, y); }, {zt::real::pow(2.0, y), 0.0},
              real_errno([y] { return zt::real::pow(opaque(2.0), opaque(y)); }));
    }
    // Unit moduli leave the angle alone visible: |n| * arg(1/z) inside, arg(z) * y outside.
    const struct { DComplex z; double y, phi; } cases[] = {
        {{-1.0, 0.0}, in_hi, kPi * in_hi}, {{-1.0, 0.0}, out_hi, kPi * out_hi},
        {{-1.0, 0.0}, in_lo, -kPi * -in_lo}, {{-1.0, 0.0}, out_lo, kPi * out_lo},  // 1/(-1, 0) = (-1, -0)
        {{-1.0, -0.0}, in_lo, -kPi * -in_lo}, {{-1.0, -0.0}, out_lo, -kPi * out_lo},  // paths differ in sign
        {{0.0, 1.0}, in_lo, -kPi / 2 * -in_lo}, {{0.0, 1.0}, out_hi, kPi / 2 * out_hi},
        {{0.0, 1.0}, out_lo, kPi / 2 * out_lo}, {{0.0, -1.0}, out_hi, -kPi / 2 * out_hi},
    };
    for (const auto& c : cases)
        check(show(c.z, c.y), [&] { return pow(c.z, c.y); }, {snap(zt::real::cos(c.phi)), snap(zt::real::sin(c.phi))});
}

TEST(PowRealBase, RowsInOrder) {
    const double l2 = zt::real::log(2.0), m2 = zt::real::exp(-kPi) * 2.0, t2 = l2 + kPi;
    const struct { double x; DComplex w, want; } cases[] = {
        {kInf, {1.0, 0.0}, kNaNs}, {-kInf, {0.0, 0.0}, kNaNs}, {kInf, {kNaN, 0.0}, kNaNs},
        {kNaN, {0.0, 0.0}, kNaNs}, {2.0, {1.0, kNaN}, kNaNs},
        {0.0, {0.0, 0.0}, {1.0, 0.0}}, {2.0, {3.0, -0.0}, {8.0, 0.0}}, {-2.0, {3.0, 0.0}, {-8.0, 0.0}},
        {0.0, {1.0, 1.0}, {0.0, 0.0}}, {-0.0, {1.0, -1.0}, {0.0, 0.0}},
        {0.0, {0.0, 1.0}, kNaNs}, {0.0, {-1.0, 1.0}, kNaNs},  // w.re <= 0
        {2.0, {0.0, 1.0}, {zt::real::cos(l2), zt::real::sin(l2)}}, {1.0, {2.0, 3.0}, {1.0, 0.0}},  // through exp
        {-1.0, {0.0, 1.0}, {kEmPi, 0.0}}, {-2.0, {1.0, 1.0}, {m2 * zt::real::cos(t2), m2 * zt::real::sin(t2)}},
        {-1.0, {0.5, 1e-300}, {zt::real::cos(kPi / 2), 1.0}},  // this row never snaps
    };
    for (const auto& c : cases) check(show(c.x, c.w), [&] { return pow(c.x, c.w); }, c.want);
    // The real pow's own errno: a negative base to a fraction, a zero base to a negative power.
    check("-8 ^ 1/3", [] { return pow(-8.0, DComplex(1.0 / 3, 0.0)); }, {kAny, 0.0},
          real_errno([] { return zt::real::pow(opaque(-8.0), opaque(1.0 / 3)); }));
    check("0 ^ -2", [] { return pow(0.0, DComplex(-2.0, 0.0)); }, {kInf, 0.0},
          real_errno([] { return zt::real::pow(opaque(0.0), opaque(-2.0)); }));
}

TEST(PowRealBase, OverflowIsReportedByExp) {
    // Reported under exp's name with exp's argument w * ln 2, directly and through pow(z, w).
    const double l2 = zt::real::log(2.0);
    const DComplex w(2000.0, -1.0), inner(2000.0 * l2, -1.0 * l2), want(kInf, -kInf);
    for (bool cb : {false, true}) {
        zt::HookRecorder rec;
        check("overflow", [&] { return cb ? pow(DComplex(2.0, 0.0), w) : pow(2.0, w); }, want, ERANGE);
        ASSERT_EQ(1u, rec.reports().size());
        EXPECT_TRUE(zt::ReportIs(rec.reports()[0], zt::kOverflow, "exp", inner, want));
    }
}

TEST(PowComplex, RowsAndHandOffs) {
    const double r2 = zt::real::sqrt(2.0), rr = zt::real::exp(-kPi / 4) * r2, tt = zt::real::log(r2) + kPi / 4;
    const double r8 = zt::real::pow(8.0, 1.0 / 3), a8 = kPi * (1.0 / 3), l2 = zt::real::log(2.0);
    const struct { DComplex z, w, want; } cases[] = {
        {{kInf, -kInf}, {0.0, 0.0}, kNaNs}, {{kInf, kInf}, {kNaN, 0.0}, kNaNs},
        {{1.0, 0.0}, {0.0, kNaN}, kNaNs}, {{kNaN, 0.0}, {0.0, 0.0}, kNaNs}, {{0.0, 0.0}, {kNaN, 1.0}, kNaNs},
        // A real exponent wins over a real base.
        {{0.0, 0.0}, {0.0, 0.0}, {1.0, 0.0}}, {{0.0, 0.0}, {-0.5, 0.0}, {kInf, 0.0}},
        {{-4.0, -0.0}, {0.5, -0.0}, {0.0, -2.0}}, {{kInf, 5.0}, {-1.0, 0.0}, kNaNs},
        {{-8.0, 0.0}, {1.0 / 3, 0.0}, {r8 * zt::real::cos(a8), r8 * zt::real::sin(a8)}},
        // A real base: the sign of its zero imaginary part is dropped.
        {{0.0, 0.0}, {0.0, 1.0}, kNaNs}, {{kInf, 0.0}, {1.0, 1.0}, kNaNs},
        {{-1.0, 0.0}, {0.0, 1.0}, {kEmPi, 0.0}}, {{-1.0, -0.0}, {0.0, 1.0}, {kEmPi, 0.0}},
        {{2.0, 0.0}, {0.0, 1.0}, {zt::real::cos(l2), zt::real::sin(l2)}},
        // General form.
        {{0.0, 1.0}, {0.0, 1.0}, {0.20787957635076193, 0.0}},  // i^i = e^(-pi/2)
        {{0.0, 1.0}, {1.0, 1e-300}, {0.0, 1.0}},                // cos(pi/2) is snapped here
        {{1.0, 1.0}, {1.0, 1.0}, {rr * snap(zt::real::cos(tt)), rr * snap(zt::real::sin(tt))}},
    };
    for (const auto& c : cases) check(show(c.z, c.w), [&] { return pow(c.z, c.w); }, c.want);
}

}  // namespace
