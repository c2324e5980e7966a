// The real functions the library is built on, as the tests compute expected
// values with them, called at run time (the tests are built with
// -fno-builtin, so nothing is folded at compile time and errno is what a
// real call sets). Every expectation that involves a real function goes
// through these, never through std:: directly.
//
// They are the ones the library was built with: the platform's math library,
// or in portable mode (ZU_COMPLEX_REAL_MATH=portable) the library's own
// functions, whose objects every test program then links too, with their C
// and POSIX errno.
#ifndef ZU_COMPLEX_TESTS_SUPPORT_REAL_FUNCTIONS_H
#define ZU_COMPLEX_TESTS_SUPPORT_REAL_FUNCTIONS_H

#if defined(ZT_PORTABLE_REAL_MATH)
#include "real/portable.h"
#else
#include <cmath>
#endif

namespace zt {
namespace real {

#if defined(ZT_PORTABLE_REAL_MATH)
namespace from = ::zu::real::portable;
#else
namespace from = ::std;
#endif

inline double exp(double x) { return from::exp(x); }
inline double log(double x) { return from::log(x); }
inline double sin(double x) { return from::sin(x); }
inline double cos(double x) { return from::cos(x); }
inline double atan2(double y, double x) { return from::atan2(y, x); }
inline double pow(double x, double y) { return from::pow(x, y); }
inline double cosh(double x) { return from::cosh(x); }
inline double sinh(double x) { return from::sinh(x); }
inline double sqrt(double x) { return from::sqrt(x); }
inline double fabs(double x) { return from::fabs(x); }
inline double floor(double x) { return from::floor(x); }
inline double ceil(double x) { return from::ceil(x); }

}  // namespace real
}  // namespace zt

#endif  // ZU_COMPLEX_TESTS_SUPPORT_REAL_FUNCTIONS_H
