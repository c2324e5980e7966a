// Every function on arbitrary bit patterns. The input is two complex
// operands a and b, a double x and an int n (8 or 4 bytes each, missing
// bytes zero), then a byte choosing the hook's answer. Checked bit for bit:
// - the compound operators and the C pairs (also with the result in an
//   operand's storage) equal the free operators;
// - conj and unary minus flip sign bits and nothing else;
// - cos(z) is cosh(-z.im, z.re), and sin(z) is (t.im, -t.re) for
//   t = sinh(-z.im, z.re) (for z with a NaN part, the library's (NaN, NaN)
//   without a report), reports and errno included;
// - results, reports and errno do not depend on earlier calls or on the
//   thread: every function runs twice here and once on another thread;
// - every array function, on the input read as up to 24 operand pairs
//   (32 bytes each), gives the scalar function's bits for every element,
//   with the result apart and in the first operand's storage.
#include "zu_complex.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::uint64_t bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

struct Operands {
    DComplex a, b;
    double x;
    int n;
    std::uint8_t hook;  // bit 0: the hook answers 1; bit 1: it writes (x, -x) into retval
};

Operands parse(const std::uint8_t* data, std::size_t size) {
    unsigned char buf[45] = {};
    std::memcpy(buf, data, size < sizeof buf ? size : sizeof buf);
    double d[5];
    std::memcpy(d, buf, sizeof d);
    Operands o{{d[0], d[1]}, {d[2], d[3]}, d[4], 0, buf[44]};
    std::memcpy(&o.n, buf + 40, sizeof o.n);
    return o;
}

[[noreturn]] void fail(const char* what, const Operands& o) {
    std::fprintf(stderr, "invariant broken: %s\n  a = (%a, %a), b = (%a, %a), x = %a, n = %d, hook %d\n", what,
                 o.a.re, o.a.im, o.b.re, o.b.im, o.x, o.n, o.hook);
    std::abort();
}

// A call's observable outcome, flattened: result bits, errno after it (set to
// a sentinel before), then per report its type, name, arg1, arg2 and retval
// as the hook saw them.
using Trace = std::vector<std::uint64_t>;
constexpr int kErrnoSentinel = 4242;

struct HookState {
    Trace* trace = nullptr;
    const Operands* operands = nullptr;
};
thread_local HookState t_hook;

template <class F>
Trace call(const Operands& o, F f) {
    Trace trace(3);
    t_hook = HookState{&trace, &o};
    errno = kErrnoSentinel;
    const DComplex value = f();
    trace[2] = static_cast<std::uint64_t>(errno);
    t_hook = HookState{};
    trace[0] = bits(value.re);
    trace[1] = bits(value.im);
    return trace;
}

// Every exported function on the operands, in a fixed order.
std::vector<Trace> run_all(const Operands& o) {
    const DComplex a = o.a, b = o.b;
    const double x = o.x;
    std::vector<Trace> out;
    auto add = [&](auto f) { out.push_back(call(o, f)); };
    using F1 = DComplex (*)(const DComplex&);
    using D1 = double (*)(const DComplex&);
    for (F1 f : {F1(conj), F1(ceil), F1(floor), F1(round), F1(exp), F1(log), F1(log10), F1(sqrt), F1(cosh),
                 F1(sinh), F1(tanh), F1(cos), F1(sin), F1(tan), F1(acos), F1(asin), F1(atan), F1(operator-)}) {
        add([&] { return f(a); });
    }
    for (D1 f : {D1(real), D1(imag), D1(abs), D1(norm), D1(arg)}) add([&] { return DComplex(f(a)); });
    add([&] { return DComplex(a == b, a != b); });
    add([&] { return a + b; });
    add([&] { return a - b; });
    add([&] { return a * b; });
    add([&] { return a / b; });
    add([&] { return a + x; });
    add([&] { return x + a; });
    add([&] { return a - x; });
    add([&] { return x - a; });
    add([&] { return hypot(a, b); });
    add([&] { return pow(a, o.n); });
    add([&] { return pow(a, x); });
    add([&] { return pow(x, a); });
    add([&] { return pow(a, b); });
    add([&] { return polar(x, a.re); });
    add([&] { return DComplex(Vel_Round(x)); });
    std::ostringstream text;
    text.precision(17);
    text << a << b;
    const std::string written = text.str();
    out.push_back(Trace(written.begin(), written.end()));
    return out;
}

