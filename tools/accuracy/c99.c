/* glibc's C99 complex functions, for the conventions table. clog10 is a GNU
 * extension (C99 has no complex log10), hence _GNU_SOURCE. */
#define _GNU_SOURCE
#include "c99.h"

#include <complex.h>
#include <string.h>

/* Built from its parts, never as re + im * I: that sum would turn an
 * infinite part into NaN and could change the sign of a zero. */
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

struct unary {
    const char* name;
    double complex (*f)(double complex);
};

static const struct unary kUnary[] = {
    {"exp", cexp},   {"log", clog},   {"log10", clog10}, {"sqrt", csqrt}, {"sin", csin},
    {"cos", ccos},   {"tan", ctan},   {"sinh", csinh},   {"cosh", ccosh}, {"tanh", ctanh},
    {"asin", casin}, {"acos", cacos}, {"atan", catan},
};

int acc_c99(const char* name, double a, double b, double c, double d, double out[2]) {
    double complex r;
    size_t k;
    if (strcmp(name, "a * b") == 0) {
        r = make(a, b) * make(c, d);
    } else {
        for (k = 0; k < sizeof kUnary / sizeof kUnary[0]; ++k)
            if (strcmp(name, kUnary[k].name) == 0) break;
        if (k == sizeof kUnary / sizeof kUnary[0]) return 0;
        r = kUnary[k].f(make(a, b));
    }
    out[0] = creal(r);
    out[1] = cimag(r);
    return 1;
}
