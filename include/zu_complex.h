// libzu_complex: double-precision complex arithmetic with exactly defined
// results for NaN, infinite, zero and signed-zero parts.
//
// Every function below decides, in a fixed order of tests, what it returns for
// special operands; the comment on each declaration says what the caller can
// rely on. Overflows and poles in the elementary functions are reported
// through the hook DComplex_error (see "Error reporting" below) and errno.
#ifndef ZU_COMPLEX_H
#define ZU_COMPLEX_H

// <cmath> comes before this header's own sqrt, sin, cos, ... overloads: a
// program (or the library) that declared those first would make some
// compilers stop treating the real functions as built-ins.
#include <cmath>
#include <cstddef>
#include <iosfwd>

// The library's version, for tests at compile time (the build reads it from
// here). A new major version changes the shared library's SONAME and may
// break the ABI; a new minor version only adds to it; a patch changes no
// interface. ZU_COMPLEX_VERSION is major * 10000 + minor * 100 + patch.
#define ZU_COMPLEX_VERSION_MAJOR 1
#define ZU_COMPLEX_VERSION_MINOR 1
#define ZU_COMPLEX_VERSION_PATCH 0
#define ZU_COMPLEX_VERSION \
    (ZU_COMPLEX_VERSION_MAJOR * 10000 + ZU_COMPLEX_VERSION_MINOR * 100 + ZU_COMPLEX_VERSION_PATCH)

// One export macro. Everything else in the library has hidden visibility.
// ZU_COMPLEX_STATIC (set by the static library's CMake target and its
// pkg-config file) marks a static library, which exports and imports
// nothing, whether it is being built or used.
#if defined(_WIN32) || defined(__CYGWIN__)
#  if defined(ZU_COMPLEX_STATIC)
#    define ZU_API
#  elif defined(ZU_COMPLEX_BUILDING)
#    define ZU_API __declspec(dllexport)
#  else
#    define ZU_API __declspec(dllimport)
#  endif
#else
#  define ZU_API __attribute__((visibility("default")))
#endif

// The error hook's declaration. On Windows it is dllexport in programs too
// (never dllimport): a program that defines its own DComplex_error thereby
// exports it from its .exe, which is where the library looks for it (see
// "Error reporting"); a program that only calls it still links to the DLL's.
#if (defined(_WIN32) || defined(__CYGWIN__)) && !defined(ZU_COMPLEX_STATIC)
#  define ZU_HOOK_API __declspec(dllexport)
#else
#  define ZU_HOOK_API ZU_API
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
static_assert(sizeof(DComplex) == 2 * sizeof(double), "DComplex must be exactly two doubles");

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
// Modulus, argument, polar form, rounding
// ---------------------------------------------------------------------------

// Modulus without squaring a part: NaN if a part is NaN, +inf if a part is
// infinite. The real part's sign of zero is kept: abs of (-0.0, 0) is -0.0.
ZU_API double abs(const DComplex& z);
// re*re + im*im, unscaled: NaN if a part is NaN, +inf if a part is infinite.
ZU_API double norm(const DComplex& z);
// atan2(im, re); NaN for a NaN part, for (+-0, +-0) and when both parts are
// infinite.
ZU_API double arg(const DComplex& z);
// (r cos theta, r sin theta); (NaN, NaN) for a NaN operand or an infinite
// theta, (+0.0, +0.0) for r == 0. r itself is not tested for infinity.
ZU_API DComplex polar(double r, double theta);

// Part by part with the C library's ceil and floor.
ZU_API DComplex ceil(const DComplex& z);
ZU_API DComplex floor(const DComplex& z);
// Part by part with Vel_Round below.
ZU_API DComplex round(const DComplex& z);

// ---------------------------------------------------------------------------
// Exponential, logarithms, square root, hypotenuse, powers
// ---------------------------------------------------------------------------

// exp reports an overflow ("exp", type 3) exactly when the real exp of the
// real part overflows; the default is a signed infinity per part by the sign
// of cos im and sin im, NaN where that factor is zero.
ZU_API DComplex exp(const DComplex& z);
// (log abs z, arg z); log of a zero is (-inf, +0.0). Never reports.
ZU_API DComplex log(const DComplex& z);
// log10(e) * log(z), by the complex product.
ZU_API DComplex log10(const DComplex& z);
// Principal square root in polar form; a cosine or sine factor within 2^-49
// of zero is made exactly zero. Never reports.
ZU_API DComplex sqrt(const DComplex& z);
// sqrt(a*a + b*b) in complex arithmetic, unscaled. Not a modulus.
ZU_API DComplex hypot(const DComplex& a, const DComplex& b);

