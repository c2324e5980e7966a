// The array functions against their scalar functions, element by element and
// bit for bit. ctest runs this program once per kernel table the build may
// have, with ZU_COMPLEX_ARRAY_TARGET set (tests/CMakeLists.txt).
#include "zu_test.h"

#include <cfenv>
#include <cstdlib>
#include <cstring>

namespace {

using zt::bits;
using zt::from_bits;

// One array function and its scalar function; out is the number of doubles
// per result element. For scale, b[0] is the factor of every element.
struct Function {
    const char* name;
    std::size_t out;
    bool one_b;
    void (*array)(double* r, const double* a, const double* b, std::size_t n);
    void (*scalar)(double* r, const DComplex& a, const DComplex& b);
};

using CArray = void (*)(double*, const double*, const double*, std::size_t);
using CUnary = void (*)(double*, const double*, std::size_t);
using Op = DComplex (*)(const DComplex&, const DComplex&);

template <Op op>
void pair(double* r, const DComplex& a, const DComplex& b) {
    const DComplex v = op(a, b);
    r[0] = v.re;
    r[1] = v.im;
}

const Function kFunctions[] = {
    {"multiply", 2, false, static_cast<CArray>(Vel_ComplexMultiplyArray), pair<operator*>},
    {"divide", 2, false, static_cast<CArray>(Vel_ComplexDivideArray), pair<operator/>},
    {"add", 2, false, static_cast<CArray>(Vel_ComplexAddArray), pair<static_cast<Op>(operator+)>},
    {"subtract", 2, false, static_cast<CArray>(Vel_ComplexSubtractArray), pair<static_cast<Op>(operator-)>},
    {"scale", 2, true, static_cast<CArray>(Vel_ComplexScaleArray), pair<operator*>},
    {"conj", 2, false, [](double* r, const double* a, const double*, std::size_t n) { Vel_ComplexConjArray(r, a, n); },
     [](double* r, const DComplex& a, const DComplex&) {
         const DComplex v = conj(a);
         r[0] = v.re;
         r[1] = v.im;
     }},
    {"abs", 1, false, [](double* r, const double* a, const double*, std::size_t n) { Vel_ComplexAbsArray(r, a, n); },
     [](double* r, const DComplex& a, const DComplex&) { *r = abs(a); }},
    {"norm", 1, false, [](double* r, const double* a, const double*, std::size_t n) { Vel_ComplexNormArray(r, a, n); },
     [](double* r, const DComplex& a, const DComplex&) { *r = norm(a); }},
};

// Where the result goes: its own storage, or exactly an operand's.
enum class Place { apart, in_a, in_b, in_both };
const Place kPlaces[] = {Place::apart, Place::in_a, Place::in_b, Place::in_both};

// Runs f on n elements of a and b, each copied `pad` doubles past an aligned
// start, with the result placed as asked, and compares every element with
// the scalar function on the operands the call actually had. Nothing past
// the result may be written, and errno stays as it was.
void check(const Function& f, const double* a, const double* b, std::size_t n, Place place, std::size_t pad = 0) {
    const bool in_a = place == Place::in_a || place == Place::in_both;
    const bool in_b = place == Place::in_b || place == Place::in_both;
    if (f.out == 1 && in_b) return;  // abs and norm have no b
    const double sentinel = from_bits(0x7ff4000000005a5aULL);
    std::vector<double> pa(pad + 2 * n + 1, sentinel), pb(pa), pr(pa);
    std::copy(a, a + 2 * n, pa.begin() + pad);
    std::copy(b, b + 2 * n, pb.begin() + pad);
    double* const ra = pa.data() + pad;
    double* const rb = place == Place::in_both ? ra : pb.data() + pad;
    double* const r = in_a ? ra : in_b ? rb : pr.data() + pad;
    const std::vector<double> before_a(ra, ra + 2 * n), before_b(rb, rb + 2 * n);

    errno = zt::kErrnoSentinel;
    f.array(n == 0 ? nullptr : r, n == 0 ? nullptr : ra, n == 0 ? nullptr : rb, n);
    EXPECT_EQ(zt::kErrnoSentinel, errno) << f.name;
    EXPECT_EQ(bits(sentinel), bits(r[in_a || in_b ? 2 * n : f.out * n])) << f.name << ": wrote past the result";

    for (std::size_t k = 0; k < n; ++k) {
        const DComplex x(before_a[2 * k], before_a[2 * k + 1]);
        const std::size_t j = f.one_b ? 0 : k;
        const DComplex y(before_b[2 * j], before_b[2 * j + 1]);
        double want[2];
        f.scalar(want, x, y);
        for (std::size_t i = 0; i < f.out; ++i) {
            if (bits(want[i]) != bits(r[f.out * k + i])) {
                ADD_FAILURE() << f.name << " element " << k << " of " << n << " (place " << int(place) << ", pad "
                              << pad << ", " << Vel_ComplexArrayTarget() << "): " << zt::describe(x) << ", "
                              << zt::describe(y) << " gives " << zt::describe(r[f.out * k + i]) << " in part " << i
                              << ", the scalar function " << zt::describe(want[i]);
                return;
            }
        }
    }
}

const int kModes[] = {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO};

// Every rounding mode, restoring round-to-nearest however the body ends.
template <class Body>
void in_every_mode(Body body) {
    for (int mode : kModes) {
        ASSERT_EQ(0, std::fesetround(mode));
        SCOPED_TRACE("rounding mode " + std::to_string(mode));
        body();
        std::fesetround(FE_TONEAREST);
    }
}

// Parts of every class, with both signs: zeros, subnormals, normals, huge
// values whose products overflow, infinities, quiet NaNs with payloads and a
// signalling NaN.
std::vector<double> part_classes() {
    const double magnitudes[] = {0.0, 0x1.8p-1060, 1.5, 0x1.8p+1000, zt::Inf(), from_bits(0x7ff800000000beefULL),
                                 from_bits(0x7ff0000000000badULL)};
    std::vector<double> parts;
    for (double m : magnitudes) parts.insert(parts.end(), {m, from_bits(bits(m) ^ (1ULL << 63))});
    return parts;
}

// Every operand pair of the cross product of part classes, a and b both,
// at every lane position of the widest vector (offsets 0 to 7, half of them
// also off by one double from the vector alignment), in every rounding mode.
TEST(ArrayFunctions, CrossProductOfPartClasses) {
    const std::vector<double> parts = part_classes();
    std::vector<double> values;  // complex values, interleaved
    for (double re : parts) {
        for (double im : parts) values.insert(values.end(), {re, im});
    }
    const std::size_t count = values.size() / 2;
    std::vector<double> a, b;
    for (std::size_t i = 0; i < count * count; ++i) {
        a.insert(a.end(), {values[2 * (i / count)], values[2 * (i / count) + 1]});
        b.insert(b.end(), {values[2 * (i % count)], values[2 * (i % count) + 1]});
    }
    in_every_mode([&] {
        for (const Function& f : kFunctions) {
            for (std::size_t offset = 0; offset < 8; ++offset) {
                const std::size_t n = count * count - offset;
                if (f.one_b) {  // every factor, on every value (b runs through them all)
                    for (std::size_t s = offset; s < count * count; s += count + 1) {
                        check(f, b.data() + 2 * offset, b.data() + 2 * s, count, Place::apart, offset % 2);
                    }
                } else {
                    check(f, a.data() + 2 * offset, b.data() + 2 * offset, n, Place::apart, offset % 2);
                }
            }
        }
    });
}

// Lengths 0 to twice the widest vector and beyond, on random operands, with
// the result apart and in place, in every rounding mode.
TEST(ArrayFunctions, LengthsInPlaceAndRandomOperands) {
    zt::PartGenerator gen(20261208);
    in_every_mode([&] {
        for (std::size_t n : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 31, 100, 1001}) {
            std::vector<double> a(2 * n), b(2 * n);
            for (double& v : a) v = gen.next();
            for (double& v : b) v = gen.next();
            for (const Function& f : kFunctions) {
                for (Place place : kPlaces) check(f, a.data(), b.data(), n, place);
            }
        }
    });
}

// With ZU_COMPLEX_ARRAY_TARGET set, the kernels named are the ones in use
// whenever this machine has them, so every run of this program tests what
// it says it tests.
TEST(ArrayFunctions, ForcedTargetIsUsedWhereAvailable) {
    const char* forced = std::getenv("ZU_COMPLEX_ARRAY_TARGET");
    const std::string chosen = Vel_ComplexArrayTarget();
    if (forced == nullptr) GTEST_SKIP() << "no target forced; in use: " << chosen;
    bool available = std::strcmp(forced, "scalar") == 0;
#if defined(__x86_64__) || defined(__i386__)
    available = available || std::strcmp(forced, "sse2") == 0;
#  if !defined(_WIN32)
    available = available || (std::strcmp(forced, "avx2") == 0 && __builtin_cpu_supports("avx2")) ||
                (std::strcmp(forced, "avx512") == 0 && __builtin_cpu_supports("avx512f"));
#  endif
#elif defined(__aarch64__)
    available = available || std::strcmp(forced, "neon") == 0;
#endif
    if (!available) GTEST_SKIP() << forced << " is not available here; in use: " << chosen;
    EXPECT_EQ(forced, chosen);
}

}  // namespace
