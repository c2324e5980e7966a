// exp(x) = 2^e 2^(j/128) e^r, with x = (128 e + j) ln2/128 + r, |r| <= ln2/256:
// a table of 2^(j/128) as a double and its relative tail, and a degree-5
// polynomial for e^r - 1 (exp_log.h). Measured error 0.504 ulp in
// round-to-nearest (tools/realcheck, 10^7 arguments), 1.25 ulps at most in
// the directed modes (10^6 arguments each).
#include "real/exp_log.h"
#include "real/portable.h"

namespace zu {
namespace real {
namespace detail {

// Built on exp_parts: e^x = s (1 + u) with s = 2^e 2^(j/128).
double exp_outside(const ExpParts& parts, int adjust, std::uint64_t sign) noexcept {
    // e = k >> 7 as a signed integer (k is below 2^18 in magnitude; the bias
    // keeps the shifted value non-negative).
    constexpr std::uint64_t kBias = std::uint64_t{1} << 20;
    const int e = static_cast<int>((parts.k + kBias) >> kExpTableBits) - (1 << (20 - kExpTableBits)) + adjust;
    const std::uint64_t table_bits = kExpTable[parts.k & ((1u << kExpTableBits) - 1)].hi_bits;  // 2^(j/128)
    const auto scale = [&](int exponent) {
        return from_bits((table_bits + (static_cast<std::uint64_t>(exponent) << 52)) ^ sign);
    };
    if (e > 1000) {
        // Formed at half size and doubled: the doubling is exact or overflows.
        const double s = scale(e - 1);
        const double half = s + s * parts.u;
        if ((to_bits(half) & kMagnitudeMask) >= to_bits(0x1p1023)) errno = ERANGE;
        return half * 2.0;
    }
    if (e >= -1000) {
        const double s = scale(e);
        return s + s * parts.u;
    }
    // Small or subnormal: y = result * 2^1022 (normal, and so is s u). Below 1
    // in magnitude, the result is rounded once at the subnormal position:
    // adding 1 moves the rounding point of y to 2^-52, that is 2^-1074 of the
    // result; the sum is then taken back exactly and scaled by 2^-1022
    // exactly.
    const double s = scale(e + 1022);
    const double lo = s * parts.u;
    const double y = s + lo;
    if ((to_bits(y) & kMagnitudeMask) >= to_bits(1.0)) return y * 0x1p-1022;
    const double one = from_bits(to_bits(1.0) | sign);
    double h, h_err;
    fast_two_sum(one, s, h, h_err);
    const double rounded = (h + (h_err + lo)) - one;
    if (rounded == 0.0) return range_error(from_bits(sign));  // underflow to zero keeps the sign
    return rounded * 0x1p-1022;
}

}  // namespace detail

namespace portable {

using namespace detail;

namespace {
// The largest x with a finite e^x (e^x = 1.7976931348622732e308) and the
// argument below which e^x < 2^-1076 (rounds to zero, or the smallest
// subnormal in the modes rounding up).
constexpr double kExpOverflow = 0x1.62e42fefa39efp+9;  // 709.782712893384
constexpr double kExpUnderflow = -0x1.75p9;             // -746

// |x| below 2^-54: e^x lies within a quarter of an ulp of 1 and on the side
// of 1 + x, so 1 + x is the result rounded in every mode (the reduction
// would round k away from 0 in the directed modes and miss 1 by an ulp).
constexpr std::uint64_t kExpTinyBits = 0x3c90000000000000u;  // 2^-54

// |x| > 700 or below 2^-54, infinities and NaNs, in the order tested:
//   NaN -> NaN (quieted, payload kept); tiny x -> 1 + x; +inf -> +inf;
//   -inf -> +0 (no errno); x > 709.78... -> overflow, ERANGE; x < -746 ->
//   underflow, ERANGE when 0; otherwise the big or subnormal results of
//   exp_outside.
[[gnu::noinline, gnu::cold]] double exp_cold(double x) noexcept {
    if (x != x) return x + x;
    if ((to_bits(x) & kMagnitudeMask) < kExpTinyBits) return 1.0 + x;
    if (x == from_bits(kInfinityBits)) return x;
    if (x == -from_bits(kInfinityBits)) return 0.0;
    if (x > kExpOverflow) return overflow(0);
    if (x < kExpUnderflow) return underflow(0);
    return exp_outside(exp_parts(x, -0.0), 0, 0);
}
}  // namespace

double exp(double x) noexcept {
    if ((to_bits(x) & kMagnitudeMask) - kExpTinyBits > to_bits(kExpFastLimit) - kExpTinyBits) return exp_cold(x);
    const ExpParts parts = exp_parts(x, -0.0);
    const double s = from_bits(parts.scale_bits);
    return s + s * parts.u;
}

}  // namespace portable
}  // namespace real
}  // namespace zu
