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

// The singularity report, out of line, with the default `unit` * (+inf, 0):
// i for acos, asin and atan(i), -i for atan(-i).
[[gnu::noinline]] DComplex singularity(const char* name, const DComplex& z, const DComplex& unit) {
    c_exception e(name, z);
    return report_singularity(e, mul_ladder(unit, DComplex(inf())));
}

// The singularity report of acos and asin when the logarithm's argument w is
// zero, and the evaluation otherwise:
//   abs(w) NaN  -> (NaN, NaN), without a report (a NaN in z gets here through
//                  the products); abs(w) is NaN exactly when a part of w is
//   abs(w) == 0 -> singularity; default i * (+inf, 0) = (+0.0, +inf)
//   otherwise   -> -i log(w); w has no NaN part and is not zero here, so log
//                  takes its last rung, with the modulus already in hand
inline DComplex minus_i_log(const char* name, const DComplex& z, const DComplex& w) {
    const DComplex i(0.0, 1.0);
    if (has_nan_part(w)) return nan_pair();
    const double modulus = modulus_of_non_nan(w);
    if (modulus == 0.0) return singularity(name, z, i);
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
    // z == -i, then z == i: both need a zero real part, tested once.
    if (z.re == 0.0) {
        if (equal(z, neg(i))) return singularity("atan", z, neg(i));
        if (equal(z, i)) return singularity("atan", z, i);
    }

    // z has no NaN part, and the parts of i are finite, so neither has i - z
    // or i + z: log's NaN test cannot fire. Both moduli are formed first:
    // they call no real function, so only the time changes (their divisions
    // and square roots overlap), not a bit or errno.
    const DComplex u = sub(i, z);
    const DComplex v = add(i, z);
    const double u_modulus = modulus_of_non_nan(u);
    const double v_modulus = modulus_of_non_nan(v);
    const DComplex a = log_with_modulus(u, u_modulus);
    const DComplex b = log_with_modulus(v, v_modulus);
    const DComplex d = sub(b, a);
    // i / (2, 0): the quotient's real-divisor rung gives (0 / 2, 1 / 2) =
    // (+0.0, 0.5) exactly, in every rounding mode, so it is written out.
    const DComplex h(0.0, 0.5);
    return mul_ladder(h, d);
}
