// Products and quotients take the common case first; on every input, and
// under every rounding mode, they must give exactly what the full ladder of
// tests gives (the literal steps in tests/support/literal_steps.cpp).
#include "literal_steps.h"
#include "zu_test.h"

TEST(FastPaths, ProductAndQuotientMatchTheFullLadder) {
    zt::under_each_rounding_mode([] {
        zt::PartGenerator gen(20261207);
        for (int n = 0; n < 100000; ++n) {
            const DComplex a = gen.next_complex(), b = gen.next_complex();
            ASSERT_PRED_FORMAT2(zt::SameComplex, zt::steps::product(a, b), a * b) << zt::describe(a) << " * " << zt::describe(b);
            ASSERT_PRED_FORMAT2(zt::SameComplex, zt::steps::quotient(a, b), a / b) << zt::describe(a) << " / " << zt::describe(b);
        }
    });
}
