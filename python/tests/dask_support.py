"""What the tolvane-dask tests share: where the command line converter is, a Python that
has Dask, and the environment worker processes need to import tolvane."""

import os
import pathlib
import subprocess
import sys

import tolvane

PACKAGE_ROOT = pathlib.Path(tolvane.__file__).resolve().parent.parent


def cli_path():
    """tolvane-cli of the same build: TOLVANE_CLI, else bin/ beside the build's python/."""
    named = os.environ.get("TOLVANE_CLI")
    if named:
        return pathlib.Path(named)
    return PACKAGE_ROOT.parent / "bin" / "tolvane-cli"


def data_dir():
    """The data the CLI of the build reads by default (its program folder), named explicitly
    so that the module and the CLI read the same files."""
    named = os.environ.get("TOLVANE_DATA_DIR")
    return pathlib.Path(named) if named else cli_path().parent


def worker_environment():
    """os.environ with PACKAGE_ROOT first on PYTHONPATH, so that spawned workers import the
    tolvane under test."""
    env = dict(os.environ)
    paths = [str(PACKAGE_ROOT)] + [p for p in env.get("PYTHONPATH", "").split(os.pathsep) if p]
    env["PYTHONPATH"] = os.pathsep.join(paths)
    return env


def run_cli(source, target, options):
    """What tolvane-cli convert writes for source with the options, as bytes."""
    subprocess.run([str(cli_path()), "convert", "-q", str(source), str(target),
                    "--data-dir", str(data_dir())] + list(options),
                   check=True, capture_output=True)
    return pathlib.Path(target).read_bytes()


def run_script(arguments, **kwargs):
    """python3 -m tolvane.dask with the arguments, under the Python running the tests."""
    return subprocess.run([sys.executable, "-m", "tolvane.dask"] + list(arguments),
                          capture_output=True, text=True, env=worker_environment(), **kwargs)
