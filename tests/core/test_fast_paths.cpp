// Products and quotients take the common case first, and products take
// their other rungs from a table; on every input, and under every rounding
// mode, each form of them must give exactly what the full ladder of tests
// gives (the literal steps in tests/support/literal_steps.cpp).
#include "literal_steps.h"
#include "zu_test.h"

TEST(FastPaths, ProductAndQuotientMatchTheFullLadder) {
    zt::under_each_rounding_mode([] {
        zt::PartGenerator gen(20261207);
        for (int n = 0; n < 100000; ++n) {
            const DComplex a = gen.next_complex(), b = gen.next_complex();
            const DComplex product = zt::steps::product(a, b);
            DComplex compound = a;
            compound *= b;
            const double pa[2] = {a.re, a.im}, pb[2] = {b.re, b.im};
            double pair[2];
            Vel_ComplexMultiply(pair, pa, pb);
            ASSERT_PRED_FORMAT2(zt::SameComplex, product, a * b) << zt::describe(a) << " * " << zt::describe(b);
            ASSERT_PRED_FORMAT2(zt::SameComplex, product, compound) << zt::describe(a) << " *= " << zt::describe(b);
            ASSERT_PRED_FORMAT2(zt::SameComplex, product, DComplex(pair[0], pair[1])) << zt::describe(a);
            ASSERT_PRED_FORMAT2(zt::SameComplex, zt::steps::quotient(a, b), a / b) << zt::describe(a) << " / " << zt::describe(b);
        }
    });
}
