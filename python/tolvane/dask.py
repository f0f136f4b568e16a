"""Annotate a corpus of text files on a Dask cluster.

Every source is converted on a worker into a target that is byte for byte what
``tolvane-cli convert`` writes for it with the same options. A small file is converted whole by
one task; a large one is split at line boundaries into parts that several workers convert at
once, and one task joins the parts, in order, into a scratch file that it renames to the target,
so a target is whole or absent. The workers read the sources and write the targets at the paths
the client names: the corpus must lie on a filesystem every worker sees at the same path.

Run it as ``python3 -m tolvane.dask`` or ``tolvane-dask``; ``--help`` lists the options.
"""

import argparse
import errno
import fnmatch
import functools
import json
import os
import shutil
import stat
import sys
import tempfile
import time

import tolvane

PROGRAM = "tolvane-dask"
DEFAULT_PART_BYTES = 64 * 1024 * 1024
TARGET_MARK = "_拼音"

TONES = ("marked", "numbered", "plain")
POLICIES = ("context", "first", "all")
NEUTRAL_TONES = ("spoken", "citation")
ERHUA_FORMS = ("r", "er")
FORMATS = ("py", "han", "hanpy", "pyhan", "py-only", "html")
WRAP_WIDTHS = (0, 100, 50, 40, 30, 20, 10)


class UsageError(Exception):
    """A command line that names no valid run; the program exits with status 2."""


# ---------------------------------------------------------------------------------------------
# The command line


def _lowercase(value):
    return value.lower()


def build_parser():
    parser = argparse.ArgumentParser(
        prog=PROGRAM,
        description=(
            "Annotate text files with Hanyu Pinyin on a Dask cluster. Each SOURCE is a file, a "
            "folder (searched recursively for files matching --include) or a glob pattern. "
            "Each target is byte for byte what 'tolvane-cli convert' writes for its source with "
            "the same options. The workers read the sources and write the targets at the same "
            "paths as this program names them, so with --scheduler the corpus and --out-dir "
            "must be on a filesystem every worker host mounts at the same path."),
        epilog=(
            "On a terminal a count of finished files shows the progress; at the end stderr "
            "gives the files done and failed, each failure as 'path: reason', the bytes read "
            "and written, the wall time and the throughput. Exit status: 0 when every file was converted, 1 when some failed (each is listed "
            "with its reason, and its target is not written) or the scheduler could not be "
            "reached, 2 for a usage error or data files that cannot be loaded."),
    )
    parser.add_argument("sources", metavar="SOURCE", nargs="+",
                        help="a text file, a folder or a glob pattern (quoted, so that this "
                             "program expands it, recursively with **)")
    cluster = parser.add_argument_group("cluster")
    cluster.add_argument("--scheduler", metavar="ADDRESS",
                         help="address of a running Dask scheduler (tcp://host:8786); without "
                              "it a local cluster is started for this run")
    cluster.add_argument("--workers", type=int, default=None, metavar="N",
                         help="worker processes of the local cluster (default: the number of "
                              "processors)")
    cluster.add_argument("--threads", type=int, default=1, metavar="N",
                         help="threads per worker process of the local cluster (default 1)")
    cluster.add_argument("--part-bytes", type=int, default=DEFAULT_PART_BYTES, metavar="BYTES",
                         help="files larger than this are split into parts of about this size, "
                              "converted on several workers and joined (default %d, 64 MiB)"
                              % DEFAULT_PART_BYTES)

    output = parser.add_argument_group("output")
    output.add_argument("--out-dir", metavar="DIR",
                        help="write the targets under DIR, keeping the sources' paths relative "
                             "to the folder named (a file or a glob match keeps its path as "
                             "given, or its bare name when that path is absolute or leads out "
                             "with ..); without it each target is written beside its source")
    output.add_argument("--include", action="append", metavar="GLOB",
                        help="names of the files taken from a folder (repeatable; default "
                             "*.txt). Files named like targets (with _拼音 before the "
                             "extension) and hidden files are skipped in folders")
    output.add_argument("--summary-json", metavar="FILE",
                        help="also write the summary as JSON to FILE")
    output.add_argument("-q", "--quiet", action="store_true",
                        help="no progress count and no summary on stderr (failures are still "
                             "listed)")

    convert = parser.add_argument_group("conversion (as tolvane-cli convert)")
    convert.add_argument("--format", type=_lowercase, choices=FORMATS, default="py",
                         help="layout: py (pinyin line above the characters, default), han, "
                              "hanpy, pyhan, py-only or html (a web page; the target is then "
                              "named .html)")
    convert.add_argument("--tone", type=_lowercase, choices=TONES, default="marked",
                         help="tone style: marked (default), numbered or plain")
    convert.add_argument("--polyphone", type=_lowercase, choices=POLICIES, default=None,
                         help="characters with several readings: context (default), first or "
                              "all")
    convert.add_argument("--neutral-tone", type=_lowercase, choices=NEUTRAL_TONES, default=None,
                         help="spoken (default) or citation; with --polyphone context only")
    convert.add_argument("--sandhi", action="store_true",
                         help="一 and 不 in the tones speech gives them; with --polyphone "
                              "context only")
    convert.add_argument("--erhua", type=_lowercase, choices=ERHUA_FORMS, default=None,
                         help="the 儿 of erhua words: r (default) or er; with --polyphone "
                              "context and spoken neutral tones only")
    convert.add_argument("--wade-giles", action="store_true",
                         help="consult the Wade-Giles user dictionary instead of the standard "
                              "one")
    convert.add_argument("--orthography", action="store_true",
                         help="write pinyin by words (reads by context)")
    convert.add_argument("--no-align", action="store_true",
                         help="in the py and han layouts, keep the character line as it is")
    convert.add_argument("--wrap", type=int, choices=WRAP_WIDTHS, default=0, metavar="N",
                         help="re-cut the lines into pieces of N characters first: 0 (default, "
                              "no re-cut), 100, 50, 40, 30, 20 or 10")
    convert.add_argument("--data-dir", metavar="DIR",
                         help="folder of the data files, as tolvane-cli's --data-dir; it must "
                              "exist at the same path on every worker")
    return parser


