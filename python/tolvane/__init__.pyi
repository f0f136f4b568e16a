"""Chinese text to Hanyu Pinyin."""
from ._tolvane import Converter as Converter
from ._tolvane import Error as Error
from ._tolvane import FileParts as FileParts
from ._tolvane import Format, NeutralTone, Policy, StrPath, Tone, UserWords, Wrap
from ._tolvane import __version__ as __version__

__all__ = ["Converter", "Error", "FileParts", "__version__", "annotate", "readings"]

def readings(
    text: str,
    *,
    tone: Tone = "marked",
    policy: Policy = "context",
    neutral_tone: NeutralTone = "spoken",
    sandhi: bool = False,
    erhua: bool = True,
    wade_giles: bool = False,
    user_words: UserWords | None = None,
    data_dir: StrPath | None = None,
) -> list[str]: ...
def annotate(
    text: str,
    format: Format = "py",
    *,
    tone: Tone = "marked",
    policy: Policy = "context",
    neutral_tone: NeutralTone = "spoken",
    sandhi: bool = False,
    erhua: bool = True,
    wade_giles: bool = False,
    orthography: bool = False,
    align: bool = True,
    wrap: Wrap = 0,
    user_words: UserWords | None = None,
    data_dir: StrPath | None = None,
) -> str: ...
