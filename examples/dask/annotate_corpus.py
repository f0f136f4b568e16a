#!/usr/bin/python3
"""Annotate every .txt file under a folder on a Dask cluster with the tolvane module directly.

    annotate_corpus.py CORPUS OUT [--scheduler tcp://host:8786] [--workers N]

Each file is converted whole by one task (tolvane-dask also splits large files into parts).
The Converter is passed by value: pickling it carries its options, and each worker process
loads the data once however many Converters it unpickles. The workers read CORPUS and write OUT
at the same paths as this script names them: with a remote scheduler, both must be on a
filesystem every worker host mounts at the same path.
"""

import argparse
import os
import sys

from distributed import Client, LocalCluster

import tolvane


def convert(converter, source, target):
    os.makedirs(os.path.dirname(target), exist_ok=True)
    try:
        return converter.convert_file(source, target, threads=1)
    except (tolvane.Error, OSError) as error:
        return {"source": source, "error": str(error)}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("corpus")
    parser.add_argument("out")
    parser.add_argument("--scheduler", help="tcp://host:8786; default: a local cluster")
    parser.add_argument("--workers", type=int, default=2)
    args = parser.parse_args()

    converter = tolvane.Converter(format="py", tone="marked")
    sources, targets = [], []
    for root, _, files in os.walk(args.corpus):
        for name in sorted(files):
            if name.endswith(".txt"):
                source = os.path.join(root, name)
                relative = os.path.relpath(source, args.corpus)
                named = os.path.basename(converter.target_for(source))
                sources.append(source)
                targets.append(os.path.join(args.out, os.path.dirname(relative), named))

    if args.scheduler:
        client = Client(args.scheduler)
    else:
        client = Client(LocalCluster(n_workers=args.workers, threads_per_worker=1,
                                     processes=True, dashboard_address=":0"))
    with client:
        futures = client.map(convert, [converter] * len(sources), sources, targets, pure=False)
        results = client.gather(futures)

    failed = [result for result in results if "error" in result]
    for result in failed:
        print("%s: %s" % (result["source"], result["error"]), file=sys.stderr)
    read = sum(result["bytes_read"] for result in results if "error" not in result)
    print("%d files, %d failed, %d bytes read" % (len(results), len(failed), read),
          file=sys.stderr)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