def converter_options(args):
    """The Converter's keyword arguments for the command line, checked as tolvane-cli checks
    them: the options of reading by context are refused with another policy."""
    policy = args.polyphone or "context"
    if policy != "context":
        for given, name in ((args.neutral_tone, "--neutral-tone"), (args.sandhi, "--sandhi"),
                            (args.erhua, "--erhua")):
            if given:
                raise UsageError("%s applies to reading by context only (--polyphone context)"
                                 % name)
        if args.orthography:
            raise UsageError("--orthography reads by context: it cannot go with --polyphone %s"
                             % policy)
    neutral_tone = args.neutral_tone or "spoken"
    if neutral_tone == "citation" and args.erhua == "r":
        raise UsageError("--erhua r applies with spoken neutral tones only (--neutral-tone "
                         "spoken); citation tones write the 儿 as er")
    if args.data_dir is not None and not os.path.isdir(args.data_dir):
        raise UsageError("--data-dir: %s is not a folder" % args.data_dir)
    if args.part_bytes < 1:
        raise UsageError("--part-bytes must be at least 1")
    if args.workers is not None and args.workers < 1:
        raise UsageError("--workers must be at least 1")
    if args.threads < 1:
        raise UsageError("--threads must be at least 1")
    return {
        "format": args.format,
        "tone": args.tone,
        "policy": policy,
        "neutral_tone": neutral_tone,
        "sandhi": args.sandhi,
        "erhua": args.erhua != "er",
        "wade_giles": args.wade_giles,
        "orthography": args.orthography,
        "align": not args.no_align,
        "wrap": args.wrap,
    }


# ---------------------------------------------------------------------------------------------
# Finding the sources and naming the targets


def _is_target_name(name):
    return TARGET_MARK in os.path.splitext(name)[0]


def _files_in_folder(folder, includes, skip):
    found = []
    for root, dirs, files in os.walk(folder):
        dirs[:] = sorted(d for d in dirs
                         if not d.startswith(".") and os.path.abspath(os.path.join(root, d)) != skip)
        for name in sorted(files):
            if name.startswith(".") or _is_target_name(name):
                continue
            if any(fnmatch.fnmatch(name, pattern) for pattern in includes):
                path = os.path.join(root, name)
                found.append((path, os.path.relpath(path, folder)))
    return found


def _relative_as_given(path):
    normal = os.path.normpath(path)
    if os.path.isabs(normal) or normal == ".." or normal.startswith(".." + os.sep):
        return os.path.basename(normal)
    return normal


