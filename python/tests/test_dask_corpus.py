"""tolvane-dask over a corpus on a local cluster of worker processes: every target is what
tolvane-cli convert writes for its source, large files split into parts included, and a file
that cannot be read is reported without stopping the others."""

import io
import json
import os

import pytest

distributed = pytest.importorskip("distributed")

import tolvane.dask as tolvane_dask  # noqa: E402

from dask_support import data_dir, run_cli, worker_environment  # noqa: E402

TEXT = (
    "我们去银行取钱，行长说今天不行。\n"
    "一会儿我们一起去公园散步，看看花儿。\n"
    "他长得很高，头发长长的。Hello, 世界 123！\n"
    "\n"
    "床前明月光，疑是地上霜。举头望明月，低头思故乡。\n"
)

PART_BYTES = 4096

OPTION_SETS = [
    pytest.param([], id="py"),
    pytest.param(["--format", "html"], id="html"),
    pytest.param(["--format", "py-only", "--tone", "numbered"], id="py-only-numbered"),
]


def crlf(text):
    return text.replace("\n", "\r\n")


def make_corpus(root):
    """The sources by encoding, two of them large enough for many parts, and the ones that
    fail: returns (convertible sources, failing sources) as paths relative to root."""
    (root / "sub" / "deeper").mkdir(parents=True)
    files = {
        "utf8.txt": TEXT.encode("utf-8"),
        "bom.txt": b"\xef\xbb\xbf" + crlf(TEXT).encode("utf-8"),
        "sub/utf16.txt": b"\xff\xfe" + crlf(TEXT).encode("utf-16-le"),
        "sub/gb.txt": (TEXT + "𠀀 is four bytes in GB18030.\n").encode("gb18030"),
        "sub/gbk.txt": crlf(TEXT).encode("gbk"),
        "empty.txt": b"",
        # Many parts: lines of every length, a last line without its line end.
        "sub/deeper/big.txt": (TEXT * 160 + "最后一行没有换行").encode("utf-8"),
        "sub/deeper/big16.txt": b"\xff\xfe" + crlf(TEXT * 60).encode("utf-16-le"),
    }
    for name, data in files.items():
        (root / name).write_bytes(data)
    assert len(files["sub/deeper/big.txt"]) > 8 * PART_BYTES, "too few parts"

    failing = []
    # A dangling link fails for every user, root included.
    os.symlink(root / "nowhere.txt", root / "sub" / "broken.txt")
    failing.append("sub/broken.txt")
    # A pipe named like a text file would never end: it is refused, not read.
    os.mkfifo(root / "sub" / "pipe.txt")
    failing.append("sub/pipe.txt")
    if os.geteuid() != 0:
        locked = root / "locked.txt"
        locked.write_bytes(TEXT.encode("utf-8"))
        locked.chmod(0)
        failing.append("locked.txt")
    return sorted(files), failing


def target_name(relative, options):
    stem, extension = os.path.splitext(relative)
    return stem + "_拼音" + (".html" if "html" in options else extension)


@pytest.fixture(scope="module")
def cluster():
    saved = dict(os.environ)
    os.environ.update(worker_environment())
    try:
        with distributed.LocalCluster(n_workers=3, threads_per_worker=1, processes=True,
                                      dashboard_address=":0") as local:
            yield local
    finally:
        os.environ.clear()
        os.environ.update(saved)


@pytest.fixture(scope="module")
def corpus(tmp_path_factory):
    root = tmp_path_factory.mktemp("corpus")
    convertible, failing = make_corpus(root)
    yield root, convertible, failing
    for name in failing:
        path = root / name
        if path.is_file() and not path.is_symlink():
            path.chmod(0o644)


@pytest.mark.parametrize("options", OPTION_SETS)
def test_targets_are_those_of_the_cli(cluster, corpus, tmp_path, options):
    root, convertible, failing = corpus
    out = tmp_path / "out"
    summary_file = tmp_path / "summary.json"
    err = io.StringIO()
    status = tolvane_dask.main(
        [str(root), "--scheduler", cluster.scheduler_address,
         "--out-dir", str(out), "--part-bytes", str(PART_BYTES), "--data-dir", str(data_dir()),
         "--summary-json", str(summary_file)] + options, stderr=err)

    assert status == 1, err.getvalue()
    for relative in convertible:
        target = out / target_name(relative, options)
        reference = tmp_path / "reference"
        assert target.read_bytes() == run_cli(root / relative, reference, options), relative

    summary = json.loads(summary_file.read_text(encoding="utf-8"))
    failed_paths = [str(root / name) for name in failing]
    assert sorted(failure["path"] for failure in summary["failures"]) == sorted(failed_paths)
    assert summary["done"] == len(convertible)
    assert summary["failed"] == len(failed_paths)
    assert summary["bytes_read"] == sum((root / name).stat().st_size for name in convertible)
    for failure in summary["failures"]:
        assert failure["reason"].strip(), failure
        assert "%s: %s" % (failure["path"], failure["reason"]) in err.getvalue()
        # The report names the source once, in front of the reason.
        assert failure["path"] not in failure["reason"], failure

    # Only the targets are left: no target of a failing file, no scratch file or part folder.
    written = sorted(str(path.relative_to(out)) for path in out.rglob("*") if path.is_file())
    assert written == sorted(target_name(name, options) for name in convertible)
    assert not [path for path in out.rglob(".*")]
