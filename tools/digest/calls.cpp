// One chunk of the digest: every exported function on every step's
// operands, each call's outcome hashed as words:
//   the function's number; every report the call made (type, name, arg1,
//   arg2, retval as the hook received them); the result's bits; errno.
// Every NaN is hashed as one canonical NaN: which NaN an operation with two
// NaN operands passes on, and the sign of the processor's own 0/0 (the
// library's table NaN), are the processor's and compiler's choice, not the
// library's. Nothing else is changed.
#include "digest.h"
#include "operands.h"

#include "zu_complex.h"

#include <cerrno>
#include <cstring>
#include <iomanip>
#include <iterator>
#include <sstream>

namespace zudigest {

namespace {

// The functions in hash order; the numbers are hashed too.
enum Fn : int {
    kConj, kNeg, kCeil, kFloor, kRound, kExp, kLog, kLog10, kSqrt, kCosh, kSinh, kTanh, kCos, kSin, kTan,
    kAcos, kAsin, kAtan,
    kReal, kImag, kAbs, kNorm, kArg, kVelRound, kPolar, kPowInt, kPowDouble, kPowRealBase,
    kAdd, kSub, kMul, kDiv, kHypot, kPow, kEq, kNe, kAddDouble, kAddToDouble, kSubDouble, kSubFromDouble,
    kAddAssign, kSubAssign, kMulAssign, kDivAssign, kVelMultiply, kVelDivide,
    kInsert, kExtract,
    kVelInitFP, kVelNaN, kVelInf, kVelNaNFloat, kVelInfFloat,
    kFunctionCount
};

const char* const kNames[] = {
    "conj", "operator-(z)", "ceil", "floor", "round", "exp", "log", "log10", "sqrt", "cosh", "sinh", "tanh",
    "cos", "sin", "tan", "acos", "asin", "atan",
    "real", "imag", "abs", "norm", "arg", "Vel_Round", "polar", "pow(z,int)", "pow(z,double)",
    "pow(double,z)",
    "operator+", "operator-", "operator*", "operator/", "hypot", "pow(z,w)", "operator==", "operator!=",
    "operator+(z,double)", "operator+(double,z)", "operator-(z,double)", "operator-(double,z)",
    "operator+=", "operator-=", "operator*=", "operator/=", "Vel_ComplexMultiply", "Vel_ComplexDivide",
    "operator<<", "operator>>",
    "VelInitFP", "Vel_NaN", "Vel_Inf", "Vel_NaN_Float", "Vel_Inf_Float",
};
static_assert(std::size(kNames) == kFunctionCount, "one name per function");

constexpr std::uint64_t kCanonicalNaN = 0x7ff8000000000000u;
constexpr std::uint32_t kCanonicalNaNFloat = 0x7fc00000u;

std::uint64_t canonical(double v) {
    const std::uint64_t b = to_bits(v);
    return (b & 0x7fffffffffffffffu) > 0x7ff0000000000000u ? kCanonicalNaN : b;
}

std::uint64_t canonical(float v) {
    std::uint32_t b;
    std::memcpy(&b, &v, sizeof b);
    return (b & 0x7fffffffu) > 0x7f800000u ? kCanonicalNaNFloat : b;
}

// Zero or a normal number: its 17-digit text reads back the same in every
// C++ library (strtod reports a subnormal as a range error, which some
// stream libraries take for a failure).
bool reads_back(double v) {
    const std::uint64_t exponent = to_bits(v) & 0x7ff0000000000000u;
    return exponent != 0x7ff0000000000000u && (exponent != 0 || (to_bits(v) << 1) == 0);
}

// errno after a call, as the same number everywhere: whether the call left
// it alone, and which of the two values the library and the C functions set.
constexpr int kErrnoSentinel = 4242;
std::uint64_t errno_code(int e) {
    if (e == kErrnoSentinel) return 0;
    if (e == EDOM) return 1;
    if (e == ERANGE) return 2;
    if (e == 0) return 3;
    return 0x100u + static_cast<std::uint32_t>(e);
}

// Texts for operator>> beyond what operator<< writes: every form it accepts
// and every way the parenthesised form fails. (Nothing that C++ libraries
// read differently: hexadecimal, or numbers beyond the range of doubles.)
const char* const kExtractTexts[] = {
    "(1.5,-2)", "(3)", "1.5", " ( 3 , -4 ) ", "1,2", "(1 2)", "(1,2,3)", "(1,2", "(x)", "()", "", "x", "(1,)",
    "(,1)", "-0.0 rest", "(1e5,-2.5e-3)", "(-0,-0)",
};

// What operator>> did: the target and the stream's state, as bits of our own.
struct Extracted {
    DComplex target;
    int state;
};

class Recorder;
thread_local Recorder* t_recorder = nullptr;

class Recorder {
public:
    Recorder(ChunkResult& result, bool per_function, std::ostream* dump) : result_(result), dump_(dump) {
        if (per_function) result_.per_function.assign(kFunctionCount, Hash());
        t_recorder = this;
    }
    ~Recorder() { t_recorder = nullptr; }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void set_take_over(bool t) { take_over_ = t; }

