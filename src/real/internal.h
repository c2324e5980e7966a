// What the portable real functions share: bit access, errno reporting and
// exact double-double steps. Only IEEE-754 double operations and integer
// operations on bit patterns; no call into the platform's math library.
#ifndef ZU_COMPLEX_SRC_REAL_INTERNAL_H
#define ZU_COMPLEX_SRC_REAL_INTERNAL_H

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace zu {
namespace real {
namespace detail {

inline std::uint64_t to_bits(double x) noexcept {
    std::uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

inline double from_bits(std::uint64_t b) noexcept {
    double x;
    std::memcpy(&x, &b, sizeof x);
    return x;
}

// The NaN a domain error returns (log(-1), sin(inf), ...): the quiet NaN
// with the sign bit clear and no payload, the same bits on every platform,
// rather than the processor's own 0/0, whose sign differs between x86 and
// the rest. A NaN argument is passed on instead (quieted by an arithmetic
// operation, its payload kept).
constexpr std::uint64_t kDomainNaNBits = 0x7ff8000000000000u;

// C and POSIX error reporting: EDOM with a NaN for a domain error; ERANGE
// for an overflow (result +-inf), for an underflow to zero, and for a pole
// (log(0) = -inf).
inline double domain_error() noexcept {
    errno = EDOM;
    return from_bits(kDomainNaNBits);
}
inline double range_error(double result) noexcept {
    errno = ERANGE;
    return result;
}

// Exact steps in round-to-nearest (error-free transformations). In directed
// rounding modes they are no longer exact, only close; the functions built
// on them stay within their stated error there too.
//
// s + e == a + b exactly, s = fl(a + b) (Knuth's two-sum, no ordering
// condition on a and b).
inline void two_sum(double a, double b, double& s, double& e) noexcept {
    s = a + b;
    const double bb = s - a;
    e = (a - (s - bb)) + (b - bb);
}

// s + e == a + b exactly, given |a| >= |b| or a == 0 (Dekker's fast two-sum).
inline void fast_two_sum(double a, double b, double& s, double& e) noexcept {
    s = a + b;
    e = b - (s - a);
}

// Dekker's split: hi + lo == a, each with at most 26 significant bits, for
// |a| below 2^996 (larger arguments must be scaled first).
inline void split(double a, double& hi, double& lo) noexcept {
    constexpr double kSplitter = 0x1p27 + 1.0;  // 134217729
    const double t = kSplitter * a;
    hi = t - (t - a);
    lo = a - hi;
}

// p + e == a * b exactly, p = fl(a * b), without fused multiply-add
// (Dekker's product), barring overflow and underflow of the partial products.
inline void two_prod(double a, double b, double& p, double& e) noexcept {
    double ah, al, bh, bl;
    split(a, ah, al);
    split(b, bh, bl);
    p = a * b;
    e = ((ah * bh - p) + ah * bl + al * bh) + al * bl;
}

// Bit patterns: the sign bit, the mask of the magnitude, +infinity.
constexpr std::uint64_t kSignBitMask = 0x8000000000000000u;
constexpr std::uint64_t kMagnitudeMask = 0x7fffffffffffffffu;
constexpr std::uint64_t kInfinityBits = 0x7ff0000000000000u;

// v, read back through a volatile: a value the compiler cannot know, so that
// an operation on constants that must round in the caller's mode (a product
// that overflows to +-inf or +-DBL_MAX, or underflows to 0 or the smallest
// subnormal) is made at run time; a compiler assuming round-to-nearest (Clang
// does) would otherwise fold it.
inline double at_run_time(double v) noexcept {
    volatile double held = v;
    return held;
}

}  // namespace detail
}  // namespace real
}  // namespace zu

#endif  // ZU_COMPLEX_SRC_REAL_INTERNAL_H
