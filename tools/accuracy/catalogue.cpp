// The measured functions: for each, the library's call, the std::complex
// call on the same operands, the MPC reference, and the regions sampled.
#include "accuracy.h"

#include <climits>
#include <cmath>

namespace acc {

namespace {

using cd = std::complex<double>;

const double kPi = 3.141592653589793;

// ---------------------------------------------------------------------------
// Drawing numbers. Everything is built from raw 64-bit draws of the
// generator so that the samples are the same with every standard library.
// ---------------------------------------------------------------------------

double unit(Rng& g) { return static_cast<double>(g() >> 11) * 0x1p-53; }  // [0, 1)

double uniform(Rng& g, double lo, double hi) { return lo + (hi - lo) * unit(g); }

long uniform_int(Rng& g, long lo, long hi) {  // [lo, hi]
    const unsigned long span = static_cast<unsigned long>(hi - lo) + 1;
    return lo + static_cast<long>(g() % span);
}

double sign(Rng& g) { return (g() & 1) ? -1.0 : 1.0; }

double signed_zero(Rng& g) { return sign(g) * 0.0; }

// A positive double with binary exponent uniform in [e_lo, e_hi] and a
// random 52-bit mantissa: log-uniform over the range. Exponents below -1022
// give subnormals.
double magnitude(Rng& g, int e_lo, int e_hi) {
    const int e = static_cast<int>(uniform_int(g, e_lo, e_hi));
    const double m = 1.0 + static_cast<double>(g() >> 12) * 0x1p-52;
    return std::ldexp(m, e);
}

double signed_magnitude(Rng& g, int e_lo, int e_hi) { return sign(g) * magnitude(g, e_lo, e_hi); }

double angle(Rng& g) { return uniform(g, -kPi, kPi); }

// ---------------------------------------------------------------------------
// Region makers
// ---------------------------------------------------------------------------

Region box(double half) {
    const std::string h = half == std::floor(half) ? std::to_string(static_cast<long>(half)) : std::to_string(half);
    return {"box ±" + h, "both parts uniform in [-" + h + ", " + h + "]", [half](Rng& g) {
                Sample s;
                s.a = uniform(g, -half, half);
                s.b = uniform(g, -half, half);
                return s;
            }};
}

Region whole_range() {
    return {"whole range", "each part ± log-uniform over [2^-1074, 2^1024)", [](Rng& g) {
                Sample s;
                s.a = signed_magnitude(g, -1074, 1023);
                s.b = signed_magnitude(g, -1074, 1023);
                return s;
            }};
}

// |z| = 1 + delta, |delta| log-uniform in [2^-52, 2^-4], any direction.
Region unit_ring() {
    return {"|z| near 1", "|z| = 1 ± 2^-52..2^-4, uniform angle", [](Rng& g) {
                const double r = 1.0 + signed_magnitude(g, -52, -4);
                const double t = angle(g);
                Sample s;
                s.a = r * std::cos(t);
                s.b = r * std::sin(t);
                return s;
            }};
}

// z = centre + rho e^(i theta), rho log-uniform in [2^e_lo, 2^e_hi].
Region near(const std::string& name, double cre, double cim, bool both_signs, int e_lo, int e_hi) {
    return {name, "distance 2^" + std::to_string(e_lo) + "..2^" + std::to_string(e_hi) + ", uniform angle",
            [=](Rng& g) {
                const double k = both_signs ? sign(g) : 1.0;
                const double rho = magnitude(g, e_lo, e_hi);
                const double t = angle(g);
                Sample s;
                s.a = k * cre + rho * std::cos(t);
                s.b = k * cim + rho * std::sin(t);
                return s;
            }};
}

// |z| log-uniform in [2^e_lo, 2^e_hi], uniform angle.
Region modulus_range(const std::string& name, int e_lo, int e_hi) {
    return {name, "|z| log-uniform in [2^" + std::to_string(e_lo) + ", 2^" + std::to_string(e_hi + 1) +
                      "), uniform angle",
            [=](Rng& g) {
                const double rho = magnitude(g, e_lo, e_hi);
                const double t = angle(g);
                Sample s;
                s.a = rho * std::cos(t);
                s.b = rho * std::sin(t);
                return s;
            }};
}

// One part drawn by `part`, the other a signed zero; `real_axis` says which
// part is the zero one (the imaginary part for the real axis).
Region axis(const std::string& name, const std::string& what, bool real_axis,
            std::function<double(Rng&)> part) {
    return {name, what, [=](Rng& g) {
                Sample s;
                const double v = part(g);
                const double z = signed_zero(g);
                s.a = real_axis ? v : z;
                s.b = real_axis ? z : v;
                return s;
            }};
}

// One part drawn by `main`, the other a tiny signed value.
Region off_axis(const std::string& name, const std::string& what, bool real_axis,
                std::function<double(Rng&)> main, int e_lo, int e_hi) {
    return {name, what, [=](Rng& g) {
                Sample s;
                const double v = main(g);
                const double t = signed_magnitude(g, e_lo, e_hi);
                s.a = real_axis ? v : t;
                s.b = real_axis ? t : v;
                return s;
            }};
}

// One part uniform in [lo, hi] times a random sign (or not), the other
// uniform in [-other, other]; `first` says which part is the drawn one.
Region strip(const std::string& name, const std::string& what, bool first, double lo, double hi,
             bool both_signs, double other) {
    return {name, what, [=](Rng& g) {
                Sample s;
                const double v = (both_signs ? sign(g) : 1.0) * uniform(g, lo, hi);
                const double o = uniform(g, -other, other);
                s.a = first ? v : o;
                s.b = first ? o : v;
                return s;
            }};
}

// One part log-uniform with a random sign, the other uniform in [-other, other].
Region large_part(const std::string& name, bool first, int e_lo, int e_hi, double other) {
    const std::string w = first ? "re" : "im";
    return {name,
            "|" + w + "| log-uniform in [2^" + std::to_string(e_lo) + ", 2^" + std::to_string(e_hi + 1) +
                "), the other part in [-" + std::to_string(static_cast<int>(other)) + ", " +
                std::to_string(static_cast<int>(other)) + "]",
            [=](Rng& g) {
                Sample s;
                const double v = signed_magnitude(g, e_lo, e_hi);
                const double o = uniform(g, -other, other);
                s.a = first ? v : o;
                s.b = first ? o : v;
                return s;
            }};
}

Region both_parts(const std::string& name, int e_lo, int e_hi) {
    return {name,
            "each part ± log-uniform in [2^" + std::to_string(e_lo) + ", 2^" + std::to_string(e_hi + 1) + ")",
            [=](Rng& g) {
                Sample s;
                s.a = signed_magnitude(g, e_lo, e_hi);
                s.b = signed_magnitude(g, e_lo, e_hi);
                return s;
            }};
}

// Two-operand regions: both operands from the same one-operand draw.
Region pair_of(Region r) {
    auto draw = r.draw;
    r.what = "both operands: " + r.what;
    r.draw = [draw](Rng& g) {
        Sample s = draw(g);
        const Sample t = draw(g);
        s.c = t.a;
        s.d = t.b;
        return s;
    };
    return r;
}

// ---------------------------------------------------------------------------
// MPC operands
// ---------------------------------------------------------------------------

// A complex operand at working precision, holding two doubles exactly.
struct MpcArg {
    mpc_t v;
    MpcArg(double re, double im) {
        mpc_init2(v, kWorkPrecision);
        mpc_set_d_d(v, re, im, MPC_RNDNN);
    }
    ~MpcArg() { mpc_clear(v); }
    MpcArg(const MpcArg&) = delete;
    MpcArg& operator=(const MpcArg&) = delete;
};

using MpcUnary = int (*)(mpc_ptr, mpc_srcptr, mpc_rnd_t);

Function unary(const std::string& name, DComplex (*zu)(const DComplex&), cd (*peer)(const cd&), MpcUnary mp,
               std::vector<Region> regions) {
    Function f;
    f.name = name;
    f.form = Form::unary;
    f.real_result = false;
    f.zu = [zu](const Sample& s) { return zu(DComplex(s.a, s.b)); };
    f.peer = [peer](const Sample& s) { return peer(cd(s.a, s.b)); };
    f.reference = [mp](mpc_ptr out, const Sample& s) {
        MpcArg z(s.a, s.b);
        mp(out, z.v, MPC_RNDNN);
    };
    f.regions = std::move(regions);
    return f;
}

// std::complex functions as plain function pointers.
cd std_exp(const cd& z) { return std::exp(z); }
cd std_log(const cd& z) { return std::log(z); }
cd std_log10(const cd& z) { return std::log10(z); }
cd std_sqrt(const cd& z) { return std::sqrt(z); }
cd std_sin(const cd& z) { return std::sin(z); }
cd std_cos(const cd& z) { return std::cos(z); }
cd std_tan(const cd& z) { return std::tan(z); }
cd std_sinh(const cd& z) { return std::sinh(z); }
cd std_cosh(const cd& z) { return std::cosh(z); }
cd std_tanh(const cd& z) { return std::tanh(z); }
cd std_asin(const cd& z) { return std::asin(z); }
cd std_acos(const cd& z) { return std::acos(z); }
cd std_atan(const cd& z) { return std::atan(z); }

DComplex zu_exp(const DComplex& z) { return exp(z); }
DComplex zu_log(const DComplex& z) { return log(z); }
DComplex zu_log10(const DComplex& z) { return log10(z); }
DComplex zu_sqrt(const DComplex& z) { return sqrt(z); }
DComplex zu_sin(const DComplex& z) { return sin(z); }
DComplex zu_cos(const DComplex& z) { return cos(z); }
DComplex zu_tan(const DComplex& z) { return tan(z); }
DComplex zu_sinh(const DComplex& z) { return sinh(z); }
DComplex zu_cosh(const DComplex& z) { return cosh(z); }
DComplex zu_tanh(const DComplex& z) { return tanh(z); }
DComplex zu_asin(const DComplex& z) { return asin(z); }
DComplex zu_acos(const DComplex& z) { return acos(z); }
DComplex zu_atan(const DComplex& z) { return atan(z); }

// tan and tanh far from the real (resp. imaginary) axis. MPC's tan rounds
// the tiny part correctly, which needs a precision growing like |im|: at
// |im| = 1e6 one call takes minutes. Beyond |q| = 64 the quotient
//   A = sin 2p / (cos 2p + cosh 2q),  B = sinh 2q / (cos 2p + cosh 2q)
// has no cancellation and is evaluated at the working precision (p is the
// circular and q the hyperbolic argument: tan(x + iy) = A + iB with p = x,
// q = y; tanh(x + iy) = B + iA with p = y, q = x). Beyond |q| = 400, A lies
// below 2^-1100 and B within 2^-1100 of +-1: A is stood in for by
// +-2^-3000 with the sign of sin 2p (the signed zero p where p is zero) and
// B by +-1, which changes no rounded value and no error measure.
constexpr double kFarTangent = 64.0;

void tangent_far(mpfr_ptr A, mpfr_ptr B, double p, double q) {
    mpfr_t s, c, d;
    mpfr_inits2(kWorkPrecision + 32, s, c, d, static_cast<mpfr_ptr>(nullptr));
    mpfr_set_d(d, p, MPFR_RNDN);
    mpfr_mul_2ui(d, d, 1, MPFR_RNDN);  // 2p, exact
    mpfr_sin_cos(s, c, d, MPFR_RNDN);
    if (std::fabs(q) > 400.0) {
        if (p == 0.0)
            mpfr_set_d(A, p, MPFR_RNDN);
        else
            mpfr_set_si_2exp(A, mpfr_sgn(s) < 0 ? -1 : 1, -3000, MPFR_RNDN);
        mpfr_set_si(B, q < 0 ? -1 : 1, MPFR_RNDN);
    } else {
        mpfr_t sh, ch;
        mpfr_inits2(kWorkPrecision + 32, sh, ch, static_cast<mpfr_ptr>(nullptr));
        mpfr_set_d(d, q, MPFR_RNDN);
        mpfr_mul_2ui(d, d, 1, MPFR_RNDN);
        mpfr_sinh_cosh(sh, ch, d, MPFR_RNDN);
        mpfr_add(d, c, ch, MPFR_RNDN);
        mpfr_div(A, s, d, MPFR_RNDN);
        mpfr_div(B, sh, d, MPFR_RNDN);
        mpfr_clears(sh, ch, static_cast<mpfr_ptr>(nullptr));
    }
    mpfr_clears(s, c, d, static_cast<mpfr_ptr>(nullptr));
}

int reference_tan(mpc_ptr out, mpc_srcptr z, mpc_rnd_t rnd) {
    const double x = mpfr_get_d(mpc_realref(z), MPFR_RNDN);  // exact: z holds doubles
    const double y = mpfr_get_d(mpc_imagref(z), MPFR_RNDN);
    if (std::fabs(y) <= kFarTangent) return mpc_tan(out, z, rnd);
    tangent_far(mpc_realref(out), mpc_imagref(out), x, y);
    return 0;
}

int reference_tanh(mpc_ptr out, mpc_srcptr z, mpc_rnd_t rnd) {
    const double x = mpfr_get_d(mpc_realref(z), MPFR_RNDN);
    const double y = mpfr_get_d(mpc_imagref(z), MPFR_RNDN);
    if (std::fabs(x) <= kFarTangent) return mpc_tanh(out, z, rnd);
    tangent_far(mpc_imagref(out), mpc_realref(out), y, x);
    return 0;
}

// asin and acos where re(z^2) is exactly 1, e.g. (1.25, 0.75): there GNU MPC
// 1.3.1's mpc_asin and mpc_acos never return (the working precision grows
// until memory runs out). 1 - z^2 is then purely imaginary and non-zero, so
// the defining formula -i log(i z + sqrt(1 - z^2)) is off every cut and is
// evaluated at twice the working precision instead.
bool real_square_is_one(mpc_srcptr z) {
    mpfr_t a, b, d;
    mpfr_inits2(128, a, b, d, static_cast<mpfr_ptr>(nullptr));
    mpfr_sqr(a, mpc_realref(z), MPFR_RNDN);  // exact: 106 bits suffice
    mpfr_sqr(b, mpc_imagref(z), MPFR_RNDN);
    const int inexact = mpfr_sub(d, a, b, MPFR_RNDN);
    const bool one = inexact == 0 && mpfr_cmp_ui(d, 1) == 0;
    mpfr_clears(a, b, d, static_cast<mpfr_ptr>(nullptr));
    return one;
}

void asin_by_formula(mpc_ptr out, mpc_srcptr z) {
    mpc_t t, u;
    mpc_init2(t, 2 * kWorkPrecision);
    mpc_init2(u, 2 * kWorkPrecision);
    mpc_sqr(t, z, MPC_RNDNN);
    mpc_ui_sub(t, 1, t, MPC_RNDNN);
    mpc_sqrt(t, t, MPC_RNDNN);
    mpc_mul_i(u, z, 1, MPC_RNDNN);
    mpc_add(u, u, t, MPC_RNDNN);
    mpc_log(u, u, MPC_RNDNN);
    mpc_mul_i(out, u, -1, MPC_RNDNN);
    mpc_clear(t);
    mpc_clear(u);
}

int reference_asin(mpc_ptr out, mpc_srcptr z, mpc_rnd_t rnd) {
    if (!real_square_is_one(z)) return mpc_asin(out, z, rnd);
    asin_by_formula(out, z);
    return 0;
}

int reference_acos(mpc_ptr out, mpc_srcptr z, mpc_rnd_t rnd) {
    if (!real_square_is_one(z)) return mpc_acos(out, z, rnd);
    // acos z = pi/2 - asin z
    mpc_t a;
    mpfr_t half_pi;
    mpc_init2(a, 2 * kWorkPrecision);
    mpfr_init2(half_pi, 2 * kWorkPrecision);
    asin_by_formula(a, z);
    mpfr_const_pi(half_pi, MPFR_RNDN);
    mpfr_div_2ui(half_pi, half_pi, 1, MPFR_RNDN);
    mpfr_sub(mpc_realref(out), half_pi, mpc_realref(a), MPFR_RNDN);
    mpfr_neg(mpc_imagref(out), mpc_imagref(a), MPFR_RNDN);
    mpc_clear(a);
    mpfr_clear(half_pi);
    return 0;
}

// ---------------------------------------------------------------------------
// Region lists shared by several functions
// ---------------------------------------------------------------------------

double moderate_negative(Rng& g) { return -magnitude(g, -20, 20); }
double moderate_positive(Rng& g) { return magnitude(g, -20, 20); }
double moderate_signed(Rng& g) { return signed_magnitude(g, -30, 30); }

std::vector<Region> log_regions() {
    return {box(4),
            whole_range(),
            unit_ring(),
            near("near 1", 1.0, 0.0, false, -60, -4),
            axis("cut: re < 0, im ±0", "re = -(2^-20..2^21), im = ±0", true, moderate_negative),
            off_axis("just off the cut", "re = -(2^-20..2^21), |im| in 2^-1074..2^-30", true, moderate_negative,
                     -1074, -30),
            modulus_range("near 0", -1074, -21)};
}

// Circular functions; the hyperbolic ones use the same regions with the
// parts exchanged (`hyperbolic` true).
std::vector<Region> trig_regions(bool hyperbolic, bool tangent) {
    const bool re_first = !hyperbolic;  // the part that is real for a real argument of sin/cos
    std::vector<Region> r{box(4), whole_range()};
    r.push_back(axis(hyperbolic ? "imaginary axis" : "real axis",
                     hyperbolic ? "re = ±0, |im| log-uniform in 2^-30..2^31" : "im = ±0, |re| log-uniform in 2^-30..2^31",
                     re_first, moderate_signed));
    if (tangent) {
        // z = (k + 1/2) pi + delta (delta tiny, in the real part for tan),
        // with a tiny or zero other part.
        r.push_back({"near the poles",
                     std::string(hyperbolic ? "im" : "re") +
                         " = (k + 1/2) pi ± 2^-50..2^-5, |k| <= 10, other part ±0 or ± 2^-60..2^-5",
                     [hyperbolic](Rng& g) {
                         const double k = static_cast<double>(uniform_int(g, -10, 10));
                         const double v = (k + 0.5) * kPi + signed_magnitude(g, -50, -5);
                         const double o = (g() & 1) ? signed_zero(g) : signed_magnitude(g, -60, -5);
                         Sample s;
                         s.a = hyperbolic ? o : v;
                         s.b = hyperbolic ? v : o;
                         return s;
                     }});
        r.push_back(large_part(hyperbolic ? "|re| 2^4..2^11" : "|im| 2^4..2^11", hyperbolic, 4, 10, 3));
    } else {
        r.push_back(strip(hyperbolic ? "|re| near 710" : "|im| near 710",
                          std::string(hyperbolic ? "|re|" : "|im|") + " uniform in [700, 712], the other part in [-pi, pi]",
                          hyperbolic, 700.0, 712.0, true, kPi));
        r.push_back(large_part(hyperbolic ? "large |im|" : "large |re|", !hyperbolic, 10, 1023, 2));
    }
    r.push_back(both_parts("small", -1074, -21));
    return r;
}

std::vector<Region> inverse_sin_cos_regions() {
    return {box(4),
            whole_range(),
            axis("real segment (-1, 1)", "re uniform in (-1, 1), im = ±0", true,
                 [](Rng& g) { return uniform(g, -1.0, 1.0); }),
            axis("cuts: |re| > 1, im ±0", "|re| = 1 + 2^-40..2^21, im = ±0", true,
                 [](Rng& g) { return sign(g) * (1.0 + magnitude(g, -40, 20)); }),
            off_axis("just off the cuts", "|re| = 1 + 2^-40..2^21, |im| in 2^-1074..2^-30", true,
                     [](Rng& g) { return sign(g) * (1.0 + magnitude(g, -40, 20)); }, -1074, -30),
            near("near ±1", 1.0, 0.0, true, -60, -4),
            modulus_range("large |z|", 10, 1023),
            modulus_range("small |z|", -1074, -11)};
}

std::vector<Region> atan_regions() {
    return {box(4),
            whole_range(),
            axis("real axis", "im = ±0, |re| log-uniform in 2^-30..2^31", true, moderate_signed),
            axis("cuts: |im| > 1, re ±0", "|im| = 1 + 2^-40..2^21, re = ±0", false,
                 [](Rng& g) { return sign(g) * (1.0 + magnitude(g, -40, 20)); }),
            off_axis("just off the cuts", "|im| = 1 + 2^-40..2^21, |re| in 2^-1074..2^-30", false,
                     [](Rng& g) { return sign(g) * (1.0 + magnitude(g, -40, 20)); }, -1074, -30),
            near("near ±i", 0.0, 1.0, true, -60, -4),
            modulus_range("large |z|", 10, 1023),
            modulus_range("small |z|", -1074, -11)};
}

// z = e^(rho + i theta) with |rho| <= limit / |y|, so that |z|^y stays
// within the double range; the exponent y is drawn by the caller.
void near_unit_base(Rng& g, double y, Sample& s) {
    const double rho = uniform(g, -1.0, 1.0) * 600.0 / std::fabs(y);
    const double t = angle(g);
    s.a = std::exp(rho) * std::cos(t);
    s.b = std::exp(rho) * std::sin(t);
}

}  // namespace

// ---------------------------------------------------------------------------
// The catalogue
// ---------------------------------------------------------------------------

std::vector<Function> make_catalogue() {
    std::vector<Function> all;

    all.push_back(unary(
        "exp", zu_exp, std_exp, mpc_exp,
        {box(20), whole_range(),
         axis("real axis", "re uniform in [-745, 709.7], im = ±0", true, [](Rng& g) { return uniform(g, -745.0, 709.7); }),
         axis("imaginary axis", "re = ±0, |im| log-uniform in 2^-30..2^31", false, moderate_signed),
         strip("re near 709.78", "re uniform in [705, 712], im in [-pi, pi]", true, 705.0, 712.0, false, kPi),
         strip("re near -745", "re uniform in [-750, -700], im in [-pi, pi]", true, -750.0, -700.0, false, kPi),
         large_part("large |im|", false, 10, 1023, 5)}));

    all.push_back(unary("log", zu_log, std_log, mpc_log, log_regions()));
    all.push_back(unary("log10", zu_log10, std_log10, mpc_log10, log_regions()));

    all.push_back(unary(
        "sqrt", zu_sqrt, std_sqrt, mpc_sqrt,
        {box(4), whole_range(),
         axis("cut: re < 0, im ±0", "re = -(2^-20..2^21), im = ±0", true, moderate_negative),
         off_axis("just off the cut", "re = -(2^-20..2^21), |im| in 2^-1074..2^-21", true, moderate_negative, -1074,
                  -21),
         off_axis("just off re > 0", "re = 2^-20..2^21, |im| in 2^-1074..2^-21", true, moderate_positive, -1074, -21),
         {"|arg| near 2^-49", "re in 2^-5..2^6, im = ±re * 2^-52..2^-44",
          [](Rng& g) {
              Sample s;
              s.a = magnitude(g, -5, 5);
              s.b = sign(g) * s.a * magnitude(g, -52, -45);
              return s;
          }},
         both_parts("huge parts", 1000, 1023)}));

    all.push_back(unary("sin", zu_sin, std_sin, mpc_sin, trig_regions(false, false)));
    all.push_back(unary("cos", zu_cos, std_cos, mpc_cos, trig_regions(false, false)));
    all.push_back(unary("tan", zu_tan, std_tan, reference_tan, trig_regions(false, true)));
    all.push_back(unary("sinh", zu_sinh, std_sinh, mpc_sinh, trig_regions(true, false)));
    all.push_back(unary("cosh", zu_cosh, std_cosh, mpc_cosh, trig_regions(true, false)));
    all.push_back(unary("tanh", zu_tanh, std_tanh, reference_tanh, trig_regions(true, true)));
    all.push_back(unary("asin", zu_asin, std_asin, reference_asin, inverse_sin_cos_regions()));
    all.push_back(unary("acos", zu_acos, std_acos, reference_acos, inverse_sin_cos_regions()));
    all.push_back(unary("atan", zu_atan, std_atan, mpc_atan, atan_regions()));

    // pow(z, int)
    {
        Function f;
        f.name = "pow(z, int)";
        f.form = Form::pow_int;
        f.real_result = false;
        f.zu = [](const Sample& s) { return pow(DComplex(s.a, s.b), static_cast<int>(s.n)); };
        f.peer = [](const Sample& s) { return std::pow(cd(s.a, s.b), static_cast<int>(s.n)); };
        f.reference = [](mpc_ptr out, const Sample& s) {
            MpcArg z(s.a, s.b);
            mpc_pow_si(out, z.v, s.n, MPC_RNDNN);
        };
        auto small_n = [](Rng& g) { return uniform_int(g, -20, 20); };
        f.regions = {
            {"box ±2, |n| <= 20", "z parts uniform in [-2, 2], n uniform in [-20, 20]",
             [small_n](Rng& g) {
                 Sample s;
                 s.a = uniform(g, -2, 2);
                 s.b = uniform(g, -2, 2);
                 s.n = small_n(g);
                 return s;
             }},
            {"|n| 2^5..2^31, |z|^n in range", "|n| log-uniform in [32, 2^31), z = e^(rho + i theta), |n rho| <= 600",
             [](Rng& g) {
                 Sample s;
                 const double m = std::floor(magnitude(g, 5, 30));
                 s.n = static_cast<long>(sign(g) * m);
                 near_unit_base(g, m, s);
                 return s;
             }},
            {"negative real axis", "re = -(2^-10..2^11), im = ±0, n uniform in [-20, 20]",
             [small_n](Rng& g) {
                 Sample s;
                 s.a = -magnitude(g, -10, 10);
                 s.b = signed_zero(g);
                 s.n = small_n(g);
                 return s;
             }},
            {"whole range, |n| <= 4", "each part ± log-uniform over the double range, n in [-4, 4]",
             [](Rng& g) {
                 Sample s;
                 s.a = signed_magnitude(g, -1074, 1023);
                 s.b = signed_magnitude(g, -1074, 1023);
                 s.n = uniform_int(g, -4, 4);
                 return s;
             }}};
        all.push_back(std::move(f));
    }

    // pow(z, double)
    {
        Function f;
        f.name = "pow(z, y)";
        f.form = Form::pow_real;
        f.real_result = false;
        f.zu = [](const Sample& s) { return pow(DComplex(s.a, s.b), s.c); };
        f.peer = [](const Sample& s) { return std::pow(cd(s.a, s.b), s.c); };
        f.reference = [](mpc_ptr out, const Sample& s) {
            MpcArg z(s.a, s.b);
            mpfr_t y;
            mpfr_init2(y, 53);
            mpfr_set_d(y, s.c, MPFR_RNDN);
            mpc_pow_fr(out, z.v, y, MPC_RNDNN);
            mpfr_clear(y);
        };
        f.regions = {
            {"half-integer y, box ±2", "z parts uniform in [-2, 2], y = k + 1/2, k uniform in [-20, 19]",
             [](Rng& g) {
                 Sample s;
                 s.a = uniform(g, -2, 2);
                 s.b = uniform(g, -2, 2);
                 s.c = static_cast<double>(uniform_int(g, -20, 19)) + 0.5;
                 return s;
             }},
            {"y in [-10, 10], box ±4", "z parts uniform in [-4, 4], y uniform in [-10, 10]",
             [](Rng& g) {
                 Sample s;
                 s.a = uniform(g, -4, 4);
                 s.b = uniform(g, -4, 4);
                 s.c = uniform(g, -10, 10);
                 return s;
             }},
            {"large |y|, |z|^y in range", "|y| log-uniform in [2^10, 2^51), z = e^(rho + i theta), |y rho| <= 600",
             [](Rng& g) {
                 Sample s;
                 s.c = signed_magnitude(g, 10, 50);
                 near_unit_base(g, s.c, s);
                 return s;
             }},
            {"negative real axis", "re = -(2^-10..2^11), im = ±0, y uniform in [-10, 10]",
             [](Rng& g) {
                 Sample s;
                 s.a = -magnitude(g, -10, 10);
                 s.b = signed_zero(g);
                 s.c = uniform(g, -10, 10);
                 return s;
             }}};
        all.push_back(std::move(f));
    }

    // pow(double, w)
    {
        Function f;
        f.name = "pow(x, w)";
        f.form = Form::real_base;
        f.real_result = false;
        f.zu = [](const Sample& s) { return pow(s.a, DComplex(s.c, s.d)); };
        f.peer = [](const Sample& s) { return std::pow(s.a, cd(s.c, s.d)); };
        f.reference = [](mpc_ptr out, const Sample& s) {
            MpcArg x(s.a, 0.0);
            MpcArg w(s.c, s.d);
            mpc_pow(out, x.v, w.v, MPC_RNDNN);
        };
        auto make = [](const std::string& name, const std::string& what, double sgn, int e, double half) {
            return Region{name, what, [=](Rng& g) {
                              Sample s;
                              s.a = sgn * magnitude(g, -e, e);
                              s.c = uniform(g, -half, half);
                              s.d = uniform(g, -half, half);
                              return s;
                          }};
        };
        f.regions = {make("x > 0, w in box ±4", "x log-uniform in [2^-20, 2^21), w parts uniform in [-4, 4]", 1.0, 20, 4),
                     make("x < 0, w in box ±4", "x = -(2^-20..2^21), w parts uniform in [-4, 4]", -1.0, 20, 4),
                     make("x > 0, w in box ±100", "x log-uniform in [2^-2, 2^3), w parts uniform in [-100, 100]", 1.0,
                          2, 100),
                     make("x < 0, w in box ±100", "x = -(2^-2..2^3), w parts uniform in [-100, 100]", -1.0, 2, 100)};
        all.push_back(std::move(f));
    }

    // pow(z, w)
    {
        Function f;
        f.name = "pow(z, w)";
        f.form = Form::binary;
        f.real_result = false;
        f.zu = [](const Sample& s) { return pow(DComplex(s.a, s.b), DComplex(s.c, s.d)); };
        f.peer = [](const Sample& s) { return std::pow(cd(s.a, s.b), cd(s.c, s.d)); };
        f.reference = [](mpc_ptr out, const Sample& s) {
            MpcArg z(s.a, s.b);
            MpcArg w(s.c, s.d);
            mpc_pow(out, z.v, w.v, MPC_RNDNN);
        };
        f.regions = {
            pair_of(box(4)),
            {"|z| near 1, w in box ±50", "z = e^(rho + i theta), |rho| <= 2^-4, w parts uniform in [-50, 50]",
             [](Rng& g) {
                 Sample s;
                 s.c = uniform(g, -50, 50);
                 s.d = uniform(g, -50, 50);
                 const double rho = uniform(g, -0.0625, 0.0625);
                 const double t = angle(g);
                 s.a = std::exp(rho) * std::cos(t);
                 s.b = std::exp(rho) * std::sin(t);
                 return s;
             }},
            {"z just off the negative axis", "re = -(2^-10..2^11), |im| in 2^-1074..2^-30, w in box ±4",
             [](Rng& g) {
                 Sample s;
                 s.a = -magnitude(g, -10, 10);
                 s.b = signed_magnitude(g, -1074, -30);
                 s.c = uniform(g, -4, 4);
                 s.d = uniform(g, -4, 4);
                 return s;
             }},
            {"z whole range, w in box ±2", "z parts ± log-uniform over the double range, w parts uniform in [-2, 2]",
             [](Rng& g) {
                 Sample s;
                 s.a = signed_magnitude(g, -1074, 1023);
                 s.b = signed_magnitude(g, -1074, 1023);
                 s.c = uniform(g, -2, 2);
                 s.d = uniform(g, -2, 2);
                 return s;
             }}};
        all.push_back(std::move(f));
    }

    // Products and quotients.
    auto binary = [](const std::string& name, DComplex (*zu)(const DComplex&, const DComplex&),
                     cd (*peer)(const cd&, const cd&), int (*mp)(mpc_ptr, mpc_srcptr, mpc_srcptr, mpc_rnd_t),
                     std::vector<Region> regions) {
        Function f;
        f.name = name;
        f.form = Form::binary;
        f.real_result = false;
        f.zu = [zu](const Sample& s) { return zu(DComplex(s.a, s.b), DComplex(s.c, s.d)); };
        f.peer = [peer](const Sample& s) { return peer(cd(s.a, s.b), cd(s.c, s.d)); };
        f.reference = [mp](mpc_ptr out, const Sample& s) {
            MpcArg z(s.a, s.b);
            MpcArg w(s.c, s.d);
            mp(out, z.v, w.v, MPC_RNDNN);
        };
        f.regions = std::move(regions);
        return f;
    };
    // a = (x, y), b = (y (1 + d1), x (1 + d2)): re(a b) = x y (d1 - d2).
    Region mul_cancel{"cancellation in re", "a in box ±4, b = (a.im (1 + d1), a.re (1 + d2)), |d| in 2^-52..2^-10",
                      [](Rng& g) {
                          Sample s;
                          s.a = uniform(g, -4, 4);
                          s.b = uniform(g, -4, 4);
                          s.c = s.b * (1.0 + signed_magnitude(g, -52, -10));
                          s.d = s.a * (1.0 + signed_magnitude(g, -52, -10));
                          return s;
                      }};
    // a = lambda (b.re (1 + d1), b.im (1 + d2)): im(a / b) is small.
    Region div_cancel{"cancellation in im", "b in box ±4, a = l (b.re (1 + d1), b.im (1 + d2)), |d| in 2^-52..2^-10",
                      [](Rng& g) {
                          Sample s;
                          s.c = uniform(g, -4, 4);
                          s.d = uniform(g, -4, 4);
                          const double l = uniform(g, -4, 4);
                          s.a = l * s.c * (1.0 + signed_magnitude(g, -52, -10));
                          s.b = l * s.d * (1.0 + signed_magnitude(g, -52, -10));
                          return s;
                      }};
    all.push_back(binary(
        "a * b", [](const DComplex& a, const DComplex& b) { return a * b; },
        [](const cd& a, const cd& b) { return a * b; }, mpc_mul,
        {pair_of(box(4)), pair_of(both_parts("parts 2^±500", -500, 500)), pair_of(whole_range()), mul_cancel,
         pair_of(both_parts("parts near 2^512", 505, 519))}));
    all.push_back(binary(
        "a / b", [](const DComplex& a, const DComplex& b) { return a / b; },
        [](const cd& a, const cd& b) { return a / b; }, mpc_div,
        {pair_of(box(4)), pair_of(both_parts("parts 2^±500", -500, 500)), pair_of(whole_range()), div_cancel,
         {"divisor parts far apart", "a in box ±4, b = (±2^-10..2^11, ±2^-1074..2^-500) in either order",
          [](Rng& g) {
              Sample s;
              s.a = uniform(g, -4, 4);
              s.b = uniform(g, -4, 4);
              const double big = signed_magnitude(g, -10, 10);
              const double tiny = signed_magnitude(g, -1074, -500);
              const bool swap = g() & 1;
              s.c = swap ? tiny : big;
              s.d = swap ? big : tiny;
              return s;
          }}}));

    // Real-valued functions.
    auto real_valued = [](const std::string& name, double (*zu)(const DComplex&), double (*peer)(const cd&),
                          int (*mp)(mpfr_ptr, mpc_srcptr, mpfr_rnd_t), std::vector<Region> regions) {
        Function f;
        f.name = name;
        f.form = Form::unary;
        f.real_result = true;
        f.zu = [zu](const Sample& s) { return DComplex(zu(DComplex(s.a, s.b)), 0.0); };
        f.peer = [peer](const Sample& s) { return cd(peer(cd(s.a, s.b)), 0.0); };
        f.reference = [mp](mpc_ptr out, const Sample& s) {
            MpcArg z(s.a, s.b);
            mp(mpc_realref(out), z.v, MPFR_RNDN);
        };
        f.regions = std::move(regions);
        return f;
    };
    all.push_back(real_valued(
        "abs", [](const DComplex& z) { return abs(z); }, [](const cd& z) { return std::abs(z); }, mpc_abs,
        {box(4), whole_range(), both_parts("huge parts", 1000, 1023), both_parts("subnormal parts", -1074, -1023),
         both_parts("parts 2^-600..2^-500", -600, -501)}));
    all.push_back(real_valued(
        "arg", [](const DComplex& z) { return arg(z); }, [](const cd& z) { return std::arg(z); }, mpc_arg,
        {box(4), whole_range(),
         off_axis("just off the negative axis", "re = -(2^-20..2^21), |im| in 2^-1074..2^-30", true,
                  moderate_negative, -1074, -30)}));
    all.push_back(real_valued(
        "norm", [](const DComplex& z) { return norm(z); }, [](const cd& z) { return std::norm(z); }, mpc_norm,
        {box(4), whole_range(), both_parts("parts 2^-600..2^-500", -600, -501),
         both_parts("parts 2^500..2^512", 500, 511)}));

    // hypot(a, b) = sqrt(a a + b b); the reference squares and adds exactly
    // enough (at four times the working precision) and takes MPC's sqrt.
    {
        Function f;
        f.name = "hypot(a, b)";
        f.form = Form::binary;
        f.real_result = false;
        f.zu = [](const Sample& s) { return hypot(DComplex(s.a, s.b), DComplex(s.c, s.d)); };
        f.peer = [](const Sample& s) {
            const cd a(s.a, s.b), b(s.c, s.d);
            return std::sqrt(a * a + b * b);
        };
        f.reference = [](mpc_ptr out, const Sample& s) {
            mpc_t a, b;
            mpc_init2(a, 4 * kWorkPrecision);
            mpc_init2(b, 4 * kWorkPrecision);
            mpc_set_d_d(a, s.a, s.b, MPC_RNDNN);
            mpc_set_d_d(b, s.c, s.d, MPC_RNDNN);
            mpc_sqr(a, a, MPC_RNDNN);
            mpc_sqr(b, b, MPC_RNDNN);
            mpc_add(a, a, b, MPC_RNDNN);
            mpc_sqrt(out, a, MPC_RNDNN);
            mpc_clear(a);
            mpc_clear(b);
        };
        f.regions = {pair_of(box(4)), pair_of(both_parts("parts 2^150..2^600", 150, 599)),
                     pair_of(both_parts("parts 2^-600..2^-150", -600, -151))};
        all.push_back(std::move(f));
    }

    return all;
}

const Function* find_function(const std::vector<Function>& all, const std::string& name) {
    for (const Function& f : all)
        if (f.name == name) return &f;
    return nullptr;
}

}  // namespace acc
