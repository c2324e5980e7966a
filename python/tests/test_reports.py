"""The library's reports in Python: what errstate makes of them, per thread,
and that they reach the module's hook whatever else is loaded."""
import os
import subprocess
import sys
import threading
import warnings

import numpy as np
import pytest

import zu_complex as zu
from conftest import SPECIAL_PARTS, assert_same_bits, oracle, special_and_random

KINDS = {2: "singularity", 3: "overflow"}
REPORTING = ["exp", "sin", "cos", "tan", "sinh", "cosh", "tanh", "asin", "acos", "atan", "pow(double,C)"]


@pytest.mark.parametrize("name", REPORTING)
def test_collected_reports_are_the_cpp_hooks(name):
    z = special_and_random(n_random=0)
    if name == "pow(double,C)":
        operands = [a.ravel() for a in np.broadcast_arrays(SPECIAL_PARTS[:, None], z[None, :])]
        ufunc = zu.pow
    else:
        operands, ufunc = [z], getattr(zu, name)
    results, cpp = oracle(name, *operands)
    with zu.errstate(all="collect") as got:
        ufunc(*operands)
    # An overflow returns the default it handed the hook; a singularity's
    # default is what the function returned.
    expected = [zu.Report(KINDS[t], fn, arg, retval if t == 3 else complex(results[i]))
                for i, t, fn, arg, retval in cpp]
    assert [r[:2] for r in got] == [r[:2] for r in expected]
    assert_same_bits(np.array([r[2:] for r in got], complex).reshape(-1, 2),
                     np.array([r[2:] for r in expected], complex).reshape(-1, 2))
    assert any(r.kind == "overflow" for r in got) or any(r.kind == "singularity" for r in got)


POLES = np.array([1j, -1j, 2, 1j])        # atan: two singularities, the second reported twice
OVERFLOWS = np.array([710.5, 0, 800 + 1j])  # exp


def test_each_mode():
    with zu.errstate(all="warn"), pytest.warns(zu.ZuComplexWarning) as caught:
        zu.atan(POLES)
    (w,) = [w.message for w in caught]
    assert (w.report, w.count) == (zu.Report("singularity", "atan", 1j, complex(0, np.inf)), 3)
    assert str(w) == ("singularity in atan: argument (0.0, 1.0), returned default (0.0, inf)"
                      " (and 2 more singularity reports from atan in this call)")

    out = np.zeros(3, complex)
    with zu.errstate(overflow="raise", singularity="ignore"), pytest.raises(zu.ZuComplexError) as raised:
        zu.exp(OVERFLOWS, out=out)
    assert raised.value.counts == [2] and raised.value.reports[0].argument == 710.5
    assert_same_bits(out, oracle("exp", OVERFLOWS)[0])  # written before the exception

    with warnings.catch_warnings():
        warnings.simplefilter("error")
        with zu.errstate(all="ignore"):
            zu.atan(POLES), zu.exp(OVERFLOWS)

    # Collectors nest: a block that names only singularities keeps the outer
    # block's list for overflows. Methods such as .at deliver too.
    with zu.errstate(all="collect") as outer:
        with zu.errstate(singularity="collect") as inner:
            zu.exp(OVERFLOWS)
            zu.atan.at(POLES.copy(), [0, 1])
    assert [r.function for r in outer] == ["exp", "exp"]
    assert [r.function for r in inner] == ["atan", "atan"]
    assert zu.geterrstate() == {"singularity": "warn", "overflow": "warn"}


def test_reports_belong_to_the_calling_thread_and_the_gil_is_released():
    seen = {}

    def worker():
        with zu.errstate(all="collect") as mine:
            zu.atan(np.array([1j]))
        seen["worker"] = mine
        # The main thread's 'raise' is not this thread's: the default warns.
        with pytest.warns(zu.ZuComplexWarning):
            zu.atan(np.array([-1j]))

    with zu.errstate(all="raise"):
        t = threading.Thread(target=worker)
        t.start()
        t.join()
    assert [r.argument for r in seen["worker"]] == [1j]

    count, done = [0], threading.Event()

    def spin():
        while not done.is_set():
            count[0] += 1

    spinner = threading.Thread(target=spin)
    spinner.start()
    big = np.full(2_000_000, 1 + 1j)
    before = count[0]
    zu.tan(big)  # a loop holding the GIL would leave the spinner still
    during = count[0] - before
    done.set()
    spinner.join()
    assert during > 1000


@pytest.mark.skipif("ZU_COMPLEX_SHARED_LIBRARY" not in os.environ, reason="the library is built static")
def test_reports_reach_the_module_with_the_shared_library_loaded_globally():
    script = """
import ctypes, os, numpy as np
ctypes.CDLL(os.environ["ZU_COMPLEX_SHARED_LIBRARY"], mode=ctypes.RTLD_GLOBAL)
import zu_complex as zu
with zu.errstate(all="collect") as got:
    zu.tan(np.array([800j])), zu.atan(np.array([1j]))
print(" ".join(r.function for r in got))
"""
    run = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, check=True)
    assert run.stdout.split() == ["sinh", "cosh", "atan"]
