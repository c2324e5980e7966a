#include "report.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <locale>
#include <sstream>

namespace zucalc {

namespace {

// zucalc is single-threaded; the log is a plain pointer.
ReportLog* g_active = nullptr;

std::uint64_t bits_of(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

std::string hex_bits(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%016" PRIx64, bits_of(v));
    return buf;
}

// A fresh stream each time, in the classic locale: a user's locale must not
// put a decimal comma into text that reads back as "(re,im)".
std::ostringstream number_stream(const Format& f) {
    std::ostringstream os;
    os.imbue(std::locale::classic());
    os.precision(f.precision);
    return os;
}

}  // namespace

ReportLog::ReportLog() : previous_(g_active) { g_active = this; }
ReportLog::~ReportLog() { g_active = previous_; }
ReportLog* ReportLog::active() { return g_active; }

int record_report(c_exception& e) {
    if (g_active != nullptr) {
        Report r;
        r.type = e.type;
        r.name = e.name != nullptr ? e.name : "?";
        r.arg1 = e.arg1;
        r.retval_at_call = e.retval;
        // We answer 0, so an overflow returns the retval it handed us.
        if (e.type == kOverflow) {
            r.has_default = true;
            r.default_value = e.retval;
        }
        g_active->reports.push_back(r);
    }
    return 0;
}

bool reports_reach_program() {
    int saved = errno;
    ReportLog log;
    DComplex probe = atan(DComplex(0.0, 1.0));
    (void)probe;
    errno = saved;
    return !log.reports.empty();
}

std::string errno_name(int err) {
    switch (err) {
        case EDOM: return "EDOM";
        case ERANGE: return "ERANGE";
#ifdef EILSEQ
        case EILSEQ: return "EILSEQ";
#endif
        default: break;
    }
    return std::to_string(err) + " (" + std::strerror(err) + ")";
}

std::string format_real(double x, const Format& f) {
    std::ostringstream os = number_stream(f);
    os << x;
    if (f.hex) os << " [" << hex_bits(x) << "]";
    return os.str();
}

std::string format_complex(const DComplex& z, const Format& f) {
    std::ostringstream os = number_stream(f);
    os << z;  // the library's own text form
    if (f.hex) os << " [" << hex_bits(z.re) << ", " << hex_bits(z.im) << "]";
    return os.str();
}

std::string format_report(const Report& r, const Format& f) {
    std::string out;
    const char* errno_text = nullptr;
    if (r.type == kSingularity) {
        out = "singularity in ";
        errno_text = "EDOM";
    } else if (r.type == kOverflow) {
        out = "overflow in ";
        errno_text = "ERANGE";
    } else {
        out = "error of kind " + std::to_string(r.type) + " in ";
    }
    out += r.name + ": argument " + format_complex(r.arg1, f);
    if (r.has_default) out += ", returned default " + format_complex(r.default_value, f);
    // The hook answers 0, so the library sets errno by the kind of report.
    if (errno_text != nullptr) out += std::string(", errno ") + errno_text;
    return out;
}

}  // namespace zucalc
