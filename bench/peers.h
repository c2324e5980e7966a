// The C++ columns the library is compared with, each behind a call into the
// shared library zu_bench_peers, on the library's own calling terms: complex
// operands by constant reference, results by value.
//
//   std_*    std::complex<double>, the operation as <complex> defines it
//   floor_*  the real <cmath> calls the library's steps must make for the
//            operation, on the same operands, and nothing else but the few
//            products or sums that combine their results (see
//            floor_calls.cpp for the list per operation)
#ifndef ZU_BENCH_PEERS_H
#define ZU_BENCH_PEERS_H

#include <complex>
#include <iosfwd>

using cplx = std::complex<double>;

// --- std::complex<double> behind a call -------------------------------------

cplx std_add(const cplx& a, const cplx& b);
cplx std_mul(const cplx& a, const cplx& b);
cplx std_div(const cplx& a, const cplx& b);
double std_abs(const cplx& z);
double std_arg(const cplx& z);
double std_norm(const cplx& z);
cplx std_exp(const cplx& z);
cplx std_log(const cplx& z);
cplx std_log10(const cplx& z);
cplx std_sqrt(const cplx& z);
cplx std_pow_int(const cplx& z, int n);
cplx std_pow_real(const cplx& z, double y);
cplx std_pow_real_base(double x, const cplx& w);
cplx std_pow(const cplx& z, const cplx& w);
cplx std_sin(const cplx& z);
cplx std_cos(const cplx& z);
cplx std_tan(const cplx& z);
cplx std_sinh(const cplx& z);
cplx std_cosh(const cplx& z);
cplx std_tanh(const cplx& z);
cplx std_asin(const cplx& z);
cplx std_acos(const cplx& z);
cplx std_atan(const cplx& z);
std::ostream& std_write(std::ostream& s, const cplx& z);
std::istream& std_read(std::istream& s, cplx& z);
void std_pair_mul(double* result, const double* a, const double* b);
void std_pair_div(double* result, const double* a, const double* b);

// --- the real-math floors ---------------------------------------------------

double floor_abs(const cplx& z);
double floor_arg(const cplx& z);
cplx floor_exp(const cplx& z);
cplx floor_log(const cplx& z);  // log and log10 make the same calls
cplx floor_sqrt(const cplx& z);
cplx floor_pow_int(const cplx& z, int n);
cplx floor_pow_real(const cplx& z, double y);
cplx floor_pow_real_base(double x, const cplx& w);
cplx floor_pow(const cplx& z, const cplx& w);
cplx floor_sin(const cplx& z);
cplx floor_cos(const cplx& z);
cplx floor_tan(const cplx& z);
cplx floor_sinh(const cplx& z);
cplx floor_cosh(const cplx& z);
cplx floor_tanh(const cplx& z);
cplx floor_asin(const cplx& z);
cplx floor_acos(const cplx& z);
cplx floor_atan(const cplx& z);

#endif  // ZU_BENCH_PEERS_H
