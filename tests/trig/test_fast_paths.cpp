// tan and tanh compute the real functions that sin and cos (sinh and cosh)
// share only once on their ordinary path, and acos and asin reuse the modulus
// of their logarithm's argument. Results, reports and errno must be exactly
// those of the defined steps, composed here from the library's own functions.
#include "zu_test.h"

#include <functional>
#include <string>
#include <vector>

namespace {

const DComplex kZero(0.0);
double pole(double v) { return v > 0 ? zt::Inf() : v == 0 ? 0.0 : -zt::Inf(); }

// The quotient of tan and tanh, with the singularity report when the
// denominator is zero; `numerator_first` is whether the 0/0 case is settled
// (as tanh does) before reporting.
DComplex quotient_or_pole(const DComplex& num, const DComplex& den, const char* name, const DComplex& z,
                          bool numerator_first) {
    if (den != kZero) return num / den;
    if (numerator_first && num == kZero) return {zt::NaN(), zt::NaN()};
    c_exception e(name, z);
    e.type = zt::kSingularity;
    if (DComplex_error(e) != 0) return e.retval;
    errno = EDOM;
    if (num == kZero) return {zt::NaN(), zt::NaN()};
    return {pole(num.re), pole(num.im)};
}

DComplex steps_tan(const DComplex& z) {
    const DComplex s = sin(z);
    const DComplex c = cos(z);
    return quotient_or_pole(s, c, "tan", z, false);
}

DComplex steps_tanh(const DComplex& z) {
    const DComplex sh = sinh(z);
    const DComplex ch = cosh(z);
    return quotient_or_pole(sh, ch, "tanh", z, true);
}

// -i log(w) for w from z, with the singularity of acos and asin.
DComplex steps_inverse(const DComplex& z, bool is_acos) {
    const DComplex i(0.0, 1.0);
    const DComplex r = sqrt(1.0 - z * z);
    const DComplex w = is_acos ? z + i * r : i * z + r;
    if (std::isnan(abs(w))) return {zt::NaN(), zt::NaN()};
    if (abs(w) == 0) {
        c_exception e(is_acos ? "acos" : "asin", z);
        e.type = zt::kSingularity;
        if (DComplex_error(e) != 0) return e.retval;
        errno = EDOM;
        return i * DComplex(zt::Inf());
    }
    return (-i) * log(w);
}

struct Outcome {
    DComplex value;
    std::vector<zt::Report> reports;
    int err;
};

Outcome run(const std::function<DComplex(const DComplex&)>& f, const DComplex& z) {
    zt::HookRecorder hook;
    errno = zt::kErrnoSentinel;
    const DComplex value = f(z);
    return {value, hook.reports(), errno};
}

}  // namespace

TEST(FastPaths, TrigMatchesTheDefinedSteps) {
    const struct {
        const char* name;
        DComplex (*fast)(const DComplex&);
        std::function<DComplex(const DComplex&)> steps;
    } functions[] = {
        {"tan", tan, steps_tan},
        {"tanh", tanh, steps_tanh},
        {"acos", acos, [](const DComplex& z) { return steps_inverse(z, true); }},
        {"asin", asin, [](const DComplex& z) { return steps_inverse(z, false); }},
    };
    zt::PartGenerator gen(710);
    for (int n = 0; n < 50000; ++n) {
        const DComplex z = gen.next_complex();
        for (const auto& f : functions) {
            SCOPED_TRACE(std::string(f.name) + zt::describe(z));
            const Outcome want = run(f.steps, z), got = run(f.fast, z);
            ASSERT_PRED_FORMAT2(zt::SameComplex, want.value, got.value);
            ASSERT_EQ(want.err, got.err);
            ASSERT_EQ(want.reports.size(), got.reports.size());
            for (size_t k = 0; k < want.reports.size(); ++k) {
                const zt::Report& r = want.reports[k];
                ASSERT_TRUE(zt::ReportIs(got.reports[k], r.type, r.name.c_str(), r.arg1, r.retval));
            }
        }
    }
}
