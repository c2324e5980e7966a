#include "zu_test.h"

#include <cmath>
#include <optional>

namespace {

const double kInf = zt::Inf();
const DComplex kZero(0.0, 0.0), kWritten(5.0, -0.0);

// One call under the program's recording hook, answering `answer` (after
// writing `write` into retval when given), from a sentinel errno.
struct Outcome { DComplex result; int err; std::vector<zt::Report> reports; };
template <class F>
Outcome call(F f, int answer, const DComplex* write = nullptr) {
    std::optional<zt::HookRecorder> hook;
    if (write != nullptr) hook.emplace(answer, *write); else hook.emplace(answer);
    errno = zt::kErrnoSentinel;
    const DComplex r = f();
    const int err = errno;
    return {r, err, hook->reports()};
}

TEST(Report, FreshRecordIsBlank) {
    static const char kName[] = "atan";
    const DComplex z(-0.0, zt::NaN());
    const c_exception e(kName, z);
    EXPECT_EQ(0, e.type);
    EXPECT_EQ(kName, e.name);  // the pointer itself, not a copy
    EXPECT_SAME_C(z, e.arg1);
    EXPECT_SAME_C(kZero, e.arg2);
    EXPECT_SAME_C(kZero, e.retval);
}

// Overflow: the default is already in retval when the hook sees the record,
// and retval comes back whatever the answer; only a zero answer sets ERANGE.
// The real exp may itself set ERANGE on overflow, which is left as it is;
// cosh and sinh decide on the cut-off before calling the real cosh or sinh.
const int kExpErrno = zt::errno_after([] { volatile double x = 710.0; (void)zt::real::exp(x); });
struct OverflowCase {
    const char* name;
    DComplex (*f)(const DComplex&);
    DComplex z, def;
    int quiet_errno;  // errno after a non-zero answer
};
const OverflowCase kOverflows[] = {
    {"exp", exp, {710.0, 0.0}, {kInf, zt::NaN()}, kExpErrno},
    {"cosh", cosh, {710.25, 0.0}, {kInf, zt::NaN()}, zt::kErrnoSentinel},
    {"sinh", sinh, {710.25, 0.0}, {kInf, zt::NaN()}, zt::kErrnoSentinel},
    {"cosh", cosh, {-800.0, 1.0}, {kInf, -kInf}, zt::kErrnoSentinel},
    {"sinh", sinh, {-800.0, 1.0}, {-kInf, kInf}, zt::kErrnoSentinel},
};

TEST(Report, OverflowProtocol) {
    for (const OverflowCase& c : kOverflows) {
        SCOPED_TRACE(std::string(c.name) + " of " + zt::describe(c.z));
        auto f = [&c] { return c.f(c.z); };
        const Outcome zero = call(f, 0);
        EXPECT_SAME_C(c.def, zero.result);
        EXPECT_EQ(ERANGE, zero.err);
        ASSERT_EQ(1u, zero.reports.size());
        EXPECT_TRUE(zt::ReportIs(zero.reports[0], zt::kOverflow, c.name, c.z, c.def));
        const Outcome kept = call(f, 1);
        EXPECT_SAME_C(c.def, kept.result);
        EXPECT_EQ(c.quiet_errno, kept.err);
        const Outcome replaced = call(f, 1, &kWritten);
        EXPECT_SAME_C(kWritten, replaced.result);
        EXPECT_EQ(c.quiet_errno, replaced.err);
    }
}

// Singularity: the hook sees retval (0, 0); the default is made, and EDOM
// set, only after a zero answer. (-0.0, 1) compares equal to i.
TEST(Report, SingularityProtocol) {
    const struct { DComplex z, def; } poles[] = {
        {{0.0, 1.0}, {0.0, kInf}}, {{0.0, -1.0}, {0.0, -kInf}}, {{-0.0, 1.0}, {0.0, kInf}}};
    for (const auto& c : poles) {
        SCOPED_TRACE("atan of " + zt::describe(c.z));
        auto f = [&c] { return atan(c.z); };
        const Outcome zero = call(f, 0);
        EXPECT_SAME_C(c.def, zero.result);
        EXPECT_EQ(EDOM, zero.err);
        ASSERT_EQ(1u, zero.reports.size());
        EXPECT_TRUE(zt::ReportIs(zero.reports[0], zt::kSingularity, "atan", c.z, kZero));
        const Outcome kept = call(f, 1);  // the blank retval comes back
        EXPECT_SAME_C(kZero, kept.result);
        EXPECT_EQ(zt::kErrnoSentinel, kept.err);
        const Outcome replaced = call(f, -7, &kWritten);
        EXPECT_SAME_C(kWritten, replaced.result);
        EXPECT_EQ(zt::kErrnoSentinel, replaced.err);
    }
}

TEST(Report, QuietCallsNeitherReportNorTouchErrno) {
    const Outcome o = call([] { return exp(DComplex(1.0, 0.0)) + atan(DComplex(1.0, 0.0)); }, 0);
    EXPECT_EQ(zt::kErrnoSentinel, o.err);
    EXPECT_TRUE(o.reports.empty());
}

// tan of (0, 800) overflows in both sin and cos: the reports arrive in that
// order under the inner names with the turned argument (-800, +0), and tan
// adds none of its own because the cosine is not zero.
TEST(Report, NestedReportsArriveInOrder) {
    auto f = [] { return tan(DComplex(0.0, 800.0)); };
    const DComplex turned(-800.0, 0.0);
    const Outcome zero = call(f, 0);
    EXPECT_SAME_C(DComplex(zt::NaN(), zt::NaN()), zero.result);
    EXPECT_EQ(ERANGE, zero.err);
    ASSERT_EQ(2u, zero.reports.size());
    EXPECT_TRUE(zt::ReportIs(zero.reports[0], zt::kOverflow, "sinh", turned, DComplex(-kInf, zt::NaN())));
    // The NaN of cosh's negated zero-sine factor may have either sign bit.
    EXPECT_TRUE(zt::ReportIs(zero.reports[1], zt::kOverflow, "cosh", turned, DComplex(kInf, zt::kAnyNaN)));
    // Both answered by the hook with (1, 0): sin = -i (1, 0), cos = (1, 0).
    const DComplex one(1.0, 0.0);
    const Outcome answered = call(f, 1, &one);
    EXPECT_SAME_C(DComplex(0.0, -1.0), answered.result);
    EXPECT_EQ(zt::kErrnoSentinel, answered.err);
    EXPECT_EQ(2u, answered.reports.size());
}

}  // namespace
