// Every exported function, called from eight threads at once on the same
// inputs, gives every thread exactly what a single thread gets: the same
// result bits, the same reports (seen by the hook, which records per thread)
// and the same errno after each call (errno is per thread). Half the threads
// take over the reports with a hook that answers non-zero and writes retval,
// so one thread's hook cannot leak into another's results either.
#include "zu_test.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kThreads = 8;
constexpr int kRounds = 25;

const double kBig = 1073741824.0;  // 2^30: acos (0, -2^30) and asin (-2^30, 0) are poles
const DComplex kInputs[] = {
    {0.5, -1.25}, {-3.0, 4.0}, {0.0, -0.0}, {1e300, 1e-300}, {zt::Inf(), 0.0}, {zt::NaN(), 1.0},
    {720.0, 1.0},                // overflow in exp, cosh, sinh, tanh
    {-715.0, -2.0},              // overflow beyond the negative cut-off
    {1.0, 720.0},                // overflow in cos, sin, tan (the turned argument)
    {0.0, 1.0},   {-0.0, -1.0},  // atan's poles
    {0.0, -kBig}, {-kBig, 0.0},  // acos's and asin's
};
const char* const kTexts[] = {"(1.5,-2)", "( 3 )", "4e400", "(1,2", "x", "-0.0 rest"};

// A run's whole observable outcome, flattened in call order: each call's
// result bits, the reports it made (type, name, arg1 and retval bits) and
// errno after it.
using Trace = std::vector<std::uint64_t>;

class Recorder {
public:
    Recorder(Trace& trace, const zt::HookRecorder& hook) : trace_(trace), hook_(hook) {}

    template <class F>
    void operator()(F f) {
        errno = zt::kErrnoSentinel;
        put(f());
        trace_.push_back(static_cast<std::uint64_t>(errno));
        for (; seen_ < hook_.reports().size(); ++seen_) {
            const zt::Report& r = hook_.reports()[seen_];
            put(r.type);
            put(r.name);
            put(r.arg1);
            put(r.retval);
        }
    }

private:
    void put(double v) { trace_.push_back(zt::bits(v)); }
    void put(float v) { trace_.push_back(zt::bits(v)); }
    void put(int v) { trace_.push_back(static_cast<std::uint32_t>(v)); }
    void put(const DComplex& z) {
        put(z.re);
        put(z.im);
    }
    void put(const std::string& s) { trace_.insert(trace_.end(), s.begin(), s.end()); }

    Trace& trace_;
    const zt::HookRecorder& hook_;
    std::size_t seen_ = 0;
};

// The non-zero answer. cosh answers (0, 0), which drives tan and tanh on to
// their own pole reports.
int take_over(c_exception& e) {
    const std::string name = e.name;
    e.retval = name == "cosh" ? DComplex(0.0, 0.0) : name == "sinh" ? DComplex(1.0, -1.0) : DComplex(7.0, -0.0);
    return 1;
}

