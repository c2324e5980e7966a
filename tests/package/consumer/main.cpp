// A program built against the installed package: it must compile with the
// installed header, link, load the library and get its results.
#include <zu_complex.h>

#include <cmath>
#include <cstdio>

int main() {
    const DComplex p = DComplex(2, 3) * DComplex(4, 5);
    const DComplex q = DComplex(1, 1) / DComplex(0, 0);
    const bool ok = p.re == -7 && p.im == 22 && std::isinf(q.re) && std::isinf(q.im) && std::isnan(Vel_NaN()) &&
                    VelInitFP() == 1;
    std::printf("consumer: (2,3)*(4,5) = (%g, %g): %s\n", p.re, p.im, ok ? "ok" : "WRONG");
    return ok ? 0 : 1;
}
