#include "zu_test.h"

#include <cfloat>
#include <cstddef>
#include <type_traits>

namespace {

using zt::Inf;
using zt::kAnyNaN;
const double P = zt::from_bits(0x7ff800000000beefULL);  // quiet NaN, payload, sign clear
const double Q = zt::from_bits(0xfff8000000012345ULL);  // quiet NaN, payload, sign set
const double negP = zt::from_bits(0xfff800000000beefULL);
const double negQ = zt::from_bits(0x7ff8000000012345ULL);

// Callers keep complex numbers as double[2] and hand them to us by pointer.
static_assert(std::is_trivially_copyable<DComplex>::value, "DComplex must be trivially copyable");
static_assert(std::is_standard_layout<DComplex>::value, "DComplex must be standard layout");
static_assert(sizeof(DComplex) == sizeof(double[2]), "DComplex must be exactly two doubles");
static_assert(offsetof(DComplex, re) == 0 && offsetof(DComplex, im) == sizeof(double), "re first, then im");
static_assert(std::is_same<decltype(DComplex() == DComplex()), int>::value, "== returns int");
static_assert(std::is_same<decltype(DComplex() != DComplex()), int>::value, "!= returns int");
static_assert(std::is_void<decltype(std::declval<DComplex&>() += DComplex())>::value, "+= returns nothing");
static_assert(std::is_void<decltype(std::declval<DComplex&>() -= DComplex())>::value, "-= returns nothing");

TEST(ValueType, ConstructionAndCopiesKeepEveryBit) {
    EXPECT_SAME_C(DComplex(0.0, 0.0), DComplex());  // both zeros positive
    EXPECT_SAME_C(DComplex(-0.0, 0.0), DComplex(-0.0));
    const DComplex z(Q, -0.0), w(-Inf(), P), sub(1.0, 4.9e-324);
    EXPECT_SAME(Q, real(z));
    EXPECT_SAME(-0.0, imag(z));
    EXPECT_SAME_C(DComplex(-Inf(), P), w);
    EXPECT_SAME(4.9e-324, sub.im);  // subnormals are not flushed
    DComplex copy(w), dst(1.0, 2.0);
    EXPECT_SAME_C(w, copy);
    DComplex& ref = (dst = z);  // the NaN payload and sign bit must survive
    EXPECT_EQ(&dst, &ref);
    EXPECT_SAME_C(DComplex(Q, -0.0), dst);
}

struct Case { const char* what; DComplex got, want; };

// Negation is a sign-bit flip everywhere: zeros change sign and NaN payloads
// survive. In the mixed double overloads the part the double does not touch
// is carried over (negated for x - z), never computed as part +/- 0.
TEST(ValueType, SumsDifferencesNegationConjugate) {
    const DComplex m0(1.0, -0.0);
    const Case cases[] = {
        {"conj +0", conj(DComplex(1.0, 0.0)), DComplex(1.0, -0.0)},
        {"conj -0", conj(m0), DComplex(1.0, 0.0)},
        {"conj NaN", conj(DComplex(Q, P)), DComplex(Q, negP)},
        {"-(0,0)", -DComplex(0.0, 0.0), DComplex(-0.0, -0.0)},
        {"-(NaN,-inf)", -DComplex(Q, -Inf()), DComplex(negQ, Inf())},
        {"c+c zeros", DComplex(0.0, -0.0) + DComplex(-0.0, -0.0), DComplex(0.0, -0.0)},
        {"c+c overflow", DComplex(DBL_MAX, -DBL_MAX) + DComplex(DBL_MAX, -DBL_MAX), DComplex(Inf(), -Inf())},
        {"c-c", DComplex(1.0, 0.0) - DComplex(2.0, 0.0), DComplex(-1.0, 0.0)},
        {"c-c zeros", DComplex(-0.0, -0.0) - DComplex(0.0, -0.0), DComplex(-0.0, 0.0)},
        {"x+c", 2.0 + m0, DComplex(3.0, -0.0)},
        {"c+x", m0 + 2.0, DComplex(3.0, -0.0)},
        {"x+c NaN im", 2.0 + DComplex(1.0, P), DComplex(3.0, P)},
        {"c-x", m0 - 2.0, DComplex(-1.0, -0.0)},
        {"c-x NaN im", DComplex(1.0, P) - 2.0, DComplex(-1.0, P)},
        {"x-c", 1.0 - DComplex(2.0, 0.0), DComplex(-1.0, -0.0)},
        {"x-c -0", 1.0 - m0, DComplex(0.0, 0.0)},
        {"x-c NaN im", 1.0 - DComplex(2.0, P), DComplex(-1.0, negP)},
        {"x-c inf", Inf() - DComplex(Inf(), Inf()), DComplex(kAnyNaN, -Inf())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_SAME_C(c.want, c.got);
    }
}

// IEEE equality per part: signed zeros are equal, a NaN part is unequal even
// to an identical copy, and != is always the opposite int.
TEST(ValueType, EqualityIsIeeeAndReturnsOneOrZero) {
    struct Eq { DComplex a, b; int equal; };
    const Eq cases[] = {
        {{0.0, -0.0}, {-0.0, 0.0}, 1}, {{1.0, 2.0}, {1.0, 3.0}, 0},         {{1.0, 2.0}, {2.0, 2.0}, 0},
        {{P, 0.0}, {P, 0.0}, 0},       {{Inf(), -Inf()}, {Inf(), -Inf()}, 1}, {{0.0, Q}, {0.0, Q}, 0},
    };
    for (const Eq& c : cases) {
        SCOPED_TRACE(zt::describe(c.a) + " vs " + zt::describe(c.b));
        EXPECT_EQ(c.equal, c.a == c.b);
        EXPECT_EQ(1 - c.equal, c.a != c.b);
    }
}

// The compound forms must equal the free operators, and reading only the
// matching part of the operand makes z op= z safe.
TEST(ValueType, CompoundAddSubtractIncludingSelf) {
    const DComplex vals[] = {{1.0, -2.0}, {-0.0, 0.0}, {Inf(), 1.0}, {P, -0.0}, {DBL_MAX, 0.5}, {-0.0, -0.0}};
    for (const DComplex& a : vals) {
        for (const DComplex& b : vals) {
            SCOPED_TRACE(zt::describe(a) + " op " + zt::describe(b));
            DComplex z = a;
            z += b;
            EXPECT_SAME_C(a + b, z);
            z = a;
            z -= b;
            EXPECT_SAME_C(a - b, z);
        }
    }
    struct Self { DComplex z, doubled, minus_self; };
    const Self selfs[] = {{{1.0, -2.0}, {2.0, -4.0}, {0.0, 0.0}},
                          {{Inf(), 1.0}, {Inf(), 2.0}, {kAnyNaN, 0.0}},
                          {{-0.0, -0.0}, {-0.0, -0.0}, {0.0, 0.0}}};  // x - x is +0 even for -0
    for (const Self& c : selfs) {
        DComplex p = c.z, m = c.z;
        const DComplex &p_alias = p, &m_alias = m;  // z op= z, via a reference
        p += p_alias;
        m -= m_alias;
        EXPECT_SAME_C(c.doubled, p);
        EXPECT_SAME_C(c.minus_self, m);
    }
}

}  // namespace