    // One call: its reports, its result and errno.
    template <class F>
    void call(Fn fn, F f) {
        begin(fn);
        errno = kErrnoSentinel;
        const auto value = f();
        const int err = errno;
        put(value);
        word(errno_code(err));
        end();
    }

    // A stream operator: the C runtime may leave errno set while it formats
    // or parses a number (strtod on a subnormal), so errno is not hashed.
    template <class F>
    void call_without_errno(Fn fn, F f) {
        begin(fn);
        put(f());
        end();
    }

    // The hook: the record as it arrives, then the answer. Taking over, it
    // writes a retval of its own and answers 1.
    int on_report(c_exception& e) {
        const int saved = errno;
        put(e.type);
        put(std::string(e.name != nullptr ? e.name : "<null>"));
        put(e.arg1);
        put(e.arg2);
        put(e.retval);
        errno = saved;
        if (!take_over_) return 0;
        e.retval = DComplex(e.arg1.im, e.arg1.re);
        return 1;
    }

    void dump_step(int step, const Operands& o) {
        if (dump_ == nullptr) return;
        line_ << "step " << step << " a=" << hex(canonical(o.a.re)) << ',' << hex(canonical(o.a.im))
              << " b=" << hex(canonical(o.b.re)) << ',' << hex(canonical(o.b.im)) << " n=" << o.n
              << " take_over=" << o.take_over;
        *dump_ << line_.str() << '\n';
        line_.str(std::string());
    }

private:
    static std::string hex(std::uint64_t w) {
        std::ostringstream s;
        s << std::hex << std::setw(16) << std::setfill('0') << w;
        return s.str();
    }

    void begin(Fn fn) {
        fn_ = fn;
        if (dump_ != nullptr) line_ << "  " << kNames[fn];
        word(static_cast<std::uint64_t>(fn));
    }
    void end() {
        if (dump_ == nullptr) return;
        *dump_ << line_.str() << '\n';
        line_.str(std::string());
    }
    void word(std::uint64_t w) {
        result_.all.add(w);
        if (!result_.per_function.empty()) result_.per_function[fn_].add(w);
        if (dump_ != nullptr) line_ << ' ' << hex(w);
    }

    void put(double v) { word(canonical(v)); }
    void put(float v) { word(canonical(v)); }
    void put(int v) { word(static_cast<std::uint32_t>(v)); }
    void put(const DComplex& z) {
        put(z.re);
        put(z.im);
    }
    void put(const Extracted& e) {
        put(e.target);
        put(e.state);
    }
    // Eight characters to a word, first character lowest, then the length.
    void put(const std::string& s) {
        std::uint64_t w = 0;
        std::size_t i = 0;
        for (; i < s.size(); ++i) {
            w |= std::uint64_t{static_cast<unsigned char>(s[i])} << (8 * (i % 8));
            if (i % 8 == 7) {
                word(w);
                w = 0;
            }
        }
        if (i % 8 != 0) word(w);
        word(s.size());
    }

