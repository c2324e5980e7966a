// zu_complex_bench: the cost of each exported operation of the library next
// to std::complex<double> (inlined, and behind a call), C99 double _Complex
// and the real math calls the library's steps make (the floor).
//
// One benchmark per operation and operand set, e.g. "exp/typical". Each
// iteration takes the next slice of a large pool of operands and runs every
// column over that same slice, in an order that rotates from one iteration to
// the next, timing each column on its own with the steady clock. So all
// columns see the same operands under the same machine conditions, and the
// ratios between them, taken within one repetition, are unaffected by the
// drift of this machine's speed between repetitions. Results are reported as
// user counters, each the median over the iterations of one repetition:
//
//   lib_ns, std_inline_ns, std_call_ns, c99_ns, floor_ns   ns per operation
//   lib/std_call, lib/std_inline, lib/c99, lib/floor        ratios, each taken
//                                                           within an iteration
//
// bench/report.py runs this with repetitions and prints the median of each.
#include "c99_peers.h"
#include "peers.h"
#include "zu_complex.h"

#include <benchmark/benchmark.h>
#include <gnu/libc-version.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <istream>
#include <limits>
#include <ostream>
#include <random>
#include <streambuf>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Sizes
// ---------------------------------------------------------------------------

// Operands per pool: far more than one timed pass, and more than a branch
// predictor can learn. Each operation runs on slices of a length that makes
// one column's pass over a slice take some tens of microseconds (long enough
// for the clock, short enough that an interruption of the process spoils few
// of them); slices are visited with an odd stride, so one cycle through the
// pool visits every slice once, in a scrambled order.
constexpr std::size_t kPoolSize = std::size_t{1} << 18;
constexpr std::size_t kSliceStride = 23;
static_assert(kSliceStride % 2 == 1, "an odd stride visits every slice of a power-of-two pool");

// ---------------------------------------------------------------------------
// Operand pools
// ---------------------------------------------------------------------------

enum class InputSet { typical, special };

// Each column reads its own copy of the operands, in its own type, so calls
// take the address of a pool element just as a program with an array of
// complex numbers would.
struct Pool {
    std::vector<DComplex> la, lb;  // the library
    std::vector<cplx> sa, sb;      // std::complex, inlined and behind a call; floors
    std::vector<bench_pair> ca, cb;  // C99
    std::vector<double> fa, fb;    // interleaved (re, im) pairs for the C-pair functions
    std::vector<int> n;            // integer exponents
    std::vector<double> y;         // real exponents
    std::vector<double> x;         // real bases
    std::string text;              // "(re,im)" texts, one space apart
    std::vector<std::size_t> text_at;  // start of entry i; text_at[kPoolSize] = text.size()
};

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class Generator {
public:
    explicit Generator(std::uint64_t seed) : g_(seed) {}

    double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(g_); }
    bool chance(double p) { return uniform(0.0, 1.0) < p; }
    template <typename T, std::size_t N>
    T pick(const std::array<T, N>& values) {
        return values[std::uniform_int_distribution<std::size_t>(0, N - 1)(g_)];
    }

private:
    std::mt19937_64 g_;
};

// Parts of typical operands: moderate values, so that neither exp nor cosh
// of a part overflows and no power leaves the double range.
constexpr double kPart = 4.0;

// The special values mixed into the special set.
constexpr std::array<double, 5> kSpecialParts = {0.0, -0.0, kInf, -kInf, kNaN};

// The share of special operands in the special set.
constexpr double kSpecialShare = 0.2;

void complex_operand(Generator& g, InputSet set, double& re, double& im) {
    re = g.uniform(-kPart, kPart);
    im = g.uniform(-kPart, kPart);
    if (set == InputSet::special && g.chance(kSpecialShare)) {
        switch (g.pick(std::array<int, 3>{0, 1, 2})) {
            case 0: re = g.pick(kSpecialParts); break;
            case 1: im = g.pick(kSpecialParts); break;
            default:
                re = g.pick(kSpecialParts);
                im = g.pick(kSpecialParts);
                break;
        }
    }
}

// Integer exponents: typical ones skip 0 and 1, which the library answers
// without computing.
int int_exponent(Generator& g, InputSet set) {
    if (set == InputSet::special) return g.pick(std::array<int, 17>{-8, -7, -6, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8});
    return g.pick(std::array<int, 15>{-8, -7, -6, -5, -4, -3, -2, -1, 2, 3, 4, 5, 6, 7, 8});
}

