// What zucalc shows besides a value: the library's reports, as its error
// hook saw them, errno by name, and the text form of numbers.
#ifndef ZUCALC_REPORT_H
#define ZUCALC_REPORT_H

#include "zu_complex.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zucalc {

constexpr int kSingularity = 2;
constexpr int kOverflow = 3;

// One report, copied out of the c_exception while the hook runs (the record
// itself lives only for the call).
struct Report {
    int type = 0;
    std::string name;
    DComplex arg1;
    DComplex retval_at_call;  // (0,0) for a singularity: the default comes later
    bool has_default = false;
    DComplex default_value;   // what the reporting function returned
};

// While a ReportLog lives, every report reaching the program's hook is
// appended to it. Logs nest; the innermost one records.
class ReportLog {
public:
    ReportLog();
    ~ReportLog();
    ReportLog(const ReportLog&) = delete;
    ReportLog& operator=(const ReportLog&) = delete;

    static ReportLog* active();
    std::vector<Report> reports;

private:
    ReportLog* previous_;
};

// The body of the program's DComplex_error: records the report and answers
// 0, so the library goes on exactly as with its own hook.
int record_report(c_exception& e);

// True when reports reach this program's hook. Makes one report (atan of i)
// with errno saved and restored.
bool reports_reach_program();

// "EDOM", "ERANGE", ...; for an errno this program does not name, the
// number and the C library's message.
std::string errno_name(int err);

struct Format {
    int precision = 17;  // 17 significant digits read back to the same bits
    bool hex = false;    // append the bit pattern of every part
};

std::string format_real(double x, const Format& f);
std::string format_complex(const DComplex& z, const Format& f);

// "overflow in sinh: argument (-800,0), returned default (-inf,nan), errno ERANGE"
std::string format_report(const Report& r, const Format& f);

}  // namespace zucalc

#endif  // ZUCALC_REPORT_H
