// zu_real_bench: each portable real function (src/real/, linked in
// directly, as the library calls it in portable mode) next to the
// platform's (glibc's, through the PLT, as the library calls it in platform
// mode), on the same arguments.
//
// One benchmark per function and argument set, e.g. "sin/typical". Each
// iteration takes the next slice of a pool of arguments and times both
// columns over that same slice, in an order that alternates between
// iterations; the ratio is formed within the iteration, so the drift of a
// shared machine's speed between iterations cancels. Counters, each the
// median over the iterations of one repetition:
//   portable_ns, platform_ns    ns per call
//   portable/platform           the ratio
// bench/real_report.py runs this with repetitions and prints the table of
// docs/PERFORMANCE.md.
#include "real/portable_weak.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

namespace zp = zu::real::portable;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kPoolSize = std::size_t{1} << 16;
constexpr std::size_t kSlice = 1024;
constexpr std::size_t kSliceStride = 23;  // odd: visits every slice of the pool

struct Args {
    std::vector<double> x, y;
};

// Argument sets: "typical" is what the complex functions hand the real ones
// for moderate operands; the others stress one path.
enum class Dist { uniform, log_uniform };
struct Set {
    const char* name;
    Dist dist;
    double xlo, xhi, ylo, yhi;
};

Args make_args(const Set& s, std::uint64_t seed) {
    std::mt19937_64 g(seed);
    auto draw = [&](double lo, double hi) {
        std::uniform_real_distribution<double> u(0.0, 1.0);
        if (s.dist == Dist::uniform) return lo + (hi - lo) * u(g);
        return std::exp(std::log(lo) + (std::log(hi) - std::log(lo)) * u(g));
    };
    Args a;
    for (std::size_t i = 0; i < kPoolSize; ++i) {
        a.x.push_back(draw(s.xlo, s.xhi));
        a.y.push_back(draw(s.ylo, s.yhi));
    }
    return a;
}

using Fn = double (*)(double, double);

struct Function {
    const char* name;
    bool available;
    Fn portable, platform;
    std::vector<Set> sets;
};

double z_exp(double x, double) { return zp::exp(x); }
double z_log(double x, double) { return zp::log(x); }
double z_pow(double x, double y) { return zp::pow(x, y); }
double z_cosh(double x, double) { return zp::cosh(x); }
double z_sinh(double x, double) { return zp::sinh(x); }
double z_sin(double x, double) { return zp::sin(x); }
double z_cos(double x, double) { return zp::cos(x); }
double z_atan2(double y, double x) { return zp::atan2(y, x); }
double z_sincos(double x, double) {
    const zp::SinCos r = zp::sincos(x);
    return r.sin + r.cos;
}
double p_exp(double x, double) { return std::exp(x); }
double p_log(double x, double) { return std::log(x); }
double p_pow(double x, double y) { return std::pow(x, y); }
double p_cosh(double x, double) { return std::cosh(x); }
double p_sinh(double x, double) { return std::sinh(x); }
double p_sin(double x, double) { return std::sin(x); }
double p_cos(double x, double) { return std::cos(x); }
double p_atan2(double y, double x) { return std::atan2(y, x); }
double p_sincos(double x, double) {  // GCC makes the pair one call of glibc's sincos
    return std::sin(x) + std::cos(x);
}

std::vector<Function> functions() {
    const Set hyperbolic{"typical", Dist::uniform, -20.0, 20.0, 0, 0};
    const std::vector<Set> trig = {{"typical", Dist::uniform, -10.0, 10.0, 0, 0},
                                   {"small", Dist::uniform, -0.78, 0.78, 0, 0},
                                   {"1e5", Dist::uniform, -1e5, 1e5, 0, 0},
                                   {"huge", Dist::log_uniform, 1e6, 1e300, 0, 0}};
    return {
        {"exp", &zp::exp != nullptr, z_exp, p_exp, {{"typical", Dist::uniform, -20.0, 20.0, 0, 0}}},
        {"log", &zp::log != nullptr, z_log, p_log, {{"typical", Dist::log_uniform, 1e-10, 1e10, 0, 0}}},
        {"pow", &zp::pow != nullptr, z_pow, p_pow, {{"typical", Dist::uniform, 0.25, 4.0, -3.0, 3.0}}},
        {"cosh", &zp::cosh != nullptr, z_cosh, p_cosh, {hyperbolic}},
        {"sinh", &zp::sinh != nullptr, z_sinh, p_sinh, {hyperbolic}},
        {"sin", &zp::sin != nullptr, z_sin, p_sin, trig},
        {"cos", &zp::cos != nullptr, z_cos, p_cos, trig},
        {"sincos", &zp::sincos != nullptr, z_sincos, p_sincos, trig},
        {"atan2", &zp::atan2 != nullptr, z_atan2, p_atan2,
         {{"typical", Dist::uniform, -4.0, 4.0, -4.0, 4.0}, {"positive", Dist::uniform, 0.1, 4.0, 0.1, 4.0}}},
    };
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

__attribute__((noinline)) double pass(Fn f, const Args& a, std::size_t begin) {
    double sum = 0.0;
    for (std::size_t i = begin; i < begin + kSlice; ++i) sum += f(a.x[i], a.y[i]);
    return sum;
}

void run(benchmark::State& state, const Function& f, const Args& a) {
    const std::size_t slices = kPoolSize / kSlice;
    std::vector<double> tp, tq, ratio;
    std::size_t step = 0;
    for (auto _ : state) {
        const std::size_t begin = ((step * kSliceStride) % slices) * kSlice;
        double t[2] = {0, 0};
        for (int k = 0; k < 2; ++k) {
            const int c = (k + static_cast<int>(step)) % 2;  // alternate the order
            const auto t0 = Clock::now();
            benchmark::DoNotOptimize(pass(c == 0 ? f.portable : f.platform, a, begin));
            const auto t1 = Clock::now();
            t[c] = std::chrono::duration<double, std::nano>(t1 - t0).count() / kSlice;
        }
        tp.push_back(t[0]);
        tq.push_back(t[1]);
        ratio.push_back(t[0] / t[1]);
        ++step;
    }
    if (ratio.empty()) return;
    state.counters["portable_ns"] = median(tp);
    state.counters["platform_ns"] = median(tq);
    state.counters["portable/platform"] = median(ratio);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    static const std::vector<Function> fs = functions();
    static std::vector<Args> pools;
    pools.reserve(64);
    std::uint64_t seed = 0x7265616c0001ULL;
    for (const Function& f : fs) {
        if (!f.available) continue;  // not linked in on this branch
        for (const Set& s : f.sets) {
            pools.push_back(make_args(s, seed++));
            const Args* a = &pools.back();
            const Function* fn = &f;
            benchmark::RegisterBenchmark((std::string(f.name) + "/" + s.name).c_str(),
                                         [fn, a](benchmark::State& st) { run(st, *fn, *a); })
                ->Unit(benchmark::kMicrosecond)
                ->UseRealTime();
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
