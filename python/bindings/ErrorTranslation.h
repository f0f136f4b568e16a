#pragma once

#include <pybind11/pybind11.h>

namespace tolvane::python {

namespace py = pybind11;

// Adds tolvane.Error to the module and translates tolvane::Error into it: str(error) is the
// message, with the file in front when the message does not name it already; .message is the
// library's message alone, .path the file involved (a str) or None.
void RegisterErrorTranslation(py::module_& module);

}  // namespace tolvane::python
