// Every product of the library is rounded on its own: the build's
// -ffp-contract=off forbids fusing a*b + c into one multiply-add, which
// aarch64 (and x86 with FMA) would otherwise do and which changes results.
// The operands below make a fused ar*br - ai*bi (or ar*bi + ai*br) differ
// from the separately rounded one, whichever of the two products a compiler
// would fuse.
#include "zu_test.h"

#include <cmath>

namespace {

const double kUp = 1.0 + 0x1p-27;    // kUp * kUp = 1 + 2^-26 + 2^-54, rounds down
const double kDown = 1.0 - 0x1p-27;  // kUp * kDown = 1 - 2^-54, rounds to 1

struct Case {
    DComplex a, b;
    bool real_part;  // which part a fused multiply-add would change
};

const Case kCases[] = {
    {DComplex(kUp, kUp), DComplex(kDown, kUp), true},    // re: 1 - (1 + 2^-26) = -2^-26
    {DComplex(kUp, -kUp), DComplex(kUp, kDown), false},  // im: 1 - (1 + 2^-26) = -2^-26
};

// x*y + u*v with each product rounded to double before the sum.
double separately_rounded(double x, double y, double u, double v) {
    volatile double xy = x * y;
    volatile double uv = u * v;
    return xy + uv;
}

TEST(Contraction, ProductsStayUnfused) {
    for (const Case& c : kCases) {
        const DComplex& a = c.a;
        const DComplex& b = c.b;
        SCOPED_TRACE(zt::describe(a) + " * " + zt::describe(b));
        const DComplex expected(separately_rounded(a.re, b.re, -a.im, b.im),
                                separately_rounded(a.re, b.im, a.im, b.re));

        // The case is one a fused multiply-add changes, either way round.
        volatile double ar = a.re, ai = a.im, br = b.re, bi = b.im;
        const double fused_first = c.real_part ? std::fma(ar, br, -(ai * bi)) : std::fma(ar, bi, ai * br);
        const double fused_second = c.real_part ? std::fma(-ai, bi, ar * br) : std::fma(ai, br, ar * bi);
        const double separate = c.real_part ? expected.re : expected.im;
        ASSERT_NE(zt::bits(separate), zt::bits(fused_first));
        ASSERT_NE(zt::bits(separate), zt::bits(fused_second));

        EXPECT_SAME_C(expected, a * b);
        DComplex product = a;
        product *= b;
        EXPECT_SAME_C(expected, product);
        double pair[2];
        const double pa[2] = {a.re, a.im};
        const double pb[2] = {b.re, b.im};
        Vel_ComplexMultiply(pair, pa, pb);
        EXPECT_SAME_C(expected, DComplex(pair[0], pair[1]));
    }
}

}  // namespace
