"""dask.array: the ufuncs on a chunked million values give the bits NumPy
gives on the whole array, with the threaded scheduler and on a local
distributed cluster of two worker processes."""
import os

import numpy as np
import pytest

import zu_complex as zu
from conftest import assert_same_bits, complex_from_parts

da = pytest.importorskip("dask.array")

N, CHUNK = 1_000_000, 125_000


def operands():
    rng = np.random.default_rng(11)
    # Some |im| beyond 710, so workers make reports too.
    return complex_from_parts(*rng.uniform(-720, 720, (2, N))), complex_from_parts(*rng.normal(size=(2, N)))


def check(scheduler):
    a, b = operands()
    x, y = da.from_array(a, chunks=CHUNK), da.from_array(b, chunks=CHUNK)
    with zu.errstate(all="ignore"):
        expected = [zu.tan(a), zu.multiply(a, b), zu.pow(b, 3)]
    lazy = [zu.tan(x), zu.multiply(x, y), zu.pow(y, 3)]
    assert all(isinstance(v, da.Array) and v.numblocks == (N // CHUNK,) for v in lazy)
    for got, want in zip(da.compute(*lazy, scheduler=scheduler), expected):
        assert_same_bits(got, want)


@pytest.mark.filterwarnings("ignore::zu_complex.ZuComplexWarning")  # the pool threads warn
def test_threaded_scheduler():
    check("threads")


@pytest.mark.filterwarnings("ignore::DeprecationWarning")  # tornado, inside distributed
def test_distributed_cluster_of_two_processes():
    distributed = pytest.importorskip("distributed")
    # The workers are new interpreters: they find the package as this one did.
    package_root = os.path.dirname(os.path.dirname(zu.__file__))
    os.environ["PYTHONPATH"] = os.pathsep.join(p for p in [package_root, os.environ.get("PYTHONPATH")] if p)
    with distributed.LocalCluster(n_workers=2, processes=True, threads_per_worker=1, host="127.0.0.1",
                                  dashboard_address=None) as cluster, distributed.Client(cluster) as client:
        assert len(client.scheduler_info()["workers"]) == 2
        check(client)
