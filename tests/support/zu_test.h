// Shared test support: one bit-exact comparison helper, the special values,
// an errno sentinel and the recording error hook.
#ifndef ZU_COMPLEX_TESTS_SUPPORT_ZU_TEST_H
#define ZU_COMPLEX_TESTS_SUPPORT_ZU_TEST_H

#include "zu_complex.h"
#include "real_functions.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace zt {

inline std::uint64_t bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

inline std::uint32_t bits(float v) {
    std::uint32_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

inline double from_bits(std::uint64_t b) {
    double v;
    std::memcpy(&v, &b, sizeof v);
    return v;
}

// Expected values in the tables are doubles compared bit for bit: +0.0
// differs from -0.0 and a NaN must have exactly the expected bits. Where a
// NaN comes from an IEEE operation rather than from the library's table its
// bits are not fixed; such expectations are written kAnyNaN, which matches
// any NaN. (A quiet NaN with a payload no operation produces; a constant
// expression, so tables at namespace scope can copy it safely.)
constexpr double kAnyNaN = __builtin_nan("0xdead0000beef");

inline double NaN() { return Vel_NaN(); }  // the library's own, fixed bits
inline double Inf() { return Vel_Inf(); }

std::string describe(double v);
std::string describe(const DComplex& z);

::testing::AssertionResult SameDouble(const char* expected_expr, const char* actual_expr, double expected,
                                      double actual);
::testing::AssertionResult SameComplex(const char* expected_expr, const char* actual_expr,
                                       const DComplex& expected, const DComplex& actual);

// The one comparison helper, for doubles and for DComplex values.
#define EXPECT_SAME(expected, actual) EXPECT_PRED_FORMAT2(::zt::SameDouble, expected, actual)
#define EXPECT_SAME_C(expected, actual) EXPECT_PRED_FORMAT2(::zt::SameComplex, expected, actual)

// errno is set to this before a call whose errno behaviour is checked; a
// call that does not report must leave it untouched.
constexpr int kErrnoSentinel = 4242;

// errno after calling `f` on a sentinel: what a real math function (or the
// library) does to errno for that input.
template <class F>
int errno_after(F f) {
    errno = kErrnoSentinel;
    f();
    return errno;
}

// What the test program's DComplex_error saw of one report, at call time.
struct Report {
    int type;
    std::string name;
    DComplex arg1;
    DComplex arg2;
    DComplex retval;
};

// While a HookRecorder lives, the test program's DComplex_error records every
// report made on this thread and answers as configured: `answer`, after
// writing `write_retval` into the record when one is given. Without a live
// recorder the hook answers 0 and changes nothing, like the library's own.
class HookRecorder {
public:
    // Decides, per report, what to write into the record and what to answer.
    using Responder = std::function<int(c_exception&)>;

    explicit HookRecorder(int answer = 0);
    HookRecorder(int answer, const DComplex& write_retval);
    explicit HookRecorder(Responder respond);
    ~HookRecorder();
    HookRecorder(const HookRecorder&) = delete;
    HookRecorder& operator=(const HookRecorder&) = delete;

    const std::vector<Report>& reports() const { return reports_; }

    // Internal: called by the hook.
    int on_report(c_exception& e);

private:
    Responder respond_;
    std::vector<Report> reports_;
    HookRecorder* previous_;
};

// Checks one recorded report against the expected kind, name, argument and
// retval at call time; arg2 must be (0, 0).
::testing::AssertionResult ReportIs(const Report& r, int type, const char* name, const DComplex& arg1,
                                    const DComplex& retval);

// Random parts for property tests: a mix of special values (signed zeros,
// infinities, NaN, extremes, the 710 cut-off, 1 and its neighbours),
// moderate values and values spread over the whole exponent range.
class PartGenerator {
public:
    explicit PartGenerator(std::uint64_t seed) : rng_(seed) {}
    double next();
    DComplex next_complex() {
        const double re = next();
        return DComplex(re, next());
    }

private:
    std::mt19937_64 rng_;
};

// f(z) gives `expected` bit for bit, leaves errno at `err` and brings the
// hook's count of reports to `reports`; returns whether that count matched,
// so the caller can go on to inspect the reports.
inline bool ExpectCall(const HookRecorder& hook, DComplex (*f)(const DComplex&), const DComplex& z,
                       const DComplex& expected, int err, std::size_t reports) {
    DComplex r;
    EXPECT_EQ(err, errno_after([&] { r = f(z); }));
    EXPECT_SAME_C(expected, r);
    EXPECT_EQ(reports, hook.reports().size());
    return reports == hook.reports().size();
}

// Everything a call shows its caller: the value, the reports it made (the
// hook answering 0) and errno after it (set to the sentinel before).
struct Outcome {
    DComplex value;
    std::vector<Report> reports;
    int err;
};
Outcome observe(const std::function<DComplex()>& call);

// Same value bit for bit, same errno, same reports in the same order.
::testing::AssertionResult SameOutcome(const char* expected_expr, const char* actual_expr, const Outcome& expected,
                                       const Outcome& actual);

// The four rounding modes of IEEE arithmetic, by their <cfenv> values.
struct RoundingMode {
    int value;
    const char* name;
};
extern const RoundingMode kRoundingModes[4];

// Why this platform cannot run double arithmetic under every rounding mode
// (fesetround refuses a mode, or a double division rounds the same under
// each), or an empty string when it can.
std::string rounding_modes_unsupported();

// Runs `body` under each rounding mode in turn, within a trace naming the
// mode, and returns to round-to-nearest afterwards; stops at the first fatal
// failure. The mode is set here, out of line, so no arithmetic of the body
// can be moved across the change. Where the platform cannot change the mode
// the body runs under round-to-nearest only and the test is marked skipped,
// with the reason.
void under_each_rounding_mode(const std::function<void()>& body);

constexpr int kSingularity = 2;
constexpr int kOverflow = 3;

}  // namespace zt

#endif  // ZU_COMPLEX_TESTS_SUPPORT_ZU_TEST_H
