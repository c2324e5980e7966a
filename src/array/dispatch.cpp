// Chooses the array kernels once, on the first call of an array function:
// the widest instruction set this build has kernels for and this processor
// (and its operating system) supports, unless ZU_COMPLEX_ARRAY_TARGET names
// a narrower one. Every later call costs one atomic load.
#include "array/kernels.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace zu {
namespace detail {
namespace array {
namespace {

struct Candidate {
    const Kernels* kernels;
    bool usable;
};

const Kernels* choose() noexcept {
#if defined(ZU_ARRAY_AVX)
    // GCC's and Clang's feature tests include the operating system's support
    // for the wider registers (the XCR0 bits), not just the CPUID flags.
    __builtin_cpu_init();
    const bool avx512 = __builtin_cpu_supports("avx512f");
    const bool avx2 = __builtin_cpu_supports("avx2");
#endif
    // Widest first; the plain loop last, always usable.
    const Candidate candidates[] = {
#if defined(ZU_ARRAY_AVX)
        {&kAvx512, avx512},
        {&kAvx2, avx2},
#endif
#if defined(ZU_ARRAY_SSE2)
        {&kSse2, true},
#endif
#if defined(ZU_ARRAY_NEON)
        {&kNeon, true},
#endif
        {&kScalar, true},
    };
    const std::size_t count = sizeof candidates / sizeof candidates[0];

    // A forced target skips the wider ones; a name this build has no kernels
    // for forces nothing.
    std::size_t first = 0;
    if (const char* forced = std::getenv("ZU_COMPLEX_ARRAY_TARGET")) {
        for (std::size_t i = 0; i < count; ++i) {
            if (std::strcmp(candidates[i].kernels->name, forced) == 0) first = i;
        }
    }
    for (std::size_t i = first; i < count; ++i) {
        if (candidates[i].usable) return candidates[i].kernels;
    }
    return &kScalar;
}

std::atomic<const Kernels*> g_chosen{nullptr};

}  // namespace

// Threads that race on the first call choose the same table.
const Kernels& kernels() noexcept {
    const Kernels* chosen = g_chosen.load(std::memory_order_acquire);
    if (chosen == nullptr) {
        chosen = choose();
        g_chosen.store(chosen, std::memory_order_release);
    }
    return *chosen;
}

}  // namespace array
}  // namespace detail
}  // namespace zu
