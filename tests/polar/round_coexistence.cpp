// Linking libzu_complex (first on the link line) must not change what the C
// library's round() returns to the rest of the program, while the library's
// own rounding stays reachable as Vel_Round. Built with -fno-builtin so the
// calls below really go through the `round` symbol the linker picked.
#include "zu_complex.h"

#include <dlfcn.h>

#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

std::uint64_t bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

int failures = 0;

void expect(const char* what, double expected, double actual) {
    if (bits(expected) == bits(actual)) return;
    ++failures;
    std::printf("FAIL %s: got %.17g [0x%016" PRIx64 "], expected %.17g [0x%016" PRIx64 "]\n", what, actual,
                bits(actual), expected, bits(expected));
}

}  // namespace

int main() {
    volatile double negative_zero = -0.0;
    volatile double below_half = 0.49999999999999994;
    volatile double odd_integer = 4503599627370497.0;  // 2^52 + 1

    // The C library's answers: round(-0.0) keeps its sign, and neither of the
    // other two moves.
    expect("round(-0.0)", -0.0, round(negative_zero));
    expect("round(0.49999999999999994)", 0.0, round(below_half));
    expect("round(2^52 + 1)", 4503599627370497.0, round(odd_integer));

    // The library's own rounding, under its own name.
    expect("Vel_Round(-0.0)", 0.0, Vel_Round(negative_zero));
    expect("Vel_Round(0.49999999999999994)", 0.0, Vel_Round(below_half));
    expect("Vel_Round(-2.5)", -3.0, Vel_Round(-2.5));

    // And the symbol the program uses is not the library's.
    Dl_info info{};
    double (*c_round)(double) = &round;
    void* address = nullptr;
    std::memcpy(&address, &c_round, sizeof address);
    if (dladdr(address, &info) != 0 && info.dli_fname != nullptr && std::strstr(info.dli_fname, "zu_complex")) {
        ++failures;
        std::printf("FAIL round resolves into %s\n", info.dli_fname);
    }

    std::printf("%s\n", failures == 0 ? "round coexistence: ok" : "round coexistence: FAILED");
    return failures == 0 ? 0 : 1;
}
