// Which document a name or a target's extension asks for.
#include <gtest/gtest.h>

#include "documents/DocumentFormat.h"

namespace tolvane {
namespace {

TEST(DocumentFormatTest, TargetsAndNames) {
  struct Case {
    const char* target;
    std::optional<DocumentFormat> format;
  };
  const Case cases[] = {
      {"a.docx", DocumentFormat::Docx},
      {"讲义.ODT", DocumentFormat::Odt},
      {"b.Epub", DocumentFormat::Epub},
      {"movie_拼音.srt", DocumentFormat::Srt},
      {"c.vtt", DocumentFormat::Vtt},
      {"a.txt", std::nullopt},
      {"docx", std::nullopt},
      {"a.html", std::nullopt},
      {"a.", std::nullopt},
      {".docx/a", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DocumentFormatOfTarget(c.target), c.format) << c.target;
    if (c.format) {
      EXPECT_EQ(DocumentFormatOfTarget(std::string("x") + std::string(ExtensionOf(*c.format))),
                c.format);
    }
  }
  EXPECT_EQ(DocumentFormatNamed("DOCX"), DocumentFormat::Docx);
  EXPECT_EQ(DocumentFormatNamed("py"), std::nullopt);
  EXPECT_TRUE(IsSubtitleFormat(DocumentFormat::Vtt));
  EXPECT_FALSE(IsSubtitleFormat(DocumentFormat::Epub));
}

}  // namespace
}  // namespace tolvane
