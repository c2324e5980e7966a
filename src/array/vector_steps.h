// The vector kernels' steps, written once for every instruction set. Each
// instruction set's file defines ZU_ARRAY_TARGET (its target attribute, or
// nothing) and a traits type T, then includes this file, which makes the
// kernel table. Everything here is internal to that file: the anonymous
// namespace keeps each instantiation, compiled for one instruction set, from
// standing in for another file's. No include guard on purpose.
//
// T provides, for a vector V of kWidth doubles and a lane mask M:
//   split(p, re, im)      load kWidth interleaved pairs as parts, lane j
//                         holding element element(j)
//   join(p, re, im)       the inverse: store the pairs in element order
//   store_elements(p, v)  store one double per element, in element order
//   load(p), store(p, v)  kWidth consecutive doubles, any alignment
//   set1, add, sub, mul, div, sqrt, abs, neg, flip_odd (negate lanes 1, 3, ...)
//   gt, ge, lt, eq, is_nan, not_nan, both (and), either (or), but_not (m and
//   not n), select(m, t, f)
//   nonzero(v)            neither zero nor NaN (|v| > 0)
//   opaque(v)             v, through an empty asm statement: the compiler
//                         cannot move an operation across it
//   bits(m)               lane j's flag as bit j
//
// Every element's result is the scalar steps' result. The fast paths cover
// exactly the elements for which the scalar function takes its general
// formula, with the same operations on the same operands in the same order
// (each a correctly rounded IEEE operation, so a lane gives the scalar bits
// in every rounding mode). The other elements take the earlier rungs in the
// lanes where that is as cheap (products, abs, norm, the NaN rung of
// quotients) or are recomputed by the scalar steps themselves (kernels.h):
// products whose rung multiplies a negated part, quotients by a divisor
// with a zero part, sums of two NaNs. The only NaN an
// operation in the lanes can make is the one IEEE arithmetic makes from
// operands that are not NaN, the same for a lane as for a scalar
// instruction; every other NaN is the table's.
#if !defined(ZU_ARRAY_TARGET)
#error "define ZU_ARRAY_TARGET before including array/vector_steps.h"
#endif

#include "array/kernels.h"
#include "fp/internal.h"

#include <cstddef>
#include <cstring>

