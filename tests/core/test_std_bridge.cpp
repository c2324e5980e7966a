// The explicit conversions to and from std::complex<double>
// (include/zu_complex_std.h) copy both parts bit for bit, in both directions.
#include "zu_complex_std.h"
#include "zu_test.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

namespace {

// Neither type converts to the other implicitly: that would change the
// overloads existing calls pick.
static_assert(!std::is_convertible<DComplex, std::complex<double>>::value, "no implicit DComplex -> std");
static_assert(!std::is_convertible<std::complex<double>, DComplex>::value, "no implicit std -> DComplex");

// The parts as bit patterns, read and written with memcpy only: passing a
// signalling NaN through a floating-point register may quiet it (i386 returns
// doubles in x87 registers), which would blame the conversions for the test.
struct Bits {
    std::uint64_t re, im;
};
template <class Pair>
Bits bits_of(const Pair& p) {
    static_assert(sizeof(Pair) == sizeof(Bits), "two doubles");
    Bits b;
    std::memcpy(&b, &p, sizeof b);
    return b;
}

TEST(StdBridge, BothWaysKeepEveryBit) {
    const std::uint64_t parts[] = {
        0x0000000000000000,  // +0
        0x8000000000000000,  // -0
        0x7ff0000000000000,  // +inf
        0xfff0000000000000,  // -inf
        0x7ff800000000beef,  // quiet NaN with a payload
        0xfff8000000012345,  // quiet NaN, sign set, payload
        0x7ff0000000000001,  // signalling NaN
        0x0000000000000001,  // smallest subnormal
        0xbff8000000000000,  // -1.5
    };
    for (std::uint64_t re : parts) {
        for (std::uint64_t im : parts) {
            const Bits want{re, im};
            DComplex z;
            std::memcpy(&z, &want, sizeof z);
            SCOPED_TRACE(testing::Message() << std::hex << re << ", " << im);
            const std::complex<double> c = to_std(z);
            const Bits there = bits_of(c);
            EXPECT_EQ(re, there.re);
            EXPECT_EQ(im, there.im);
            const Bits back = bits_of(to_dcomplex(c));
            EXPECT_EQ(re, back.re);
            EXPECT_EQ(im, back.im);
        }
    }
}

}  // namespace
