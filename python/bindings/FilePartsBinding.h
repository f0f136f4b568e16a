#pragma once

#include <pybind11/pybind11.h>

namespace tolvane::python {

namespace py = pybind11;

// Adds tolvane.FileParts (tolvane::FileParts: encoding, size, offsets), picklable, so that the
// parts of a file can be handed to other processes or machines.
void RegisterFileParts(py::module_& module);

}  // namespace tolvane::python
