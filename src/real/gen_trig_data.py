#!/usr/bin/python3
"""Writes src/real/trig_data.h: the constants of the portable sin, cos and
atan2 (src/real/sincos.cpp, src/real/atan2.cpp).

    /usr/bin/python3 src/real/gen_trig_data.py > src/real/trig_data.h

Needs mpmath (Debian: python3-mpmath). Everything is computed with 400-bit
arithmetic and rounded to double once, to nearest (the short atan
coefficients to their grid):

- the bits of 2/pi in 32-bit words, for reducing huge arguments;
- pi/2 in four parts for the reduction of moderate arguments (three parts of
  33 bits, so that k * part is exact for k < 2^20, and a 53-bit rest);
- sin and cos of j/64 as pairs of doubles, and the Taylor coefficients of
  sin and cos on |t| <= 1/64;
- for atan2: per c = j/64, j = 0..64, a polynomial in u = t - c for
  atan(c + u) whose two leading coefficients are rounded to short values
  instead (so that their products with the short leading part of u are
  exact), and the bases atan c, pi/2 - atan c, pi - atan c, pi/2 + atan c
  as pairs of doubles.

The measured errors printed in the comments are the script's own (maximum
over a fine grid, in high precision, of the polynomial with the rounded
coefficients).
"""

import sys

import mpmath
from mpmath import mp, mpf

mp.prec = 400

SINCOS_ENTRIES = 52  # a = j/64 up to 51/64 = 0.797 > pi/4 + 1/128


def hexf(v):
    """Hex-float literal of the double nearest to v."""
    return float(v).hex().replace("0x1.0000000000000p", "0x1p")


def to_double(v):
    return mpf(float(v))


def log2(v):
    return float(mpmath.log(v, 2)) if v else float("-inf")

ATAN_STEP = 64       # table points c = j/64
ATAN_ROWS = 65       # j = 0..64
ATAN_A1_GRID = -33   # a1s: 1/(1 + c^2) rounded to a multiple of 2^-33
ATAN_A2_GRID = -7    # a2s: -c/(1 + c^2)^2 rounded to a multiple of 2^-7
ATAN_FIT = 9         # coefficients of the fitted part: b1, b2, a3..a9


def round_to_grid(v, e):
    q = mpf(2) ** e
    return mpmath.nint(v / q) * q


def atan_row(j):
    """Coefficients of row j, atan c, and the measured relative error of
    atan(c + u) on the range of u."""
    c = mpf(j) / ATAN_STEP
    h = mpf(1) / (2 * ATAN_STEP) * (1 + mpf(2) ** -30)
    base = mpmath.atan(c)
    a1s = round_to_grid(1 / (1 + c * c), ATAN_A1_GRID)
    a2s = round_to_grid(-c / (1 + c * c) ** 2, ATAN_A2_GRID)

    # (atan(c + u) - atan c - a1s u - a2s u^2) / u, at 1200 bits: the quotient
    # cancels for u near 0 (the middle Chebyshev node is 0 up to rounding).
    def rest(u):
        with mp.workprec(1200):
            if u == 0:
                return 1 / (1 + c * c) - a1s
            u = mpf(u)
            return (mpmath.atan(c + u) - mpmath.atan(c) - a1s * u - a2s * u * u) / u

    lo, hi = (0, h) if j == 0 else (-h, h)  # j = 0: u = t >= 0
    poly = [to_double(v) for v in mpmath.chebyfit(rest, [lo, hi], ATAN_FIT)]  # highest degree first
    err = mpf(0)
    for i in range(401):
        u = lo + (hi - lo) * i / 400
        if u != 0:
            err = max(err, abs(u * (mpmath.polyval(poly, u) - rest(u)) / mpmath.atan(c + u)))
    return [a1s, a2s] + poly[::-1], base, err


