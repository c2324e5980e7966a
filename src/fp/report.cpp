// The two report protocols, the only places where the library calls the
// error hook or writes errno.
#include "fp/internal.h"

#include <cerrno>

#if defined(_WIN32) || defined(__CYGWIN__)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace zu {
namespace detail {

namespace {
// Kinds of error, numbered as in the System V matherr convention.
constexpr int kSingularity = 2;
constexpr int kOverflow = 3;

#if defined(_WIN32) || defined(__CYGWIN__)
// A DLL's calls to its own functions are bound when it is linked, so a
// program's DComplex_error cannot interpose on the library's. Instead the
// first report looks for one exported by the program's .exe (the header's
// declaration exports every definition there) and keeps the answer: that
// function if there is one, the library's own otherwise. The name is the
// GCC/Clang (Itanium) mangling of int DComplex_error(c_exception&), the
// compilers this library is built with.
int call_hook(c_exception& e) {
    using Hook = int (*)(c_exception&);
    static const Hook hook = [] {
        const FARPROC found = GetProcAddress(GetModuleHandleW(nullptr), "_Z14DComplex_errorR11c_exception");
        if (found == nullptr) return &DComplex_error;
        return reinterpret_cast<Hook>(reinterpret_cast<void (*)()>(found));
    }();
    return hook(e);
}
#else
// ELF: the call goes through the exported symbol (src/interposable.list), so
// a program's own DComplex_error takes it over.
int call_hook(c_exception& e) { return DComplex_error(e); }
#endif
}  // namespace

DComplex report_singularity(c_exception& e, const DComplex& fallback) {
    e.type = kSingularity;
    // retval is still (0, 0) from the record's constructor.
    if (call_hook(e) != 0) return e.retval;
    errno = EDOM;
    return fallback;
}

DComplex report_overflow(c_exception& e, const DComplex& fallback) {
    e.type = kOverflow;
    e.retval = fallback;  // in place before the call, so the hook sees it
    if (call_hook(e) == 0) errno = ERANGE;
    return e.retval;
}

}  // namespace detail
}  // namespace zu
