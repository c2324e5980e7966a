#include "reports.h"

#include <cstring>
#include <new>

namespace zu_python {

namespace {

// Set for the duration of each ufunc call (ActiveBuffer), on its thread.
thread_local ReportBuffer* t_current = nullptr;

// The library reports only singularities (2) and overflows (3).
Kind kind_of(int type) noexcept { return type == 3 ? kOverflow : kSingularity; }

bool same_group(const Record& a, Kind kind, const char* function) noexcept {
    // The name literals may be duplicated across the library's files, so
    // the text is compared, not the pointer.
    return a.kind == kind && std::strcmp(a.function, function) == 0;
}

}  // namespace

void ReportBuffer::add(const c_exception& e) noexcept {
    const Kind kind = kind_of(e.type);
    const Mode m = mode(kind);
    if (m == kIgnore) return;

    // An overflow's default is in retval before the hook is called and,
    // since the hook answers zero, it is what the function returns.
    const Record record{kind, e.name != nullptr ? e.name : "?", e.arg1, e.retval};

    std::ptrdiff_t group = -1;
    bool found = false;
    for (Group& g : groups_) {
        if (same_group(g.first, kind, record.function)) {
            ++g.count;
            found = true;
            break;
        }
    }
    if (!found) {
        try {
            groups_.push_back(Group{record, 1});
            group = static_cast<std::ptrdiff_t>(groups_.size()) - 1;
        } catch (const std::bad_alloc&) {
            ++dropped_;
            return;
        }
    }

    std::ptrdiff_t index = -1;
    if (m == kCollect) {
        try {
            records_.push_back(record);
            index = static_cast<std::ptrdiff_t>(records_.size()) - 1;
        } catch (const std::bad_alloc&) {
            ++dropped_;
        }
    }

    if (kind == kSingularity) {
        pending_ = true;
        pending_group_ = group;
        pending_record_ = index;
    }
}

void ReportBuffer::settle(const DComplex& returned) noexcept {
    if (pending_group_ >= 0) groups_[static_cast<std::size_t>(pending_group_)].first.returned = returned;
    if (pending_record_ >= 0) records_[static_cast<std::size_t>(pending_record_)].returned = returned;
    pending_ = false;
    pending_group_ = -1;
    pending_record_ = -1;
}

ReportBuffer* current_buffer() noexcept { return t_current; }

ActiveBuffer::ActiveBuffer(ReportBuffer* buffer) noexcept : previous_(t_current) { t_current = buffer; }
ActiveBuffer::~ActiveBuffer() { t_current = previous_; }

}  // namespace zu_python

// The hook of the library compiled into this module (the library's own,
// src/fp/error_hook.cpp, is left out of the module). It answers zero, as the
// library's does, so every function returns exactly what it returns in C++
// and sets errno the same way; it only keeps a record for the Python side.
int DComplex_error(c_exception& e) {
    if (zu_python::ReportBuffer* buffer = zu_python::current_buffer()) buffer->add(e);
    return 0;
}
