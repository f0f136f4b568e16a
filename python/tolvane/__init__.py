"""Chinese text to Hanyu Pinyin.

    >>> import tolvane
    >>> tolvane.readings("我们去银行", tone="numbered")
    ['wo3', 'men5', 'qu4', 'yin2', 'hang2']
    >>> print(tolvane.annotate("朋友", "hanpy"))
    朋(péng)友(you)

readings() gives the reading of every character, annotate() a text in one of tolvane-cli's
layouts. Both keep Converters (with the loaded data) for each data folder and set of options,
so calling them line by line costs no loading; a Converter of your own (tolvane.Converter) does
the same explicitly, converts files, and splits large files into parts for other processes.

Errors of data and files raise tolvane.Error (with .path); option values that are not allowed
raise ValueError, values of the wrong type TypeError.
"""

import os
import threading

from ._tolvane import Converter, Error, FileParts
from ._tolvane import __version__

__all__ = ["Converter", "Error", "FileParts", "__version__", "annotate", "readings"]

# The Converters of the module-level functions, by (data folder, options): a few hundred are
# plenty for any program and bound the memory that user words of many kinds would take (the
# oldest goes first). Converters of one data folder share its data: each is with_options of the
# one that loaded it (_loaded). A lookup is a plain dict read, atomic under the GIL; filling and
# trimming take the lock.
_CACHE_SIZE = 256
_cache_lock = threading.Lock()
_converters = {}
_loaded = {}


def _folder_key(data_dir):
    return None if data_dir is None else os.path.abspath(os.fspath(data_dir))


def _loaded_converter(data_dir):
    """The Converter holding the data of data_dir, loaded once per process and folder."""
    key = _folder_key(data_dir)
    converter = _loaded.get(key)
    if converter is None:
        # Loading happens outside the lock (it releases the GIL and takes a moment); of two
        # threads racing here both load, and the first to finish is kept.
        converter = Converter(data_dir=data_dir)
        with _cache_lock:
            converter = _loaded.setdefault(key, converter)
    return converter


def _restore_converter(data_dir, options):
    """Unpickles a Converter: the data of data_dir as loaded once in this process, with options."""
    return _loaded_converter(data_dir).with_options(**options)


def _user_words_key(user_words):
    """user_words as a hashable value, and as given (an iterator read once into a list); the key
    is None when user_words is malformed, and Converter then says what is wrong."""
    if user_words is None:
        return (), None
    try:
        if isinstance(user_words, dict):
            return tuple(user_words.items()), user_words
        if isinstance(user_words, (str, bytes)):
            return None, user_words
        pairs = list(user_words)
        return tuple(tuple(pair) for pair in pairs), pairs
    except TypeError:
        return None, user_words


def _options_key(data_dir, options):
    """A key for data_dir and options (the values' types in it, so that sandhi=1 is not taken
    for sandhi=True), or None when some value cannot be a key."""
    try:
        key = (_folder_key(data_dir),) + tuple((name, type(value), value)
                                               for name, value in options.items())
        hash(key)
        return key
    except TypeError:
        return None


def _converter(data_dir, options):
    """The cached Converter for data_dir and options (a dict of keyword arguments)."""
    words_key, options["user_words"] = _user_words_key(options.get("user_words"))
    key = None
    if words_key is not None:
        key = _options_key(data_dir, dict(options, user_words=words_key))
    if key is not None:
        converter = _converters.get(key)
        if converter is not None:
            return converter
    converter = _loaded_converter(data_dir).with_options(**options)
    if key is not None:
        _remember(key, converter)
    return converter


def _remember(key, converter):
    with _cache_lock:
        _converters[key] = converter
        while len(_converters) > _CACHE_SIZE:
            del _converters[next(iter(_converters))]


def readings(text, *, tone="marked", policy="context", neutral_tone="spoken", sandhi=False,
             erhua=True, wade_giles=False, user_words=None, data_dir=None):
    """The reading of every character (code point) of text: a list of str, "" for a character
    that has none (punctuation, Latin letters, digits, spaces, line ends).

    tone: "marked" (zhōng), "numbered" (zhong1) or "plain" (zhong).
    policy: "context" (from the words around it, with the polyphone model), "first" (the first
        reading, the character alone) or "all" (every reading, separated by "/").
    neutral_tone: "spoken" (péngyou) or "citation" (each syllable of a word in its full tone).
    sandhi: 一 and 不 in the tones they take before another syllable.
    erhua: the 儿 of an erhua word written as r.
    wade_giles: Wade-Giles instead of pinyin (with the "first" and "all" policies).
    user_words: your own words with numbered readings, {"银行": "yin2 hang2"} or (word,
        readings) pairs, read ahead of the built-in words.
    data_dir: the data folder (as tolvane-cli's --data-dir); None for the installed one.

    >>> readings("我们去银行", tone="numbered")
    ['wo3', 'men5', 'qu4', 'yin2', 'hang2']
    >>> readings("行", policy="all")
    ['xíng/háng/hàng/héng']
    """
    if user_words is None and data_dir is None:
        # The common call, line after line: a key of the arguments as they are (their types in
        # it, so that sandhi=1 is not taken for sandhi=True) found in one dict read.
        key = (readings, tone, policy, neutral_tone, sandhi, type(sandhi), erhua, type(erhua),
               wade_giles, type(wade_giles))
        converter = _converters.get(key)
        if converter is not None:
            return converter.readings(text)
    options = {"tone": tone, "policy": policy, "neutral_tone": neutral_tone, "sandhi": sandhi,
               "erhua": erhua, "wade_giles": wade_giles, "user_words": user_words}
    converter = _converter(data_dir, options)
    if user_words is None and data_dir is None:
        _remember(key, converter)
    return converter.readings(text)


def annotate(text, format="py", *, tone="marked", policy="context", neutral_tone="spoken",
             sandhi=False, erhua=True, wade_giles=False, orthography=False, align=True, wrap=0,
             user_words=None, data_dir=None):
    """text in one of tolvane-cli's layouts: exactly what `tolvane-cli convert --format FORMAT`
    writes for a UTF-8 file holding text.

    format: "py" (the pinyin line above the character line), "han" (the characters above),
        "hanpy" (年(nián)), "pyhan" ((nián)年), "py-only" (the readings in place of the
        characters) or "html" (a whole page, the readings as ruby; see Converter.html for a
        fragment).
    orthography: pinyin written by words, as the national orthography asks.
    align: in "py" and "han", each reading in its character's column.
    wrap: re-cut lines to 10, 20, 30, 40, 50 or 100 characters (0: as they are).
    The other options are those of readings().

    >>> print(annotate("你好", "py-only"))
    nǐhǎo
    """
    options = {"format": format, "tone": tone, "policy": policy, "neutral_tone": neutral_tone,
               "sandhi": sandhi, "erhua": erhua, "wade_giles": wade_giles,
               "orthography": orthography, "align": align, "wrap": wrap, "user_words": user_words}
    return _converter(data_dir, options).annotate(text)
