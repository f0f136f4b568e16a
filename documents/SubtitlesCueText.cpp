#include "documents/SubtitlesCueText.h"

#include <optional>
#include <utility>

#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The character references cue text uses in practice; any other name is left as text.
std::optional<char32_t> NamedReference(std::string_view name) {
  static constexpr std::pair<std::string_view, char32_t> kNames[] = {
      {"amp", U'&'},      {"lt", U'<'},          {"gt", U'>'},         {"quot", U'"'},
      {"apos", U'\''},    {"nbsp", U'\u00A0'},   {"lrm", U'\u200E'},   {"rlm", U'\u200F'},
      {"shy", U'\u00AD'}, {"hellip", U'\u2026'}, {"mdash", U'\u2014'}, {"ndash", U'\u2013'},
  };
  for (const auto& [known, cp] : kNames)
    if (known == name) return cp;
  return std::nullopt;
}

// The character a reference at the start of `text` ("&...;") stands for, and its length.
std::optional<std::pair<char32_t, std::size_t>> ReferenceAt(std::string_view text) {
  const std::size_t end = text.find(';');
  if (end == std::string_view::npos || end < 2 || end > 32) return std::nullopt;
  const std::string_view body = text.substr(1, end - 1);
  if (body.front() != '#') {
    for (const char c : body)
      if (!IsAsciiLetter(c) && !IsDigit(c)) return std::nullopt;
    const auto cp = NamedReference(body);
    if (!cp) return std::nullopt;
    return std::pair{*cp, end + 1};
  }
  const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
  const std::string_view digits = body.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  char32_t cp = 0;
  for (const char c : digits) {
    if (hex ? !IsHexDigit(c) : !IsDigit(c)) return std::nullopt;
    const char32_t value = IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
    cp = cp * (hex ? 16 : 10) + value;
  }
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  return std::pair{cp, end + 1};
}

bool IsElementTag(std::string_view tag, std::string_view name) {
  if (tag.substr(0, name.size()) != name) return false;
  const char after = tag.size() > name.size() ? tag[name.size()] : '>';
  return after == '>' || after == '.' || after == ' ' || after == '\t';
}

std::size_t CodePointCount(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < utf8.size(); pos += unicode::CharLengthAt(utf8, pos)) ++count;
  return count;
}

}  // namespace

std::vector<CueTextItem> SplitVttCueText(std::string_view line) {
  std::vector<CueTextItem> items;
  int rubyDepth = 0;
  bool inRubyText = false;
  std::size_t pos = 0;
  while (pos < line.size()) {
    if (line[pos] == '<') {
      const std::size_t close = line.find('>', pos);
      const std::size_t end = close == std::string_view::npos ? line.size() : close + 1;
      const std::string_view tag = line.substr(pos, end - pos);
      if (IsElementTag(tag, "<ruby")) ++rubyDepth;
      if (IsElementTag(tag, "</ruby") && rubyDepth > 0) --rubyDepth;
      // A ruby text ends at its end tag or its ruby's.
      if (IsElementTag(tag, "<rt")) inRubyText = rubyDepth > 0;
      if (IsElementTag(tag, "</rt") || rubyDepth == 0) inRubyText = false;
      items.push_back({true, tag, {}, false});
      pos = end;
      continue;
    }
    CueTextItem item;
    item.inRuby = rubyDepth > 0;
    item.inRubyText = inRubyText;
    if (line[pos] == '&') {
      if (const auto reference = ReferenceAt(line.substr(pos))) {
        item.source = line.substr(pos, reference->second);
        unicode::AppendCodePoint(item.text, reference->first);
        items.push_back(std::move(item));
        pos += reference->second;
        continue;
      }
    }
    const std::size_t length = unicode::CharLengthAt(line, pos);
    item.source = line.substr(pos, length);
    item.text = std::string(item.source);
    items.push_back(std::move(item));
    pos += length;
  }
  return items;
}

std::string PlainTextOf(const std::vector<CueTextItem>& items) {
  std::string text;
  for (const CueTextItem& item : items)
    if (!item.Markup()) text += item.text;
  return text;
}

std::string StripSrtMarkup(std::string_view line) {
  std::string out;
  std::size_t pos = 0;
  while (pos < line.size()) {
    const char c = line[pos];
    const char next = pos + 1 < line.size() ? line[pos + 1] : '\0';
    std::size_t close = std::string_view::npos;
    if (c == '<' && (IsAsciiLetter(next) || next == '/')) close = line.find('>', pos);
    if (c == '{' && next == '\\') close = line.find('}', pos);
    if (close != std::string_view::npos) {
      pos = close + 1;
      continue;
    }
    out.push_back(c);
    ++pos;
  }
  return out;
}

std::string VttEscaped(std::string_view textUtf8) {
  std::string out;
  out.reserve(textUtf8.size());
  for (const char c : textUtf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

std::string VttLineWithRuby(const std::vector<CueTextItem>& items, const RubyLine& units) {
  std::string out;
  std::size_t next = 0;
  // The tags before the next character go out as they are.
  const auto tagsUpToCharacter = [&] {
    while (next < items.size() && items[next].Markup()) out += items[next++].source;
  };
  for (const RubyCharacter& unit : units) {
    tagsUpToCharacter();
    if (next == items.size()) break;
    // The unit's characters and the tags among them.
    const std::size_t first = next;
    std::size_t characters = CodePointCount(unit.text);
    bool inRuby = false;
    std::size_t last = next;
    while (last < items.size() && characters > 0) {
      if (!items[last].Markup()) {
        inRuby = inRuby || items[last].inRuby;
        --characters;
      }
      ++last;
    }
    next = last;
    if (unit.reading.empty() || inRuby) {
      for (std::size_t i = first; i < last; ++i) out += items[i].source;
      continue;
    }
    std::size_t cut = first;
    while (cut < last && !items[cut].Markup()) ++cut;
    out += "<ruby>";
    for (std::size_t i = first; i < cut; ++i) out += items[i].source;
    out += "<rt>" + VttEscaped(unit.reading) + "</rt></ruby>";
    for (std::size_t i = cut; i < last; ++i) out += items[i].source;
  }
  for (; next < items.size(); ++next) out += items[next].source;
  return out;
}

}  // namespace tolvane
