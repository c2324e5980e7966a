// tan and tanh compute the real functions that sin and cos (sinh and cosh)
// share only once on their ordinary path, and acos and asin reuse the modulus
// of their logarithm's argument. Results, reports and errno must be exactly
// those of the defined steps (tests/support/literal_steps.cpp), under every
// rounding mode.
#include "literal_steps.h"
#include "zu_test.h"


TEST(FastPaths, TrigMatchesTheDefinedSteps) {
    const struct {
        const char* name;
        DComplex (*fast)(const DComplex&);
        DComplex (*steps)(const DComplex&);
    } functions[] = {
        {"tan", tan, zt::steps::tan},
        {"tanh", tanh, zt::steps::tanh},
        {"acos", acos, zt::steps::acos},
        {"asin", asin, zt::steps::asin},
    };
    zt::under_each_rounding_mode([&] {
        zt::PartGenerator gen(710);
        for (int n = 0; n < 25000; ++n) {
            const DComplex z = gen.next_complex();
            for (const auto& f : functions) {
                ASSERT_PRED_FORMAT2(zt::SameOutcome, zt::observe([&] { return f.steps(z); }),
                                    zt::observe([&] { return f.fast(z); }))
                    << f.name << " of " << zt::describe(z);
            }
        }
    });
}