// A second thread, kept for the whole run: starting one per input would cost
// far more than the calls it makes.
class Worker {
public:
    Worker() : thread_([this] { loop(); }) {}

    std::vector<Trace> run(const Operands& o) {
        std::unique_lock<std::mutex> lock(mutex_);
        job_ = &o;
        wake_.notify_all();
        wake_.wait(lock, [this] { return job_ == nullptr; });
        return std::move(result_);
    }

private:
    void loop() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return job_ != nullptr; });
            result_ = run_all(*job_);
            job_ = nullptr;
            wake_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    const Operands* job_ = nullptr;
    std::vector<Trace> result_;
    std::thread thread_;  // last: starts once the rest is ready
};

using Compound = void (DComplex::*)(const DComplex&);
using Free = DComplex (*)(const DComplex&, const DComplex&);
using Pair = void (*)(double*, const double*, const double*);

bool same(const DComplex& p, const DComplex& q) { return bits(p.re) == bits(q.re) && bits(p.im) == bits(q.im); }

// z op= w, and the C pair with every aliasing the header allows, against z op w.
bool all_forms_agree(const DComplex& z, const DComplex& w, Compound compound, Free op, Pair pair) {
    DComplex c = z;
    (c.*compound)(w);
    DComplex self = z;
    (self.*compound)(self);
    bool ok = same(c, op(z, w)) && same(self, op(z, z));
    if (pair == nullptr) return ok;
    const double p[2] = {z.re, z.im}, q[2] = {w.re, w.im};
    double r[2], s[2] = {z.re, z.im}, t[2] = {w.re, w.im}, u[2] = {z.re, z.im};
    pair(r, p, q);
    pair(s, s, q);
    pair(t, p, t);
    pair(u, u, u);
    for (const double* v : {r, s, t}) ok = ok && same(DComplex(v[0], v[1]), op(z, w));
    return ok && same(DComplex(u[0], u[1]), op(z, z));
}

// The array functions against their scalar functions: element k of a is
// bytes 32k to 32k+15 of the input, element k of b the next 16; the factor
// of scale is b[0].
bool arrays_agree(const std::uint8_t* data, std::size_t size) {
    const std::size_t n = std::min<std::size_t>(size / 32, 24);
    std::vector<double> a(2 * n), b(2 * n);
    for (std::size_t k = 0; k < n; ++k) {
        std::memcpy(&a[2 * k], data + 32 * k, 16);
        std::memcpy(&b[2 * k], data + 32 * k + 16, 16);
    }
    using Array = void (*)(double*, const double*, const double*, std::size_t);
    using Scalar = DComplex (*)(const DComplex&, const DComplex&);
    const struct {
        Array array;
        Scalar scalar;
        std::size_t out;  // doubles per result element
        bool one_b;       // the scalar function takes b[0] for every element
    } functions[] = {
        {static_cast<Array>(Vel_ComplexMultiplyArray), operator*, 2, false},
        {static_cast<Array>(Vel_ComplexDivideArray), operator/, 2, false},
        {static_cast<Array>(Vel_ComplexAddArray), static_cast<Scalar>(operator+), 2, false},
        {static_cast<Array>(Vel_ComplexSubtractArray), static_cast<Scalar>(operator-), 2, false},
        {static_cast<Array>(Vel_ComplexScaleArray), operator*, 2, true},
        {[](double* r, const double* x, const double*, std::size_t m) { Vel_ComplexConjArray(r, x, m); },
         [](const DComplex& x, const DComplex&) { return conj(x); }, 2, false},
        {[](double* r, const double* x, const double*, std::size_t m) { Vel_ComplexAbsArray(r, x, m); },
         [](const DComplex& x, const DComplex&) { return DComplex(abs(x)); }, 1, false},
        {[](double* r, const double* x, const double*, std::size_t m) { Vel_ComplexNormArray(r, x, m); },
         [](const DComplex& x, const DComplex&) { return DComplex(norm(x)); }, 1, false},
    };
    for (std::size_t f = 0; f < sizeof functions / sizeof functions[0]; ++f) {
        const std::size_t out = functions[f].out;
        std::vector<double> want(2 * n), got(2 * n), in_place(a);
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t j = functions[f].one_b ? 0 : k;
            const DComplex v = functions[f].scalar(DComplex(a[2 * k], a[2 * k + 1]), DComplex(b[2 * j], b[2 * j + 1]));
            want[out * k] = v.re;
            if (out == 2) want[2 * k + 1] = v.im;
        }
        functions[f].array(got.data(), a.data(), b.data(), n);
        functions[f].array(in_place.data(), in_place.data(), b.data(), n);
        const std::size_t bytes = out * n * sizeof(double);
        if (n != 0 && (std::memcmp(want.data(), got.data(), bytes) != 0 ||
                       std::memcmp(want.data(), in_place.data(), bytes) != 0)) {
            return false;
        }
    }
    return true;
}

}  // namespace

