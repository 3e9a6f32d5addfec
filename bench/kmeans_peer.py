"""The K-means peer of tavrin_bench: scikit-learn's Lloyd K-means on the
digits table (inputs pixel / 16), 32 centres started from the first 32
cases, a fixed number of iterations, one thread. Prints one line:
"<seconds per fit> <iterations run> <inertia>", or "skip <reason>"."""

import os
import sys
import time

os.environ.setdefault("OMP_NUM_THREADS", "1")
os.environ.setdefault("OPENBLAS_NUM_THREADS", "1")

try:
    import numpy as np
    from sklearn.cluster import KMeans
except ImportError as error:  # the peer is optional
    print("skip", error)
    sys.exit(0)


def main():
    path, iterations, repeats = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    table = np.loadtxt(path, delimiter=",")
    x = np.ascontiguousarray(table[:, :64] / 16.0)
    init = x[:32].copy()
    times = []
    model = None
    for _ in range(repeats):
        model = KMeans(n_clusters=32, init=init, n_init=1, max_iter=iterations, tol=0.0,
                       algorithm="lloyd")
        start = time.perf_counter()
        model.fit(x)
        times.append(time.perf_counter() - start)
    times.sort()
    print(times[len(times) // 2], model.n_iter_, model.inertia_)


if __name__ == "__main__":
    main()
