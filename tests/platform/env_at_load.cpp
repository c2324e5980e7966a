// Loading the library restores the loading thread's default floating-point
// environment once: round to nearest, exceptions masked, and on x86 the SSE
// control register in its default state (MinGW's fesetenv(FE_DFL_ENV) alone
// would leave it). The program is not linked with the library: it picks a
// rounding mode (and on x86 flush-to-zero), then loads the library
// (ZU_LIBRARY) and looks at the environment it is left with.
#include <cfenv>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif
#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace {

int failures = 0;

void expect(bool ok, const char* what) {
    if (ok) return;
    ++failures;
    std::printf("FAIL %s\n", what);
}

using Accessor = double (*)();

Accessor load(const char* name) {
#if defined(_WIN32)
    HMODULE library = LoadLibraryA(ZU_LIBRARY);
    FARPROC symbol = library != nullptr ? GetProcAddress(library, name) : nullptr;
    return reinterpret_cast<Accessor>(reinterpret_cast<void (*)()>(symbol));
#else
    void* library = dlopen(ZU_LIBRARY, RTLD_NOW);
    void* symbol = library != nullptr ? dlsym(library, name) : nullptr;
    Accessor accessor = nullptr;
    std::memcpy(&accessor, &symbol, sizeof accessor);
    return accessor;
#endif
}

}  // namespace

int main() {
    expect(std::fesetround(FE_UPWARD) == 0, "fesetround(FE_UPWARD)");
#if defined(__SSE2__)
    _mm_setcsr(_mm_getcsr() | 0x8040);  // flush-to-zero, denormals-are-zero
#endif

    const Accessor vel_inf = load("Vel_Inf");
    const Accessor vel_nan = load("Vel_NaN");
    if (vel_inf == nullptr || vel_nan == nullptr) {
        std::printf("FAIL cannot load %s\n", ZU_LIBRARY);
        return 1;
    }

    expect(std::fegetround() == FE_TONEAREST, "rounding mode back to nearest after load");
#if defined(__SSE2__)
    // Status flags (the low six bits) aside: all masked, nearest, no FTZ/DAZ.
    const unsigned csr = _mm_getcsr();
    std::printf("MXCSR after load: 0x%04X\n", csr);
    expect((csr & ~0x3Fu) == 0x1F80u, "SSE control register in its default state after load");
#endif
    // The divisions that filled the table leave their flags raised.
    expect(std::fetestexcept(FE_INVALID) != 0, "invalid flag raised by 0/0");
    expect(std::fetestexcept(FE_DIVBYZERO) != 0, "divide-by-zero flag raised by 1/0");

    const double inf = vel_inf();
    std::uint64_t inf_bits;
    std::memcpy(&inf_bits, &inf, sizeof inf_bits);
    expect(inf_bits == 0x7FF0000000000000u, "Vel_Inf is +infinity");
    expect(std::isnan(vel_nan()), "Vel_NaN is a NaN");

    std::printf("%s\n", failures == 0 ? "floating-point environment at load: ok" : "floating-point environment at load: FAILED");
    return failures == 0 ? 0 : 1;
}
