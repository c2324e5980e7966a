// sin and cos over the whole double range.
//
// Method: x = k pi/2 + r with |r| <= pi/4 (plus a rounding margin), r held as
// a pair of doubles hi + lo, then sin r or cos r, signed, by k mod 4:
//
//   |x| <= pi/4      no reduction: r = x.
//   |x| <  2^20      Cody-Waite: k = nearest integer to x 2/pi, r = x - k pi/2
//                    with pi/2 in four parts, the first three of 33 bits so
//                    that k * part is exact; the subtractions are exact
//                    (Sterbenz) or carried as two-sums, so r keeps about 100
//                    significant bits even next to a multiple of pi/2.
//   |x| >= 2^20      Payne-Hanek: the 53-bit significand times the 256 bits
//                    of 2/pi that matter for its exponent, in 32-bit integer
//                    words; bits of weight >= 4 are dropped (they are whole
//                    turns), the two bits above the point give k mod 4 and
//                    128 bits below it the fraction, which times pi/2 gives r.
//                    The doubles closest to a multiple of pi/2 are 2^-61 away
//                    relatively, so 128 bits leave more than 60 to spare.
//
// Kernel on |r| <= 0.797: r = a + t with a = j/64 and |t| <= 1/128; sin a
// and cos a from a table of pairs (src/real/trig_data.h, with the script that
// computes it), sin t and cos t - 1 from their Taylor series (2^-66 on
// |t| <= 1/64), combined so that only terms below 2^-7 of the result carry
// rounding errors (see kernels() below).
//
// Measured (tools/realcheck, 10^7 arguments each plus the hard cases, round
// to nearest): largest error 0.51 ulp, 99.9 % correctly rounded (see
// docs/ACCURACY.md); faithful everywhere.
//
// Special values: sin(+-0) = +-0, cos(+-0) = 1; sin and cos of +-inf are a
// domain error (EDOM, the NaN of domain_error()); a NaN argument is passed
// on. Subnormal and tiny x give sin x = x (inexact, rounded toward zero in
// the directed modes that ask for it) and cos x = 1: no errno, since no
// result underflows to zero and none overflows.
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
using detail::to_bits;
using detail::two_prod;
using detail::two_sum;
namespace t = detail::trig;

constexpr std::uint64_t kAbsMask = detail::kMagnitudeMask;
constexpr std::uint64_t kInfBits = detail::kInfinityBits;
// |x| below 2^-26: sin x = x - x^3/6 with x^3/6 under a quarter of an ulp of
// x, so x itself is the rounded result (and x - x 2^-60 rounds the right way
// in the directed modes).
constexpr std::uint64_t kSinTinyBits = 0x3e50000000000000u;  // 2^-26
// |x| below 2^-28: cos x = 1 - x^2/2 with x^2/2 < 2^-57, well under half an
// ulp below 1 (2^-54).
constexpr std::uint64_t kCosTinyBits = 0x3e30000000000000u;  // 2^-28
// |x| <= pi/4: the kernels take x itself.
constexpr std::uint64_t kPio4Bits = 0x3fe921fb54442d18u;
// |x| < 2^20: k < 2^20 * 2/pi < 2^20, so k times a 33-bit part of pi/2 is
// exact, and k fits an int.
constexpr std::uint64_t kCodyWaiteBits = 0x4130000000000000u;  // 2^20

// A reduced argument: x = quadrant pi/2 + (hi + lo) modulo 2 pi.
struct Reduced {
    double hi;
    double lo;
    unsigned quadrant;
};

// An unrounded result head + tail; the caller adds the two with the sign
// its quadrant asks for, so the one rounding of the result is made on the
// signed value (the right direction in the directed rounding modes).
struct Sum {
    double head;
    double tail;
};

double power_of_two(int e) { return from_bits(static_cast<std::uint64_t>(1023 + e) << 52); }

