// The library's one definition of a complex product and quotient (the steps
// are in core/arith.h). Both look for NaN parts first, then for parts that
// are exactly zero, and only then use a general formula; neither tests for
// infinity or reports.
#include "core/arith.h"

#include <cassert>
#include <cstdint>

using namespace zu::detail;

#if defined(__SSE2__)
#if defined(__GNUC__) && !defined(__clang__)
// GCC would pair the two parts of a result built from lanes into one vector
// again, and return it through memory (store both lanes, load each part).
#pragma GCC optimize("no-tree-slp-vectorize")
#endif

namespace {

// A product with each complex value in one register, real part in the low
// lane. The exported products work on values in memory (references, pairs of
// doubles), so each operand is read with one load.
inline __m128d load(const double* pair) { return _mm_loadu_pd(pair); }
inline DComplex complex_of(__m128d z) { return DComplex(_mm_cvtsd_f64(z), _mm_cvtsd_f64(_mm_unpackhi_pd(z, z))); }

// The general formula: (ar br - ai bi, ar bi + ai br), each product rounded
// on its own.
inline __m128d general(__m128d a, __m128d b) {
    const __m128d x = _mm_mul_pd(_mm_unpacklo_pd(a, a), b);                        // (ar br, ar bi)
    const __m128d y = _mm_mul_pd(_mm_unpackhi_pd(a, a), _mm_shuffle_pd(b, b, 1));  // (ai bi, ai br)
    return _mm_move_sd(_mm_add_pd(x, y), _mm_sub_sd(x, y));
}

// Outside the general case every part of a product is one product x * y of
// the operands' parts (x from a.re or a.im, negated for the real part; y from
// b.re or b.im), or the constant +0 of a rung. Formed as (+0) * (+0), that
// constant is +0 in every rounding mode and raises nothing, so each rung is
// one packed multiplication of selected factors, and no rung needs a branch.
// Each factor is chosen by bit masks, per lane (real part, imaginary part).
struct Factors {
    std::uint64_t x_from_re[2];  // a.re
    std::uint64_t x_from_im[2];  // -a.im for the real part, a.im for the imaginary part
    std::uint64_t y_from_re[2];  // b.re
    std::uint64_t y_from_im[2];  // b.im
};

constexpr std::uint64_t lane(bool taken) { return taken ? ~std::uint64_t{0} : 0; }

// The factors of (x_re y_re, x_im y_im), each named 'r' (the operand's real
// part), 'i' (its imaginary part) or '0' (+0).
constexpr Factors factors(char x_re, char y_re, char x_im, char y_im) {
    return Factors{{lane(x_re == 'r'), lane(x_im == 'r')},
                   {lane(x_re == 'i'), lane(x_im == 'i')},
                   {lane(y_re == 'r'), lane(y_im == 'r')},
                   {lane(y_re == 'i'), lane(y_im == 'i')}};
}

// The ladder's outcome by the zero parts (bit 0 a.re, bit 1 a.im, bit 2 b.re,
// bit 3 b.im), the first matching test deciding. Bit 4 marks a NaN part:
// rows 16 to 31 form no product, and the result is (NaN, NaN).
alignas(16) constexpr Factors kRungs[32] = {
    factors('0', '0', '0', '0'),  //  0 no zero part: the general formula, never read
    factors('i', 'i', 'i', 'r'),  //  1 a.re zero, b general:  (-ai bi, ai br)
    factors('r', 'r', 'r', 'i'),  //  2 a.im zero, b general:  (ar br, ar bi)
    factors('r', 'r', 'r', 'i'),  //  3 a zero:                (ar br, ar bi)
    factors('i', 'i', 'r', 'i'),  //  4 b.re zero, a general:  (-ai bi, ar bi)
    factors('i', 'i', '0', '0'),  //  5 a, b imaginary:        (-ai bi, +0)
    factors('0', '0', 'r', 'i'),  //  6 a real, b imaginary:   (+0, ar bi)
    factors('r', 'r', 'r', 'i'),  //  7 a zero
    factors('r', 'r', 'i', 'r'),  //  8 b.im zero, a general:  (ar br, ai br)
    factors('0', '0', 'i', 'r'),  //  9 a imaginary, b real:   (+0, ai br)
    factors('r', 'r', '0', '0'),  // 10 a, b real:             (ar br, +0)
    factors('r', 'r', 'r', 'i'),  // 11 a zero
    factors('r', 'r', 'i', 'r'),  // 12 b zero:                (ar br, ai br)
    factors('r', 'r', 'i', 'r'),  // 13 b zero
    factors('r', 'r', 'i', 'r'),  // 14 b zero
    factors('r', 'r', 'r', 'i'),  // 15 a zero
    factors('0', '0', '0', '0'),  // 16 to 31 a NaN part: (NaN, NaN)
};

inline __m128d mask(const std::uint64_t (&lanes)[2]) {
    return _mm_castsi128_pd(_mm_load_si128(reinterpret_cast<const __m128i*>(lanes)));
}

// Every rung of the ladder for operands with a zero or NaN part (not the
// general case). The zero parts and the NaN test are found together, without
// branches; the row of the table then gives both parts in one packed
// multiplication.
inline __m128d rungs(__m128d a, __m128d b) {
    const __m128d zero = _mm_setzero_pd();
    const unsigned zero_parts = static_cast<unsigned>(_mm_movemask_pd(_mm_cmpeq_pd(a, zero)) |
                                                      _mm_movemask_pd(_mm_cmpeq_pd(b, zero)) << 2);
    const __m128d nan_lanes = _mm_or_pd(_mm_cmpunord_pd(a, a), _mm_cmpunord_pd(b, b));
    const unsigned nan_parts = static_cast<unsigned>(_mm_movemask_pd(nan_lanes));  // 0 to 3
    const Factors& rung = kRungs[zero_parts | ((nan_parts + 3) & 4) << 2];         // + 16 for a NaN
    const __m128d minus_im = _mm_castsi128_pd(_mm_set_epi64x(0, INT64_MIN));  // flips the low lane's sign
    const __m128d x = _mm_or_pd(_mm_and_pd(_mm_unpacklo_pd(a, a), mask(rung.x_from_re)),
                                _mm_and_pd(_mm_xor_pd(_mm_unpackhi_pd(a, a), minus_im), mask(rung.x_from_im)));
    const __m128d y = _mm_or_pd(_mm_and_pd(_mm_unpacklo_pd(b, b), mask(rung.y_from_re)),
                                _mm_and_pd(_mm_unpackhi_pd(b, b), mask(rung.y_from_im)));
    // A NaN row multiplies +0 by +0: its product has no bit set, and the
    // table's NaN is laid over both lanes.
    const __m128d take_nan = _mm_or_pd(nan_lanes, _mm_shuffle_pd(nan_lanes, nan_lanes, 1));
    return _mm_or_pd(_mm_mul_pd(x, y), _mm_and_pd(_mm_set1_pd(nan()), take_nan));
}

// a * b: the common case, else the rungs, inline.
inline __m128d product(__m128d a, __m128d b) {
    if (no_zero_or_nan_lane(a, b)) return general(a, b);
    return rungs(a, b);
}

}  // namespace

