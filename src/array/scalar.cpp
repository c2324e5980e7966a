// The reference kernels: one element at a time by the scalar steps, so each
// element is, by construction, what the scalar operator or function gives.
// The vector kernels fall back to the same per-element functions for the
// elements their fast path does not cover and for the tail of an array.
//
// This file is compiled for the baseline processor: the vector kernels call
// into it, and nothing here may use an instruction set they had to detect.
#include "array/kernels.h"
#include "core/arith.h"

namespace zu {
namespace detail {
namespace array {

// Products and quotients through the inline steps the exported operators are
// made of: every NaN they can produce is either the table's or made by an
// operation on operands that are not NaN, so the bits do not depend on where
// the steps were compiled.
void mul_one(double* r, const double* a, const double* b) noexcept {
    const DComplex product = mul(DComplex(a[0], a[1]), DComplex(b[0], b[1]));
    r[0] = product.re;
    r[1] = product.im;
}

void div_one(double* r, const double* a, const double* b) noexcept {
    const DComplex quotient = div(DComplex(a[0], a[1]), DComplex(b[0], b[1]));
    r[0] = quotient.re;
    r[1] = quotient.im;
}

// Sums and differences pass a NaN operand on, and which of two NaN operands
// comes out depends on the order the compiler gave the operands of that very
// instruction: these call the exported operators themselves.
void add_one(double* r, const double* a, const double* b) noexcept {
    const DComplex sum = ::operator+(DComplex(a[0], a[1]), DComplex(b[0], b[1]));
    r[0] = sum.re;
    r[1] = sum.im;
}

void sub_one(double* r, const double* a, const double* b) noexcept {
    const DComplex difference = ::operator-(DComplex(a[0], a[1]), DComplex(b[0], b[1]));
    r[0] = difference.re;
    r[1] = difference.im;
}

void conj_one(double* r, const double* a) noexcept {
    const DComplex c = ::conj(DComplex(a[0], a[1]));
    r[0] = c.re;
    r[1] = c.im;
}

void abs_one(double* r, const double* a) noexcept { *r = ::abs(DComplex(a[0], a[1])); }

void norm_one(double* r, const double* a) noexcept { *r = ::norm(DComplex(a[0], a[1])); }

namespace {

template <void (*one)(double*, const double*, const double*)>
void binary_loop(double* r, const double* a, const double* b, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) one(r + 2 * k, a + 2 * k, b + 2 * k);
}

template <void (*one)(double*, const double*), std::size_t kOut>
void unary_loop(double* r, const double* a, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) one(r + kOut * k, a + 2 * k);
}

// s is read once, before anything is written, so it may be in r.
void scale_loop(double* r, const double* a, const double* s, std::size_t n) {
    const double pair[2] = {s[0], s[1]};
    for (std::size_t k = 0; k < n; ++k) mul_one(r + 2 * k, a + 2 * k, pair);
}

}  // namespace

const Kernels kScalar = {
    "scalar",
    binary_loop<mul_one>,
    binary_loop<div_one>,
    binary_loop<add_one>,
    binary_loop<sub_one>,
    scale_loop,
    unary_loop<conj_one, 2>,
    unary_loop<abs_one, 1>,
    unary_loop<norm_one, 1>,
};

}  // namespace array
}  // namespace detail
}  // namespace zu
