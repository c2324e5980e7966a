// The module's own DComplex_error and the per-thread record of what it
// receives. The library's sources are compiled into the module with every
// symbol bound inside it, so every report of a ufunc loop reaches the hook in
// reports.cpp, whatever else the process has loaded. Nothing here touches
// Python: the hook runs inside ufunc loops, without the GIL.
#ifndef ZU_COMPLEX_PYTHON_REPORTS_H
#define ZU_COMPLEX_PYTHON_REPORTS_H

#include "zu_complex.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zu_python {

// Kinds, as the Python side numbers them (bit positions in the mode word).
enum Kind : int { kSingularity = 0, kOverflow = 1 };

// What the caller chose per kind (zu_complex.errstate): two bits per kind in
// the mode word, kind k at bits 2k and 2k+1.
enum Mode : unsigned { kWarn = 0, kRaise = 1, kIgnore = 2, kCollect = 3 };

struct Record {
    Kind kind;
    const char* function;  // the library's name literal ("cosh", "atan", ...)
    DComplex argument;     // arg1 of the report
    DComplex returned;     // the default the reporting function returned
};

// One line per (kind, function) seen during a call: its first report and how
// many there were.
struct Group {
    Record first;
    std::uint64_t count;
};

// The reports of one ufunc call on one thread. Kinds in 'ignore' mode are
// not kept; every report of a kind in 'collect' mode is kept in order; the
// other kinds keep only their groups, so a million overflows cost a counter.
class ReportBuffer {
public:
    explicit ReportBuffer(unsigned modes) noexcept : modes_(modes) {}
    ReportBuffer(const ReportBuffer&) = delete;
    ReportBuffer& operator=(const ReportBuffer&) = delete;

    Mode mode(Kind k) const noexcept { return static_cast<Mode>((modes_ >> (2 * k)) & 3u); }

    // Called by the hook.
    void add(const c_exception& e) noexcept;

    // A singularity's default is computed by the reporting function after
    // the hook has answered, so the hook cannot see it. Singularities are
    // reported only by the functions the ufuncs call directly (tan, tanh,
    // acos, asin, atan), each as the last thing it does before returning
    // that default, so the loop hands the element's result here.
    bool pending() const noexcept { return pending_; }
    void settle(const DComplex& returned) noexcept;

    bool empty() const noexcept { return groups_.empty() && dropped_ == 0; }
    const std::vector<Group>& groups() const noexcept { return groups_; }
    const std::vector<Record>& records() const noexcept { return records_; }
    // Reports that could not be kept for want of memory.
    std::uint64_t dropped() const noexcept { return dropped_; }

private:
    unsigned modes_;
    std::vector<Group> groups_;
    std::vector<Record> records_;
    std::uint64_t dropped_ = 0;
    bool pending_ = false;
    std::ptrdiff_t pending_group_ = -1;
    std::ptrdiff_t pending_record_ = -1;
};

// The buffer of the calling thread's innermost ufunc call, or null outside
// one (reports are then not kept).
ReportBuffer* current_buffer() noexcept;

// Makes `buffer` the calling thread's current one for its lifetime, and
// restores the previous one after: a ufunc called from inside another's
// call (an __array_ufunc__ override in Python) keeps its reports apart.
class ActiveBuffer {
public:
    explicit ActiveBuffer(ReportBuffer* buffer) noexcept;
    ~ActiveBuffer();
    ActiveBuffer(const ActiveBuffer&) = delete;
    ActiveBuffer& operator=(const ActiveBuffer&) = delete;

private:
    ReportBuffer* previous_;
};

}  // namespace zu_python

#endif  // ZU_COMPLEX_PYTHON_REPORTS_H
