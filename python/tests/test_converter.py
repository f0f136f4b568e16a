"""tolvane.Converter: its options, deriving converters, files and their parts, pickling."""
import pickle

import pytest

import tolvane
from conftest import DATA_DIR, SAMPLE_TEXT, run_cli

DEFAULT_OPTIONS = {"format": "py", "tone": "marked", "policy": "context",
                   "neutral_tone": "spoken", "sandhi": False, "erhua": True, "wade_giles": False,
                   "orthography": False, "align": True, "wrap": 0, "user_words": None}


def test_options_are_the_defaults_when_none_are_given():
    assert tolvane.Converter().options == DEFAULT_OPTIONS


def test_options_are_as_given():
    given = {"format": "html", "tone": "plain", "policy": "all", "neutral_tone": "citation",
             "sandhi": True, "erhua": False, "wade_giles": True, "orthography": True,
             "align": False, "wrap": 30, "user_words": {"银行": "yin2 xing2"}}
    assert tolvane.Converter(**given).options == given


def test_with_options_changes_only_the_options_given():
    base = tolvane.Converter(tone="numbered", user_words={"银行": "yin2 xing2"})
    derived = base.with_options(format="hanpy", sandhi=True)
    assert derived.options == dict(base.options, format="hanpy", sandhi=True)
    assert base.options["format"] == "py"
    assert derived.readings("银行一个") == ["yin2", "xing2", "yi2", "ge4"]


def test_data_dir_is_kept_as_given():
    assert tolvane.Converter().data_dir is None
    assert tolvane.Converter(data_dir=DATA_DIR).data_dir == str(DATA_DIR)
    assert tolvane.Converter(data_dir=DATA_DIR).with_options(tone="plain").data_dir == str(DATA_DIR)


def test_a_converter_reads_the_data_dir_it_is_given():
    assert tolvane.Converter(data_dir=DATA_DIR).readings(SAMPLE_TEXT) == \
        tolvane.readings(SAMPLE_TEXT, data_dir=DATA_DIR)


def test_repr_names_the_options_that_differ():
    text = repr(tolvane.Converter(tone="numbered", wrap=20))
    assert text.startswith("tolvane.Converter(") and "tone='numbered'" in text
    assert "wrap=20" in text and "policy" not in text


@pytest.mark.parametrize("options", [{}, {"format": "hanpy", "tone": "numbered"},
                                     {"format": "html"}, {"policy": "all", "wrap": 20}], ids=repr)
def test_convert_file_writes_what_the_cli_writes(options, tmp_path):
    source = tmp_path / "text.txt"
    source.write_text(SAMPLE_TEXT * 20, encoding="utf-8")
    converter = tolvane.Converter(**options)
    report = converter.convert_file(source, tmp_path / "module.out", threads=2)
    flags = []
    for name, value in options.items():
        flags += {"format": ["--format", value], "tone": ["--tone", value],
                  "policy": ["--polyphone", value], "wrap": ["--wrap", str(value)]}[name]
    run_cli("convert", "--quiet", *flags, source, tmp_path / "cli.out")
    written = (tmp_path / "module.out").read_bytes()
    assert written == (tmp_path / "cli.out").read_bytes()
    assert report == {"source": str(source), "target": str(tmp_path / "module.out"),
                      "encoding": "utf-8", "bytes_read": source.stat().st_size,
                      "bytes_written": len(written), "undecodable_bytes": 0}


def test_convert_file_keeps_the_sources_encoding(tmp_path):
    source = tmp_path / "gb.txt"
    source.write_bytes("我们去银行。\n".encode("gb18030"))
    report = tolvane.Converter(format="hanpy").convert_file(str(source), str(tmp_path / "o.txt"))
    assert report["encoding"] in ("gb18030", "gbk", "gb2312")
    written = (tmp_path / "o.txt").read_bytes().decode("gb18030")
    assert written == tolvane.annotate("我们去银行。\n", "hanpy")


def test_convert_file_counts_undecodable_bytes(tmp_path):
    source = tmp_path / "bad.txt"
    source.write_bytes("银行\n".encode("utf-8") * 100 + b"\xff\xfe\xff" + "行\n".encode("utf-8"))
    report = tolvane.Converter().convert_file(source, tmp_path / "o.txt")
    assert report["undecodable_bytes"] > 0 or report["encoding"] != "utf-8"


def test_target_for_is_where_the_cli_writes(tmp_path):
    for format in ["py", "html"]:
        source = tmp_path / f"a-{format}.txt"
        source.write_text("银行\n", encoding="utf-8")
        before = set(tmp_path.iterdir())
        run_cli("convert", "--quiet", "--format", format, source)
        made = set(tmp_path.iterdir()) - before
        target = tolvane.Converter(format=format).target_for(source)
        assert made == {tmp_path / target.rsplit("/", 1)[-1]}
        report = tolvane.Converter(format=format).convert_file(source)
        assert report["target"] == target


@pytest.mark.parametrize("part_bytes", [1, 100, 1000, 10**9])
def test_parts_put_together_are_the_whole_target(part_bytes, tmp_path):
    source = tmp_path / "big.txt"
    source.write_text(SAMPLE_TEXT * 30, encoding="utf-8")
    converter = tolvane.Converter(format="py", tone="numbered")
    parts = converter.split_file(source, part_bytes)
    size = source.stat().st_size
    data = source.read_bytes()
    assert parts.size == size and parts.encoding == "utf-8"
    assert parts.offsets[0] == 0 and parts.offsets == sorted(set(parts.offsets))
    assert all(data[o - 1:o] == b"\n" for o in parts.offsets[1:])
    assert (len(parts) == 1) == (part_bytes >= size)
    pieces = []
    for index in range(len(parts)):
        target = tmp_path / f"part{index}"
        converter.convert_file_part(source, parts, index, target)
        pieces.append(target.read_bytes())
    converter.convert_file(source, tmp_path / "whole")
    assert b"".join(pieces) == (tmp_path / "whole").read_bytes()


def test_a_converter_pickles_with_its_options_and_data_dir():
    converter = tolvane.Converter(data_dir=DATA_DIR, format="hanpy", tone="numbered",
                                  user_words=[("银行", "yin2 xing2")])
    copy = pickle.loads(pickle.dumps(converter))
    assert copy.options == converter.options
    assert copy.data_dir == converter.data_dir
    assert copy.readings(SAMPLE_TEXT) == converter.readings(SAMPLE_TEXT)
    assert copy.annotate(SAMPLE_TEXT) == converter.annotate(SAMPLE_TEXT)


def test_unpickled_converters_share_the_data_loaded_once():
    converter = tolvane.Converter(tone="plain")
    pickle.loads(pickle.dumps(converter))
    loaded = dict(tolvane._loaded)
    copies = [pickle.loads(pickle.dumps(converter.with_options(wrap=w))) for w in (10, 20, 30)]
    assert tolvane._loaded == loaded
    assert [c.options["wrap"] for c in copies] == [10, 20, 30]


def test_file_parts_pickle_and_compare(tmp_path):
    source = tmp_path / "t.txt"
    source.write_text(SAMPLE_TEXT * 10, encoding="utf-8")
    parts = tolvane.Converter().split_file(source, 200)
    copy = pickle.loads(pickle.dumps(parts))
    assert copy == parts and copy.offsets == parts.offsets and copy.encoding == parts.encoding
    assert tolvane.FileParts(parts.encoding, parts.size, parts.offsets) == parts
    assert "FileParts(" in repr(parts)
