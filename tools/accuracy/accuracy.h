// zu_accuracy: measures how far the library's results lie from the
// correctly rounded values that GNU MPC computes, and does the same for
// std::complex<double> on the same inputs.
#ifndef ZU_ACCURACY_ACCURACY_H
#define ZU_ACCURACY_ACCURACY_H

#include <mpc.h>

#include <complex>
#include <cstddef>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "zu_complex.h"

namespace acc {

// Working precision of every reference value, in bits. The references are
// correctly rounded at this precision and then compared with the doubles.
constexpr mpfr_prec_t kWorkPrecision = 200;

using Rng = std::mt19937_64;

// The operands of one call. Which fields a function reads depends on its
// form: z = (a, b) for the one-operand functions; z = (a, b), w = (c, d) for
// the products, quotients, hypot and pow(z, w); z = (a, b) and n for
// pow(z, int); z = (a, b) and y = c for pow(z, double); x = a and w = (c, d)
// for pow(double, w).
struct Sample {
    double a = 0.0, b = 0.0, c = 0.0, d = 0.0;
    long n = 0;
};

enum class Form { unary, binary, pow_int, pow_real, real_base };

// A region of the input space: a name for the table, one line saying what
// it is, and the draw that makes one sample from the generator.
struct Region {
    std::string name;
    std::string what;
    std::function<Sample(Rng&)> draw;
};

struct Function {
    std::string name;          // as in the table, e.g. "pow(z, int)"
    Form form;
    bool real_result;          // abs, arg, norm: only the real part is scored
    std::function<DComplex(const Sample&)> zu;
    std::function<std::complex<double>(const Sample&)> peer;
    // Sets `out` (already at kWorkPrecision) to the reference value; real
    // results go to the real part.
    std::function<void(mpc_ptr out, const Sample&)> reference;
    std::vector<Region> regions;
};

// The catalogue of measured functions, in table order.
std::vector<Function> make_catalogue();
const Function* find_function(const std::vector<Function>& all, const std::string& name);

// Operands as C99 hexadecimal floating-point text, by form.
std::string format_operands(Form form, const Sample& s);
std::string hex_pair(double re, double im);
std::string hex(double v);

// ---------------------------------------------------------------------------
// Scoring
// ---------------------------------------------------------------------------

// What happened to one part of one result.
enum class Outcome {
    scored,         // both finite: an error in ulps
    agree,          // both the same non-finite value
    lib_nonfinite,  // the tested result is non-finite and differs from MPC's
    ref_nonfinite   // MPC's rounded value is non-finite, the tested one finite
};

struct PartScore {
    Outcome outcome = Outcome::scored;
    double ulps = 0.0;  // |value - exact| / ulp(correctly rounded double)
};

struct Score {
    PartScore part[2];
    bool rel_scored = false;  // all parts finite on both sides
    double rel = 0.0;         // |value - exact| / |exact|, normwise
};

// The reference of one sample at kWorkPrecision and rounded to double.
class Reference {
public:
    Reference();
    ~Reference();
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;

    void compute(const Function& f, const Sample& s);
    mpc_srcptr exact() const { return value_; }
    double rounded(int part) const { return rounded_[part]; }

private:
    mpc_t value_;
    double rounded_[2];
};

// Scores `value` (re, im) against the reference. Thread-compatible: each
// thread needs its own Scorer.
class Scorer {
public:
    Scorer();
    ~Scorer();
    Scorer(const Scorer&) = delete;
    Scorer& operator=(const Scorer&) = delete;

    Score score(const Reference& ref, double re, double im, bool real_result);

private:
    PartScore score_part(double v, mpfr_srcptr exact, double rounded);
    mpfr_t diff_, tmp_, num_, den_;
};

// Error-hook bookkeeping: the program defines DComplex_error and counts the
// reports made since the last reset.
void reset_reports();
long reports_made();

}  // namespace acc

#endif  // ZU_ACCURACY_ACCURACY_H