// Real exponents: never integral in the typical set (an integral exponent
// goes to pow(z, int)); the special set adds zeros, integers (that hand-off),
// infinities and NaN.
double real_exponent(Generator& g, InputSet set) {
    if (set == InputSet::special && g.chance(kSpecialShare)) {
        return g.pick(std::array<double, 8>{0.0, -0.0, 1.0, 2.0, -1.0, kInf, -kInf, kNaN});
    }
    return g.uniform(-3.0, 3.0);
}

// Real bases: positive in the typical set; either sign, zeros, infinities and
// NaN in the special set.
double real_base(Generator& g, InputSet set) {
    if (set == InputSet::special) {
        if (g.chance(kSpecialShare)) return g.pick(kSpecialParts);
        return g.uniform(-kPart, kPart);
    }
    return g.uniform(0.25, kPart);
}

void append_double(std::string& out, double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    out += buf;
}

// Text operands: "(re,im)" with all 17 digits. The special set mixes in the
// other accepted forms, "(re)" and a bare "re", and parts that are zero,
// negative zero, subnormal or near the top of the range (text for infinity
// or NaN is not a number to a stream, so it has no place here).
void text_operand(Generator& g, InputSet set, std::string& out) {
    double re = g.uniform(-kPart, kPart);
    double im = g.uniform(-kPart, kPart);
    int form = 0;  // 0: (re,im)  1: (re)  2: re
    if (set == InputSet::special && g.chance(kSpecialShare)) {
        constexpr std::array<double, 7> odd = {0.0, -0.0, 4.9406564584124654e-324, -1e-310,
                                               1.7976931348623157e308, -1e300, 1.0};
        re = g.pick(odd);
        im = g.pick(odd);
        form = g.pick(std::array<int, 3>{0, 1, 2});
    }
    if (form == 2) {
        append_double(out, re);
        return;
    }
    out += '(';
    append_double(out, re);
    if (form == 0) {
        out += ',';
        append_double(out, im);
    }
    out += ')';
}

Pool make_pool(InputSet set) {
    Pool p;
    Generator g(set == InputSet::typical ? 0x7a75c0de0001ULL : 0x7a75c0de0002ULL);
    p.la.reserve(kPoolSize);
    p.lb.reserve(kPoolSize);
    p.n.reserve(kPoolSize);
    p.y.reserve(kPoolSize);
    p.x.reserve(kPoolSize);
    p.text_at.reserve(kPoolSize + 1);
    for (std::size_t i = 0; i < kPoolSize; ++i) {
        double ar = 0, ai = 0, br = 0, bi = 0;
        complex_operand(g, set, ar, ai);
        complex_operand(g, set, br, bi);
        p.la.emplace_back(ar, ai);
        p.lb.emplace_back(br, bi);
        p.n.push_back(int_exponent(g, set));
        p.y.push_back(real_exponent(g, set));
        p.x.push_back(real_base(g, set));
        p.text_at.push_back(p.text.size());
        text_operand(g, set, p.text);
        p.text += ' ';
    }
    p.text_at.push_back(p.text.size());
    for (std::size_t i = 0; i < kPoolSize; ++i) {
        const DComplex& a = p.la[i];
        const DComplex& b = p.lb[i];
        p.sa.emplace_back(a.re, a.im);
        p.sb.emplace_back(b.re, b.im);
        p.ca.push_back(bench_pair{a.re, a.im});
        p.cb.push_back(bench_pair{b.re, b.im});
        p.fa.insert(p.fa.end(), {a.re, a.im});
        p.fb.insert(p.fb.end(), {b.re, b.im});
    }
    return p;
}

// ---------------------------------------------------------------------------
// Streams without allocation: a fixed output area that is rewound before each
// column, and an input area over the pool's text.
// ---------------------------------------------------------------------------

class SinkBuf : public std::streambuf {
public:
    SinkBuf() : area_(std::size_t{1} << 20) { rewind(); }
    void rewind() { setp(area_.data(), area_.data() + area_.size()); }
    std::uint64_t written() const { return static_cast<std::uint64_t>(pptr() - pbase()); }

protected:
    int_type overflow(int_type c) override {
        rewind();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

private:
    std::vector<char> area_;
};

class SourceBuf : public std::streambuf {
public:
    // The stream only reads, and puts back only the character it has just
    // read, which needs no write; the text is never modified.
    void point_at(const char* first, const char* last) {
        setg(const_cast<char*>(first), const_cast<char*>(first), const_cast<char*>(last));
    }
};

struct Scratch {
    SinkBuf sink;
    SourceBuf source;
    std::ostream out{&sink};
    std::istream in{&source};

