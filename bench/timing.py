"""The one timing rule of the benchmarks: best wall time of a few runs."""

import time


def best_of(fn, runs=5):
    best = float("inf")
    for _ in range(runs):
        start = time.perf_counter()
        fn()
        best = min(best, time.perf_counter() - start)
    return best


def best_of_each(fns, runs=5):
    """The best wall time of each function of a dict, their runs interleaved
    so that a burst of load on the machine falls on all of them alike."""
    best = {key: float("inf") for key in fns}
    for _ in range(runs):
        for key, fn in fns.items():
            start = time.perf_counter()
            fn()
            best[key] = min(best[key], time.perf_counter() - start)
    return best
