"""Arguments the module refuses: a ValueError naming the option and the allowed values, a
TypeError naming what was expected, and text that is no Unicode."""
import pytest

import tolvane

BAD_OPTIONS = [
    ({"tone": "numeric"}, ValueError, ["tone", "'marked'", "'numbered'", "'plain'", "numeric"]),
    ({"policy": "best"}, ValueError, ["policy", "'context'", "'first'", "'all'"]),
    ({"neutral_tone": "light"}, ValueError, ["neutral_tone", "'spoken'", "'citation'"]),
    ({"format": "pdf"}, ValueError, ["format", "'py'", "'py-only'", "'html'", "pdf"]),
    ({"wrap": 15}, ValueError, ["wrap", "10", "100", "15"]),
    ({"wrap": -1}, ValueError, ["wrap"]),
    ({"tone": 1}, TypeError, ["tone", "str", "int"]),
    ({"sandhi": 1}, TypeError, ["sandhi", "bool", "int"]),
    ({"erhua": "yes"}, TypeError, ["erhua", "bool", "str"]),
    ({"align": None, "orthography": "no"}, TypeError, ["orthography", "bool"]),
    ({"wrap": "10"}, TypeError, ["wrap", "int", "str"]),
    ({"wrap": True}, TypeError, ["wrap", "int", "bool"]),
    ({"user_words": "银行"}, TypeError, ["user_words", "dict", "pairs"]),
    ({"user_words": 3}, TypeError, ["user_words", "dict"]),
    ({"user_words": [("银行",)]}, ValueError, ["pair"]),
    ({"user_words": ["银行"]}, TypeError, ["user_words"]),
    ({"user_words": {"银行": 2}}, TypeError, ["readings", "str"]),
    ({"user_words": {"": "yin2"}}, ValueError, ["empty"]),
]


@pytest.mark.parametrize("options, error, words", BAD_OPTIONS, ids=repr)
def test_bad_options_are_refused_with_a_clear_message(options, error, words):
    for make in (lambda: tolvane.Converter(**options),
                 lambda: tolvane.Converter().with_options(**options),
                 lambda: tolvane.annotate("中", **options)):
        with pytest.raises(error) as raised:
            make()
        for word in words:
            assert word in str(raised.value)


def test_unknown_options_are_refused():
    with pytest.raises(TypeError, match="colour"):
        tolvane.Converter().with_options(colour="red")
    with pytest.raises(TypeError):
        tolvane.Converter(colour="red")
    with pytest.raises(TypeError):
        tolvane.readings("中", format="py")


@pytest.mark.parametrize("call", [
    lambda: tolvane.readings(b"\xe4\xb8\xad"),
    lambda: tolvane.readings(None),
    lambda: tolvane.annotate(["中"]),
    lambda: tolvane.Converter().annotate_line(1),
    lambda: tolvane.Converter().html(b""),
], ids=["bytes", "None", "list", "int", "html-bytes"])
def test_text_must_be_a_str(call):
    with pytest.raises(TypeError, match="must be a str"):
        call()


@pytest.mark.parametrize("call", [
    lambda t: tolvane.readings(t),
    lambda t: tolvane.annotate(t),
    lambda t: tolvane.Converter().annotate_line(t),
    lambda t: tolvane.Converter().html(t),
])
def test_a_lone_surrogate_is_a_value_error_saying_where(call):
    with pytest.raises(ValueError, match=r"surrogate \(U\+D800\) at index 2"):
        call("中国\ud800")


def test_file_arguments_are_checked(tmp_path):
    converter = tolvane.Converter()
    with pytest.raises(TypeError, match="source must be a str, bytes or os.PathLike"):
        converter.convert_file(3)
    with pytest.raises(TypeError, match="threads must be an int"):
        converter.convert_file(tmp_path / "a", threads="2")
    with pytest.raises(ValueError, match="threads must not be negative"):
        converter.convert_file(tmp_path / "a", threads=-1)
    with pytest.raises(ValueError, match="part_bytes must be at least 1"):
        converter.split_file(tmp_path / "a", 0)
    source = tmp_path / "s.txt"
    source.write_text("中\n", encoding="utf-8")
    parts = converter.split_file(source, 100)
    with pytest.raises(IndexError, match="index 1 is out of range for 1 parts"):
        converter.convert_file_part(source, parts, 1, tmp_path / "t")
    with pytest.raises(TypeError):
        converter.convert_file_part(source, [0], 0, tmp_path / "t")