    void reset(const Pool& p, std::size_t begin, std::size_t end) {
        sink.rewind();
        out.clear();
        source.point_at(p.text.data() + p.text_at[begin], p.text.data() + p.text_at[end]);
        in.clear();
    }
    bool failed() const { return out.fail() || in.fail(); }
};

// ---------------------------------------------------------------------------
// Kernels: one loop per (operation, column), folding every result's bits into
// an accumulator, so that no call can be dropped.
// ---------------------------------------------------------------------------

inline std::uint64_t bits(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}
inline std::uint64_t fold(double re, double im) {
    const std::uint64_t i = bits(im);
    return bits(re) ^ ((i << 1) | (i >> 63));
}
inline std::uint64_t fold(double v) { return bits(v); }
inline std::uint64_t fold(const DComplex& z) { return fold(z.re, z.im); }
inline std::uint64_t fold(const cplx& z) { return fold(z.real(), z.imag()); }
inline std::uint64_t fold(const bench_pair& z) { return fold(z.re, z.im); }

using Kernel = std::uint64_t (*)(Scratch&, const Pool&, std::size_t, std::size_t);

template <typename F>
inline std::uint64_t loop(std::size_t begin, std::size_t end, F f) {
    std::uint64_t acc = 0;
    for (std::size_t i = begin; i < end; ++i) acc ^= fold(f(i));
    return acc;
}

// A kernel whose loop body is EXPR, in terms of the pool p and the index i.
#define ZB_KERNEL(EXPR)                                                                       \
    [](Scratch&, const Pool& p, std::size_t b, std::size_t e) -> std::uint64_t {              \
        return loop(b, e, [&p](std::size_t i) { return (EXPR); });                            \
    }

// The C-pair functions write through a pointer.
#define ZB_PAIR_KERNEL(CALL)                                                                  \
    [](Scratch&, const Pool& p, std::size_t b, std::size_t e) -> std::uint64_t {              \
        std::uint64_t acc = 0;                                                                \
        double r[2];                                                                          \
        for (std::size_t i = b; i < e; ++i) {                                                 \
            CALL(r, &p.fa[2 * i], &p.fb[2 * i]);                                              \
            acc ^= fold(r[0], r[1]);                                                          \
        }                                                                                     \
        return acc;                                                                           \
    }

inline void std_inline_pair_mul(double* r, const double* a, const double* b) {
    const cplx q = cplx(a[0], a[1]) * cplx(b[0], b[1]);
    r[0] = q.real();
    r[1] = q.imag();
}
inline void std_inline_pair_div(double* r, const double* a, const double* b) {
    const cplx q = cplx(a[0], a[1]) / cplx(b[0], b[1]);
    r[0] = q.real();
    r[1] = q.imag();
}

// Stream insertion of each value of the slice; the fold is the count of
// characters written.
#define ZB_WRITE_KERNEL(POOL, WRITE)                                                          \
    [](Scratch& s, const Pool& p, std::size_t b, std::size_t e) -> std::uint64_t {            \
        for (std::size_t i = b; i < e; ++i) WRITE(s.out, p.POOL[i]);                          \
        return s.sink.written();                                                              \
    }
#define ZB_READ_KERNEL(TYPE, READ)                                                            \
    [](Scratch& s, const Pool&, std::size_t b, std::size_t e) -> std::uint64_t {              \
        std::uint64_t acc = 0;                                                                \
        for (std::size_t i = b; i < e; ++i) {                                                 \
            TYPE z;                                                                           \
            READ(s.in, z);                                                                    \
            acc ^= fold(z);                                                                   \
        }                                                                                     \
        return acc;                                                                           \
    }

inline void insert(std::ostream& s, const DComplex& z) { s << z; }
inline void insert(std::ostream& s, const cplx& z) { s << z; }
inline void extract(std::istream& s, DComplex& z) { s >> z; }
inline void extract(std::istream& s, cplx& z) { s >> z; }

// ---------------------------------------------------------------------------
// The operations
// ---------------------------------------------------------------------------

enum Column { kLib, kStdInline, kStdCall, kC99, kFloor, kColumns };
const char* const kColumnNames[kColumns] = {"lib", "std_inline", "std_call", "c99", "floor"};

// The pool arrays an operation reads, warmed into the cache before a slice is
// timed.
enum Uses : unsigned { kA = 1, kB = 2, kN = 4, kY = 8, kX = 16, kFlat = 32, kText = 64 };

// Slice lengths by the rough cost of one operation.
constexpr std::size_t kCheap = 4096;     // a few ns: arithmetic
constexpr std::size_t kModerate = 1024;  // tens of ns: one real call
constexpr std::size_t kDear = 256;       // around 100 ns: several real calls
constexpr std::size_t kStream = 32;      // around 1 us: formatting and parsing

struct Operation {
    const char* name;
    unsigned uses;
    std::size_t slice;
    std::array<Kernel, kColumns> kernels;  // nullptr: no such column
};

// The library's functions are found by ordinary lookup (global namespace,
// DComplex operands); std:: is always spelled out.
const Operation kOperations[] = {
    {"add", kA | kB, kCheap,
     {ZB_KERNEL(p.la[i] + p.lb[i]), ZB_KERNEL(p.sa[i] + p.sb[i]), ZB_KERNEL(std_add(p.sa[i], p.sb[i])),
      ZB_KERNEL(c99_add(&p.ca[i], &p.cb[i])), nullptr}},
    {"mul", kA | kB, kCheap,
     {ZB_KERNEL(p.la[i] * p.lb[i]), ZB_KERNEL(p.sa[i] * p.sb[i]), ZB_KERNEL(std_mul(p.sa[i], p.sb[i])),
      ZB_KERNEL(c99_mul(&p.ca[i], &p.cb[i])), nullptr}},
    {"div", kA | kB, kCheap,
     {ZB_KERNEL(p.la[i] / p.lb[i]), ZB_KERNEL(p.sa[i] / p.sb[i]), ZB_KERNEL(std_div(p.sa[i], p.sb[i])),
      ZB_KERNEL(c99_div(&p.ca[i], &p.cb[i])), nullptr}},
    {"abs", kA, kModerate,
     {ZB_KERNEL(abs(p.la[i])), ZB_KERNEL(std::abs(p.sa[i])), ZB_KERNEL(std_abs(p.sa[i])),
      ZB_KERNEL(c99_abs(&p.ca[i])), ZB_KERNEL(floor_abs(p.sa[i]))}},
    {"arg", kA, kModerate,
     {ZB_KERNEL(arg(p.la[i])), ZB_KERNEL(std::arg(p.sa[i])), ZB_KERNEL(std_arg(p.sa[i])),
      ZB_KERNEL(c99_arg(&p.ca[i])), ZB_KERNEL(floor_arg(p.sa[i]))}},
    {"norm", kA, kCheap,
     {ZB_KERNEL(norm(p.la[i])), ZB_KERNEL(std::norm(p.sa[i])), ZB_KERNEL(std_norm(p.sa[i])),
      ZB_KERNEL(c99_norm(&p.ca[i])), nullptr}},
    {"exp", kA, kDear,
     {ZB_KERNEL(exp(p.la[i])), ZB_KERNEL(std::exp(p.sa[i])), ZB_KERNEL(std_exp(p.sa[i])),
      ZB_KERNEL(c99_exp(&p.ca[i])), ZB_KERNEL(floor_exp(p.sa[i]))}},
    {"log", kA, kDear,
     {ZB_KERNEL(log(p.la[i])), ZB_KERNEL(std::log(p.sa[i])), ZB_KERNEL(std_log(p.sa[i])),
      ZB_KERNEL(c99_log(&p.ca[i])), ZB_KERNEL(floor_log(p.sa[i]))}},
    {"log10", kA, kDear,
     {ZB_KERNEL(log10(p.la[i])), ZB_KERNEL(std::log10(p.sa[i])), ZB_KERNEL(std_log10(p.sa[i])),
      ZB_KERNEL(c99_log10(&p.ca[i])), ZB_KERNEL(floor_log(p.sa[i]))}},
    {"sqrt", kA, kDear,
     {ZB_KERNEL(sqrt(p.la[i])), ZB_KERNEL(std::sqrt(p.sa[i])), ZB_KERNEL(std_sqrt(p.sa[i])),
      ZB_KERNEL(c99_sqrt(&p.ca[i])), ZB_KERNEL(floor_sqrt(p.sa[i]))}},
    {"pow_z_int", kA | kN, kDear,
     {ZB_KERNEL(pow(p.la[i], p.n[i])), ZB_KERNEL(std::pow(p.sa[i], p.n[i])), ZB_KERNEL(std_pow_int(p.sa[i], p.n[i])),
      ZB_KERNEL(c99_pow_int(&p.ca[i], p.n[i])), ZB_KERNEL(floor_pow_int(p.sa[i], p.n[i]))}},
    {"pow_z_double", kA | kY, kDear,
     {ZB_KERNEL(pow(p.la[i], p.y[i])), ZB_KERNEL(std::pow(p.sa[i], p.y[i])),
      ZB_KERNEL(std_pow_real(p.sa[i], p.y[i])), ZB_KERNEL(c99_pow_real(&p.ca[i], p.y[i])),
      ZB_KERNEL(floor_pow_real(p.sa[i], p.y[i]))}},
    {"pow_double_w", kB | kX, kDear,
     {ZB_KERNEL(pow(p.x[i], p.lb[i])), ZB_KERNEL(std::pow(p.x[i], p.sb[i])),
      ZB_KERNEL(std_pow_real_base(p.x[i], p.sb[i])), ZB_KERNEL(c99_pow_real_base(p.x[i], &p.cb[i])),
      ZB_KERNEL(floor_pow_real_base(p.x[i], p.sb[i]))}},
    {"pow_z_w", kA | kB, kDear,
     {ZB_KERNEL(pow(p.la[i], p.lb[i])), ZB_KERNEL(std::pow(p.sa[i], p.sb[i])), ZB_KERNEL(std_pow(p.sa[i], p.sb[i])),
      ZB_KERNEL(c99_pow(&p.ca[i], &p.cb[i])), ZB_KERNEL(floor_pow(p.sa[i], p.sb[i]))}},
    {"sin", kA, kDear,
     {ZB_KERNEL(sin(p.la[i])), ZB_KERNEL(std::sin(p.sa[i])), ZB_KERNEL(std_sin(p.sa[i])),
      ZB_KERNEL(c99_sin(&p.ca[i])), ZB_KERNEL(floor_sin(p.sa[i]))}},
    {"cos", kA, kDear,
     {ZB_KERNEL(cos(p.la[i])), ZB_KERNEL(std::cos(p.sa[i])), ZB_KERNEL(std_cos(p.sa[i])),
      ZB_KERNEL(c99_cos(&p.ca[i])), ZB_KERNEL(floor_cos(p.sa[i]))}},
    {"tan", kA, kDear,
     {ZB_KERNEL(tan(p.la[i])), ZB_KERNEL(std::tan(p.sa[i])), ZB_KERNEL(std_tan(p.sa[i])),
      ZB_KERNEL(c99_tan(&p.ca[i])), ZB_KERNEL(floor_tan(p.sa[i]))}},
    {"sinh", kA, kDear,
     {ZB_KERNEL(sinh(p.la[i])), ZB_KERNEL(std::sinh(p.sa[i])), ZB_KERNEL(std_sinh(p.sa[i])),
      ZB_KERNEL(c99_sinh(&p.ca[i])), ZB_KERNEL(floor_sinh(p.sa[i]))}},
    {"cosh", kA, kDear,
     {ZB_KERNEL(cosh(p.la[i])), ZB_KERNEL(std::cosh(p.sa[i])), ZB_KERNEL(std_cosh(p.sa[i])),
      ZB_KERNEL(c99_cosh(&p.ca[i])), ZB_KERNEL(floor_cosh(p.sa[i]))}},
    {"tanh", kA, kDear,
     {ZB_KERNEL(tanh(p.la[i])), ZB_KERNEL(std::tanh(p.sa[i])), ZB_KERNEL(std_tanh(p.sa[i])),
      ZB_KERNEL(c99_tanh(&p.ca[i])), ZB_KERNEL(floor_tanh(p.sa[i]))}},
    {"asin", kA, kDear,
     {ZB_KERNEL(asin(p.la[i])), ZB_KERNEL(std::asin(p.sa[i])), ZB_KERNEL(std_asin(p.sa[i])),
      ZB_KERNEL(c99_asin(&p.ca[i])), ZB_KERNEL(floor_asin(p.sa[i]))}},
    {"acos", kA, kDear,
     {ZB_KERNEL(acos(p.la[i])), ZB_KERNEL(std::acos(p.sa[i])), ZB_KERNEL(std_acos(p.sa[i])),
      ZB_KERNEL(c99_acos(&p.ca[i])), ZB_KERNEL(floor_acos(p.sa[i]))}},
    {"atan", kA, kDear,
     {ZB_KERNEL(atan(p.la[i])), ZB_KERNEL(std::atan(p.sa[i])), ZB_KERNEL(std_atan(p.sa[i])),
      ZB_KERNEL(c99_atan(&p.ca[i])), ZB_KERNEL(floor_atan(p.sa[i]))}},
    {"stream_write", kA, kStream,
     {ZB_WRITE_KERNEL(la, insert), ZB_WRITE_KERNEL(sa, insert), ZB_WRITE_KERNEL(sa, std_write), nullptr, nullptr}},
    {"stream_read", kText, kStream,
     {ZB_READ_KERNEL(DComplex, extract), ZB_READ_KERNEL(cplx, extract), ZB_READ_KERNEL(cplx, std_read), nullptr,
      nullptr}},
    {"pair_mul", kFlat, kCheap,
     {ZB_PAIR_KERNEL(Vel_ComplexMultiply), ZB_PAIR_KERNEL(std_inline_pair_mul), ZB_PAIR_KERNEL(std_pair_mul),
      ZB_PAIR_KERNEL(c99_pair_mul), nullptr}},
    {"pair_div", kFlat, kCheap,
     {ZB_PAIR_KERNEL(Vel_ComplexDivide), ZB_PAIR_KERNEL(std_inline_pair_div), ZB_PAIR_KERNEL(std_pair_div),
      ZB_PAIR_KERNEL(c99_pair_div), nullptr}},
};

// ---------------------------------------------------------------------------
// The driver
// ---------------------------------------------------------------------------

using Clock = std::chrono::steady_clock;

// The cost of reading the clock, taken off every timed interval: the median of
// many back-to-back readings.
double clock_overhead_ns() {
    std::vector<double> d;
    for (int k = 0; k < 4001; ++k) {
        const auto t0 = Clock::now();
        const auto t1 = Clock::now();
        d.push_back(std::chrono::duration<double, std::nano>(t1 - t0).count());
    }
    std::nth_element(d.begin(), d.begin() + d.size() / 2, d.end());
    return d[d.size() / 2];
}

double g_clock_overhead_ns = 0.0;

template <typename T>
void touch(const std::vector<T>& v, std::size_t first, std::size_t last, std::uint64_t& sum) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(v.data());
    for (std::size_t k = first * sizeof(T); k < last * sizeof(T); k += 64) sum += bytes[k];
}

