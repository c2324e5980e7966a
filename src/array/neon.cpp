// The NEON kernels: two complex values per block. NEON is part of every
// aarch64 processor, so this file needs no target attribute and no
// detection.
#include "array/kernels.h"

#if defined(ZU_ARRAY_NEON)

#include <arm_neon.h>

#define ZU_ARRAY_TARGET

namespace {

struct Neon {
    using V = float64x2_t;
    using M = uint64x2_t;
    static constexpr unsigned kWidth = 2;

    // The structure loads and stores split and join the pairs in element
    // order.
    static unsigned element(unsigned lane) { return lane; }
    static void split(const double* p, V& re, V& im) {
        const float64x2x2_t parts = vld2q_f64(p);
        re = parts.val[0];
        im = parts.val[1];
    }
    static void join(double* p, V re, V im) { vst2q_f64(p, float64x2x2_t{{re, im}}); }
    static void store_elements(double* p, V v) { vst1q_f64(p, v); }
    static V load(const double* p) { return vld1q_f64(p); }
    static void store(double* p, V v) { vst1q_f64(p, v); }

    static V set1(double v) { return vdupq_n_f64(v); }
    static V add(V a, V b) { return vaddq_f64(a, b); }
    static V sub(V a, V b) { return vsubq_f64(a, b); }
    static V mul(V a, V b) { return vmulq_f64(a, b); }
    static V div(V a, V b) { return vdivq_f64(a, b); }
    static V sqrt(V a) { return vsqrtq_f64(a); }
    static V abs(V a) { return vabsq_f64(a); }
    static V neg(V a) { return vnegq_f64(a); }
    static V flip_odd(V a) {
        const uint64x2_t odd_sign = vcombine_u64(vcreate_u64(0), vcreate_u64(0x8000000000000000ULL));
        return vreinterpretq_f64_u64(veorq_u64(vreinterpretq_u64_f64(a), odd_sign));
    }

    static V opaque(V a) {
        __asm__("" : "+w"(a));
        return a;
    }
    static M nonzero(V a) { return vcagtq_f64(a, vdupq_n_f64(0.0)); }  // |a| > |0|
    static M gt(V a, V b) { return vcgtq_f64(a, b); }
    static M ge(V a, V b) { return vcgeq_f64(a, b); }
    static M lt(V a, V b) { return vcltq_f64(a, b); }
    static M eq(V a, V b) { return vceqq_f64(a, b); }
    static M not_nan(V a) { return vceqq_f64(a, a); }
    static M is_nan(V a) { return veorq_u64(vceqq_f64(a, a), vdupq_n_u64(~0ULL)); }
    static M both(M a, M b) { return vandq_u64(a, b); }
    static M either(M a, M b) { return vorrq_u64(a, b); }
    static M but_not(M a, M b) { return vbicq_u64(a, b); }
    static V select(M m, V t, V f) { return vbslq_f64(m, t, f); }
    static unsigned bits(M m) {
        return static_cast<unsigned>((vgetq_lane_u64(m, 0) & 1) | ((vgetq_lane_u64(m, 1) & 1) << 1));
    }
};

}  // namespace

#include "array/vector_steps.h"

const zu::detail::array::Kernels zu::detail::array::kNeon = make_kernels<Neon>("neon");

#endif  // ZU_ARRAY_NEON
