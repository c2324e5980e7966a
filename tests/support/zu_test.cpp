#include "zu_test.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <utility>

namespace zt {

namespace {

bool matches(double expected, double actual) {
    if (bits(expected) == bits(kAnyNaN)) return std::isnan(actual);
    return bits(expected) == bits(actual);
}

thread_local HookRecorder* t_active = nullptr;

}  // namespace

std::string describe(double v) {
    if (bits(v) == bits(kAnyNaN)) return "<any NaN>";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g [0x%016" PRIx64 "]", v, bits(v));
    return buf;
}

std::string describe(const DComplex& z) { return "(" + describe(z.re) + ", " + describe(z.im) + ")"; }

::testing::AssertionResult SameDouble(const char* expected_expr, const char* actual_expr, double expected,
                                      double actual) {
    if (matches(expected, actual)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual_expr << " is " << describe(actual) << "\n  expected "
                                         << expected_expr << " = " << describe(expected);
}

::testing::AssertionResult SameComplex(const char* expected_expr, const char* actual_expr,
                                       const DComplex& expected, const DComplex& actual) {
    if (matches(expected.re, actual.re) && matches(expected.im, actual.im)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual_expr << " is " << describe(actual) << "\n  expected "
                                         << expected_expr << " = " << describe(expected);
}

double PartGenerator::next() {
    static const double specials[] = {0.0, -0.0, 1.0, -1.0, 0.5, 2.0, 710.0, -710.0, 710.25, -710.25,
                                      1e-300, -1e-300, 4.9e-324, 1.7976931348623157e308,
                                      -1.7976931348623157e308, Inf(), -Inf(), NaN()};
    const std::uint64_t pick = rng_() % 8;
    if (pick == 0) return specials[rng_() % (sizeof specials / sizeof specials[0])];
    if (pick <= 4) return std::uniform_real_distribution<double>(-4.0, 4.0)(rng_);
    // Any finite double: random sign, exponent and fraction.
    const std::uint64_t b = rng_() & ~(std::uint64_t{0x7ff} << 52);
    const std::uint64_t exponent = rng_() % 0x7ff;
    return from_bits(b | (exponent << 52));
}

HookRecorder::HookRecorder(int answer) : HookRecorder([answer](c_exception&) { return answer; }) {}

HookRecorder::HookRecorder(int answer, const DComplex& write_retval)
    : HookRecorder([answer, write_retval](c_exception& e) {
          e.retval = write_retval;
          return answer;
      }) {}

HookRecorder::HookRecorder(Responder respond) : respond_(std::move(respond)), previous_(t_active) {
    t_active = this;
}

HookRecorder::~HookRecorder() { t_active = previous_; }

int HookRecorder::on_report(c_exception& e) {
    reports_.push_back(Report{e.type, e.name != nullptr ? e.name : "<null>", e.arg1, e.arg2, e.retval});
    return respond_(e);
}

::testing::AssertionResult ReportIs(const Report& r, int type, const char* name, const DComplex& arg1,
                                    const DComplex& retval) {
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    bool ok = true;
    if (r.type != type) {
        ok = false;
        failure << "type " << r.type << ", expected " << type << "; ";
    }
    if (r.name != name) {
        ok = false;
        failure << "name \"" << r.name << "\", expected \"" << name << "\"; ";
    }
    if (!matches(arg1.re, r.arg1.re) || !matches(arg1.im, r.arg1.im)) {
        ok = false;
        failure << "arg1 " << describe(r.arg1) << ", expected " << describe(arg1) << "; ";
    }
    if (bits(r.arg2.re) != 0 || bits(r.arg2.im) != 0) {
        ok = false;
        failure << "arg2 " << describe(r.arg2) << ", expected (+0, +0); ";
    }
    if (!matches(retval.re, r.retval.re) || !matches(retval.im, r.retval.im)) {
        ok = false;
        failure << "retval at call " << describe(r.retval) << ", expected " << describe(retval) << "; ";
    }
    return ok ? ::testing::AssertionSuccess() : failure;
}

}  // namespace zt

// The test program's own error hook. Defining it here, in the program, takes
// over every report the library makes (symbol interposition), exactly as a
// user program would.
int DComplex_error(c_exception& e) {
    if (zt::t_active == nullptr) return 0;
    return zt::t_active->on_report(e);
}
