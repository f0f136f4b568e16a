#include "reading/ReadingConfidence.h"

#include <algorithm>

#include "platform/Cp936.h"
#include "platform/UnicodeText.h"
#include "reading/classic/ReadingTable.h"

namespace tolvane {
namespace {

// Whether a reading list of the built-in table ("de5/di2/di4") holds two different readings.
bool HoldsTwoReadings(std::string_view list) {
  const std::size_t slash = list.find('/');
  if (slash == std::string_view::npos) return false;
  const std::string_view first = list.substr(0, slash);
  for (std::size_t begin = slash + 1; begin <= list.size();) {
    std::size_t end = list.find('/', begin);
    if (end == std::string_view::npos) end = list.size();
    if (list.substr(begin, end - begin) != first) return true;
    begin = end + 1;
  }
  return false;
}

}  // namespace

bool IsPolyphone(const ReadingData& data, char32_t cp) {
  return IsPolyphone(data.ContextModel(), cp);
}

bool IsPolyphone(const PolyphoneModel* model, char32_t cp) {
  if (model != nullptr && model->Candidates(cp).size() > 1) return true;
  const cp936::EncodedChar gb = cp936::EncodeChar(cp);
  if (gb.length == 0) return false;
  // The built-in table itself: a snapshot's is empty until start-up fills it.
  const auto list = BuiltInNumberedTable().Find(gb.view());
  return list && HoldsTwoReadings(*list);
}

void ConfidenceOfLine(LineReadings& readings, std::string_view line,
                      const ConversionSettings& settings, std::vector<CharacterConfidence>& out) {
  ConversionSettings byContext = settings;
  byContext.polyphone = PolyphonePolicy::ByContext;
  const ContextResolver& resolver = readings.Context(byContext);
  out.clear();
  std::vector<char32_t> codePoints;
  unicode::ForEachCodePoint(line, [&](std::string_view character, char32_t cp) {
    out.push_back({character, cp, false, ReadingBasis::kNone});
    codePoints.push_back(cp);
  });
  std::vector<ReadingBasis> bases;
  resolver.ReadBases(codePoints, bases);
  const PolyphoneModel* model = readings.Data().ContextModel();
  for (std::size_t i = 0; i < out.size() && i < bases.size(); ++i) {
    out[i].basis = bases[i];
    out[i].polyphone = IsPolyphone(model, out[i].codePoint);
  }
}

}  // namespace tolvane
