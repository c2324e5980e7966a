// Extraction from sources that are not strings: a terminal or a pipe hands
// over one character at a time, and asking it for a character it has not got
// yet blocks or fails. operator>> must ask for no character beyond the one
// look-ahead a number needs, leave exactly the characters it consumed
// consumed, and leave the target untouched on every failure, including a
// source that fails in the middle of a number.
#include "trickle_buf.h"
#include "zu_test.h"

#include <cstddef>
#include <istream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <utility>

namespace {

const DComplex kSentinel(-7.25, 99.5);

using Trickle = zt::TrickleBuf;

TEST(StreamSource, AsksForNoCharacterBeyondTheLookAhead) {
    const struct {
        const char* text;
        bool ok;
        DComplex value;
        std::size_t consumed, pulled;
    } cases[] = {
        // A closing parenthesis ends the read: the source is not asked again.
        {"(1,2)tail", true, {1, 2}, 5, 5},
        {" ( 1 )\n", true, {1, 0}, 6, 6},
        // A bare number needs one character after it to know it has ended.
        {"1.5 tail", true, {1.5, 0}, 3, 4},
        {"-2", true, {-2, 0}, 2, 2},  // end of input is the look-ahead
        // Failures: what was consumed stays consumed, no more.
        {"(1 2)", false, {}, 4, 4},
        {"(1,2,3)", false, {}, 5, 5},
        {"(1.5,", false, {}, 5, 5},
        {"x", false, {}, 0, 1},  // the character read is put back
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        Trickle source(c.text);
        std::istream in(&source);
        DComplex t = kSentinel;
        in >> t;
        EXPECT_EQ(c.ok, !in.fail());
        EXPECT_SAME_C(c.ok ? c.value : kSentinel, t);
        EXPECT_EQ(c.consumed, source.consumed());
        EXPECT_EQ(c.pulled, source.pulled());
    }
}

// The source fails at every position in turn. Up to the last character the
// read fails with badbit (or, with badbit in the exception mask, lets the
// source's exception through) and the target keeps the sentinel; a source
// that fails only after the closing parenthesis is never asked.
TEST(StreamSource, FailingSourceNeverHalfWritesTheTarget) {
    const std::string text = "( -1.5e3 , 2.25 )";
    for (bool throwing : {false, true}) {
        for (std::size_t k = 0; k <= text.size(); ++k) {
            SCOPED_TRACE("source fails at " + std::to_string(k) + (throwing ? ", badbit throws" : ""));
            Trickle source(text, k);
            std::istream in(&source);
            if (throwing) in.exceptions(std::ios_base::badbit);
            DComplex t = kSentinel;
            bool threw = false;
            try {
                in >> t;
            } catch (const std::runtime_error&) {
                threw = true;
            }
            const bool complete = k == text.size();
            EXPECT_EQ(!complete && throwing, threw);
            EXPECT_EQ(!complete, in.bad());
            EXPECT_SAME_C(complete ? DComplex(-1500.0, 2.25) : kSentinel, t);
            EXPECT_EQ(k, source.consumed());
        }
    }
}

}  // namespace
