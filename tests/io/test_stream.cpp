// Reading and writing DComplex as "(re,im)" text on standard streams.
#include "zu_test.h"

#include <cfloat>
#include <iomanip>
#include <ios>
#include <iterator>
#include <sstream>
#include <string>

namespace {

using std::ios_base;
constexpr ios_base::iostate kGood = ios_base::goodbit;
constexpr ios_base::iostate kEof = ios_base::eofbit;
constexpr ios_base::iostate kFail = ios_base::failbit;
constexpr ios_base::iostate kBad = ios_base::badbit;

// A value no successful read below produces: a failed read must leave it.
const DComplex kSentinel(-7.25, 99.5);

std::string state_name(ios_base::iostate s) {
    if (s == kGood) return "good";
    std::string n;
    if (s & kEof) n += "eof ";
    if (s & kFail) n += "fail ";
    if (s & kBad) n += "bad ";
    return n;
}

struct ReadCase {
    const char* text;
    ios_base::iostate state;  // the whole set of state bits afterwards
    bool ok;                  // target assigned
    DComplex value;           // target when ok
    const char* rest;         // characters left unread
};

void check_read(const ReadCase& c, bool skipws) {
    SCOPED_TRACE(std::string("text \"") + c.text + "\"");
    std::istringstream in(c.text);
    if (!skipws) in >> std::noskipws;
    DComplex t = kSentinel;
    in >> t;
    EXPECT_EQ(state_name(c.state), state_name(in.rdstate()));
    EXPECT_SAME_C(c.ok ? c.value : kSentinel, t);
    in.clear();
    std::string rest{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(c.rest, rest);
}

TEST(StreamExtract, AcceptedAndMalformedForms) {
    static const ReadCase cases[] = {
        {"(1,2)", kGood, true, DComplex(1, 2), ""},
        {"(1)", kGood, true, DComplex(1, 0), ""},
        // The number runs into end of input: eofbit alone still counts as success.
        {"1.5", kEof, true, DComplex(1.5, 0), ""},
        {" ( 3 , -4 ) x", kGood, true, DComplex(3, -4), " x"},
        // A bare number stops at the comma; the comma is not part of the form.
        {"1,2", kGood, true, DComplex(1, 0), ",2"},
        {"-0.0", kEof, true, DComplex(-0.0, 0), ""},
        // Malformed parenthesised text: badbit replaces whatever the failed
        // extractions had set, and what was consumed stays consumed.
        {"(1 2)", kBad, false, {}, ")"},
        {"(1,2,3)", kBad, false, {}, "3)"},
        {"(x)", kBad, false, {}, "x)"},
        {"()", kBad, false, {}, ")"},
        {"(1,2", kBad, false, {}, ""},
        {"(1,", kBad, false, {}, ""},
        {"(", kBad, false, {}, ""},
        // A bare form that is no number keeps the number extraction's failbit.
        {"x", kFail, false, {}, "x"},
        // Nothing to read: the put-back clears eofbit, the failure stays.
        {"", kFail, false, {}, ""},
        {"   ", kFail, false, {}, ""},
    };
    for (const ReadCase& c : cases) check_read(c, true);
}

TEST(StreamExtract, WithoutWhiteSpaceSkipping) {
    static const ReadCase cases[] = {
        {"(1,2)", kGood, true, DComplex(1, 2), ""},
        // The blank is put back and the number extraction fails on it.
        {" (1,2)", kFail, false, {}, " (1,2)"},
        {"( 1,2)", kBad, false, {}, " 1,2)"},
        {"(1, 2)", kBad, false, {}, " 2)"},
    };
    for (const ReadCase& c : cases) check_read(c, false);
}

TEST(StreamExtract, BadbitExceptionMaskThrows) {
    std::istringstream in("(1 2)");
    in.exceptions(ios_base::badbit);
    DComplex t = kSentinel;
    EXPECT_THROW(in >> t, ios_base::failure);
    EXPECT_SAME_C(kSentinel, t);

    std::istringstream good("(1,2)");
    good.exceptions(ios_base::badbit);
    EXPECT_NO_THROW(good >> t);
    EXPECT_SAME_C(DComplex(1, 2), t);
}

std::string write(const DComplex& z, void (*setup)(std::ostream&) = nullptr) {
    std::ostringstream out;
    if (setup) setup(out);
    out << z;
    EXPECT_EQ(0, out.width());  // the width never outlives one insertion
    return out.str();
}

TEST(StreamInsert, FormattingAndWidth) {
    const DComplex one_two(1, 2);
    EXPECT_EQ("(1,2)", write(one_two));
    EXPECT_EQ("(0.5,-1.25)", write(DComplex(0.5, -1.25)));
    // The width pads the opening parenthesis only.
    EXPECT_EQ("       (1,2)", write(one_two, [](std::ostream& o) { o.width(8); }));
    EXPECT_EQ("(       1,2)", write(one_two, [](std::ostream& o) { o << std::left << std::setw(8); }));
    EXPECT_EQ("(**1,2)", write(one_two, [](std::ostream& o) { o << std::left << std::setfill('*') << std::setw(3); }));
    // Precision and format flags reach both parts.
    auto fixed2 = [](std::ostream& o) { o << std::fixed << std::showpos << std::setprecision(2); };
    EXPECT_EQ("(+1.50,-2.00)", write(DComplex(1.5, -2), fixed2));
    auto sci1 = [](std::ostream& o) { o << std::scientific << std::uppercase << std::setprecision(1); };
    EXPECT_EQ("(1.0E+00,-2.5E-01)", write(DComplex(1, -0.25), sci1));
    // A failed stream writes nothing.
    EXPECT_EQ("", write(one_two, [](std::ostream& o) { o.setstate(ios_base::badbit); }));
}

TEST(StreamRoundTrip, SeventeenDigitsAreExact) {
    static const DComplex cases[] = {
        DComplex(1, 2),
        DComplex(0.1, -1.0 / 3),
        DComplex(-0.0, -0.0),
        DComplex(0.0, -0.0),
        DComplex(DBL_TRUE_MIN, -DBL_TRUE_MIN),
        DComplex(2.2250738585072009e-308, -DBL_MIN),
        DComplex(DBL_MAX, -DBL_MAX),
        DComplex(1e300, -1.2345678901234567e-300),
    };
    for (const DComplex& z : cases) {
        SCOPED_TRACE(zt::describe(z));
        std::stringstream io;
        io.precision(17);
        io << z;
        DComplex back = kSentinel;
        io >> back;
        EXPECT_FALSE(io.fail()) << io.str();
        EXPECT_SAME_C(z, back);
    }
}

}  // namespace
