// Inverse cosine, sine and tangent, each one closed formula in the complex
// logarithm, evaluated step by step with the library's own products,
// quotients, sums, sqrt and log, so NaN and infinite parts follow their
// rules (core/arith.h holds them inline). There is no branch-cut adjustment
// beyond what sqrt and log do.
#include "core/arith.h"
#include "explog/internal.h"
#include "fp/internal.h"

using namespace zu::detail;

namespace {

// The singularity report of acos and asin when the logarithm's argument w is
// zero, and the evaluation otherwise:
//   abs(w) NaN  -> (NaN, NaN), without a report (a NaN in z gets here through
//                  the products)
//   abs(w) == 0 -> singularity; default i * (+inf, 0) = (+0.0, +inf)
//   otherwise   -> -i log(w); w has no NaN part and is not zero here, so log
//                  takes its last rung, with the modulus already in hand
// Inline in both callers; the report is made out of line.
[[gnu::noinline]] DComplex log_singularity(const char* name, const DComplex& z) {
    const DComplex i(0.0, 1.0);
    c_exception e(name, z);
    return report_singularity(e, mul_ladder(i, DComplex(inf())));
}

inline DComplex minus_i_log(const char* name, const DComplex& z, const DComplex& w) {
    const DComplex i(0.0, 1.0);
    const double modulus = zu::detail::modulus(w);
    if (is_nan(modulus)) return nan_pair();
    if (modulus == 0.0) return log_singularity(name, z);
    return mul_ladder(neg(i), log_with_modulus(w, modulus));
}

}  // namespace

// acos(z) = -i log(z + i sqrt(1 - z z)).
DComplex acos(const DComplex& z) {
    const DComplex i(0.0, 1.0);
    const DComplex p = mul(z, z);
    const DComplex q = sub(1.0, p);  // (1 - p.re, -p.im)
    const DComplex r = square_root(q);
    const DComplex m = mul_ladder(i, r);
    const DComplex w = add(z, m);
    return minus_i_log("acos", z, w);
}

// asin(z) = -i log(i z + sqrt(1 - z z)).
DComplex asin(const DComplex& z) {
    const DComplex i(0.0, 1.0);
    const DComplex p = mul(z, z);
    const DComplex q = sub(1.0, p);
    const DComplex r = square_root(q);
    const DComplex m = mul_ladder(i, z);
    const DComplex w = add(m, r);
    return minus_i_log("asin", z, w);
}

// atan(z) = (i / 2) (log(i + z) - log(i - z)):
//   a NaN part -> (NaN, NaN), without a report
//   z == -i    -> singularity (i + z would be zero); default -i * (+inf, 0)
//                 = (+0.0, -inf). Tested first; == lets (-0.0, -1) match.
//   z == i     -> singularity (i - z would be zero); default (+0.0, +inf)
// Otherwise log(i - z) is taken before log(i + z), and i / 2 is the quotient
// (0, 1) / (2, 0) = (0, 0.5).
DComplex atan(const DComplex& z) {
    if (has_nan_part(z)) return nan_pair();
    const DComplex i(0.0, 1.0);
    if (equal(z, neg(i))) {
        c_exception e("atan", z);
        return report_singularity(e, mul_ladder(neg(i), DComplex(inf())));
    }
    if (equal(z, i)) {
        c_exception e("atan", z);
        return report_singularity(e, mul_ladder(i, DComplex(inf())));
    }

    // z has no NaN part, and the parts of i are finite, so neither has i - z
    // or i + z: log's NaN test cannot fire.
    const DComplex a = logarithm_of_non_nan(sub(i, z));
    const DComplex b = logarithm_of_non_nan(add(i, z));
    const DComplex d = sub(b, a);
    // i / (2, 0): the quotient's real-divisor rung gives (0 / 2, 1 / 2) =
    // (+0.0, 0.5) exactly, in every rounding mode, so it is written out.
    const DComplex h(0.0, 0.5);
    return mul_ladder(h, d);
}
