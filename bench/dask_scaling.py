#!/usr/bin/python3
"""Throughput of tolvane-dask on local clusters of 1 and 2 worker processes (1 thread each)
over the files of a folder, best of three runs each, and the ratio of the two; run by
bench/dask_scaling.sh, which makes the corpus.

    dask_scaling.py CORPUS OUT [--data-dir DIR] [--workers 1 2] [--runs 3]

The time of a run is the conversion of every file, from the first task submitted to the last
target renamed; the cluster's start-up is not in it. The first run of a cluster also loads the
data in each worker, which the best of three leaves out.
"""

import argparse
import logging
import os
import shutil
import sys
import time

from distributed import Client, LocalCluster

import tolvane
import tolvane.dask as tolvane_dask


def timed_runs(workers, jobs, data_dir, options, runs, out):
    cluster = LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                           dashboard_address=":0", silence_logs=logging.ERROR)
    seconds = []
    with cluster, Client(cluster) as client:
        client.wait_for_workers(workers)
        for _ in range(runs):
            shutil.rmtree(out, ignore_errors=True)
            started = time.perf_counter()
            results = tolvane_dask.run_jobs(client, jobs, data_dir, options,
                                            tolvane_dask.DEFAULT_PART_BYTES)
            seconds.append(time.perf_counter() - started)
            failed = [result for result in results if not result["ok"]]
            if failed:
                sys.exit("FAIL: %s: %s" % (failed[0]["source"], failed[0]["reason"]))
    return min(seconds)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("corpus")
    parser.add_argument("out")
    parser.add_argument("--data-dir")
    parser.add_argument("--workers", type=int, nargs="+", default=[1, 2])
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()

    options = tolvane_dask.converter_options(tolvane_dask.build_parser().parse_args(["x"]))
    converter = tolvane.Converter(data_dir=args.data_dir, **options)
    sources = tolvane_dask.find_sources([args.corpus], ["*.txt"])
    jobs, _ = tolvane_dask.plan_targets(converter, sources, args.out)
    size = sum(os.path.getsize(source) for source, _ in sources)
    print("corpus: %d files, %.1f MB; %d cores; default options (py, marked tones, by context)"
          % (len(sources), size / 1e6, os.cpu_count()))

    print("%-24s %9s %9s %8s" % ("workers x 1 thread", "seconds", "MB/s", "ratio"))
    baseline = None
    for workers in args.workers:
        seconds = timed_runs(workers, jobs, args.data_dir, options, args.runs, args.out)
        throughput = size / 1e6 / seconds
        baseline = baseline or throughput
        print("%-24d %9.2f %9.2f %8.2f" % (workers, seconds, throughput, throughput / baseline))
        sys.stdout.flush()


if __name__ == "__main__":
    main()
