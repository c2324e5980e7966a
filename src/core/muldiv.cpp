// The library's one definition of a complex product and quotient. Both look
// for NaN parts first, then for parts that are exactly zero, and only then
// use a general formula; neither tests for infinity or reports.
#include "fp/internal.h"

#include <cassert>
#include <cmath>

using zu::detail::has_nan_part;
using zu::detail::nan_pair;

// a * b. The formula is picked by which parts are zero (-0.0 counts), so a
// purely real or imaginary operand multiplies without the NaN that 0 * inf
// makes in the four-product formula, and parts that are zero by construction
// come out as exact +0.0. The tests are made in this order, the first match
// deciding:
//   any NaN part                -> (NaN, NaN), before everything else
//   a zero                      -> (ar br, ar bi)
//   b zero                      -> (ar br, ai br)
//   a real, b real              -> (ar br, +0)
//   a imaginary, b imaginary    -> (-ai bi, +0)
//   a imaginary, b real         -> (+0, ai br)
//   a real, b imaginary         -> (+0, ar bi)
//   a real (b general)          -> (ar br, ar bi)
//   b real (a general)          -> (ar br, ai br)
//   a imaginary (b general)     -> (-ai bi, ai br)
//   b imaginary (a general)     -> (-ai bi, ar bi)
//   otherwise                   -> (ar br - ai bi, ar bi + ai br)
// -ai bi is the product of the negated ai with bi, which differs from the
// negated product under directed rounding.
DComplex operator*(const DComplex& a, const DComplex& b) {
    // The common case first: when no part is zero or NaN (|v| > 0 fails for
    // both), every test of the ladder below fails and the general formula
    // decides, so taking it at once gives the same bits.
    if (std::fabs(a.re) > 0.0 && std::fabs(a.im) > 0.0 && std::fabs(b.re) > 0.0 && std::fabs(b.im) > 0.0) {
        return DComplex(a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re);
    }
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

// a / b:
//   any NaN part   -> (NaN, NaN)
//   b.im zero      -> (ar / br, ai / br); a zero divisor lands here and
//                     gives IEEE infinities or NaNs by the sign of br
//   b.re zero      -> (ai / bi, (-ar) / bi)
//   otherwise Smith's method: branch A when |bi| >= |br| (a tie goes to A),
//   branch B when |bi| < |br|; with t the ratio of the smaller part to the
//   larger, |t| <= 1, so no part of b is ever squared.
DComplex operator/(const DComplex& a, const DComplex& b) {
    // Smith's method is reached exactly when no part is NaN and neither part
    // of the divisor is zero; |v| > 0 tests both at once for the divisor.
    const bool smith = std::fabs(b.re) > 0.0 && std::fabs(b.im) > 0.0 && !has_nan_part(a);
    if (!smith) {
        if (has_nan_part(a) || has_nan_part(b)) return nan_pair();
        if (b.im == 0.0) return DComplex(a.re / b.re, a.im / b.re);
        return DComplex(a.im / b.im, (-a.re) / b.im);  // b.re is zero
    }

    double t, d, p, q;
    if (std::fabs(b.im) >= std::fabs(b.re)) {
        t = b.re / b.im;
        d = (t * t + 1.0) * b.im;  // not b.im + b.re * t, which rounds differently
        p = a.re;
        q = a.im;
    } else {
        t = (-b.im) / b.re;
        d = (t * t + 1.0) * b.re;
        p = -a.im;
        q = a.re;
    }
    return DComplex((p * t + q) / d, (q * t - p) / d);
}

// Both parts of the new value are computed from the old ones before either
// is stored, so z *= z squares z and z /= z divides z by its old value.
void DComplex::operator*=(const DComplex& z) { *this = *this * z; }

void DComplex::operator/=(const DComplex& z) { *this = *this / z; }

// The operand pairs are read completely, into values, before the result pair
// is written, so the result may be the same storage as either operand.
extern "C" void Vel_ComplexMultiply(double* result, const double* a, const double* b) {
    assert(result != nullptr && a != nullptr && b != nullptr);
    const DComplex product = DComplex(a[0], a[1]) * DComplex(b[0], b[1]);
    result[0] = product.re;
    result[1] = product.im;
}

extern "C" void Vel_ComplexDivide(double* result, const double* a, const double* b) {
    assert(result != nullptr && a != nullptr && b != nullptr);
    const DComplex quotient = DComplex(a[0], a[1]) / DComplex(b[0], b[1]);
    result[0] = quotient.re;
    result[1] = quotient.im;
}
