// The special-value table: the library's NaN and +infinity as double and as
// float, filled once by VelInitFP and read only through the accessors.
#include "fp/internal.h"

#include <atomic>
#include <cfenv>

#if defined(__MINGW32__) && defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace {

// Back to the default environment: round to nearest, every exception masked.
void restore_default_environment() {
    std::fesetenv(FE_DFL_ENV);
#if defined(__MINGW32__) && defined(__SSE2__)
    // MinGW's fesetenv(FE_DFL_ENV) is an x87 `fninit` and leaves the SSE
    // control register alone, though that is where double arithmetic runs
    // (x86-64, and i686 with the SSE2 math the build requires). Put it in
    // its power-on state as glibc's FE_DFL_ENV does: exceptions masked,
    // round to nearest, no flush-to-zero or denormals-are-zero (0x1F80),
    // with the status flags cleared.
    _mm_setcsr(0x1F80);
#endif
}

// The float half of the table; the double half is declared in fp/internal.h
// for the library's inline readers.
std::atomic<float> g_nan_float{0.0f};
std::atomic<float> g_inf_float{0.0f};

// The operands of the divisions are read from variables at run time, so the
// processor itself makes the NaN (on x86 the sign bit is set). A quotient
// folded at compile time would be a NaN with the sign bit clear.
volatile double g_zero = 0.0;
volatile float g_zero_float = 0.0f;

}  // namespace

namespace zu {
namespace detail {

// The table is written by the first VelInitFP call (at load) and only read
// afterwards. Atomics make a racing first use well-defined: every writer
// stores the same four values and publishes them with the flag, last.
std::atomic<int> g_table_filled{0};
std::atomic<double> g_table_nan{0.0};
std::atomic<double> g_table_inf{0.0};

int fill_table() noexcept {
    if (g_table_filled.load(std::memory_order_acquire) != 0) return 1;

    // Back to the default environment (round to nearest, exceptions masked)
    // so the divisions deliver NaN and infinity instead of trapping. Only the
    // first call gets here: a caller who changes the rounding mode after
    // load keeps it across accessor calls.
    restore_default_environment();

    const double zero = g_zero;
    g_table_nan.store(zero / zero, std::memory_order_relaxed);
    g_table_inf.store(1.0 / zero, std::memory_order_relaxed);
    const float zero_float = g_zero_float;
    g_nan_float.store(zero_float / zero_float, std::memory_order_relaxed);
    g_inf_float.store(1 / zero_float, std::memory_order_relaxed);
    // The status flags the divisions raise are left set.

    g_table_filled.store(1, std::memory_order_release);
    return 1;
}

}  // namespace detail
}  // namespace zu

// Loading the library fills the table: this initialiser runs before any
// exported function can return a value. Nothing reads it.
extern const int zu_fp_loaded = VelInitFP();

extern "C" {

int VelInitFP(void) { return zu::detail::fill_table(); }

double Vel_NaN(void) { return zu::detail::nan(); }

double Vel_Inf(void) { return zu::detail::inf(); }

float Vel_NaN_Float(void) {
    zu::detail::fill_table();
    return g_nan_float.load(std::memory_order_relaxed);
}

float Vel_Inf_Float(void) {
    zu::detail::fill_table();
    return g_inf_float.load(std::memory_order_relaxed);
}

}  // extern "C"
