#!/usr/bin/python3
"""Tables and polynomial coefficients of the portable exp, log, pow, cosh, sinh.

Run with Debian's interpreter (python3-mpmath):
    /usr/bin/python3 src/real/exp_log_data.py
It rewrites src/real/exp_log_data.h and src/real/exp_log_data.cpp beside it.
Everything is computed with mpmath at 200 bits and rounded once to double
(Python floats are IEEE doubles; float(mpf) rounds to nearest). Each
polynomial is a Chebyshev fit (close to minimax) of the part that remains
after the leading terms; its error is then measured with the coefficients as
rounded to double, on a dense grid, and printed into the header.
"""
import os
import struct

import mpmath
from mpmath import mp, mpf

mp.prec = 200
HERE = os.path.dirname(os.path.abspath(__file__))

EXP_BITS = 7                      # exp: x = (128 e + j) ln2/128 + r
EXP_N = 1 << EXP_BITS
LOG_BITS = 9                      # log: 512 intervals of the mantissa
LOG_N = 1 << LOG_BITS
# log: the mantissa z of x lies in [OFF, 2 OFF) (bit patterns), about
# [0.7065, 1.4131); interval j holds the patterns OFF + j 2^43 ... + 2^43 - 1.
# OFF is placed so that 1.0 sits in the middle of its interval (j = 300), whose
# c is then exactly 1: near x = 1 the result is r + poly(r) with r exact.
LOG_OFF = 0x3fe69c0000000000
# z = zh + zl with zh = z rounded to 26 significant bits; c_j has few enough
# bits that zh c_j and zl c_j are exact products, r = z c_j - 1 is a double
# (the sum (zh c_j - 1) + zl c_j is exact) and rh = zh c_j - 1 has at most 26
# significant bits (rh^2 is exact). All three are checked below.
LOG_ZL_BITS = 27


def bits(d):
    return struct.unpack('<Q', struct.pack('<d', d))[0]


def from_bits(b):
    return struct.unpack('<d', struct.pack('<Q', b))[0]


def hexf(d):
    """C++ hex-float literal of a double."""
    if d == 0:
        return '0x0p+0'
    return float.hex(d).replace('0x1.0000000000000p', '0x1p')


def round_bits(v, nbits):
    """v rounded to nbits significant bits (nearest)."""
    m, e = mpmath.frexp(v)
    return mpmath.ldexp(mpmath.nint(mpmath.ldexp(m, nbits)), e - nbits)


def round_ulp(v, ulp_exp):
    """v rounded to a multiple of 2^ulp_exp."""
    return mpmath.ldexp(mpmath.nint(mpmath.ldexp(v, -ulp_exp)), ulp_exp)


def fit(f, a, b, degree):
    """Chebyshev fit of f on [a, b], coefficients rounded to double, lowest first."""
    poly = mpmath.chebyfit(f, [a, b], degree + 1)
    return [float(c) for c in reversed(poly)]


def horner(cs, x):
    acc = mpf(0)
    for c in reversed(cs):
        acc = acc * x + mpf(c)
    return acc


def grid(a, b, n=4000):
    return [a + (b - a) * mpf(i) / n for i in range(n + 1)]


def log2_err(e):
    return float(mpmath.log(e, 2)) if e > 0 else float('-inf')


# --- exp ------------------------------------------------------------------
LN2 = mpmath.log(2)
exp_inv = float(EXP_N / LN2)
# ln2/128 in two parts: the first has 35 significant bits, so k * hi is exact
# for |k| < 2^18 (|x| < 2000).
exp_ln2_hi = float(round_bits(LN2 / EXP_N, 35))
exp_ln2_lo = float(LN2 / EXP_N - mpf(exp_ln2_hi))
# The reduced argument: |r| <= ln2/256 plus the rounding of x*128/ln2; the
# polynomial is fitted a little wider so that the directed rounding modes
# (k one off: |r| up to ln2/128) stay inside a known error.
exp_a = LN2 / (2 * EXP_N) * mpf('1.0001')
exp_q = fit(lambda r: (mpmath.expm1(r) - r) / r**2 if r != 0 else mpf(0.5), -exp_a, exp_a, 3)
exp_err = max(abs((r + r * r * horner(exp_q, r)) - mpmath.expm1(r)) / mpmath.exp(r)
              for r in grid(-exp_a, exp_a))
exp_err_wide = max(abs((r + r * r * horner(exp_q, r)) - mpmath.expm1(r)) / mpmath.exp(r)
                   for r in grid(-2 * exp_a, 2 * exp_a))
# pow reduces y log x from its leading part alone (exact, known early), so
# its reduced argument reaches ln2/256 + 0.0003.
EXP_POW_A = mpf('0.0031')
exp_err_pow = max(abs((r + r * r * horner(exp_q, r)) - mpmath.expm1(r)) / mpmath.exp(r)
                  for r in grid(-EXP_POW_A, EXP_POW_A))
exp_table = []
for j in range(EXP_N):
    t = mpmath.power(2, mpf(j) / EXP_N)
    hi = float(t)
    tail = float((t - mpf(hi)) / mpf(hi))
    exp_table.append((bits(hi), tail))

