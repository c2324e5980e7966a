// The exact real operations: square root, absolute value, floor and ceiling.
// Each has one correct result for every argument, in every rounding mode, so
// the portable versions only have to make sure nothing inexact gets in.
#include "real/internal.h"
#include "real/portable.h"

#include <cstdint>

namespace zu {
namespace real {
namespace portable {

using detail::from_bits;
using detail::to_bits;

namespace {
constexpr std::uint64_t kSignBit = 0x8000000000000000u;
constexpr int kFractionBits = 52;
constexpr int kExponentBias = 1023;
constexpr int kExponentAll = 0x7ff;  // infinities and NaNs

int biased_exponent(std::uint64_t bits) { return static_cast<int>((bits >> kFractionBits) & 0x7ff); }

// Rounds x to an integer toward -inf (down = true) or +inf, on the bits: the
// fraction bits below the binary point are cleared, after adding one unit of
// the last integral place when the value must move away from zero (the carry
// runs into the exponent exactly as the value demands). No floating-point
// operation is involved, so the rounding mode cannot change the result, and
// zeros keep their sign.
double round_toward(double x, bool down) {
    const std::uint64_t bits = to_bits(x);
    const int biased = biased_exponent(bits);
    if (biased == kExponentAll) return x + x;  // NaN (quieted, payload kept) or infinity
    const int exponent = biased - kExponentBias;
    if (exponent >= kFractionBits) return x;   // already integral
    const bool negative = (bits & kSignBit) != 0;
    const bool away = negative == down;        // floor moves negatives, ceil positives, away from zero
    if (exponent < 0) {
        if ((bits & ~kSignBit) == 0) return x;           // +-0 stays
        if (away) return negative ? -1.0 : 1.0;
        return negative ? -0.0 : 0.0;                     // toward zero keeps the sign
    }
    const std::uint64_t below_point = (std::uint64_t{1} << (kFractionBits - exponent)) - 1;
    if ((bits & below_point) == 0) return x;
    std::uint64_t rounded = bits;
    if (away) rounded += below_point + 1;
    return from_bits(rounded & ~below_point);
}
}  // namespace

// The instruction: IEEE square roots are correctly rounded everywhere. A
// negative argument is a domain error answered here, so the compiled code
// never needs the math library's errno path (the file is built with
// -fno-math-errno). -0.0 is not below zero: sqrt(-0.0) is -0.0.
double sqrt(double x) noexcept {
    if (x < 0.0) return detail::domain_error();
#if defined(__GNUC__)
    return __builtin_sqrt(x);
#else
#error "the portable square root needs the compiler's built-in"
#endif
}

double fabs(double x) noexcept { return from_bits(to_bits(x) & ~kSignBit); }

double floor(double x) noexcept { return round_toward(x, true); }

double ceil(double x) noexcept { return round_toward(x, false); }

}  // namespace portable
}  // namespace real
}  // namespace zu