// Brings the slice of every array the operation reads into the cache, so that
// no column pays for the first touch.
void warm(const Operation& op, const Pool& p, std::size_t b, std::size_t e) {
    std::uint64_t sum = 0;
    if (op.uses & kA) {
        touch(p.la, b, e, sum);
        touch(p.sa, b, e, sum);
        touch(p.ca, b, e, sum);
    }
    if (op.uses & kB) {
        touch(p.lb, b, e, sum);
        touch(p.sb, b, e, sum);
        touch(p.cb, b, e, sum);
    }
    if (op.uses & kN) touch(p.n, b, e, sum);
    if (op.uses & kY) touch(p.y, b, e, sum);
    if (op.uses & kX) touch(p.x, b, e, sum);
    if (op.uses & kFlat) {
        touch(p.fa, 2 * b, 2 * e, sum);
        touch(p.fb, 2 * b, 2 * e, sum);
    }
    if (op.uses & kText) {
        for (std::size_t k = p.text_at[b]; k < p.text_at[e]; k += 64) sum += static_cast<unsigned char>(p.text[k]);
    }
    benchmark::DoNotOptimize(sum);
}

// The column run k-th in iteration `step`: the starting column moves by one
// each iteration, and the direction reverses every kColumns iterations, so
// each column runs in each position and after each of the others.
int column_at(std::size_t step, int k) {
    const int start = static_cast<int>(step % kColumns);
    const bool backward = (step / kColumns) % 2 == 1;
    return backward ? (start - k + kColumns) % kColumns : (start + k) % kColumns;
}

