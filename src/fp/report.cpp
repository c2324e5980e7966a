// The two report protocols, the only places where the library calls the
// error hook or writes errno.
#include "fp/internal.h"

#include <cerrno>

namespace zu {
namespace detail {

namespace {
// Kinds of error, numbered as in the System V matherr convention.
constexpr int kSingularity = 2;
constexpr int kOverflow = 3;
}  // namespace

DComplex report_singularity(c_exception& e, const DComplex& fallback) {
    e.type = kSingularity;
    // retval is still (0, 0) from the record's constructor.
    if (DComplex_error(e) != 0) return e.retval;
    errno = EDOM;
    return fallback;
}

DComplex report_overflow(c_exception& e, const DComplex& fallback) {
    e.type = kOverflow;
    e.retval = fallback;  // in place before the call, so the hook sees it
    if (DComplex_error(e) == 0) errno = ERANGE;
    return e.retval;
}

}  // namespace detail
}  // namespace zu
