"""tolvane.annotate and Converter.annotate: byte for byte what tolvane-cli convert writes for the
same text in a UTF-8 file, in every layout and with the options of the layouts."""
import pytest

import tolvane
from conftest import SAMPLE_TEXT

FORMATS = ["py", "han", "hanpy", "pyhan", "py-only", "html"]

LAYOUT_OPTIONS = [
    {},
    {"tone": "numbered"},
    {"tone": "plain", "policy": "first"},
    {"policy": "all"},
    {"orthography": True},
    {"align": False},
    {"wrap": 10},
    {"wrap": 20, "orthography": True},
    {"sandhi": True, "erhua": False, "neutral_tone": "citation"},
]


@pytest.mark.parametrize("options", LAYOUT_OPTIONS, ids=repr)
@pytest.mark.parametrize("format", FORMATS)
def test_annotate_is_what_the_cli_writes(format, options, cli_convert):
    got = tolvane.annotate(SAMPLE_TEXT, format, **options)
    assert got.encode("utf-8") == cli_convert(SAMPLE_TEXT, format=format, **options)


@pytest.mark.parametrize("format", FORMATS)
@pytest.mark.parametrize("text", ["", "中", "没有行末", "\n\n", "a𠀀😀中国\r\n第二行"],
                         ids=["empty", "one", "no-line-end", "empty-lines", "non-bmp-crlf"])
def test_edge_texts_are_what_the_cli_writes(format, text, cli_convert):
    assert tolvane.annotate(text, format).encode("utf-8") == cli_convert(text, format=format)


def test_a_converter_annotates_in_its_format():
    converter = tolvane.Converter(format="hanpy", tone="numbered")
    assert converter.annotate("银行\n") == tolvane.annotate("银行\n", "hanpy", tone="numbered")
    assert converter.annotate("银行\n") == "银(yin2)行(hang2)\n"


@pytest.mark.parametrize("format, lines", [("py", 2), ("han", 2), ("hanpy", 1), ("pyhan", 1),
                                           ("py-only", 1)])
def test_annotate_line_gives_the_lines_of_one_line(format, lines):
    converter = tolvane.Converter(format=format)
    line = converter.annotate_line("我们去银行")
    assert line.count("\n") == lines - 1
    assert converter.annotate("我们去银行\n") == line + "\n"


def test_orthography_writes_words_together():
    words = tolvane.annotate("我们是朋友。\n", "py-only", tone="numbered", orthography=True)
    apart = tolvane.annotate("我们是朋友。\n", "py-only", tone="numbered")
    assert words != apart
    assert "men" in words and "peng" in words


def test_wrap_cuts_long_lines():
    text = "我们去银行取钱然后步行回家他的朋友喜欢唱歌" * 3 + "\n"
    wrapped = tolvane.annotate(text, "hanpy", wrap=10)
    assert wrapped.count("\n") > text.count("\n")


def test_html_fragment_holds_ruby_without_a_page():
    converter = tolvane.Converter()
    fragment = converter.html("银行\n朋友\n")
    page = tolvane.annotate("银行\n朋友\n", "html")
    assert "<ruby>" in fragment and "háng" in fragment
    assert "<html" not in fragment.lower() and "<html" in page.lower()
