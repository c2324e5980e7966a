#include "calc.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <utility>

namespace zucalc {

namespace {

struct FnInfo {
    const char* name;
    Fn fn;
    int arity;
    bool real_result;
};

const FnInfo kFunctions[] = {
    {"exp", Fn::exp, 1, false},     {"log", Fn::log, 1, false},     {"log10", Fn::log10, 1, false},
    {"sqrt", Fn::sqrt, 1, false},   {"hypot", Fn::hypot, 2, false}, {"pow", Fn::pow, 2, false},
    {"abs", Fn::abs, 1, true},      {"norm", Fn::norm, 1, true},    {"arg", Fn::arg, 1, true},
    {"polar", Fn::polar, 2, false}, {"conj", Fn::conj, 1, false},   {"real", Fn::real, 1, true},
    {"imag", Fn::imag, 1, true},    {"ceil", Fn::ceil, 1, false},   {"floor", Fn::floor, 1, false},
    {"round", Fn::round, 1, false}, {"sin", Fn::sin, 1, false},     {"cos", Fn::cos, 1, false},
    {"tan", Fn::tan, 1, false},     {"sinh", Fn::sinh, 1, false},   {"cosh", Fn::cosh, 1, false},
    {"tanh", Fn::tanh, 1, false},   {"asin", Fn::asin, 1, false},   {"acos", Fn::acos, 1, false},
    {"atan", Fn::atan, 1, false},
};

const FnInfo* find_function(const std::string& name) {
    for (const FnInfo& f : kFunctions)
        if (name == f.name) return &f;
    return nullptr;
}

const FnInfo& info(Fn fn) {
    for (const FnInfo& f : kFunctions)
        if (f.fn == fn) return f;
    return kFunctions[0];
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_ident_start(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool is_ident_char(char c) { return is_ident_start(c) || is_digit(c); }
bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

bool same_ignoring_case(const std::string& a, const char* b) {
    std::size_t k = 0;
    for (; k < a.size() && b[k] != '\0'; ++k) {
        char c = a[k];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != b[k]) return false;
    }
    return k == a.size() && b[k] == '\0';
}

// 1-based, counted in characters: UTF-8 continuation bytes do not count.
std::size_t column_of(const std::string& s, std::size_t pos) {
    std::size_t col = 1;
    for (std::size_t k = 0; k < pos && k < s.size(); ++k)
        if ((static_cast<unsigned char>(s[k]) & 0xC0) != 0x80) ++col;
    return col;
}

struct Failure {
    std::size_t pos;
    std::string message;
};

class Parser {
public:
    Parser(const std::string& text, Expression& out) : s_(text), ex_(out) {}

    void run() {
        ex_.root = expr();
        skip_space();
        if (pos_ < s_.size()) fail("expected an operator or the end of the expression but found " + found());
    }

private:
    const std::string& s_;
    Expression& ex_;
    std::size_t pos_ = 0;
    int depth_ = 0;

    [[noreturn]] void fail(const std::string& message) { fail_at(pos_, message); }
    [[noreturn]] void fail_at(std::size_t pos, const std::string& message) { throw Failure{pos, message}; }

    void skip_space() {
        while (pos_ < s_.size() && is_space(s_[pos_])) ++pos_;
    }
    bool at(char c) {
        skip_space();
        return pos_ < s_.size() && s_[pos_] == c;
    }

    // The token at the current position, quoted, for "but found ...".
    std::string found() {
        skip_space();
        if (pos_ >= s_.size()) return "the end of the expression";
        const char* start = s_.c_str() + pos_;
        std::size_t len = 1;
        unsigned char c = static_cast<unsigned char>(s_[pos_]);
        if (is_digit(s_[pos_]) || (s_[pos_] == '.' && pos_ + 1 < s_.size() && is_digit(s_[pos_ + 1]))) {
            char* end = nullptr;
            std::strtod(start, &end);
            len = static_cast<std::size_t>(end - start);
        } else if (is_ident_start(s_[pos_])) {
            while (pos_ + len < s_.size() && is_ident_char(s_[pos_ + len])) ++len;
        } else if (c >= 0xC0) {  // the whole UTF-8 sequence
            while (pos_ + len < s_.size() && (static_cast<unsigned char>(s_[pos_ + len]) & 0xC0) == 0x80) ++len;
        } else if (c < 0x20 || c == 0x7F) {
            static const char digits[] = "0123456789abcdef";
            return std::string("character 0x") + digits[c >> 4] + digits[c & 15];
        }
        return "'" + s_.substr(pos_, len) + "'";
    }

    void expect(char c) {
        if (!at(c)) fail("expected '" + std::string(1, c) + "' but found " + found());
        ++pos_;
    }

    // `opener` is the position of the "(", sign or "^" that goes one deeper.
    void enter(std::size_t opener) {
        if (++depth_ > kMaxDepth)
            fail_at(opener, "expression nested too deeply (more than " + std::to_string(kMaxDepth) + " levels)");
    }
    void leave() { --depth_; }

    int add(Node n) {
        ex_.nodes.push_back(std::move(n));
        return static_cast<int>(ex_.nodes.size()) - 1;
    }
    bool complex_at(int k) const { return ex_.nodes[static_cast<std::size_t>(k)].is_complex; }

    // A left-associative run of operands at one precedence level.
    template <class Operand>
    int chain(const char* operators, Operand operand) {
        int first = (this->*operand)();
        Node n;
        n.kind = NodeKind::chain;
        n.kids.push_back(first);
        n.ops.push_back(' ');
        n.is_complex = complex_at(first);
        for (;;) {
            skip_space();
            if (pos_ >= s_.size() || std::string(operators).find(s_[pos_]) == std::string::npos) break;
            char op = s_[pos_++];
            int next = (this->*operand)();
            n.kids.push_back(next);
            n.ops.push_back(op);
            n.is_complex = n.is_complex || complex_at(next);
        }
        return n.kids.size() == 1 ? first : add(std::move(n));
    }

    int expr() { return chain("+-", &Parser::term); }
    int term() { return chain("*/", &Parser::unary); }

    // Signs bind looser than ^, so -2^2 is -(2^2).
    int unary() {
        skip_space();
        if (pos_ < s_.size() && (s_[pos_] == '-' || s_[pos_] == '+')) {
            Node n;
            n.kind = s_[pos_] == '-' ? NodeKind::neg : NodeKind::pos;
            enter(pos_++);
            int operand = unary();
            leave();
            n.kids.push_back(operand);
            n.is_complex = complex_at(operand);
            return add(std::move(n));
        }
        return power();
    }

    // ^ is right-associative and its exponent may carry a sign: 2^-1, 2^3^2.
    int power() {
        int base = primary();
        if (!at('^')) return base;
        enter(pos_++);
        int exponent = unary();
        leave();
        Node n;
        n.kind = NodeKind::power;
        n.kids = {base, exponent};
        n.is_complex = true;
        return add(std::move(n));
    }

    int primary() {
        skip_space();
        if (pos_ >= s_.size()) fail("expected an expression but found the end of the expression");
        char c = s_[pos_];
        if (c == '(') return parenthesis();
        if (is_digit(c) || c == '.') return number();
        if (is_ident_start(c)) return name();
        fail("expected an expression but found " + found());
    }

    // A "(" opens a complex literal when a comma follows its first
    // expression at the same level, "(re,im)" with each part any real
    // expression: (inf,0), (-0.0,1e-300), (pi/2,-1). Otherwise it groups:
    // (1+2)*3. Commas inside a call's parentheses belong to the call.
    int parenthesis() {
        const std::size_t open = pos_;
        enter(pos_++);
        if (at(',')) fail("expected the real part of the complex literal" + opened_at(open) + " but found ','");
        const std::size_t re_pos = pos_;
        const int first = expr();
        if (at(')')) {
            ++pos_;
            leave();
            return first;
        }
        if (!at(',')) {
            if (pos_ >= s_.size()) fail("missing ')' to close the '('" + opened_at(open));
            fail("expected ')', or ',' for a complex literal, but found " + found());
        }
        real_part(first, re_pos, "real");
        ++pos_;
        skip_space();
        if (pos_ >= s_.size() || s_[pos_] == ')' || s_[pos_] == ',')
            fail("expected the imaginary part of the complex literal" + opened_at(open) + " but found " + found());
        const std::size_t im_pos = pos_;
        const int second = expr();
        if (!at(')')) {
            if (pos_ >= s_.size()) fail("missing ')' to close the complex literal" + opened_at(open));
            fail("expected ')' to close the complex literal" + opened_at(open) + " but found " + found());
        }
        real_part(second, im_pos, "imaginary");
        ++pos_;
        leave();
        Node n;
        n.kind = NodeKind::pair;
        n.kids = {first, second};
        n.is_complex = true;
        return add(std::move(n));
    }

    // Counted only when a message needs it: a long expression has many "(".
    std::string opened_at(std::size_t open) const {
        return " opened at column " + std::to_string(column_of(s_, open));
    }

    // A part is refused when its value would be complex: the literal's parts
    // are doubles, and dropping an imaginary part silently would hide it.
    void real_part(int k, std::size_t part_pos, const char* which) {
        if (!complex_at(k)) return;
        fail_at(part_pos, std::string("the ") + which +
                              " part of a complex literal must be real, but this one is complex "
                              "(real() or imag() takes one part)");
    }

    int number() {
        const char* start = s_.c_str() + pos_;
        char* end = nullptr;
        double x = std::strtod(start, &end);
        std::size_t len = static_cast<std::size_t>(end - start);
        if (len == 0) fail("expected an expression but found " + found());
        Node n;
        n.x = x;
        // Digits only, fitting in an int: what C++ would take as an int.
        bool digits_only = true;
        long long v = 0;
        for (std::size_t k = 0; k < len && digits_only; ++k) {
            if (!is_digit(start[k])) {
                digits_only = false;
            } else if (v <= INT_MAX) {
                v = v * 10 + (start[k] - '0');
            }
        }
        if (digits_only && v <= INT_MAX) {
            n.int_literal = true;
            n.int_value = static_cast<int>(v);
        }
        pos_ += len;
        return add(std::move(n));
    }

    int name() {
        std::size_t start = pos_;
        while (pos_ < s_.size() && is_ident_char(s_[pos_])) ++pos_;
        std::string id = s_.substr(start, pos_ - start);
        const FnInfo* f = find_function(id);
        if (f != nullptr) return call(*f);

        Node n;
        if (id == "i") {
            n.kind = NodeKind::complex_literal;
            n.z = DComplex(0.0, 1.0);
            n.is_complex = true;
        } else if (id == "pi") {
            n.x = 3.141592653589793;
        } else if (id == "e") {
            n.x = 2.718281828459045;
        } else if (same_ignoring_case(id, "inf") || same_ignoring_case(id, "infinity")) {
            n.x = std::numeric_limits<double>::infinity();
        } else if (same_ignoring_case(id, "nan")) {
            n.x = std::numeric_limits<double>::quiet_NaN();
        } else {
            fail_at(start, "unknown name '" + id + "'");
        }
        if (at('(')) fail_at(start, "'" + id + "' is a constant, not a function");
        return add(std::move(n));
    }

    int call(const FnInfo& f) {
        const std::string who = std::string("'") + f.name + "'";
        // Prefixed to the messages that come from a wrong argument count.
        const std::string takes =
            who + " takes " + std::to_string(f.arity) + (f.arity == 1 ? " argument: " : " arguments: ");
        if (!at('(')) fail("expected '(' after " + who + " but found " + found());
        enter(pos_++);
        Node n;
        n.kind = NodeKind::call;
        n.fn = f.fn;
        for (int k = 0; k < f.arity; ++k) {
            if (k > 0) {
                if (at(')')) fail(takes + "expected ',' but found ')'");
                expect(',');
            }
            skip_space();
            if (pos_ < s_.size() && (s_[pos_] == ')' || s_[pos_] == ','))
                fail(takes + "expected an expression but found " + found());
            std::size_t arg_pos = pos_;
            int a = expr();
            if (f.fn == Fn::polar && complex_at(a))
                fail_at(arg_pos, "'polar' takes two real arguments but argument " + std::to_string(k + 1) +
                                     " is complex");
            n.kids.push_back(a);
        }
        if (at(',')) fail(takes + "expected ')' but found ','");
        expect(')');
        leave();
        n.is_complex = !f.real_result;
        return add(std::move(n));
    }
};

Value real_value(double x) {
    Value v;
    v.x = x;
    return v;
}
Value complex_value(const DComplex& z) {
    Value v;
    v.is_complex = true;
    v.z = z;
    return v;
}
DComplex as_complex(const Value& v) { return v.is_complex ? v.z : DComplex(v.x); }

class Evaluator {
public:
    Evaluator(const Expression& e, ReportLog& log) : ex_(e), log_(log) {}

    Value eval(int k) {
        const Node& n = ex_.nodes[static_cast<std::size_t>(k)];
        switch (n.kind) {
            case NodeKind::number: return real_value(n.x);
            case NodeKind::complex_literal: return complex_value(n.z);
            case NodeKind::pair: {
                // Real part first: its reports come first.
                const double re = eval(n.kids[0]).x;
                return complex_value(DComplex(re, eval(n.kids[1]).x));
            }
            case NodeKind::neg: {
                Value v = eval(n.kids[0]);
                return v.is_complex ? complex_value(-v.z) : real_value(-v.x);
            }
            case NodeKind::pos: return eval(n.kids[0]);
            case NodeKind::chain: {
                Value acc = eval(n.kids[0]);
                for (std::size_t j = 1; j < n.kids.size(); ++j) acc = binary(n.ops[j], acc, eval(n.kids[j]));
                return acc;
            }
            case NodeKind::power: return power(n.kids[0], n.kids[1]);
            case NodeKind::call: return call(n);
        }
        return Value();
    }

private:
    const Expression& ex_;
    ReportLog& log_;

    static Value binary(char op, const Value& a, const Value& b) {
        if (!a.is_complex && !b.is_complex) {
            switch (op) {
                case '+': return real_value(a.x + b.x);
                case '-': return real_value(a.x - b.x);
                case '*': return real_value(a.x * b.x);
                default: return real_value(a.x / b.x);
            }
        }
        // The mixed sums and differences have overloads of their own that
        // leave the other part alone; products and quotients go through
        // DComplex(x).
        switch (op) {
            case '+':
                if (!a.is_complex) return complex_value(a.x + b.z);
                if (!b.is_complex) return complex_value(a.z + b.x);
                return complex_value(a.z + b.z);
            case '-':
                if (!a.is_complex) return complex_value(a.x - b.z);
                if (!b.is_complex) return complex_value(a.z - b.x);
                return complex_value(a.z - b.z);
            case '*': return complex_value(as_complex(a) * as_complex(b));
            default: return complex_value(as_complex(a) / as_complex(b));
        }
    }

    // An exponent written as an integer literal (under any signs) is an int.
    bool int_exponent(int k, int& n) const {
        const Node& node = ex_.nodes[static_cast<std::size_t>(k)];
        if (node.kind == NodeKind::number && node.int_literal) {
            n = node.int_value;
            return true;
        }
        if (node.kind == NodeKind::pos) return int_exponent(node.kids[0], n);
        if (node.kind == NodeKind::neg && int_exponent(node.kids[0], n)) {
            n = -n;
            return true;
        }
        return false;
    }

    // The overload C++ would pick for the operands as written.
    Value power(int base_k, int exp_k) {
        Value base = eval(base_k);
        int n = 0;
        if (int_exponent(exp_k, n)) return complex_value(::pow(as_complex(base), n));
        Value y = eval(exp_k);
        if (!y.is_complex) return complex_value(::pow(as_complex(base), y.x));
        if (!base.is_complex) return complex_value(::pow(base.x, y.z));
        return complex_value(::pow(base.z, y.z));
    }

    Value call(const Node& n) {
        switch (n.fn) {
            case Fn::pow: return power(n.kids[0], n.kids[1]);
            case Fn::polar: {
                double r = eval(n.kids[0]).x;
                return complex_value(::polar(r, eval(n.kids[1]).x));
            }
            case Fn::hypot: {
                DComplex a = as_complex(eval(n.kids[0]));
                return complex_value(::hypot(a, as_complex(eval(n.kids[1]))));
            }
            default: break;
        }
        const DComplex z = as_complex(eval(n.kids[0]));
        const std::size_t mark = log_.reports.size();
        switch (n.fn) {
            case Fn::abs: return real_value(::abs(z));
            case Fn::norm: return real_value(::norm(z));
            case Fn::arg: return real_value(::arg(z));
            case Fn::real: return real_value(::real(z));
            case Fn::imag: return real_value(::imag(z));
            case Fn::exp: return complex_value(::exp(z));
            case Fn::log: return complex_value(::log(z));
            case Fn::log10: return complex_value(::log10(z));
            case Fn::sqrt: return complex_value(::sqrt(z));
            case Fn::conj: return complex_value(::conj(z));
            case Fn::ceil: return complex_value(::ceil(z));
            case Fn::floor: return complex_value(::floor(z));
            case Fn::round: return complex_value(::round(z));
            case Fn::sin: return complex_value(::sin(z));
            case Fn::cos: return complex_value(::cos(z));
            case Fn::sinh: return complex_value(::sinh(z));
            case Fn::cosh: return complex_value(::cosh(z));
            case Fn::tan: return singular(n.fn, mark, ::tan(z));
            case Fn::tanh: return singular(n.fn, mark, ::tanh(z));
            case Fn::asin: return singular(n.fn, mark, ::asin(z));
            case Fn::acos: return singular(n.fn, mark, ::acos(z));
            case Fn::atan: return singular(n.fn, mark, ::atan(z));
            default: break;
        }
        return Value();
    }

    // The hook sees a singularity before the function has chosen its
    // default, so the default is the value this call returned. Only these
    // functions report singularities, each under its own name, so every
    // such report made during the call is the call's own.
    Value singular(Fn fn, std::size_t mark, const DComplex& result) {
        const char* name = info(fn).name;
        for (std::size_t k = mark; k < log_.reports.size(); ++k) {
            Report& r = log_.reports[k];
            if (r.type == kSingularity && r.name == name && !r.has_default) {
                r.has_default = true;
                r.default_value = result;
            }
        }
        return complex_value(result);
    }
};

}  // namespace

bool parse(const std::string& text, Expression& out, ParseError& error) {
    out = Expression();
    try {
        Parser(text, out).run();
        return true;
    } catch (const Failure& f) {
        error.column = column_of(text, f.pos);
        error.message = f.message;
        out = Expression();
        return false;
    }
}

Evaluation evaluate(const Expression& e) {
    Evaluation out;
    if (e.root < 0) return out;  // nothing parsed
    ReportLog log;
    errno = 0;
    out.value = Evaluator(e, log).eval(e.root);
    out.error_number = errno;  // before anything else can touch it
    out.reports = std::move(log.reports);
    return out;
}

std::string format_value(const Value& v, const Format& f) {
    return v.is_complex ? format_complex(v.z, f) : format_real(v.x, f);
}

bool calculate(const std::string& text, const Options& opt, std::ostream& out, std::ostream& err) {
    Expression ex;
    ParseError pe;
    if (!parse(text, ex, pe)) {
        out.flush();  // keep the message after earlier values on a shared terminal
        err << "zucalc: column " << pe.column << ": " << pe.message << '\n';
        return false;
    }
    Evaluation ev = evaluate(ex);
    out << format_value(ev.value, opt.format) << '\n';
    if (opt.show_reports)
        for (const Report& r : ev.reports) out << "  " << format_report(r, opt.format) << '\n';
    if (ev.error_number != 0) out << "  errno: " << errno_name(ev.error_number) << '\n';
    return true;
}

}  // namespace zucalc
