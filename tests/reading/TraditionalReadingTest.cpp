// Reading by context of text in traditional characters, with the shipped data: a sentence reads
// like its simplified twin, through the words, the characters' own defaults and the pairs.
#include <gtest/gtest.h>

#include <string_view>

#include "engine/AnnotateLine.h"
#include "platform/UnicodeText.h"
#include "support/ShippedDataFixture.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

class TraditionalReadingTest : public test::ShippedDataFixture {
 protected:
  std::vector<std::string> Read(const std::string& textUtf8, NeutralTone neutral) {
    ConversionSettings settings;
    settings.polyphone = PolyphonePolicy::ByContext;
    settings.toneStyle = ToneStyle::Numbered;
    settings.neutralTone = neutral;
    return reader.OfUtf8Line(textUtf8, settings);
  }
};

using Readings = std::vector<std::string>;

TEST_F(TraditionalReadingTest, ATraditionalTextReadsLikeItsSimplifiedTwin) {
  const struct {
    const char* traditional;
    const char* simplified;
    Readings spoken;  // what both read, with spoken neutral tones
  } cases[] = {
      {"我們", "我们", {"wo3", "men5"}},
      {"他們還是朋友", "他们还是朋友", {"ta1", "men5", "hai2", "shi4", "peng2", "you5"}},
      {"孩子長大了", "孩子长大了", {"hai2", "zi5", "zhang3", "da4", "le5"}},
      {"他在銀行工作", "他在银行工作", {"ta1", "zai4", "yin2", "hang2", "gong1", "zuo4"}},
      {"她的頭髮很長", "她的头发很长", {"ta1", "de5", "tou2", "fa5", "hen3", "chang2"}},
      {"我發現了", "我发现了", {"wo3", "fa1", "xian4", "le5"}},
      // 著 is the particle of traditional text (着) and a character of its own (著名 zhù).
      {"對抗著西北風", "对抗着西北风", {"dui4", "kang4", "zhe5", "xi1", "bei3", "feng1"}},
      {"著名", "著名", {"zhu4", "ming2"}},
      // A character read alone: its own default, not another's (還 hái, 髮 fà, 麼 me).
      {"還", "还", {"hai2"}},
      {"什麼", "什么", {"shen2", "me5"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.traditional);
    EXPECT_EQ(Read(c.traditional, NeutralTone::Spoken), c.spoken);
    EXPECT_EQ(Read(c.simplified, NeutralTone::Spoken), c.spoken);
    // Full tones too, but for 髮, whose own tone is better known than 发's (below).
    if (std::string_view(c.traditional).find("髮") == std::string_view::npos) {
      EXPECT_EQ(Read(c.traditional, NeutralTone::Citation),
                Read(c.simplified, NeutralTone::Citation));
    }
  }
  // 髮 (hair) and 發 (to issue) share 发; each keeps its own tone, also in a word's full tones.
  EXPECT_EQ(Read("髮", NeutralTone::Spoken), (Readings{"fa4"}));
  EXPECT_EQ(Read("發", NeutralTone::Spoken), (Readings{"fa1"}));
  EXPECT_EQ(Read("頭髮", NeutralTone::Citation), (Readings{"tou2", "fa4"}));
}

}  // namespace
}  // namespace tolvane
