#include "zu_test.h"

namespace {

using zt::Inf;
using zt::kAnyNaN;
const double P = zt::from_bits(0x7ff800000000beefULL);  // a NaN that must not leak through
const DComplex kNaN2(zt::NaN(), zt::NaN());

struct Case { const char* what; DComplex a, b, want; };

using Free = DComplex (*)(const DComplex&, const DComplex&);
using Member = void (DComplex::*)(const DComplex&);
using CForm = void (*)(double*, const double*, const double*);

// One case through every form: the free operator gives the value; the
// compound and C-linkage forms must reproduce it bit for bit, also when the
// result storage is an operand's (and when both operands are the object).
void check_all_forms(const Case& c, Free op, Member op_assign, CForm cform) {
    SCOPED_TRACE(std::string(c.what) + ": " + zt::describe(c.a) + ", " + zt::describe(c.b));
    const DComplex got = op(c.a, c.b);
    EXPECT_SAME_C(c.want, got);
    DComplex z = c.a, self = c.a;
    (z.*op_assign)(c.b);
    (self.*op_assign)(self);  // both parts must be read before either is written
    EXPECT_SAME_C(got, z);
    EXPECT_SAME_C(op(c.a, c.a), self);
    const double a[2] = {c.a.re, c.a.im}, b[2] = {c.b.re, c.b.im};
    double r[2] = {-1.0, -1.0}, ra[2] = {a[0], a[1]}, rb[2] = {b[0], b[1]}, rs[2] = {a[0], a[1]};
    cform(r, a, b);
    cform(ra, ra, b);
    cform(rb, a, rb);
    cform(rs, rs, rs);
    EXPECT_SAME_C(got, DComplex(r[0], r[1]));
    EXPECT_SAME_C(got, DComplex(ra[0], ra[1]));
    EXPECT_SAME_C(got, DComplex(rb[0], rb[1]));
    EXPECT_SAME_C(op(c.a, c.a), DComplex(rs[0], rs[1]));
}

// One case per rung of the order of tests. The operands are chosen so that
// a wrong rung (or the four-product formula) changes a sign of zero or turns
// 0 * inf into a NaN. Zero-by-construction parts are a +0 constant.
TEST(Multiply, ClassTableInOrderOfTests) {
    const Case cases[] = {
        {"NaN beats zero", {P, 0.0}, {0.0, 0.0}, kNaN2},
        {"NaN in general", {P, 1.0}, {2.0, 3.0}, kNaN2},
        {"zero*zero", {0.0, 0.0}, {0.0, -0.0}, {0.0, -0.0}},
        {"zero*real", {0.0, 0.0}, {Inf(), -0.0}, {kAnyNaN, -0.0}},
        {"zero*imag", {0.0, 0.0}, {-0.0, Inf()}, {-0.0, kAnyNaN}},
        {"zero*general", {0.0, 0.0}, {Inf(), 1.0}, {kAnyNaN, 0.0}},
        {"zero*general signs", {0.0, -0.0}, {-1.0, 2.0}, {-0.0, 0.0}},
        {"real*zero", {Inf(), 0.0}, {0.0, 0.0}, {kAnyNaN, 0.0}},
        {"imag*zero", {-0.0, 1.0}, {-0.0, 0.0}, {0.0, -0.0}},
        {"general*zero", {2.0, -3.0}, {-0.0, 0.0}, {-0.0, 0.0}},
        {"real*real", {Inf(), 0.0}, {2.0, 0.0}, {Inf(), 0.0}},
        {"real*real +0", {1.0, -0.0}, {1.0, -0.0}, {1.0, 0.0}},
        {"imag*imag", {0.0, Inf()}, {0.0, 2.0}, {-Inf(), 0.0}},
        {"imag*real", {0.0, Inf()}, {2.0, 0.0}, {0.0, Inf()}},
        {"real*imag", {Inf(), 0.0}, {0.0, 2.0}, {0.0, Inf()}},
        {"real*imag +0", {2.0, -0.0}, {-0.0, -3.0}, {0.0, -6.0}},
        {"real*general", {2.0, 0.0}, {Inf(), 1.0}, {Inf(), 2.0}},
        {"general*real", {1.0, Inf()}, {2.0, 0.0}, {2.0, Inf()}},
        {"imag*general", {0.0, 2.0}, {Inf(), 3.0}, {-6.0, Inf()}},
        {"general*imag", {Inf(), 2.0}, {0.0, 3.0}, {-6.0, Inf()}},
        {"general", {2.0, 3.0}, {4.0, 5.0}, {-7.0, 22.0}},
        {"square", {2.0, 3.0}, {2.0, 3.0}, {-5.0, 12.0}},
        {"general inf", {Inf(), Inf()}, {1.0, 1.0}, {kAnyNaN, Inf()}},
    };
    for (const Case& c : cases) check_all_forms(c, &operator*, &DComplex::operator*=, &Vel_ComplexMultiply);
}

// Smith's method: t and d are rounded before use and d is (t*t + 1) times a
// part of b; the inexact cases below come out differently if d is formed
// as b.re + b.im*t or if the quotient is taken over |b|^2.
TEST(Divide, StepsBranchesAndSpecialDivisors) {
    const Case cases[] = {
        {"NaN divisor", {5.0, 5.0}, {P, 1.0}, kNaN2},
        {"NaN beats zero divisor", {P, 0.0}, {0.0, 0.0}, kNaN2},
        {"real divisor", {4.0, 2.0}, {2.0, 0.0}, {2.0, 1.0}},
        {"real divisor -0 im", {4.0, 2.0}, {-2.0, -0.0}, {-2.0, -1.0}},
        {"real divisor inf", {1.0, 1.0}, {Inf(), 0.0}, {0.0, 0.0}},
        {"real divisor, inf dividend", {Inf(), 0.0}, {2.0, 0.0}, {Inf(), 0.0}},
        {"zero divisor", {1.0, 1.0}, {0.0, 0.0}, {Inf(), Inf()}},
        {"zero divisor -0 re", {1.0, -1.0}, {-0.0, 0.0}, {-Inf(), Inf()}},
        {"zero divisor -0 im", {1.0, 1.0}, {-0.0, -0.0}, {-Inf(), -Inf()}},
        {"zero divisor, zero part", {1.0, 0.0}, {0.0, 0.0}, {Inf(), kAnyNaN}},
        {"zero by zero", {0.0, 0.0}, {0.0, 0.0}, {kAnyNaN, kAnyNaN}},
        {"imag divisor", {1.0, 2.0}, {0.0, 2.0}, {1.0, -0.5}},
        {"imag divisor -0 re", {0.0, 2.0}, {-0.0, 2.0}, {1.0, -0.0}},
        {"imag divisor inf", {1.0, 1.0}, {0.0, Inf()}, {0.0, -0.0}},
        {"A", {1.0, 2.0}, {3.0, 4.0}, {0.44, 0.08}},
        {"A rounding", {1.0, 1.0}, {2.0, 5.0}, {0.24137931034482754, -0.10344827586206895}},
        {"A tie", {1.0, 1.0}, {1.0, 1.0}, {1.0, 0.0}},
        {"A by itself", {3.0, 4.0}, {3.0, 4.0}, {1.0, 0.0}},
        {"A tie signs", {0.0, 0.0}, {1.0, -1.0}, {-0.0, 0.0}},
        {"A inf/inf", {1.0, 1.0}, {Inf(), Inf()}, {kAnyNaN, kAnyNaN}},
        {"A inf dividend", {Inf(), 0.0}, {1.0, 1.0}, {Inf(), -Inf()}},
        {"A, large parts", {1e300, 1e300}, {1e300, 1e300}, {1.0, 0.0}},
        {"A, |b|^2 out of range", {1.0, 0.0}, {1e200, 1e200}, {5e-201, -5e-201}},
        {"B", {1.0, 2.0}, {4.0, 3.0}, {0.4, 0.2}},
        {"B rounding", {1.0, 1.0}, {5.0, 2.0}, {0.24137931034482754, 0.10344827586206895}},
        {"B t = -0", {1.0, 0.0}, {Inf(), 1.0}, {0.0, 0.0}},
    };
    for (const Case& c : cases) check_all_forms(c, &operator/, &DComplex::operator/=, &Vel_ComplexDivide);
}

}  // namespace
