// libzu_complex: explicit conversions between DComplex and
// std::complex<double>, for programs that use both.
//
// Each copies the two parts bit for bit (signed zeros, infinities, NaNs with
// their sign and payload): the bytes are copied, never loaded as values,
// which on some processors would quiet a signalling NaN. Both types hold the
// real part first and then the imaginary part, as an array of two doubles.
//
// Deliberately not implicit: a converting constructor or operator would
// change which overload existing calls such as exp(z) or a * b pick, and
// the two types' functions do not give the same results for special values.
// Kept out of zu_complex.h, so that only the programs that ask for it
// include <complex>.
#ifndef ZU_COMPLEX_STD_H
#define ZU_COMPLEX_STD_H

#include "zu_complex.h"

#include <complex>
#include <cstring>

// DComplex -> std::complex<double>.
inline std::complex<double> to_std(const DComplex& z) noexcept {
    std::complex<double> c;
    // std::complex<double> may be used as double[2], real part first.
    std::memcpy(reinterpret_cast<double*>(&c), &z, sizeof(double[2]));
    return c;
}

// std::complex<double> -> DComplex.
inline DComplex to_dcomplex(const std::complex<double>& c) noexcept {
    DComplex z;
    std::memcpy(static_cast<void*>(&z), reinterpret_cast<const double*>(&c), sizeof(double[2]));
    return z;
}

#endif  // ZU_COMPLEX_STD_H
