"""The library's reports as Python warnings, exceptions or records.

The extension keeps, per thread and per ufunc call, what the library reported
(without the GIL), and after the call hands it to _deliver together with the
errstate that was in effect when the call began.
"""
import collections
import warnings

from . import _ufuncs

# Numbered as the extension numbers them: the mode of kind k is held in bits
# 2k and 2k+1 of the mode word, and the collectors are indexed by kind.
KINDS = ("singularity", "overflow")
MODES = ("warn", "raise", "ignore", "collect")
_WARN, _RAISE, _IGNORE, _COLLECT = range(4)


def _text(z):
    # Both parts with their signs of zero, as the library's text form has them.
    return f"({z.real!r}, {z.imag!r})"


class Report(collections.namedtuple("Report", "kind function argument default")):
    """One report of the library.

    kind: 'overflow' or 'singularity'; function: the reporting function's
    name, which for cos, sin and tan's overflows is 'cosh' or 'sinh' (with
    the turned argument (-im, re)); argument: its argument; default: the
    value it returned.
    """

    __slots__ = ()

    def __str__(self):
        return (f"{self.kind} in {self.function}: argument {_text(self.argument)}, "
                f"returned default {_text(self.default)}")


class ZuComplexWarning(RuntimeWarning):
    """A report of the library during a ufunc call ('warn' mode).

    One warning per kind and reporting function in each call: .report is the
    first such report, .count how many there were.
    """

    def __init__(self, report, count=1):
        super().__init__(report, count)
        self.report = report
        self.count = count

    def __str__(self):
        text = str(self.report)
        if self.count > 1:
            text += (f" (and {self.count - 1} more {self.report.kind} reports"
                     f" from {self.report.function} in this call)")
        return text


class ZuComplexError(FloatingPointError):
    """Raised after a ufunc call that made reports of a kind in 'raise' mode.

    NumPy has written every element by then (into out= where one was given).
    .reports holds the first report of each kind and reporting function,
    .counts how many there were of each.
    """

    def __init__(self, *groups):
        super().__init__(*groups)
        self.reports = [report for report, _ in groups]
        self.counts = [count for _, count in groups]

    def __str__(self):
        return "; ".join(str(ZuComplexWarning(r, n)) for r, n in zip(self.reports, self.counts))


class errstate:
    """Chooses what becomes of the library's reports, per kind, in a with block.

        with zu_complex.errstate(overflow='ignore', singularity='collect') as reports:
            w = zu_complex.tan(z)
        for r in reports: ...

    Modes: 'warn' (the default: a ZuComplexWarning), 'raise' (a ZuComplexError
    once the call has written its results), 'ignore', 'collect' (every report
    appended, as a Report, to the list the with statement gives). all= sets
    both kinds; a kind named explicitly overrides it; a kind not named keeps
    the mode (and the list) in effect outside the block.

    The state belongs to the thread (and asyncio task) that enters the block,
    like a contextvars.ContextVar: threads started inside it, such as the
    pools of dask's threaded scheduler, begin with the default.
    """

    def __init__(self, *, all=None, overflow=None, singularity=None):
        self._modes = {}
        for kind, mode in (("singularity", singularity), ("overflow", overflow)):
            mode = all if mode is None else mode
            if mode is None:
                continue
            if mode not in MODES:
                raise ValueError(f"{kind}={mode!r}: the mode must be one of {', '.join(MODES)}")
            self._modes[kind] = mode
        self._tokens = []

    def __enter__(self):
        code, collectors = _ufuncs._state.get()
        collectors = list(collectors)
        reports = []
        for kind, mode in self._modes.items():
            k = KINDS.index(kind)
            code = (code & ~(3 << 2 * k)) | (MODES.index(mode) << 2 * k)
            collectors[k] = reports if mode == "collect" else None
        self._tokens.append(_ufuncs._state.set((code, tuple(collectors))))
        return reports

    def __exit__(self, *exc):
        _ufuncs._state.reset(self._tokens.pop())
        return False


def geterrstate():
    """The mode of each kind in the calling thread, e.g. {'overflow': 'warn', ...}."""
    code, _ = _ufuncs._state.get()
    return {kind: MODES[(code >> 2 * k) & 3] for k, kind in enumerate(KINDS)}


def _deliver(state, groups, records, dropped):
    """Called by the extension after a call that made reports, with the GIL held.

    groups: (kind, function, argument, default, count) for each kind and
    function, in the order first seen; records: (kind, function, argument,
    default) for every report of a kind in 'collect' mode.
    """
    code, collectors = state
    for kind, function, argument, default in records:
        collectors[kind].append(Report(KINDS[kind], function, argument, default))
    raised = []
    for kind, function, argument, default, count in groups:
        mode = (code >> 2 * kind) & 3
        report = Report(KINDS[kind], function, argument, default)
        if mode == _WARN:
            # stacklevel 2: the line that called the ufunc.
            warnings.warn(ZuComplexWarning(report, count), stacklevel=2)
        elif mode == _RAISE:
            raised.append((report, count))
    if dropped:
        raise MemoryError(f"zu_complex: {dropped} reports of this call could not be kept")
    if raised:
        raise ZuComplexError(*raised)


_ufuncs._set_dispatcher(_deliver)