def find_sources(arguments, includes, out_dir=None):
    """(source, path relative to the output folder) for every file the arguments name, in the
    order given, each source once. A name that is neither a file, a folder nor a glob with
    matches is kept: its conversion fails with the reason."""
    import glob

    skip = os.path.abspath(out_dir) if out_dir else None
    sources, seen = [], set()

    def add(path, relative):
        key = os.path.abspath(path)
        if key not in seen:
            seen.add(key)
            sources.append((path, relative))

    for argument in arguments:
        if os.path.isdir(argument):
            for path, relative in _files_in_folder(argument, includes, skip):
                add(path, relative)
        elif not os.path.lexists(argument) and glob.has_magic(argument):
            matches = sorted(glob.glob(argument, recursive=True))
            if not matches:
                add(argument, _relative_as_given(argument))
            for match in matches:
                if os.path.isdir(match):
                    for path, relative in _files_in_folder(match, includes, skip):
                        add(path, os.path.join(_relative_as_given(match), relative))
                else:
                    add(match, _relative_as_given(match))
        else:
            add(argument, _relative_as_given(argument))
    return sources


def plan_targets(converter, sources, out_dir):
    """Jobs {"source", "target"} and failures (source, reason) for the sources whose target
    another source already claims."""
    jobs, failures, claimed = [], [], {}
    for source, relative in sources:
        if out_dir is None:
            target = converter.target_for(source)
        else:
            named = os.path.basename(converter.target_for(source))
            target = os.path.join(out_dir, os.path.dirname(relative), named)
        key = os.path.abspath(target)
        if key in claimed:
            failures.append((source, "its target %s is that of %s too" % (target, claimed[key])))
            continue
        claimed[key] = source
        jobs.append({"source": source, "target": target})
    return jobs, failures


# ---------------------------------------------------------------------------------------------
# The tasks, run on the workers. Each returns a dict instead of raising, so that a failing file
# is reported with its reason and the tasks that depend on it still run and tidy up.


@functools.lru_cache(maxsize=4)
def _worker_data(data_dir):
    # The data of a folder, loaded once per worker process: tasks carry only their options.
    return tolvane.Converter(data_dir=data_dir)


@functools.lru_cache(maxsize=16)
def _worker_converter(data_dir, options):
    # One Converter per worker process and set of options, sharing the loaded data.
    return _worker_data(data_dir).with_options(**dict(options))


def _reason(error, source):
    if isinstance(error, tolvane.Error):
        # The report puts the source in front of the reason: the error's file is named only when
        # it is another one (the target, a data file).
        message = getattr(error, "message", None) or str(error)
        path = getattr(error, "path", None)
        if path and os.path.abspath(path) != os.path.abspath(source) and path not in message:
            return "%s: %s" % (path, message)
        return message
    if isinstance(error, OSError):
        return error.strerror or str(error)
    if isinstance(error, MemoryError):
        return "Out of memory"
    return "%s: %s" % (type(error).__name__, error)


def _failed(source, error):
    return {"ok": False, "source": source, "reason": _reason(error, source)}


def _check_source(source):
    # The library is asked to convert regular files only: a folder, a device or a pipe among
    # the sources is a failure with its reason, never a read that does not end. A source that
    # cannot be looked at is left to the library, which names the reason as the CLI does.
    try:
        mode = os.stat(source).st_mode
    except OSError:
        return
    if stat.S_ISDIR(mode):
        raise IsADirectoryError(errno.EISDIR, "Is a folder, not a file", source)
    if not stat.S_ISREG(mode):
        raise OSError(errno.EINVAL, "Not a regular file (a device, a pipe or a socket)", source)


def _make_target_folder(target):
    folder = os.path.dirname(target)
    if folder:
        os.makedirs(folder, exist_ok=True)


def convert_whole_task(source, target, data_dir, options):
    """Convert one source into its target on this worker."""
    try:
        _check_source(source)
        _make_target_folder(target)
        result = _worker_converter(data_dir, options).convert_file(source, target, threads=1)
        return dict(result, ok=True, parts=1)
    except Exception as error:  # every failure of one file is that file's, reported, not raised
        return _failed(source, error)