// Powers. The overloads hand work to one another when an operand is real:
// a complex exponent with zero imaginary part goes to pow(z, double), a
// complex base with zero imaginary part to pow(double, w), and a finite
// integral double exponent that fits in an int to pow(z, int). A zero base
// never reaches the polar formulas. None of them reports itself; pow(x, w)
// with x > 0 goes through exp and can make its overflow report.
ZU_API DComplex pow(const DComplex& z, int n);
ZU_API DComplex pow(const DComplex& z, double y);
ZU_API DComplex pow(double x, const DComplex& w);
ZU_API DComplex pow(const DComplex& z, const DComplex& w);

// ---------------------------------------------------------------------------
// Hyperbolic and circular functions
// ---------------------------------------------------------------------------

// cosh and sinh report an overflow ("cosh"/"sinh", type 3) when the real
// part lies beyond +-710; the default is a signed infinity per part, NaN
// where the cosine or sine factor of the imaginary part is zero.
ZU_API DComplex cosh(const DComplex& z);
ZU_API DComplex sinh(const DComplex& z);
// sinh(z) / cosh(z); a zero cosh with a non-zero sinh is a singularity
// ("tanh", type 2).
ZU_API DComplex tanh(const DComplex& z);
// cos(z) = cosh(i z) and sin(z) = -i sinh(i z): their reports carry the names
// "cosh" and "sinh" and the turned argument (-im, re).
ZU_API DComplex cos(const DComplex& z);
ZU_API DComplex sin(const DComplex& z);
// sin(z) / cos(z); a zero cosine is a singularity ("tan", type 2), made after
// any reports of sin and cos.
ZU_API DComplex tan(const DComplex& z);

// ---------------------------------------------------------------------------
// Inverse circular functions
// ---------------------------------------------------------------------------

// acos(z) = -i log(z + i sqrt(1 - z*z)), asin(z) = -i log(i z + sqrt(1 - z*z)),
// each a singularity (type 2, default (+0.0, +inf)) when the logarithm's
// argument is zero. atan(z) = (i/2)(log(i + z) - log(i - z)), a singularity
// at z == -i (default (+0.0, -inf)) and z == i (default (+0.0, +inf)).
// No branch-cut adjustments beyond those of sqrt and log.
ZU_API DComplex acos(const DComplex& z);
ZU_API DComplex asin(const DComplex& z);
ZU_API DComplex atan(const DComplex& z);

// ---------------------------------------------------------------------------
// Stream input and output
// ---------------------------------------------------------------------------

// Writes "(" re "," im ")" as five separate formatted insertions, so the
// stream's precision, flags and locale format the parts and a field width
// pads only the opening parenthesis.
ZU_API std::ostream& operator<<(std::ostream& s, const DComplex& z);
// Reads "(re,im)", "(re)" or a bare "re". Malformed parenthesised text
// replaces the stream state by badbit alone; the target is written once,
// whole, and only when the stream is still good.
ZU_API std::istream& operator>>(std::istream& s, DComplex& z);

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
// call.
//
// Windows has no symbol interposition: a DLL's calls are bound when it is
// linked. There the library, on its first report, looks for a DComplex_error
// exported by the program's .exe (GetProcAddress on the main module, by its
// GCC/Clang mangled name) and, when there is one, sends every report to it
// instead of its own. Defining the function in the .exe, with this header
// included, exports it (ZU_HOOK_API); a definition in another DLL is not
// seen.
//
// With the static library (every platform) the program's definition is
// linked in place of the library's: the library's own hook is alone in its
// archive member, which the linker then never pulls in. Define it in one of
// the program's object files, not in an archive linked after this library.
ZU_HOOK_API int DComplex_error(c_exception& e);

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

// The library's real rounding: halves away from zero, round(-0.0) = +0.0,
// round(-0.3) = -0.0; NaN and infinities pass through. Exported under its own
// name so that linking this library never changes what the C library's
// round() returns to the rest of a program.
ZU_API double Vel_Round(double x);

