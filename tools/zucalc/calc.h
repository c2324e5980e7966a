// zucalc's expression language: parsing into a small tree, evaluating it
// with the library, and printing one expression's outcome.
#ifndef ZUCALC_CALC_H
#define ZUCALC_CALC_H

#include "report.h"
#include "zu_complex.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

namespace zucalc {

// Deeper nesting (parentheses, unary signs, powers, calls) is refused, so
// neither parsing nor evaluation can run out of stack.
constexpr int kMaxDepth = 200;

// A value is real or complex, and which one is known from the expression's
// shape alone, before anything is evaluated.
struct Value {
    bool is_complex = false;
    double x = 0.0;  // when real
    DComplex z;      // when complex
};

struct ParseError {
    std::size_t column = 0;  // 1-based, counted in characters
    std::string message;     // e.g. "expected ')' but found ','"
};

enum class Fn {
    exp, log, log10, sqrt, hypot, pow, abs, norm, arg, polar, conj, real, imag,
    ceil, floor, round, sin, cos, tan, sinh, cosh, tanh, asin, acos, atan
};

// complex_literal is a constant (i); pair is "(re,im)" from two real
// expressions.
enum class NodeKind { number, complex_literal, pair, neg, pos, chain, power, call };

struct Node {
    NodeKind kind = NodeKind::number;
    bool is_complex = false;
    double x = 0.0;            // number
    DComplex z;                // complex constant
    bool int_literal = false;  // number written as digits only, fitting in int
    int int_value = 0;
    Fn fn = Fn::exp;           // call
    // neg/pos: one child; pair: real part, imaginary part; power: base,
    // exponent; call: the arguments;
    // chain: operands of a left-associative run joined by ops[k] (ops[0]
    // unused), so a long sum is a loop, not a deep tree.
    std::vector<int> kids;
    std::vector<char> ops;
};

class Expression {
public:
    std::vector<Node> nodes;
    int root = -1;
};

// Parses the whole text; false (and `error` filled) unless all of it is one
// well-formed expression.
bool parse(const std::string& text, Expression& out, ParseError& error);

struct Evaluation {
    Value value;
    std::vector<Report> reports;  // in the order the library made them
    int error_number = 0;         // errno after evaluation (0 before it)
};

// Sets errno to 0 first. An expression that failed to parse evaluates to
// real 0 with nothing reported.
Evaluation evaluate(const Expression& e);

struct Options {
    Format format;
    bool show_reports = true;  // false when the hook cannot be taken over
};

std::string format_value(const Value& v, const Format& f);

// Parses, evaluates and prints one expression: the value, then one indented
// line per report, then errno if it is set. A malformed expression prints
// "zucalc: column N: ..." on `err` and nothing on `out`; returns false.
bool calculate(const std::string& text, const Options& opt, std::ostream& out, std::ostream& err);

}  // namespace zucalc

#endif  // ZUCALC_CALC_H