Trace run_all(bool take_over_reports) {
    Trace trace;
    const zt::HookRecorder hook = take_over_reports ? zt::HookRecorder(&take_over) : zt::HookRecorder(0);
    Recorder rec(trace, hook);
    using F1 = DComplex (*)(const DComplex&);
    using F2 = DComplex (*)(const DComplex&, const DComplex&);
    using D1 = double (*)(const DComplex&);
    using Mixed = DComplex (*)(const DComplex&, double);
    using Mixed2 = DComplex (*)(double, const DComplex&);
    using Compound = void (DComplex::*)(const DComplex&);
    for (const DComplex& a : kInputs) {
        for (F1 f : {F1(conj), F1(ceil), F1(floor), F1(round), F1(exp), F1(log), F1(log10), F1(sqrt), F1(cosh),
                     F1(sinh), F1(tanh), F1(cos), F1(sin), F1(tan), F1(acos), F1(asin), F1(atan), F1(operator-)}) {
            rec([&] { return f(a); });
        }
        for (D1 f : {D1(real), D1(imag), D1(abs), D1(norm), D1(arg)}) rec([&] { return f(a); });
        rec([&] { return Vel_Round(a.re); });
        rec([&] { return polar(a.re, a.im); });
        for (int n : {3, -2}) rec([&] { return pow(a, n); });
        for (double y : {0.5, 4.0}) rec([&] { return pow(a, y); });
        for (double x : {2.5, -2.0}) rec([&] { return pow(x, a); });
        rec([&] {
            std::ostringstream out;
            out.precision(17);
            out << a;
            return out.str();
        });
        for (const DComplex& b : kInputs) {
            rec([&] { return DComplex(a == b, a != b); });
            for (F2 f : {F2(operator+), F2(operator-), F2(operator*), F2(operator/), F2(hypot), F2(pow)}) {
                rec([&] { return f(a, b); });
            }
            for (Mixed f : {Mixed(operator+), Mixed(operator-)}) rec([&] { return f(a, b.re); });
            for (Mixed2 f : {Mixed2(operator+), Mixed2(operator-)}) rec([&] { return f(b.re, a); });
            for (Compound op : {&DComplex::operator+=, &DComplex::operator-=, &DComplex::operator*=,
                                &DComplex::operator/=}) {
                rec([&] {
                    DComplex c = a;
                    (c.*op)(b);
                    return c;
                });
            }
            for (auto fn : {&Vel_ComplexMultiply, &Vel_ComplexDivide}) {
                rec([&] {
                    double r[2] = {a.re, a.im};
                    const double y[2] = {b.re, b.im};
                    fn(r, r, y);  // the result in the first operand's storage
                    return DComplex(r[0], r[1]);
                });
            }
        }
    }
    // The array functions on all inputs at once, b the inputs in reverse
    // order (the first call also chooses the kernels, in every thread).
    constexpr std::size_t n = sizeof kInputs / sizeof kInputs[0];
    DComplex b[n], r[n];
    double m[n];
    std::reverse_copy(std::begin(kInputs), std::end(kInputs), b);
    using Array = void (*)(DComplex*, const DComplex*, const DComplex*, std::size_t);
    for (Array f : {Array(Vel_ComplexMultiplyArray), Array(Vel_ComplexDivideArray), Array(Vel_ComplexAddArray),
                    Array(Vel_ComplexSubtractArray)}) {
        rec([&] {
            f(r, kInputs, b, n);
            return r[0];
        });
        for (const DComplex& z : r) rec([&] { return z; });
    }
    rec([&] {
        Vel_ComplexScaleArray(r, kInputs, b[0], n);
        Vel_ComplexConjArray(r, r, n);
        Vel_ComplexAbsArray(m, r, n);
        return m[0];
    });
    for (const DComplex& z : r) rec([&] { return z; });
    for (double v : m) rec([&] { return v; });
    Vel_ComplexNormArray(m, kInputs, n);
    for (double v : m) rec([&] { return v; });
    rec([] { return std::string(Vel_ComplexArrayTarget()); });
    for (const char* text : kTexts) {
        std::istringstream in(text);
        rec([&] {
            DComplex t(-7.25, 99.5);
            in >> t;
            return t;
        });
        rec([&] { return static_cast<int>(in.rdstate()); });
    }
    rec([] { return VelInitFP(); });
    rec([] { return DComplex(Vel_NaN(), Vel_Inf()); });
    rec([] { return DComplex(Vel_NaN_Float(), Vel_Inf_Float()); });
    return trace;
}

// Starts all threads, then lets them go at once.
template <class F>
void run_together(F body) {
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            ready.fetch_add(1);
            while (ready.load() < kThreads) std::this_thread::yield();
            body(t);
        });
    }
    for (std::thread& th : threads) th.join();
}

TEST(Threads, SpecialValuesOnFirstUseFromAllThreads) {
    // Runs first in this program, so no thread of it has asked for a special
    // value yet. (Loading the library filled the table; what can race here is
    // every accessor's check of it.)
    std::array<std::array<std::uint64_t, 5>, kThreads> seen{};
    run_together([&](int t) {
        seen[t] = {static_cast<std::uint64_t>(VelInitFP()), zt::bits(Vel_NaN()), zt::bits(Vel_Inf()),
                   zt::bits(Vel_NaN_Float()), zt::bits(Vel_Inf_Float())};
    });
    const std::array<std::uint64_t, 5> want = {1u, zt::bits(Vel_NaN()), zt::bits(Vel_Inf()),
                                               zt::bits(Vel_NaN_Float()), zt::bits(Vel_Inf_Float())};
    EXPECT_TRUE(std::isnan(Vel_NaN()) && std::isinf(Vel_Inf()) && Vel_Inf() > 0);
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(want, seen[t]) << "thread " << t;
}

TEST(Threads, EveryFunctionGivesEachThreadTheSingleThreadedResults) {
    const Trace expected[2] = {run_all(false), run_all(true)};
    ASSERT_NE(expected[0], expected[1]);  // the hooks answer differently
    std::array<int, kThreads> bad_rounds{};
    std::array<std::size_t, kThreads> first_difference{};
    run_together([&](int t) {
        const Trace& want = expected[t % 2];
        for (int round = 0; round < kRounds; ++round) {
            const Trace got = run_all(t % 2 == 1);
            if (got == want) continue;
            ++bad_rounds[t];
            const auto diff = std::mismatch(want.begin(), want.end(), got.begin(), got.end());
            first_difference[t] = static_cast<std::size_t>(diff.first - want.begin());
        }
    });
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(0, bad_rounds[t]) << "thread " << t << ": first difference at trace entry "
                                    << first_difference[t] << " of " << expected[t % 2].size();
    }
}

}  // namespace