    ChunkResult& result_;
    std::ostream* dump_;
    std::ostringstream line_;
    Fn fn_ = kConj;
    bool take_over_ = false;
};

Extracted extract(std::istringstream& in, const std::string& text) {
    in.clear();
    in.str(text);
    DComplex t(-7.25, 99.5);
    in >> t;
    const int state = (in.bad() ? 1 : 0) | ((in.rdstate() & std::ios::failbit) != 0 ? 2 : 0) | (in.eof() ? 4 : 0);
    return {t, state};
}

// The stream operators run on one step in kTextEvery: formatting and parsing
// numbers, which is the C runtime's work, costs more than all the other calls
// of a step together, and too much under an emulator.
constexpr int kTextEvery = 8;

void step(Recorder& rec, const Operands& o, std::ostringstream* out, std::istringstream& in) {
    using F1 = DComplex (*)(const DComplex&);
    using D1 = double (*)(const DComplex&);
    using F2 = DComplex (*)(const DComplex&, const DComplex&);
    using Compound = void (DComplex::*)(const DComplex&);
    using Pair = void (*)(double*, const double*, const double*);
    const DComplex a = o.a, b = o.b;
    const double x = b.re, y = b.im;
    rec.set_take_over(o.take_over);

    const F1 unary[] = {conj, F1(operator-), ceil, floor, round, exp, log, log10, sqrt, cosh, sinh, tanh,
                        cos, sin, tan, acos, asin, atan};
    for (int i = 0; i < static_cast<int>(std::size(unary)); ++i) {
        rec.call(Fn(kConj + i), [&] { return unary[i](a); });
    }
    const D1 to_double[] = {real, imag, abs, norm, arg};
    for (int i = 0; i < static_cast<int>(std::size(to_double)); ++i) {
        rec.call(Fn(kReal + i), [&] { return to_double[i](a); });
    }
    rec.call(kVelRound, [&] { return Vel_Round(a.re); });
    rec.call(kPolar, [&] { return polar(a.re, a.im); });
    rec.call(kPowInt, [&] { return pow(a, o.n); });
    rec.call(kPowDouble, [&] { return pow(a, x); });
    rec.call(kPowRealBase, [&] { return pow(y, a); });

    const F2 binary[] = {F2(operator+), F2(operator-), F2(operator*), F2(operator/), hypot, F2(pow)};
    for (int i = 0; i < static_cast<int>(std::size(binary)); ++i) {
        rec.call(Fn(kAdd + i), [&] { return binary[i](a, b); });
    }
    rec.call(kEq, [&] { return a == b; });
    rec.call(kNe, [&] { return a != b; });
    rec.call(kAddDouble, [&] { return a + x; });
    rec.call(kAddToDouble, [&] { return x + a; });
    rec.call(kSubDouble, [&] { return a - x; });
    rec.call(kSubFromDouble, [&] { return x - a; });
    const Compound compound[] = {&DComplex::operator+=, &DComplex::operator-=, &DComplex::operator*=,
                                 &DComplex::operator/=};
    for (int i = 0; i < static_cast<int>(std::size(compound)); ++i) {
        rec.call(Fn(kAddAssign + i), [&] {
            DComplex c = a;
            (c.*compound[i])(b);
            return c;
        });
    }
    const Pair pairs[] = {Vel_ComplexMultiply, Vel_ComplexDivide};
    for (int i = 0; i < 2; ++i) {
        rec.call(Fn(kVelMultiply + i), [&] {
            double r[2] = {a.re, a.im};
            const double w[2] = {b.re, b.im};
            pairs[i](r, r, w);  // the result in the first operand's storage
            return DComplex(r[0], r[1]);
        });
    }

    // Text: 17 significant digits, which C asks to be correctly rounded, so
    // the digits are the same everywhere; what is read back is the text
    // itself when both parts are zero or normal (how NaN, infinity and
    // subnormals read back is the stream library's own choice).
    if (out == nullptr) return;
    out->str(std::string());
    out->clear();
    *out << a;
    const std::string text = out->str();
    rec.call_without_errno(kInsert, [&] { return canonical_text(text); });
    if (reads_back(a.re) && reads_back(a.im)) {
        rec.call_without_errno(kExtract, [&] { return extract(in, text); });
    }
}

}  // namespace

const std::vector<std::string>& function_names() {
    static const std::vector<std::string> names(std::begin(kNames), std::end(kNames));
    return names;
}

ChunkResult run_chunk(int chunk, bool per_function, std::ostream* dump) {
    ChunkResult result;
    Recorder rec(result, per_function, dump);
    std::ostringstream out;
    out.precision(17);
    std::istringstream in;

    rec.call(kVelInitFP, [] { return VelInitFP(); });
    rec.call(kVelNaN, [] { return Vel_NaN(); });
    rec.call(kVelInf, [] { return Vel_Inf(); });
    rec.call(kVelNaNFloat, [] { return Vel_NaN_Float(); });
    rec.call(kVelInfFloat, [] { return Vel_Inf_Float(); });
    for (const char* text : kExtractTexts) {
        rec.call_without_errno(kExtract, [&] { return extract(in, text); });
    }

    OperandGenerator gen(kSeed + static_cast<std::uint64_t>(chunk));
    for (int i = 0; i < kStepsPerChunk; ++i) {
        const Operands o = gen.next();
        rec.dump_step(i, o);
        step(rec, o, i % kTextEvery == 0 ? &out : nullptr, in);
    }
    return result;
}

std::string Hash::hex() const {
    std::ostringstream s;
    s << std::hex << std::setfill('0') << std::setw(16) << hi_ << std::setw(16) << lo_;
    return s.str();
}

}  // namespace zudigest

// The program's own hook: on ELF it interposes on the library's; on Windows
// the header exports it from the .exe, where the library looks for it.
int DComplex_error(c_exception& e) {
    return zudigest::t_recorder != nullptr ? zudigest::t_recorder->on_report(e) : 0;
}
