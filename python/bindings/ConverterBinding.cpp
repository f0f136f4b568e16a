#include "ConverterBinding.h"

#include <optional>
#include <string>
#include <utility>

#include "OptionArguments.h"
#include "TextArguments.h"
#include "tolvane/Converter.h"

namespace tolvane::python {

namespace {

// A Converter and the data folder it was loaded from, which pickling and .data_dir need and the
// library does not keep.
struct BoundConverter {
  Converter converter;
  std::optional<std::filesystem::path> dataFolder;
};

py::object StrOfPath(const std::filesystem::path& path) {
  PyObject* str = PyUnicode_DecodeFSDefaultAndSize(path.native().data(),
                                                   static_cast<Py_ssize_t>(path.native().size()));
  if (str == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::object>(str);
}

py::object DataDirOf(const BoundConverter& bound) {
  return bound.dataFolder ? StrOfPath(*bound.dataFolder) : py::object(py::none());
}

BoundConverter MakeConverter(const py::object& dataDir, const py::dict& optionArguments) {
  Options options;
  ApplyOptionArguments(optionArguments, options);
  std::optional<std::filesystem::path> folder;
  if (!dataDir.is_none()) folder = PathOfArgument(dataDir, "data_dir");
  const std::filesystem::path loadFrom = folder.value_or(std::filesystem::path());
  py::gil_scoped_release released;
  return BoundConverter{Converter(options, loadFrom), folder};
}

py::dict ReportOf(const std::filesystem::path& source, const std::filesystem::path& target,
                  const FileReport& report) {
  py::dict result;
  result["source"] = StrOfPath(source);
  result["target"] = StrOfPath(target);
  result["encoding"] = report.encoding;
  result["bytes_read"] = report.bytesRead;
  result["bytes_written"] = report.bytesWritten;
  result["undecodable_bytes"] = report.undecodableBytes;
  return result;
}

unsigned ThreadsOf(const py::object& threads) {
  const unsigned long long count = CountOfArgument(threads, "threads");
  if (count > 1024) throw py::value_error("threads must be at most 1024");
  return static_cast<unsigned>(count);
}

// Runs `work` on the library with the GIL released; the arguments are C++ values by then.
template <typename Work>
auto WithoutGil(Work&& work) {
  py::gil_scoped_release released;
  return work();
}

std::string ReprOf(const BoundConverter& bound) {
  const Options defaults;
  const py::dict given = OptionArgumentsOf(bound.converter.options());
  const py::dict standard = OptionArgumentsOf(defaults);
  std::string text = "tolvane.Converter(";
  bool first = true;
  if (bound.dataFolder) {
    text += "data_dir=" + py::repr(DataDirOf(bound)).cast<std::string>();
    first = false;
  }
  for (auto [name, value] : given) {
    if (value.equal(standard[name])) continue;
    text += (first ? "" : ", ") + py::str(name).cast<std::string>() + "=" +
            py::repr(value).cast<std::string>();
    first = false;
  }
  return text + ")";
}

constexpr const char* kConverterDoc =
    R"(Converts Chinese text to pinyin with the data of one data folder and one set of options.

Converter(*, data_dir=None, format="py", tone="marked", policy="context",
          neutral_tone="spoken", sandhi=False, erhua=True, wade_giles=False,
          orthography=False, align=True, wrap=0, user_words=None)

data_dir: the data folder, as tolvane-cli's --data-dir takes it (the phrase data, the tone
    glyphs, the user's dictionaries and user_words.txt); None: the installed data folder.
format: the layout of annotate(): "py" (pinyin line above the characters), "han" (characters
    above the pinyin), "hanpy" (年(nián)), "pyhan" ((nián)年), "py-only" (readings in place of
    the characters) or "html" (a page with the readings as ruby).
tone: "marked" (zhōng), "numbered" (zhong1) or "plain" (zhong).
policy: how a character with several readings is read: "context" (from its words, with the
    polyphone model), "first" (the first reading, the character alone) or "all" (every reading,
    separated by "/").
neutral_tone: "spoken" (péngyou) or "citation" (every syllable of a word in its full tone).
sandhi: write 一 and 不 in the tones they take before another syllable.
erhua: write the 儿 of an erhua word as r.
wade_giles: Wade-Giles instead of pinyin (the "first" and "all" policies).
orthography: pinyin written by words, as the national orthography asks.
align: in the "py" and "han" layouts, each reading in its character's column.
wrap: re-cut lines to this many characters: 0 (as they are), 10, 20, 30, 40, 50 or 100.
user_words: words of your own with their numbered readings, read wherever they occur and
    ahead of the built-in words: a dict {"银行": "yin2 hang2"} or an iterable of
    (word, readings) pairs.

Loading the data takes a moment; with_options() gives a converter with other options over the
same loaded data. A Converter may be used from any number of threads at once, and every method
releases the GIL while the library works. Pickling keeps the options and the data folder; the
data is loaded again, once per process and data folder, where it is unpickled.

Raises tolvane.Error when the data folder or a data file cannot be read or is damaged, or a user
word is malformed; ValueError for an option value that is not allowed; TypeError for a value of
the wrong type.)";

}  // namespace

void RegisterConverter(py::module_& module) {
  py::class_<BoundConverter> converter(module, "Converter", kConverterDoc);
  converter
      .def(py::init([](const py::object& dataDir, const py::object& format, const py::object& tone,
                       const py::object& policy, const py::object& neutralTone,
                       const py::object& sandhi, const py::object& erhua,
                       const py::object& wadeGiles, const py::object& orthography,
                       const py::object& align, const py::object& wrap,
                       const py::object& userWords) {
             py::dict given;
             given["format"] = format;
             given["tone"] = tone;
             given["policy"] = policy;
             given["neutral_tone"] = neutralTone;
             given["sandhi"] = sandhi;
             given["erhua"] = erhua;
             given["wade_giles"] = wadeGiles;
             given["orthography"] = orthography;
             given["align"] = align;
             given["wrap"] = wrap;
             given["user_words"] = userWords;
             return MakeConverter(dataDir, given);
           }),
           py::kw_only(), py::arg("data_dir") = py::none(), py::arg("format") = "py",
           py::arg("tone") = "marked", py::arg("policy") = "context",
           py::arg("neutral_tone") = "spoken", py::arg("sandhi") = false, py::arg("erhua") = true,
           py::arg("wade_giles") = false, py::arg("orthography") = false, py::arg("align") = true,
           py::arg("wrap") = 0, py::arg("user_words") = py::none(),
           "Converter(*, data_dir=None, format='py', tone='marked', policy='context',\n"
           "          neutral_tone='spoken', sandhi=False, erhua=True, wade_giles=False,\n"
           "          orthography=False, align=True, wrap=0, user_words=None)\n\n"
           "Loads the data of data_dir (once per process and folder is enough: see\n"
           "with_options) for the options given; see help(tolvane.Converter).")
      .def_property_readonly(
          "options",
          [](const BoundConverter& bound) { return OptionArgumentsOf(bound.converter.options()); },
          "The options as keyword arguments (a new dict): format, tone, policy, neutral_tone,\n"
          "sandhi, erhua, wade_giles, orthography, align, wrap, user_words.")
      .def_property_readonly("data_dir", &DataDirOf,
                             "The data folder given (a str), or None for the installed one.")
      .def(
          "with_options",
          [](const BoundConverter& bound, const py::kwargs& changes) {
            Options options = bound.converter.options();
            ApplyOptionArguments(changes, options);
            return WithoutGil([&] {
              return BoundConverter{bound.converter.WithOptions(options), bound.dataFolder};
            });
          },
          "with_options(**options) -> Converter\n\n"
          "A converter over the same loaded data with the given options changed (the keyword\n"
          "arguments of Converter but data_dir); nothing is loaded again.")
      .def(
          "readings",
          [](const BoundConverter& bound, const py::object& text) {
            const std::string utf8 = Utf8OfText(text, "text");
            const std::vector<std::string> readings =
                WithoutGil([&] { return bound.converter.Readings(utf8); });
            return ListOfReadings(readings);
          },
          py::arg("text"),
          "readings(text) -> list[str]\n\n"
          "The reading of every character (code point) of text, in order, in the tone style of\n"
          "the options: the syllable (under policy 'all', the readings separated by '/'), or ''\n"
          "for a character that has none (punctuation, Latin letters, digits, spaces, line "
          "ends).\n\n"
          ">>> tolvane.Converter(tone='numbered').readings('银行')\n"
          "['yin2', 'hang2']")
      .def(
          "readings_many",
          [](const BoundConverter& bound, const py::iterable& texts) {
            // Every text is taken before the lock is let go, and the lists made after it is
            // taken again: one release for them all, where a call per short line would spend
            // as much time handing the lock between threads as reading.
            std::vector<std::string> utf8;
            for (const py::handle text : texts) utf8.push_back(Utf8OfText(text, "texts"));
            const std::vector<std::vector<std::string>> readings = WithoutGil([&] {
              std::vector<std::vector<std::string>> all;
              all.reserve(utf8.size());
              for (const std::string& text : utf8) all.push_back(bound.converter.Readings(text));
              return all;
            });
            py::list result(readings.size());
            for (std::size_t i = 0; i < readings.size(); ++i)
              result[i] = ListOfReadings(readings[i]);
            return result;
          },
          py::arg("texts"),
          "readings_many(texts) -> list[list[str]]\n\n"
          "The readings of each text of an iterable of str, as readings() gives them, in one\n"
          "call. The lock of the interpreter is let go once for them all, so threads that each\n"
          "read a batch of short lines (a corpus line by line) run at once, which a call per\n"
          "line cannot: the lock changes hands too often.\n\n"
          ">>> tolvane.Converter(tone='numbered').readings_many(['银行', '行走'])\n"
          "[['yin2', 'hang2'], ['xing2', 'zou3']]")
      .def(
          "annotate",
          [](const BoundConverter& bound, const py::object& text) {
            const std::string utf8 = Utf8OfText(text, "text");
            return StrOfUtf8(WithoutGil([&] { return bound.converter.AnnotateText(utf8); }));
          },
          py::arg("text"),
          "annotate(text) -> str\n\n"
          "A whole text in the layout of the options, exactly as tolvane-cli convert writes a\n"
          "UTF-8 file holding it (line ends kept; for format 'html', the page with its head and\n"
          "tail).")
      .def(
          "annotate_line",
          [](const BoundConverter& bound, const py::object& line) {
            const std::string utf8 = Utf8OfText(line, "line");
            return StrOfUtf8(WithoutGil([&] { return bound.converter.AnnotateLine(utf8); }));
          },
          py::arg("line"),
          "annotate_line(line) -> str\n\n"
          "One line (without a line end) in the layout of the options: its output lines joined\n"
          "by '\\n' (two for 'py' and 'han', one otherwise; 'html' gives the line's markup).")
      .def(
          "html",
          [](const BoundConverter& bound, const py::object& text) {
            const std::string utf8 = Utf8OfText(text, "text");
            return StrOfUtf8(WithoutGil([&] { return bound.converter.HtmlFragment(utf8); }));
          },
          py::arg("text"),
          "html(text) -> str\n\n"
          "The HTML markup of a text: each line a paragraph of characters with their readings as\n"
          "ruby, without a page's head and tail, for putting into a page of your own.")
      .def(
          "target_for",
          [](const BoundConverter& bound, const py::object& source) {
            const std::filesystem::path path = PathOfArgument(source, "source");
            return StrOfPath(WithoutGil([&] { return bound.converter.TargetFor(path); }));
          },
          py::arg("source"),
          "target_for(source) -> str\n\n"
          "The target tolvane-cli convert writes for source when it is given none: beside it,\n"
          "named after it (.html for format 'html').")
      .def(
          "convert_file",
          [](const BoundConverter& bound, const py::object& source, const py::object& target,
             const py::object& threads) {
            const std::filesystem::path from = PathOfArgument(source, "source");
            const unsigned threadCount = ThreadsOf(threads);
            std::filesystem::path to;
            if (!target.is_none()) to = PathOfArgument(target, "target");
            const FileReport report = WithoutGil([&] {
              if (to.empty()) to = bound.converter.TargetFor(from);
              return bound.converter.ConvertFile(from, to, threadCount);
            });
            return ReportOf(from, to, report);
          },
          py::arg("source"), py::arg("target") = py::none(), py::kw_only(), py::arg("threads") = 0,
          "convert_file(source, target=None, *, threads=0) -> dict\n\n"
          "Converts the file source into target (by default target_for(source)), byte for byte\n"
          "as tolvane-cli convert with these options does: the encoding detected, the target in\n"
          "the source's encoding, subtitles cue by cue. The target is written whole or not at\n"
          "all. threads: 0 for one per core, 1 for the calling thread alone.\n"
          "Returns {'source', 'target', 'encoding', 'bytes_read', 'bytes_written',\n"
          "'undecodable_bytes'}. Raises tolvane.Error naming the file that failed.")
      .def(
          "split_file",
          [](const BoundConverter& bound, const py::object& source, const py::object& partBytes) {
            const std::filesystem::path from = PathOfArgument(source, "source");
            const unsigned long long bytes = CountOfArgument(partBytes, "part_bytes");
            if (bytes == 0) throw py::value_error("part_bytes must be at least 1");
            return WithoutGil([&] { return bound.converter.SplitFile(from, bytes); });
          },
          py::arg("source"), py::arg("part_bytes"),
          "split_file(source, part_bytes) -> FileParts\n\n"
          "Cuts source into parts of about part_bytes bytes at line ends (one part when the file\n"
          "is smaller, or when the options cannot be converted apart: wrapped lines, subtitles).")
      .def(
          "convert_file_part",
          [](const BoundConverter& bound, const py::object& source, const FileParts& parts,
             const py::object& index, const py::object& target, const py::object& threads) {
            const std::filesystem::path from = PathOfArgument(source, "source");
            const std::filesystem::path to = PathOfArgument(target, "target");
            const unsigned long long part = CountOfArgument(index, "index");
            if (part >= parts.offsets.size()) {
              throw py::index_error("index " + std::to_string(part) + " is out of range for " +
                                    std::to_string(parts.offsets.size()) + " parts");
            }
            const unsigned threadCount = ThreadsOf(threads);
            const FileReport report = WithoutGil([&] {
              return bound.converter.ConvertFilePart(from, parts, part, to, threadCount);
            });
            return ReportOf(from, to, report);
          },
          py::arg("source"), py::arg("parts"), py::arg("index"), py::arg("target"), py::kw_only(),
          py::arg("threads") = 1,
          "convert_file_part(source, parts, index, target, *, threads=1) -> dict\n\n"
          "Converts part index of parts (from split_file) of source into target, a file of its\n"
          "own. The targets of all parts, concatenated in order, are byte for byte what\n"
          "convert_file writes. Returns a dict as convert_file does.")
      .def(
          "__reduce__",
          [](const BoundConverter& bound) {
            const py::object restore = py::module_::import("tolvane").attr("_restore_converter");
            return py::make_tuple(
                restore,
                py::make_tuple(DataDirOf(bound), OptionArgumentsOf(bound.converter.options())));
          },
          "Pickles the converter as its data folder and options.")
      .def("__repr__", &ReprOf, "repr(converter): the options that differ from the defaults.");
  converter.attr("__module__") = "tolvane";
}

}  // namespace tolvane::python
