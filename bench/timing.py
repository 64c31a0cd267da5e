"""The one timing rule of the benchmarks: best wall time of a few runs."""

import time


def best_of(fn, runs=5):
    best = float("inf")
    for _ in range(runs):
        start = time.perf_counter()
        fn()
        best = min(best, time.perf_counter() - start)
    return best
