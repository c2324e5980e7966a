// zu_realcheck: the accuracy of the portable real functions (exp, log, pow,
// cosh, sinh, sin, cos, atan2) and of the platform's (glibc's) on the same
// arguments, against MPFR.
//
//   zu_realcheck [--samples N] [--seed S] [--threads T] [--only NAME,...]
//                [--hard FILE] [--directed N] [--list-hard K]
//
// For every function: N random arguments (half log-uniform over the whole
// exponent range, half uniform over the interval where the function is busy;
// pow draws pairs whose result stays mostly in range), then the hard cases
// listed for it in FILE (default: hard_cases.txt beside this source). Each
// result is compared with the exact value, taken from MPFR at 128 bits: the
// error in ulps of the exact value (the ulp of its binade, 2^-1074 at least),
// and whether the result is the correctly rounded one. The correctly rounded
// double comes from the 128-bit value and MPFR's ternary flag, which decides
// the only ambiguous case (the 128-bit value exactly on a rounding boundary),
// so it is exact. Special results (NaN, infinities, zeros) count as correct
// when their bits match (any NaN matches a NaN).
//
// --directed N runs N arguments of each function in each of the rounding
// modes upward, downward and toward zero (both implementations called in
// that mode, compared with the exact value rounded that way).
// --list-hard K prints, per function, the K random arguments whose exact
// value lies nearest a rounding boundary (candidates for hard_cases.txt).
//
// Output: one Markdown table (docs/ACCURACY.md, "Portable real functions").
// A portable function that is not linked in (its symbol undefined) is
// reported as missing: the table lists all eight, so the functions of one
// family appear as soon as they exist.
#include "real/portable_weak.h"

#include <mpfr.h>

#include <algorithm>
#include <cerrno>
#include <cfenv>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace zp = zu::real::portable;
using Rng = std::mt19937_64;

// ---------------------------------------------------------------------------
// Arguments
// ---------------------------------------------------------------------------

double bits_to_double(std::uint64_t b) {
    double v;
    std::memcpy(&v, &b, sizeof v);
    return v;
}

std::uint64_t double_to_bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// |x| log-uniform in [lo, hi] (lo > 0): a uniform exponent, uniform
// significand bits.
double log_uniform(Rng& rng, double lo, double hi) {
    const std::uint64_t blo = double_to_bits(lo), bhi = double_to_bits(hi);
    return bits_to_double(blo + rng() % (bhi - blo + 1));
}

double uniform(Rng& rng, double lo, double hi) {
    return lo + (hi - lo) * std::uniform_real_distribution<double>(0.0, 1.0)(rng);
}

double random_sign(Rng& rng, double v) { return (rng() & 1) ? -v : v; }

constexpr double kMax = 1.7976931348623157e308;
constexpr double kMinSub = 4.9406564584124654e-324;

struct Args {
    double x, y;
};

using Generator = Args (*)(Rng&, bool busy);

Args gen_exp(Rng& r, bool busy) {
    if (busy) return {uniform(r, -745.2, 709.8), 0};
    return {random_sign(r, log_uniform(r, kMinSub, 746.0)), 0};
}
Args gen_log(Rng& r, bool busy) {
    if (busy) return {uniform(r, 0.5, 2.0), 0};
    return {log_uniform(r, kMinSub, kMax), 0};
}
Args gen_pow(Rng& r, bool busy) {
    if (busy) {
        // Bases near 1 with large exponents, and moderate bases.
        const double x = (r() & 1) ? uniform(r, 0.5, 2.0) : uniform(r, 0.0, 20.0);
        return {x, uniform(r, -1000.0, 1000.0) / (1.0 + 50.0 * std::fabs(std::log(x)))};
    }
    // x log-uniform, y such that log2(x^y) is uniform over the double range
    // (a few overflow and underflow).
    const double x = log_uniform(r, kMinSub, kMax);
    const double l = std::log2(x);
    const double target = uniform(r, -1100.0, 1050.0);
    double y = l != 0.0 ? target / l : uniform(r, -1e6, 1e6);
    if (r() % 8 == 0) y = std::nearbyint(y);  // integral exponents
    if (r() % 8 == 0 && std::fabs(y) < 0x1p52 && y == std::nearbyint(y)) return {-x, y};
    return {x, y};
}
Args gen_cosh(Rng& r, bool busy) {
    if (busy) return {uniform(r, -20.0, 20.0), 0};
    return {random_sign(r, log_uniform(r, kMinSub, 711.0)), 0};
}
Args gen_trig(Rng& r, bool busy) {
    if (busy) return {uniform(r, -10.0, 10.0), 0};
    return {random_sign(r, log_uniform(r, kMinSub, kMax)), 0};
}
Args gen_atan2(Rng& r, bool busy) {
    if (busy) return {uniform(r, -1.0, 1.0), uniform(r, -1.0, 1.0)};
    return {random_sign(r, log_uniform(r, kMinSub, kMax)), random_sign(r, log_uniform(r, kMinSub, kMax))};
}

