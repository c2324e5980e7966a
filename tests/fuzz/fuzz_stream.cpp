// operator>> on arbitrary text. The first byte sets the stream up: bit 0
// white-space skipping, bit 1 badbit in the exception mask; the rest is the
// text. Each input is read twice, from a string and from a source that hands
// over one character at a time, and must hold:
// - a failed read (or one that threw) leaves the target bit for bit as it was;
// - a malformed parenthesised text leaves exactly badbit, and throws (an
//   ios_base::failure) exactly when badbit is in the exception mask;
// - both sources end in the same state, target and position, and the read
//   asked for at most one character beyond those it consumed;
// - a successful read of finite parts reads back, from what operator<< writes
//   with 17 digits, the same bits.
#include "trickle_buf.h"
#include "zu_complex.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ios>
#include <istream>
#include <sstream>
#include <streambuf>
#include <string>

namespace {

bool same(const DComplex& a, const DComplex& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

[[noreturn]] void fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "invariant broken: %s\n  text: \"%s\"\n", what, text.c_str());
    std::abort();
}

// No text reads as this: its bits are a NaN with a payload.
const DComplex kSentinel(__builtin_nan("0x5e71"), -__builtin_nan("0x1e1"));

using Trickle = zt::TrickleBuf;

struct Read {
    DComplex target = kSentinel;
    bool threw = false;
    std::ios_base::iostate state = std::ios_base::goodbit;
};

Read read(std::istream& in, std::uint8_t setup) {
    if ((setup & 1) == 0) in >> std::noskipws;
    if ((setup & 2) != 0) in.exceptions(std::ios_base::badbit);
    Read r;
    try {
        in >> r.target;
    } catch (const std::ios_base::failure&) {
        r.threw = true;
    }
    r.state = in.rdstate();
    return r;
}

}  // namespace

// The library's reports go to the program's hook; stream extraction makes
// none. (src/fp/error_hook.cpp is not linked into the fuzz targets.)
int DComplex_error(c_exception&) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t setup = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    std::istringstream whole(text);
    const Read r = read(whole, setup);
    whole.clear();
    const auto position = static_cast<std::size_t>(whole.tellg());

    const bool ok = !r.threw && (r.state & (std::ios_base::failbit | std::ios_base::badbit)) == 0;
    if (!ok && !same(r.target, kSentinel)) fail("a failed read wrote the target", text);
    if ((r.state & std::ios_base::badbit) != 0) {
        if (r.state != std::ios_base::badbit) fail("badbit comes with other bits", text);
        if (r.threw != ((setup & 2) != 0)) fail("badbit and the exception mask disagree", text);
    } else if (r.threw) {
        fail("threw without badbit", text);
    }

    Trickle source(text);
    std::istream trickled(&source);
    const Read t = read(trickled, setup);
    if (t.state != r.state || t.threw != r.threw || !same(t.target, r.target)) {
        fail("a one-character source reads differently", text);
    }
    if (source.consumed() != position) fail("a one-character source consumed differently", text);
    if (source.pulled() > source.consumed() + 1) fail("asked for more than one character ahead", text);

    if (ok && std::isfinite(r.target.re) && std::isfinite(r.target.im)) {
        std::stringstream io;
        io.precision(17);
        io << r.target;
        DComplex back = kSentinel;
        io >> back;
        if (io.fail() || !same(back, r.target)) fail("written text reads back differently", io.str());
    }
    return 0;
}
