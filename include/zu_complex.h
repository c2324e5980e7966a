// libzu_complex: double-precision complex arithmetic with exactly defined
// results for NaN, infinite, zero and signed-zero parts.
//
// Every function below decides, in a fixed order of tests, what it returns for
// special operands; the comment on each declaration says what the caller can
// rely on. Overflows and poles in the elementary functions are reported
// through the hook DComplex_error (see "Error reporting" below) and errno.
#ifndef ZU_COMPLEX_H
#define ZU_COMPLEX_H

#include <iosfwd>

// One export macro. Everything else in the library has hidden visibility.
#if defined(_WIN32) || defined(__CYGWIN__)
#  if defined(ZU_COMPLEX_BUILDING)
#    define ZU_API __declspec(dllexport)
#  elif defined(ZU_COMPLEX_STATIC)
#    define ZU_API
#  else
#    define ZU_API __declspec(dllimport)
#  endif
#else
#  define ZU_API __attribute__((visibility("default")))
#endif

// ---------------------------------------------------------------------------
// The value type
// ---------------------------------------------------------------------------

// A complex number as exactly two IEEE-754 doubles, real part first: the
// layout of `double[2]`, so arrays of DComplex and arrays of (re, im) pairs
// are interchangeable. Any double is a valid part, NaN, infinities, signed
// zeros and subnormals included; constructors store their arguments
// unchanged. Trivially copyable: copy construction and copy assignment copy
// both parts bit for bit, NaN payloads and sign bits included.
class DComplex {
public:
    double re;  // real part
    double im;  // imaginary part

    // (+0.0, +0.0).
    constexpr DComplex() noexcept : re(0.0), im(0.0) {}
    // (x, +0.0). Deliberately implicit: a double takes part in products,
    // quotients and comparisons through this conversion.
    constexpr DComplex(double x) noexcept : re(x), im(0.0) {}
    // (r, i), both stored unchanged.
    constexpr DComplex(double r, double i) noexcept : re(r), im(i) {}

    // The compound operators return nothing, so they cannot be chained.
    // Each reads only what it needs before writing, so `z op= z` works.
    ZU_API void operator+=(const DComplex& z);  // re += z.re, then im += z.im
    ZU_API void operator-=(const DComplex& z);  // re -= z.re, then im -= z.im
    ZU_API void operator*=(const DComplex& z);  // bit for bit *this * z
    ZU_API void operator/=(const DComplex& z);  // bit for bit *this / z
};

// Accessors and conjugate. conj flips the sign bit of the imaginary part
// only: conj of (x, +0.0) is (x, -0.0), and a NaN stays a NaN.
ZU_API double real(const DComplex& z);
ZU_API double imag(const DComplex& z);
ZU_API DComplex conj(const DComplex& z);

// Sums and differences: one IEEE operation per part. In the mixed forms the
// part the double does not touch is carried over unchanged (negated for
// x - z), never computed as that part plus or minus zero, so a -0.0
// imaginary part survives.
ZU_API DComplex operator+(const DComplex& a, const DComplex& b);
ZU_API DComplex operator+(double x, const DComplex& z);  // (x + re, im)
ZU_API DComplex operator+(const DComplex& z, double x);  // (re + x, im)
ZU_API DComplex operator-(const DComplex& z);            // sign-bit flips
ZU_API DComplex operator-(const DComplex& a, const DComplex& b);
ZU_API DComplex operator-(double x, const DComplex& z);  // (x - re, -im)
ZU_API DComplex operator-(const DComplex& z, double x);  // (re - x, im)

// IEEE equality of both parts, as the int 1 or 0: +0.0 == -0.0, and a value
// with a NaN part is unequal to everything, itself included. != is always
// the opposite int.
ZU_API int operator==(const DComplex& a, const DComplex& b);
ZU_API int operator!=(const DComplex& a, const DComplex& b);

// Product and quotient. A NaN in any of the four parts gives (NaN, NaN) with
// the library's NaN. Products pick their formula by which parts are zero, so
// a purely real or imaginary operand makes no NaN out of 0 * inf; quotients
// divide directly by a purely real or imaginary divisor (a zero divisor
// gives IEEE infinities or NaNs, never a report) and use Smith's method
// otherwise. Neither tests for infinity or reports.
ZU_API DComplex operator*(const DComplex& a, const DComplex& b);
ZU_API DComplex operator/(const DComplex& a, const DComplex& b);

// ---------------------------------------------------------------------------
// Error reporting
// ---------------------------------------------------------------------------

// The record a reporting function hands to DComplex_error. Kinds of error
// follow the System V matherr numbering; this library reports only
// 2 (singularity) and 3 (overflow).
class c_exception {
public:
    int type;          // kind of error; 0 while the record is being prepared
    const char* name;  // reporting function, e.g. "cosh"; not owned
    DComplex arg1;     // the argument of the reporting call, as passed
    DComplex arg2;     // (0, 0) in every report of this library
    DComplex retval;   // returned when the hook answers non-zero; for an
                       // overflow it holds the default before the call and
                       // is returned whatever the answer

    c_exception(const char* n, const DComplex& z) noexcept
        : type(0), name(n), arg1(z), arg2(), retval() {}
};

// The error hook. The library's own hook answers 0 and changes nothing, so
// every report ends with errno set (EDOM for a singularity, ERANGE for an
// overflow) and the function's default returned.
//
// Taking over the hook: the library calls DComplex_error through its exported
// symbol, so on ELF platforms a program that defines its own
//     int DComplex_error(c_exception& e) { ... }
// (global namespace, ordinary C++ linkage) receives every report instead.
// Answer non-zero to make the function return e.retval (which you may
// overwrite); answer zero to let it set errno and return its default (for an
// overflow, the value then in e.retval). The record is valid only during the
// call. On platforms without symbol interposition (Windows DLLs) the
// library's own hook is always used.
ZU_API int DComplex_error(c_exception& e);

// ---------------------------------------------------------------------------
// C-linkage helpers
// ---------------------------------------------------------------------------

extern "C" {

// The special-value table: the processor's own quiet NaN (on x86 the sign bit
// is set: 0xFFF8000000000000 and 0xFFC00000) and +infinity, made by run-time
// division at load. VelInitFP fills it once (restoring the default
// floating-point environment of the calling thread first) and always returns
// 1; later calls return at once. Every accessor calls it first.
ZU_API int VelInitFP(void);
ZU_API double Vel_NaN(void);
ZU_API float Vel_NaN_Float(void);
ZU_API double Vel_Inf(void);
ZU_API float Vel_Inf_Float(void);

// Product and quotient of complex numbers kept as two adjacent doubles
// (element 0 real, element 1 imaginary): result = a * b, result = a / b,
// bit for bit as operator* and operator/. Preconditions: all three pointers
// are non-null and point to two readable doubles (result: writable). The
// result pair may be the same storage as either operand pair.
ZU_API void Vel_ComplexMultiply(double* result, const double* a, const double* b);
ZU_API void Vel_ComplexDivide(double* result, const double* a, const double* b);

}  // extern "C"

#endif  // ZU_COMPLEX_H
