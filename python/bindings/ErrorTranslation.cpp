#include "ErrorTranslation.h"

#include <string>

#include "tolvane/Error.h"

namespace tolvane::python {

namespace {

constexpr const char* kErrorDoc =
    "A conversion failed on its data or files: a data folder or data file that cannot be read or\n"
    "is damaged, a malformed user word, a source that is missing or unreadable, a target that\n"
    "cannot be written.\n\n"
    "Attributes:\n"
    "    message: the library's message, such as 'File not found'.\n"
    "    path: the file or folder involved (a str), or None.\n";

// The text of str(error): the message, with the path in front unless the message names it.
std::string TextOf(const std::string& message, const std::string& path) {
  if (path.empty() || message.find(path) != std::string::npos) return message;
  return path + ": " + message;
}

}  // namespace

void RegisterErrorTranslation(py::module_& module) {
  PyObject* type = PyErr_NewExceptionWithDoc("tolvane.Error", kErrorDoc, PyExc_Exception, nullptr);
  if (type == nullptr) throw py::error_already_set();
  const py::object errorType = py::reinterpret_steal<py::object>(type);
  errorType.attr("message") = "";
  errorType.attr("path") = py::none();
  module.attr("Error") = errorType;

  // The translator outlives nothing: the module keeps the type alive as long as it exists.
  static PyObject* registeredType = type;
  py::register_exception_translator([](std::exception_ptr thrown) {
    try {
      if (thrown) std::rethrow_exception(thrown);
    } catch (const Error& error) {
      const std::string path = error.path().string();
      const py::str message = py::reinterpret_steal<py::str>(PyUnicode_DecodeUTF8(
          error.what(), static_cast<Py_ssize_t>(std::string(error.what()).size()), "replace"));
      const py::str text = py::reinterpret_steal<py::str>(
          PyUnicode_DecodeFSDefault(TextOf(error.what(), path).c_str()));
      py::object instance = py::reinterpret_borrow<py::object>(registeredType)(text);
      instance.attr("message") = message;
      instance.attr("path") =
          path.empty() ? py::object(py::none())
                       : py::reinterpret_steal<py::object>(PyUnicode_DecodeFSDefault(path.c_str()));
      PyErr_SetObject(registeredType, instance.ptr());
    }
  });
}

}  // namespace tolvane::python
