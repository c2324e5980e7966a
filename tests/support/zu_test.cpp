#include "zu_test.h"

#include <cfenv>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>
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
    // Printed to nearest whatever mode the caller is testing: the digits
    // then name the same double in every trace.
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    std::snprintf(buf, sizeof buf, "%.17g [0x%016" PRIx64 "]", v, bits(v));
    std::fesetround(mode);
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

Outcome observe(const std::function<DComplex()>& call) {
    HookRecorder hook;
    errno = kErrnoSentinel;
    const DComplex value = call();
    return {value, hook.reports(), errno};
}

::testing::AssertionResult SameOutcome(const char* expected_expr, const char* actual_expr, const Outcome& expected,
                                       const Outcome& actual) {
#if defined(ZT_PORTABLE_REAL_MATH)
    // The portable functions' domain-error NaN is the positive quiet NaN, not
    // x86's default NaN (negative): where a product then meets two NaNs, the
    // operand order the compiler chose decides which one passes on, and it
    // may choose differently in the two builds of the steps. Any NaN matches
    // any NaN here, as in the digest; bits of every other value still count.
    const auto one_nan = [](double x) { return std::isnan(x) ? std::numeric_limits<double>::quiet_NaN() : x; };
    const DComplex expected_value(one_nan(expected.value.re), one_nan(expected.value.im));
    const DComplex actual_value(one_nan(actual.value.re), one_nan(actual.value.im));
#else
    const DComplex &expected_value = expected.value, &actual_value = actual.value;
#endif
    ::testing::AssertionResult same = SameComplex(expected_expr, actual_expr, expected_value, actual_value);
    if (!same) return same;
    if (expected.err != actual.err) {
        return ::testing::AssertionFailure() << actual_expr << " leaves errno " << actual.err << ", expected "
                                             << expected.err;
    }
    if (expected.reports.size() != actual.reports.size()) {
        return ::testing::AssertionFailure() << actual_expr << " makes " << actual.reports.size()
                                             << " reports, expected " << expected.reports.size();
    }
    for (std::size_t k = 0; k < expected.reports.size(); ++k) {
        const Report& r = expected.reports[k];
        same = ReportIs(actual.reports[k], r.type, r.name.c_str(), r.arg1, r.retval);
        if (!same) return same << "(report " << k << " of " << actual_expr << ")";
    }
    return ::testing::AssertionSuccess();
}

const RoundingMode kRoundingModes[4] = {
    {FE_TONEAREST, "to nearest"}, {FE_UPWARD, "upward"}, {FE_DOWNWARD, "downward"}, {FE_TOWARDZERO, "toward zero"}};

std::string rounding_modes_unsupported() {
    // 1/3 is inexact, so it rounds differently upward and downward.
    volatile double one = 1.0, three = 3.0;
    double third[2];
    const int modes[2] = {FE_UPWARD, FE_DOWNWARD};
    for (int k = 0; k < 2; ++k) {
        if (std::fesetround(modes[k]) != 0 || std::fegetround() != modes[k]) {
            std::fesetround(FE_TONEAREST);
            return "fesetround cannot select every rounding mode on this platform";
        }
        third[k] = one / three;
    }
    std::fesetround(FE_TONEAREST);
    if (third[0] == third[1]) return "fesetround does not change how double arithmetic rounds on this platform";
    return "";
}

void under_each_rounding_mode(const std::function<void()>& body) {
    const std::string unsupported = rounding_modes_unsupported();
    for (const RoundingMode& mode : kRoundingModes) {
        if (!unsupported.empty() && mode.value != FE_TONEAREST) continue;
        SCOPED_TRACE(std::string("rounding ") + mode.name);
        std::fesetround(mode.value);
        body();
        EXPECT_EQ(mode.value, std::fegetround()) << "the rounding mode was changed";
        std::fesetround(FE_TONEAREST);
        if (::testing::Test::HasFatalFailure()) return;
    }
    if (!unsupported.empty()) GTEST_SKIP() << unsupported << ": checked under round-to-nearest only";
}

}  // namespace zt

// The test program's own error hook. Defining it here, in the program, takes
// over every report the library makes (symbol interposition), exactly as a
// user program would.
int DComplex_error(c_exception& e) {
    if (zt::t_active == nullptr) return 0;
    return zt::t_active->on_report(e);
}
