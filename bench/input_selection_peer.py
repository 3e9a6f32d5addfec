"""The input-selection peer of tavrin_bench: one mask evaluation of the
kernel estimator in numpy, vectorised over the cases. Reads the coded cases
tavrin_bench wrote (see input_selection_bench.cpp) and prints one line:
"<median seconds per evaluation> <error>", or "skip <reason>"."""

import os
import sys
import time

os.environ.setdefault("OMP_NUM_THREADS", "1")
os.environ.setdefault("OPENBLAS_NUM_THREADS", "1")

try:
    import numpy as np
except ImportError as error:  # the peer is optional
    print("skip", error)
    sys.exit(0)

FACTOR = 0.3
LIMIT = 100.0
LEAST_PENALTY = 1e-5
BLOCK = 64  # evaluation cases whose distances are held at once


def fitness(xr, yr, xe, ye, columns, selected):
    xr = xr[:, columns]
    xe = xe[:, columns]
    total = 0.0
    for first in range(0, xe.shape[0], BLOCK):
        block = xe[first:first + BLOCK]
        d2 = ((block[:, None, :] - xr[None, :, :]) ** 2).sum(axis=2)
        a = FACTOR * d2
        w = np.where(a < LIMIT, np.exp(-np.minimum(a, LIMIT)), 0.0)
        s = w.sum(axis=1)
        far = s == 0.0  # every reference too far: the nearest one's targets
        s[far] = 1.0
        estimate = (w @ yr) / s[:, None]
        if far.any():
            estimate[far] = yr[d2[far].argmin(axis=1)]
        total += ((ye[first:first + BLOCK] - estimate) ** 2).sum()
    return np.sqrt(total / (yr.shape[1] * xe.shape[0])) + selected * LEAST_PENALTY


def main():
    path, repeats = sys.argv[1], int(sys.argv[2])
    values = np.fromfile(path, dtype=np.float64)
    r, e, width, targets, m, selected = (int(v) for v in values[:6])
    at = 6
    parts = []
    for rows, cols in ((r, width), (e, width), (r, targets), (e, targets)):
        parts.append(values[at:at + rows * cols].reshape(rows, cols))
        at += rows * cols
    columns = values[at:at + m].astype(np.int64)
    xr, xe, yr, ye = parts
    times = []
    result = 0.0
    for _ in range(repeats):
        start = time.perf_counter()
        result = fitness(xr, yr, xe, ye, columns, selected)
        times.append(time.perf_counter() - start)
    times.sort()
    print(times[len(times) // 2], repr(float(result)))


if __name__ == "__main__":
    main()
