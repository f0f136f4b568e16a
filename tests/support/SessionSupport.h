#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/AnnotateLine.h"
#include "platform/UnicodeText.h"
#include "reading/LineReadings.h"
#include "reading/Session.h"

namespace tolvane::test {

// The readings of a session's current data, for tests that annotate lines: made again whenever
// the session has published new data since the last call, as a new run or preview would.
class CurrentReadings {
 public:
  explicit CurrentReadings(const Session& session) : session_(session) {}

  LineReadings& operator()() {
    std::shared_ptr<const ReadingData> data = session_.Data();
    if (!readings_ || &readings_->Data() != data.get())
      readings_ = std::make_unique<LineReadings>(std::move(data));
    return *readings_;
  }

  // The readings of a line of UTF-8 text, each in UTF-8.
  std::vector<std::string> OfUtf8Line(const std::string& textUtf8,
                                      const ConversionSettings& settings) {
    std::vector<std::string> out;
    for (const std::string_view r :
         ReadingsOfLine((*this)(), textUtf8, TextForm::Unicode, settings))
      out.push_back(unicode::ToUtf8Bytes(r));
    return out;
  }

 private:
  const Session& session_;
  std::unique_ptr<LineReadings> readings_;
};

}  // namespace tolvane::test
