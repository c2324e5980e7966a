// The table "Where results differ from C99's conventions": for one input of
// each kind (signed zeros, infinite and NaN parts, moduli beyond the largest
// double, subnormal parts), the library's result beside glibc's C99 function
// and std::complex<double>. Every row must still differ from C99; a row
// that no longer does fails the run, so the table cannot go stale.
#include "c99_peers.h"
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

// C99's column: glibc's functions through the benchmark's C99 peers.
struct C99Function {
    const char* name;
    bench_pair (*f)(const bench_pair*);
};

const C99Function kC99[] = {
    {"exp", c99_exp},   {"log", c99_log},   {"log10", c99_log10}, {"sqrt", c99_sqrt}, {"sin", c99_sin},
    {"cos", c99_cos},   {"tan", c99_tan},   {"sinh", c99_sinh},   {"cosh", c99_cosh}, {"tanh", c99_tanh},
    {"asin", c99_asin}, {"acos", c99_acos}, {"atan", c99_atan},
};

bool c99(const std::string& name, const Sample& s, bench_pair& out) {
    const bench_pair a{s.a, s.b}, b{s.c, s.d};
    if (name == "a * b") {
        out = c99_mul(&a, &b);
        return true;
    }
    for (const C99Function& f : kC99) {
        if (name == f.name) {
            out = f.f(&a);
            return true;
        }
    }
    return false;
}

const char kZeroSign[] = "zero sign";
const char kCut[] = "zero on a branch cut";
const char kInfinite[] = "infinite part";
const char kNaNPart[] = "NaN part";
const char kHuge[] = "overflowing modulus";
const char kSubnormal[] = "subnormal parts";

const Row kRows[] = {
    {kZeroSign, "asin", {0.0, 0.0}},
    {kZeroSign, "acos", {0.5, 0.0}},
    {kZeroSign, "atan", {-0.0, 0.5}},
    {kZeroSign, "log", {-0.0, 0.0}},
    {kZeroSign, "log10", {0.001, -0.0}},
    {kZeroSign, "sqrt", {-0.0, 0.0}},
    {kCut, "sqrt", {-4.0, -0.0}},
    {kCut, "acos", {2.0, 0.0}},
    {kCut, "asin", {2.0, 0.0}},
    {kCut, "atan", {0.0, 2.0}},
    {kInfinite, "exp", {-kInf, 2.8}},
    {kInfinite, "cosh", {kInf, 0.0}},
    {kInfinite, "tanh", {kInf, 0.0}},
    {kInfinite, "log", {kInf, kInf}},
    {kInfinite, "sqrt", {kInf, kInf}},
    {kInfinite, "asin", {kInf, 0.0}},
    {kInfinite, "acos", {kInf, 0.0}},
    {kInfinite, "atan", {kInf, 0.0}},
    {kNaNPart, "exp", {kNaN, -0.0}},
    {kNaNPart, "log", {kInf, kNaN}},
    {kNaNPart, "sqrt", {kNaN, kInf}},
    {kNaNPart, "tanh", {kNaN, 0.0}},
    {kNaNPart, "acos", {0.0, kNaN}},
    {kNaNPart, "atan", {kNaN, 0.0}},
    {kNaNPart, "a * b", {kInf, kNaN, 2.0, 0.0}},
    {kHuge, "log", {-1.632366720973235e+308, -1.54299446211448e+308}},
    {kHuge, "log10", {-1.632366720973235e+308, -1.54299446211448e+308}},
    {kHuge, "sqrt", {1.5e308, 1.5e308}},
    {kHuge, "atan", {1.5873698696131487e+308, -1.0780367422960641e+308}},
    {kHuge, "acos", {1e200, 1.0}},
    {kSubnormal, "sqrt", {-4.9963244206801218e-314, -8.4718424423690227e-319}},
    {kSubnormal, "log", {0x1p-1074, 0x1p-1074}},
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
        bench_pair c;
        if (!f || !c99(r.function, s, c)) {
            std::fprintf(stderr, "zu_accuracy: no function '%s' for the conventions table\n", r.function);
            return 1;
        }
        reset_reports();
        const DComplex v = f->zu(s);
        const long reports = reports_made();
        const std::complex<double> p = f->peer(s);
        const std::string call = f->form == Form::binary ? pair(s.a, s.b) + " * " + pair(s.c, s.d)
                                                         : std::string(r.function) + pair(s.a, s.b);
        if (same(v.re, c.re) && same(v.im, c.im)) {
            std::fprintf(stderr, "zu_accuracy: %s now agrees with C99; take the row out of the table\n",
                         call.c_str());
            rc = 1;
        }
        out << "| " << r.kind << " | `" << call << "` | `" << pair(v.re, v.im) << "`"
            << (reports ? " (" + std::to_string(reports) + (reports == 1 ? " report)" : " reports)") : "")
            << " | `" << pair(c.re, c.im) << "` | `" << pair(p.real(), p.imag()) << "` |\n";
    }
    return rc;
}

}  // namespace acc
