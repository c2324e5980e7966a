// The ufunc inner loops: one template per operand shape, instantiated with
// one small struct per library function. NumPy calls them with the GIL
// released; they call the library's functions element by element (or its
// array functions on contiguous runs, where the operation has one) and never
// touch Python.
#ifndef ZU_COMPLEX_PYTHON_LOOPS_H
#define ZU_COMPLEX_PYTHON_LOOPS_H

#include "reports.h"
#include "zu_complex.h"

#include <cfenv>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace zu_python {

// NumPy's complex128 is two doubles, real part first: DComplex's layout.
static_assert(sizeof(DComplex) == 2 * sizeof(double), "DComplex must be two adjacent doubles");

template <class T>
inline T load(const char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class T>
inline void store(char* p, const T& v) {
    std::memcpy(p, &v, sizeof v);
}

// NumPy turns the floating-point status flags a loop leaves into its own
// "invalid value encountered" warnings. The library's NaNs, infinities and
// divisions by zero are defined results, and its overflows and poles arrive
// as its own reports, so the loops leave no flags behind.
inline void drop_fp_flags() { std::feclearexcept(FE_ALL_EXCEPT); }

// The library's array functions, for the operations that have one:
// Array<Op>::run(result, a[, b], n) over contiguous (re, im) pairs (doubles
// for a real result), and for the product Array<Multiply>::scale(result, a,
// s, n) for a right operand that stays put. Specialised below.
template <class Op>
struct Array {};

template <class Op, class = void>
struct has_array : std::false_type {};
template <class Op>
struct has_array<Op, std::void_t<decltype(&Array<Op>::run)>> : std::true_type {};

template <class Op, class = void>
struct has_scale : std::false_type {};
template <class Op>
struct has_scale<Op, std::void_t<decltype(&Array<Op>::scale)>> : std::true_type {};

// A function that can report a singularity hands each result to the
// thread's report buffer, which fills in the default of a pending report
// (see ReportBuffer::settle).
template <class Op>
inline void settle_if_pending(ReportBuffer* reports, const typename Op::R& result) {
    if constexpr (Op::kSingular) {
        if (reports != nullptr && reports->pending()) reports->settle(result);
    }
}

template <class Op>
void unary_loop(char** args, const npy_intp* dims, const npy_intp* steps, void*) {
    using A = typename Op::A;
    using R = typename Op::R;
    const npy_intp n = dims[0];
    const char* in = args[0];
    char* out = args[1];
    const npy_intp in_step = steps[0], out_step = steps[1];
    if constexpr (has_array<Op>::value) {
        if (in_step == sizeof(A) && out_step == sizeof(R)) {
            Array<Op>::run(reinterpret_cast<double*>(out), reinterpret_cast<const double*>(in),
                           static_cast<std::size_t>(n));
            drop_fp_flags();
            return;
        }
    }
    ReportBuffer* const reports = Op::kSingular ? current_buffer() : nullptr;
    for (npy_intp i = 0; i < n; ++i, in += in_step, out += out_step) {
        const R r = Op::call(load<A>(in));
        settle_if_pending<Op>(reports, r);
        store(out, r);
    }
    drop_fp_flags();
}

template <class Op>
void binary_loop(char** args, const npy_intp* dims, const npy_intp* steps, void*) {
    using A = typename Op::A;
    using B = typename Op::B;
    using R = typename Op::R;
    const npy_intp n = dims[0];
    const char* a = args[0];
    const char* b = args[1];
    char* out = args[2];
    const npy_intp a_step = steps[0], b_step = steps[1], out_step = steps[2];
    if constexpr (has_array<Op>::value) {
        if (a_step == sizeof(A) && b_step == sizeof(B) && out_step == sizeof(R)) {
            Array<Op>::run(reinterpret_cast<double*>(out), reinterpret_cast<const double*>(a),
                           reinterpret_cast<const double*>(b), static_cast<std::size_t>(n));
            drop_fp_flags();
            return;
        }
    }
    if constexpr (has_scale<Op>::value) {
        if (a_step == sizeof(A) && b_step == 0 && out_step == sizeof(R)) {
            Array<Op>::scale(reinterpret_cast<double*>(out), reinterpret_cast<const double*>(a),
                             reinterpret_cast<const double*>(b), static_cast<std::size_t>(n));
            drop_fp_flags();
            return;
        }
    }
    for (npy_intp i = 0; i < n; ++i, a += a_step, b += b_step, out += out_step) {
        store(out, Op::call(load<A>(a), load<B>(b)));
    }
    drop_fp_flags();
}

// ---------------------------------------------------------------------------
// The operations. A and B are the operand types, R the result type as NumPy
// stores it; kSingular marks the functions that report singularities.
// ---------------------------------------------------------------------------

#define ZU_UNARY(Name, Result, expression, singular)                 \
    struct Name {                                                    \
        using A = DComplex;                                          \
        using R = Result;                                            \
        static constexpr bool kSingular = singular;                  \
        static R call(const DComplex& z) { return expression; }      \
    };

ZU_UNARY(Exp, DComplex, exp(z), false)
ZU_UNARY(Log, DComplex, log(z), false)
ZU_UNARY(Log10, DComplex, log10(z), false)
ZU_UNARY(Sqrt, DComplex, sqrt(z), false)
ZU_UNARY(Sin, DComplex, sin(z), false)
ZU_UNARY(Cos, DComplex, cos(z), false)
ZU_UNARY(Tan, DComplex, tan(z), true)
ZU_UNARY(Sinh, DComplex, sinh(z), false)
ZU_UNARY(Cosh, DComplex, cosh(z), false)
ZU_UNARY(Tanh, DComplex, tanh(z), true)
ZU_UNARY(Asin, DComplex, asin(z), true)
ZU_UNARY(Acos, DComplex, acos(z), true)
ZU_UNARY(Atan, DComplex, atan(z), true)
ZU_UNARY(Conj, DComplex, conj(z), false)
ZU_UNARY(Negative, DComplex, -z, false)
ZU_UNARY(Ceil, DComplex, ceil(z), false)
ZU_UNARY(Floor, DComplex, floor(z), false)
ZU_UNARY(Round, DComplex, round(z), false)
ZU_UNARY(Abs, double, abs(z), false)
ZU_UNARY(Norm, double, norm(z), false)
ZU_UNARY(Arg, double, arg(z), false)
ZU_UNARY(Real, double, real(z), false)
ZU_UNARY(Imag, double, imag(z), false)

#undef ZU_UNARY

#define ZU_BINARY(Name, TypeA, TypeB, Result, expression)                       \
    struct Name {                                                               \
        using A = TypeA;                                                        \
        using B = TypeB;                                                        \
        using R = Result;                                                       \
        static R call(const TypeA& a, const TypeB& b) { return expression; }    \
    };

// Sums and differences with a real operand use the library's mixed
// overloads, which carry the untouched part over unchanged (1.0 - (2, +0.0)
// is (-1, -0.0), not (-1, +0.0)). Two real operands are two DComplex(x).
ZU_BINARY(AddRR, double, double, DComplex, DComplex(a) + DComplex(b))
ZU_BINARY(AddRC, double, DComplex, DComplex, a + b)
ZU_BINARY(AddCR, DComplex, double, DComplex, a + b)
ZU_BINARY(AddCC, DComplex, DComplex, DComplex, a + b)
ZU_BINARY(SubtractRR, double, double, DComplex, DComplex(a) - DComplex(b))
ZU_BINARY(SubtractRC, double, DComplex, DComplex, a - b)
ZU_BINARY(SubtractCR, DComplex, double, DComplex, a - b)
ZU_BINARY(SubtractCC, DComplex, DComplex, DComplex, a - b)
ZU_BINARY(Multiply, DComplex, DComplex, DComplex, a * b)
ZU_BINARY(Divide, DComplex, DComplex, DComplex, a / b)
ZU_BINARY(Hypot, DComplex, DComplex, DComplex, hypot(a, b))
ZU_BINARY(Polar, double, double, DComplex, polar(a, b))
ZU_BINARY(Equal, DComplex, DComplex, int, a == b)
ZU_BINARY(NotEqual, DComplex, DComplex, int, a != b)

// pow: the overload C++ would choose for operands of these types.
ZU_BINARY(PowCI, DComplex, std::int32_t, DComplex, pow(a, static_cast<int>(b)))
ZU_BINARY(PowCD, DComplex, double, DComplex, pow(a, b))
ZU_BINARY(PowRC, double, DComplex, DComplex, pow(a, b))
ZU_BINARY(PowCC, DComplex, DComplex, DComplex, pow(a, b))

#undef ZU_BINARY

// A 64-bit integer exponent is an int exponent where it fits in an int.
// Beyond, C++ has no overload to call (an int parameter would truncate), so
// it goes to pow(DComplex, double) as the double nearest to it: the
// real-exponent overload's answer for a finite integral exponent too large
// for an int.
struct PowCL {
    using A = DComplex;
    using B = std::int64_t;
    using R = DComplex;
    static R call(const DComplex& z, std::int64_t n) {
        if (n >= INT_MIN && n <= INT_MAX) return pow(z, static_cast<int>(n));
        return pow(z, static_cast<double>(n));
    }
};

// Contiguous runs go to the array functions: the same bits as the scalar
// functions, several elements per instruction.
#define ZU_ARRAY_1(Op, function) \
    template <>                  \
    struct Array<Op> {           \
        static void run(double* r, const double* a, std::size_t n) { function(r, a, n); } \
    };
#define ZU_ARRAY_2(Op, function) \
    template <>                  \
    struct Array<Op> {           \
        static void run(double* r, const double* a, const double* b, std::size_t n) { function(r, a, b, n); } \
    };
ZU_ARRAY_1(Conj, Vel_ComplexConjArray)
ZU_ARRAY_1(Abs, Vel_ComplexAbsArray)
ZU_ARRAY_1(Norm, Vel_ComplexNormArray)
ZU_ARRAY_2(AddCC, Vel_ComplexAddArray)
ZU_ARRAY_2(SubtractCC, Vel_ComplexSubtractArray)
ZU_ARRAY_2(Divide, Vel_ComplexDivideArray)
#undef ZU_ARRAY_1
#undef ZU_ARRAY_2

// result[k] = a[k] * s: a product whose right operand is a scalar or a
// broadcast axis.
template <>
struct Array<Multiply> {
    static void run(double* r, const double* a, const double* b, std::size_t n) {
        Vel_ComplexMultiplyArray(r, a, b, n);
    }
    static void scale(double* r, const double* a, const double* s, std::size_t n) {
        Vel_ComplexScaleArray(r, a, s, n);
    }
};

}  // namespace zu_python

#endif  // ZU_COMPLEX_PYTHON_LOOPS_H
