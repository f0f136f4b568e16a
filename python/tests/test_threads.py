"""Many threads on one Converter and on the module's functions, and the GIL released while the
library works."""
import faulthandler
import os
import sys
import threading
from concurrent.futures import ThreadPoolExecutor

import pytest

import tolvane
from conftest import SAMPLE_TEXT

LINES = [line for line in (SAMPLE_TEXT * 3).split("\n")] + ["长" * n for n in range(1, 40)]


def work(converter, round):
    results = []
    for index, line in enumerate(LINES):
        if (index + round) % 3 == 0:
            results.append(converter.readings(line))
        elif (index + round) % 3 == 1:
            results.append(converter.annotate_line(line))
        else:
            results.append(tolvane.readings(line, tone="numbered", sandhi=bool(round % 2)))
    return results


def test_eight_threads_give_what_one_thread_gives():
    converter = tolvane.Converter(format="hanpy", policy="context")
    rounds = range(64)
    alone = [work(converter, r) for r in rounds]
    with ThreadPoolExecutor(max_workers=8) as pool:
        together = list(pool.map(lambda r: work(converter, r), rounds))
    assert together == alone


def test_threads_deriving_converters_read_alike():
    base = tolvane.Converter()
    tones = ["marked", "numbered", "plain"] * 8

    def derive_and_read(tone):
        return base.with_options(tone=tone).readings(SAMPLE_TEXT)

    with ThreadPoolExecutor(max_workers=8) as pool:
        together = list(pool.map(derive_and_read, tones))
    assert together == [derive_and_read(tone) for tone in tones]


def test_a_python_thread_runs_while_readings_work():
    # With a switch interval far longer than the test, a thread holding the GIL never hands it
    # over unless it releases it itself; the counting thread releases it at every step. So the
    # count moves during the call only when the call releases the GIL.
    text = SAMPLE_TEXT * 4000
    converter = tolvane.Converter()
    count = 0
    stop = threading.Event()
    started = threading.Event()

    def counter():
        nonlocal count
        started.set()
        while not stop.is_set():
            count += 1
            os.sched_yield()

    interval = sys.getswitchinterval()
    sys.setswitchinterval(1000)
    thread = threading.Thread(target=counter)
    try:
        thread.start()
        started.wait()
        moved = []
        for _ in range(20):
            before = count
            converter.readings(text)
            moved.append(count - before)
            if moved[-1] > 0:
                break
    finally:
        stop.set()
        sys.setswitchinterval(interval)
        thread.join()
    assert moved[-1] > 0, f"the counting thread did not run during {len(moved)} calls"


@pytest.mark.skipif(not hasattr(os, "mkfifo"), reason="no named pipes on this system")
def test_convert_file_releases_the_gil_while_it_writes(tmp_path):
    # The target is a pipe read by a Python thread: the conversion can only finish if that
    # thread runs while convert_file writes, that is, if convert_file released the GIL.
    source = tmp_path / "s.txt"
    source.write_text(SAMPLE_TEXT * 2000, encoding="utf-8")
    pipe = tmp_path / "pipe"
    os.mkfifo(pipe)
    received = []

    def read_pipe():
        with open(pipe, "rb") as reader:
            received.append(reader.read())

    reader = threading.Thread(target=read_pipe, daemon=True)
    reader.start()
    # Were the GIL held, nothing could ever read the pipe: end the run with the stacks then
    # rather than hang.
    faulthandler.dump_traceback_later(300, exit=True)
    try:
        report = tolvane.Converter().convert_file(source, pipe, threads=1)
    finally:
        faulthandler.cancel_dump_traceback_later()
    reader.join()
    assert report["target"] == str(pipe)
    tolvane.Converter().convert_file(source, tmp_path / "file.txt", threads=1)
    assert received and received[0] == (tmp_path / "file.txt").read_bytes()
    assert len(received[0]) > 64 * 1024


def test_readings_many_reads_each_text_as_readings_does():
    converter = tolvane.Converter(tone="numbered")
    assert converter.readings_many(LINES) == [converter.readings(line) for line in LINES]
    # Any iterable of str, taken once; nothing gives nothing.
    assert converter.readings_many(line for line in ["银行", ""]) == [["yin2", "hang2"], []]
    assert converter.readings_many([]) == []


@pytest.mark.parametrize("texts, error", [
    (["银行", 3], TypeError),
    (["银行", "\ud800"], ValueError),
    (5, TypeError),
])
def test_readings_many_refuses_what_is_no_text(texts, error):
    with pytest.raises(error):
        tolvane.Converter().readings_many(texts)


def test_threads_reading_batches_give_what_one_thread_gives():
    converter = tolvane.Converter(policy="context")
    batches = [LINES[i::8] for i in range(8)] * 4
    with ThreadPoolExecutor(max_workers=4) as pool:
        together = list(pool.map(converter.readings_many, batches))
    assert together == [converter.readings_many(batch) for batch in batches]