// Arrays of n complex values stored as interleaved (re, im) doubles, the
// layout of DComplex arrays and of the pairs above. Element k of the result
// has the bits of the scalar operator or function on element k of the
// operands (in every rounding mode, NaN bits and signs of zeros included),
// so the array forms can replace a loop over the scalar forms:
//   Vel_ComplexMultiplyArray  result[k] = a[k] * b[k]
//   Vel_ComplexDivideArray    result[k] = a[k] / b[k]
//   Vel_ComplexAddArray       result[k] = a[k] + b[k]
//   Vel_ComplexSubtractArray  result[k] = a[k] - b[k]
//   Vel_ComplexScaleArray     result[k] = a[k] * s, s one pair
//   Vel_ComplexConjArray      result[k] = conj(a[k])
//   Vel_ComplexAbsArray       result[k] = abs(a[k]), one double per element
//   Vel_ComplexNormArray      result[k] = norm(a[k]), one double per element
// Like the scalar operators they never report and leave errno alone. (The
// floating-point exception flags are not part of the results: the vector
// code may raise flags for an element that the scalar steps would not.)
// Any n, 0 included (then nothing is read or written and the pointers may be
// null), and any alignment. result may be exactly the storage of an operand
// (in place; for abs and norm, result == a packs the moduli into the first n
// doubles); s is read before anything is written. Any other overlap of
// result with an operand is the caller's error and gives unspecified values.
//
// The work is done with the widest vector instructions the processor
// supports (SSE2, AVX2 or AVX-512 on x86-64, SSE2 only in Windows builds,
// NEON on aarch64, a plain loop elsewhere), chosen on the first call. The environment variable
// ZU_COMPLEX_ARRAY_TARGET, read at that first call, forces a narrower
// choice: one of scalar, sse2, avx2, avx512 (x86) or neon (aarch64), taken
// as the widest allowed; a target the processor lacks gives the next
// narrower one, and a name the build does not know changes nothing. The
// results are the same whichever is chosen.
ZU_API void Vel_ComplexMultiplyArray(double* result, const double* a, const double* b, size_t n);
ZU_API void Vel_ComplexDivideArray(double* result, const double* a, const double* b, size_t n);
ZU_API void Vel_ComplexAddArray(double* result, const double* a, const double* b, size_t n);
ZU_API void Vel_ComplexSubtractArray(double* result, const double* a, const double* b, size_t n);
ZU_API void Vel_ComplexScaleArray(double* result, const double* a, const double* s, size_t n);
ZU_API void Vel_ComplexConjArray(double* result, const double* a, size_t n);
ZU_API void Vel_ComplexAbsArray(double* result, const double* a, size_t n);
ZU_API void Vel_ComplexNormArray(double* result, const double* a, size_t n);
// The name of the kernels in use ("avx512", "avx2", "sse2", "neon" or
// "scalar"); makes the choice if no array function has been called yet.
ZU_API const char* Vel_ComplexArrayTarget(void);

}  // extern "C"

// The array functions on DComplex arrays: the same functions, the same
// semantics, with counts of DComplex elements (a DComplex is two doubles,
// re first, with no padding).
inline void Vel_ComplexMultiplyArray(DComplex* result, const DComplex* a, const DComplex* b, size_t n) {
    Vel_ComplexMultiplyArray(reinterpret_cast<double*>(result), reinterpret_cast<const double*>(a),
                             reinterpret_cast<const double*>(b), n);
}
inline void Vel_ComplexDivideArray(DComplex* result, const DComplex* a, const DComplex* b, size_t n) {
    Vel_ComplexDivideArray(reinterpret_cast<double*>(result), reinterpret_cast<const double*>(a),
                           reinterpret_cast<const double*>(b), n);
}
inline void Vel_ComplexAddArray(DComplex* result, const DComplex* a, const DComplex* b, size_t n) {
    Vel_ComplexAddArray(reinterpret_cast<double*>(result), reinterpret_cast<const double*>(a),
                        reinterpret_cast<const double*>(b), n);
}
inline void Vel_ComplexSubtractArray(DComplex* result, const DComplex* a, const DComplex* b, size_t n) {
    Vel_ComplexSubtractArray(reinterpret_cast<double*>(result), reinterpret_cast<const double*>(a),
                             reinterpret_cast<const double*>(b), n);
}
inline void Vel_ComplexScaleArray(DComplex* result, const DComplex* a, const DComplex& s, size_t n) {
    Vel_ComplexScaleArray(reinterpret_cast<double*>(result), reinterpret_cast<const double*>(a), &s.re, n);
}
inline void Vel_ComplexConjArray(DComplex* result, const DComplex* a, size_t n) {
    Vel_ComplexConjArray(reinterpret_cast<double*>(result), reinterpret_cast<const double*>(a), n);
}
inline void Vel_ComplexAbsArray(double* result, const DComplex* a, size_t n) {
    Vel_ComplexAbsArray(result, reinterpret_cast<const double*>(a), n);
}
inline void Vel_ComplexNormArray(double* result, const DComplex* a, size_t n) {
    Vel_ComplexNormArray(result, reinterpret_cast<const double*>(a), n);
}

#endif  // ZU_COMPLEX_H
