#include "reading/orthography/LatinPunctuation.h"

namespace tolvane {

std::optional<LatinMark> LatinPunctuation(char32_t cp, char32_t previous) {
  using Side = LatinMark::Side;
  switch (cp) {
    case U'。':
    case U'．':
      return LatinMark{".", Side::Closing, true};
    case U'！':
      return LatinMark{"!", Side::Closing, true};
    case U'？':
      return LatinMark{"?", Side::Closing, true};
    case U'，':
    case U'、':
      return LatinMark{",", Side::Closing};
    case U'；':
      return LatinMark{";", Side::Closing};
    case U'：':
      return LatinMark{":", Side::Closing};
    case U'“':
    case U'《':
    case U'「':
    case U'『':
    case U'〈':
      return LatinMark{"\"", Side::Opening};
    case U'”':
    case U'》':
    case U'」':
    case U'』':
    case U'〉':
      return LatinMark{"\"", Side::Closing};
    case U'‘':
      return LatinMark{"'", Side::Opening};
    case U'’':
      return LatinMark{"'", Side::Closing};
    case U'（':
      return LatinMark{"(", Side::Opening};
    case U'）':
      return LatinMark{")", Side::Closing};
    case U'【':
    case U'〔':
      return LatinMark{"[", Side::Opening};
    case U'】':
    case U'〕':
      return LatinMark{"]", Side::Closing};
    case U'—':
      // The Chinese dash is two em dashes; the Latin one is one.
      return LatinMark{"—", Side::Closing, false, previous == U'—'};
    case U'…':
    case U'⋯':  // the midline ellipsis some texts use for it
      return LatinMark{"...", Side::Closing, false, previous == cp};
    case U'～':
      return LatinMark{"~", Side::Closing};
    case U'·':
    case U'・':
      // The dot between the parts of a foreign name: a space, as between words.
      return LatinMark{"", Side::Closing};
    default:
      return std::nullopt;
  }
}

}  // namespace tolvane
