"""The examples in the package's docstrings give what they say."""
import doctest

import tolvane


def test_the_docstring_examples_hold():
    result = doctest.testmod(tolvane)
    assert result.attempted > 0 and result.failed == 0
