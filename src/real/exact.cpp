// The exact real operations of the portable interface: the inline versions
// of exact.h, which the library compiles into its steps in portable mode.
#include "real/exact.h"
#include "real/portable.h"

namespace zu {
namespace real {
namespace portable {

double sqrt(double x) noexcept { return detail::exact_sqrt(x); }
double fabs(double x) noexcept { return detail::exact_fabs(x); }
double floor(double x) noexcept { return detail::exact_floor(x); }
double ceil(double x) noexcept { return detail::exact_ceil(x); }

}  // namespace portable
}  // namespace real
}  // namespace zu
