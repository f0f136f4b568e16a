#include "documents/PageDesign.h"

#include <cerrno>
#include <charconv>
#include <fstream>
#include <sstream>
#include <utility>

#include "platform/Error.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

template <typename Enum>
using Names = std::initializer_list<std::pair<Enum, std::string_view>>;

const Names<PaperSize> kPapers{
    {PaperSize::A4, "a4"}, {PaperSize::A5, "a5"}, {PaperSize::Letter, "letter"}};
const Names<AnnotationScope> kScopes{{AnnotationScope::Every, "every"},
                                     {AnnotationScope::Uncommon, "uncommon"},
                                     {AnnotationScope::Unusual, "unusual"},
                                     {AnnotationScope::First, "first"}};
const Names<ToneColourScheme> kSchemes{{ToneColourScheme::Off, "off"},
                                       {ToneColourScheme::Classic, "classic"},
                                       {ToneColourScheme::Dictionary, "dictionary"},
                                       {ToneColourScheme::Contrast, "contrast"},
                                       {ToneColourScheme::Custom, "custom"}};
const Names<TitleSource> kTitles{{TitleSource::FirstLine, "first-line"},
                                 {TitleSource::Fixed, "fixed"},
                                 {TitleSource::None, "none"}};

// Tones 1 to 4 and the light tone.
using Scheme = std::array<const char*, 5>;
constexpr Scheme kClassic{"#e30000", "#e07000", "#008a00", "#0050e6", "#707070"};
constexpr Scheme kDictionary{"#e30000", "#00a000", "#0050e6", "#8a2be2", "#707070"};
// Told apart with every common kind of colour blindness.
constexpr Scheme kContrast{"#d55e00", "#009e73", "#0072b2", "#cc79a7", "#666666"};

template <typename Enum>
std::string_view NameOf(const Names<Enum>& names, Enum value) {
  for (const auto& [each, name] : names)
    if (each == value) return name;
  return {};
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

bool IsColour(std::string_view text) {
  if (text.size() != 7 || text[0] != '#') return false;
  for (const char c : text.substr(1))
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// The shortest text that reads back as exactly `value`: a saved design must read back as the
// design that was saved, which six significant digits do not promise (12.3456789 mm).
std::string Number(double value) {
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  return error == std::errc() ? std::string(text, end) : std::string();
}

// Reads one line's value into the design; an error text, or empty when it was taken.
class LineReader {
 public:
  LineReader(PageDesign& design, const std::filesystem::path& path, int lineNumber)
      : design_(design), path_(path), lineNumber_(lineNumber) {}

  void Read(std::string_view key, std::string_view value) {
    if (key == "paper") return Choice(kPapers, value, design_.paper);
    if (key == "margin_mm") return Range(value, 0, 60, design_.marginMm);
    if (key == "text_font") return void(design_.textFont = value);
    if (key == "text_size_pt") return Range(value, 4, 144, design_.textSizePt);
    if (key == "reading_font") return void(design_.readingFont = value);
    if (key == "reading_percent") {
      double percent = 0;
      Range(value, 20, 100, percent);
      design_.readingPercent = static_cast<int>(percent + 0.5);
      return;
    }
    if (key == "line_spacing") return Range(value, 1, 4, design_.lineSpacing);
    if (key == "syllable_gap") return Range(value, 0, 1, design_.syllableGap);
    if (key == "title") return Choice(kTitles, value, design_.titleSource);
    if (key == "title_text") return void(design_.titleText = value);
    if (key == "page_numbers") return Flag(value, design_.pageNumbers);
    if (key == "tone_colours") return Choice(kSchemes, value, design_.toneScheme);
    if (key.size() == 13 && key.substr(0, 12) == "tone_colour_" && key[12] >= '1' &&
        key[12] <= '5') {
      if (!IsColour(value)) Fail("a colour is written #rrggbb");
      design_.toneColours[static_cast<std::size_t>(key[12] - '1')] = value;
      return;
    }
    if (key == "annotate") return Choice(kScopes, value, design_.scope);
    Fail("unknown setting \"" + std::string(key) + "\"");
  }

  [[noreturn]] void Fail(const std::string& reason) const {
    throw Error(
        "Page design " + path_.string() + ", line " + std::to_string(lineNumber_) + ": " + reason,
        path_);
  }

 private:
  template <typename Enum>
  void Choice(const Names<Enum>& names, std::string_view value, Enum& out) const {
    std::string expected;
    for (const auto& [each, name] : names) {
      if (name == value) {
        out = each;
        return;
      }
      expected += (expected.empty() ? "" : ", ") + std::string(name);
    }
    Fail("\"" + std::string(value) + "\" is none of " + expected);
  }

  void Range(std::string_view value, double low, double high, double& out) const {
    double number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || !(number >= low) ||
        !(number <= high))
      Fail("\"" + std::string(value) + "\" is no number from " + Number(low) + " to " +
           Number(high));
    out = number;
  }

  void Flag(std::string_view value, bool& out) const {
    if (value == "yes" || value == "true" || value == "1") {
      out = true;
    } else if (value == "no" || value == "false" || value == "0") {
      out = false;
    } else {
      Fail("\"" + std::string(value) + "\" is neither yes nor no");
    }
  }

  PageDesign& design_;
  const std::filesystem::path& path_;
  int lineNumber_;
};

}  // namespace

