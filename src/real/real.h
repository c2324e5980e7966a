// The real functions the library is built on, behind one interface that every
// floor of the library calls: exp, log, sin, cos, atan2, pow, cosh, sinh, and
// the exact operations sqrt, fabs, floor and ceil; sincos gives sin and cos
// of one angle together.
//
// Which implementation serves is fixed when the library is built
// (ZU_COMPLEX_REAL_MATH):
//   platform  the platform's math library, called exactly where the steps
//             call it; what it does to errno is what the caller sees. The
//             forwarders are inline, so the compiler still treats the calls
//             as its built-ins (sqrtsd, sincos) as it would std:: calls,
//             where those give what the platform's calls give
//             (cmake/ZuComplexFlags.cmake keeps the calls on MinGW).
//   portable  the library's own implementations (src/real/), written with
//             IEEE-754 double operations and integer operations on bit
//             patterns only, so every platform gives the same bits.
#ifndef ZU_COMPLEX_SRC_REAL_REAL_H
#define ZU_COMPLEX_SRC_REAL_REAL_H

#include "real/exact.h"
#include "real/portable.h"

#include <cmath>

#if defined(__clang__) && defined(__SSE2__) && defined(__GLIBC__) && !defined(ZU_COMPLEX_PORTABLE_REAL_MATH)
#define ZU_COMPLEX_SQRT_INSTRUCTION 1
#include <emmintrin.h>
#endif

namespace zu {
namespace real {

using portable::SinCos;

#if defined(ZU_COMPLEX_PORTABLE_REAL_MATH)

inline double exp(double x) noexcept { return portable::exp(x); }
inline double log(double x) noexcept { return portable::log(x); }
inline double sin(double x) noexcept { return portable::sin(x); }
inline double cos(double x) noexcept { return portable::cos(x); }
inline double atan2(double y, double x) noexcept { return portable::atan2(y, x); }
inline double pow(double x, double y) noexcept { return portable::pow(x, y); }
inline double cosh(double x) noexcept { return portable::cosh(x); }
inline double sinh(double x) noexcept { return portable::sinh(x); }
// One reduction for both, the same bits as sin and cos.
inline SinCos sincos(double x) noexcept { return portable::sincos(x); }
// The exact operations inline, as the platform's built-ins would be.
inline double sqrt(double x) noexcept { return detail::exact_sqrt(x); }
inline double fabs(double x) noexcept { return detail::exact_fabs(x); }
inline double floor(double x) noexcept { return detail::exact_floor(x); }
inline double ceil(double x) noexcept { return detail::exact_ceil(x); }

#else

inline double exp(double x) noexcept { return std::exp(x); }
inline double log(double x) noexcept { return std::log(x); }
inline double sin(double x) noexcept { return std::sin(x); }
inline double cos(double x) noexcept { return std::cos(x); }
inline double atan2(double y, double x) noexcept { return std::atan2(y, x); }
inline double pow(double x, double y) noexcept { return std::pow(x, y); }
inline double cosh(double x) noexcept { return std::cosh(x); }
inline double sinh(double x) noexcept { return std::sinh(x); }
// The compiler merges the two calls into one where the platform has one.
inline SinCos sincos(double x) noexcept { return {std::sin(x), std::cos(x)}; }
#if defined(ZU_COMPLEX_SQRT_INSTRUCTION)
// Built with -frounding-math, Clang makes every std::sqrt a call, where it
// would otherwise (as GCC always does) use the instruction and call only for
// an argument that may set errno. This does the same by hand: glibc's sqrt
// is correctly rounded in the current mode, as the instruction is, so the
// two agree bit for bit in every mode, and for x >= 0 (+0, -0 and +inf
// included) the function reports nothing.
inline double sqrt(double x) noexcept {
    if (x >= 0.0) return _mm_cvtsd_f64(_mm_sqrt_sd(_mm_setzero_pd(), _mm_set_sd(x)));
    return std::sqrt(x);
}
#else
inline double sqrt(double x) noexcept { return std::sqrt(x); }
#endif
inline double fabs(double x) noexcept { return std::fabs(x); }
inline double floor(double x) noexcept { return std::floor(x); }
inline double ceil(double x) noexcept { return std::ceil(x); }

#endif

}  // namespace real
}  // namespace zu

#endif  // ZU_COMPLEX_SRC_REAL_REAL_H
