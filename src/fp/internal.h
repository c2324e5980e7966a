// What every floor of the library shares: classification of parts, the fixed
// constants, the special values and the two report protocols. Nothing here
// is exported.
#ifndef ZU_COMPLEX_SRC_FP_INTERNAL_H
#define ZU_COMPLEX_SRC_FP_INTERNAL_H

#include "zu_complex.h"
#include "real/real.h"

#include <atomic>
#include <cmath>

namespace zu {
namespace detail {

// The real functions, platform or portable (real/real.h).
namespace real = zu::real;

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

// The largest finite double. A part above it or below its negation counts as
// infinite; comparing against it, rather than calling isinf, is what every
// special-value ladder of the library does.
constexpr double kOverflowThreshold = 0x1.fffffffffffffp+1023;  // 1.7976931348623157e308

// A cosine or sine factor of a polar result at or below this magnitude is
// taken to be exactly zero, so that e.g. sqrt(-4) and (0, 1)^2 come out with
// exact zero parts instead of 1e-16 residues of cos(pi/2).
constexpr double kZeroSnap = 0x1p-49;  // 1.7763568394002505e-15

// cosh and sinh treat a real part beyond +-710 as an overflow. The real
// functions themselves overflow only near 710.4758600739439; the cut-off is a
// round number with cosh(710) = 1.1169973830808557e308 still finite.
constexpr double kHyperbolicCutoff = 710.0;

// The double nearest to log10(e). 1 / ln(10) evaluated in double arithmetic
// is one unit lower, so the constant is written out.
constexpr double kLog10e = 0x1.bcb7b1526e50ep-2;  // 0.4342944819032518

// The double nearest to pi, the argument of a negative real base.
constexpr double kPi = 0x1.921fb54442d18p+1;  // 3.141592653589793

// ---------------------------------------------------------------------------
// Classification. Comparisons with zero treat -0.0 as zero; a NaN compares
// false with everything.
// ---------------------------------------------------------------------------

inline bool is_nan(double v) { return std::isnan(v); }

// "Infinite" for the special-value ladders: beyond the overflow threshold.
inline bool is_infinite(double v) { return v > kOverflowThreshold || v < -kOverflowThreshold; }

inline bool has_nan_part(const DComplex& z) { return is_nan(z.re) || is_nan(z.im); }

// ---------------------------------------------------------------------------
// Special values. The library's fixed NaNs and infinities all come from the
// table that VelInitFP fills; a negative infinity is always -inf(), a sign-bit
// flip of the table's value.
// ---------------------------------------------------------------------------

// The table itself, defined in value_table.cpp and written only by
// fill_table (VelInitFP's steps), which publishes it with the flag last.
extern std::atomic<int> g_table_filled;
extern std::atomic<double> g_table_nan;
extern std::atomic<double> g_table_inf;
int fill_table() noexcept;

// The table's double NaN and +infinity, exactly as Vel_NaN and Vel_Inf give
// them (initialise if need be, then read), inline for the library's own use.
inline double nan() noexcept {
    if (g_table_filled.load(std::memory_order_acquire) == 0) fill_table();
    return g_table_nan.load(std::memory_order_relaxed);
}
inline double inf() noexcept {
    if (g_table_filled.load(std::memory_order_acquire) == 0) fill_table();
    return g_table_inf.load(std::memory_order_relaxed);
}

inline DComplex nan_pair() { return DComplex(nan(), nan()); }

// Signed-infinity defaults of the overflow and singularity reports.
// S(v): the sign a product (+inf) * v would take, NaN where v is zero.
inline double inf_signed_like(double v) {
    if (v > 0.0) return inf();
    if (v < 0.0) return -inf();
    return nan();
}
// -S(v): the sign a product (-inf) * v would take, NaN where v is zero. The
// NaN is the table's own, not a negated one.
inline double inf_signed_against(double v) {
    if (v > 0.0) return -inf();
    if (v < 0.0) return inf();
    return nan();
}
// P(v): the singularity default of tan and tanh, +inf for a positive part,
// +0.0 for a zero one and -inf for anything else, NaN included.
inline double pole_default(double v) {
    if (v > 0.0) return inf();
    if (v == 0.0) return 0.0;
    return -inf();
}

// ---------------------------------------------------------------------------
// The two report protocols. Every reporting function builds its record with
// c_exception(name, z) on entry and hands it here at a report site; paths
// that do not report never touch the hook or errno.
// ---------------------------------------------------------------------------

// Singularity (type 2): the hook sees retval (0, 0). A non-zero answer
// returns retval as the hook left it; a zero answer sets errno to EDOM and
// returns `fallback`.
DComplex report_singularity(c_exception& e, const DComplex& fallback);

// Overflow (type 3): `fallback` is stored in retval before the hook is
// called, so the hook sees it; a zero answer sets errno to ERANGE; retval is
// returned whatever the answer.
DComplex report_overflow(c_exception& e, const DComplex& fallback);

}  // namespace detail
}  // namespace zu

#endif  // ZU_COMPLEX_SRC_FP_INTERNAL_H
