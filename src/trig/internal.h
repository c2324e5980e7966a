// Shared by the hyperbolic and circular functions.
#ifndef ZU_COMPLEX_SRC_TRIG_INTERNAL_H
#define ZU_COMPLEX_SRC_TRIG_INTERNAL_H

#include "zu_complex.h"

namespace zu {
namespace detail {

struct CoshSinh {
    DComplex cosh;
    DComplex sinh;
};

// cosh(z) and sinh(z) at once, for an argument on the ordinary path of both
// (no NaN part, finite imaginary part, real part within the +-710 cut-off):
// the same four real functions of the same two arguments serve both, so
// tan and tanh, which need both, compute them once. Returns false, having
// made no report, for every other argument; the caller then takes the full
// ladders. The values are bit for bit those of cosh(z) and sinh(z), and the
// real functions involved leave errno alone on this path.
bool ordinary_cosh_sinh(const DComplex& z, CoshSinh& out);

}  // namespace detail
}  // namespace zu

#endif  // ZU_COMPLEX_SRC_TRIG_INTERNAL_H
