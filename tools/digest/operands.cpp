#include "operands.h"

#include "digest.h"

#include <climits>
#include <iterator>

namespace zudigest {

namespace {

constexpr std::uint64_t kSign = 0x8000000000000000u;
constexpr std::uint64_t kFraction = 0x000fffffffffffffu;
constexpr std::uint64_t kLargestFinite = 0x7fefffffffffffffu;

// Where the library's and the real functions' behaviour changes, as bit
// patterns so that the NaNs are exact too.
const std::uint64_t kSpecialBits[] = {
    0x0000000000000000u, 0x8000000000000000u,  // +-0
    0x7ff0000000000000u, 0xfff0000000000000u,  // +-inf
    0x7ff8000000000000u, 0xfff8000000000000u,  // quiet NaNs of both signs
    0x7ff80000deadbeefu, 0x7ff0000000000001u,  // a payload; a signalling NaN
    0x7fefffffffffffffu, 0xffefffffffffffffu,  // +-largest finite (the overflow threshold)
    0x0010000000000000u, 0x8010000000000000u,  // +-smallest normal
    0x0000000000000001u, 0x8000000000000001u,  // +-smallest subnormal
    0x000fffffffffffffu, 0x800fffffffffffffu,  // +-largest subnormal
};

const double kSpecialValues[] = {
    1.0, -1.0, 0.5, -0.5, 2.0, -2.0, 3.0, 10.0, 0x1.999999999999ap-4,  // 0.1
    0x1.0000000000001p0, 0x1.fffffffffffffp-1,                         // 1's neighbours
    710.0, -710.0,                                                     // the hyperbolic cut-off
    0x1.62e42fefa39efp9, -0x1.62e42fefa39efp9,                         // exp overflows above
    -0x1.6232bdd7abcd2p9, -0x1.74385446d71c3p9,                        // exp goes subnormal, then 0
    0x1p-49, -0x1p-49,                                                 // the zero-snap tolerance
    0x1.921fb54442d18p-1, 0x1.921fb54442d18p0, 0x1.921fb54442d18p1,    // pi/4, pi/2, pi
    -0x1.921fb54442d18p0, 0x1.2d97c7f3321d2p2, 0x1.5bf0a8b145769p1,    // -pi/2, 3pi/2, e
    0x1p30, -0x1p30, 0x1.fffffffcp30, -0x1p31, 0x1p31,                 // int range of pow(z, int)
    0x1p52, 0x1p53, 0x1p63, 0x1p64,                                    // all-integer doubles
    0x1p511, 0x1p512, 0x1p-511, 0x1p-538, 0x1p1023, -0x1p1023,         // squares over/underflow
    0x1p-1022, 0x1p-1074, 1e300, -1e300, 1e-300,
};

const int kSpecialExponents[] = {
    INT_MIN, INT_MIN + 1, INT_MAX, INT_MAX - 1, 0, 1, -1, 2, -2, 1 << 30, -(1 << 30), 1024, -1075,
};

}  // namespace

double OperandGenerator::part() {
    const std::uint64_t kind = below(16);
    const std::uint64_t sign = rng_() & kSign;
    switch (kind) {
        case 0:
            return from_bits(kSpecialBits[below(std::size(kSpecialBits))]);
        case 1:
            return kSpecialValues[below(std::size(kSpecialValues))];
        case 2: case 3: case 4: case 5: {  // moderate: |x| in [2^-8, 2^9)
            const std::uint64_t e = 1023 - 8 + below(17);
            return from_bits(sign | e << 52 | (rng_() & kFraction));
        }
        case 6: case 7: case 8: {  // any finite double, subnormals included
            const std::uint64_t e = below(2047);
            return from_bits(sign | e << 52 | (rng_() & kFraction));
        }
        case 9: case 10:  // integers and halves from -10 to 10
            return static_cast<double>(static_cast<int>(below(41)) - 20) * 0.5;
        case 11: {  // within three units in the last place of a special value
            const double v = kSpecialValues[below(std::size(kSpecialValues))];
            const std::uint64_t b = to_bits(v);
            const std::uint64_t step = 1 + below(3);
            const std::uint64_t magnitude = b & ~kSign;
            const std::uint64_t nudged = (rng_() & 1) != 0 ? magnitude + step : magnitude - step;
            return nudged <= kLargestFinite ? from_bits((b & kSign) | nudged) : v;
        }
        case 12:
            return from_bits(sign);  // a signed zero: purely real and imaginary operands
        case 13:
            return from_bits(rng_());  // any bit pattern, NaN payloads included
        default: {  // around the unit circle: |x| in [2^-22, 4)
            const std::uint64_t e = 1023 - 22 + below(24);
            return from_bits(sign | e << 52 | (rng_() & kFraction));
        }
    }
}

DComplex OperandGenerator::complex() {
    const double re = part();
    switch (below(16)) {
        case 0:
            return DComplex(re, re);  // |re| == |im|: the ties of Smith's division
        case 1:
            return DComplex(re, from_bits(to_bits(re) ^ kSign));
        default:
            return DComplex(re, part());
    }
}

int OperandGenerator::exponent() {
    switch (below(4)) {
        case 0: case 1:
            return static_cast<int>(below(33)) - 16;
        case 2:  // any int: 32 random bits, shifted to be signed
            return static_cast<int>(static_cast<std::int64_t>(rng_() & 0xffffffffu) - 0x80000000);
        default:
            return kSpecialExponents[below(std::size(kSpecialExponents))];
    }
}

Operands OperandGenerator::next() {
    Operands o;
    o.a = complex();
    o.b = complex();
    o.n = exponent();
    o.take_over = below(4) == 0;
    return o;
}

}  // namespace zudigest