PaperMm PaperSizeMm(PaperSize paper) {
  switch (paper) {
    case PaperSize::A5:
      return {148, 210};
    case PaperSize::Letter:
      return {215.9, 279.4};
    case PaperSize::A4:
      break;
  }
  return {210, 297};
}

std::string ToneColour(const PageDesign& design, int tone) {
  const std::size_t index = tone >= 1 && tone <= 4 ? static_cast<std::size_t>(tone - 1) : 4;
  switch (design.toneScheme) {
    case ToneColourScheme::Off:
      return {};
    case ToneColourScheme::Classic:
      return kClassic[index];
    case ToneColourScheme::Dictionary:
      return kDictionary[index];
    case ToneColourScheme::Contrast:
      return kContrast[index];
    case ToneColourScheme::Custom:
      return design.toneColours[index];
  }
  return {};
}

int ToneOfSyllable(std::string_view syllableUtf8) {
  int tone = 5;
  std::size_t pos = 0;
  while (pos < syllableUtf8.size()) {
    const std::size_t length = unicode::CharLengthAt(syllableUtf8, pos);
    const char32_t cp = unicode::CodePointAt(syllableUtf8, pos, length);
    pos += length;
    switch (cp) {
      case U'ā':
      case U'ē':
      case U'ī':
      case U'ō':
      case U'ū':
      case U'ǖ':
      case U'Ā':
      case U'Ē':
      case U'Ī':
      case U'Ō':
      case U'Ū':
      case U'Ǖ':
      case 0x0304:
      case U'1':
        tone = 1;
        break;
      case U'á':
      case U'é':
      case U'í':
      case U'ó':
      case U'ú':
      case U'ǘ':
      case U'ḿ':
      case U'ń':
      case U'Á':
      case U'É':
      case U'Í':
      case U'Ó':
      case U'Ú':
      case U'Ǘ':
      case U'Ḿ':
      case U'Ń':
      case 0x0301:
      case U'2':
        tone = 2;
        break;
      case U'ǎ':
      case U'ě':
      case U'ǐ':
      case U'ǒ':
      case U'ǔ':
      case U'ǚ':
      case U'ň':
      case U'Ǎ':
      case U'Ě':
      case U'Ǐ':
      case U'Ǒ':
      case U'Ǔ':
      case U'Ǚ':
      case U'Ň':
      case 0x030C:
      case U'3':
        tone = 3;
        break;
      case U'à':
      case U'è':
      case U'ì':
      case U'ò':
      case U'ù':
      case U'ǜ':
      case U'ǹ':
      case U'À':
      case U'È':
      case U'Ì':
      case U'Ò':
      case U'Ù':
      case U'Ǜ':
      case U'Ǹ':
      case 0x0300:
      case U'4':
        tone = 4;
        break;
      case U'5':
      case U'0':
        tone = 5;
        break;
      default:
        break;
    }
  }
  return tone;
}

std::string PageDesignText(const PageDesign& design) {
  std::string out = "# Tolvane page design (UTF-8): key = value, one a line\n";
  const auto add = [&](std::string_view key, std::string_view value) {
    out.append(key).append(" = ").append(value).push_back('\n');
  };
  add("paper", NameOf(kPapers, design.paper));
  add("margin_mm", Number(design.marginMm));
  add("text_font", design.textFont);
  add("text_size_pt", Number(design.textSizePt));
  add("reading_font", design.readingFont);
  add("reading_percent", std::to_string(design.readingPercent));
  add("line_spacing", Number(design.lineSpacing));
  add("syllable_gap", Number(design.syllableGap));
  add("title", NameOf(kTitles, design.titleSource));
  add("title_text", design.titleText);
  add("page_numbers", design.pageNumbers ? "yes" : "no");
  add("tone_colours", NameOf(kSchemes, design.toneScheme));
  for (std::size_t i = 0; i < design.toneColours.size(); ++i)
    add("tone_colour_" + std::to_string(i + 1), design.toneColours[i]);
  add("annotate", NameOf(kScopes, design.scope));
  return out;
}

PageDesign ParsePageDesign(std::string_view text, const std::filesystem::path& path) {
  PageDesign design;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++lineNumber;
    if (line.empty() || line.front() == '#') continue;
    LineReader reader(design, path, lineNumber);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) reader.Fail("a line is \"key = value\"");
    reader.Read(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
  }
  return design;
}

PageDesign ReadPageDesign(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FileError(errno, path);
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw FileError(errno, path);
  return ParsePageDesign(text.str(), path);
}

void WritePageDesign(const PageDesign& design, const std::filesystem::path& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw FileError(errno, path);
  out << PageDesignText(design);
  out.close();
  if (!out) throw FileError(errno, path);
}

}  // namespace tolvane
