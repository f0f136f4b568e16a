#include "platform/DisplayColumns.h"

#include <unicode/uchar.h>

#include "platform/Cp936.h"
#include "platform/UnicodeText.h"

namespace tolvane {

std::size_t DisplayColumns(char32_t cp) {
  if (cp < 0x80) return 1;
  // The common ideographs are wide whether or not GB2312 holds them.
  if (cp >= 0x4E00 && cp <= 0x9FFF) return 2;
  if (unicode::IsRawByte(cp)) return 1;
  const cp936::EncodedChar gb = cp936::EncodeChar(cp);
  if (cp936::IsGb2312Area(gb.view())) return 2;
  const auto c = static_cast<UChar32>(cp);
  const auto category = u_charType(c);
  if (category == U_NON_SPACING_MARK || category == U_ENCLOSING_MARK) return 0;
  const auto width = u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH);
  return width == U_EA_WIDE || width == U_EA_FULLWIDTH ? 2 : 1;
}

}  // namespace tolvane
