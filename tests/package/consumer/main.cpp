// A program built against the installed package: it must compile with the
// installed headers, link, load the library and get its results, and its own
// DComplex_error must receive the library's reports, with the shared library
// (interposition) and with the static one (the library's hook is left out).
#include <zu_complex.h>
#include <zu_complex_std.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

static int atan_reports = 0;

int DComplex_error(c_exception& e) {
    if (e.type == 2 && std::strcmp(e.name, "atan") == 0) ++atan_reports;
    return 0;
}

int main() {
    const DComplex p = DComplex(2, 3) * DComplex(4, 5);
    const DComplex q = DComplex(1, 1) / DComplex(0, 0);
    errno = 0;
    const DComplex pole = atan(DComplex(0, 1));
    const bool ok = p.re == -7 && p.im == 22 && to_std(p) == std::complex<double>(-7, 22) && std::isinf(q.re) &&
                    std::isinf(q.im) && std::isnan(Vel_NaN()) && VelInitFP() == 1 && atan_reports == 1 &&
                    errno == EDOM && std::isinf(pole.im);
    std::printf("consumer of libzu_complex %d.%d.%d: (2,3)*(4,5) = (%g, %g), atan(i) reported %d time(s): %s\n",
                ZU_COMPLEX_VERSION_MAJOR, ZU_COMPLEX_VERSION_MINOR, ZU_COMPLEX_VERSION_PATCH, p.re, p.im,
                atan_reports, ok ? "ok" : "WRONG");
    return ok ? 0 : 1;
}
