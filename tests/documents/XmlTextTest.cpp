// Text made safe for the XML of every document format.
#include <gtest/gtest.h>

#include "documents/XmlText.h"

namespace tolvane {
namespace {

TEST(XmlTextTest, EscapesMarkupAndDropsWhatXmlCannotHold) {
  struct Case {
    std::string text;
    const char* xml;
  };
  const Case cases[] = {
      {"字<b>&\"'", "字&lt;b&gt;&amp;&quot;&apos;"},
      {std::string("a\0b", 3), "ab"},
      {"a\x01\x1f\tb\r\n", "a\tb\r\n"},
      {"\xEF\xBF\xBE\xEF\xBF\xBF\xEF\xBF\xBD", "\xEF\xBF\xBD"},  // U+FFFE, U+FFFF gone; U+FFFD kept
      {"𠀀", "𠀀"},
  };
  for (const Case& c : cases) EXPECT_EQ(XmlText(c.text), c.xml);
}

}  // namespace
}  // namespace tolvane
