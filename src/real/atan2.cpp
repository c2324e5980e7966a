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
//   otherwise                  table: c = j/64 nearest t, and
//                              atan t = atan c + atan u,
//                              u = (t - c)/(1 + t c) = (n - c d)/(d + c n),
//                              |u| <= 2^-7, formed as a pair of doubles from
//                              n and d directly (c has 7 bits, so c times a
//                              26-bit half is exact), atan c from a table of
//                              pairs and atan u from its Taylor series to u^9.
//                              The angle is then carried as a pair through
//                              pi/2 - . and pi - . and rounded once.
//
// Arguments beyond 2^900 or below 2^-800 (with a ratio not below 2^-60) are
// scaled by 2^-600 or 2^600 first, so that the exact products stay clear of
// overflow and underflow.
//
// Coefficients and table: src/real/trig_data.h (atan u to 2^-69.5 relative).
// Measured (tools/realcheck, 10^7 argument pairs plus the hard cases): see
// docs/ACCURACY.md; faithful everywhere.
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
using detail::two_prod;
using detail::two_sum;
namespace t = detail::trig;

constexpr std::uint64_t kSignBit = detail::kSignBitMask;
constexpr std::uint64_t kAbsMask = detail::kMagnitudeMask;
constexpr std::uint64_t kInfBits = detail::kInfinityBits;
constexpr int kTinyRatioExponents = 60;  // exponent gap beyond which atan t = t
constexpr std::uint64_t kScaleDownBits = 0x7830000000000000u;  // 2^900
constexpr std::uint64_t kScaleUpBits = 0x0df0000000000000u;    // 2^-800

// angle = base + sense * atan t, with the sign of y folded into both:
//   a <= b, x > 0:  atan t          a > b, x > 0:  pi/2 - atan t
//   a <= b, x < 0:  pi - atan t     a > b, x < 0:  pi/2 + atan t
// picked by index rather than by branches (the octant of an arbitrary
// point is unpredictable).
struct Octant {
    double base_hi, base_lo, sense;
};
constexpr Octant kOctant[4] = {
    {0.0, 0.0, 1.0}, {t::kPio2Hi, t::kPio2Lo, -1.0}, {t::kPiHi, t::kPiLo, -1.0}, {t::kPio2Hi, t::kPio2Lo, 1.0}};
constexpr double kSign[2] = {1.0, -1.0};

double with_sign(double v, bool negative) { return negative ? -v : v; }

// atan(n/d) for 0 < n <= d, n/d >= 2^-61 or so, both in [2^-861, 2^901],
// as a pair hi + lo.
void atan_ratio(double n, double d, double& hi, double& lo) {
    const int j = static_cast<int>(n / d * 64.0 + 0.5);
    const double c = j * 0x1p-6;
    double d1, d2, n1, n2;  // 26-bit halves: c times a half is exact
    split(d, d1, d2);
    split(n, n1, n2);
    // n - c d and d + c n as normalised pairs: the series below takes the
    // leading double of u, which must be u to 53 bits.
    double num, num_err, s, e;
    two_sum(n, -(c * d1), s, e);
    fast_two_sum(s, e - c * d2, num, num_err);
    double den, den_err;
    two_sum(d, c * n1, s, e);
    fast_two_sum(s, e + c * n2, den, den_err);
    // u = (num + num_err)/(den + den_err) as uh + ul: one division, the
    // remainder from an exact product.
    const double inv = 1.0 / den;
    const double uh = num * inv;
    double p, pe;
    two_prod(uh, den, p, pe);
    const double ul = (((num - p) - pe) + num_err - uh * den_err) * inv;
    const double z = uh * uh;
    const double* a = t::kAtanCoeff;
    const double poly = uh * z * (a[0] + z * (a[1] + z * (a[2] + z * a[3])));
    fast_two_sum(t::kAtanHi[j], uh, hi, lo);  // |uh| <= 2^-7 <= atan(j/64) unless j = 0
    lo += t::kAtanLo[j] + ul + poly;
}

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
    const double a = from_bits(ya), b = from_bits(xa);
    const bool swapped = ya > xa;  // the angle of (b, a) beyond pi/4
    const double n = a < b ? a : b;
    const double d = a < b ? b : a;
    const int gap = static_cast<int>((swapped ? ya : xa) >> 52) - static_cast<int>((swapped ? xa : ya) >> 52);
    const Octant& o = kOctant[(x_negative ? 2 : 0) + (swapped ? 1 : 0)];
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
    const std::uint64_t dbits = to_bits(d);
    if (dbits - kScaleUpBits >= kScaleDownBits - kScaleUpBits) {  // outside [2^-800, 2^900)
        const double scale = dbits >= kScaleDownBits ? 0x1p-600 : 0x1p600;
        ns *= scale;
        ds *= scale;
    }
    double hi, lo;
    atan_ratio(ns, ds, hi, lo);
    // The angle as a pair, rounded once.
    const double sense = sy * o.sense;
    double s, e;
    two_sum(sy * o.base_hi, sense * hi, s, e);  // exact; s = hi when the base is 0
    return s + (e + (sy * o.base_lo + sense * lo));
}

}  // namespace portable
}  // namespace real
}  // namespace zu
