// Selected inputs that show, one at a time, where the library's formulas
// give results far from the mathematical value. ACCURACY.md refers to them
// by their ids.
#include "report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace acc {

namespace {

struct Example {
    const char* id;
    const char* function;
    Sample operands;
};

Sample z(double a, double b) {
    Sample s;
    s.a = a;
    s.b = b;
    return s;
}

Sample zw(double a, double b, double c, double d) {
    Sample s;
    s.a = a;
    s.b = b;
    s.c = c;
    s.d = d;
    return s;
}

Sample zn(double a, double b, long n) {
    Sample s;
    s.a = a;
    s.b = b;
    s.n = n;
    return s;
}

Sample zy(double a, double b, double y) {
    Sample s;
    s.a = a;
    s.b = b;
    s.c = y;
    return s;
}

const Example kExamples[] = {
    // Overflow cut-offs of exp, cosh and sinh (and so of cos, sin, tan, tanh).
    {"E1", "exp", z(710.0, 0.0)},
    {"E2", "exp", z(709.9, 1.5)},
    {"E3", "cosh", z(710.3, 0.0)},
    {"E4", "sinh", z(-710.3, 0.5)},
    {"E5", "cosh", z(800.0, 1e-300)},
    {"E6", "cos", z(0.0, 711.0)},
    {"E7", "tan", z(1.0, 711.0)},
    {"E8", "tanh", z(711.0, 1.0)},
    // tan and tanh as quotients.
    {"Q1", "tanh", z(20.0, 1.0)},
    {"Q2", "tan", z(1.0, 20.0)},
    {"Q3", "tan", z(0.5, 3.0)},
    // sqrt and the powers in polar form.
    {"S1", "sqrt", z(1.0, 1e-20)},
    {"S2", "sqrt", z(-1.0, 1e-20)},
    {"S3", "sqrt", z(-1.0, 1e-10)},
    {"S4", "sqrt", z(-4.0, -0.0)},
    {"S5", "sqrt", z(1.5e308, 1.5e308)},
    {"S6", "pow(z, y)", zy(1.0, 1e-20, 0.5)},
    {"S7", "pow(z, int)", zn(-2.0, 0.0, 11)},
    {"S8", "pow(z, int)", zn(0.6, 0.8, 1000000)},
    {"S9", "hypot(a, b)", zw(1e200, 0.0, 1e200, 0.0)},
    // log on abs and arg.
    {"L1", "log", z(0.6, 0.8000000001)},
    {"L2", "log", z(1.0, 1e-9)},
    {"L3", "log", z(0x1p-1074, 0x1p-1074)},
    // acos and asin.
    {"A1", "acos", z(1e10, 0.0)},
    {"A2", "acos", z(1e5, 0.0)},
    {"A3", "acos", z(1e5, -0.0)},
    {"A4", "acos", z(1e200, 1.0)},
    {"A5", "asin", z(-1e10, 0.0)},
    {"A6", "asin", z(0.0, 1e8)},
    {"A7", "asin", z(0.3, 0.0)},
    {"A8", "acos", z(1.0 - 0x1p-40, 0.0)},
    {"A9", "acos", z(3.7, -0.001)},
    {"A10", "asin", z(1e-20, 1e-20)},
    // atan.
    {"T1", "atan", z(1.0, 2.0)},
    {"T2", "atan", z(-1.0, -2.0)},
    {"T3", "atan", z(0.0, 2.0)},
    {"T4", "atan", z(1e-20, 0.0)},
    {"T5", "atan", z(1e-5, 1e-5)},
    {"T6", "atan", z(1e10, 1e10)},
    // Products and quotients.
    {"M1", "a * b", zw(1e200, 1e200, 1e200, 1e200)},
    {"M2", "a * b", zw(1.1, 1.3, 1.3, 1.1000000000000003)},
    {"D1", "a / b", zw(1e-300, 1e300, 1e200, 1e-200)},
};

std::string value_pair(double re, double im, bool real_result) {
    if (real_result) return shortest(re);
    return "(" + shortest(re) + ", " + shortest(im) + ")";
}

std::string call_text(const Function& f, const Sample& s) {
    switch (f.form) {
    case Form::unary:
        return f.name + "(" + shortest(s.a) + ", " + shortest(s.b) + ")";
    case Form::binary:
        if (f.name == "a * b" || f.name == "a / b")
            return "(" + shortest(s.a) + ", " + shortest(s.b) + ") " + f.name.substr(2, 1) + " (" + shortest(s.c) +
                   ", " + shortest(s.d) + ")";
        return f.name.substr(0, f.name.find('(')) + "((" + shortest(s.a) + ", " + shortest(s.b) + "), (" +
               shortest(s.c) + ", " + shortest(s.d) + "))";
    case Form::pow_int:
        return "pow((" + shortest(s.a) + ", " + shortest(s.b) + "), " + std::to_string(s.n) + ")";
    case Form::pow_real:
        return "pow((" + shortest(s.a) + ", " + shortest(s.b) + "), " + shortest(s.c) + ")";
    case Form::real_base:
        return "pow(" + shortest(s.a) + ", (" + shortest(s.c) + ", " + shortest(s.d) + "))";
    }
    return "";
}

std::string error_text(const Score& s, bool real_result) {
    std::string out;
    for (int p = 0; p < (real_result ? 1 : 2); ++p) {
        if (p) out += " / ";
        switch (s.part[p].outcome) {
        case Outcome::scored:
            out += fmt_ulps(s.part[p].ulps);
            break;
        case Outcome::agree:
            out += "same";
            break;
        case Outcome::lib_nonfinite:
            out += "non-finite";
            break;
        case Outcome::ref_nonfinite:
            out += "finite";
            break;
        }
    }
    return out;
}

}  // namespace

int run_examples(const std::vector<Function>& catalogue, const Options& opt) {
    std::ofstream out(opt.examples_file);
    if (!out) {
        std::fprintf(stderr, "zu_accuracy: cannot write %s\n", opt.examples_file.c_str());
        return 1;
    }
    out << "| id | call | library | reports | correctly rounded (MPC) | std::complex | library error, ulps re / im "
           "| library rel |\n";
    out << "|---|---|---|---|---|---|---|---|\n";
    Reference ref;
    Scorer scorer;
    for (const Example& e : kExamples) {
        const Function* f = find_function(catalogue, e.function);
        if (!f) {
            std::fprintf(stderr, "zu_accuracy: example %s names no function\n", e.id);
            return 1;
        }
        const bool rr = f->real_result;
        ref.compute(*f, e.operands);
        reset_reports();
        const DComplex v = f->zu(e.operands);
        const long reports = reports_made();
        const std::complex<double> c = f->peer(e.operands);
        const Score s = scorer.score(ref, v.re, v.im, rr);
        out << "| " << e.id << " | `" << call_text(*f, e.operands) << "` | `" << value_pair(v.re, v.im, rr) << "` | "
            << reports << " | `" << value_pair(ref.rounded(0), ref.rounded(1), rr) << "` | `"
            << value_pair(c.real(), c.imag(), rr) << "` | " << error_text(s, rr) << " | "
            << (s.rel_scored ? fmt_rel(s.rel) : "–") << " |\n";
    }
    return 0;
}

}  // namespace acc