// ---------------------------------------------------------------------------
// The functions
// ---------------------------------------------------------------------------

using Mpfr1 = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
using Mpfr2 = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);

// The platform's functions, called at run time through a function pointer.
double p_exp(double x, double) { return ::exp(x); }
double p_log(double x, double) { return ::log(x); }
double p_pow(double x, double y) { return ::pow(x, y); }
double p_cosh(double x, double) { return ::cosh(x); }
double p_sinh(double x, double) { return ::sinh(x); }
double p_sin(double x, double) { return ::sin(x); }
double p_cos(double x, double) { return ::cos(x); }
double p_atan2(double y, double x) { return ::atan2(y, x); }

double z_exp(double x, double) { return zp::exp(x); }
double z_log(double x, double) { return zp::log(x); }
double z_pow(double x, double y) { return zp::pow(x, y); }
double z_cosh(double x, double) { return zp::cosh(x); }
double z_sinh(double x, double) { return zp::sinh(x); }
double z_sin(double x, double) { return zp::sin(x); }
double z_cos(double x, double) { return zp::cos(x); }
double z_atan2(double y, double x) { return zp::atan2(y, x); }

struct Function {
    const char* name;
    bool available;  // the portable symbol is linked in
    double (*portable)(double, double);
    double (*platform)(double, double);
    Mpfr1 mpfr1;  // one argument, or
    Mpfr2 mpfr2;  // two: (x, y) in the order of the call
    Generator gen;
};

int mpfr_atan2_yx(mpfr_ptr r, mpfr_srcptr y, mpfr_srcptr x, mpfr_rnd_t rnd) { return mpfr_atan2(r, y, x, rnd); }

std::vector<Function> functions() {
    // Addresses of weak references: null where the function is missing.
    const bool have_exp = &zp::exp != nullptr, have_log = &zp::log != nullptr;
    const bool have_pow = &zp::pow != nullptr, have_cosh = &zp::cosh != nullptr;
    const bool have_sinh = &zp::sinh != nullptr, have_sin = &zp::sin != nullptr;
    const bool have_cos = &zp::cos != nullptr, have_atan2 = &zp::atan2 != nullptr;
    return {
        {"exp", have_exp, z_exp, p_exp, mpfr_exp, nullptr, gen_exp},
        {"log", have_log, z_log, p_log, mpfr_log, nullptr, gen_log},
        {"pow", have_pow, z_pow, p_pow, nullptr, mpfr_pow, gen_pow},
        {"cosh", have_cosh, z_cosh, p_cosh, mpfr_cosh, nullptr, gen_cosh},
        {"sinh", have_sinh, z_sinh, p_sinh, mpfr_sinh, nullptr, gen_cosh},
        {"sin", have_sin, z_sin, p_sin, mpfr_sin, nullptr, gen_trig},
        {"cos", have_cos, z_cos, p_cos, mpfr_cos, nullptr, gen_trig},
        {"atan2", have_atan2, z_atan2, p_atan2, nullptr, mpfr_atan2_yx, gen_atan2},
    };
}

// ---------------------------------------------------------------------------
// Exact values
// ---------------------------------------------------------------------------

constexpr mpfr_prec_t kPrec = 128;

struct Exact {
    mpfr_t v;       // 128-bit value
    mpfr_t t1, t2;  // scratch
    mpfr_t a, b;    // arguments
    Exact() {
        mpfr_inits2(kPrec, v, t1, t2, static_cast<mpfr_ptr>(nullptr));
        mpfr_inits2(53, a, b, static_cast<mpfr_ptr>(nullptr));
    }
    ~Exact() { mpfr_clears(v, t1, t2, a, b, static_cast<mpfr_ptr>(nullptr)); }
    Exact(const Exact&) = delete;
    Exact& operator=(const Exact&) = delete;
};

