// The library's one definition of a complex product and quotient (the steps
// are in core/arith.h). Both look for NaN parts first, then for parts that
// are exactly zero, and only then use a general formula; neither tests for
// infinity or reports.
#include "core/arith.h"

#include <cassert>

using namespace zu::detail;

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
