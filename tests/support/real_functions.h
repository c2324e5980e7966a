// The real functions the library is built on, as the tests compute expected
// values with them: the platform's own, called at run time (the tests are
// built with -fno-builtin, so nothing is folded at compile time and errno is
// what a real call sets). Every expectation that involves a real function
// goes through these, never through std:: directly.
#ifndef ZU_COMPLEX_TESTS_SUPPORT_REAL_FUNCTIONS_H
#define ZU_COMPLEX_TESTS_SUPPORT_REAL_FUNCTIONS_H

#include <cmath>

namespace zt {
namespace real {

inline double exp(double x) { return std::exp(x); }
inline double log(double x) { return std::log(x); }
inline double sin(double x) { return std::sin(x); }
inline double cos(double x) { return std::cos(x); }
inline double atan2(double y, double x) { return std::atan2(y, x); }
inline double pow(double x, double y) { return std::pow(x, y); }
inline double cosh(double x) { return std::cosh(x); }
inline double sinh(double x) { return std::sinh(x); }
inline double sqrt(double x) { return std::sqrt(x); }
inline double fabs(double x) { return std::fabs(x); }
inline double floor(double x) { return std::floor(x); }
inline double ceil(double x) { return std::ceil(x); }

}  // namespace real
}  // namespace zt

#endif  // ZU_COMPLEX_TESTS_SUPPORT_REAL_FUNCTIONS_H