def split_task(source, target, part_bytes, data_dir, options):
    """Split a large source into parts and make the scratch folder for their targets beside the
    target."""
    try:
        _check_source(source)
        parts = _worker_converter(data_dir, options).split_file(source, part_bytes)
        _make_target_folder(target)
        folder = os.path.dirname(target) or "."
        scratch = tempfile.mkdtemp(prefix=".%s.tolvane-dask-parts-" % os.path.basename(target),
                                   dir=folder)
        return {"ok": True, "source": source, "parts": parts, "count": len(parts.offsets),
                "scratch": scratch}
    except Exception as error:
        return _failed(source, error)


def part_path(scratch, index):
    return os.path.join(scratch, "part-%06d" % index)


def convert_part_task(source, split, index, data_dir, options):
    """Convert the part numbered index of a split source into its file in the scratch folder."""
    try:
        result = _worker_converter(data_dir, options).convert_file_part(
            source, split["parts"], index, part_path(split["scratch"], index), threads=1)
        return dict(result, ok=True)
    except Exception as error:
        return _failed(source, error)


def join_parts_task(source, target, split, *part_results):
    """Join the converted parts in order into the target: written to a scratch file beside it
    and renamed, so the target is whole or absent. The scratch folder goes in every case."""
    scratch = split["scratch"]
    try:
        failed = [result for result in part_results if not result["ok"]]
        if failed:
            return failed[0]
        folder = os.path.dirname(target) or "."
        handle, joined = tempfile.mkstemp(prefix=".%s.tolvane-dask-" % os.path.basename(target),
                                          dir=folder)
        try:
            with os.fdopen(handle, "wb") as out:
                for index in range(len(part_results)):
                    with open(part_path(scratch, index), "rb") as part:
                        shutil.copyfileobj(part, out, 1 << 20)
            # The mode the target has, else the one the library gave the first part (mkstemp's
            # is private to its owner).
            like = target if os.path.exists(target) else part_path(scratch, 0)
            os.chmod(joined, os.stat(like).st_mode & 0o7777)
            os.replace(joined, target)
        except BaseException:
            os.unlink(joined)
            raise
        return {
            "ok": True, "source": source, "target": target,
            "encoding": part_results[0].get("encoding"),
            "bytes_read": sum(result["bytes_read"] for result in part_results),
            "bytes_written": os.path.getsize(target),
            "undecodable_bytes": sum(result.get("undecodable_bytes", 0)
                                     for result in part_results),
            "parts": len(part_results),
        }
    except Exception as error:
        return _failed(source, error)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


# ---------------------------------------------------------------------------------------------
# Running the jobs on a client


class Progress:
    """A count of finished files on stderr when it is a terminal; nothing otherwise."""

    def __init__(self, total, stream, show):
        self.total, self.done, self.stream = total, 0, stream
        self.show = show and hasattr(stream, "isatty") and stream.isatty()
        self._draw()

    def step(self):
        self.done += 1
        self._draw()

    def _draw(self):
        if self.show:
            self.stream.write("\r%s: %d/%d files" % (PROGRAM, self.done, self.total))
            self.stream.flush()

    def finish(self):
        if self.show:
            self.stream.write("\n")
            self.stream.flush()


def run_jobs(client, jobs, data_dir, options, part_bytes, on_done=None):
    """Convert every job on the client's cluster; returns one result dict per job, in the jobs'
    order. Sizes are read here to choose between a whole conversion and parts; a source this
    process cannot see is sent whole, and the worker tells why it fails."""
    from distributed import as_completed

    frozen = tuple(sorted(options.items()))
    results = [None] * len(jobs)
    pending = {}
    for number, job in enumerate(jobs):
        try:
            size = os.stat(job["source"]).st_size
        except OSError:
            size = 0
        source, target = job["source"], job["target"]
        if size > part_bytes and os.path.isfile(source):
            future = client.submit(split_task, source, target, part_bytes, data_dir, frozen,
                                   pure=False)
            pending[future.key] = ("split", number)
        else:
            future = client.submit(convert_whole_task, source, target, data_dir, frozen,
                                   pure=False)
            pending[future.key] = ("done", number)
        pending[future.key] += (future,)
    running = as_completed([entry[2] for entry in pending.values()])
    for future in running:
        stage, number, _ = pending.pop(future.key)
        try:
            result = future.result()
        except Exception as error:  # a worker lost or killed: the file failed, the run goes on
            result = _failed(jobs[number]["source"], error)
        if stage == "split" and result["ok"]:
            source, target = jobs[number]["source"], jobs[number]["target"]
            split = {"parts": result["parts"], "scratch": result["scratch"]}
            parts = [client.submit(convert_part_task, source, split, index, data_dir, frozen,
                                   pure=False)
                     for index in range(result["count"])]
            joined = client.submit(join_parts_task, source, target, split, *parts, pure=False)
            pending[joined.key] = ("done", number, joined)
            running.add(joined)
            continue
        results[number] = result
        if on_done is not None:
            on_done(result)
    return results


