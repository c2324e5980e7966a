// The digest's operands: the same sequence on every platform. Built from
// std::mt19937_64 (whose output the C++ standard fixes) with integer
// operations on bit patterns only; the standard distributions are not used,
// since their algorithms differ between standard libraries.
#ifndef ZU_COMPLEX_TOOLS_DIGEST_OPERANDS_H
#define ZU_COMPLEX_TOOLS_DIGEST_OPERANDS_H

#include "zu_complex.h"

#include <cstdint>
#include <random>

namespace zudigest {

// What one step of the digest runs every function on.
struct Operands {
    DComplex a;     // the first (or only) operand
    DComplex b;     // the second; its parts also serve as the double operands
    int n;          // the exponent of pow(z, int)
    bool take_over; // the hook answers non-zero (and writes retval) in this step
};

class OperandGenerator {
public:
    explicit OperandGenerator(std::uint64_t seed) : rng_(seed) {}
    Operands next();

private:
    double part();
    DComplex complex();
    int exponent();
    std::uint64_t below(std::uint64_t n) { return rng_() % n; }  // bias below 2^-50: irrelevant

    std::mt19937_64 rng_;
};

}  // namespace zudigest

#endif  // ZU_COMPLEX_TOOLS_DIGEST_OPERANDS_H
