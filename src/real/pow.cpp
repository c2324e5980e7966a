// pow(x, y) = e^(y log x), for x > 0: log x as a pair of doubles (relative
// error about 2^-68, the reduction of log in exp_log.h with r^2/2 and the
// sums kept exact), y log x as an exact product plus y times the low part,
// and e^ of the pair through the reduction of exp. Negative x with an
// integer y takes the sign from the parity of y. Measured error 0.505 ulp in
// round-to-nearest (tools/realcheck), 1.3 ulps at most in the directed modes.
#include "real/exp_log.h"
#include "real/portable.h"

namespace zu {
namespace real {
namespace portable {

using namespace detail;

namespace {
constexpr std::uint64_t kOneBits = 0x3ff0000000000000u;
// Beyond 2^900 in magnitude, y log x is out of range unless x = 1
// (|log x| >= 2^-53 otherwise); below it, Dekker's product of y and log x
// cannot overflow.
constexpr std::uint64_t kHugeYBits = 0x7830000000000000u;  // 2^900
// y log x beyond these limits certainly overflows (709.78...) or
// underflows to zero (-745.13...).
constexpr double kPowOverflow = 0x1.63p9;   // 710
constexpr double kPowUnderflow = -0x1.75p9;  // -746

// The upper 26 significant bits of x (the lower 27 bits of the fraction
// cleared): its square is exact.
inline double upper26(double x) noexcept { return from_bits(to_bits(x) & ~((std::uint64_t{1} << 27) - 1)); }

// log x = hi + lo, |lo| <= ulp(hi)/2, relative error about 2^-68:
// log1p(r) = r - r^2/2 + r^3 q(r) with r = rh + rl renormalised (exact
// around 1, where c_j = 1; elsewhere the tail's error is below 2^-79 against
// |log x| >= 2^-10), log1p(r + rt) = log1p(r) + rt - r rt, and r^2 = a^2 +
// b (r + a) with a = upper26(r), so a^2 is exact and the rest is rounded at
// 2^-79 of r^2. The table part is exact and at least |r| unless zero, and
// |log x| >= 2^-10 >= r^2/2 unless the sum so far is r, so both sums split
// exactly; what remains is below 2^-28 absolute (below r^2/3 around 1).
[[gnu::always_inline]] inline void log_pair(std::uint64_t ix, int k_adjust, double& hi, double& lo) noexcept {
    const LogReduced red = log_reduce(ix, k_adjust);
    const double r = red.rh + red.rl;
    const double rt = (red.rh - r) + red.rl;
    const double a = upper26(r);
    const double b = r - a;
    const double half_a2 = -0.5 * (a * a);
    const double half_rest = -0.5 * (b * (r + a));
    double s1, e1;
    fast_two_sum(red.hi, r, s1, e1);
    double s2, e2;
    fast_two_sum(s1, half_a2, s2, e2);
    const double low = ((e1 + e2) + (rt - r * rt + half_rest)) + (red.lo + log1p_cubic(r, r * r));
    fast_two_sum(s2, low, hi, lo);
}

// sign * x^y for positive normal x (bits ix, exponent adjusted by k_adjust)
// and finite y, |y| < 2^900. y log x = ph + pl: ph = fl(y lh) with its
// error (Dekker's product: no overflow below 2^900) plus y ll.
[[gnu::always_inline]] inline double pow_positive(std::uint64_t ix, int k_adjust, double y,
                                                  std::uint64_t sign) noexcept {
    double lh, ll;
    log_pair(ix, k_adjust, lh, ll);
    double ph, pl;
    two_prod(y, lh, ph, pl);
    if (!(ph <= kPowOverflow)) return overflow(sign);
    if (!(ph >= kPowUnderflow)) return underflow(sign);
    pl += y * ll;
    const ExpParts parts = exp_parts(ph, pl);
    if (!((to_bits(ph) & kMagnitudeMask) <= to_bits(kExpFastLimit))) return exp_outside(parts, 0, sign);
    const double s = from_bits(parts.scale_bits ^ sign);
    return s + s * parts.u;
}

// y finite and nonzero: 0 if not an integer, 1 for an odd integer, 2 for an
// even one (every |y| >= 2^53 is even).
int integer_class(double y) noexcept {
    const std::uint64_t bits = to_bits(y);
    const int exponent = static_cast<int>((bits >> 52) & 0x7ff) - 1023;
    if (exponent < 0) return 0;
    if (exponent > 52) return 2;
    const std::uint64_t mantissa = (bits & (kMinNormalBits - 1)) | kMinNormalBits;
    const int point = 52 - exponent;
    if ((mantissa & ((std::uint64_t{1} << point) - 1)) != 0) return 0;
    return ((mantissa >> point) & 1) != 0 ? 1 : 2;
}

// Everything but positive normal x with finite nonzero |y| < 2^900, in the
// order tested (each an exact result of C's pow):
//   y = +-0 -> 1, even for a NaN x;  x = 1 -> 1, even for a NaN y;
//   a NaN x or y -> NaN (x + y: one of them, quieted);
//   y = +-inf: |x| = 1 -> 1; |x| < 1 -> +inf for -inf, +0 for +inf; |x| > 1
//     the other way round (no errno: exact limits);
//   x = +-0: y < 0 -> pole, ERANGE, -inf for x = -0 and an odd integer y,
//     +inf otherwise; y > 0 -> -0 for x = -0 and an odd y, +0 otherwise;
//   x = +-inf: y < 0 -> +-0, y > 0 -> +-inf, negative for -inf with odd y;
//   x < 0: y not an integer -> domain error (EDOM, domain_error()'s NaN);
//     otherwise the sign of the result is that of x^y for odd y;
//   |y| >= 2^900 -> 1 for |x| = 1, otherwise overflow or underflow (ERANGE);
//   subnormal |x| -> scaled by 2^52 and computed as the rest.
[[gnu::noinline, gnu::cold]] double pow_cold(double x, double y) noexcept {
    const std::uint64_t ax = to_bits(x) & kMagnitudeMask;
    const std::uint64_t ay = to_bits(y) & kMagnitudeMask;
    if (ay == 0) return 1.0;
    if (to_bits(x) == kOneBits) return 1.0;
    if (ax > kInfinityBits || ay > kInfinityBits) return x + y;
    const bool x_negative = (to_bits(x) & kSignBitMask) != 0;
    const bool y_negative = (to_bits(y) & kSignBitMask) != 0;
    if (ay == kInfinityBits) {
        if (ax == kOneBits) return 1.0;
        return (ax < kOneBits) == y_negative ? from_bits(kInfinityBits) : 0.0;
    }
    const int y_class = integer_class(y);
    const std::uint64_t odd_sign = (x_negative && y_class == 1) ? kSignBitMask : 0;
    if (ax == 0) {
        if (y_negative) return range_error(from_bits(kInfinityBits | odd_sign));
        return from_bits(odd_sign);
    }
    if (ax == kInfinityBits) return from_bits((y_negative ? 0 : kInfinityBits) | odd_sign);
    if (x_negative && y_class == 0) return domain_error();
    if (ay >= kHugeYBits) {
        if (ax == kOneBits) return from_bits(kOneBits | odd_sign);
        return (ax > kOneBits) != y_negative ? overflow(odd_sign) : underflow(odd_sign);
    }
    if (ax < kMinNormalBits) return pow_positive(to_bits(from_bits(ax) * 0x1p52), -52, y, odd_sign);
    return pow_positive(ax, 0, y, odd_sign);
}
}  // namespace

double pow(double x, double y) noexcept {
    const std::uint64_t ix = to_bits(x);
    const std::uint64_t ay = to_bits(y) & kMagnitudeMask;
    if (ix - kMinNormalBits >= kInfinityBits - kMinNormalBits || ay - 1 >= kHugeYBits - 1) return pow_cold(x, y);
    return pow_positive(ix, 0, y, 0);
}

}  // namespace portable
}  // namespace real
}  // namespace zu
