// The library's one definition of a complex product and quotient (the steps
// are in core/arith.h). Both look for NaN parts first, then for parts that
// are exactly zero, and only then use a general formula; neither tests for
// infinity or reports.
#include "core/arith.h"

#include <cassert>

using namespace zu::detail;

DComplex zu::detail::mul_ladder(const DComplex& a, const DComplex& b) {
    if (has_nan_part(a) || has_nan_part(b)) return nan_pair();

    const bool a_re_zero = a.re == 0.0;
    const bool a_im_zero = a.im == 0.0;
    const bool b_re_zero = b.re == 0.0;
    const bool b_im_zero = b.im == 0.0;
    const bool a_real = a_im_zero && !a_re_zero;
    const bool a_imag = a_re_zero && !a_im_zero;
    const bool b_real = b_im_zero && !b_re_zero;
    const bool b_imag = b_re_zero && !b_im_zero;

    if (a_re_zero && a_im_zero) return DComplex(a.re * b.re, a.re * b.im);
    if (b_re_zero && b_im_zero) return DComplex(a.re * b.re, a.im * b.re);
    if (a_real && b_real) return DComplex(a.re * b.re, 0.0);
    if (a_imag && b_imag) return DComplex((-a.im) * b.im, 0.0);
    if (a_imag && b_real) return DComplex(0.0, a.im * b.re);
    if (a_real && b_imag) return DComplex(0.0, a.re * b.im);
    if (a_im_zero) return DComplex(a.re * b.re, a.re * b.im);
    if (b_im_zero) return DComplex(a.re * b.re, a.im * b.re);
    if (a_re_zero) return DComplex((-a.im) * b.im, a.im * b.re);
    if (b_re_zero) return DComplex((-a.im) * b.im, a.re * b.im);
    return DComplex(a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re);
}

// Every rung of the quotient's ladder before Smith's method.
DComplex zu::detail::div_special(const DComplex& a, const DComplex& b) {
    if (has_nan_part(a) || has_nan_part(b)) return nan_pair();
    if (b.im == 0.0) return DComplex(a.re / b.re, a.im / b.re);
    return DComplex(a.im / b.im, (-a.re) / b.im);  // b.re is zero: div() tried the rest
}

DComplex operator*(const DComplex& a, const DComplex& b) { return mul(a, b); }

DComplex operator/(const DComplex& a, const DComplex& b) { return div(a, b); }

// Both parts of the new value are computed from the old ones before either
// is stored, so z *= z squares z and z /= z divides z by its old value.
void DComplex::operator*=(const DComplex& z) { *this = mul(*this, z); }

void DComplex::operator/=(const DComplex& z) { *this = div(*this, z); }

// The operand pairs are read completely, into values, before the result pair
// is written, so the result may be the same storage as either operand. The
// parts are stored one by one from registers.
extern "C" void Vel_ComplexMultiply(double* result, const double* a, const double* b) {
    assert(result != nullptr && a != nullptr && b != nullptr);
    const DComplex product = mul(DComplex(a[0], a[1]), DComplex(b[0], b[1]));
    const double re = product.re;
    const double im = product.im;
    result[0] = re;
    result[1] = im;
}

extern "C" void Vel_ComplexDivide(double* result, const double* a, const double* b) {
    assert(result != nullptr && a != nullptr && b != nullptr);
    const DComplex quotient = div(DComplex(a[0], a[1]), DComplex(b[0], b[1]));
    const double re = quotient.re;
    const double im = quotient.im;
    result[0] = re;
    result[1] = im;
}
