#pragma once

#include <pybind11/pybind11.h>

namespace tolvane::python {

namespace py = pybind11;

// Adds tolvane.Converter: tolvane::Converter with its data folder, keyword options, pickling by
// options and data folder (unpickled through tolvane._restore_converter, which shares the data
// loaded in the process), and the GIL released while the library works.
void RegisterConverter(py::module_& module);

}  // namespace tolvane::python
