// cosh and sinh from one reduction of |x| (exp_log.h): with |x| = k ln2/128 + r,
//   e^|x|  = 2^(k/128)  (1 + P(r)),   e^-|x| = 2^(-k/128) (1 + P(-r)),
// and P(r) = r + even(r) + odd(r) from the coefficients of exp, so both come
// from one polynomial and two table entries; the halving is folded into the
// exponents, and the sum or difference of the two scales is split exactly.
//   sinh, |x| < 1/8: x + x^3 s(x^2) (degree 13, no cancellation);
//   |x| > 26: e^-|x| is below 2^-75 of e^|x|, so e^|x|/2 alone, through the
//     exp path, which forms results near the overflow threshold (710.4758...)
//     at half size.
// Measured error 0.507 ulp (cosh) and 0.518 ulp (sinh, largest just above
// 1/8) in round-to-nearest (tools/realcheck, 10^7 arguments), 1.25 ulps at
// most in the directed modes (10^6 arguments each).
#include "real/exp_log.h"
#include "real/portable.h"

namespace zu {
namespace real {
namespace portable {

using namespace detail;

namespace {
constexpr double kTwoSidedLimit = 0x1.ap4;  // 26
// |x| below 2^-27: cosh x - 1 < 2^-55, below a quarter of an ulp of 1;
// |x| below 2^-26: sinh x - x below a quarter of an ulp of x. Any addend of
// the right sign and that size rounds as the exact value in every mode (the
// one of sinh made from x, the one of cosh zero for x = 0, so that the
// exact results stay exact); in the directed modes the reduction would
// round k away from 0, the series would lose x^3 below the subnormals.
constexpr std::uint64_t kCoshTinyBits = 0x3e40000000000000u;  // 2^-27
constexpr std::uint64_t kSinhTinyBits = 0x3e50000000000000u;  // 2^-26
constexpr double kHyperbolicOverflow = 0x1.63800p9;  // 711: beyond, certainly out of range

// sign * (e^ax + plus_minus e^-ax) / 2 for 0 <= ax <= 26 (ax >= 1/8 for the
// difference); plus is true for cosh. A = Sp (1 + r + wp), B = Sm (1 - r + wm):
//   A +- B = (Sp +- Sm) + r (Sp -+ Sm) + (Sp wp +- Sm wm).
double two_sided(double ax, bool plus, std::uint64_t sign) noexcept {
    const ExpReduced red = exp_reduce(ax);
    const std::uint64_t mask = (1u << kExpTableBits) - 1;
    const std::uint64_t k_minus = 0 - red.k;
    const ExpEntry& ep = kExpTable[red.k & mask];
    const ExpEntry& em = kExpTable[k_minus & mask];
    const double sp = from_bits((exp_scale_bits(ep, red.k) - kExponentOne) ^ sign);  // 2^(k/128) / 2
    const double sm = from_bits((exp_scale_bits(em, k_minus) - kExponentOne) ^ sign);
    const double r = red.r;
    const double r2 = r * r;
    const double even = r2 * (kExpC2 + r2 * kExpC4);
    const double odd = red.r_tail + r * r2 * (kExpC3 + r2 * kExpC5);
    const double wp = (ep.tail + (odd + even)) + ep.tail * r;
    const double wm = (em.tail + (even - odd)) - em.tail * r;
    double h, h_err;
    if (plus) {
        fast_two_sum(sp, sm, h, h_err);
        return h + (h_err + (r * (sp - sm) + (sp * wp + sm * wm)));
    }
    fast_two_sum(sp, -sm, h, h_err);
    return h + (h_err + (r * (sp + sm) + (sp * wp - sm * wm)));
}

// sign * e^ax / 2 for 26 < ax; NaN and infinity are passed on (+-inf, no
// errno), and beyond 711 the result certainly overflows (ERANGE).
[[gnu::noinline, gnu::cold]] double one_sided(double ax, std::uint64_t sign) noexcept {
    if (ax != ax) return ax + ax;
    if (ax == from_bits(kInfinityBits)) return from_bits(kInfinityBits | sign);
    if (ax > kHyperbolicOverflow) return overflow(sign);
    const ExpParts parts = exp_parts(ax, -0.0);
    if (ax > kExpFastLimit) return exp_outside(parts, -1, sign);
    const double s = from_bits((parts.scale_bits - kExponentOne) ^ sign);
    return s + s * parts.u;
}

// cosh of tiny, big, infinite and NaN arguments (|x| beyond the two-sided
// range).
[[gnu::noinline, gnu::cold]] double cosh_outside(double x, double ax) noexcept {
    if (to_bits(ax) < kCoshTinyBits) return 1.0 + ax * 0x1p-40;
    return one_sided(x != x ? x : ax, 0);
}
}  // namespace

// cosh(x) = cosh(|x|): NaN -> NaN (quieted, payload kept, sign dropped with
// the sign of x), +-inf -> +inf, overflow beyond 710.4758... (ERANGE).
double cosh(double x) noexcept {
    const double ax = from_bits(to_bits(x) & kMagnitudeMask);
    if (to_bits(ax) - kCoshTinyBits > to_bits(kTwoSidedLimit) - kCoshTinyBits) return cosh_outside(x, ax);
    return two_sided(ax, true, 0);
}

// sinh(x) = -sinh(-x), the sign carried into the scales so that the directed
// modes round the right way: +-0 -> +-0, NaN -> NaN, +-inf -> +-inf, overflow
// beyond +-710.4758... (ERANGE).
double sinh(double x) noexcept {
    const std::uint64_t sign = to_bits(x) & kSignBitMask;
    const double ax = from_bits(to_bits(x) ^ sign);
    if (ax < kSinhSmall) {
        if (to_bits(ax) < kSinhTinyBits) return x + x * 0x1p-60;  // +-0 stays
        const double x2 = x * x;
        const double x4 = x2 * x2;
        const double s = (kSinhC3 + x2 * kSinhC5) + x4 * ((kSinhC7 + x2 * kSinhC9) + x4 * (kSinhC11 + x2 * kSinhC13));
        return x + x * (x2 * s);
    }
    if (!(ax <= kTwoSidedLimit)) return one_sided(x != x ? x : ax, sign);
    return two_sided(ax, false, sign);
}

}  // namespace portable
}  // namespace real
}  // namespace zu
