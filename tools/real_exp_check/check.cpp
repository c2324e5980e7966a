// Development check of the portable exp, log, pow, cosh and sinh against
// MPFR, with the platform's (glibc's) functions on the same arguments beside.
// Not part of the build (tools/real_accuracy measures all eight functions
// for docs/ACCURACY.md); this one also runs the directed rounding modes.
//
//   usage: check FUNC DIST N [MODE]     MODE: n (default), u, d, z
//   run.sh [N] [MODE] runs every distribution of every function.
//
// Prints, per distribution: the largest error in ulps of the exact value
// (MPFR at 256 bits) with its argument, the share equal to the correctly
// rounded result (in MODE), and the count of errors of 1 ulp or more.
// Arguments: a fixed-seed generator (mt19937_64, seed 12345).
#include "real/portable.h"

#include <mpfr.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace P = zu::real::portable;

static std::mt19937_64 rng(12345);
static double uni(double a, double b) { return a + (b - a) * std::uniform_real_distribution<double>(0, 1)(rng); }
static double bits_d(uint64_t b) { double d; std::memcpy(&d, &b, 8); return d; }
static uint64_t d_bits(double d) { uint64_t b; std::memcpy(&b, &d, 8); return b; }
// log-uniform magnitude in [2^lo, 2^hi), random sign if sgn
static double logu(double lo, double hi, bool sgn) {
    double e = uni(lo, hi);
    double m = std::exp2(e);
    if (sgn && (rng() & 1)) m = -m;
    return m;
}

typedef double (*F1)(double);
struct Fn { const char* name; int arity; };

static mpfr_t vx, vy, vr, tmp;
static mpfr_exp_t emin0, emax0;

// exact value into vr (prec 256)
static void exact(const std::string& f, double x, double y) {
    mpfr_set_d(vx, x, MPFR_RNDN);
    mpfr_set_d(vy, y, MPFR_RNDN);
    if (f == "exp") mpfr_exp(vr, vx, MPFR_RNDN);
    else if (f == "log") mpfr_log(vr, vx, MPFR_RNDN);
    else if (f == "cosh") mpfr_cosh(vr, vx, MPFR_RNDN);
    else if (f == "sinh") mpfr_sinh(vr, vx, MPFR_RNDN);
    else if (f == "pow") mpfr_pow(vr, vx, vy, MPFR_RNDN);
}

// error of y in ulps of the exact value (vr), ulp clamped to 2^-1074; inf handled
static double ulp_err(double y) {
    if (mpfr_nan_p(vr)) return std::isnan(y) ? 0 : 1e9;
    if (std::isnan(y)) return 1e9;
    if (mpfr_zero_p(vr)) return y == 0 ? 0 : 1e9;
    if (mpfr_inf_p(vr) || mpfr_get_exp(vr) > 1024) {
        bool same_sign = (y > 0) == (mpfr_sgn(vr) > 0);
        return (same_sign && (std::isinf(y) || std::fabs(y) == 1.7976931348623157e308)) ? 0 : 1e9;
    }
    long e = mpfr_get_exp(vr);  // vr = m 2^e, m in [0.5,1)
    long ue = e - 53;
    if (ue < -1074) ue = -1074;
    if (std::isinf(y)) {
        // exact beyond DBL_MAX + half ulp -> inf fine
        if (e > 1024) return (y > 0) == (mpfr_sgn(vr) > 0) ? 0 : 1e9;
        // distance from DBL_MAX, counting inf as 2^1024
        mpfr_set_ui_2exp(tmp, 1, 1024, MPFR_RNDN);
        if (y < 0) mpfr_neg(tmp, tmp, MPFR_RNDN);
    } else {
        mpfr_set_d(tmp, y, MPFR_RNDN);
    }
    if (e > 1024) {
        // exact overflows; finite y: distance in ulps of DBL_MAX
        ue = 1024 - 53;
    }
    mpfr_sub(tmp, tmp, vr, MPFR_RNDN);
    mpfr_abs(tmp, tmp, MPFR_RNDN);
    mpfr_mul_2si(tmp, tmp, -ue, MPFR_RNDN);
    return mpfr_get_d(tmp, MPFR_RNDN);
}

static double glibc(const std::string& f, double x, double y) {
    if (f == "exp") return std::exp(x);
    if (f == "log") return std::log(x);
    if (f == "cosh") return std::cosh(x);
    if (f == "sinh") return std::sinh(x);
    return std::pow(x, y);
}
static double ours(const std::string& f, double x, double y) {
    if (f == "exp") return P::exp(x);
    if (f == "log") return P::log(x);
    if (f == "cosh") return P::cosh(x);
    if (f == "sinh") return P::sinh(x);
    return P::pow(x, y);
}

