// The library leaves the caller's rounding mode alone, so under each of the
// four modes every result must be what the defined steps give in that mode:
// each IEEE operation rounded in it, and the platform's real functions called
// in it. Nothing of this may be decided when the library is compiled (a
// constant folded, an expansion of floor that makes 0 - 0, a negation moved
// out of a product), and no function may leave the mode changed. This test
// program is built with the same protection as the library, so its
// reference steps are evaluated in the mode too.
#include "literal_steps.h"
#include "zu_test.h"

#include <cfenv>
#include <sstream>
#include <string>
#include <vector>

namespace {

#define ZT_REQUIRE_ROUNDING_MODES()                                                     \
    if (const std::string why = zt::rounding_modes_unsupported(); !why.empty()) { \
        GTEST_SKIP() << why;                                                            \
    }

// floor and ceil are exact: the platform's functions give the same result in
// every mode, and so must the library's parts; round's steps (x -+ 0.5, then
// ceil or floor) are exact for every operand it does not answer at once, so
// it gives in every mode what it gives to nearest.
TEST(RoundingModes, ComponentRoundingNearZero) {
    ZT_REQUIRE_ROUNDING_MODES();
    std::vector<double> parts = {0.0, 0x1p-1074, 0x1p-1022, 1e-300, 0.3, 0.49999999999999994, 0.5,
                                 0.5000000000000001, 0.7, 0.9999999999999999, 1.0, 1.0000000000000002,
                                 2.5, 0x1p52 + 1};
    for (std::size_t k = 0, n = parts.size(); k < n; ++k) parts.push_back(-parts[k]);
    std::vector<double> rounded;
    for (double x : parts) rounded.push_back(Vel_Round(x));

    zt::under_each_rounding_mode([&] {
        for (std::size_t k = 0; k < parts.size(); ++k) {
            const double x = parts[k];
            const DComplex z(x, -x);
            SCOPED_TRACE(zt::describe(z));
            EXPECT_SAME_C(DComplex(zt::real::floor(x), zt::real::floor(-x)), floor(z));
            EXPECT_SAME_C(DComplex(zt::real::ceil(x), zt::real::ceil(-x)), ceil(z));
            EXPECT_SAME(rounded[k], Vel_Round(x));
            EXPECT_SAME_C(DComplex(rounded[k], Vel_Round(-x)), round(z));
        }
    });
}

// Every exported function on fixed operands: signed zeros, a subnormal,
// parts whose products and quotients are inexact (so each mode rounds them
// differently), the hyperbolic cut-off, overflowing parts, infinities, NaN.
std::vector<double> parts_of(bool all) {
    const double inf = zt::Inf();
    if (!all) return {0.0, -0.0, 1.0, -0.1, 2.5, 0x1p-1060, inf, zt::NaN()};
    return {0.0, -0.0, 1.0, -1.0, 0.1, -0.3333333333333333, 2.5, -3.7, 0x1p-1060, 1e-300, 710.25, -800.0, 1e300,
            inf, -inf, zt::NaN()};
}

std::vector<DComplex> complex_of(const std::vector<double>& parts) {
    std::vector<DComplex> values;
    for (double re : parts) {
        for (double im : parts) values.emplace_back(re, im);
    }
    return values;
}

using Unary = DComplex (*)(const DComplex&);
using Binary = DComplex (*)(const DComplex&, const DComplex&);

// Real-valued functions are compared as the real part of a DComplex.
const struct {
    const char* name;
    Unary lib, steps;
} kUnary[] = {
    {"conj", conj, [](const DComplex& z) { return DComplex(z.re, -z.im); }},
    {"-z", [](const DComplex& z) { return -z; }, [](const DComplex& z) { return DComplex(-z.re, -z.im); }},
    {"real, imag", [](const DComplex& z) { return DComplex(real(z), imag(z)); }, [](const DComplex& z) { return z; }},
    {"abs", [](const DComplex& z) { return DComplex(abs(z)); }, [](const DComplex& z) { return DComplex(zt::steps::abs(z)); }},
    {"norm", [](const DComplex& z) { return DComplex(norm(z)); }, [](const DComplex& z) { return DComplex(zt::steps::norm(z)); }},
    {"arg", [](const DComplex& z) { return DComplex(arg(z)); }, [](const DComplex& z) { return DComplex(zt::steps::arg(z)); }},
    {"ceil", ceil, [](const DComplex& z) { return DComplex(zt::real::ceil(z.re), zt::real::ceil(z.im)); }},
    {"floor", floor, [](const DComplex& z) { return DComplex(zt::real::floor(z.re), zt::real::floor(z.im)); }},
    {"round", round, [](const DComplex& z) { return DComplex(zt::steps::round(z.re), zt::steps::round(z.im)); }},
    {"Vel_Round", [](const DComplex& z) { return DComplex(Vel_Round(z.re)); }, [](const DComplex& z) { return DComplex(zt::steps::round(z.re)); }},
    {"exp", exp, zt::steps::exp},
    {"log", log, zt::steps::log},
    {"log10", log10, zt::steps::log10},
    {"sqrt", sqrt, zt::steps::sqrt},
    {"cosh", cosh, zt::steps::cosh},
    {"sinh", sinh, zt::steps::sinh},
    {"tanh", tanh, zt::steps::tanh},
    {"cos", cos, zt::steps::cos},
    {"sin", sin, zt::steps::sin},
    {"tan", tan, zt::steps::tan},
    {"acos", acos, zt::steps::acos},
    {"asin", asin, zt::steps::asin},
    {"atan", atan, zt::steps::atan},
};

const struct {
    const char* name;
    Binary lib, steps;
} kBinary[] = {
    {"a + b", [](const DComplex& a, const DComplex& b) { return a + b; },
     [](const DComplex& a, const DComplex& b) { return DComplex(a.re + b.re, a.im + b.im); }},
    {"a - b", [](const DComplex& a, const DComplex& b) { return a - b; },
     [](const DComplex& a, const DComplex& b) { return DComplex(a.re - b.re, a.im - b.im); }},
    {"a += b", [](const DComplex& a, const DComplex& b) { DComplex r = a; r += b; return r; },
     [](const DComplex& a, const DComplex& b) { return DComplex(a.re + b.re, a.im + b.im); }},
    {"a -= b", [](const DComplex& a, const DComplex& b) { DComplex r = a; r -= b; return r; },
     [](const DComplex& a, const DComplex& b) { return DComplex(a.re - b.re, a.im - b.im); }},
    {"re + b", [](const DComplex& a, const DComplex& b) { return a.re + b; },
     [](const DComplex& a, const DComplex& b) { return DComplex(a.re + b.re, b.im); }},
    {"b + re", [](const DComplex& a, const DComplex& b) { return b + a.re; },
     [](const DComplex& a, const DComplex& b) { return DComplex(b.re + a.re, b.im); }},
    {"re - b", [](const DComplex& a, const DComplex& b) { return a.re - b; },
     [](const DComplex& a, const DComplex& b) { return DComplex(a.re - b.re, -b.im); }},
    {"b - re", [](const DComplex& a, const DComplex& b) { return b - a.re; },
     [](const DComplex& a, const DComplex& b) { return DComplex(b.re - a.re, b.im); }},
    {"==, !=", [](const DComplex& a, const DComplex& b) { return DComplex(a == b, a != b); },
     [](const DComplex& a, const DComplex& b) { const bool eq = a.re == b.re && a.im == b.im; return DComplex(eq, !eq); }},
    {"a * b", [](const DComplex& a, const DComplex& b) { return a * b; }, zt::steps::product},
    {"a *= b", [](const DComplex& a, const DComplex& b) { DComplex r = a; r *= b; return r; }, zt::steps::product},
    {"Vel_ComplexMultiply", [](const DComplex& a, const DComplex& b) {
         double r[2], pa[2] = {a.re, a.im}, pb[2] = {b.re, b.im};
         Vel_ComplexMultiply(r, pa, pb);
         return DComplex(r[0], r[1]); }, zt::steps::product},
    {"a / b", [](const DComplex& a, const DComplex& b) { return a / b; }, zt::steps::quotient},
    {"a /= b", [](const DComplex& a, const DComplex& b) { DComplex r = a; r /= b; return r; }, zt::steps::quotient},
    {"Vel_ComplexDivide", [](const DComplex& a, const DComplex& b) {
         double r[2], pa[2] = {a.re, a.im}, pb[2] = {b.re, b.im};
         Vel_ComplexDivide(r, pa, pb);
         return DComplex(r[0], r[1]); }, zt::steps::quotient},
    {"hypot", hypot, zt::steps::hypot},
    {"pow(z, w)", [](const DComplex& a, const DComplex& b) { return pow(a, b); },
     [](const DComplex& a, const DComplex& b) { return zt::steps::pow(a, b); }},
    {"pow(z, re)", [](const DComplex& a, const DComplex& b) { return pow(a, b.re); },
     [](const DComplex& a, const DComplex& b) { return zt::steps::pow(a, b.re); }},
    {"pow(re, w)", [](const DComplex& a, const DComplex& b) { return pow(a.re, b); },
     [](const DComplex& a, const DComplex& b) { return zt::steps::pow(a.re, b); }},
    {"polar(re, re)", [](const DComplex& a, const DComplex& b) { return polar(a.re, b.re); },
     [](const DComplex& a, const DComplex& b) { return zt::steps::polar(a.re, b.re); }},
};

TEST(RoundingModes, EveryFunctionTakesItsStepsInTheMode) {
    ZT_REQUIRE_ROUNDING_MODES();
    const std::vector<DComplex> values = complex_of(parts_of(true)), seconds = complex_of(parts_of(false));
    const double nan = Vel_NaN(), inf = Vel_Inf();
    const float nan_float = Vel_NaN_Float(), inf_float = Vel_Inf_Float();

    zt::under_each_rounding_mode([&] {
        for (const DComplex& a : values) {
            for (const auto& f : kUnary) {
                ASSERT_PRED_FORMAT2(zt::SameOutcome, zt::observe([&] { return f.steps(a); }),
                                    zt::observe([&] { return f.lib(a); }))
                    << f.name << " of " << zt::describe(a);
            }
            for (int n : {-3, -1, 0, 1, 2, 5}) {
                ASSERT_PRED_FORMAT2(zt::SameOutcome, zt::observe([&] { return zt::steps::pow(a, n); }),
                                    zt::observe([&] { return pow(a, n); }))
                    << "pow(z, " << n << ") of " << zt::describe(a);
            }
            for (const DComplex& b : seconds) {
                for (const auto& f : kBinary) {
                    ASSERT_PRED_FORMAT2(zt::SameOutcome, zt::observe([&] { return f.steps(a, b); }),
                                        zt::observe([&] { return f.lib(a, b); }))
                        << f.name << " of " << zt::describe(a) << ", " << zt::describe(b);
                }
            }
        }

        // The table is filled once, at load: its values are the same in every mode.
        EXPECT_EQ(1, VelInitFP());
        EXPECT_EQ(zt::bits(nan), zt::bits(Vel_NaN()));
        EXPECT_EQ(zt::bits(inf), zt::bits(Vel_Inf()));
        EXPECT_EQ(zt::bits(nan_float), zt::bits(Vel_NaN_Float()));
        EXPECT_EQ(zt::bits(inf_float), zt::bits(Vel_Inf_Float()));

        // The text form is the stream's own formatting and parsing of each
        // part, which round in the mode too.
        for (const DComplex& a : values) {
            std::ostringstream lib, steps;
            lib.precision(17);
            steps.precision(17);
            lib << a;
            steps << "(" << a.re << "," << a.im << ")";
            EXPECT_EQ(steps.str(), lib.str());
        }
        for (const char* text : {"(0.1,-0.3)", "(1e-320,2.5e-308)", "(7e22,1.1)"}) {
            SCOPED_TRACE(text);
            std::istringstream lib(text), steps(text);
            DComplex read;
            lib >> read;
            char c;
            double re, im;
            steps >> c >> re >> c >> im;
            EXPECT_SAME_C(DComplex(re, im), read);
        }
    });
}

}  // namespace
