"""What the tests of the package share: the package under test, tolvane-cli beside it (the
reference the module must agree with), and running that CLI with the module's options."""
import os
import subprocess
from pathlib import Path

import pytest

import tolvane

# The build tree's package lies in build/python/tolvane, the programs in build/bin.
_BUILD = Path(tolvane.__file__).resolve().parents[2]
CLI = Path(os.environ.get("TOLVANE_CLI", _BUILD / "bin" / "tolvane-cli"))
DATA_DIR = Path(os.environ.get("TOLVANE_DATA_DIR", _BUILD / "bin"))

# Text that exercises the options: polyphones read by their words, light syllables, 一 and 不
# before other tones, erhua, Latin letters, digits, punctuation and an empty line.
SAMPLE_TEXT = (
    "我们去银行取钱，然后步行回家。\n"
    "他的朋友喜欢唱歌，一个一个地来，不是不对。\n"
    "\n"
    "一点儿小事，等一会儿再说吧！Tolvane 1.0 读 100 个字。\n"
    "重庆是一座重要的城市，长江很长，他长得很高。\n"
)

# The option values and the tolvane-cli flags that ask for the same.
_CLI_FLAGS = {
    "format": lambda v: ["--format", v],
    "tone": lambda v: ["--tone", v],
    "policy": lambda v: ["--polyphone", v],
    "neutral_tone": lambda v: ["--neutral-tone", v],
    "sandhi": lambda v: ["--sandhi"] if v else [],
    "erhua": lambda v: [] if v else ["--erhua", "er"],
    "wade_giles": lambda v: ["--wade-giles"] if v else [],
    "orthography": lambda v: ["--orthography"] if v else [],
    "align": lambda v: [] if v else ["--no-align"],
    "wrap": lambda v: ["--wrap", str(v)] if v else [],
}


def cli_flags(options):
    flags = []
    for name, value in options.items():
        flags += _CLI_FLAGS[name](value)
    return flags


def run_cli(*args):
    if not CLI.exists():
        pytest.fail(f"tolvane-cli is missing at {CLI}: build it, or set TOLVANE_CLI")
    return subprocess.run([str(CLI), *map(str, args)], capture_output=True, check=True).stdout


@pytest.fixture
def cli_convert(tmp_path):
    """The bytes `tolvane-cli convert` writes for text in a UTF-8 file, with the options."""
    def convert(text, **options):
        source = tmp_path / "source.txt"
        target = tmp_path / "target.txt"
        source.write_bytes(text.encode("utf-8"))
        run_cli("convert", "--quiet", *cli_flags(options), source, target)
        return target.read_bytes()
    return convert


@pytest.fixture
def cli_readings(tmp_path):
    """The readings `tolvane-cli lookup --lines` gives for every character of text's lines,
    "" where it has none, as one list for the whole text (a line end reads "")."""
    def readings(text, **options):
        source = tmp_path / "lines.txt"
        source.write_bytes(text.encode("utf-8"))
        out = run_cli("lookup", *cli_flags(options), "--lines", source).decode("utf-8")
        result = []
        for line, cli_line in zip(text.split("\n"), out.split("\n")):
            if line:
                result += ["" if r == " " else r for r in cli_line.split("\t")]
            result.append("")
        return result[:len(text)]
    return readings
