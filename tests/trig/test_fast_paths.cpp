// tan and tanh compute the real functions that sin and cos (sinh and cosh)
// share only once on their ordinary path; acos and asin reuse the modulus of
// their logarithm's argument; sqrt, log, atan, acos and asin enter abs, arg,
// sqrt and log past the tests that cannot fire for their operands. Results,
// reports and errno must be exactly those of the defined steps
// (tests/support/literal_steps.cpp), under every rounding mode.
#include "literal_steps.h"
#include "zu_test.h"


TEST(FastPaths, FunctionsMatchTheDefinedSteps) {
    const struct {
        const char* name;
        DComplex (*fast)(const DComplex&);
        DComplex (*steps)(const DComplex&);
    } functions[] = {
        {"tan", tan, zt::steps::tan},
        {"tanh", tanh, zt::steps::tanh},
        {"acos", acos, zt::steps::acos},
        {"asin", asin, zt::steps::asin},
        {"atan", atan, zt::steps::atan},
        {"sqrt", sqrt, zt::steps::sqrt},
        {"log", log, zt::steps::log},
        {"abs, arg", [](const DComplex& z) { return DComplex(abs(z), arg(z)); },
         [](const DComplex& z) { return DComplex(zt::steps::abs(z), zt::steps::arg(z)); }},
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
