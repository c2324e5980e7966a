// zucalc: grammar, overload choice, printed reports, round trips and errors,
// through zucalc_core and through the built program.
#include "calc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

using zucalc::Value;

std::uint64_t bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

::testing::AssertionResult Same(const Value& expected, const Value& actual) {
    bool ok = expected.is_complex == actual.is_complex &&
              (expected.is_complex ? bits(expected.z.re) == bits(actual.z.re) && bits(expected.z.im) == bits(actual.z.im)
                                   : bits(expected.x) == bits(actual.x));
    if (ok) return ::testing::AssertionSuccess();
    zucalc::Format hex{17, true};
    return ::testing::AssertionFailure() << "got " << zucalc::format_value(actual, hex) << ", expected "
                                         << zucalc::format_value(expected, hex);
}

Value R(double x) { return Value{false, x, DComplex()}; }
Value C(const DComplex& z) { return Value{true, 0.0, z}; }

zucalc::Evaluation run(const std::string& text) {
    zucalc::Expression ex;
    zucalc::ParseError err;
    if (!zucalc::parse(text, ex, err)) {
        ADD_FAILURE() << text << ": column " << err.column << ": " << err.message;
        return zucalc::Evaluation();
    }
    return zucalc::evaluate(ex);
}

struct Case {
    const char* text;
    Value expected;
};

// Each expected value is the library (or double arithmetic) called directly.
TEST(ZucalcGrammar, PrecedenceAssociativityAndOperandKinds) {
    const DComplex i(0, 1);
    const Case cases[] = {
        {"1+2*3", R(7)},
        {"(1+2)*3", R(9)},
        {"2-3-4", R(-5)},
        {"8/4/2", R(1)},
        {"1/0", R(std::numeric_limits<double>::infinity())},
        {"-2^2", C(-pow(DComplex(2), 2))},              // sign looser than ^
        {"2^-1", C(pow(DComplex(2), -1))},
        {"2^3^2", C(pow(2.0, pow(DComplex(3), 2)))},     // right-associative
        {"--3", R(3)},
        {"-(1,2)", C(-DComplex(1, 2))},
        {"(1,-0)+1", C(DComplex(1, -0.0) + 1.0)},        // mixed +: im kept as -0
        {"1-(1,-0)", C(1.0 - DComplex(1, -0.0))},
        {"2*(1,-0)", C(DComplex(2) * DComplex(1, -0.0))},
        {"(3,4)/2", C(DComplex(3, 4) / DComplex(2))},
        {"(1,2)", C(DComplex(1, 2))},                   // literal
        {"( 1 , 2 )", C(DComplex(1, 2))},
        {"((1,2))", C(DComplex(1, 2))},
        {"(1)", R(1)},                                  // grouping, still real
        {"(1+2)", R(3)},
        {"i*i", C(i * i)},
        {"pi", R(3.141592653589793)},
        {"e", R(2.718281828459045)},
        {"0x1p-3", R(0.125)},
        {"abs((3,4))", R(5)},
        {"real((1,2))+imag((1,2))", R(3)},
        {"sin(1)", C(sin(DComplex(1)))},
        {"hypot(3,(0,4))", C(hypot(DComplex(3), DComplex(0, 4)))},
        {"polar(2,pi/2)", C(polar(2, 3.141592653589793 / 2))},
        {"log10(-(100))", C(log10(DComplex(-100.0)))},  // real minus, then DComplex(x)
        {"log10(-(100,0))", C(log10(-DComplex(100, 0)))},
        {"conj(2)", C(conj(DComplex(2)))},
    };
    for (const Case& c : cases) EXPECT_TRUE(Same(c.expected, run(c.text).value)) << c.text;
}

// A literal's parts are real expressions; zero signs, infinities and NaNs
// reach the library as written.
TEST(ZucalcGrammar, LiteralPartsAreRealExpressions) {
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"(inf,0)", C(DComplex(inf, 0))},
        {"(0,nan)", C(DComplex(0, nan))},
        {"(-0.0, 1)", C(DComplex(-0.0, 1))},
        {"(0,-0.0)", C(DComplex(0, -0.0))},
        {"(-0.0,1e-300)", C(DComplex(-0.0, 1e-300))},
        {"(pi/2,-1)", C(DComplex(3.141592653589793 / 2, -1))},
        {"(1+2,abs((3,4)))", C(DComplex(3, 5))},
        {"atan((inf,0))", C(atan(DComplex(inf, 0)))},
        {"acos((0,nan))", C(acos(DComplex(0, nan)))},
    };
    for (const Case& c : cases) EXPECT_TRUE(Same(c.expected, run(c.text).value)) << c.text;
}

TEST(ZucalcGrammar, LongSumNeedsNoDeepRecursion) {
    std::string text = "0";
    for (int k = 0; k < 100000; ++k) text += "+1";
    EXPECT_TRUE(Same(R(100000), run(text).value));
}

