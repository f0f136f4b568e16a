"""The compiled part of the tolvane package (tolvane re-exports it)."""
import os
from typing import Iterable, Literal, Mapping, TypedDict, Union

__version__: str

StrPath = Union[str, bytes, os.PathLike[str], os.PathLike[bytes]]
Format = Literal["py", "han", "hanpy", "pyhan", "py-only", "html"]
Tone = Literal["marked", "numbered", "plain"]
Policy = Literal["context", "first", "all"]
NeutralTone = Literal["spoken", "citation"]
Wrap = Literal[0, 10, 20, 30, 40, 50, 100]
UserWords = Union[Mapping[str, str], Iterable[tuple[str, str]]]

class Options(TypedDict):
    format: Format
    tone: Tone
    policy: Policy
    neutral_tone: NeutralTone
    sandhi: bool
    erhua: bool
    wade_giles: bool
    orthography: bool
    align: bool
    wrap: int
    user_words: dict[str, str] | None

class FileReport(TypedDict):
    source: str
    target: str
    encoding: str
    bytes_read: int
    bytes_written: int
    undecodable_bytes: int

class Error(Exception):
    """A conversion failed on its data or files."""
    message: str
    path: str | None

class FileParts:
    """A file cut at line ends into parts that can be converted apart."""
    encoding: str
    size: int
    offsets: list[int]
    def __init__(self, encoding: str, size: int, offsets: list[int]) -> None: ...
    def __len__(self) -> int: ...
    def __eq__(self, other: object) -> bool: ...

class Converter:
    """Converts Chinese text to pinyin with the data of one folder and one set of options."""
    def __init__(
        self,
        *,
        data_dir: StrPath | None = None,
        format: Format = "py",
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
    ) -> None: ...
    @property
    def options(self) -> Options: ...
    @property
    def data_dir(self) -> str | None: ...
    def with_options(
        self,
        *,
        format: Format = ...,
        tone: Tone = ...,
        policy: Policy = ...,
        neutral_tone: NeutralTone = ...,
        sandhi: bool = ...,
        erhua: bool = ...,
        wade_giles: bool = ...,
        orthography: bool = ...,
        align: bool = ...,
        wrap: Wrap = ...,
        user_words: UserWords | None = ...,
    ) -> Converter: ...
    def readings(self, text: str) -> list[str]: ...
    def readings_many(self, texts: Iterable[str]) -> list[list[str]]: ...
    def annotate(self, text: str) -> str: ...
    def annotate_line(self, line: str) -> str: ...
    def html(self, text: str) -> str: ...
    def target_for(self, source: StrPath) -> str: ...
    def convert_file(
        self, source: StrPath, target: StrPath | None = None, *, threads: int = 0
    ) -> FileReport: ...
    def split_file(self, source: StrPath, part_bytes: int) -> FileParts: ...
    def convert_file_part(
        self, source: StrPath, parts: FileParts, index: int, target: StrPath, *, threads: int = 1
    ) -> FileReport: ...
