"""libzu_complex's functions as NumPy ufuncs, with its exact special values.

Every function of the library is a ufunc on complex128 arrays (float64 where
the C++ signature is real): broadcasting, out=, where=, casting and dask
arrays work as for NumPy's own ufuncs, and every element has the bits the C++
function returns for the same operands. The library's reports (overflows and
singularities) become ZuComplexWarning warnings, or what errstate chooses.
"""
from ._ufuncs import (  # noqa: F401  (re-exported)
    abs, acos, add, arg, asin, atan, ceil, conj, cos, cosh, divide, equal, exp, floor, hypot,
    imag, log, log10, multiply, negative, norm, not_equal, polar, pow, real, round, sin, sinh,
    sqrt, subtract, tan, tanh, ufunc,
)
from ._errstate import Report, ZuComplexError, ZuComplexWarning, errstate, geterrstate  # noqa: F401

__all__ = [
    "abs", "acos", "add", "arg", "asin", "atan", "ceil", "conj", "cos", "cosh", "divide", "equal",
    "exp", "floor", "hypot", "imag", "log", "log10", "multiply", "negative", "norm", "not_equal",
    "polar", "pow", "real", "round", "sin", "sinh", "sqrt", "subtract", "tan", "tanh",
    "ufunc", "Report", "ZuComplexError", "ZuComplexWarning", "errstate", "geterrstate",
]