double next_up(double v) { return std::nextafter(v, HUGE_VAL); }
double next_down(double v) { return std::nextafter(v, -HUGE_VAL); }

// The exact value of f at the arguments, rounded to double in `mode`
// (correctly: see the file comment); `ternary` is MPFR's.
double correctly_rounded(Exact& e, int ternary, int mode) {
    mpfr_srcptr v = e.v;
    if (mpfr_nan_p(v)) return NAN;
    const double down = mpfr_get_d(v, MPFR_RNDD), up = mpfr_get_d(v, MPFR_RNDU);
    if (down == up) {
        // The 128-bit value is a double; the exact value may lie beside it.
        if (ternary > 0 && (mode == FE_DOWNWARD || (mode == FE_TOWARDZERO && down > 0))) return next_down(down);
        if (ternary < 0 && (mode == FE_UPWARD || (mode == FE_TOWARDZERO && down < 0))) return next_up(down);
        return down;
    }
    switch (mode) {
        case FE_UPWARD: return up;
        case FE_DOWNWARD: return down;
        case FE_TOWARDZERO: return mpfr_get_d(v, MPFR_RNDZ);
        default: break;
    }
    // Nearest: the 128-bit value exactly on the midpoint needs the flag.
    if (std::isfinite(down) && std::isfinite(up)) {
        mpfr_set_d(e.t1, down, MPFR_RNDN);
        mpfr_set_d(e.t2, up, MPFR_RNDN);
        mpfr_add(e.t1, e.t1, e.t2, MPFR_RNDN);
        mpfr_div_2ui(e.t1, e.t1, 1, MPFR_RNDN);  // exact at 128 bits
        if (mpfr_equal_p(e.t1, v)) {
            if (ternary > 0) return down;
            if (ternary < 0) return up;
        }
    }
    return mpfr_get_d(v, MPFR_RNDN);
}

// |got - exact| in ulps of the exact value's binade (2^-1074 at least).
double ulp_error(Exact& e, double got) {
    mpfr_srcptr v = e.v;
    if (mpfr_nan_p(v)) return std::isnan(got) ? 0.0 : INFINITY;
    if (std::isnan(got)) return INFINITY;
    if (std::isinf(got)) {
        if (mpfr_inf_p(v) && (got > 0) == (mpfr_sgn(v) > 0)) return 0.0;
        // Overflow: measure against the largest double's ulp.
        if (mpfr_get_d(v, MPFR_RNDN) == got) return 0.0;
        return INFINITY;
    }
    if (mpfr_inf_p(v)) return INFINITY;
    long exponent = mpfr_zero_p(v) ? -2000 : mpfr_get_exp(v);  // v = m 2^exponent, 1/2 <= m < 1
    long ulp_exp = std::max(exponent - 53, -1074L);
    mpfr_set_d(e.t1, got, MPFR_RNDN);
    mpfr_sub(e.t1, e.t1, v, MPFR_RNDN);
    mpfr_mul_2si(e.t1, e.t1, -ulp_exp, MPFR_RNDN);
    return std::fabs(mpfr_get_d(e.t1, MPFR_RNDN));
}

// Distance of the exact value from the nearest rounding midpoint, in ulps
// (for --list-hard).
double midpoint_distance(Exact& e) {
    mpfr_srcptr v = e.v;
    if (!mpfr_number_p(v) || mpfr_zero_p(v)) return 1.0;
    const double down = mpfr_get_d(v, MPFR_RNDD), up = mpfr_get_d(v, MPFR_RNDU);
    if (!std::isfinite(down) || !std::isfinite(up) || down == up) return 1.0;
    const double err = ulp_error(e, down);
    return std::fabs(err - 0.5);
}

int evaluate(const Function& f, Exact& e, Args a) {
    mpfr_set_d(e.a, a.x, MPFR_RNDN);
    mpfr_set_d(e.b, a.y, MPFR_RNDN);
    if (f.mpfr1) return f.mpfr1(e.v, e.a, MPFR_RNDN);
    return f.mpfr2(e.v, e.a, e.b, MPFR_RNDN);
}

bool same_result(double got, double want) {
    if (std::isnan(want)) return std::isnan(got);
    return double_to_bits(got) == double_to_bits(want);
}

// ---------------------------------------------------------------------------
// Statistics
// ---------------------------------------------------------------------------