# --- log ------------------------------------------------------------------
# ln2 for k ln2: the first part a multiple of 2^-43, so that k * hi (|k| < 2^11)
# plus a table value rounded to 2^-43 is exact.
log_ln2_hi = float(round_ulp(LN2, -43))
log_ln2_lo = float(LN2 - mpf(log_ln2_hi))
log_table = []
r_max = mpf(0)
r_max_one = mpf(0)


def log_c(z0, z1, z_below_one):
    """The multiple of 2^-q nearest 1/centre with the largest q that keeps
    r = z c - 1 exact over [z0, z1]: z is a multiple of 2^-53 below 1 (2^-52
    above), so r is a multiple of 2^-(53+q) and must stay below 2^-q (2^(1-q))."""
    for q in range(14, 4, -1):
        scale = mpf(2)**q
        near = mpmath.nint(2 / (z0 + z1) * scale) / scale
        c = min((near - 1 / scale, near, near + 1 / scale), key=lambda c: max(abs(z0 * c - 1), abs(z1 * c - 1)))
        worst = max(abs(z0 * c - 1), abs(z1 * c - 1))
        if worst < (1 / scale if z_below_one else 2 / scale):
            return c
    raise ValueError('no c for [%s, %s]' % (z0, z1))


for j in range(LOG_N):
    lo_b = LOG_OFF + (j << (52 - LOG_BITS))
    hi_b = lo_b + (1 << (52 - LOG_BITS)) - 1
    z0 = mpf(from_bits(lo_b))
    z1 = mpf(from_bits(hi_b))
    one = z0 <= 1 <= z1
    c = mpf(1) if one else log_c(z0, z1, z1 < 1)
    r_j = max(abs(z0 * c - 1), abs(z1 * c - 1))
    t = -mpmath.log(c)
    t_hi = round_ulp(t, -43)
    t_lo = float(t - t_hi)
    # The products with c exact: zh has 26 significant bits, zl 27.
    m, _ = mpmath.frexp(c)
    c_bits = next(n for n in range(1, 60) if mpmath.ldexp(m, n) == mpmath.nint(mpmath.ldexp(m, n)))
    assert c_bits + LOG_ZL_BITS <= 53, (j, c_bits)
    # rh = zh c - 1 with zh (z rounded to 26 significant bits) in
    # [z0 - ulp_26(z0)/2, z1 + ulp_26(z1)/2]: at most 26 significant bits (its
    # granularity is that of zh c).
    zh_ulp = mpf(2)**(mpmath.floor(mpmath.log(z0, 2)) - 25)
    c_ulp = mpf(2)**(mpmath.floor(mpmath.log(c, 2)) + 1 - c_bits)
    rh_max = max(abs((z0 - zh_ulp / 2) * c - 1), abs((z1 + zh_ulp) * c - 1))
    assert rh_max < 2**26 * zh_ulp * c_ulp, j
    # fast_two_sum(-log c, r) in log and pow needs |log c| >= |r| unless c = 1.
    assert one or abs(t) >= r_j, j
    log_table.append((float(c), float(t_hi), t_lo))
    if one:
        r_max_one = r_j
    r_max = max(r_max, r_j)
log_a = r_max * mpf('1.0001')
log_q = fit(lambda r: (mpmath.log1p(r) - r + r**2 / 2) / r**3 if r != 0 else mpf(1) / 3,
            -log_a, log_a, 4)
log_err = max(abs(r - r * r / 2 + r**3 * horner(log_q, r) - mpmath.log1p(r)) / abs(mpmath.log1p(r))
              for r in grid(-log_a, log_a) if r != 0)

# --- sinh near zero -------------------------------------------------------
SINH_SMALL = mpf(1) / 8
sinh_q = fit(lambda u: (mpmath.sinh(mpmath.sqrt(u)) - mpmath.sqrt(u)) / mpmath.sqrt(u)**3
             if u != 0 else mpf(1) / 6, mpf(0), SINH_SMALL**2, 5)
sinh_err = max(abs(x + x**3 * horner(sinh_q, x * x) - mpmath.sinh(x)) / mpmath.sinh(x)
               for x in grid(mpf(0), SINH_SMALL)[1:])

# --- output ---------------------------------------------------------------
def coeffs(name, cs, first, step=1):
    lines = []
    for i, c in enumerate(cs):
        lines.append('constexpr double %s%d = %s;' % (name, first + step * i, hexf(c)))
    return '\n'.join(lines)


