// The value type's own operations: one IEEE operation per part, or none.
// Nothing here tests its operands; NaN, infinite and signed-zero parts pass
// through by the ordinary IEEE rules.
#include "core/arith.h"

using namespace zu::detail;

// re first, then im, each from the operand's matching part only, so that
// z += z and z -= z work on the object itself.
void DComplex::operator+=(const DComplex& z) {
    re = re + z.re;
    im = im + z.im;
}

void DComplex::operator-=(const DComplex& z) {
    re = re - z.re;
    im = im - z.im;
}

double real(const DComplex& z) { return z.re; }

double imag(const DComplex& z) { return z.im; }

// Unary minus on a double flips the sign bit only (it is not 0 - x), so
// conj of (x, +0.0) is (x, -0.0) and a NaN stays a NaN.
DComplex conj(const DComplex& z) { return DComplex(z.re, -z.im); }

DComplex operator+(const DComplex& a, const DComplex& b) { return add(a, b); }

// In the mixed forms the untouched part is carried over, not computed as
// part + 0.0: that would turn a -0.0 into +0.0.
DComplex operator+(double x, const DComplex& z) { return DComplex(x + z.re, z.im); }

DComplex operator+(const DComplex& z, double x) { return DComplex(z.re + x, z.im); }

DComplex operator-(const DComplex& z) { return neg(z); }

DComplex operator-(const DComplex& a, const DComplex& b) { return sub(a, b); }

DComplex operator-(double x, const DComplex& z) { return sub(x, z); }

DComplex operator-(const DComplex& z, double x) { return DComplex(z.re - x, z.im); }

// IEEE equality: +0.0 == -0.0, and a NaN part is unequal to everything.
int operator==(const DComplex& a, const DComplex& b) { return (a.re == b.re && a.im == b.im) ? 1 : 0; }

int operator!=(const DComplex& a, const DComplex& b) { return (a.re == b.re && a.im == b.im) ? 0 : 1; }
