// A short tour: products, a quotient by a zero divisor, a NaN operand and
// the library's special values.
#include "zu_complex.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

std::uint64_t bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

void show(const char* what, const DComplex& z) {
    std::printf("%-28s = (%.17g, %.17g)\n", what, z.re, z.im);
}

}  // namespace

int main() {
    const DComplex a(2, 3), b(4, 5);
    show("(2,3) * (4,5)", a * b);
    show("(1,2) / (3,4)", DComplex(1, 2) / DComplex(3, 4));
    // A purely real operand multiplies without 0 * inf = NaN.
    show("(inf,0) * (2,0)", DComplex(Vel_Inf(), 0) * DComplex(2, 0));
    // A zero divisor is no error: each part is the IEEE quotient by its sign.
    show("(1,-1) / (-0,0)", DComplex(1, -1) / DComplex(-0.0, 0));
    // Any NaN part gives (NaN, NaN) with the library's own NaN.
    show("(5,5) / (NaN,1)", DComplex(5, 5) / DComplex(Vel_NaN(), 1));
    std::printf("%-28s = 0x%016" PRIx64 "\n", "Vel_NaN() bits", bits(Vel_NaN()));
    std::printf("%-28s = %g\n", "Vel_Inf()", Vel_Inf());
    std::printf("%-28s = %g\n", "Vel_Inf_Float()", static_cast<double>(Vel_Inf_Float()));
    return 0;
}