double median(std::vector<double>& v) {
    if (v.empty()) return 0.0;
    const auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    if (v.size() % 2 == 1) return *mid;
    return (*mid + *std::max_element(v.begin(), mid)) / 2.0;
}

// One repetition of one operation on one operand set. Every iteration times
// each column once over the same slice; the reported figures are medians over
// the iterations of the repetition: per column the ns per operation, and per
// ratio the ratio of the library's time to the other column's time in the
// same iteration. Medians, because this machine is shared: an iteration in
// which the process was interrupted is an outlier, not a shift.
void run_operation(benchmark::State& state, const Operation& op, const Pool& pool) {
    Scratch scratch;
    const std::size_t slices = kPoolSize / op.slice;
    std::vector<std::array<double, kColumns>> times;  // ns per operation, per iteration
    std::size_t step = 0;
    for (auto _ : state) {
        const std::size_t begin = ((step * kSliceStride) % slices) * op.slice;
        const std::size_t end = begin + op.slice;
        warm(op, pool, begin, end);
        std::array<double, kColumns> t{};
        for (int k = 0; k < kColumns; ++k) {
            const int c = column_at(step, k);
            if (op.kernels[c] == nullptr) continue;
            scratch.reset(pool, begin, end);
            const auto t0 = Clock::now();
            const std::uint64_t folded = op.kernels[c](scratch, pool, begin, end);
            const auto t1 = Clock::now();
            benchmark::DoNotOptimize(folded);
            const double ns = std::chrono::duration<double, std::nano>(t1 - t0).count() - g_clock_overhead_ns;
            t[c] = std::max(ns, 0.0) / static_cast<double>(op.slice);
            if (scratch.failed()) {
                state.SkipWithError((std::string(kColumnNames[c]) + ": the stream failed").c_str());
                return;
            }
        }
        times.push_back(t);
        ++step;
    }
    if (times.empty()) return;

    std::vector<double> v;
    v.reserve(times.size());
    for (int c = 0; c < kColumns; ++c) {
        if (op.kernels[c] == nullptr) continue;
        v.clear();
        for (const auto& t : times) v.push_back(t[c]);
        state.counters[std::string(kColumnNames[c]) + "_ns"] = median(v);
    }
    for (int c = kStdInline; c < kColumns; ++c) {
        if (op.kernels[c] == nullptr) continue;
        v.clear();
        for (const auto& t : times) {
            if (t[c] > 0.0) v.push_back(t[kLib] / t[c]);
        }
        state.counters[std::string("lib/") + kColumnNames[c]] = median(v);
    }
    state.counters["ops"] = static_cast<double>(times.size() * op.slice);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    static const Pool typical = make_pool(InputSet::typical);
    static const Pool special = make_pool(InputSet::special);
    g_clock_overhead_ns = clock_overhead_ns();

    char overhead[32];
    std::snprintf(overhead, sizeof overhead, "%.1f", g_clock_overhead_ns);
    benchmark::AddCustomContext("zu_cxx_compiler",
#if defined(__clang__)
                                std::string("clang ") + __clang_version__
#else
                                std::string("gcc ") + __VERSION__
#endif
    );
    benchmark::AddCustomContext("zu_c_compiler", c99_compiler_version());
    benchmark::AddCustomContext("zu_glibc", gnu_get_libc_version());
#ifdef _GLIBCXX_RELEASE
    benchmark::AddCustomContext("zu_libstdcxx", std::to_string(_GLIBCXX_RELEASE));
#endif
    benchmark::AddCustomContext("zu_build_type", ZU_BENCH_BUILD_TYPE);
    benchmark::AddCustomContext("zu_cxx_flags", ZU_BENCH_CXX_FLAGS);
    benchmark::AddCustomContext("zu_pool", std::to_string(kPoolSize) + " operands per set, slice stride " +
                                               std::to_string(kSliceStride));
    benchmark::AddCustomContext("zu_clock_overhead_ns", overhead);

    for (const Operation& op : kOperations) {
        for (const auto& set : {std::make_pair("typical", &typical), std::make_pair("special", &special)}) {
            const Pool* pool = set.second;
            const Operation* operation = &op;
            benchmark::RegisterBenchmark((std::string(op.name) + "/" + set.first).c_str(),
                                         [operation, pool](benchmark::State& state) {
                                             run_operation(state, *operation, *pool);
                                         })
                ->Unit(benchmark::kMicrosecond)
                ->UseRealTime();  // min_time in wall-clock time, so a busy machine does not stretch the run
        }
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
