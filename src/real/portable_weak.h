// The portable real functions as weak references, for the programs that
// measure them (tools/realcheck, bench/real_bench.cpp): where a function is
// not linked in yet its address is null, and the program skips it instead of
// failing to link. ELF with GCC or Clang only; never included by the library.
#ifndef ZU_COMPLEX_SRC_REAL_PORTABLE_WEAK_H
#define ZU_COMPLEX_SRC_REAL_PORTABLE_WEAK_H

#include "real/portable.h"

namespace zu {
namespace real {
namespace portable {
double exp(double x) noexcept __attribute__((weak));
double log(double x) noexcept __attribute__((weak));
double pow(double x, double y) noexcept __attribute__((weak));
double cosh(double x) noexcept __attribute__((weak));
double sinh(double x) noexcept __attribute__((weak));
double sin(double x) noexcept __attribute__((weak));
double cos(double x) noexcept __attribute__((weak));
SinCos sincos(double x) noexcept __attribute__((weak));
double atan2(double y, double x) noexcept __attribute__((weak));
}  // namespace portable
}  // namespace real
}  // namespace zu

#endif  // ZU_COMPLEX_SRC_REAL_PORTABLE_WEAK_H
