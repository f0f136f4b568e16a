// tolvane._tolvane: the library's Converter for Python. The package tolvane (tolvane/__init__.py)
// re-exports it and adds the module-level functions.
#include <pybind11/pybind11.h>

#include "ConverterBinding.h"
#include "ErrorTranslation.h"
#include "FilePartsBinding.h"
#include "tolvane/Converter.h"

PYBIND11_MODULE(_tolvane, module) {
  // The docstrings begin with the signatures as Python callers write them; pybind11's own would
  // show every argument as `object`, since the bindings check the types themselves.
  pybind11::options options;
  options.disable_function_signatures();
  module.doc() = "The compiled part of the tolvane package; use the package tolvane.";
  module.attr("__version__") = tolvane::Version();
  tolvane::python::RegisterErrorTranslation(module);
  tolvane::python::RegisterFileParts(module);
  tolvane::python::RegisterConverter(module);
}
