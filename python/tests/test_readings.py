"""tolvane.readings and Converter.readings: one reading per code point, each option as
tolvane-cli lookup reads it, and the readings the options exist for."""
import pytest

import tolvane
from conftest import SAMPLE_TEXT

# Every reading option alone, then a few together: the module must read as the CLI does.
OPTION_TABLE = [
    {},
    {"tone": "marked"},
    {"tone": "numbered"},
    {"tone": "plain"},
    {"policy": "first"},
    {"policy": "all"},
    {"policy": "all", "tone": "numbered"},
    {"neutral_tone": "citation"},
    {"sandhi": True},
    {"sandhi": True, "tone": "numbered"},
    {"erhua": False},
    {"wade_giles": True, "policy": "first"},
    {"wade_giles": True, "policy": "all", "tone": "numbered"},
    {"neutral_tone": "citation", "sandhi": True, "erhua": False, "tone": "plain"},
]


@pytest.mark.parametrize("options", OPTION_TABLE, ids=repr)
def test_readings_agree_with_the_cli_lookup(options, cli_readings):
    assert tolvane.readings(SAMPLE_TEXT, **options) == cli_readings(SAMPLE_TEXT, **options)


@pytest.mark.parametrize("options", OPTION_TABLE, ids=repr)
def test_a_converter_reads_as_the_function_does(options):
    converter = tolvane.Converter(**options)
    assert converter.readings(SAMPLE_TEXT) == tolvane.readings(SAMPLE_TEXT, **options)


# Readings a reader of Chinese knows, one option at a time.
KNOWN_READINGS = [
    ("银行", {"tone": "numbered"}, ["yin2", "hang2"]),
    ("步行", {"tone": "numbered"}, ["bu4", "xing2"]),
    ("中国", {"tone": "marked"}, ["zhōng", "guó"]),
    ("中国", {"tone": "plain"}, ["zhong", "guo"]),
    ("朋友", {"tone": "numbered"}, ["peng2", "you5"]),
    ("朋友", {"tone": "numbered", "neutral_tone": "citation"}, ["peng2", "you3"]),
    ("一个", {"tone": "numbered"}, ["yi1", "ge4"]),
    ("一个", {"tone": "numbered", "sandhi": True}, ["yi2", "ge4"]),
    ("不是", {"tone": "numbered", "sandhi": True}, ["bu2", "shi4"]),
    ("一点儿", {"tone": "numbered"}, ["yi1", "dian3", "r5"]),
    ("一点儿", {"tone": "numbered", "erhua": False}, ["yi1", "dian3", "er5"]),
]


@pytest.mark.parametrize("text, options, expected", KNOWN_READINGS,
                         ids=[f"{t}-{o}" for t, o, _ in KNOWN_READINGS])
def test_known_readings(text, options, expected):
    assert tolvane.readings(text, **options) == expected


def test_policies_differ_where_a_polyphone_stands():
    context = tolvane.readings("银行", tone="numbered", policy="context")[1]
    first = tolvane.readings("银行", tone="numbered", policy="first")[1]
    every = tolvane.readings("银行", tone="numbered", policy="all")[1].split("/")
    assert context == "hang2"
    assert first in every and context in every and len(every) > 1


def test_one_reading_per_code_point_beyond_the_basic_plane():
    text = "a𠀀😀中\n"
    got = tolvane.readings(text, tone="numbered")
    assert len(got) == len(text) == 5
    assert got[0] == "" and got[2] == "" and got[4] == ""
    assert got[3] == "zhong1"


def test_characters_without_a_reading_read_empty():
    text = "Tolvane 1.0，《》 "
    assert tolvane.readings(text) == [""] * len(text)


def test_empty_text_has_no_readings():
    assert tolvane.readings("") == []
    assert tolvane.Converter().readings("") == []


@pytest.mark.parametrize("length", range(1, 9))
def test_user_words_of_one_to_eight_characters(length):
    text = "我们明天去中国银行工作。"
    word = text[2:2 + length]
    # Readings no built-in word gives these characters, so only the user word can explain them.
    own = " ".join(["ma1"] * length)
    got = tolvane.readings(text, tone="numbered", user_words={word: own})
    assert got[2:2 + length] == ["ma1"] * length
    assert got[:2] == ["wo3", "men5"]
    as_pairs = tolvane.readings(text, tone="numbered", user_words=[(word, own)])
    assert as_pairs == got


def test_user_words_from_a_generator_are_read_once():
    words = ((w, r) for w, r in [("银行", "yin2 xing2")])
    assert tolvane.readings("银行", tone="numbered", user_words=words) == ["yin2", "xing2"]


def test_user_words_do_not_leak_into_other_calls():
    tolvane.readings("银行", tone="numbered", user_words={"银行": "yin2 xing2"})
    assert tolvane.readings("银行", tone="numbered") == ["yin2", "hang2"]


def test_line_ends_of_every_kind_read_empty():
    text = "中\r\n国\r行\n"
    got = tolvane.readings(text, tone="numbered", policy="first")
    assert len(got) == len(text)
    assert [got[1], got[2], got[4], got[6]] == ["", "", "", ""]