def atan_tables(w):
    rows, bases, fit_err = [], [], mpf(0)
    for j in range(ATAN_ROWS):
        row, base, e = atan_row(j)
        rows.append(row)
        bases.append(base)
        fit_err = max(fit_err, e)
    w("// atan(c + u) for c = j/64, j = 0..%d, |u| <= 2^-7:" % (ATAN_ROWS - 1))
    w("//   atan c + a1s u + a2s u^2 + u (b1 + b2 u + a3 u^2 + a4 u^3 + ... + a9 u^8),")
    w("// kAtanPoly[j] = {a1s, a2s, b1, b2, a3, ..., a9}. a1s is 1/(1 + c^2) rounded to a")
    w("// multiple of 2^%d and a2s is -c/(1 + c^2)^2 rounded to a multiple of 2^%d, so" % (ATAN_A1_GRID, ATAN_A2_GRID))
    w("// that for u a multiple of 2^-26 below 2^-6 (20 bits) the products a1s u, u^2,")
    w("// a2s u^2 and their sum (a multiple of 2^-59 below 2^-6) are exact; b1, b2,")
    w("// a3 ... a9 are a Chebyshev fit (near minimax) of")
    w("// (atan(c + u) - atan c - a1s u - a2s u^2)/u on |u| <= 2^-7 (j = 0: 0 <= u <= 2^-7),")
    w("// with the coefficients rounded: relative error of atan(c + u) 2^%.1f." % log2(fit_err))
    w("constexpr int kAtanRows = %d;" % ATAN_ROWS)
    w("constexpr double kAtanPoly[kAtanRows][%d] = {" % (2 + ATAN_FIT))
    for j, row in enumerate(rows):
        w("    {  // j = %d" % j)
        for i in range(0, len(row), 4):
            w("        " + " ".join("%s," % hexf(v) for v in row[i:i + 4]))
        w("    },")
    w("};")
    w("// The angle's base for each octant of the point (b, a), b = |x|, a = |y|, as")
    w("// pairs of doubles good to 2^-106: atan c (a <= b, x > 0), pi/2 - atan c")
    w("// (a > b, x > 0), pi - atan c (a <= b, x < 0), pi/2 + atan c (a > b, x < 0).")
    w("constexpr double kAtanBase[4][kAtanRows][2] = {")
    pi = mpmath.pi
    for name, f in (("atan c", lambda v: v), ("pi/2 - atan c", lambda v: pi / 2 - v),
                    ("pi - atan c", lambda v: pi - v), ("pi/2 + atan c", lambda v: pi / 2 + v)):
        w("    {")
        w("        // %s" % name)
        for base in bases:
            v = f(base)
            hi = to_double(v)
            w("        {%s, %s}," % (hexf(hi), hexf(v - hi)))
        w("    },")
    w("};")


