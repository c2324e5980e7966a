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
LOG_BITS = 8                      # log: 256 intervals of the mantissa
LOG_N = 1 << LOG_BITS
# log: the mantissa z of x lies in [OFF, 2 OFF) (bit patterns), about
# [0.7068, 1.4136); interval j holds the patterns OFF + j 2^44 ... + 2^44 - 1.
# OFF is placed so that 1.0 sits in the middle of its interval (j = 75), whose
# c is then exactly 1: near x = 1 the result is r + poly(r) with r exact.
LOG_OFF = 0x3fe6980000000000
LOG_C_BITS = 26                   # c_j: z_hi c_j and z_lo c_j are exact products


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
for j in range(LOG_N):
    lo_b = LOG_OFF + (j << (52 - LOG_BITS))
    hi_b = lo_b + (1 << (52 - LOG_BITS))
    z0 = mpf(from_bits(lo_b))
    z1 = mpf(from_bits(hi_b))
    if z0 <= 1 < z1:
        c = mpf(1)
    else:
        c = round_bits(2 / (z0 + z1), LOG_C_BITS)
    t = -mpmath.log(c)
    t_hi = round_ulp(t, -43)
    t_lo = float(t - t_hi)
    log_table.append((float(c), float(t_hi), t_lo))
    r_max = max(r_max, abs(z0 * c - 1), abs(z1 * c - 1))
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
// 2^{log2_err(exp_err_wide):.1f} on twice the interval (k one off in the directed modes).
{coeffs('kExpC', exp_q, 2)}
// 2^(j/{EXP_N}) = hi (1 + tail): the bits of hi and the tail rounded to double.
struct ExpEntry {{
    std::uint64_t hi_bits;
    double tail;
}};
extern const ExpEntry kExpTable[{EXP_N}];

// log: x = 2^k z, z in [{mpmath.nstr(mpf(from_bits(LOG_OFF)), 6)}, {mpmath.nstr(2 * mpf(from_bits(LOG_OFF)), 6)}), bit patterns split into {LOG_N} intervals
// from kLogOffset; log x = k ln2 - log c_j + log1p(z c_j - 1).
constexpr int kLogTableBits = {LOG_BITS};
constexpr std::uint64_t kLogOffset = 0x{LOG_OFF:016x}u;
constexpr double kLogLn2Hi = {hexf(log_ln2_hi)};  // ln2 rounded to a multiple of 2^-43
constexpr double kLogLn2Lo = {hexf(log_ln2_lo)};  // ln2 - hi
// log1p(r) = r - r^2/2 + r^3 (c3 + c4 r + ... + c7 r^4), Chebyshev fit on
// |r| <= {mpmath.nstr(log_a, 8)}: relative error 2^{log2_err(log_err):.1f} of log1p(r).
{coeffs('kLogC', log_q, 3)}
// c_j ~ 1/(centre of interval j) with {LOG_C_BITS} significant bits (1 for the
// interval around 1.0); -log c_j = hi + lo, hi a multiple of 2^-43.
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
print('exp  error 2^%.1f (wide 2^%.1f)' % (log2_err(exp_err), log2_err(exp_err_wide)))
print('log  |r| <= %s error 2^%.1f' % (mpmath.nstr(log_a, 8), log2_err(log_err)))
print('sinh error 2^%.1f' % log2_err(sinh_err))