// The target's own error hook: records the report into the current call's
// trace and answers as the input chose. (src/fp/error_hook.cpp is not linked
// into the fuzz targets: this is the only definition.)
int DComplex_error(c_exception& e) {
    if (t_hook.trace == nullptr) return 0;
    Trace& t = *t_hook.trace;
    t.push_back(static_cast<std::uint64_t>(e.type));
    t.insert(t.end(), e.name, e.name + std::strlen(e.name));
    for (const DComplex& v : {e.arg1, e.arg2, e.retval}) t.insert(t.end(), {bits(v.re), bits(v.im)});
    if ((t_hook.operands->hook & 2) != 0) e.retval = DComplex(t_hook.operands->x, -t_hook.operands->x);
    return t_hook.operands->hook & 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Operands o = parse(data, size);
    const DComplex a = o.a, b = o.b;
    if (!arrays_agree(data, size)) fail("an array function differs from its scalar function", o);

    if (!all_forms_agree(a, b, &DComplex::operator+=, operator+, nullptr)) fail("+= differs from +", o);
    if (!all_forms_agree(a, b, &DComplex::operator-=, operator-, nullptr)) fail("-= differs from -", o);
    if (!all_forms_agree(a, b, &DComplex::operator*=, operator*, Vel_ComplexMultiply)) fail("*= or C pair", o);
    if (!all_forms_agree(a, b, &DComplex::operator/=, operator/, Vel_ComplexDivide)) fail("/= or C pair", o);
    const std::uint64_t sign = 1ULL << 63;
    const DComplex c = conj(a), m = -a;
    if (bits(c.re) != bits(a.re) || bits(c.im) != (bits(a.im) ^ sign)) fail("conj is not a sign flip", o);
    if (bits(m.re) != (bits(a.re) ^ sign) || bits(m.im) != (bits(a.im) ^ sign)) fail("minus is not a flip", o);

    const DComplex turned(-a.im, a.re);
    if (call(o, [&] { return cos(a); }) != call(o, [&] { return cosh(turned); })) fail("cos(z) != cosh(iz)", o);
    Trace want = call(o, [&] { return sinh(turned); });
    if (a.re != a.re || a.im != a.im) {
        want = Trace{bits(Vel_NaN()), bits(Vel_NaN()), kErrnoSentinel};
    } else {
        const std::uint64_t re = want[0];
        want[0] = want[1];
        want[1] = re ^ sign;
    }
    if (call(o, [&] { return sin(a); }) != want) fail("sin(z) != -i sinh(iz)", o);

    const std::vector<Trace> first = run_all(o);
    if (run_all(o) != first) fail("a second call gives something else", o);
    static Worker* const other_thread = new Worker;  // runs until the process ends
    if (other_thread->run(o) != first) fail("another thread gives something else", o);
    return 0;
}