def summarize(jobs, results, early_failures, seconds):
    done = [result for result in results if result["ok"]]
    failures = [{"path": source, "reason": reason} for source, reason in early_failures]
    failures += [{"path": result["source"], "reason": result["reason"]}
                 for result in results if not result["ok"]]
    bytes_read = sum(result["bytes_read"] for result in done)
    return {
        "files": len(jobs) + len(early_failures),
        "done": len(done),
        "failed": len(failures),
        "bytes_read": bytes_read,
        "bytes_written": sum(result["bytes_written"] for result in done),
        "seconds": round(seconds, 3),
        "mb_per_second": round(bytes_read / 1e6 / seconds, 3) if seconds > 0 else 0.0,
        "undecodable": [{"path": result["source"], "bytes": result["undecodable_bytes"]}
                        for result in done if result.get("undecodable_bytes")],
        "failures": failures,
    }


def print_summary(summary, stream, quiet):
    for entry in summary["undecodable"]:
        stream.write("%s: warning: %s: %d bytes were not valid text in its encoding\n"
                     % (PROGRAM, entry["path"], entry["bytes"]))
    for failure in summary["failures"]:
        stream.write("%s: %s: %s\n" % (PROGRAM, failure["path"], failure["reason"]))
    if not quiet:
        stream.write(
            "%s: %d files done, %d failed; %d bytes read, %d written in %.2f s (%.2f MB/s)\n"
            % (PROGRAM, summary["done"], summary["failed"], summary["bytes_read"],
               summary["bytes_written"], summary["seconds"], summary["mb_per_second"]))


def start_client(args):
    from distributed import Client, LocalCluster

    if args.scheduler:
        return Client(args.scheduler), None
    import logging

    cluster = LocalCluster(n_workers=args.workers or os.cpu_count() or 1,
                           threads_per_worker=args.threads, processes=True,
                           dashboard_address=":0", silence_logs=logging.ERROR)
    return Client(cluster), cluster


def main(argv=None, stderr=None):
    stderr = stderr or sys.stderr
    parser = build_parser()
    args = parser.parse_args(argv)
    try:
        options = converter_options(args)
        converter = tolvane.Converter(data_dir=args.data_dir, **options)
    except (UsageError, ValueError, TypeError) as error:
        parser.print_usage(stderr)
        stderr.write("%s: error: %s\n" % (PROGRAM, error))
        return 2
    except tolvane.Error as error:
        stderr.write("%s: error: %s\n" % (PROGRAM, error))
        return 2

    started = time.monotonic()
    sources = find_sources(args.sources, args.include or ["*.txt"], args.out_dir)
    jobs, early_failures = plan_targets(converter, sources, args.out_dir)
    try:
        client, cluster = start_client(args)
    except (OSError, TimeoutError) as error:
        stderr.write("%s: error: cannot start the cluster or reach the scheduler %s: %s\n"
                     % (PROGRAM, args.scheduler or "(local)", error))
        return 1
    progress = Progress(len(jobs), stderr, not args.quiet)
    try:
        results = run_jobs(client, jobs, args.data_dir, options, args.part_bytes,
                           on_done=lambda result: progress.step())
    finally:
        progress.finish()
        client.close()
        if cluster is not None:
            cluster.close()
    summary = summarize(jobs, results, early_failures, time.monotonic() - started)
    print_summary(summary, stderr, args.quiet)
    if args.summary_json:
        try:
            with open(args.summary_json, "w", encoding="utf-8") as out:
                json.dump(summary, out, ensure_ascii=False, indent=2)
                out.write("\n")
        except OSError as error:
            stderr.write("%s: %s: %s\n" % (PROGRAM, args.summary_json, error.strerror))
            return 1
    return 0 if summary["failed"] == 0 else 1


if __name__ == "__main__":
    # Run as python3 -m tolvane.dask: the tasks must be pickled as tolvane.dask's functions, which
    # the workers can import, not as __main__'s.
    from tolvane.dask import main as run_main

    sys.exit(run_main())
