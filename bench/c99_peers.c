/* The C99 column: each function is one <complex.h> operation on
 * double _Complex, behind a call. Complex values are made from their two
 * parts with C11's CMPLX, or where the C library does not offer it to this
 * compiler through a union; never as re + im * I, an arithmetic step that
 * could change a zero's sign or turn an infinity into a NaN. */
#include "c99_peers.h"

#include <complex.h>
#include <math.h>

#define NOINLINE __attribute__((noinline))

static double complex make(double re, double im) {
#ifdef CMPLX
    return CMPLX(re, im);
#else
    union {
        double complex z;
        double parts[2];
    } u;
    u.parts[0] = re;
    u.parts[1] = im;
    return u.z;
#endif
}

static double complex in(const bench_pair* z) { return make(z->re, z->im); }

static bench_pair out(double complex z) {
    bench_pair r;
    r.re = creal(z);
    r.im = cimag(z);
    return r;
}

/* ln 10 rounded to double. */
static const double kLn10 = 2.302585092994045684;

NOINLINE bench_pair c99_add(const bench_pair* a, const bench_pair* b) { return out(in(a) + in(b)); }
NOINLINE bench_pair c99_mul(const bench_pair* a, const bench_pair* b) { return out(in(a) * in(b)); }
NOINLINE bench_pair c99_div(const bench_pair* a, const bench_pair* b) { return out(in(a) / in(b)); }

NOINLINE double c99_abs(const bench_pair* z) { return cabs(in(z)); }
NOINLINE double c99_arg(const bench_pair* z) { return carg(in(z)); }
NOINLINE double c99_norm(const bench_pair* z) {
    const double complex v = in(z);
    return creal(v) * creal(v) + cimag(v) * cimag(v);
}

NOINLINE bench_pair c99_exp(const bench_pair* z) { return out(cexp(in(z))); }
NOINLINE bench_pair c99_log(const bench_pair* z) { return out(clog(in(z))); }
/* A real divisor divides both parts; no complex quotient is formed. */
NOINLINE bench_pair c99_log10(const bench_pair* z) { return out(clog(in(z)) / kLn10); }
NOINLINE bench_pair c99_sqrt(const bench_pair* z) { return out(csqrt(in(z))); }

NOINLINE bench_pair c99_pow_int(const bench_pair* z, int n) { return out(cpow(in(z), make((double)n, 0.0))); }
NOINLINE bench_pair c99_pow_real(const bench_pair* z, double y) { return out(cpow(in(z), make(y, 0.0))); }
NOINLINE bench_pair c99_pow_real_base(double x, const bench_pair* w) { return out(cpow(make(x, 0.0), in(w))); }
NOINLINE bench_pair c99_pow(const bench_pair* z, const bench_pair* w) { return out(cpow(in(z), in(w))); }

NOINLINE bench_pair c99_sin(const bench_pair* z) { return out(csin(in(z))); }
NOINLINE bench_pair c99_cos(const bench_pair* z) { return out(ccos(in(z))); }
NOINLINE bench_pair c99_tan(const bench_pair* z) { return out(ctan(in(z))); }
NOINLINE bench_pair c99_sinh(const bench_pair* z) { return out(csinh(in(z))); }
NOINLINE bench_pair c99_cosh(const bench_pair* z) { return out(ccosh(in(z))); }
NOINLINE bench_pair c99_tanh(const bench_pair* z) { return out(ctanh(in(z))); }
NOINLINE bench_pair c99_asin(const bench_pair* z) { return out(casin(in(z))); }
NOINLINE bench_pair c99_acos(const bench_pair* z) { return out(cacos(in(z))); }
NOINLINE bench_pair c99_atan(const bench_pair* z) { return out(catan(in(z))); }

/* Operands read whole before the result is written, so the result may alias
 * an operand, as with the library's pair functions. */
NOINLINE void c99_pair_mul(double* result, const double* a, const double* b) {
    const double complex p = make(a[0], a[1]) * make(b[0], b[1]);
    result[0] = creal(p);
    result[1] = cimag(p);
}

NOINLINE void c99_pair_div(double* result, const double* a, const double* b) {
    const double complex q = make(a[0], a[1]) / make(b[0], b[1]);
    result[0] = creal(q);
    result[1] = cimag(q);
}

const char* c99_compiler_version(void) {
#if defined(__clang__)
    return "clang " __clang_version__;
#elif defined(__GNUC__)
    return "gcc " __VERSION__;
#else
    return "unknown";
#endif
}