// The overload C++ would pick for the written operands.
TEST(ZucalcPower, OverloadFollowsWrittenOperands) {
    const Case cases[] = {
        {"(0,1)^2", C(pow(DComplex(0, 1), 2))},
        {"(0,1)^2.0", C(pow(DComplex(0, 1), 2.0))},
        {"2^(0,1)", C(pow(2.0, DComplex(0, 1)))},
        {"(1,1)^(2,0)", C(pow(DComplex(1, 1), DComplex(2, 0)))},
        {"(1,1)^-(3)", C(pow(DComplex(1, 1), -3))},
        {"(1,1)^(-(-3))", C(pow(DComplex(1, 1), 3))},
        {"(1,1)^2147483648", C(pow(DComplex(1, 1), 2147483648.0))},  // past int
        {"(3,4)^0.5", C(pow(DComplex(3, 4), 0.5))},
        {"2^0.5", C(pow(DComplex(2), 0.5))},
        {"pow((3,4),10)", C(pow(DComplex(3, 4), 10))},
        {"pow(-2,(0,1))", C(pow(-2.0, DComplex(0, 1)))},
        {"pow((1,2),(3,4))", C(pow(DComplex(1, 2), DComplex(3, 4)))},
    };
    for (const Case& c : cases) EXPECT_TRUE(Same(c.expected, run(c.text).value)) << c.text;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

std::string printed(const std::string& text, bool hex = false) {
    zucalc::Options opt;
    opt.format.hex = hex;
    std::ostringstream out, err;
    EXPECT_TRUE(zucalc::calculate(text, opt, out, err)) << err.str();
    return out.str();
}

TEST(ZucalcReports, HookTakesOverInThisProgram) { EXPECT_TRUE(zucalc::reports_reach_program()); }

TEST(ZucalcReports, OverflowsOfTanComeFromSinhThenCosh) {
    zucalc::Evaluation ev = run("tan((0,800))");
    ASSERT_EQ(2u, ev.reports.size());
    EXPECT_EQ("sinh", ev.reports[0].name);
    EXPECT_EQ("cosh", ev.reports[1].name);
    for (const zucalc::Report& r : ev.reports) {
        EXPECT_EQ(zucalc::kOverflow, r.type);
        EXPECT_TRUE(Same(C(DComplex(-800, 0)), C(r.arg1)));
    }
    const std::vector<std::string> l = lines_of(printed("tan((0,800))"));
    ASSERT_EQ(4u, l.size());
    EXPECT_EQ(zucalc::format_complex(tan(DComplex(0, 800)), zucalc::Format()), l[0]);
    // Platform-dependent: the defaults hold the library's NaN, the processor's
    // own 0/0, printed "-nan" where its sign bit is set (x86) and "nan" where
    // it is clear (aarch64).
    const std::string nan = std::signbit(Vel_NaN()) ? "-nan" : "nan";
    EXPECT_EQ("  overflow in sinh: argument (-800,0), returned default (-inf," + nan + "), errno ERANGE", l[1]);
    EXPECT_EQ("  overflow in cosh: argument (-800,0), returned default (inf," + nan + "), errno ERANGE", l[2]);
    EXPECT_EQ("  errno: ERANGE", l[3]);
}

TEST(ZucalcReports, SingularityDefaultIsWhatTheCallReturned) {
    EXPECT_EQ("(0,inf)\n"
              "  singularity in atan: argument (0,1), returned default (0,inf), errno EDOM\n"
              "  errno: EDOM\n",
              printed("atan(i)"));
    // Each report belongs to its own call, not to the enclosing one.
    zucalc::Evaluation ev = run("atan(atan(-i)*(0,-1))");
    ASSERT_EQ(1u, ev.reports.size());
    EXPECT_TRUE(Same(C(atan(DComplex(-0.0, -1))), C(ev.reports[0].default_value)));
}

TEST(ZucalcReports, ErrnoWithoutReportAndQuietResults) {
    EXPECT_EQ("(-inf,0)\n  errno: ERANGE\n", printed("log(0)"));
    EXPECT_EQ("(2,0)\n", printed("(1,0)+1"));
    EXPECT_EQ("(1,2) [0x3ff0000000000000, 0x4000000000000000]\n", printed("(1,2)", true));
    EXPECT_EQ("0.5 [0x3fe0000000000000]\n", printed("1/2", true));
}

// What zucalc prints reads back with operator>> to the same bits.
TEST(ZucalcOutput, PrintedValuesReadBack) {
    const char* exprs[] = {"1/3", "pi", "(0.1,0.2)*(3,7)", "exp((1,1))", "1e-310", "-1/3", "(-0,1e300)",
                           "sqrt((2,-3))", "atan((0.5,0.25))"};
    for (const char* text : exprs) {
        const Value v = run(text).value;
        std::istringstream in(zucalc::format_value(v, zucalc::Format()));
        DComplex back(7, 7);
        in >> back;
        ASSERT_FALSE(in.fail()) << text;
        EXPECT_TRUE(Same(v.is_complex ? C(back) : R(back.re), v)) << text;
    }
}

struct Bad {
    std::string text;
    std::size_t column;
    const char* message;
};

TEST(ZucalcErrors, MalformedInputNamesColumnAndPrintsNoValue) {
    const Bad cases[] = {
        {"(1 2)", 4, "expected ')', or ',' for a complex literal, but found '2'"},
        {"(1", 3, "missing ')' to close the '(' opened at column 1"},
        {"1+", 3, "expected an expression but found the end of the expression"},
        {"", 1, "expected an expression"},
        {"2 3", 3, "expected an operator or the end of the expression but found '3'"},
        {"1)", 2, "found ')'"},
        {"(1,2", 5, "missing ')' to close the complex literal opened at column 1"},
        {"1+(1,2,3)", 7, "expected ')' to close the complex literal opened at column 3 but found ','"},
        {"(,1)", 2, "expected the real part of the complex literal opened at column 1"},
        {"(1, )", 5, "expected the imaginary part of the complex literal opened at column 1 but found ')'"},
        {"(1,sqrt(2))", 4, "the imaginary part of a complex literal must be real"},
        {"foo(1)", 1, "unknown name 'foo'"},
        {"1+sinx", 3, "unknown name 'sinx'"},
        {"sin(1,2)", 6, "'sin' takes 1 argument: expected ')' but found ','"},
        {"hypot(1)", 8, "'hypot' takes 2 arguments: expected ',' but found ')'"},
        {"sin()", 5, "'sin' takes 1 argument"},
        {"sin 1", 5, "expected '(' after 'sin'"},
        {"pi(2)", 1, "'pi' is a constant"},
        {"polar(1,(0,1))", 9, "argument 2 is complex"},
        {"\xCF\x80+1", 1, "found '\xCF\x80'"},
        {"1+\xCF\x80", 3, "found '\xCF\x80'"},
        {std::string(10000, '('), 201, "nested too deeply"},
        {std::string(10000, '-') + "1", 201, "nested too deeply"},
        {"1" + [] { std::string s; for (int k = 0; k < 10000; ++k) s += "^2"; return s; }(), 402, "nested too deeply"},
        {[] { std::string s; for (int k = 0; k < 10000; ++k) s += "sin("; return s; }(), 804, "nested too deeply"},
    };
    for (const Bad& b : cases) {
        SCOPED_TRACE(b.text.substr(0, 40));
        zucalc::Expression ex;
        zucalc::ParseError pe;
        EXPECT_FALSE(zucalc::parse(b.text, ex, pe));
        EXPECT_EQ(b.column, pe.column);
        EXPECT_NE(std::string::npos, pe.message.find(b.message)) << pe.message;

        std::ostringstream out, err;
        EXPECT_FALSE(zucalc::calculate(b.text, zucalc::Options(), out, err));
        EXPECT_EQ("", out.str());
        EXPECT_EQ(0u, err.str().rfind("zucalc: column " + std::to_string(b.column) + ": ", 0)) << err.str();
    }
}

// The built program, stdout and stderr together.
struct ProgramRun {
    std::string output;
    int status;
};

ProgramRun zucalc_run(const std::string& args, const std::string& input = "") {
    std::string cmd = "printf '" + input + "' | " + ZUCALC_PATH + " " + args + " 2>&1";
    ProgramRun r{"", -1};
    FILE* p = popen(cmd.c_str(), "r");
    if (p == nullptr) return r;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.output.append(buf, n);
    int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

TEST(ZucalcProgram, EvaluatesArgumentsAndGoesOnPastErrors) {
    ProgramRun r = zucalc_run("'(1,2)*(3,4)' '(1,2' 'atan(i)'");
    EXPECT_EQ(2, r.status);
    EXPECT_EQ("(-5,10)\n"
              "zucalc: column 5: missing ')' to close the complex literal opened at column 1\n"
              "(0,inf)\n"
              "  singularity in atan: argument (0,1), returned default (0,inf), errno EDOM\n"
              "  errno: EDOM\n",
              r.output);
    EXPECT_EQ("(0.5,-1.25)\n", zucalc_run("'(0.5,-1.25)'").output);
    EXPECT_EQ("3.14\n", zucalc_run("--precision 3 pi").output);
    EXPECT_EQ("zucalc " + std::to_string(ZU_COMPLEX_VERSION_MAJOR) + "." + std::to_string(ZU_COMPLEX_VERSION_MINOR) +
                  "." + std::to_string(ZU_COMPLEX_VERSION_PATCH) + "\n",
              zucalc_run("--version").output);
    EXPECT_EQ(0, zucalc_run("-- -2^2").status);
}

TEST(ZucalcProgram, ReadsLinesFromStandardInput) {
    ProgramRun ok = zucalc_run("", "1+1\\n\\n2*i\\n");
    EXPECT_EQ(0, ok.status);
    EXPECT_EQ("2\n(0,2)\n", ok.output);  // no prompt when not at a terminal
    ProgramRun bad = zucalc_run("", "sin(\\n3\\n");
    EXPECT_EQ(2, bad.status);
    EXPECT_EQ("zucalc: column 5: expected an expression but found the end of the expression\n3\n",
              bad.output);
    EXPECT_EQ(2, zucalc_run("--nonsense").status);
}

}  // namespace
