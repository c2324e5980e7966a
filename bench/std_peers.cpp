// std::complex<double> behind non-inlined calls, compiled apart from the
// driver so that nothing of it can be inlined there: the same calling terms
// as the library's out-of-line operators.
#include "peers.h"

#include <istream>
#include <ostream>

#define NOINLINE __attribute__((noinline))

NOINLINE cplx std_add(const cplx& a, const cplx& b) { return a + b; }
NOINLINE cplx std_mul(const cplx& a, const cplx& b) { return a * b; }
NOINLINE cplx std_div(const cplx& a, const cplx& b) { return a / b; }
NOINLINE double std_abs(const cplx& z) { return std::abs(z); }
NOINLINE double std_arg(const cplx& z) { return std::arg(z); }
NOINLINE double std_norm(const cplx& z) { return std::norm(z); }
NOINLINE cplx std_exp(const cplx& z) { return std::exp(z); }
NOINLINE cplx std_log(const cplx& z) { return std::log(z); }
NOINLINE cplx std_log10(const cplx& z) { return std::log10(z); }
NOINLINE cplx std_sqrt(const cplx& z) { return std::sqrt(z); }
NOINLINE cplx std_pow_int(const cplx& z, int n) { return std::pow(z, n); }
NOINLINE cplx std_pow_real(const cplx& z, double y) { return std::pow(z, y); }
NOINLINE cplx std_pow_real_base(double x, const cplx& w) { return std::pow(x, w); }
NOINLINE cplx std_pow(const cplx& z, const cplx& w) { return std::pow(z, w); }
NOINLINE cplx std_sin(const cplx& z) { return std::sin(z); }
NOINLINE cplx std_cos(const cplx& z) { return std::cos(z); }
NOINLINE cplx std_tan(const cplx& z) { return std::tan(z); }
NOINLINE cplx std_sinh(const cplx& z) { return std::sinh(z); }
NOINLINE cplx std_cosh(const cplx& z) { return std::cosh(z); }
NOINLINE cplx std_tanh(const cplx& z) { return std::tanh(z); }
NOINLINE cplx std_asin(const cplx& z) { return std::asin(z); }
NOINLINE cplx std_acos(const cplx& z) { return std::acos(z); }
NOINLINE cplx std_atan(const cplx& z) { return std::atan(z); }
NOINLINE std::ostream& std_write(std::ostream& s, const cplx& z) { return s << z; }
NOINLINE std::istream& std_read(std::istream& s, cplx& z) { return s >> z; }

NOINLINE void std_pair_mul(double* result, const double* a, const double* b) {
    const cplx p = cplx(a[0], a[1]) * cplx(b[0], b[1]);
    result[0] = p.real();
    result[1] = p.imag();
}

NOINLINE void std_pair_div(double* result, const double* a, const double* b) {
    const cplx q = cplx(a[0], a[1]) / cplx(b[0], b[1]);
    result[0] = q.real();
    result[1] = q.imag();
}
