"""Every ufunc against the C++ functions, bit for bit, and the C++ overload
each dtype combination selects."""
import numpy as np
import pytest

import zu_complex as zu
from conftest import SPECIAL_PARTS, assert_same_bits, oracle, special_and_random

UNARY = ["exp", "log", "log10", "sqrt", "sin", "cos", "tan", "sinh", "cosh", "tanh", "asin", "acos",
         "atan", "conj", "negative", "ceil", "floor", "round", "abs", "norm", "arg", "real", "imag"]
BINARY = ["add", "subtract", "multiply", "divide", "hypot", "pow", "equal", "not_equal"]


@pytest.mark.parametrize("name", UNARY)
def test_unary_functions_give_the_cpp_bits(name):
    z = special_and_random()
    expected, _ = oracle(name, z)
    with zu.errstate(all="ignore"):
        assert_same_bits(getattr(zu, name)(z), expected, z)
        assert_same_bits(getattr(zu, name)(np.repeat(z, 2)[::2]), expected, z)  # strided


@pytest.mark.parametrize("name", BINARY)
def test_binary_functions_give_the_cpp_bits(name):
    z = special_and_random(n_random=40)
    # The inner loop sees one operand fixed and the other contiguous, either
    # way round, then both contiguous.
    for a, b in [(z[:, None], z[None, :]), (z[None, :], z[:, None])]:
        full_a, full_b = (x.ravel() for x in np.broadcast_arrays(a, b))
        expected, _ = oracle(name, full_a, full_b)
        with zu.errstate(all="ignore"):
            assert_same_bits(getattr(zu, name)(a, b), expected, full_a, full_b)
            assert_same_bits(getattr(zu, name)(full_a, full_b), expected, full_a, full_b)


Z = special_and_random(n_random=40)
X = np.concatenate([SPECIAL_PARTS, np.random.default_rng(3).uniform(-20, 20, 40)])
INT32 = np.array([0, 1, -1, 2, -3, 7, 2**31 - 1, -2**31], np.int32)
INT64_BEYOND = np.array([2**31, -2**31 - 1, 2**40 + 1, -2**62 - 1], np.int64)

# (ufunc, its operands, the C++ call expected, that call's operands)
OVERLOADS = [
    ("pow", (Z, INT32), "pow(C,int)", (Z, INT32)),
    ("pow", (Z, INT32.astype(np.int8)), "pow(C,int)", (Z, INT32.astype(np.int8).astype(np.int32))),
    ("pow", (Z, INT32.astype(np.int64)), "pow(C,int)", (Z, INT32)),
    ("pow", (Z, INT64_BEYOND), "pow(C,double)", (Z, INT64_BEYOND.astype(np.float64))),
    ("pow", (Z, X), "pow(C,double)", (Z, X)),
    ("pow", (X, Z), "pow(double,C)", (X, Z)),
    ("pow", (Z, Z), "pow", (Z, Z)),
    ("add", (X, Z), "add(double,C)", (X, Z)),
    ("add", (Z, X), "add(C,double)", (Z, X)),
    ("subtract", (X, Z), "subtract(double,C)", (X, Z)),
    ("subtract", (Z, X), "subtract(C,double)", (Z, X)),
    ("multiply", (X, Z), "multiply", (X.astype(np.complex128), Z)),
    ("polar", (X, X), "polar", (X, X)),
]


@pytest.mark.parametrize("name, operands, cpp, cpp_operands", OVERLOADS,
                         ids=[f"{o[0]}-{o[1][0].dtype}-{o[1][1].dtype}" for o in OVERLOADS])
def test_operand_dtypes_choose_the_cpp_overload(name, operands, cpp, cpp_operands):
    a, b = np.broadcast_arrays(operands[0][:, None], operands[1][None, :])
    ca, cb = np.broadcast_arrays(cpp_operands[0][:, None], cpp_operands[1][None, :])
    expected, _ = oracle(cpp, ca.ravel(), cb.ravel())
    with zu.errstate(all="ignore"):
        assert_same_bits(getattr(zu, name)(a, b), expected, a, b)


def test_out_where_and_no_numpy_floating_point_warnings():
    z = special_and_random(n_random=20)
    out = np.full(z.shape, 7 + 7j)
    mask = np.arange(z.size) % 3 == 0
    expected, _ = oracle("sqrt", z)
    with np.errstate(all="raise"):  # the library's NaNs and infinities are its results
        assert zu.sqrt(z, out=out, where=mask) is out
        zu.divide(z, 0)
    assert_same_bits(out[mask], expected[mask], z[mask])
    assert (out[~mask] == 7 + 7j).all()
