// atan2(y, x): the angle of the point (x, y), in [-pi, pi].
//
// Method: with a = |y|, b = |x|, the angle of (b, a) in [0, pi/2] is
// atan(t) for t = a/b <= 1, or pi/2 - atan(b/a) the other way round; x < 0
// reflects it to pi - angle, and y < 0 gives the sign. For the ratio
// t = n/d <= 1 (n, d the smaller and the larger of a and b):
//
//   t < 2^-60 (by exponents)   atan t = t to well under an ulp: the
//                              correctly rounded quotient itself, or
//                              pi - t, pi/2 +- t from pi and pi/2 as pairs.
//   otherwise                  table: c = j/64 nearest t, u = t - c
//                              (|u| <= 2^-7), and atan(c + u) from its
//                              series about c, one row of coefficients per
//                              table point, with atan c as a pair.
//
// One division, q = 1/d, gives t0 = n q; th is t0 rounded to 20 bits and
// tl = (n - th d) q, where n - th d is exact up to its last subtraction, so
// t = th + tl to about 2^-71 t. Then uh = th - c is exact and short, and the
// coefficients of u and u^2 are stored rounded to short values, so their
// terms in uh are exact; the rest (from tl, from those roundings, and the
// terms to u^9, fitted per row) is at most 2^-13 of atan t and is computed
// in plain double arithmetic. The angle is then base + sense (atan t) with
// the base (atan c, pi/2 - atan c, pi - atan c or pi/2 + atan c) from a
// table of pairs: its high part plus the exact leading terms is an exact
// pair, and the sum is rounded once. The signs go in before that rounding.
//
// Arguments beyond 2^900 or below 2^-800 (with a ratio not below 2^-60) are
// scaled by 2^-600 or 2^600 first, so that the reciprocal and the exact
// products stay clear of overflow and underflow.
//
// Coefficients and tables: src/real/trig_data.h (atan(c + u) to 2^-69.5
// relative). Measured (tools/realcheck, 10^7 argument pairs plus the hard
// cases, docs/ACCURACY.md): at most 0.500 ulp, all but one correctly
// rounded; in the directed rounding modes below 1 ulp (10^6 pairs each).
//
// Special values (C Annex F; tested in this order):
//   NaN in either argument         NaN (passed on by y + x)
//   y = +-0:  x > 0 or +0 -> +-0;   x < 0 or -0 -> +-pi
//   x = +-0 (y != 0)               +-pi/2 with the sign of y
//   y = +-inf: x = +inf -> +-pi/4, x = -inf -> +-3pi/4, else +-pi/2
//   x = +inf (y finite)            +-0
//   x = -inf (y finite)            +-pi
// No errno except an underflow to zero: y/x below half the smallest
// subnormal with x > 0 returns +-0 and sets ERANGE (a subnormal result sets
// nothing); there is no domain error, atan2(0, 0) included.
#include "real/internal.h"
#include "real/portable.h"
#include "real/trig_data.h"

#include <cstdint>

