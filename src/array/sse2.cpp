// The SSE2 kernels: two complex values per block, as two vectors of parts.
// SSE2 is part of every x86-64 processor and of the 32-bit x86 builds (their
// arithmetic is SSE2), so this file needs no target attribute.
#include "array/kernels.h"

#if defined(ZU_ARRAY_SSE2)

#include <emmintrin.h>

#define ZU_ARRAY_TARGET

namespace {

struct Sse2 {
    using V = __m128d;
    using M = __m128d;
    static constexpr unsigned kWidth = 2;

    // [r0 i0], [r1 i1] <-> [r0 r1], [i0 i1]: lanes in element order.
    static unsigned element(unsigned lane) { return lane; }
    static void split(const double* p, V& re, V& im) {
        const V x = _mm_loadu_pd(p), y = _mm_loadu_pd(p + 2);
        re = _mm_unpacklo_pd(x, y);
        im = _mm_unpackhi_pd(x, y);
    }
    static void join(double* p, V re, V im) {
        _mm_storeu_pd(p, _mm_unpacklo_pd(re, im));
        _mm_storeu_pd(p + 2, _mm_unpackhi_pd(re, im));
    }
    static void store_elements(double* p, V v) { _mm_storeu_pd(p, v); }
    static V load(const double* p) { return _mm_loadu_pd(p); }
    static void store(double* p, V v) { _mm_storeu_pd(p, v); }

    static V set1(double v) { return _mm_set1_pd(v); }
    static V add(V a, V b) { return _mm_add_pd(a, b); }
    static V sub(V a, V b) { return _mm_sub_pd(a, b); }
    static V mul(V a, V b) { return _mm_mul_pd(a, b); }
    static V div(V a, V b) { return _mm_div_pd(a, b); }
    static V sqrt(V a) { return _mm_sqrt_pd(a); }
    static V abs(V a) { return _mm_andnot_pd(_mm_set1_pd(-0.0), a); }
    static V neg(V a) { return _mm_xor_pd(_mm_set1_pd(-0.0), a); }
    static V flip_odd(V a) { return _mm_xor_pd(_mm_set_pd(-0.0, 0.0), a); }

    static V opaque(V a) {
        __asm__("" : "+x"(a));
        return a;
    }
    static M nonzero(V a) { return _mm_cmpgt_pd(abs(a), _mm_setzero_pd()); }
    static M gt(V a, V b) { return _mm_cmpgt_pd(a, b); }
    static M ge(V a, V b) { return _mm_cmpge_pd(a, b); }
    static M lt(V a, V b) { return _mm_cmplt_pd(a, b); }
    static M eq(V a, V b) { return _mm_cmpeq_pd(a, b); }
    static M is_nan(V a) { return _mm_cmpunord_pd(a, a); }
    static M not_nan(V a) { return _mm_cmpord_pd(a, a); }
    static M both(M a, M b) { return _mm_and_pd(a, b); }
    static M either(M a, M b) { return _mm_or_pd(a, b); }
    static M but_not(M a, M b) { return _mm_andnot_pd(b, a); }
    static V select(M m, V t, V f) { return _mm_or_pd(_mm_and_pd(m, t), _mm_andnot_pd(m, f)); }
    static unsigned bits(M m) { return static_cast<unsigned>(_mm_movemask_pd(m)); }
};

}  // namespace

#include "array/vector_steps.h"

const zu::detail::array::Kernels zu::detail::array::kSse2 = make_kernels<Sse2>("sse2");

#endif  // ZU_ARRAY_SSE2