// Cody-Waite reduction, for pi/4 < ax < 2^20.
[[gnu::always_inline]] inline Reduced reduce_medium(double ax) {
    // The nearest integer by truncating ax 2/pi + 1/2 (the conversion
    // truncates in every rounding mode; in a directed mode the sum may round
    // across an integer, which leaves |r| just above pi/4, still inside
    // the kernels' interval).
    const int k = static_cast<int>(ax * t::kTwoOverPiDouble + 0.5);
    const double kd = static_cast<double>(k);
    const double y1 = ax - kd * t::kPio2Part1;  // exact: kd * part exact, then Sterbenz
    double a, ea, b, eb;
    two_sum(y1, -(kd * t::kPio2Part2), a, ea);
    two_sum(a, -(kd * t::kPio2Part3), b, eb);
    const double tail = (ea + eb) - kd * t::kPio2Part4;
    Reduced r;
    fast_two_sum(b, tail, r.hi, r.lo);
    r.quadrant = static_cast<unsigned>(k) & 3u;
    return r;
}

// Bits [at, at + 64) of the little-endian integer of 32-bit words p (the
// words above the product are zero).
std::uint64_t bits_at(const std::uint32_t* p, int at) {
    const int w = at / 32;
    const int sh = at % 32;
    const std::uint64_t low = p[w] | (static_cast<std::uint64_t>(p[w + 1]) << 32);
    if (sh == 0) return low;
    return (low >> sh) | (static_cast<std::uint64_t>(p[w + 2]) << (64 - sh));
}

int leading_zeros(std::uint64_t v) {  // v != 0
#if defined(__GNUC__)
    return __builtin_clzll(v);
#else
    int n = 0;
    while (!(v & 0x8000000000000000u)) {
        v <<= 1;
        ++n;
    }
    return n;
#endif
}

// Payne-Hanek reduction, for 2^20 <= ax < inf. ax = m 2^e with m a 53-bit
// integer; ax 2/pi = sum over words j of m d_j 2^(e - 32 (j + 1)). A word
// whose lowest bit lands at weight >= 4 only adds whole turns: the first
// word kept is j0 = floor((e - 2)/32), and eight words carry the product far
// enough (the part left out is below 2^(53 - 32*8 + 33) = 2^-170).
[[gnu::noinline]] Reduced reduce_huge(double ax) {
    constexpr int kWords = 8;
    const std::uint64_t bits = to_bits(ax);
    const int e = static_cast<int>(bits >> 52) - 1075;
    const std::uint64_t m = (bits & 0x000fffffffffffffu) | 0x0010000000000000u;
    const int j0 = e >= 2 ? (e - 2) / 32 : 0;

    // p = m * (words j0 .. j0 + 7 as one integer), 32-bit words, least
    // significant first; two zero words above for bits_at.
    std::uint32_t p[kWords + 4] = {};
    const std::uint64_t mw[2] = {m & 0xffffffffu, m >> 32};
    for (int a = 0; a < 2; ++a) {
        std::uint64_t carry = 0;
        for (int i = 0; i < kWords; ++i) {
            const std::uint64_t d = t::kTwoOverPi[j0 + kWords - 1 - i];
            const std::uint64_t s = mw[a] * d + p[i + a] + carry;  // < 2^64
            p[i + a] = static_cast<std::uint32_t>(s);
            carry = s >> 32;
        }
        p[kWords + a] = static_cast<std::uint32_t>(carry);
    }
    // Bit `point` of p has weight 2^0 (p is the product times 2^-e times
    // 2^(32 (j0 + 8))); point lies in [223, 288].
    const int point = 32 * (j0 + kWords) - e;
    unsigned quadrant = static_cast<unsigned>(bits_at(p, point)) & 3u;
    std::uint64_t fhi = bits_at(p, point - 64);   // fraction bits 2^-1 .. 2^-64
    std::uint64_t flo = bits_at(p, point - 128);  // 2^-65 .. 2^-128
    // Round to the nearest multiple: a fraction of 1/2 or more belongs to
    // the next quadrant, as fraction - 1.
    const bool negative = (fhi >> 63) != 0;
    if (negative) {
        quadrant = (quadrant + 1) & 3u;
        flo = ~flo + 1;
        fhi = ~fhi + (flo == 0 ? 1 : 0);
    }
    // |fraction| = (fhi 2^64 + flo) 2^-128 < 1/2: normalise and take the
    // leading 53 bits and the next 53 as a pair of doubles.
    int scale = 0;
    if (fhi == 0) {  // not for any double (the fraction exceeds 2^-64), but cheap
        fhi = flo;
        flo = 0;
        scale = 64;
    }
    if (fhi == 0) return Reduced{0.0, 0.0, quadrant};
    const int lz = leading_zeros(fhi);
    if (lz != 0) {
        fhi = (fhi << lz) | (flo >> (64 - lz));
        flo <<= lz;
    }
    scale += lz;
    const std::uint64_t lead = fhi >> 11;
    const std::uint64_t next = ((fhi & 0x7ffu) << 42) | (flo >> 22);
    const double fh = static_cast<double>(lead) * power_of_two(-53 - scale);
    const double fl = static_cast<double>(next) * power_of_two(-106 - scale);
    // r = (fh + fl) pi/2 as a pair.
    double ph, pe;
    two_prod(fh, t::kPio2Hi, ph, pe);
    const double tail = pe + (fh * t::kPio2Lo + fl * t::kPio2Hi);
    Reduced r;
    fast_two_sum(ph, tail, r.hi, r.lo);
    if (negative) {
        r.hi = -r.hi;
        r.lo = -r.lo;
    }
    r.quadrant = quadrant;
    return r;
}

