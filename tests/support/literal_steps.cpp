#include "literal_steps.h"

#include "zu_test.h"

#include <cerrno>
#include <climits>
#include <cmath>

namespace zt {
namespace steps {

namespace {

const double kThreshold = 1.7976931348623157e308;
const double kSnap = 0x1p-49;
const double kPi = 3.141592653589793;

bool is_nan(double v) { return std::isnan(v); }
bool is_inf(double v) { return v > kThreshold || v < -kThreshold; }
bool has_nan(const DComplex& z) { return is_nan(z.re) || is_nan(z.im); }
DComplex nan2() { return {NaN(), NaN()}; }
double inf_like(double v) { return v > 0 ? Inf() : v < 0 ? -Inf() : NaN(); }     // S(v)
double inf_against(double v) { return v > 0 ? -Inf() : v < 0 ? Inf() : NaN(); }  // -S(v)
double pole(double v) { return v > 0 ? Inf() : v == 0 ? 0.0 : -Inf(); }          // P(v)
double snap(double v) { return real::fabs(v) <= kSnap ? 0.0 : v; }

DComplex singularity(const char* name, const DComplex& z, const DComplex& fallback) {
    c_exception e(name, z);
    e.type = kSingularity;
    if (DComplex_error(e) != 0) return e.retval;
    errno = EDOM;
    return fallback;
}

DComplex overflow(const char* name, const DComplex& z, const DComplex& fallback) {
    c_exception e(name, z);
    e.type = kOverflow;
    e.retval = fallback;
    if (DComplex_error(e) == 0) errno = ERANGE;
    return e.retval;
}

// rho (cos phi, sin phi) with both factors snapped; `checked` adds the final
// test of the integer and real-exponent powers.
DComplex polar_form(double rho, double phi, bool checked) {
    const double c = snap(real::cos(phi));
    const double s = snap(real::sin(phi));
    if (checked && (is_nan(rho) || is_nan(phi) || is_inf(phi))) return nan2();
    return {rho * c, rho * s};
}

DComplex hyperbolic(const DComplex& z, bool is_cosh) {
    const double x = z.re, y = z.im;
    if (is_nan(x) || is_nan(y) || is_inf(y)) return !is_nan(y) && y == 0 ? DComplex(NaN(), 0.0) : nan2();
    const double cy = real::cos(y), sy = real::sin(y);
    if (is_nan(cy) || is_nan(sy)) return nan2();
    const char* name = is_cosh ? "cosh" : "sinh";
    if (x > 710.0) return overflow(name, z, {inf_like(cy), inf_like(sy)});
    if (x < -710.0) {
        return overflow(name, z, is_cosh ? DComplex(inf_like(cy), inf_against(sy)) : DComplex(inf_against(cy), inf_like(sy)));
    }
    if (is_cosh) return {real::cosh(x) * cy, real::sinh(x) * sy};
    return {real::sinh(x) * cy, real::cosh(x) * sy};
}

// The quotient of tan and tanh, or the singularity report when the
// denominator is zero; tanh settles 0/0 before it would report.
DComplex quotient_or_pole(const DComplex& num, const DComplex& den, const char* name, const DComplex& z,
                          bool numerator_first) {
    const DComplex zero(0.0);
    if (den != zero) return num / den;
    if (numerator_first && num == zero) return nan2();
    const DComplex fallback = num == zero ? nan2() : DComplex(pole(num.re), pole(num.im));
    return singularity(name, z, fallback);
}

// -i log(w) for the w of acos and asin, with their singularity.
DComplex minus_i_log(const char* name, const DComplex& z, const DComplex& w) {
    const DComplex i(0.0, 1.0);
    if (is_nan(::abs(w))) return nan2();
    if (::abs(w) == 0) return singularity(name, z, i * DComplex(Inf()));
    return (-i) * ::log(w);
}

}  // namespace

DComplex product(const DComplex& a, const DComplex& b) {
    if (has_nan(a) || has_nan(b)) return nan2();
    const bool ar0 = a.re == 0, ai0 = a.im == 0, br0 = b.re == 0, bi0 = b.im == 0;
    const bool a_real = ai0 && !ar0, a_imag = ar0 && !ai0, b_real = bi0 && !br0, b_imag = br0 && !bi0;
    if (ar0 && ai0) return {a.re * b.re, a.re * b.im};
    if (br0 && bi0) return {a.re * b.re, a.im * b.re};
    if (a_real && b_real) return {a.re * b.re, 0.0};
    if (a_imag && b_imag) return {(-a.im) * b.im, 0.0};
    if (a_imag && b_real) return {0.0, a.im * b.re};
    if (a_real && b_imag) return {0.0, a.re * b.im};
    if (ai0) return {a.re * b.re, a.re * b.im};
    if (bi0) return {a.re * b.re, a.im * b.re};
    if (ar0) return {(-a.im) * b.im, a.im * b.re};
    if (br0) return {(-a.im) * b.im, a.re * b.im};
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

DComplex quotient(const DComplex& a, const DComplex& b) {
    if (has_nan(a) || has_nan(b)) return nan2();
    if (b.im == 0) return {a.re / b.re, a.im / b.re};
    if (b.re == 0) return {a.im / b.im, (-a.re) / b.im};
    const bool branch_a = real::fabs(b.im) >= real::fabs(b.re);
    const double t = branch_a ? b.re / b.im : (-b.im) / b.re;
    const double d = (t * t + 1.0) * (branch_a ? b.im : b.re);
    const double p = branch_a ? a.re : -a.im, q = branch_a ? a.im : a.re;
    return {(p * t + q) / d, (q * t - p) / d};
}

double abs(const DComplex& z) {
    if (is_nan(z.re) || is_nan(z.im)) return NaN();
    if (is_inf(z.re) || is_inf(z.im)) return Inf();
    double x = z.re;
    if (x < 0) x = -x;
    if (z.im == 0) return x;
    double y = z.im;
    if (y < 0) y = -y;
    if (x == 0) return y;
    if (x < y) {
        const double swap = x;
        x = y;
        y = swap;
    }
    const double t = y / x;
    return x * real::sqrt(1.0 + t * t);
}

double norm(const DComplex& z) {
    if (is_nan(z.re) || is_nan(z.im)) return NaN();
    if (is_inf(z.re) || is_inf(z.im)) return Inf();
    return z.re * z.re + z.im * z.im;
}

double arg(const DComplex& z) {
    if (is_nan(z.re) || is_nan(z.im)) return NaN();
    if (is_inf(z.re) && is_inf(z.im)) return NaN();
    if (z.im == 0 && z.re == 0) return NaN();
    return real::atan2(z.im, z.re);
}

DComplex polar(double r, double theta) {
    if (is_inf(theta) || is_nan(r) || is_nan(theta)) return nan2();
    if (r == 0) return {0.0, 0.0};
    const double s = real::sin(theta);
    return {r * real::cos(theta), r * s};
}

// Halves away from zero by x - 0.5 or x + 0.5 and ceil or floor; the two
// inputs that defeat that formula are answered before it: |x| < 0.5 gives a
// zero of the formula's sign, |x| >= 2^52 is integral already.
double round(double x) {
    if (x < 0) return x > -0.5 ? -0.0 : x <= -0x1p52 ? x : real::ceil(x - 0.5);
    return x < 0.5 ? 0.0 : x >= 0x1p52 ? x : real::floor(x + 0.5);
}

DComplex exp(const DComplex& z) {
    const double x = z.re, y = z.im;
    if (is_nan(x) || is_nan(y) || is_inf(y)) {
        if (y == 0) return {NaN(), 0.0};
        if (x < -kThreshold) return {0.0, 0.0};
        return nan2();
    }
    const double e = real::exp(x), cy = real::cos(y), sy = real::sin(y);
    if (is_nan(cy) || is_nan(sy) || is_nan(e)) return nan2();
    if (e == 0) return {0.0, 0.0};
    if (e > kThreshold) return overflow("exp", z, {inf_like(cy), inf_like(sy)});
    return {e * cy, e * sy};
}

DComplex log(const DComplex& z) {
    if (has_nan(z)) return nan2();
    if (z.im == 0 && z.re == 0) return {real::log(steps::abs(z)), 0.0};
    const double modulus_log = real::log(steps::abs(z));
    return {modulus_log, steps::arg(z)};
}

DComplex log10(const DComplex& z) { return product(DComplex(0.4342944819032518), steps::log(z)); }

DComplex sqrt(const DComplex& z) {
    if (has_nan(z)) return nan2();
    if (z.im == 0) return z.re >= 0 ? DComplex(real::sqrt(z.re), 0.0) : DComplex(0.0, real::sqrt(-z.re));
    const double r = real::sqrt(steps::abs(z));
    const double h = steps::arg(z) / 2.0;
    return polar_form(r, h, false);
}

DComplex hypot(const DComplex& a, const DComplex& b) {
    const DComplex bb = product(b, b);
    const DComplex aa = product(a, a);
    return steps::sqrt(aa + bb);
}

DComplex pow(const DComplex& z, int n) {
    if (is_inf(z.re) && is_inf(z.im)) return nan2();
    if (has_nan(z)) return nan2();
    if (n == 0) return {1.0, 0.0};
    if (n == 1) return z;
    if (z.im == 0 && z.re == 0) return n > 0 ? DComplex(0.0, 0.0) : DComplex(Inf(), 0.0);
    if (z.im == 0 && z.re > 0) return {real::pow(z.re, n), 0.0};
    if (z.im == 0 && z.re < 0 && n < 0 && is_inf(z.re)) return {0.0, 0.0};
    const DComplex b = n > 0 ? z : quotient(DComplex(1.0), z);
    const double rho = real::pow(steps::abs(z), n);
    const double phi = steps::arg(b) * real::fabs(static_cast<double>(n));
    return polar_form(rho, phi, true);
}

DComplex pow(const DComplex& z, double y) {
    if (is_inf(z.re) && is_inf(z.im)) return nan2();
    if (has_nan(z) || is_nan(y)) return nan2();
    // An integral exponent beyond the range of int stays with this overload.
    if (!is_inf(y) && real::floor(y) == y && y >= INT_MIN && y <= INT_MAX) return steps::pow(z, static_cast<int>(y));
    if (z.im == 0 && z.re == 0 && y > 0) return {0.0, 0.0};
    if (z.im == 0 && z.re == 0 && y < 0) return {Inf(), 0.0};
    if (z.im == 0 && z.re > 0) return {real::pow(z.re, y), 0.0};
    if (z.im == 0 && z.re < 0 && is_inf(y)) return {NaN(), 0.0};
    if (z.im == 0 && z.re < 0 && y < 0 && is_inf(z.re)) return {0.0, 0.0};
    const double rho = real::pow(steps::abs(z), y);
    const double phi = steps::arg(z) * y;
    return polar_form(rho, phi, true);
}

DComplex pow(double x, const DComplex& w) {
    if (is_inf(x)) return nan2();
    if (is_nan(x) || has_nan(w)) return nan2();
    if (w.im == 0) return {real::pow(x, w.re), 0.0};
    if (x == 0) return w.re > 0 ? DComplex(0.0, 0.0) : nan2();
    if (x > 0) return steps::exp(product(w, DComplex(real::log(x))));
    const double m = real::pow(-x, w.re);
    const double r = real::exp((-w.im) * kPi) * m;
    const double theta = real::log(-x) * w.im + w.re * kPi;
    const double c = real::cos(theta);
    const double s = real::sin(theta);
    return {r * c, r * s};
}

DComplex pow(const DComplex& z, const DComplex& w) {
    if (is_inf(z.re) && is_inf(z.im)) return nan2();
    if (has_nan(z) || has_nan(w)) return nan2();
    if (w.im == 0) return steps::pow(z, w.re);
    if (z.im == 0) return steps::pow(z.re, w);
    const double rho = steps::abs(z), theta = steps::arg(z);
    const double m = real::pow(rho, w.re);
    const double r = real::exp((-w.im) * theta) * m;
    const double angle = real::log(rho) * w.im + w.re * theta;
    return polar_form(r, angle, false);
}

DComplex cosh(const DComplex& z) { return hyperbolic(z, true); }

DComplex sinh(const DComplex& z) { return hyperbolic(z, false); }

DComplex tanh(const DComplex& z) {
    const DComplex sh = ::sinh(z);
    const DComplex ch = ::cosh(z);
    return quotient_or_pole(sh, ch, "tanh", z, true);
}

DComplex cos(const DComplex& z) { return steps::cosh(DComplex(-z.im, z.re)); }

DComplex sin(const DComplex& z) {
    if (has_nan(z)) return nan2();
    const DComplex t = steps::sinh(DComplex(-z.im, z.re));
    return {t.im, -t.re};
}

DComplex tan(const DComplex& z) {
    const DComplex s = ::sin(z);
    const DComplex c = ::cos(z);
    return quotient_or_pole(s, c, "tan", z, false);
}

DComplex acos(const DComplex& z) {
    const DComplex i(0.0, 1.0);
    const DComplex r = ::sqrt(1.0 - z * z);
    return minus_i_log("acos", z, z + i * r);
}

DComplex asin(const DComplex& z) {
    const DComplex i(0.0, 1.0);
    const DComplex r = ::sqrt(1.0 - z * z);
    return minus_i_log("asin", z, i * z + r);
}

DComplex atan(const DComplex& z) {
    if (has_nan(z)) return nan2();
    const DComplex i(0.0, 1.0);
    if (z == -i) return singularity("atan", z, (-i) * DComplex(Inf()));
    if (z == i) return singularity("atan", z, i * DComplex(Inf()));
    const DComplex h2(2.0);
    const DComplex a = ::log(i - z);
    const DComplex b = ::log(i + z);
    const DComplex d = b - a;
    const DComplex h = i / h2;
    return h * d;
}

}  // namespace steps
}  // namespace zt