struct Score {
    std::uint64_t count = 0, correct = 0;
    double worst = -1.0;
    Args worst_at{0, 0};
    void add(double err, bool cr, Args a) {
        ++count;
        if (cr) ++correct;
        if (err > worst) {
            worst = err;
            worst_at = a;
        }
    }
    void merge(const Score& o) {
        count += o.count;
        correct += o.correct;
        if (o.worst > worst) {
            worst = o.worst;
            worst_at = o.worst_at;
        }
    }
};

struct Result {
    Score portable, platform;
    std::vector<std::pair<double, Args>> hard;  // (midpoint distance, args)
    void merge(const Result& o) {
        portable.merge(o.portable);
        platform.merge(o.platform);
        hard.insert(hard.end(), o.hard.begin(), o.hard.end());
    }
};

void check_one(const Function& f, Exact& e, Args a, int mode, Result& out, std::size_t keep_hard) {
    std::fesetround(mode);
    const double got_portable = f.available ? f.portable(a.x, a.y) : 0.0;
    const double got_platform = f.platform(a.x, a.y);
    std::fesetround(FE_TONEAREST);
    const int ternary = evaluate(f, e, a);
    const double want = correctly_rounded(e, ternary, mode);
    // A correctly rounded result counts with its own error too (up to half
    // an ulp to nearest, up to one in the directed modes), so the largest
    // error is the largest of all results, not only of the misrounded ones.
    // Special results count as exact, and so does the largest double given
    // for an overflow in a mode that rounds toward zero.
    const auto error_of = [&](double got, bool cr) {
        if (!cr) return ulp_error(e, got);
        return std::isfinite(got) ? std::min(ulp_error(e, got), 1.0) : 0.0;
    };
    if (f.available) {
        const bool cr = same_result(got_portable, want);
        out.portable.add(error_of(got_portable, cr), cr, a);
    }
    const bool cr = same_result(got_platform, want);
    out.platform.add(error_of(got_platform, cr), cr, a);
    if (keep_hard) {
        const double d = midpoint_distance(e);
        if (out.hard.size() < keep_hard || d < out.hard.back().first) {
            out.hard.emplace_back(d, a);
            std::sort(out.hard.begin(), out.hard.end(), [](auto& p, auto& q) { return p.first < q.first; });
            if (out.hard.size() > keep_hard) out.hard.pop_back();
        }
    }
}

Result run_random(const Function& f, std::uint64_t samples, std::uint64_t seed, int threads, int mode,
                  std::size_t keep_hard) {
    std::vector<Result> parts(static_cast<std::size_t>(threads));
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back([&, t] {
            Exact e;
            Rng rng(seed + 7919u * static_cast<std::uint64_t>(t) + std::hash<std::string>{}(f.name));
            const std::uint64_t n = samples / threads + (static_cast<std::uint64_t>(t) < samples % threads ? 1 : 0);
            for (std::uint64_t i = 0; i < n; ++i) check_one(f, e, f.gen(rng, i & 1), mode, parts[t], keep_hard);
            mpfr_free_cache();
        });
    }
    for (auto& th : pool) th.join();
    Result all;
    for (auto& p : parts) all.merge(p);
    std::sort(all.hard.begin(), all.hard.end(), [](auto& p, auto& q) { return p.first < q.first; });
    if (all.hard.size() > keep_hard) all.hard.resize(keep_hard);
    return all;
}

// hard_cases.txt: "name x [y]" per line, hex or decimal; '#' starts a comment.
std::map<std::string, std::vector<Args>> read_hard_cases(const std::string& path) {
    std::map<std::string, std::vector<Args>> cases;
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "zu_realcheck: cannot read %s\n", path.c_str());
        std::exit(1);
    }
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream s(line);
        std::string name, xs, ys;
        if (!(s >> name >> xs)) continue;
        s >> ys;
        Args a{std::strtod(xs.c_str(), nullptr), ys.empty() ? 0.0 : std::strtod(ys.c_str(), nullptr)};
        cases[name].push_back(a);
    }
    return cases;
}

std::string show(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%a", v);
    return buf;
}

std::string show_args(const Function& f, Args a) {
    if (f.mpfr2) return show(a.x) + ", " + show(a.y);
    return show(a.x);
}

std::string show_score(const Function& f, const Score& s) {
    if (s.count == 0) return "| – | – | – ";
    char buf[256];
    std::snprintf(buf, sizeof buf, "| %.3f | `%s` | %.4f %% ", s.worst, show_args(f, s.worst_at).c_str(),
                  100.0 * static_cast<double>(s.correct) / static_cast<double>(s.count));
    return buf;
}