static void gen(const std::string& f, const std::string& d, double& x, double& y) {
    y = 0;
    if (f == "exp") {
        if (d == "wide") x = uni(-746, 710);
        else if (d == "small") x = logu(-70, -1, true);
        else if (d == "sub") x = uni(-746, -708);
        else if (d == "big") x = uni(700, 709.79);
        else if (d == "busy") x = uni(-10, 10);
        else x = bits_d(rng());
    } else if (f == "log") {
        if (d == "wide") { do x = bits_d(rng() >> 1); while (!(x <= 1.7976931348623157e308)); }
        else if (d == "busy") x = uni(0.5, 2);
        else if (d == "near1") x = 1 + uni(-1.0 / 128, 1.0 / 128);
        else if (d == "nearer1") x = 1 + logu(-53, -8, true);
        else if (d == "sub") x = bits_d(rng() >> 12);
        else x = uni(0, 100);
    } else if (f == "cosh" || f == "sinh") {
        if (d == "wide") x = uni(-711, 711);
        else if (d == "small") x = logu(-70, -1, true);
        else if (d == "busy") x = uni(-30, 30);
        else if (d == "unit") x = uni(-1, 1);
        else if (d == "big") x = uni(705, 710.48) * ((rng() & 1) ? 1 : -1);
        else x = bits_d(rng());
    } else {  // pow
        if (d == "wide") {  // x log-uniform, y with |y log x| < 760
            x = logu(-1074, 1024, false);
            double l = std::log(x);
            double t = uni(-760, 760);
            y = l == 0 ? uni(-10, 10) : t / l;
        } else if (d == "busy") { x = uni(0.5, 2); y = uni(-100, 100); }
        else if (d == "near1") { x = 1 + logu(-53, -10, true); y = logu(0, 63, true); }
        else if (d == "negint") { x = -logu(-20, 20, false); y = std::floor(uni(-200, 200)); }
        else if (d == "sub") { x = bits_d(rng() >> 12); y = uni(-1.0, 1.0); }
        else if (d == "int") { x = std::floor(uni(2, 1000)); y = std::floor(uni(-20, 20)); }
        else { x = uni(0, 10); y = uni(-10, 10); }
    }
}

int main(int argc, char** argv) {
    std::string f = argv[1], d = argv[2];
    long n = std::atol(argv[3]);
    int mode = FE_TONEAREST;
    if (argc > 4) mode = argv[4][0] == 'u' ? FE_UPWARD : argv[4][0] == 'd' ? FE_DOWNWARD : argv[4][0] == 'z' ? FE_TOWARDZERO : FE_TONEAREST;
    mpfr_set_default_prec(256);
    emin0 = mpfr_get_emin(); emax0 = mpfr_get_emax();
    mpfr_inits2(256, vx, vy, vr, tmp, (mpfr_ptr)0);
    double worst = 0, gworst = 0, wx = 0, wy = 0, gwx = 0, gwy = 0;
    long cr = 0, gcr = 0, over1 = 0;
    for (long i = 0; i < n; ++i) {
        double x, y;
        gen(f, d, x, y);
        fesetround(mode);
        double a = ours(f, x, y);
        double g = glibc(f, x, y);
        fesetround(FE_TONEAREST);
        exact(f, x, y);
        double ea = ulp_err(a), eg = ulp_err(g);
        // correctly rounded (in the mode): compare with mpfr at 53 bits
        {
            mpfr_rnd_t rm = mode == FE_UPWARD ? MPFR_RNDU : mode == FE_DOWNWARD ? MPFR_RNDD : mode == FE_TOWARDZERO ? MPFR_RNDZ : MPFR_RNDN;
            mpfr_t c; mpfr_init2(c, 53);
            mpfr_set_emin(-1073); mpfr_set_emax(1024);
            if (mpfr_inf_p(vr)) mpfr_set_si_2exp(vr, mpfr_sgn(vr), 4000, MPFR_RNDN);
            int t = mpfr_set(c, vr, rm);
            t = mpfr_check_range(c, t, rm);
            t = mpfr_subnormalize(c, t, rm);
            double cd = mpfr_get_d(c, rm);
            mpfr_set_emin(emin0); mpfr_set_emax(emax0);
            mpfr_clear(c);
            bool nan = std::isnan(cd);
            if ((nan && std::isnan(a)) || d_bits(a) == d_bits(cd)) ++cr;
            if ((nan && std::isnan(g)) || d_bits(g) == d_bits(cd)) ++gcr;
        }
        if (ea >= 1.0) ++over1;
        if (ea > worst) { worst = ea; wx = x; wy = y; }
        if (eg > gworst) { gworst = eg; gwx = x; gwy = y; }
    }
    printf("%-5s %-8s mode=%s n=%ld  ours: max %.4f ulp (x=%a y=%a) CR %.4f%%  >=1ulp %ld | glibc: max %.4f ulp (x=%a y=%a) CR %.4f%%\n",
           f.c_str(), d.c_str(), argc > 4 ? argv[4] : "n", n, worst, wx, wy, 100.0 * cr / n, over1, gworst, gwx, gwy, 100.0 * gcr / n);
}