// The library's own products reach the rungs here, out of line.
[[gnu::noinline]] DComplex zu::detail::mul_special(const DComplex& a, const DComplex& b) {
    return complex_of(product(load(&a.re), load(&b.re)));
}

DComplex operator*(const DComplex& a, const DComplex& b) { return complex_of(product(load(&a.re), load(&b.re))); }

// Both parts of the new value are computed from the old ones before either
// is stored, so z *= z squares z.
void DComplex::operator*=(const DComplex& z) { *this = complex_of(product(load(&re), load(&z.re))); }

// The operand pairs are read completely, into registers, before the result
// pair is written, so the result may be the same storage as either operand.
extern "C" void Vel_ComplexMultiply(double* result, const double* a, const double* b) {
    assert(result != nullptr && a != nullptr && b != nullptr);
    _mm_storeu_pd(result, product(load(a), load(b)));
}
#else
// Without SSE2 the exported products are the inline ones.
DComplex zu::detail::mul_special(const DComplex& a, const DComplex& b) { return mul_ladder(a, b); }

DComplex operator*(const DComplex& a, const DComplex& b) { return mul(a, b); }

void DComplex::operator*=(const DComplex& z) { *this = mul(*this, z); }

extern "C" void Vel_ComplexMultiply(double* result, const double* a, const double* b) {
    assert(result != nullptr && a != nullptr && b != nullptr);
    const DComplex product = mul(DComplex(a[0], a[1]), DComplex(b[0], b[1]));
    const double re = product.re;
    const double im = product.im;
    result[0] = re;
    result[1] = im;
}
#endif

DComplex operator/(const DComplex& a, const DComplex& b) { return div(a, b); }

// z /= z divides z by its old value: both parts are computed before either
// is stored.
void DComplex::operator/=(const DComplex& z) { *this = div(*this, z); }

extern "C" void Vel_ComplexDivide(double* result, const double* a, const double* b) {
    assert(result != nullptr && a != nullptr && b != nullptr);
    const DComplex quotient = div(DComplex(a[0], a[1]), DComplex(b[0], b[1]));
    const double re = quotient.re;
    const double im = quotient.im;
    result[0] = re;
    result[1] = im;
}
