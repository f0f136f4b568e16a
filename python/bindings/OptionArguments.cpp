#include "OptionArguments.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "TextArguments.h"

namespace tolvane::python {

namespace {

// The names of an enumeration's values as Python takes them, in the order a message lists them.
template <typename Enum, std::size_t N>
using NameTable = std::array<std::pair<std::string_view, Enum>, N>;

constexpr NameTable<Layout, 6> kLayouts{{{"py", Layout::Py},
                                         {"han", Layout::Han},
                                         {"hanpy", Layout::HanPy},
                                         {"pyhan", Layout::PyHan},
                                         {"py-only", Layout::PyOnly},
                                         {"html", Layout::Html}}};
constexpr NameTable<Tone, 3> kTones{
    {{"marked", Tone::Marked}, {"numbered", Tone::Numbered}, {"plain", Tone::Plain}}};
constexpr NameTable<Policy, 3> kPolicies{
    {{"context", Policy::Context}, {"first", Policy::First}, {"all", Policy::All}}};
constexpr NameTable<NeutralTones, 2> kNeutralTones{
    {{"spoken", NeutralTones::Spoken}, {"citation", NeutralTones::Citation}}};
// The widths tolvane-cli's --wrap takes.
constexpr std::array<int, 7> kWrapWidths{0, 10, 20, 30, 40, 50, 100};

std::string TypeNameOf(py::handle value) { return Py_TYPE(value.ptr())->tp_name; }

template <typename Enum, std::size_t N>
Enum ParseName(py::handle value, const char* option, const NameTable<Enum, N>& names) {
  if (!PyUnicode_Check(value.ptr())) {
    throw py::type_error(std::string(option) + " must be a str, not " + TypeNameOf(value));
  }
  const std::string given = value.cast<std::string>();
  std::string allowed;
  for (const auto& [name, enumValue] : names) {
    if (given == name) return enumValue;
    allowed += (allowed.empty() ? "'" : ", '") + std::string(name) + "'";
  }
  throw py::value_error(std::string(option) + " must be one of " + allowed + ", not " +
                        py::repr(value).cast<std::string>());
}

template <typename Enum, std::size_t N>
const char* NameOf(Enum value, const NameTable<Enum, N>& names) {
  for (const auto& [name, enumValue] : names) {
    if (enumValue == value) return name.data();
  }
  return "";
}

bool ParseSwitch(py::handle value, const char* option) {
  if (!PyBool_Check(value.ptr())) {
    throw py::type_error(std::string(option) + " must be a bool, not " + TypeNameOf(value));
  }
  return value.ptr() == Py_True;
}

int ParseWrapWidth(py::handle value) {
  if (PyBool_Check(value.ptr()) || !PyLong_Check(value.ptr())) {
    throw py::type_error("wrap must be an int, not " + TypeNameOf(value));
  }
  const long width = PyLong_AsLong(value.ptr());
  if (PyErr_Occurred()) PyErr_Clear();
  std::string allowed;
  for (int w : kWrapWidths) {
    if (width == w) return w;
    allowed += (allowed.empty() ? "" : ", ") + std::to_string(w);
  }
  throw py::value_error("wrap must be one of " + allowed + " (0: lines as they are), not " +
                        py::repr(value).cast<std::string>());
}

UserWord ParseUserWord(py::handle word, py::handle readings) {
  UserWord userWord;
  userWord.word = Utf8OfText(word, "a user word");
  if (!PyUnicode_Check(readings.ptr())) {
    throw py::type_error("the readings of user word " + py::repr(word).cast<std::string>() +
                         " must be a str such as \"yin2 hang2\", not " + TypeNameOf(readings));
  }
  userWord.readings = Utf8OfText(readings, "the readings of a user word");
  if (userWord.word.empty()) throw py::value_error("a user word must not be empty");
  return userWord;
}

// user_words: a dict {word: readings}, or an iterable of (word, readings) pairs.
std::vector<UserWord> ParseUserWords(py::handle value) {
  std::vector<UserWord> words;
  if (PyDict_Check(value.ptr())) {
    for (auto [word, readings] : py::reinterpret_borrow<py::dict>(value)) {
      words.push_back(ParseUserWord(word, readings));
    }
    return words;
  }
  const char* expected =
      "user_words must be a dict {word: readings} or an iterable of (word, readings) pairs, not ";
  if (PyUnicode_Check(value.ptr()) || PyBytes_Check(value.ptr()) ||
      !PyObject_HasAttrString(value.ptr(), "__iter__")) {
    throw py::type_error(expected + TypeNameOf(value));
  }
  for (py::handle pair : py::reinterpret_borrow<py::iterable>(value)) {
    if (!PyTuple_Check(pair.ptr()) && !PyList_Check(pair.ptr())) {
      throw py::type_error(std::string(expected) + "an iterable holding " + TypeNameOf(pair));
    }
    const py::sequence items = py::reinterpret_borrow<py::sequence>(pair);
    if (items.size() != 2) {
      throw py::value_error("each user word must be a (word, readings) pair, got " +
                            py::repr(pair).cast<std::string>());
    }
    words.push_back(ParseUserWord(items[0], items[1]));
  }
  return words;
}

}  // namespace

void ApplyOptionArguments(const py::dict& given, Options& options) {
  for (auto [key, value] : given) {
    const std::string name = py::str(key);
    if (value.is_none()) continue;
    if (name == "format") {
      options.layout = ParseName(value, "format", kLayouts);
    } else if (name == "tone") {
      options.tone = ParseName(value, "tone", kTones);
    } else if (name == "policy") {
      options.policy = ParseName(value, "policy", kPolicies);
    } else if (name == "neutral_tone") {
      options.neutralTones = ParseName(value, "neutral_tone", kNeutralTones);
    } else if (name == "sandhi") {
      options.sandhi = ParseSwitch(value, "sandhi");
    } else if (name == "erhua") {
      options.erhua = ParseSwitch(value, "erhua");
    } else if (name == "wade_giles") {
      options.wadeGiles = ParseSwitch(value, "wade_giles");
    } else if (name == "orthography") {
      options.orthography = ParseSwitch(value, "orthography");
    } else if (name == "align") {
      options.align = ParseSwitch(value, "align");
    } else if (name == "wrap") {
      options.wrapWidth = ParseWrapWidth(value);
    } else if (name == "user_words") {
      options.userWords = ParseUserWords(value);
    } else {
      throw py::type_error("unexpected option '" + name +
                           "'; the options are format, tone, policy, neutral_tone, sandhi, "
                           "erhua, wade_giles, orthography, align, wrap and user_words");
    }
  }
}

py::dict OptionArgumentsOf(const Options& options) {
  py::dict arguments;
  arguments["format"] = NameOf(options.layout, kLayouts);
  arguments["tone"] = NameOf(options.tone, kTones);
  arguments["policy"] = NameOf(options.policy, kPolicies);
  arguments["neutral_tone"] = NameOf(options.neutralTones, kNeutralTones);
  arguments["sandhi"] = options.sandhi;
  arguments["erhua"] = options.erhua;
  arguments["wade_giles"] = options.wadeGiles;
  arguments["orthography"] = options.orthography;
  arguments["align"] = options.align;
  arguments["wrap"] = options.wrapWidth;
  if (options.userWords.empty()) {
    arguments["user_words"] = py::none();
  } else {
    py::dict words;
    for (const UserWord& word : options.userWords) {
      words[StrOfUtf8(word.word)] = StrOfUtf8(word.readings);
    }
    arguments["user_words"] = words;
  }
  return arguments;
}

}  // namespace tolvane::python