namespace {

using zu::detail::array::Kernels;
using OneBinary = void (*)(double*, const double*, const double*) noexcept;

template <class T>
constexpr unsigned kAllLanes = (1u << T::kWidth) - 1;

// A block in which the scalar steps must compute some elements: the vector
// results go to a buffer, the scalar steps overwrite the elements of `lanes`
// there (reading operands the result has not yet overwritten), then the
// block is stored. b_step is 2 for an array b, 0 for one pair.
template <class T>
ZU_ARRAY_TARGET void patch(OneBinary one, double* r, const double* a, const double* b, std::size_t b_step,
                           unsigned lanes, typename T::V re, typename T::V im) {
    double block[2 * T::kWidth];
    T::join(block, re, im);
    for (; lanes != 0; lanes &= lanes - 1) {
        const std::size_t e = T::element(static_cast<unsigned>(__builtin_ctz(lanes)));
        one(block + 2 * e, a + 2 * e, b + b_step * e);
    }
    std::memcpy(r, block, sizeof block);
}

// Lanes with a NaN part in either operand.
template <class T>
ZU_ARRAY_TARGET auto any_nan(typename T::V ar, typename T::V ai, typename T::V br, typename T::V bi) {
    return T::either(T::either(T::is_nan(ar), T::is_nan(ai)), T::either(T::is_nan(br), T::is_nan(bi)));
}

// (x, y) where `holds`, (re, im) elsewhere.
template <class T, class M>
ZU_ARRAY_TARGET void lay_rung(M holds, typename T::V x, typename T::V y, typename T::V& re, typename T::V& im) {
    re = T::select(holds, x, re);
    im = T::select(holds, y, im);
}

// a * b by the rungs of the product's ladder in the lanes (core/arith.h):
// the candidate products are formed once and the rungs laid over the
// general formula from the last to the first, so the first rung that holds
// decides:
//   any NaN part              -> (NaN, NaN), the table's
//   a zero                    -> (ar br, ar bi)
//   b zero                    -> (ar br, ai br)
//   a real, b real            -> (ar br, +0)
//   a imaginary, b imaginary  -> ((-ai) bi, +0)
//   a imaginary, b real       -> (+0, ai br)
//   a real, b imaginary       -> (+0, ar bi)
//   a.im zero                 -> (ar br, ar bi)
//   b.im zero                 -> (ar br, ai br)
//   a.re zero                 -> ((-ai) bi, ai br)
//   b.re zero                 -> ((-ai) bi, ar bi)
// (-ai) bi, the product of the negated part, differs from the negated
// product -(ai bi) when the product is inexact under directed rounding, and
// a compiler may form either from the scalar source (aarch64 has one
// instruction for the negated product). Both are formed here, each kept
// whole by T::opaque; where they agree, either is the scalar result, and
// where they do not, the scalar steps themselves decide. Returns the lanes
// left to them.
template <class T>
ZU_ARRAY_TARGET inline __attribute__((always_inline)) unsigned product_ladder(typename T::V ar, typename T::V ai,
                                                                              typename T::V br, typename T::V bi,
                                                                              typename T::V& re_out,
                                                                              typename T::V& im_out) {
    using V = typename T::V;
    V re = re_out, im = im_out;  // in registers while the rungs are laid
    const V zero = T::set1(0.0);
    const V p = T::mul(ar, br);
    const V q_a = T::mul(ar, bi);
    const V q_b = T::mul(ai, br);
    const V n = T::mul(T::opaque(T::neg(ai)), bi);
    const auto n_agrees = T::eq(n, T::neg(T::opaque(T::mul(ai, bi))));  // never NaN where it is used
    const auto ar_zero = T::eq(ar, zero), ai_zero = T::eq(ai, zero);
    const auto br_zero = T::eq(br, zero), bi_zero = T::eq(bi, zero);
    // "Real": the imaginary part zero, the real part not (a NaN lane takes
    // the last rung whatever the others say).
    const auto a_real = T::but_not(ai_zero, ar_zero), a_imag = T::but_not(ar_zero, ai_zero);
    const auto b_real = T::but_not(bi_zero, br_zero), b_imag = T::but_not(br_zero, bi_zero);
    lay_rung<T>(br_zero, n, q_a, re, im);
    lay_rung<T>(ar_zero, n, q_b, re, im);
    auto scalar = T::either(br_zero, ar_zero);  // the rungs with n so far
    lay_rung<T>(bi_zero, p, q_b, re, im);
    lay_rung<T>(ai_zero, p, q_a, re, im);
    lay_rung<T>(T::both(a_real, b_imag), zero, q_a, re, im);
    lay_rung<T>(T::both(a_imag, b_real), zero, q_b, re, im);
    scalar = T::but_not(scalar, T::either(T::either(bi_zero, ai_zero), T::either(T::both(a_real, b_imag),
                                                                                     T::both(a_imag, b_real))));
    lay_rung<T>(T::both(a_imag, b_imag), n, zero, re, im);
    scalar = T::either(scalar, T::both(a_imag, b_imag));
    lay_rung<T>(T::both(a_real, b_real), p, zero, re, im);
    lay_rung<T>(T::both(br_zero, bi_zero), p, q_b, re, im);
    lay_rung<T>(T::both(ar_zero, ai_zero), p, q_a, re, im);
    const auto nan_part = any_nan<T>(ar, ai, br, bi);
    const V nan = T::set1(zu::detail::nan());
    lay_rung<T>(nan_part, nan, nan, re, im);
    scalar = T::but_not(scalar, T::either(T::either(T::both(a_real, b_real), nan_part),
                                          T::either(T::both(br_zero, bi_zero), T::both(ar_zero, ai_zero))));
    scalar = T::but_not(scalar, n_agrees);
    re_out = re;
    im_out = im;
    return T::bits(scalar);
}

// a * b: the general formula (ar br - ai bi, ar bi + ai br) where no part
// of either operand is zero or NaN, the ladder for a block with any other
// element. br and bi hold the factor of scale; an array b
// (kStepB == 2) is loaded instead.
template <class T, std::size_t kStepB>
ZU_ARRAY_TARGET void product_blocks(double* r, const double* a, const double* b, std::size_t n,
                                    typename T::V br, typename T::V bi) {
    using V = typename T::V;
    std::size_t k = 0;
    for (; k + T::kWidth <= n; k += T::kWidth) {
        V ar, ai;
        T::split(a + 2 * k, ar, ai);
        if (kStepB != 0) T::split(b + 2 * k, br, bi);
        const auto fast = T::both(T::both(T::nonzero(ar), T::nonzero(ai)), T::both(T::nonzero(br), T::nonzero(bi)));
        V re = T::sub(T::mul(ar, br), T::mul(ai, bi));
        V im = T::add(T::mul(ar, bi), T::mul(ai, br));
        if ((~T::bits(fast) & kAllLanes<T>) != 0) {
            const unsigned scalar = product_ladder<T>(ar, ai, br, bi, re, im);
            if (scalar != 0) {
                patch<T>(zu::detail::array::mul_one, r + 2 * k, a + 2 * k, b + kStepB * k, kStepB, scalar, re, im);
                continue;
            }
        }
        T::join(r + 2 * k, re, im);
    }
    for (; k < n; ++k) zu::detail::array::mul_one(r + 2 * k, a + 2 * k, b + kStepB * k);
}

template <class T>
ZU_ARRAY_TARGET void mul_kernel(double* r, const double* a, const double* b, std::size_t n) {
    const typename T::V loaded_per_block = T::set1(0.0);
    product_blocks<T, 2>(r, a, b, n, loaded_per_block, loaded_per_block);
}

// s is copied before anything is written, so it may lie in r.
template <class T>
ZU_ARRAY_TARGET void scale_kernel(double* r, const double* a, const double* s, std::size_t n) {
    const double pair[2] = {s[0], s[1]};
    product_blocks<T, 0>(r, a, pair, n, T::set1(pair[0]), T::set1(pair[1]));
}

// a / b by Smith's method where neither part of b is zero or NaN and a has
// no NaN part. Branch A (|bi| >= |br|): t = br / bi, d = (t t + 1) bi,
// p = ar, q = ai; branch B: t = (-bi) / br, d = (t t + 1) br, p = -ai,
// q = ar; then ((p t + q) / d, (q t - p) / d), as the scalar steps select.
template <class T>
ZU_ARRAY_TARGET void div_kernel(double* r, const double* a, const double* b, std::size_t n) {
    using V = typename T::V;
    const V one = T::set1(1.0);
    std::size_t k = 0;
    for (; k + T::kWidth <= n; k += T::kWidth) {
        V ar, ai, br, bi;
        T::split(a + 2 * k, ar, ai);
        T::split(b + 2 * k, br, bi);
        const V abs_br = T::abs(br);
        const V abs_bi = T::abs(bi);
        const auto fast = T::both(T::both(T::nonzero(br), T::nonzero(bi)), T::both(T::not_nan(ar), T::not_nan(ai)));
        const auto branch_a = T::ge(abs_bi, abs_br);
        const V larger = T::select(branch_a, bi, br);
        const V t = T::div(T::select(branch_a, br, T::neg(bi)), larger);
        const V d = T::mul(T::add(T::mul(t, t), one), larger);
        const V p = T::select(branch_a, ar, T::neg(ai));
        const V q = T::select(branch_a, ai, ar);
        const V re = T::div(T::add(T::mul(p, t), q), d);
        const V im = T::div(T::sub(T::mul(q, t), p), d);
        const unsigned slow = ~T::bits(fast) & kAllLanes<T>;
        if (slow == 0) {
            T::join(r + 2 * k, re, im);
        } else {
            // The NaN rung in the lanes, the zero divisors by the scalar steps.
            const auto nan_part = any_nan<T>(ar, ai, br, bi);
            const V nan = T::set1(zu::detail::nan());
            patch<T>(zu::detail::array::div_one, r + 2 * k, a + 2 * k, b + 2 * k, 2, slow & ~T::bits(nan_part),
                     T::select(nan_part, nan, re), T::select(nan_part, nan, im));
        }
    }
    for (; k < n; ++k) zu::detail::array::div_one(r + 2 * k, a + 2 * k, b + 2 * k);
}

// Sums and differences part by part. Where both operands of one part are
// NaN, which one comes out is the scalar instruction's choice: such a block
// goes through the scalar operators, element by element.
template <class T, bool kSubtract>
ZU_ARRAY_TARGET void sum_kernel(double* r, const double* a, const double* b, std::size_t n) {
    using V = typename T::V;
    const OneBinary one = kSubtract ? zu::detail::array::sub_one : zu::detail::array::add_one;
    std::size_t k = 0;
    for (; k + T::kWidth <= n; k += T::kWidth) {
        const double* pa = a + 2 * k;
        const double* pb = b + 2 * k;
        const V a0 = T::load(pa), a1 = T::load(pa + T::kWidth);
        const V b0 = T::load(pb), b1 = T::load(pb + T::kWidth);
        const auto nan_pairs = T::either(T::both(T::is_nan(a0), T::is_nan(b0)), T::both(T::is_nan(a1), T::is_nan(b1)));
        if (T::bits(nan_pairs) == 0) {
            const V s0 = kSubtract ? T::sub(a0, b0) : T::add(a0, b0);
            const V s1 = kSubtract ? T::sub(a1, b1) : T::add(a1, b1);
            T::store(r + 2 * k, s0);
            T::store(r + 2 * k + T::kWidth, s1);
        } else {
            for (std::size_t e = k; e < k + T::kWidth; ++e) one(r + 2 * e, a + 2 * e, b + 2 * e);
        }
    }
    for (; k < n; ++k) one(r + 2 * k, a + 2 * k, b + 2 * k);
}

// conj flips the sign bit of each imaginary part, NaN or not.
template <class T>
ZU_ARRAY_TARGET void conj_kernel(double* r, const double* a, std::size_t n) {
    std::size_t k = 0;
    for (; k + T::kWidth <= n; k += T::kWidth) {
        const typename T::V a0 = T::load(a + 2 * k), a1 = T::load(a + 2 * k + T::kWidth);
        T::store(r + 2 * k, T::flip_odd(a0));
        T::store(r + 2 * k + T::kWidth, T::flip_odd(a1));
    }
    for (; k < n; ++k) zu::detail::array::conj_one(r + 2 * k, a + 2 * k);
}

// abs, every rung in the lanes: the general result x sqrt(1 + t t) (x the
// larger magnitude, t = smaller / x) is computed for all, then the earlier
// rungs are laid over it from the last to the first, so the first rung that
// holds decides:
//   a NaN part       -> the table's NaN
//   an infinite part -> +inf
//   im == 0          -> re, negated if below zero (-0.0 stays -0.0)
//   re == 0          -> |im|
template <class T>
ZU_ARRAY_TARGET void abs_kernel(double* r, const double* a, std::size_t n) {
    using V = typename T::V;
    const V zero = T::set1(0.0);
    const V one = T::set1(1.0);
    const V largest = T::set1(zu::detail::kOverflowThreshold);
    const V nan = T::set1(zu::detail::nan());
    const V inf = T::set1(zu::detail::inf());
    std::size_t k = 0;
    for (; k + T::kWidth <= n; k += T::kWidth) {
        V re, im;
        T::split(a + 2 * k, re, im);
        const V x = T::abs(re);
        const V y = T::abs(im);
        const auto exchange = T::lt(x, y);
        const V larger = T::select(exchange, y, x);
        const V t = T::div(T::select(exchange, x, y), larger);
        V v = T::mul(larger, T::sqrt(T::add(one, T::mul(t, t))));
        v = T::select(T::eq(x, zero), y, v);
        v = T::select(T::eq(im, zero), T::select(T::lt(re, zero), T::neg(re), re), v);
        v = T::select(T::either(T::gt(x, largest), T::gt(y, largest)), inf, v);
        v = T::select(T::either(T::is_nan(re), T::is_nan(im)), nan, v);
        T::store_elements(r + k, v);
    }
    for (; k < n; ++k) zu::detail::array::abs_one(r + k, a + 2 * k);
}

#if defined(ZU_ARRAY_ABS_BY_STEPS)
template <class T>
ZU_ARRAY_TARGET void abs_by_steps(double* r, const double* a, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) zu::detail::array::abs_one(r + k, a + 2 * k);
}
#endif

// norm: re re + im im, a NaN sum replaced by the table's NaN.
template <class T>
ZU_ARRAY_TARGET void norm_kernel(double* r, const double* a, std::size_t n) {
    using V = typename T::V;
    const V nan = T::set1(zu::detail::nan());
    std::size_t k = 0;
    for (; k + T::kWidth <= n; k += T::kWidth) {
        V re, im;
        T::split(a + 2 * k, re, im);
        const V sum = T::add(T::mul(re, re), T::mul(im, im));
        T::store_elements(r + k, T::select(T::is_nan(sum), nan, sum));
    }
    for (; k < n; ++k) zu::detail::array::norm_one(r + k, a + 2 * k);
}

template <class T>
constexpr Kernels make_kernels(const char* name) {
    return Kernels{name,
                   mul_kernel<T>,
                   div_kernel<T>,
                   sum_kernel<T, false>,
                   sum_kernel<T, true>,
                   scale_kernel<T>,
                   conj_kernel<T>,
#if defined(ZU_ARRAY_ABS_BY_STEPS)
                   abs_by_steps<T>,
#else
                   abs_kernel<T>,
#endif
                   norm_kernel<T>};
}

}  // namespace
