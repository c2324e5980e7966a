// The table "Where results differ from C99's conventions": for one input of
// each kind (signed zeros, infinite and NaN parts, moduli beyond the largest
// double, subnormal parts), the library's result beside glibc's C99 function
// and std::complex<double>. Every row must still differ from C99; a row
// that no longer does fails the run, so the table cannot go stale.
#include "c99.h"
#include "report.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <limits>

namespace acc {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Row {
    const char* kind;
    const char* function;  // a name of the catalogue
    Sample operands;
};

Sample z(double a, double b, double c = 0.0, double d = 0.0) {
    Sample s;
    s.a = a;
    s.b = b;
    s.c = c;
    s.d = d;
    return s;
}

const char kZeroSign[] = "zero sign";
const char kCut[] = "zero on a branch cut";
const char kInfinite[] = "infinite part";
const char kNaNPart[] = "NaN part";
const char kHuge[] = "overflowing modulus";
const char kSubnormal[] = "subnormal parts";

const Row kRows[] = {
    {kZeroSign, "asin", z(0.0, 0.0)},
    {kZeroSign, "acos", z(0.5, 0.0)},
    {kZeroSign, "atan", z(-0.0, 0.5)},
    {kZeroSign, "log", z(-0.0, 0.0)},
    {kZeroSign, "log10", z(0.001, -0.0)},
    {kZeroSign, "sqrt", z(-0.0, 0.0)},
    {kCut, "sqrt", z(-4.0, -0.0)},
    {kCut, "acos", z(2.0, 0.0)},
    {kCut, "asin", z(2.0, 0.0)},
    {kCut, "atan", z(0.0, 2.0)},
    {kInfinite, "exp", z(-kInf, 2.8)},
    {kInfinite, "cosh", z(kInf, 0.0)},
    {kInfinite, "tanh", z(kInf, 0.0)},
    {kInfinite, "log", z(kInf, kInf)},
    {kInfinite, "sqrt", z(kInf, kInf)},
    {kInfinite, "asin", z(kInf, 0.0)},
    {kInfinite, "acos", z(kInf, 0.0)},
    {kInfinite, "atan", z(kInf, 0.0)},
    {kNaNPart, "exp", z(kNaN, -0.0)},
    {kNaNPart, "log", z(kInf, kNaN)},
    {kNaNPart, "sqrt", z(kNaN, kInf)},
    {kNaNPart, "tanh", z(kNaN, 0.0)},
    {kNaNPart, "acos", z(0.0, kNaN)},
    {kNaNPart, "atan", z(kNaN, 0.0)},
    {kNaNPart, "a * b", z(kInf, kNaN, 2.0, 0.0)},
    {kHuge, "log", z(-1.632366720973235e+308, -1.54299446211448e+308)},
    {kHuge, "log10", z(-1.632366720973235e+308, -1.54299446211448e+308)},
    {kHuge, "sqrt", z(1.5e308, 1.5e308)},
    {kHuge, "atan", z(1.5873698696131487e+308, -1.0780367422960641e+308)},
    {kHuge, "acos", z(1e200, 1.0)},
    {kSubnormal, "sqrt", z(-4.9963244206801218e-314, -8.4718424423690227e-319)},
    {kSubnormal, "log", z(0x1p-1074, 0x1p-1074)},
};

// NaN without its sign: which NaN a function returns is not the point here.
std::string part(double v) { return std::isnan(v) ? "NaN" : shortest(v); }
std::string pair(double re, double im) { return "(" + part(re) + ", " + part(im) + ")"; }

// The same value, NaN matching any NaN and +0 differing from -0.
bool same(double x, double y) {
    if (std::isnan(x) || std::isnan(y)) return std::isnan(x) && std::isnan(y);
    return x == y && std::signbit(x) == std::signbit(y);
}

}  // namespace

int run_conventions(const std::vector<Function>& catalogue, const Options& opt) {
    std::ofstream file;
    if (opt.conventions_file != "-") {
        file.open(opt.conventions_file);
        if (!file) {
            std::fprintf(stderr, "zu_accuracy: cannot write %s\n", opt.conventions_file.c_str());
            return 1;
        }
    }
    std::ostream& out = opt.conventions_file == "-" ? std::cout : file;
    out << "| kind of input | call | library | C99 (glibc) | std::complex<double> |\n";
    out << "|---|---|---|---|---|\n";
    int rc = 0;
    for (const Row& r : kRows) {
        const Function* f = find_function(catalogue, r.function);
        const Sample& s = r.operands;
        double c99[2];
        if (!f || !acc_c99(r.function, s.a, s.b, s.c, s.d, c99)) {
            std::fprintf(stderr, "zu_accuracy: no function '%s' for the conventions table\n", r.function);
            return 1;
        }
        reset_reports();
        const DComplex v = f->zu(s);
        const long reports = reports_made();
        const std::complex<double> p = f->peer(s);
        const std::string call = f->form == Form::binary ? pair(s.a, s.b) + " * " + pair(s.c, s.d)
                                                         : std::string(r.function) + pair(s.a, s.b);
        if (same(v.re, c99[0]) && same(v.im, c99[1])) {
            std::fprintf(stderr, "zu_accuracy: %s now agrees with C99; take the row out of the table\n",
                         call.c_str());
            rc = 1;
        }
        out << "| " << r.kind << " | `" << call << "` | `" << pair(v.re, v.im) << "`"
            << (reports ? " (" + std::to_string(reports) + (reports == 1 ? " report)" : " reports)") : "")
            << " | `" << pair(c99[0], c99[1]) << "` | `" << pair(p.real(), p.imag()) << "` |\n";
    }
    return rc;
}

}  // namespace acc
