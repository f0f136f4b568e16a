"""tolvane-dask's command line: its help, its usage errors, which files it takes from the
names given and where their targets go, and a run on a local cluster of its own."""

import io
import json
import os
import pathlib
import subprocess
import sys

import pytest

pytest.importorskip("distributed")

import tolvane  # noqa: E402
import tolvane.dask as tolvane_dask  # noqa: E402

from dask_support import data_dir, run_cli, run_script, worker_environment  # noqa: E402

LAUNCHER = pathlib.Path(__file__).resolve().parent.parent / "scripts" / "tolvane-dask"


def test_help_names_every_option():
    for command in ([sys.executable, "-m", "tolvane.dask", "--help"],
                    [sys.executable, str(LAUNCHER), "--help"]):
        result = subprocess.run(command, capture_output=True, text=True,
                                env=worker_environment(), timeout=60)
        assert result.returncode == 0, result.stderr
        for option in ("--scheduler", "--workers", "--threads", "--part-bytes", "--out-dir",
                       "--include", "--summary-json", "--format", "--tone", "--polyphone",
                       "--neutral-tone", "--sandhi", "--erhua", "--wade-giles",
                       "--orthography", "--no-align", "--wrap", "--data-dir"):
            assert option in result.stdout, option
        assert "shared" in result.stdout or "same path" in result.stdout


@pytest.mark.parametrize("arguments, complaint", [
    ([], "SOURCE"),
    (["a.txt", "--format", "docx"], "--format"),
    (["a.txt", "--tone", "accented"], "--tone"),
    (["a.txt", "--wrap", "7"], "--wrap"),
    (["a.txt", "--polyphone", "first", "--sandhi"], "--sandhi"),
    (["a.txt", "--polyphone", "all", "--neutral-tone", "citation"], "--neutral-tone"),
    (["a.txt", "--polyphone", "first", "--orthography"], "--orthography"),
    (["a.txt", "--neutral-tone", "citation", "--erhua", "r"], "--erhua r"),
    (["a.txt", "--data-dir", "/nonexistent/tolvane-data"], "--data-dir"),
    (["a.txt", "--part-bytes", "0"], "--part-bytes"),
    (["a.txt", "--workers", "0"], "--workers"),
])
def test_usage_errors_exit_2_before_any_cluster(arguments, complaint, capsys, monkeypatch):
    def no_cluster(args):
        raise AssertionError("a cluster was started for a usage error")

    monkeypatch.setattr(tolvane_dask, "start_client", no_cluster)
    err = io.StringIO()
    try:
        status = tolvane_dask.main(arguments, stderr=err)
    except SystemExit as exit:  # argparse's own errors
        status = exit.code
    message = err.getvalue() + capsys.readouterr().err
    assert status == 2, message
    assert complaint in message


def test_usage_error_status_of_the_program():
    result = run_script(["a.txt", "--tone", "accented"], timeout=60)
    assert (result.returncode, result.stdout) == (2, "")
    assert "--tone" in result.stderr


def test_folders_globs_and_files_give_sources_and_targets(tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    for name in ("corpus/a.txt", "corpus/sub/b.txt", "corpus/sub/b_拼音.txt", "corpus/.hidden.txt",
                 "corpus/notes.md", "corpus/.git/c.txt", "other/x/one.txt", "other/y/one.txt",
                 "loose.text"):
        path = tmp_path / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text("中文\n", encoding="utf-8")
    converter = tolvane.Converter(data_dir=str(data_dir()))

    sources = tolvane_dask.find_sources(["corpus", "other/*/one.txt", "loose.text",
                                         str(tmp_path / "corpus" / "a.txt"), "missing.txt"],
                                        ["*.txt"])
    assert sources == [
        (os.path.join("corpus", "a.txt"), "a.txt"),
        (os.path.join("corpus", "sub", "b.txt"), os.path.join("sub", "b.txt")),
        (os.path.join("other", "x", "one.txt"), os.path.join("other", "x", "one.txt")),
        (os.path.join("other", "y", "one.txt"), os.path.join("other", "y", "one.txt")),
        ("loose.text", "loose.text"),
        ("missing.txt", "missing.txt"),
    ]

    jobs, clashes = tolvane_dask.plan_targets(converter, sources, "out")
    assert [job["target"] for job in jobs] == [
        os.path.join("out", "a_拼音.txt"),
        os.path.join("out", "sub", "b_拼音.txt"),
        os.path.join("out", "other", "x", "one_拼音.txt"),
        os.path.join("out", "other", "y", "one_拼音.txt"),
        os.path.join("out", "loose_拼音.text"),
        os.path.join("out", "missing_拼音.txt"),
    ]
    assert clashes == []

    # Two sources one target: the second fails, naming the first.
    jobs, clashes = tolvane_dask.plan_targets(
        converter, [("x/one.txt", "one.txt"), ("y/one.txt", "one.txt")], "out")
    assert [job["source"] for job in jobs] == ["x/one.txt"]
    assert clashes[0][0] == "y/one.txt" and "x/one.txt" in clashes[0][1]

    # Without an output folder each target lies beside its source.
    jobs, _ = tolvane_dask.plan_targets(converter.with_options(format="html"),
                                        [("corpus/a.txt", "a.txt")], None)
    assert jobs[0]["target"] == os.path.join("corpus", "a_拼音.html")


def test_local_cluster_writes_targets_beside_the_sources(tmp_path):
    texts = {"一.txt": "我们去银行。\n", "二.txt": "行长说不行。\r\n长长的路。\r\n"}
    for name, text in texts.items():
        (tmp_path / name).write_text(text, encoding="utf-8")
    summary_file = tmp_path / "summary.json"
    options = ["--format", "hanpy", "--tone", "plain"]
    result = run_script([str(tmp_path), "--workers", "2", "--data-dir", str(data_dir()),
                         "--summary-json", str(summary_file)] + options, timeout=120)
    assert result.returncode == 0, result.stderr
    assert "2 files done, 0 failed" in result.stderr
    summary = json.loads(summary_file.read_text(encoding="utf-8"))
    assert (summary["done"], summary["failed"], summary["failures"]) == (2, 0, [])
    for name in texts:
        stem = name[:-len(".txt")]
        target = tmp_path / (stem + "_拼音.txt")
        assert target.read_bytes() == run_cli(tmp_path / name, tmp_path / "reference", options)