def main():
    out = []
    w = out.append
    pi = mpmath.pi
    w("// Generated by src/real/gen_trig_data.py (mpmath, 400-bit arithmetic, each")
    w("// constant rounded to the nearest double once). Do not edit by hand.")
    w("#ifndef ZU_COMPLEX_SRC_REAL_TRIG_DATA_H")
    w("#define ZU_COMPLEX_SRC_REAL_TRIG_DATA_H")
    w("")
    w("#include <cstdint>")
    w("")
    w("namespace zu {")
    w("namespace real {")
    w("namespace detail {")
    w("namespace trig {")
    w("")

    # --- 2/pi -----------------------------------------------------------
    words = 40
    with mp.workprec(32 * words + 200):
        two_over_pi = 2 / mpmath.pi
        scaled = int(mpmath.floor(two_over_pi * mpf(2) ** (32 * words)))
    w("// The fraction of 2/pi = 0.a0 a1 a2 ... in 32-bit words: word j holds the")
    w("// bits of weight 2^-(32 j + 1) .. 2^-(32 j + 32). %d words (%d bits) reach past" % (words, 32 * words))
    w("// the bits the largest double needs (word 37) for a 128-bit fraction.")
    w("constexpr int kTwoOverPiWords = %d;" % words)
    w("constexpr std::uint32_t kTwoOverPi[kTwoOverPiWords] = {")
    vals = [(scaled >> (32 * (words - 1 - j))) & 0xFFFFFFFF for j in range(words)]
    for i in range(0, words, 6):
        w("    " + " ".join("0x%08xu," % v for v in vals[i:i + 6]))
    w("};")
    w("")

    # --- pi/2 in parts --------------------------------------------------
    half_pi = pi / 2
    parts = []
    rest = half_pi
    for bits in (33, 33, 33):
        e = int(mpmath.floor(mpmath.log(abs(rest), 2)))
        q = mpf(2) ** (e - bits + 1)
        part = mpmath.floor(rest / q) * q
        parts.append(part)
        rest -= part
    parts.append(to_double(rest))
    rest -= parts[3]
    w("// pi/2 = kPio2Part1 + kPio2Part2 + kPio2Part3 + kPio2Part4 + O(2^%.0f): the" % log2(abs(rest)))
    w("// first three have 33 significant bits each, so k * part is exact for")
    w("// |k| < 2^20; the fourth is the rest rounded to double.")
    for i, p in enumerate(parts):
        w("constexpr double kPio2Part%d = %s;" % (i + 1, hexf(p)))
    w("")
    hi = to_double(half_pi)
    lo = to_double(half_pi - hi)
    w("// pi/2 as a pair of doubles (relative error 2^%.0f), and 2/pi rounded." % log2(abs(half_pi - hi - lo) / half_pi))
    w("constexpr double kPio2Hi = %s;" % hexf(hi))
    w("constexpr double kPio2Lo = %s;" % hexf(lo))
    w("constexpr double kTwoOverPiDouble = %s;" % hexf(two_over_pi))
    pih = to_double(pi)
    pil = to_double(pi - pih)
    w("// pi as a pair of doubles; pi/4 and 3pi/4 rounded to nearest.")
    w("constexpr double kPiHi = %s;" % hexf(pih))
    w("constexpr double kPiLo = %s;" % hexf(pil))
    w("constexpr double kPio4 = %s;" % hexf(pi / 4))
    w("constexpr double kThreePio4 = %s;" % hexf(3 * pi / 4))
    w("")

    # --- sin and cos on |r| <= pi/4 --------------------------------------
    w("// sin and cos of a = j/64, j = 0..%d (a up to %s, past pi/4 and its rounding" % (SINCOS_ENTRIES - 1, mpmath.nstr(mpf(SINCOS_ENTRIES - 1) / 64, 4)))
    w("// margin), each as a pair of doubles good to 2^-106: {sin hi, sin lo, cos hi, cos lo}.")
    w("constexpr double kSinCosTable[%d][4] = {" % SINCOS_ENTRIES)
    for j in range(SINCOS_ENTRIES):
        a_ = mpf(j) / 64
        sv, cv = mpmath.sin(a_), mpmath.cos(a_)
        sh, ch = to_double(sv), to_double(cv)
        w("    {%s, %s, %s, %s}," % (hexf(sh), hexf(sv - sh), hexf(ch), hexf(cv - ch)))
    w("};")
    sc = [to_double(mpf(-1) / 6), to_double(mpf(1) / 120), to_double(mpf(-1) / 5040)]
    cc = [to_double(mpf(1) / 24), to_double(mpf(-1) / 720)]
    tmax = mpf(1) / 64  # 1/128 in round-to-nearest; 1/64 allows for a directed mode
    grid = [tmax * i / 1000 for i in range(1, 1001)]
    se = max(abs((u + u ** 3 * mpmath.polyval(sc[::-1], u * u) - mpmath.sin(u)) / mpmath.sin(u)) for u in grid)
    ce = max(abs(1 - u * u / 2 + u ** 4 * mpmath.polyval(cc[::-1], u * u) - mpmath.cos(u)) for u in grid)
    w("// sin t = t + t^3 (s0 + s1 t^2 + s2 t^4) and cos t - 1 = -t^2/2 + t^4 (c0 + c1 t^2):")
    w("// Taylor series, on |t| <= 1/64 (relative error of sin t 2^%.1f, absolute error" % log2(se))
    w("// of cos t 2^%.1f)." % log2(ce))
    w("constexpr double kSinCoeff[%d] = {%s};" % (len(sc), ", ".join(hexf(c) for c in sc)))
    w("constexpr double kCosCoeff[%d] = {%s};" % (len(cc), ", ".join(hexf(c) for c in cc)))
    w("")

    # --- atan -----------------------------------------------------------
    atan_tables(w)
    w("}  // namespace trig")
    w("}  // namespace detail")
    w("}  // namespace real")
    w("}  // namespace zu")
    w("")
    w("#endif  // ZU_COMPLEX_SRC_REAL_TRIG_DATA_H")
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