namespace zu {
namespace real {
namespace portable {

namespace {

using detail::fast_two_sum;
using detail::from_bits;
using detail::split;
using detail::to_bits;
namespace t = detail::trig;

constexpr std::uint64_t kSignBit = detail::kSignBitMask;
constexpr std::uint64_t kAbsMask = detail::kMagnitudeMask;
constexpr std::uint64_t kInfBits = detail::kInfinityBits;
constexpr int kTinyRatioExponents = 60;  // exponent gap beyond which atan t = t
constexpr std::uint64_t kScaleDownBits = 0x7830000000000000u;  // 2^900
constexpr std::uint64_t kScaleUpBits = 0x0df0000000000000u;    // 2^-800
constexpr double kSplit20 = 0x1p33 + 1.0;  // Veltkamp: the high part keeps 53 - 33 = 20 bits

// angle = base + sense * atan t, with the sign of y folded into both:
//   a <= b, x > 0:  atan t          a > b, x > 0:  pi/2 - atan t
//   a <= b, x < 0:  pi - atan t     a > b, x < 0:  pi/2 + atan t
// picked by index rather than by branches (the octant of an arbitrary
// point is unpredictable). The index also picks the table of bases
// (kAtanBase in trig_data.h) on the common path.
struct Octant {
    double base_hi, base_lo, sense;
};
constexpr Octant kOctant[4] = {
    {0.0, 0.0, 1.0}, {t::kPio2Hi, t::kPio2Lo, -1.0}, {t::kPiHi, t::kPiLo, -1.0}, {t::kPio2Hi, t::kPio2Lo, 1.0}};
constexpr double kSign[2] = {1.0, -1.0};

double with_sign(double v, bool negative) { return negative ? -v : v; }

}  // namespace

double atan2(double y, double x) noexcept {
    const std::uint64_t ybits = to_bits(y), xbits = to_bits(x);
    const std::uint64_t ya = ybits & kAbsMask, xa = xbits & kAbsMask;
    const bool y_negative = (ybits & kSignBit) != 0;
    const bool x_negative = (xbits & kSignBit) != 0;
    // One test keeps zeros, infinities and NaNs off the common path (x - 1
    // wraps around for a zero).
    if (ya - 1 >= kInfBits - 1 || xa - 1 >= kInfBits - 1) {
        if (ya > kInfBits || xa > kInfBits) return y + x;  // NaN: quieted, payload kept
        if (ya == 0) {
            // atan2(+-0, x): +-0 toward +x (and +0), +-pi toward -x (and -0).
            return x_negative ? with_sign(t::kPiHi, y_negative) : y;
        }
        if (xa == 0) return with_sign(t::kPio2Hi, y_negative);  // atan2(y, +-0) = +-pi/2
        if (ya == kInfBits) {
            if (xa == kInfBits) return with_sign(x_negative ? t::kThreePio4 : t::kPio4, y_negative);
            return with_sign(t::kPio2Hi, y_negative);  // atan2(+-inf, finite) = +-pi/2
        }
        return x_negative ? with_sign(t::kPiHi, y_negative) : with_sign(0.0, y_negative);  // x = +-inf
    }

    // Finite and non-zero from here on.
    const bool swapped = ya > xa;  // the angle of (b, a) beyond pi/4
    const std::uint64_t nbits = swapped ? xa : ya, dbits = swapped ? ya : xa;
    const double n = from_bits(nbits), d = from_bits(dbits);
    const int gap = static_cast<int>(dbits >> 52) - static_cast<int>(nbits >> 52);
    const int octant = (x_negative ? 2 : 0) + (swapped ? 1 : 0);
    const Octant& o = kOctant[octant];
    const double sy = kSign[y_negative ? 1 : 0];
    if (gap > kTinyRatioExponents) {
        // t = n/d < 2^-59: atan t = t (1 - t^2/3) rounds as t does (the
        // quotient of two doubles is never a rounding midpoint). The signs
        // go in before the one rounding, so a directed mode rounds the
        // signed result.
        if (!swapped && !x_negative) {
            const double r = y / x;  // atan(y/x), the quotient correctly rounded
            if (r == 0.0) return detail::range_error(r);  // underflow to +-0
            return r;
        }
        return sy * o.base_hi + (sy * o.base_lo + (sy * o.sense) * (n / d));  // pi -+ t, pi/2 +- t
    }
    double ns = n, ds = d;
    if (dbits - kScaleUpBits >= kScaleDownBits - kScaleUpBits) {  // outside [2^-800, 2^900)
        const double scale = dbits >= kScaleDownBits ? 0x1p-600 : 0x1p600;
        ns *= scale;
        ds *= scale;
    }
    // t = n/d = th + tl: th is the quotient rounded to 20 bits, and tl, at
    // most 2^-20 t, comes from n - th d, exact up to its last subtraction
    // (th times a 26-bit half of d is exact, and th d1 lies within a factor
    // 2 of n).
    const double q = 1.0 / ds;
    const double t0 = ns * q;  // n/d within an ulp
    const double ts = t0 * kSplit20;
    const double th = ts - (ts - t0);
    double d1, d2;
    split(ds, d1, d2);
    const double tl = ((ns - th * d1) - th * d2) * q;
    // c = j/64 nearest t0 (the truncation after adding 1/2 is the same in
    // every rounding mode, so |t - c| stays near 2^-7 in all of them), and
    // u = t - c = uh + tl with uh = th - c exact: th >= 2^-7 unless j = 0
    // (and then c = 0), so uh is a multiple of 2^-26 below 2^-6, 20 bits.
    const int j = static_cast<int>(t0 * 64.0 + 0.5);
    const double uh = th - j * 0x1p-6;
    const double u = uh + tl;
    // atan t = atan c + a1s u + a2s u^2 + u (b1 + b2 u + a3 u^2 + ... + a9 u^8)
    // with kAtanPoly[j] = {a1s, a2s, b1, ..., a9}: the lead a1s uh + a2s uh^2
    // is exact (a multiple of 2^-59 below 2^-6, see trig_data.h); the rest,
    // a1s tl + a2s (u^2 - uh^2) + u (b1 + ...), needs only double arithmetic.
    const double* k = t::kAtanPoly[j];
    const double lead = k[0] * uh + k[1] * (uh * uh);
    const double u2 = u * u, u4 = u2 * u2;
    const double fit = u * (((k[2] + k[3] * u) + u2 * (k[4] + k[5] * u)) +
                            u4 * (((k[6] + k[7] * u) + u2 * (k[8] + k[9] * u)) + u4 * k[10]));
    const double rest = (k[0] * tl + k[1] * tl * (u + uh)) + fit;
    // The angle, base + sense * (lead + rest) with the sign of y folded in:
    // the high part of the base plus the lead is an exact pair (the base is
    // at least atan(1/64) > |lead|, or 0), and the sum is rounded once.
    const double* base = t::kAtanBase[octant][j];
    const double sense = sy * o.sense;
    double s, e;
    fast_two_sum(sy * base[0], sense * lead, s, e);
    return s + (e + (sy * base[1] + sense * rest));
}

}  // namespace portable
}  // namespace real
}  // namespace zu