const char* mode_name(int mode) {
    switch (mode) {
        case FE_UPWARD: return "upward";
        case FE_DOWNWARD: return "downward";
        case FE_TOWARDZERO: return "toward zero";
        default: return "to nearest";
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t samples = 10000000, seed = 20240613, directed = 0;
    int threads = 1;
    std::size_t list_hard = 0;
    std::string only, hard_path = ZU_REALCHECK_HARD_CASES;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "zu_realcheck: %s needs a value\n", arg.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--samples") samples = std::strtoull(value().c_str(), nullptr, 10);
        else if (arg == "--seed") seed = std::strtoull(value().c_str(), nullptr, 10);
        else if (arg == "--threads") threads = std::max(1, std::atoi(value().c_str()));
        else if (arg == "--only") only = "," + value() + ",";
        else if (arg == "--hard") hard_path = value();
        else if (arg == "--directed") directed = std::strtoull(value().c_str(), nullptr, 10);
        else if (arg == "--list-hard") list_hard = std::strtoull(value().c_str(), nullptr, 10);
        else {
            std::fprintf(stderr, "usage: zu_realcheck [--samples N] [--seed S] [--threads T] [--only NAME,...] "
                                 "[--hard FILE] [--directed N] [--list-hard K]\n");
            return 2;
        }
    }
    if (threads > 1 && !mpfr_buildopt_tls_p()) threads = 1;  // MPFR without thread-local caches
    const auto hard = read_hard_cases(hard_path);

    std::printf("Random arguments per function: %" PRIu64 " (seed %" PRIu64 "), plus the hard cases of %s.\n\n",
                samples, seed, hard_path.substr(hard_path.rfind('/') + 1).c_str());
    std::printf("| function | arguments | portable: max ulps | at | portable: correctly rounded "
                "| glibc: max ulps | at | glibc: correctly rounded |\n");
    std::printf("|---|---:|---:|---|---:|---:|---|---:|\n");
    std::vector<std::pair<std::string, Result>> directed_rows;
    for (const Function& f : functions()) {
        if (!only.empty() && only.find("," + std::string(f.name) + ",") == std::string::npos) continue;
        Result r = run_random(f, samples, seed, threads, FE_TONEAREST, list_hard);
        auto it = hard.find(f.name);
        if (it != hard.end()) {
            Exact e;
            for (Args a : it->second) check_one(f, e, a, FE_TONEAREST, r, 0);
        }
        if (f.available) {
            std::printf("| `%s` | %" PRIu64 " %s%s|\n", f.name, r.portable.count, show_score(f, r.portable).c_str(),
                        show_score(f, r.platform).c_str());
        } else {
            std::printf("| `%s` | %" PRIu64 " | (not linked) | | %s|\n", f.name, r.platform.count,
                        show_score(f, r.platform).c_str());
        }
        std::fflush(stdout);
        for (const auto& h : r.hard) std::fprintf(stderr, "%s %s   # %.3g ulp from a midpoint\n", f.name,
                                                  show_args(f, h.second).c_str(), h.first);
        if (directed) {
            for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
                directed_rows.emplace_back(std::string(f.name) + "|" + mode_name(mode),
                                           run_random(f, directed, seed + 1, threads, mode, 0));
            }
        }
    }
    if (!directed_rows.empty()) {
        std::printf("\nDirected rounding modes, %" PRIu64 " random arguments per function and mode "
                    "(both implementations called in the mode; the reference is the exact value rounded "
                    "the same way):\n\n",
                    directed);
        std::printf("| function | mode | portable: max ulps | at | portable: correctly rounded "
                    "| glibc: max ulps | at | glibc: correctly rounded |\n");
        std::printf("|---|---|---:|---|---:|---:|---|---:|\n");
        for (const auto& row : directed_rows) {
            const std::string name = row.first.substr(0, row.first.find('|'));
            const std::string mode = row.first.substr(row.first.find('|') + 1);
            for (const Function& f : functions()) {
                if (name != f.name) continue;
                std::printf("| `%s` | %s %s%s|\n", f.name, mode.c_str(),
                            f.available ? show_score(f, row.second.portable).c_str() : "| (not linked) | | ",
                            show_score(f, row.second.platform).c_str());
            }
        }
    }
    return 0;
}
