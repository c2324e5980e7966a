// Square root and the complex hypotenuse built on it. Neither reports.
#include "core/arith.h"
#include "explog/internal.h"
#include "fp/internal.h"

using namespace zu::detail;

// The steps are in explog/internal.h.
DComplex sqrt(const DComplex& z) { return square_root(z); }

// hypot(a, b) = sqrt(a*a + b*b) in complex arithmetic, b*b formed first and
// a*a the left operand of the sum. Unscaled, and not a modulus: for complex
// arguments the result is complex in general, and it can be zero for
// non-zero arguments (hypot((1,1), (1,-1)) = 0).
DComplex hypot(const DComplex& a, const DComplex& b) {
    const DComplex bb = mul(b, b);
    const DComplex aa = mul(a, a);
    return sqrt(add(aa, bb));
}
