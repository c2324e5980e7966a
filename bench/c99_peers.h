/* The C99 column of the benchmark: double _Complex and <complex.h>, compiled
 * as C in c99_peers.c and reached through calls into a shared library, on
 * the library's own calling terms (operands by address, the result as two
 * doubles by value).
 *
 * C has no complex type that C++ can name, so the operands cross as
 * bench_pair, two doubles real part first: the layout of double _Complex,
 * of std::complex<double> and of DComplex. */
#ifndef ZU_BENCH_C99_PEERS_H
#define ZU_BENCH_C99_PEERS_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct bench_pair {
    double re;
    double im;
} bench_pair;

bench_pair c99_add(const bench_pair* a, const bench_pair* b);
bench_pair c99_mul(const bench_pair* a, const bench_pair* b);
bench_pair c99_div(const bench_pair* a, const bench_pair* b);

double c99_abs(const bench_pair* z);  /* cabs */
double c99_arg(const bench_pair* z);  /* carg */
double c99_norm(const bench_pair* z); /* creal^2 + cimag^2: C has no norm */

bench_pair c99_exp(const bench_pair* z);
bench_pair c99_log(const bench_pair* z);
bench_pair c99_log10(const bench_pair* z); /* clog(z) / ln 10 */
bench_pair c99_sqrt(const bench_pair* z);

/* C has only cpow(complex, complex): the real and integer operands go in as
 * complex values with a +0.0 imaginary part. */
bench_pair c99_pow_int(const bench_pair* z, int n);
bench_pair c99_pow_real(const bench_pair* z, double y);
bench_pair c99_pow_real_base(double x, const bench_pair* w);
bench_pair c99_pow(const bench_pair* z, const bench_pair* w);

bench_pair c99_sin(const bench_pair* z);
bench_pair c99_cos(const bench_pair* z);
bench_pair c99_tan(const bench_pair* z);
bench_pair c99_sinh(const bench_pair* z);
bench_pair c99_cosh(const bench_pair* z);
bench_pair c99_tanh(const bench_pair* z);
bench_pair c99_asin(const bench_pair* z);
bench_pair c99_acos(const bench_pair* z);
bench_pair c99_atan(const bench_pair* z);

/* The C-pair forms, on the terms of Vel_ComplexMultiply/Vel_ComplexDivide. */
void c99_pair_mul(double* result, const double* a, const double* b);
void c99_pair_div(double* result, const double* a, const double* b);

/* The C compiler's version string, for the report. */
const char* c99_compiler_version(void);

#ifdef __cplusplus
}
#endif

#endif /* ZU_BENCH_C99_PEERS_H */
