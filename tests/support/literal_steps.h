// The defined steps of the library's functions, written out one by one in
// their defined order, as the reference that the library's fast paths, and
// its results under every rounding mode, are held to. Each reference makes
// the same real-function calls in the same order, and the same reports (to
// the test program's DComplex_error), so values, reports and errno can all
// be compared. Where a function is defined as a composition of others
// (tan, acos, ...), the reference composes the library's own functions.
#ifndef ZU_COMPLEX_TESTS_SUPPORT_LITERAL_STEPS_H
#define ZU_COMPLEX_TESTS_SUPPORT_LITERAL_STEPS_H

#include "zu_complex.h"

namespace zt {
namespace steps {

DComplex product(const DComplex& a, const DComplex& b);
DComplex quotient(const DComplex& a, const DComplex& b);
double abs(const DComplex& z);
double norm(const DComplex& z);
double arg(const DComplex& z);
DComplex polar(double r, double theta);
double round(double x);  // Vel_Round
DComplex exp(const DComplex& z);
DComplex log(const DComplex& z);
DComplex log10(const DComplex& z);
DComplex sqrt(const DComplex& z);
DComplex hypot(const DComplex& a, const DComplex& b);
DComplex pow(const DComplex& z, int n);
DComplex pow(const DComplex& z, double y);
DComplex pow(double x, const DComplex& w);
DComplex pow(const DComplex& z, const DComplex& w);
DComplex cosh(const DComplex& z);
DComplex sinh(const DComplex& z);
DComplex tanh(const DComplex& z);
DComplex cos(const DComplex& z);
DComplex sin(const DComplex& z);
DComplex tan(const DComplex& z);
DComplex acos(const DComplex& z);
DComplex asin(const DComplex& z);
DComplex atan(const DComplex& z);

}  // namespace steps
}  // namespace zt

#endif  // ZU_COMPLEX_TESTS_SUPPORT_LITERAL_STEPS_H
