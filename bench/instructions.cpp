// zu_complex_instructions: one operation of the library over 4096 operands,
// 25 times, so that bench/instructions.sh can count the instructions per
// call under callgrind: a figure that, unlike a time, does not move with the
// load on the machine. Operands as in the benchmark: both parts uniform in
// [-4, 4], real exponents uniform in [-3, 3]; in the special set about 20 %
// of the complex operands have one or both parts +0, -0, +inf, -inf or NaN.
//
//     zu_complex_instructions OPERATION typical|special
//
// The operation "none" runs the same loop without calling the library; the
// script subtracts it.
#include "zu_complex.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kOperands = 4096;
constexpr int kRounds = 25;

std::uint64_t fold(const DComplex& z) {
    std::uint64_t re, im;
    std::memcpy(&re, &z.re, sizeof re);
    std::memcpy(&im, &z.im, sizeof im);
    return re ^ (im << 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OPERATION typical|special\n", argv[0]);
        return 2;
    }
    const std::string op = argv[1];
    const bool special = std::strcmp(argv[2], "special") == 0;

    std::mt19937_64 g(0x7a75c0de0003ULL);
    std::uniform_real_distribution<double> part(-4.0, 4.0), chance(0.0, 1.0), exponent(-3.0, 3.0);
    const double inf = std::numeric_limits<double>::infinity();
    const double specials[5] = {0.0, -0.0, inf, -inf, std::numeric_limits<double>::quiet_NaN()};
    std::vector<DComplex> a(kOperands), b(kOperands);
    std::vector<double> y(kOperands);
    for (int i = 0; i < kOperands; ++i) {
        for (DComplex* z : {&a[i], &b[i]}) {
            z->re = part(g);
            z->im = part(g);
            if (special && chance(g) < 0.2) {
                const auto which = g() % 3;
                if (which != 1) z->re = specials[g() % 5];
                if (which != 0) z->im = specials[g() % 5];
            }
        }
        y[i] = exponent(g);
    }

    std::uint64_t acc = 0;
    auto run = [&](auto f) {
        for (int round = 0; round < kRounds; ++round) {
            for (int i = 0; i < kOperands; ++i) acc ^= fold(f(i));
        }
    };
    if (op == "none") run([&](int i) { return a[i]; });
    else if (op == "mul") run([&](int i) { return a[i] * b[i]; });
    else if (op == "pair_mul") run([&](int i) {
        double r[2];
        const double pa[2] = {a[i].re, a[i].im}, pb[2] = {b[i].re, b[i].im};
        Vel_ComplexMultiply(r, pa, pb);
        return DComplex(r[0], r[1]);
    });
    else if (op == "div") run([&](int i) { return a[i] / b[i]; });
    else if (op == "abs") run([&](int i) { return DComplex(abs(a[i])); });
    else if (op == "exp") run([&](int i) { return exp(a[i]); });
    else if (op == "log") run([&](int i) { return log(a[i]); });
    else if (op == "sqrt") run([&](int i) { return sqrt(a[i]); });
    else if (op == "pow_z_double") run([&](int i) { return pow(a[i], y[i]); });
    else if (op == "pow_z_w") run([&](int i) { return pow(a[i], b[i]); });
    else if (op == "tan") run([&](int i) { return tan(a[i]); });
    else if (op == "asin") run([&](int i) { return asin(a[i]); });
    else if (op == "acos") run([&](int i) { return acos(a[i]); });
    else if (op == "atan") run([&](int i) { return atan(a[i]); });
    else if (op == "floor") run([&](int i) { return floor(a[i]); });
    else if (op == "round") run([&](int i) { return round(a[i]); });
    else {
        std::fprintf(stderr, "unknown operation %s\n", op.c_str());
        return 2;
    }
    std::printf("%llx\n", static_cast<unsigned long long>(acc));
    return 0;
}
