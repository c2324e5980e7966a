// References, error measures, operand formatting and the error hook.
#include "accuracy.h"
#include "report.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

// The library's reports come here instead of its own hook (the program's
// definition takes precedence on ELF platforms). Answering 0 keeps the
// library's defaults, so what is measured is exactly what a caller with the
// default hook gets.
static long g_reports = 0;

int DComplex_error(c_exception& e) {
    (void)e;
    ++g_reports;
    return 0;
}

namespace acc {

void reset_reports() { g_reports = 0; }

void print_versions() {
#if defined(__clang__)
    std::printf("compiler: Clang %s\n", __clang_version__);
#elif defined(__GNUC__)
    std::printf("compiler: GCC %s\n", __VERSION__);
#endif
#if defined(_GLIBCXX_RELEASE)
    std::printf("C++ library: libstdc++ %d (%d)\n", _GLIBCXX_RELEASE, __GLIBCXX__);
#endif
    std::printf("GNU MPC: %s\n", mpc_get_version());
    std::printf("GNU MPFR: %s\n", mpfr_get_version());
    std::printf("GMP: %s\n", gmp_version);
}
long reports_made() { return g_reports; }

// ---------------------------------------------------------------------------
// Formatting
// ---------------------------------------------------------------------------

std::string hex(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%a", v);
    return buf;
}

std::string hex_pair(double re, double im) { return "(" + hex(re) + ", " + hex(im) + ")"; }

std::string format_operands(Form form, const Sample& s) {
    switch (form) {
    case Form::unary:
        return hex_pair(s.a, s.b);
    case Form::binary:
        return hex_pair(s.a, s.b) + ", " + hex_pair(s.c, s.d);
    case Form::pow_int:
        return hex_pair(s.a, s.b) + ", " + std::to_string(s.n);
    case Form::pow_real:
        return hex_pair(s.a, s.b) + ", " + hex(s.c);
    case Form::real_base:
        return hex(s.a) + ", " + hex_pair(s.c, s.d);
    }
    return "";
}

// ---------------------------------------------------------------------------
// Reference values
// ---------------------------------------------------------------------------

Reference::Reference() : rounded_{0.0, 0.0} { mpc_init2(value_, kWorkPrecision); }

Reference::~Reference() { mpc_clear(value_); }

void Reference::compute(const Function& f, const Sample& s) {
    f.reference(value_, s);
    if (f.real_result) mpfr_set_zero(mpc_imagref(value_), 1);
    // mpfr_get_d rounds to nearest once more, subnormals included; a value
    // beyond the double range becomes an infinity.
    rounded_[0] = mpfr_get_d(mpc_realref(value_), MPFR_RNDN);
    rounded_[1] = mpfr_get_d(mpc_imagref(value_), MPFR_RNDN);
}

// ---------------------------------------------------------------------------
// Scores
// ---------------------------------------------------------------------------

Scorer::Scorer() {
    mpfr_init2(diff_, kWorkPrecision);
    mpfr_init2(tmp_, kWorkPrecision);
    mpfr_init2(num_, 64);
    mpfr_init2(den_, 64);
}

Scorer::~Scorer() {
    mpfr_clear(diff_);
    mpfr_clear(tmp_);
    mpfr_clear(num_);
    mpfr_clear(den_);
}

namespace {
// The exponent of the unit in the last place of the double `rounded`: the
// spacing of doubles at that value, 2^-1074 for zero and subnormals.
long ulp_exponent(double rounded) {
    if (rounded == 0.0) return -1074;
    const long e = std::ilogb(rounded) - 52;
    return e < -1074 ? -1074 : e;
}
}  // namespace

PartScore Scorer::score_part(double v, mpfr_srcptr exact, double rounded) {
    PartScore r;
    const bool v_finite = std::isfinite(v);
    const bool ref_finite = std::isfinite(rounded);
    if (!v_finite || !ref_finite) {
        const bool same = (std::isnan(v) && std::isnan(rounded)) || v == rounded;
        if (same)
            r.outcome = Outcome::agree;
        else if (!v_finite)
            r.outcome = Outcome::lib_nonfinite;
        else
            r.outcome = Outcome::ref_nonfinite;
        return r;
    }
    mpfr_set_d(tmp_, v, MPFR_RNDN);  // exact
    mpfr_sub(diff_, tmp_, exact, MPFR_RNDN);
    mpfr_abs(diff_, diff_, MPFR_RNDN);
    mpfr_mul_2si(diff_, diff_, -ulp_exponent(rounded), MPFR_RNDN);
    double u = mpfr_get_d(diff_, MPFR_RNDN);
    if (!(u <= DBL_MAX)) u = DBL_MAX;  // beyond 2^1024 ulps: shown as >1e308
    r.ulps = u;
    return r;
}

Score Scorer::score(const Reference& ref, double re, double im, bool real_result) {
    Score s;
    mpc_srcptr x = ref.exact();
    s.part[0] = score_part(re, mpc_realref(x), ref.rounded(0));
    if (!real_result) s.part[1] = score_part(im, mpc_imagref(x), ref.rounded(1));

    const bool finite = std::isfinite(re) && std::isfinite(ref.rounded(0)) &&
                        (real_result || (std::isfinite(im) && std::isfinite(ref.rounded(1))));
    if (!finite) return s;
    s.rel_scored = true;
    // The correctly rounded value itself counts as exact: below 2^-1022 its
    // own relative error can be as large as 1, and no double does better.
    if (re == ref.rounded(0) && (real_result || im == ref.rounded(1))) return s;
    // |value - exact| / |exact| with the exact parts at full precision.
    mpfr_set_d(tmp_, re, MPFR_RNDN);
    mpfr_sub(diff_, tmp_, mpc_realref(x), MPFR_RNDN);
    mpfr_set(num_, diff_, MPFR_RNDN);
    if (!real_result) {
        mpfr_set_d(tmp_, im, MPFR_RNDN);
        mpfr_sub(diff_, tmp_, mpc_imagref(x), MPFR_RNDN);
        mpfr_hypot(num_, num_, diff_, MPFR_RNDN);
        mpfr_hypot(den_, mpc_realref(x), mpc_imagref(x), MPFR_RNDN);
    } else {
        mpfr_abs(num_, num_, MPFR_RNDN);
        mpfr_abs(den_, mpc_realref(x), MPFR_RNDN);
    }
    if (mpfr_zero_p(den_)) {
        s.rel = mpfr_zero_p(num_) ? 0.0 : INFINITY;
    } else {
        mpfr_div(num_, num_, den_, MPFR_RNDN);
        s.rel = mpfr_get_d(num_, MPFR_RNDN);
    }
    return s;
}

}  // namespace acc
