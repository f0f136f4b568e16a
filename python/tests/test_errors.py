"""tolvane.Error: the library's failures with the file involved."""
import pytest

import tolvane


def test_a_missing_data_dir_is_an_error_naming_it(tmp_path):
    missing = tmp_path / "no-such-folder"
    with pytest.raises(tolvane.Error) as raised:
        tolvane.Converter(data_dir=missing)
    assert raised.value.path == str(missing)
    assert str(missing) in str(raised.value)
    assert raised.value.message


def test_the_functions_raise_it_too(tmp_path):
    with pytest.raises(tolvane.Error) as raised:
        tolvane.readings("中", data_dir=tmp_path / "nothing")
    assert raised.value.path == str(tmp_path / "nothing")


def test_a_missing_source_is_an_error_naming_it(tmp_path):
    converter = tolvane.Converter()
    source = tmp_path / "absent.txt"
    for call in (lambda: converter.convert_file(source, tmp_path / "out.txt"),
                 lambda: converter.split_file(source, 1000)):
        with pytest.raises(tolvane.Error) as raised:
            call()
        assert raised.value.path == str(source)
        assert str(source) in str(raised.value)
    assert not (tmp_path / "out.txt").exists()


def test_an_unwritable_target_is_an_error_naming_it(tmp_path):
    source = tmp_path / "s.txt"
    source.write_text("中国\n", encoding="utf-8")
    target = tmp_path / "a-file" / "deeper" / "out.txt"
    (tmp_path / "a-file").write_text("not a folder")
    with pytest.raises(tolvane.Error) as raised:
        tolvane.Converter().convert_file(source, target)
    assert raised.value.path is not None and "a-file" in raised.value.path


def test_a_malformed_user_word_is_an_error():
    with pytest.raises((tolvane.Error, ValueError)) as raised:
        tolvane.Converter(user_words={"银行": "yin2"})
    assert "银行" in str(raised.value) or "yin2" in str(raised.value)


def test_error_is_an_exception_with_path_none_by_default():
    assert issubclass(tolvane.Error, Exception)
    assert tolvane.Error("x").path is None
