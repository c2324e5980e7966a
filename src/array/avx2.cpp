// The AVX2 kernels: four complex values per block. Compiled for the baseline
// processor like the rest of the library; only the functions below carry the
// AVX2 target, and the dispatcher calls them only where the processor and the
// operating system support AVX2 (dispatch.cpp).
#include "array/kernels.h"

#if defined(ZU_ARRAY_AVX)

#include <immintrin.h>

#define ZU_ARRAY_TARGET __attribute__((target("avx2")))

namespace {

struct Avx2 {
    using V = __m256d;
    using M = __m256d;
    static constexpr unsigned kWidth = 4;

    // The in-lane unpacks take [r0 i0 r1 i1], [r2 i2 r3 i3] to
    // [r0 r2 r1 r3], [i0 i2 i1 i3] and back: lane j holds element
    // (j >> 1) | (j & 1) << 1.
    ZU_ARRAY_TARGET static unsigned element(unsigned lane) { return (lane >> 1) | ((lane & 1) << 1); }
    ZU_ARRAY_TARGET static void split(const double* p, V& re, V& im) {
        const V x = load(p), y = load(p + 4);
        re = _mm256_unpacklo_pd(x, y);
        im = _mm256_unpackhi_pd(x, y);
    }
    ZU_ARRAY_TARGET static void join(double* p, V re, V im) {
        _mm256_storeu_pd(p, _mm256_unpacklo_pd(re, im));
        _mm256_storeu_pd(p + 4, _mm256_unpackhi_pd(re, im));
    }
    ZU_ARRAY_TARGET static void store_elements(double* p, V v) {
        _mm256_storeu_pd(p, _mm256_permute4x64_pd(v, 0xD8));  // lanes 0 2 1 3
    }
    // Each vector loaded once: left to itself, the compiler folds the load
    // into both instructions that use it.
    ZU_ARRAY_TARGET static V load(const double* p) {
        V v = _mm256_loadu_pd(p);
        __asm__("" : "+x"(v));
        return v;
    }
    ZU_ARRAY_TARGET static void store(double* p, V v) { _mm256_storeu_pd(p, v); }

    ZU_ARRAY_TARGET static V set1(double v) { return _mm256_set1_pd(v); }
    ZU_ARRAY_TARGET static V add(V a, V b) { return _mm256_add_pd(a, b); }
    ZU_ARRAY_TARGET static V sub(V a, V b) { return _mm256_sub_pd(a, b); }
    ZU_ARRAY_TARGET static V mul(V a, V b) { return _mm256_mul_pd(a, b); }
    ZU_ARRAY_TARGET static V div(V a, V b) { return _mm256_div_pd(a, b); }
    ZU_ARRAY_TARGET static V sqrt(V a) { return _mm256_sqrt_pd(a); }
    ZU_ARRAY_TARGET static V abs(V a) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), a); }
    ZU_ARRAY_TARGET static V neg(V a) { return _mm256_xor_pd(_mm256_set1_pd(-0.0), a); }
    ZU_ARRAY_TARGET static V flip_odd(V a) { return _mm256_xor_pd(_mm256_set_pd(-0.0, 0.0, -0.0, 0.0), a); }

    ZU_ARRAY_TARGET static V opaque(V a) {
        __asm__("" : "+x"(a));
        return a;
    }
    ZU_ARRAY_TARGET static M nonzero(V a) { return _mm256_cmp_pd(a, _mm256_setzero_pd(), _CMP_NEQ_OQ); }
    ZU_ARRAY_TARGET static M gt(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_GT_OQ); }
    ZU_ARRAY_TARGET static M ge(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_GE_OQ); }
    ZU_ARRAY_TARGET static M lt(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
    ZU_ARRAY_TARGET static M eq(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_EQ_OQ); }
    ZU_ARRAY_TARGET static M is_nan(V a) { return _mm256_cmp_pd(a, a, _CMP_UNORD_Q); }
    ZU_ARRAY_TARGET static M not_nan(V a) { return _mm256_cmp_pd(a, a, _CMP_ORD_Q); }
    ZU_ARRAY_TARGET static M both(M a, M b) { return _mm256_and_pd(a, b); }
    ZU_ARRAY_TARGET static M either(M a, M b) { return _mm256_or_pd(a, b); }
    ZU_ARRAY_TARGET static M but_not(M a, M b) { return _mm256_andnot_pd(b, a); }
    ZU_ARRAY_TARGET static V select(M m, V t, V f) { return _mm256_blendv_pd(f, t, m); }
    ZU_ARRAY_TARGET static unsigned bits(M m) { return static_cast<unsigned>(_mm256_movemask_pd(m)); }
};

}  // namespace

#include "array/vector_steps.h"

const zu::detail::array::Kernels zu::detail::array::kAvx2 = make_kernels<Avx2>("avx2");

#endif  // ZU_ARRAY_AVX
