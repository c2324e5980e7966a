// log(x) = k ln2 - log c_j + log1p(r), x = 2^k z, r = z c_j - 1 exact,
// |r| < 2^-9.46 (log_reduce in exp_log.h): a 512-entry table of c_j and
// -log c_j in two parts, and a degree-7 polynomial for log1p. Near 1
// (c_j = 1, k = 0) the result is x - 1 + poly with x - 1 exact. Measured
// error 0.500 ulp in round-to-nearest (tools/realcheck, 10^7 arguments, all
// correctly rounded but a few), and in the directed modes the correctly
// rounded result on 10^6 arguments each but one.
#include "real/exp_log.h"
#include "real/portable.h"

namespace zu {
namespace real {
namespace portable {

using namespace detail;

namespace {

// The sum for a positive normal (or renormalised) argument. hi is exact and
// |hi| >= |r| unless hi = 0, so hi + r splits exactly; the small terms are
// added together first, the result rounded once. The rounding of r^2 costs
// 2^-62 of the result at most.
[[gnu::always_inline]] inline double log_positive(std::uint64_t ix, int k_adjust) noexcept {
    const LogReduced red = log_reduce(ix, k_adjust);
    const double r = red.r;
    double s, s_err;
    fast_two_sum(red.hi, r, s, s_err);
    const double r2 = r * r;
    const double poly = log1p_cubic(r, r2) - 0.5 * r2;
    return s + ((red.lo + s_err) + poly);
}

// Zero, negative, subnormal, infinite and NaN arguments, in the order tested:
//   NaN -> NaN (quieted, payload kept); +-0 -> -inf, ERANGE (pole);
//   x < 0 (-inf included) -> domain error, EDOM and the NaN of domain_error();
//   +inf -> +inf; subnormal -> scaled by 2^52 into the normal range.
[[gnu::noinline, gnu::cold]] double log_cold(double x) noexcept {
    if (x != x) return x + x;
    if (x == 0.0) return range_error(-from_bits(kInfinityBits));
    if (x < 0.0) return domain_error();
    if (x == from_bits(kInfinityBits)) return x;
    return log_positive(to_bits(x * 0x1p52), -52);
}
}  // namespace

double log(double x) noexcept {
    const std::uint64_t ix = to_bits(x);
    if (ix - kMinNormalBits >= kInfinityBits - kMinNormalBits) return log_cold(x);
    return log_positive(ix, 0);
}

}  // namespace portable
}  // namespace real
}  // namespace zu
