// The exported array functions: each hands its arrays to the kernel table
// chosen for this processor (dispatch.cpp). An empty array is never read,
// so its pointers may be null.
#include "array/kernels.h"
#include "zu_complex.h"

#include <cassert>

using zu::detail::array::kernels;

extern "C" {

void Vel_ComplexMultiplyArray(double* result, const double* a, const double* b, size_t n) {
    if (n == 0) return;
    assert(result != nullptr && a != nullptr && b != nullptr);
    kernels().mul(result, a, b, n);
}

void Vel_ComplexDivideArray(double* result, const double* a, const double* b, size_t n) {
    if (n == 0) return;
    assert(result != nullptr && a != nullptr && b != nullptr);
    kernels().div(result, a, b, n);
}

void Vel_ComplexAddArray(double* result, const double* a, const double* b, size_t n) {
    if (n == 0) return;
    assert(result != nullptr && a != nullptr && b != nullptr);
    kernels().add(result, a, b, n);
}

void Vel_ComplexSubtractArray(double* result, const double* a, const double* b, size_t n) {
    if (n == 0) return;
    assert(result != nullptr && a != nullptr && b != nullptr);
    kernels().sub(result, a, b, n);
}

void Vel_ComplexScaleArray(double* result, const double* a, const double* s, size_t n) {
    if (n == 0) return;
    assert(result != nullptr && a != nullptr && s != nullptr);
    kernels().scale(result, a, s, n);
}

void Vel_ComplexConjArray(double* result, const double* a, size_t n) {
    if (n == 0) return;
    assert(result != nullptr && a != nullptr);
    kernels().conj(result, a, n);
}

void Vel_ComplexAbsArray(double* result, const double* a, size_t n) {
    if (n == 0) return;
    assert(result != nullptr && a != nullptr);
    kernels().abs(result, a, n);
}

void Vel_ComplexNormArray(double* result, const double* a, size_t n) {
    if (n == 0) return;
    assert(result != nullptr && a != nullptr);
    kernels().norm(result, a, n);
}

const char* Vel_ComplexArrayTarget(void) { return kernels().name; }

}  // extern "C"
