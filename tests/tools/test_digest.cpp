// zudigest hashes the stream operators' text with the C runtime's spellings
// of NaN, infinity and exponents made one; the digits and the library's
// separators stay as written.
#include "digest.h"

#include <gtest/gtest.h>

TEST(DigestText, RuntimeSpellingsBecomeOne) {
    const struct {
        const char* written;
        const char* hashed;
    } cases[] = {
        {"(1.5,-2)", "(1.5,-2)"},
        {"(0.10000000000000001,-1.0000000000000001e-300)", "(0.10000000000000001,-1.0000000000000001e-300)"},
        {"(-nan,inf)", "(nan,inf)"}, {"(nan,-inf)", "(nan,-inf)"},
        {"(-nan(ind),-1.#INF)", "(nan,-inf)"}, {"(1.#QNAN,nan(0x8))", "(nan,nan)"}, {"(-1.#IND,NAN)", "(nan,nan)"},
        {"(1e+010,2.5E-007)", "(1e+10,2.5e-07)"}, {"(1e+05,1e-300)", "(1e+05,1e-300)"},
        {"1e+000", "1e+00"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.hashed, zudigest::canonical_text(c.written)) << c.written;
}
