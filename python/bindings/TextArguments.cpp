#include "TextArguments.h"

#include <array>
#include <string_view>
#include <unordered_map>

namespace tolvane::python {

namespace {

std::string TypeNameOf(py::handle value) { return Py_TYPE(value.ptr())->tp_name; }

// Where the first lone surrogate of a str stands, for the error message.
Py_ssize_t FirstSurrogateOf(py::handle text, Py_UCS4& codePoint) {
  const Py_ssize_t length = PyUnicode_GET_LENGTH(text.ptr());
  const int kind = PyUnicode_KIND(text.ptr());
  const void* data = PyUnicode_DATA(text.ptr());
  for (Py_ssize_t i = 0; i < length; ++i) {
    const Py_UCS4 c = PyUnicode_READ(kind, data, i);
    if (c >= 0xD800 && c <= 0xDFFF) {
      codePoint = c;
      return i;
    }
  }
  return -1;
}

}  // namespace

std::string Utf8OfText(py::handle text, const char* argumentName) {
  if (!PyUnicode_Check(text.ptr())) {
    throw py::type_error(std::string(argumentName) + " must be a str, not " + TypeNameOf(text));
  }
  Py_ssize_t size = 0;
  const char* bytes = PyUnicode_AsUTF8AndSize(text.ptr(), &size);
  if (bytes == nullptr) {
    PyErr_Clear();
    Py_UCS4 codePoint = 0;
    const Py_ssize_t at = FirstSurrogateOf(text, codePoint);
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(codePoint));
    throw py::value_error(std::string(argumentName) + " holds a lone surrogate (" + code +
                          ") at index " + std::to_string(at) +
                          ", which is no character and has no UTF-8 form");
  }
  return std::string(bytes, static_cast<std::size_t>(size));
}

std::filesystem::path PathOfArgument(py::handle path, const char* argumentName) {
  PyObject* fsPath = PyOS_FSPath(path.ptr());
  if (fsPath == nullptr) {
    PyErr_Clear();
    throw py::type_error(std::string(argumentName) + " must be a str, bytes or os.PathLike, not " +
                         TypeNameOf(path));
  }
  const py::object owned = py::reinterpret_steal<py::object>(fsPath);
  if (PyBytes_Check(fsPath)) {
    return std::filesystem::path(
        std::string(PyBytes_AS_STRING(fsPath), static_cast<std::size_t>(PyBytes_GET_SIZE(fsPath))));
  }
  // A str path: surrogate escapes stand for the bytes of a name that is no UTF-8, as os.fsencode
  // gives them back.
  PyObject* encoded = PyUnicode_EncodeFSDefault(fsPath);
  if (encoded == nullptr) throw py::error_already_set();
  const py::object bytes = py::reinterpret_steal<py::object>(encoded);
  return std::filesystem::path(
      std::string(PyBytes_AS_STRING(encoded), static_cast<std::size_t>(PyBytes_GET_SIZE(encoded))));
}

unsigned long long CountOfArgument(py::handle value, const char* argumentName) {
  if (PyBool_Check(value.ptr()) || !PyLong_Check(value.ptr())) {
    throw py::type_error(std::string(argumentName) + " must be an int, not " + TypeNameOf(value));
  }
  if (PyObject_RichCompareBool(value.ptr(), py::int_(0).ptr(), Py_LT) == 1) {
    throw py::value_error(std::string(argumentName) + " must not be negative, got " +
                          py::repr(value).cast<std::string>());
  }
  const unsigned long long count = PyLong_AsUnsignedLongLong(value.ptr());
  if (PyErr_Occurred()) {
    PyErr_Clear();
    throw py::value_error(std::string(argumentName) +
                          " is too large: " + py::repr(value).cast<std::string>());
  }
  return count;
}

namespace {

// The str of each distinct reading of one call, decoded once. A line holds a few distinct
// readings, found fastest by a look along a short array; past that, a hash table holds them.
// It owns one reference to each str; whoever keeps one takes a reference of its own.
class DistinctReadings {
 public:
  DistinctReadings() = default;
  DistinctReadings(const DistinctReadings&) = delete;
  DistinctReadings& operator=(const DistinctReadings&) = delete;
  ~DistinctReadings() {
    for (std::size_t k = 0; k < shortCount_; ++k) Py_DECREF(short_[k].second);
    for (auto& [reading, str] : more_) Py_DECREF(str);
  }

  PyObject* StrOf(std::string_view reading) {
    for (std::size_t k = 0; k < shortCount_; ++k) {
      if (short_[k].first == reading) return short_[k].second;
    }
    if (shortCount_ < short_.size()) {
      PyObject* str = Decode(reading);
      short_[shortCount_++] = {reading, str};
      return str;
    }
    auto found = more_.find(reading);
    if (found != more_.end()) return found->second;
    PyObject* str = Decode(reading);
    more_.emplace(reading, str);
    return str;
  }

 private:
  static PyObject* Decode(std::string_view reading) {
    PyObject* str =
        PyUnicode_DecodeUTF8(reading.data(), static_cast<Py_ssize_t>(reading.size()), "strict");
    if (str == nullptr) throw py::error_already_set();
    return str;
  }

  std::array<std::pair<std::string_view, PyObject*>, 32> short_;
  std::size_t shortCount_ = 0;
  std::unordered_map<std::string_view, PyObject*> more_;
};

}  // namespace

py::list ListOfReadings(const std::vector<std::string>& readings) {
  PyObject* list = PyList_New(static_cast<Py_ssize_t>(readings.size()));
  if (list == nullptr) throw py::error_already_set();
  py::list result = py::reinterpret_steal<py::list>(list);
  DistinctReadings distinct;
  for (std::size_t i = 0; i < readings.size(); ++i) {
    PyObject* str = distinct.StrOf(readings[i]);
    Py_INCREF(str);
    PyList_SET_ITEM(list, static_cast<Py_ssize_t>(i), str);
  }
  return result;
}

py::str StrOfUtf8(const std::string& text) {
  PyObject* str =
      PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "surrogateescape");
  if (str == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(str);
}

}  // namespace tolvane::python
