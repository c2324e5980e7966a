// The library's own real functions, the same bits on every platform: written
// with IEEE-754 double operations (+ - * /, sqrt) and integer operations on
// bit patterns only, never a call into the platform's math library, no fused
// multiply-add and no extended precision. Special values and errno follow C
// and POSIX: a domain error sets EDOM and returns a NaN, an overflow, an
// underflow to zero and a pole set ERANGE.
//
// They serve the library when it is built with ZU_COMPLEX_REAL_MATH=portable
// (through real.h); they are compiled in every configuration so that their
// own tests run everywhere.
#ifndef ZU_COMPLEX_SRC_REAL_PORTABLE_H
#define ZU_COMPLEX_SRC_REAL_PORTABLE_H

namespace zu {
namespace real {
namespace portable {

double exp(double x) noexcept;
double log(double x) noexcept;
double sin(double x) noexcept;
double cos(double x) noexcept;
double atan2(double y, double x) noexcept;
double pow(double x, double y) noexcept;
double cosh(double x) noexcept;
double sinh(double x) noexcept;

// sin x and cos x from one reduction, each bit for bit (and errno for errno)
// what sin and cos give: the library takes both of one angle in several
// places, where the platform's compilers merge the two calls into one.
struct SinCos {
    double sin;
    double cos;
};
SinCos sincos(double x) noexcept;

// Exact operations: the correctly rounded square root (the processor's
// instruction), and fabs, floor and ceil on the bit pattern.
double sqrt(double x) noexcept;
double fabs(double x) noexcept;
double floor(double x) noexcept;
double ceil(double x) noexcept;

}  // namespace portable
}  // namespace real
}  // namespace zu

#endif  // ZU_COMPLEX_SRC_REAL_PORTABLE_H