// x = quadrant pi/2 + r for |x| > pi/4, finite.
[[gnu::always_inline]] inline Reduced reduce(double x, std::uint64_t abs_bits) {
    const double ax = from_bits(abs_bits);
    Reduced r = abs_bits < kCodyWaiteBits ? reduce_medium(ax) : reduce_huge(ax);
    // x = -(q pi/2 + r) = (-q) pi/2 + (-r); without a branch, the sign of an
    // argument being as unpredictable as its quadrant.
    const unsigned negative = static_cast<unsigned>(to_bits(x) >> 63);
    constexpr double kSign[2] = {1.0, -1.0};
    r.hi *= kSign[negative];
    r.lo *= kSign[negative];
    r.quadrant = ((r.quadrant ^ (0u - negative)) + negative) & 3u;
    return r;
}

// sin and cos of hi + lo, |hi| <= 0.797, |lo| <= 2^-52 |hi|: with a = j/64
// nearest hi and t = hi - a (exact: Sterbenz, or a = 0), |t| <= 1/128,
//   sin(a + t) = sin a + sin t + [sin a (cos t - 1) + (cos a - 1) sin t]
//   cos(a + t) = cos a + [cos a (cos t - 1) - sin a sin t]
// with sin a, cos a from the table as pairs. The bracket is below 2^-7 of
// the result, and sin a + t (both of the result's size when a is small) is
// added exactly, so the rounding errors left are some 2^-60 of the result
// and the last addition rounds once.
struct KernelPair {
    Sum sin, cos;
};
[[gnu::always_inline]] inline KernelPair kernels(double hi, double lo) {
    const std::uint64_t sign = to_bits(hi) & 0x8000000000000000u;
    const double half = from_bits(to_bits(0.5) | sign);  // +-1/2: to nearest by truncation
    const int j = static_cast<int>(hi * 64.0 + half);
    const double a = j * 0x1p-6;
    const unsigned index = static_cast<unsigned>(j < 0 ? -j : j);
    constexpr double kSign[2] = {1.0, -1.0};
    const double sa_sign = kSign[sign >> 63];  // sin(-a) = -sin a, cos(-a) = cos a
    const double* e = t::kSinCosTable[index];
    const double sa_hi = sa_sign * e[0], sa_lo = sa_sign * e[1], ca_hi = e[2], ca_lo = e[3];

    const double th = hi - a;  // exact
    const double z = th * th;
    const double* sc = t::kSinCoeff;
    const double* cc = t::kCosCoeff;
    // sin(th + lo) = th + st_tail, cos(th + lo) - 1 = cm1, to 2^-66 of each.
    const double st_tail = lo + th * z * (sc[0] + z * (sc[1] + z * sc[2]));
    const double cm1 = z * (-0.5 + z * (cc[0] + z * cc[1])) - th * lo;
    const double st = th + st_tail;

    KernelPair r;
    double s, err;
    fast_two_sum(sa_hi, th, s, err);  // |th| <= 2^-7 <= |sin a| unless a = 0
    r.sin = Sum{s, err + (st_tail + (sa_lo + (sa_hi * cm1 + ((ca_hi - 1.0) + ca_lo) * st)))};
    r.cos = Sum{ca_hi, ca_lo + (ca_hi * cm1 - sa_hi * st)};
    return r;
}

