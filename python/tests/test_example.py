"""examples/python/annotate.py, the example script: readings or a layout from a file or stdin."""
import os
import subprocess
import sys
from pathlib import Path

import tolvane

SCRIPT = Path(__file__).resolve().parents[2] / "examples" / "python" / "annotate.py"


def run(*args, stdin=""):
    return subprocess.run([sys.executable, str(SCRIPT), *map(str, args)], input=stdin.encode(),
                          capture_output=True, env=dict(os.environ))


def test_readings_of_each_line_from_stdin():
    done = run("--readings", "--tone", "numbered", stdin="我们去银行。\n朋友\n")
    assert done.returncode == 0, done.stderr
    assert done.stdout.decode() == "wo3 men5 qu4 yin2 hang2 。\npeng2 you5\n"


def test_a_layout_of_a_file_with_a_word_of_ones_own(tmp_path):
    source = tmp_path / "t.txt"
    source.write_text("我们去银行。\n", encoding="utf-8")
    done = run(source, "--format", "hanpy", "--word", "银行=yin2,xing2")
    assert done.returncode == 0, done.stderr
    assert done.stdout.decode() == tolvane.annotate(
        "我们去银行。\n", "hanpy", user_words={"银行": "yin2 xing2"})
    assert "xíng" in done.stdout.decode()


def test_a_missing_file_is_reported_by_name(tmp_path):
    done = run(tmp_path / "absent.txt")
    assert done.returncode != 0 and "absent.txt" in done.stderr.decode()
