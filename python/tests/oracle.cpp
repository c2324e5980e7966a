// The tests' reference for the ufuncs: the library's C++ functions called
// through their own signatures, one element at a time, in a program linked
// to the library as any C++ program is.
//
//     zu_oracle FUNCTION N  < operands  > results  2> reports
//
// stdin holds the N first operands, then (for two-operand functions) the N
// second operands, each as the machine's bytes of its C++ type; stdout gets
// the N results the same way, stderr one line per report the program's
// DComplex_error received: element index, type, name, argument and retval
// (hex floats).
#include "zu_complex.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

long g_element = 0;

template <class T>
T read_at(const std::vector<char>& in, std::size_t offset) {
    T v;
    std::memcpy(&v, in.data() + offset, sizeof v);
    return v;
}

template <class T>
void write(const T& v) {
    std::fwrite(&v, sizeof v, 1, stdout);
}

template <class A, class R, class F>
int run1(F f, std::size_t n, const std::vector<char>& in) {
    if (in.size() != n * sizeof(A)) return 3;
    for (std::size_t i = 0; i < n; ++i, ++g_element) write<R>(f(read_at<A>(in, i * sizeof(A))));
    return 0;
}

template <class A, class B, class R, class F>
int run2(F f, std::size_t n, const std::vector<char>& in) {
    if (in.size() != n * (sizeof(A) + sizeof(B))) return 3;
    for (std::size_t i = 0; i < n; ++i, ++g_element) {
        write<R>(f(read_at<A>(in, i * sizeof(A)), read_at<B>(in, n * sizeof(A) + i * sizeof(B))));
    }
    return 0;
}

}  // namespace

int DComplex_error(c_exception& e) {
    std::fprintf(stderr, "%ld %d %s %a %a %a %a\n", g_element, e.type, e.name, e.arg1.re, e.arg1.im, e.retval.re,
                 e.retval.im);
    return 0;
}

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::string f = argv[1];
    const std::size_t n = std::strtoull(argv[2], nullptr, 10);
    std::vector<char> in;
    char chunk[65536];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0;) in.insert(in.end(), chunk, chunk + got);

    using C = DComplex;
#define UNARY(name, R, expression) \
    if (f == name) return run1<C, R>([](const C& z) { return expression; }, n, in);
#define BINARY(name, A, B, R, expression) \
    if (f == name) return run2<A, B, R>([](const A& a, const B& b) { return expression; }, n, in);

    UNARY("exp", C, exp(z))
    UNARY("log", C, log(z))
    UNARY("log10", C, log10(z))
    UNARY("sqrt", C, sqrt(z))
    UNARY("sin", C, sin(z))
    UNARY("cos", C, cos(z))
    UNARY("tan", C, tan(z))
    UNARY("sinh", C, sinh(z))
    UNARY("cosh", C, cosh(z))
    UNARY("tanh", C, tanh(z))
    UNARY("asin", C, asin(z))
    UNARY("acos", C, acos(z))
    UNARY("atan", C, atan(z))
    UNARY("conj", C, conj(z))
    UNARY("negative", C, -z)
    UNARY("ceil", C, ceil(z))
    UNARY("floor", C, floor(z))
    UNARY("round", C, round(z))
    UNARY("abs", double, abs(z))
    UNARY("norm", double, norm(z))
    UNARY("arg", double, arg(z))
    UNARY("real", double, real(z))
    UNARY("imag", double, imag(z))
    BINARY("polar", double, double, C, polar(a, b))
    BINARY("add", C, C, C, a + b)
    BINARY("add(double,C)", double, C, C, a + b)
    BINARY("add(C,double)", C, double, C, a + b)
    BINARY("subtract", C, C, C, a - b)
    BINARY("subtract(double,C)", double, C, C, a - b)
    BINARY("subtract(C,double)", C, double, C, a - b)
    BINARY("multiply", C, C, C, a * b)
    BINARY("divide", C, C, C, a / b)
    BINARY("hypot", C, C, C, hypot(a, b))
    BINARY("equal", C, C, int, a == b)
    BINARY("not_equal", C, C, int, a != b)
    BINARY("pow(C,int)", C, std::int32_t, C, pow(a, static_cast<int>(b)))
    BINARY("pow(C,double)", C, double, C, pow(a, b))
    BINARY("pow(double,C)", double, C, C, pow(a, b))
    BINARY("pow", C, C, C, pow(a, b))
    return 2;
}
