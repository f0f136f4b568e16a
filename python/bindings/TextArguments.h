#pragma once

#include <pybind11/pybind11.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tolvane::python {

namespace py = pybind11;

// The UTF-8 bytes of a Python str argument. A lone surrogate (which has no UTF-8 form) is a
// ValueError naming the argument and where it stands; anything but a str is a TypeError.
std::string Utf8OfText(py::handle text, const char* argumentName);

// A path argument: a str, bytes or os.PathLike, as os.fspath gives it.
std::filesystem::path PathOfArgument(py::handle path, const char* argumentName);

// A non-negative integer argument (bool is refused: True is not a count).
unsigned long long CountOfArgument(py::handle value, const char* argumentName);

// A list of str made of the readings. Readings repeat a great deal (a text uses a few hundred
// syllables), so each distinct reading is decoded once per call and the list holds references
// to that one str: building the list costs a hash lookup per character, not an allocation.
py::list ListOfReadings(const std::vector<std::string>& readings);

// The str of UTF-8 bytes the library made.
py::str StrOfUtf8(const std::string& text);

}  // namespace tolvane::python
