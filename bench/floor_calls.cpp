// The floors: for each operation, the real <cmath> calls that the library's
// steps make on the ordinary (finite, non-zero) path, on the operands the
// library would hand them, combined by as few products and sums as keep every
// result alive. An implementation of those steps cannot be faster than its
// floor by more than the cost of its special-value tests.
//
// The calls per operation (sqrt of a modulus stands for abs, atan2 for arg):
//   abs                 sqrt
//   arg                 atan2
//   exp                 exp, cos, sin
//   log, log10          sqrt, log, atan2
//   sqrt                sqrt, sqrt, atan2, cos, sin
//   pow(z, int)         sqrt, pow, atan2, cos, sin
//   pow(z, double)      sqrt, pow, atan2, cos, sin
//   pow(double, w)      log, exp, cos, sin                 (base > 0)
//   pow(z, w)           sqrt, atan2, pow, exp, log, cos, sin
//   cosh, sinh          cos, sin, cosh, sinh
//   cos, sin            the same, of the turned argument (-im, re)
//   tanh                cos, sin, cosh, sinh, twice each
//   tan                 the same, of the turned argument
//   asin, acos          sqrt, sqrt, atan2, cos, sin (a complex sqrt), then
//                       sqrt, log, atan2 (a complex log)
//   atan                sqrt, log, atan2, twice (two complex logs)
// Complex products and quotients the steps also make (1/z for a negative
// integer exponent, the quotient of tan and tanh, the constant factor of
// log10) are not real math calls and are left out; the floor of an
// operation made only of arithmetic (+, *, /, norm) is empty.
//
// The compiler is free to do here what it does in the library (e.g. fuse a
// cos and a sin of one argument into one sincos); calls repeated on the same
// argument are kept apart by opaque(), as the library makes them in separate
// steps.
#include "peers.h"

#include <cmath>

#define NOINLINE __attribute__((noinline))

namespace {

// A value the compiler cannot see through, so that a second call on the same
// argument is not merged with the first.
inline double opaque(double v) {
    __asm__ volatile("" : "+x"(v));
    return v;
}

inline double modulus(double x, double y) { return std::sqrt(x * x + y * y); }

// cos, sin, cosh and sinh of a hyperbolic function of (x, y): the cosh
// product pair (sinh: swap cosh and sinh).
inline cplx hyperbolic_calls(double x, double y, bool sinh_first) {
    const double c = std::cos(y);
    const double s = std::sin(y);
    const double ch = std::cosh(x);
    const double sh = std::sinh(x);
    return sinh_first ? cplx(sh * c, ch * s) : cplx(ch * c, sh * s);
}

// A complex square root's calls: sqrt of the modulus, atan2, cos, sin.
inline cplx sqrt_calls(double x, double y) {
    const double r = std::sqrt(modulus(x, y));
    const double h = std::atan2(y, x) / 2.0;
    return cplx(r * std::cos(h), r * std::sin(h));
}

// A complex logarithm's calls: sqrt of the modulus, log, atan2.
inline cplx log_calls(double x, double y) { return cplx(std::log(modulus(x, y)), std::atan2(y, x)); }

// The polar step of the powers: |z|^e (cos(e arg z), sin(e arg z)).
inline cplx power_calls(double x, double y, double e) {
    const double rho = std::pow(modulus(x, y), e);
    const double phi = std::atan2(y, x) * e;
    return cplx(rho * std::cos(phi), rho * std::sin(phi));
}

}  // namespace

NOINLINE double floor_abs(const cplx& z) { return modulus(z.real(), z.imag()); }

NOINLINE double floor_arg(const cplx& z) { return std::atan2(z.imag(), z.real()); }

NOINLINE cplx floor_exp(const cplx& z) {
    const double e = std::exp(z.real());
    return cplx(e * std::cos(z.imag()), e * std::sin(z.imag()));
}

NOINLINE cplx floor_log(const cplx& z) { return log_calls(z.real(), z.imag()); }

NOINLINE cplx floor_sqrt(const cplx& z) { return sqrt_calls(z.real(), z.imag()); }

NOINLINE cplx floor_pow_int(const cplx& z, int n) { return power_calls(z.real(), z.imag(), n); }

NOINLINE cplx floor_pow_real(const cplx& z, double y) { return power_calls(z.real(), z.imag(), y); }

NOINLINE cplx floor_pow_real_base(double x, const cplx& w) {
    const double l = std::log(std::fabs(x));
    const double e = std::exp(w.real() * l);
    const double t = w.imag() * l;
    return cplx(e * std::cos(t), e * std::sin(t));
}

NOINLINE cplx floor_pow(const cplx& z, const cplx& w) {
    const double rho = modulus(z.real(), z.imag());
    const double theta = std::atan2(z.imag(), z.real());
    const double m = std::pow(rho, w.real());
    const double r = std::exp(-w.imag() * theta) * m;
    const double angle = std::log(rho) * w.imag() + w.real() * theta;
    return cplx(r * std::cos(angle), r * std::sin(angle));
}

NOINLINE cplx floor_cosh(const cplx& z) { return hyperbolic_calls(z.real(), z.imag(), false); }

NOINLINE cplx floor_sinh(const cplx& z) { return hyperbolic_calls(z.real(), z.imag(), true); }

NOINLINE cplx floor_cos(const cplx& z) { return hyperbolic_calls(-z.imag(), z.real(), false); }

NOINLINE cplx floor_sin(const cplx& z) { return hyperbolic_calls(-z.imag(), z.real(), true); }

NOINLINE cplx floor_tanh(const cplx& z) {
    const cplx sh = hyperbolic_calls(z.real(), z.imag(), true);
    const cplx ch = hyperbolic_calls(opaque(z.real()), opaque(z.imag()), false);
    return sh + ch;
}

NOINLINE cplx floor_tan(const cplx& z) {
    const cplx sh = hyperbolic_calls(-z.imag(), z.real(), true);
    const cplx ch = hyperbolic_calls(opaque(-z.imag()), opaque(z.real()), false);
    return sh + ch;
}

namespace {
// asin and acos: p = z z, q = 1 - p, r = sqrt(q) (complex), then the log of
// w = i z + r (asin) or z + i r (acos).
inline cplx inverse_calls(const cplx& z, bool asin) {
    const double x = z.real();
    const double y = z.imag();
    const double qx = 1.0 - (x * x - y * y);
    const double qy = -(x * y + y * x);
    const cplx r = sqrt_calls(qx, qy);
    const double wx = asin ? r.real() - y : x - r.imag();
    const double wy = asin ? r.imag() + x : y + r.real();
    return log_calls(wx, wy);
}
}  // namespace

NOINLINE cplx floor_asin(const cplx& z) { return inverse_calls(z, true); }

NOINLINE cplx floor_acos(const cplx& z) { return inverse_calls(z, false); }

// atan: log(i - z) and log(i + z).
NOINLINE cplx floor_atan(const cplx& z) {
    const cplx a = log_calls(-z.real(), 1.0 - z.imag());
    const cplx b = log_calls(z.real(), 1.0 + z.imag());
    return b - a;
}
