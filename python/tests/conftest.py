"""Shared test support: operands, the C++ oracle and the bit comparison."""
import os
import subprocess

import numpy as np
import pytest

ORACLE = os.environ.get("ZU_COMPLEX_ORACLE")
if not ORACLE:
    raise pytest.UsageError("ZU_COMPLEX_ORACLE is not set: run these tests through ctest (ctest -L python)")

RESULT_DTYPES = {"abs": "f8", "norm": "f8", "arg": "f8", "real": "f8", "imag": "f8",
                 "equal": "i4", "not_equal": "i4"}

# Parts every function treats specially somewhere: signed zeros, the
# threshold of cosh and sinh, overflow and underflow of squares and of exp,
# tiny and subnormal parts, infinities and NaN.
SPECIAL_PARTS = np.array([0.0, -0.0, 1.0, -1.0, 0.5, -2.5, 3.0, np.pi / 2, 709.0, 710.0, 710.5,
                          -710.5, 1e-310, 1e154, -1e300, np.inf, -np.inf, np.nan])


def complex_from_parts(re, im):
    # Not re + 1j * im, which makes NaNs of 0 * inf.
    z = np.empty(np.broadcast(re, im).shape, np.complex128)
    z.real, z.imag = re, im
    return z


def special_and_random(n_random=300, seed=15):
    """Every pair of special parts, then random values of every magnitude."""
    re, im = np.meshgrid(SPECIAL_PARTS, SPECIAL_PARTS)
    rng = np.random.default_rng(seed)
    parts = rng.choice([-1.0, 1.0], (2, n_random)) * 10.0 ** rng.uniform(-4, 4, (2, n_random))
    parts[:, ::7] = np.round(parts[:, ::7])  # integral parts too
    return np.concatenate([complex_from_parts(re.ravel(), im.ravel()), complex_from_parts(*parts)])


def oracle(function, *operands):
    """The C++ results for these operands, and the reports the C++ hook got.

    Reports are (index, type, name, argument, retval at the hook) tuples.
    """
    n = operands[0].size
    data = b"".join(np.ascontiguousarray(x).tobytes() for x in operands)
    run = subprocess.run([ORACLE, function, str(n)], input=data, capture_output=True, check=True)
    results = np.frombuffer(run.stdout, RESULT_DTYPES.get(function, "c16"))
    reports = []
    for line in run.stderr.decode().splitlines():
        index, kind, name, *parts = line.split()
        re1, im1, re2, im2 = (float.fromhex(p) for p in parts)
        reports.append((int(index), int(kind), name, complex(re1, im1), complex(re2, im2)))
    return results, reports


def bits(x):
    x = np.ascontiguousarray(x)
    return x.view(np.uint64 if x.dtype.kind in "fc" else x.dtype)


def assert_same_bits(actual, expected, *operands):
    actual, expected = np.asarray(actual).ravel(), np.asarray(expected).ravel()
    assert actual.dtype == expected.dtype
    differ = np.flatnonzero((bits(actual) != bits(expected)).reshape(actual.size, -1).any(axis=1))
    shown = [f"  {tuple(x.ravel()[i] for x in operands)}: {actual[i]!r}, expected {expected[i]!r}"
             for i in differ[:5]]
    assert differ.size == 0, f"{differ.size} of {actual.size} elements differ:\n" + "\n".join(shown)
