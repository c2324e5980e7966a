// The exact real operations: square root, absolute value, floor and ceiling,
// inline, so that the library in portable mode compiles them into its steps
// as it does the platform's built-ins (a call per fabs would double the cost
// of a complex product). Each has one correct result for every argument, in
// every rounding mode, so these only have to make sure nothing inexact gets
// in. portable::sqrt, fabs, floor and ceil (exact.cpp) are these.
#ifndef ZU_COMPLEX_SRC_REAL_EXACT_H
#define ZU_COMPLEX_SRC_REAL_EXACT_H

#include "real/internal.h"

#include <cstdint>

namespace zu {
namespace real {
namespace detail {

// The instruction: IEEE square roots are correctly rounded everywhere. A
// negative argument is a domain error and a NaN is passed on (quieted,
// payload kept, as the instruction does) before the instruction, so that
// where errno is part of the math built-ins' contract the compiler's
// fallback call for a NaN result is never reached. -0.0 is not below zero:
// sqrt(-0.0) is -0.0.
inline double exact_sqrt(double x) noexcept {
    if (!(x >= 0.0)) return x < 0.0 ? domain_error() : x + x;
#if defined(__GNUC__)
    return __builtin_sqrt(x);
#else
#error "the portable square root needs the compiler's built-in"
#endif
}

// The sign bit cleared: the instruction where the compiler has one (its
// built-in is always expanded inline, also unoptimised, never a call), the
// bits otherwise; GCC keeps the bit operation on the integer side, three
// instructions where one does.
inline double exact_fabs(double x) noexcept {
#if defined(__GNUC__)
    return __builtin_fabs(x);
#else
    return from_bits(to_bits(x) & kMagnitudeMask);
#endif
}

// Rounds x to an integer toward -inf (down = true) or +inf, on the bits: the
// fraction bits below the binary point are cleared, after adding one unit of
// the last integral place when the value must move away from zero (the carry
// runs into the exponent exactly as the value demands). No floating-point
// operation is involved, so the rounding mode cannot change the result, and
// zeros keep their sign.
inline double exact_round_toward(double x, bool down) noexcept {
    constexpr int kFractionBits = 52;
    constexpr int kExponentBias = 1023;
    const std::uint64_t bits = to_bits(x);
    const int biased = static_cast<int>((bits >> kFractionBits) & 0x7ff);
    if (biased == 0x7ff) return x + x;  // NaN (quieted, payload kept) or infinity
    const int exponent = biased - kExponentBias;
    if (exponent >= kFractionBits) return x;  // already integral
    const bool negative = (bits & kSignBitMask) != 0;
    const bool away = negative == down;  // floor moves negatives, ceil positives, away from zero
    if (exponent < 0) {
        if ((bits & kMagnitudeMask) == 0) return x;  // +-0 stays
        if (away) return negative ? -1.0 : 1.0;
        return negative ? -0.0 : 0.0;  // toward zero keeps the sign
    }
    const std::uint64_t below_point = (std::uint64_t{1} << (kFractionBits - exponent)) - 1;
    if ((bits & below_point) == 0) return x;
    std::uint64_t rounded = bits;
    if (away) rounded += below_point + 1;
    return from_bits(rounded & ~below_point);
}

inline double exact_floor(double x) noexcept { return exact_round_toward(x, true); }
inline double exact_ceil(double x) noexcept { return exact_round_toward(x, false); }

}  // namespace detail
}  // namespace real
}  // namespace zu

#endif  // ZU_COMPLEX_SRC_REAL_EXACT_H
