// zudigest: one hash of everything the library returns, reports and leaves in
// errno over a fixed set of generated operands, so that two builds of the
// library can be compared on any two platforms.
#ifndef ZU_COMPLEX_TOOLS_DIGEST_DIGEST_H
#define ZU_COMPLEX_TOOLS_DIGEST_DIGEST_H

#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace zudigest {

inline std::uint64_t to_bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

inline double from_bits(std::uint64_t b) {
    double v;
    std::memcpy(&v, &b, sizeof v);
    return v;
}

// A 128-bit running hash of 64-bit words, taken as numbers (never as bytes
// in memory), so a big-endian machine feeds it exactly what a little-endian
// one does. Two lanes, each a xor or add of the word followed by the
// bijective 64-bit mixer of SplitMix64. It detects differences; it is not
// meant to resist anyone forging them.
class Hash {
public:
    void add(std::uint64_t w) {
        lo_ = mix(lo_ ^ w);
        hi_ = mix(hi_ + (w << 32 | w >> 32) + 0x9e3779b97f4a7c15u);
    }
    void add(const Hash& h) {
        add(h.lo_);
        add(h.hi_);
    }
    // 32 lowercase hex digits, high lane first.
    std::string hex() const;
    bool operator==(const Hash& o) const { return lo_ == o.lo_ && hi_ == o.hi_; }

private:
    static std::uint64_t mix(std::uint64_t z) {
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return z ^ (z >> 31);
    }
    std::uint64_t lo_ = 0x243f6a8885a308d3u;  // the first fraction bits of pi
    std::uint64_t hi_ = 0x13198a2e03707344u;
};

// The run: kChunks chunks of kStepsPerChunk steps, 2^19 in all; each step
// draws two complex operands and an int (operands.h) and calls every
// exported function on them: the one-operand functions on the first, the
// two-operand ones on both, the mixed ones on the first and a part of the
// second; 2^20 complex operands in all. (Under qemu, which emulates every
// floating-point operation, that is about a minute of processor time on the
// slowest targets, ppc64el and i686.) Chunk c draws from its own generator
// seeded with kSeed + c, so chunks run in any order, on any number of
// threads, and the digest hashes the chunks' hashes in chunk order.
constexpr int kChunks = 32;
constexpr int kStepsPerChunk = 16384;
constexpr std::uint64_t kSeed = 0x5a75636f6d706c78u;

// What the calls of one chunk hashed: all of them in order, and (when asked
// for) per function.
struct ChunkResult {
    Hash all;
    std::vector<Hash> per_function;
};

// The names of the functions, in the order of ChunkResult::per_function.
const std::vector<std::string>& function_names();

// The text operator<< wrote, as the digest hashes it: "(", "," and ")" as
// they are; each number with the C runtime's spellings made one: any NaN
// ("nan", "-nan", "-nan(ind)", "1.#QNAN") becomes nan, an infinity inf or
// -inf ("1.#INF"), and an exponent loses leading zeros beyond two digits
// (some runtimes write e+010).
std::string canonical_text(const std::string& text);

// Runs chunk `chunk`. With `dump`, also writes one line per step (its
// operands) and per call (function, then every hashed word in hex).
ChunkResult run_chunk(int chunk, bool per_function, std::ostream* dump);

}  // namespace zudigest

#endif  // ZU_COMPLEX_TOOLS_DIGEST_DIGEST_H
