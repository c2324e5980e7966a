// Products and quotients take the common case first; on every input they must
// give exactly what the full ladder of tests gives. The ladders are written
// out here step by step, as the reference.
#include "zu_test.h"

#include <cmath>

namespace {

DComplex ladder_product(const DComplex& a, const DComplex& b) {
    if (std::isnan(a.re) || std::isnan(a.im) || std::isnan(b.re) || std::isnan(b.im)) return {zt::NaN(), zt::NaN()};
    const bool ar0 = a.re == 0, ai0 = a.im == 0, br0 = b.re == 0, bi0 = b.im == 0;
    const bool a_real = ai0 && !ar0, a_imag = ar0 && !ai0, b_real = bi0 && !br0, b_imag = br0 && !bi0;
    if (ar0 && ai0) return {a.re * b.re, a.re * b.im};
    if (br0 && bi0) return {a.re * b.re, a.im * b.re};
    if (a_real && b_real) return {a.re * b.re, 0.0};
    if (a_imag && b_imag) return {(-a.im) * b.im, 0.0};
    if (a_imag && b_real) return {0.0, a.im * b.re};
    if (a_real && b_imag) return {0.0, a.re * b.im};
    if (ai0) return {a.re * b.re, a.re * b.im};
    if (bi0) return {a.re * b.re, a.im * b.re};
    if (ar0) return {(-a.im) * b.im, a.im * b.re};
    if (br0) return {(-a.im) * b.im, a.re * b.im};
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

DComplex ladder_quotient(const DComplex& a, const DComplex& b) {
    if (std::isnan(a.re) || std::isnan(a.im) || std::isnan(b.re) || std::isnan(b.im)) return {zt::NaN(), zt::NaN()};
    if (b.im == 0) return {a.re / b.re, a.im / b.re};
    if (b.re == 0) return {a.im / b.im, (-a.re) / b.im};
    const bool branch_a = std::fabs(b.im) >= std::fabs(b.re);
    const double t = branch_a ? b.re / b.im : (-b.im) / b.re;
    const double d = (t * t + 1.0) * (branch_a ? b.im : b.re);
    const double p = branch_a ? a.re : -a.im, q = branch_a ? a.im : a.re;
    return {(p * t + q) / d, (q * t - p) / d};
}

}  // namespace

TEST(FastPaths, ProductAndQuotientMatchTheFullLadder) {
    zt::PartGenerator gen(20261207);
    for (int n = 0; n < 200000; ++n) {
        const DComplex a = gen.next_complex(), b = gen.next_complex();
        SCOPED_TRACE(zt::describe(a) + " op " + zt::describe(b));
        ASSERT_PRED_FORMAT2(zt::SameComplex, ladder_product(a, b), a * b);
        ASSERT_PRED_FORMAT2(zt::SameComplex, ladder_quotient(a, b), a / b);
    }
}
