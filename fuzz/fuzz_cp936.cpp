// Code page 936: the walk by characters consumes every byte and ends; the first-k and last
// character operations agree with the walk; conversions to and from Unicode never fail and
// round-trip the characters the code page has.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "FuzzInput.h"
#include "platform/Cp936.h"

using namespace tolvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> characters;
  std::string rebuilt;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = cp936::CharLengthAt(text, pos);
    FUZZ_CHECK(length == 1 || length == 2);
    characters.push_back(text.substr(pos, length));
    rebuilt += characters.back();
    pos += length;
  }
  FUZZ_CHECK(rebuilt == text);
  FUZZ_CHECK(characters.size() <= text.size());
  FUZZ_CHECK(cp936::CharCount(text) == characters.size());
  FUZZ_CHECK(cp936::LastChar(text) == (characters.empty() ? "" : characters.back()));
  const std::size_t k = size == 0 ? 0 : data[0] % (characters.size() + 2);
  std::size_t prefix = 0;
  for (std::size_t i = 0; i < k && i < characters.size(); ++i) prefix += characters[i].size();
  FUZZ_CHECK(cp936::FirstChars(text, k) == text.substr(0, prefix));

  // Decoding and encoding back keeps every character that decodes to something real.
  const std::string utf8 = cp936::DecodeToUtf8(text);
  const std::string back = cp936::EncodeFromUtf8(utf8);
  const std::u16string utf16 = cp936::DecodeToUtf16(text);
  FUZZ_CHECK(cp936::EncodeFromUtf16(utf16) == back);
  std::string expected;
  for (const std::string_view c : characters) {
    const char32_t cp = cp936::DecodeChar(c);
    expected += cp == 0xFFFD ? std::string("?") : cp936::EncodeFromUtf8(cp936::DecodeToUtf8(c));
  }
  FUZZ_CHECK(back == expected);
  // Arbitrary bytes as UTF-8: never a crash, never a longer text than two bytes per byte.
  FUZZ_CHECK(cp936::EncodeFromUtf8(text).size() <= 2 * text.size());
  return 0;
}