header = f'''// Generated by exp_log_data.py (beside this file): do not edit.
// Coefficients and tables of the portable exp, log, pow, cosh and sinh.
#ifndef ZU_COMPLEX_SRC_REAL_EXP_LOG_DATA_H
#define ZU_COMPLEX_SRC_REAL_EXP_LOG_DATA_H

#include <cstdint>

namespace zu {{
namespace real {{
namespace detail {{

// exp: x = k ln2/{EXP_N} + r, k = {EXP_N} e + j, e^x = 2^e 2^(j/{EXP_N}) e^r.
constexpr int kExpTableBits = {EXP_BITS};
constexpr double kExpInvLn2N = {hexf(exp_inv)};  // {EXP_N}/ln2
constexpr double kExpLn2NHi = {hexf(exp_ln2_hi)};  // ln2/{EXP_N}, 35 bits: k * hi exact for |k| < 2^18
constexpr double kExpLn2NLo = {hexf(exp_ln2_lo)};  // ln2/{EXP_N} - hi
// e^r - 1 = r + r^2 (c2 + c3 r + c4 r^2 + c5 r^3), Chebyshev fit on
// |r| <= {mpmath.nstr(exp_a, 8)} (ln2/{2 * EXP_N} and a little): relative error 2^{log2_err(exp_err):.1f} of e^r;
// 2^{log2_err(exp_err_pow):.1f} on |r| <= {mpmath.nstr(EXP_POW_A, 3)} (pow); 2^{log2_err(exp_err_wide):.1f} on twice the interval (k one
// off in the directed modes).
{coeffs('kExpC', exp_q, 2)}
// 2^(j/{EXP_N}) = hi (1 + tail): the bits of hi and the tail rounded to double.
struct ExpEntry {{
    std::uint64_t hi_bits;
    double tail;
}};
extern const ExpEntry kExpTable[{EXP_N}];

// log: x = 2^k z, z in [{mpmath.nstr(mpf(from_bits(LOG_OFF)), 6)}, {mpmath.nstr(2 * mpf(from_bits(LOG_OFF)), 6)}), bit patterns split into {LOG_N} intervals
// from kLogOffset; log x = k ln2 - log c_j + log1p(z c_j - 1).
// z = zh + zl, zh = z rounded to 26 significant bits: zh c_j and zl c_j are
// exact, r = (zh c_j - 1) + zl c_j is exact, and rh = zh c_j - 1 has at most
// 26 significant bits, so rh^2 is exact (the script checks all three).
constexpr int kLogTableBits = {LOG_BITS};
constexpr std::uint64_t kLogOffset = 0x{LOG_OFF:016x}u;
constexpr double kLogLn2Hi = {hexf(log_ln2_hi)};  // ln2 rounded to a multiple of 2^-43
constexpr double kLogLn2Lo = {hexf(log_ln2_lo)};  // ln2 - hi
// log1p(r) = r - r^2/2 + r^3 (c3 + c4 r + ... + c7 r^4), Chebyshev fit on
// |r| <= {mpmath.nstr(log_a, 8)}: relative error 2^{log2_err(log_err):.1f} of log1p(r).
{coeffs('kLogC', log_q, 3)}
// c_j ~ 1/(centre of interval j), a multiple of 2^-q with q as large as
// keeps r = z c_j - 1 exact (at most 11 significant bits; 1 for the interval
// around 1.0, where |r| <= {mpmath.nstr(r_max_one, 8)}); -log c_j = hi + lo, hi a multiple of 2^-43.
struct LogEntry {{
    double c;
    double log_hi;
    double log_lo;
}};
extern const LogEntry kLogTable[{LOG_N}];

// sinh(x) = x + x^3 (c3 + c5 x^2 + ... + c13 x^10), Chebyshev fit in x^2 on
// |x| <= {mpmath.nstr(SINH_SMALL, 6)}: relative error 2^{log2_err(sinh_err):.1f}.
constexpr double kSinhSmall = {hexf(float(SINH_SMALL))};
{coeffs('kSinhC', sinh_q, 3, 2)}

}}  // namespace detail
}}  // namespace real
}}  // namespace zu

#endif  // ZU_COMPLEX_SRC_REAL_EXP_LOG_DATA_H
'''

exp_rows = '\n'.join('    {0x%016xu, %s},' % (b, hexf(t)) for b, t in exp_table)
log_rows = '\n'.join('    {%s, %s, %s},' % (hexf(c), hexf(h), hexf(l)) for c, h, l in log_table)
source = f'''// Generated by exp_log_data.py (beside this file): do not edit.
#include "real/exp_log_data.h"

namespace zu {{
namespace real {{
namespace detail {{

const ExpEntry kExpTable[{EXP_N}] = {{
{exp_rows}
}};

const LogEntry kLogTable[{LOG_N}] = {{
{log_rows}
}};

}}  // namespace detail
}}  // namespace real
}}  // namespace zu
'''

with open(os.path.join(HERE, 'exp_log_data.h'), 'w') as f:
    f.write(header)
with open(os.path.join(HERE, 'exp_log_data.cpp'), 'w') as f:
    f.write(source)
print('exp  error 2^%.1f (pow 2^%.1f, wide 2^%.1f)' % (log2_err(exp_err), log2_err(exp_err_pow),
                                                     log2_err(exp_err_wide)))
print('log  |r| <= %s error 2^%.1f' % (mpmath.nstr(log_a, 8), log2_err(log_err)))
print('sinh error 2^%.1f' % log2_err(sinh_err))