double add(Sum s) { return s.head + s.tail; }

// sin or cos (odd = 0 or 1) of x = quadrant pi/2 + r from the kernels of r:
// sin x is, by quadrant, sin r, cos r, -sin r, -cos r, and cos x = sin(x +
// pi/2), one quadrant on. Both kernels are evaluated and the result picked
// by index, without a branch: the quadrant of an arbitrary argument is
// unpredictable, and a mispredicted branch costs more than the second result.
[[gnu::always_inline]] inline double from_quadrant(const KernelPair& k, unsigned quadrant, unsigned odd) {
    const unsigned q = quadrant + odd;
    const Sum both[2] = {k.sin, k.cos};
    const Sum s = both[q & 1u];
    constexpr double kSign[2] = {1.0, -1.0};
    const double sign = kSign[(q >> 1) & 1u];
    return sign * s.head + sign * s.tail;  // exact sign changes, one rounding
}

// sin x for |x| <= pi/4 (abs_bits: the bits of |x|), given the kernels of x
// when |x| >= 2^-26.
inline double sin_small(double x, std::uint64_t abs_bits, const KernelPair& k) {
    if (abs_bits < kSinTinyBits) {
        if (abs_bits == 0) return x;  // sin(+-0) = +-0
        // x, inexact (x - x^3/6 rounded). The factor is read at run time: a
        // compiler assuming round-to-nearest may turn the difference into
        // x + x (-2^-60), which rounds otherwise in the directed modes.
        return x - x * detail::at_run_time(0x1p-60);
    }
    return add(k.sin);
}

// cos x for |x| <= pi/4, given the kernels of x when |x| >= 2^-28.
inline double cos_small(std::uint64_t abs_bits, const KernelPair& k) {
    if (abs_bits < kCosTinyBits) {
        if (abs_bits == 0) return 1.0;  // cos(+-0) = 1, exact
        // 1 - x^2/2 rounded: 1, or the double below 1 when rounding
        // downward or toward zero. The subtrahend depends on x so that
        // it is rounded at run time, in the caller's mode.
        return 1.0 - (0x1p-60 + from_bits(abs_bits) * 0x1p-40);
    }
    return add(k.cos);
}

// sin and cos of +-inf or NaN: a domain error, or the NaN passed on (quieted,
// payload kept).
inline double not_finite(double x, std::uint64_t abs_bits) {
    if (abs_bits > kInfBits) return x + x;
    return detail::domain_error();
}

// sin x (odd = 0) or cos x (odd = 1).
[[gnu::always_inline]] inline double sin_or_cos(double x, unsigned odd) {
    const std::uint64_t abs_bits = to_bits(x) & kAbsMask;
    if (abs_bits <= kPio4Bits) {
        const bool tiny = abs_bits < (odd != 0 ? kCosTinyBits : kSinTinyBits);
        const KernelPair k = tiny ? KernelPair{} : kernels(x, 0.0);
        return odd != 0 ? cos_small(abs_bits, k) : sin_small(x, abs_bits, k);
    }
    if (abs_bits >= kInfBits) return not_finite(x, abs_bits);
    const Reduced r = reduce(x, abs_bits);
    return from_quadrant(kernels(r.hi, r.lo), r.quadrant, odd);
}

}  // namespace

double sin(double x) noexcept { return sin_or_cos(x, 0); }

double cos(double x) noexcept { return sin_or_cos(x, 1); }

SinCos sincos(double x) noexcept {
    const std::uint64_t abs_bits = to_bits(x) & kAbsMask;
    if (abs_bits <= kPio4Bits) {
        if (abs_bits < kCosTinyBits) return {sin_small(x, abs_bits, KernelPair{}), cos_small(abs_bits, KernelPair{})};
        const KernelPair k = kernels(x, 0.0);
        return {sin_small(x, abs_bits, k), cos_small(abs_bits, k)};
    }
    if (abs_bits >= kInfBits) {
        const double result = not_finite(x, abs_bits);
        return {result, result};
    }
    const Reduced r = reduce(x, abs_bits);
    const KernelPair k = kernels(r.hi, r.lo);
    return {from_quadrant(k, r.quadrant, 0), from_quadrant(k, r.quadrant, 1)};
}

}  // namespace portable
}  // namespace real
}  // namespace zu
