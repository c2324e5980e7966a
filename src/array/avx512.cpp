// The AVX-512 kernels: eight complex values per block, AVX-512F instructions
// only. Compiled for the baseline processor like the rest of the library;
// only the functions below carry the AVX-512F target, and the dispatcher
// calls them only where the processor and the operating system support it
// (dispatch.cpp).
#include "array/kernels.h"

#if defined(ZU_ARRAY_AVX)

#include <immintrin.h>

#include <cstdint>

#define ZU_ARRAY_TARGET __attribute__((target("avx512f")))

namespace {

struct Avx512 {
    using V = __m512d;
    using M = __mmask8;
    static constexpr unsigned kWidth = 8;

    // Two-source permutes gather the even and the odd doubles of
    // [r0 i0 ... r3 i3], [r4 i4 ... r7 i7]: lanes in element order.
    ZU_ARRAY_TARGET static unsigned element(unsigned lane) { return lane; }
    ZU_ARRAY_TARGET static void split(const double* p, V& re, V& im) {
        const V x = load(p), y = load(p + 8);
        re = _mm512_permutex2var_pd(x, _mm512_set_epi64(14, 12, 10, 8, 6, 4, 2, 0), y);
        im = _mm512_permutex2var_pd(x, _mm512_set_epi64(15, 13, 11, 9, 7, 5, 3, 1), y);
    }
    ZU_ARRAY_TARGET static void join(double* p, V re, V im) {
        _mm512_storeu_pd(p, _mm512_permutex2var_pd(re, _mm512_set_epi64(11, 3, 10, 2, 9, 1, 8, 0), im));
        _mm512_storeu_pd(p + 8, _mm512_permutex2var_pd(re, _mm512_set_epi64(15, 7, 14, 6, 13, 5, 12, 4), im));
    }
    ZU_ARRAY_TARGET static void store_elements(double* p, V v) { _mm512_storeu_pd(p, v); }
    // Each vector loaded once: left to itself, the compiler folds the load
    // into both instructions that use it, and the second load costs more
    // than the permute.
    ZU_ARRAY_TARGET static V load(const double* p) {
        V v = _mm512_loadu_pd(p);
        __asm__("" : "+v"(v));
        return v;
    }
    ZU_ARRAY_TARGET static void store(double* p, V v) { _mm512_storeu_pd(p, v); }

    ZU_ARRAY_TARGET static V set1(double v) { return _mm512_set1_pd(v); }
    ZU_ARRAY_TARGET static V add(V a, V b) { return _mm512_add_pd(a, b); }
    ZU_ARRAY_TARGET static V sub(V a, V b) { return _mm512_sub_pd(a, b); }
    ZU_ARRAY_TARGET static V mul(V a, V b) { return _mm512_mul_pd(a, b); }
    ZU_ARRAY_TARGET static V div(V a, V b) { return _mm512_div_pd(a, b); }
    // Sign bits by integer operations on the bit patterns, and the square
    // root in its zero-masked form: the all-lanes forms of these intrinsics
    // start from an undefined vector, which GCC 12 warns about.
    ZU_ARRAY_TARGET static V sqrt(V a) { return _mm512_maskz_sqrt_pd(0xFF, a); }
    ZU_ARRAY_TARGET static V with_bits(V a, __m512i keep, __m512i flip) {
        return _mm512_castsi512_pd((_mm512_castpd_si512(a) & keep) ^ flip);
    }
    ZU_ARRAY_TARGET static V abs(V a) { return with_bits(a, _mm512_set1_epi64(INT64_MAX), _mm512_set1_epi64(0)); }
    ZU_ARRAY_TARGET static V neg(V a) { return with_bits(a, _mm512_set1_epi64(-1), _mm512_set1_epi64(INT64_MIN)); }
    ZU_ARRAY_TARGET static V flip_odd(V a) {
        return with_bits(a, _mm512_set1_epi64(-1),
                         _mm512_set_epi64(INT64_MIN, 0, INT64_MIN, 0, INT64_MIN, 0, INT64_MIN, 0));
    }

    ZU_ARRAY_TARGET static V opaque(V a) {
        __asm__("" : "+v"(a));
        return a;
    }
    ZU_ARRAY_TARGET static M nonzero(V a) { return _mm512_cmp_pd_mask(a, _mm512_setzero_pd(), _CMP_NEQ_OQ); }
    ZU_ARRAY_TARGET static M gt(V a, V b) { return _mm512_cmp_pd_mask(a, b, _CMP_GT_OQ); }
    ZU_ARRAY_TARGET static M ge(V a, V b) { return _mm512_cmp_pd_mask(a, b, _CMP_GE_OQ); }
    ZU_ARRAY_TARGET static M lt(V a, V b) { return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ); }
    ZU_ARRAY_TARGET static M eq(V a, V b) { return _mm512_cmp_pd_mask(a, b, _CMP_EQ_OQ); }
    ZU_ARRAY_TARGET static M is_nan(V a) { return _mm512_cmp_pd_mask(a, a, _CMP_UNORD_Q); }
    ZU_ARRAY_TARGET static M not_nan(V a) { return _mm512_cmp_pd_mask(a, a, _CMP_ORD_Q); }
    ZU_ARRAY_TARGET static M both(M a, M b) { return static_cast<M>(a & b); }
    ZU_ARRAY_TARGET static M either(M a, M b) { return static_cast<M>(a | b); }
    ZU_ARRAY_TARGET static M but_not(M a, M b) { return static_cast<M>(a & ~b); }
    ZU_ARRAY_TARGET static V select(M m, V t, V f) { return _mm512_mask_blend_pd(m, f, t); }
    ZU_ARRAY_TARGET static unsigned bits(M m) { return m; }
};

}  // namespace

#include "array/vector_steps.h"

const zu::detail::array::Kernels zu::detail::array::kAvx512 = make_kernels<Avx512>("avx512");

#endif  // ZU_ARRAY_AVX
