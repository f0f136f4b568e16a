#include "FilePartsBinding.h"

#include <pybind11/stl.h>

#include <string>

#include "tolvane/Converter.h"

namespace tolvane::python {

namespace {

std::string ReprOf(const FileParts& parts) {
  std::string offsets;
  for (std::uint64_t offset : parts.offsets) {
    offsets += (offsets.empty() ? "" : ", ") + std::to_string(offset);
  }
  return "tolvane.FileParts(encoding=" + py::repr(py::str(parts.encoding)).cast<std::string>() +
         ", size=" + std::to_string(parts.size) + ", offsets=[" + offsets + "])";
}

}  // namespace

void RegisterFileParts(py::module_& module) {
  py::class_<FileParts>(module, "FileParts",
                        "A file cut at line ends into parts that can be converted apart (on other\n"
                        "threads, processes or machines) and put together in order; made by\n"
                        "Converter.split_file and handed to Converter.convert_file_part.\n\n"
                        "Attributes:\n"
                        "    encoding: the whole file's encoding as read from its start, such as\n"
                        "        'utf-8' or 'gb18030'.\n"
                        "    size: the file's size in bytes.\n"
                        "    offsets: the byte offsets where the parts begin (the first 0, each\n"
                        "        at the start of a line); part i ends where part i+1 begins, the\n"
                        "        last at size.\n")
      .def(py::init(
               [](std::string encoding, std::uint64_t size, std::vector<std::uint64_t> offsets) {
                 return FileParts{std::move(encoding), size, std::move(offsets)};
               }),
           py::arg("encoding"), py::arg("size"), py::arg("offsets"),
           "FileParts(encoding, size, offsets): parts as split_file made them.")
      .def_readwrite("encoding", &FileParts::encoding, "The whole file's encoding (a str).")
      .def_readwrite("size", &FileParts::size, "The file's size in bytes.")
      .def_readwrite("offsets", &FileParts::offsets,
                     "The byte offsets where the parts begin (a list of int; a copy).")
      .def(
          "__len__", [](const FileParts& parts) { return parts.offsets.size(); },
          "The number of parts.")
      .def(
          "__eq__",
          [](const FileParts& a, const FileParts& b) {
            return a.encoding == b.encoding && a.size == b.size && a.offsets == b.offsets;
          },
          "Parts are equal when their encoding, size and offsets are.")
      .def("__repr__", &ReprOf, "repr(parts): FileParts(encoding=..., size=..., offsets=[...]).")
      .def(py::pickle(
          [](const FileParts& parts) {
            return py::make_tuple(parts.encoding, parts.size, parts.offsets);
          },
          [](const py::tuple& state) {
            if (state.size() != 3) throw std::runtime_error("FileParts: a damaged pickle");
            return FileParts{state[0].cast<std::string>(), state[1].cast<std::uint64_t>(),
                             state[2].cast<std::vector<std::uint64_t>>()};
          }));
  module.attr("FileParts").attr("__module__") = "tolvane";
  module.attr("FileParts").attr("__hash__") = py::none();
}

}  // namespace tolvane::python
