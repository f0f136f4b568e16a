// The one-line preview and the typing limit of its input field.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "WindowTestSupport.h"
#include "engine/AnnotateLine.h"
#include "ui/GbTypingLimit.h"
#include "ui/QtText.h"
#include "ui/TfrmMain.h"

namespace tolvane {
namespace {

using test::Child;
using test::Gb;
using test::Q;
using test::ScriptedDialogs;
using test::TestProgramFolder;

class Preview : public ::testing::Test {
 protected:
  QString Memo() const { return Child<QPlainTextEdit>(window, "Memo_output").toPlainText(); }
  QLineEdit& Input() { return Child<QLineEdit>(window, "edt_input"); }
  void Select(const char* name) { Child<QRadioButton>(window, name).setChecked(true); }
  void ClickPinyin() { Child<QPushButton>(window, "btn_pinyin").click(); }

  TestProgramFolder folder;
  ScriptedDialogs dialogs;
  TfrmMain window{folder.path(), dialogs};
};

TEST_F(Preview, ShowsWhatTheEngineGivesForEveryLayout) {
  const std::pair<const char*, ToneStyle> tones[] = {{"RadioButton_num", ToneStyle::Numbered},
                                                     {"RadioButton_tone", ToneStyle::Marked},
                                                     {"RadioButton_notone", ToneStyle::Plain}};
  const std::pair<const char*, OutputFormat> formats[] = {
      {"rb_output_py", OutputFormat::rb_output_py},
      {"rb_output_han", OutputFormat::rb_output_han},
      {"rb_output_hanpy", OutputFormat::rb_output_hanpy},
      {"rb_output_pyhan", OutputFormat::rb_output_pyhan},
      {"rb_output_py_only", OutputFormat::rb_output_py_only}};
  const std::pair<const char*, PolyphonePolicy> policies[] = {
      {"rb_duoyinzi_single", PolyphonePolicy::FirstReading},
      {"rb_duoyinzi_multi", PolyphonePolicy::AllReadings}};
  const std::string designedText = Gb("我爱北京天安门，天安门上红旗飘");
  for (const auto& [toneButton, tone] : tones) {
    for (const auto& [formatButton, format] : formats) {
      for (const auto& [policyButton, policy] : policies) {
        SCOPED_TRACE(std::string(toneButton) + " " + formatButton + " " + policyButton);
        Select(toneButton);
        Select(formatButton);
        Select(policyButton);
        ConversionSettings settings;
        settings.toneStyle = tone;
        settings.outputFormat = format;
        settings.polyphone = policy;
        ASSERT_EQ(window.CurrentSettings(), settings);
        ClickPinyin();
        QStringList expected;
        LineReadings readings(window.ReadingSession().Data());
        for (const std::string& line : PreviewLines(readings, designedText, settings)) {
          expected << QStringFromGb(line);
        }
        const bool twoLines =
            format == OutputFormat::rb_output_py || format == OutputFormat::rb_output_han;
        EXPECT_EQ(expected.size(), twoLines ? 2 : 1);
        EXPECT_EQ(Memo(), expected.join(u'\n'));
      }
    }
  }
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST_F(Preview, ShowsTheReadingsOfShortTexts) {
  struct Case {
    const char* text;
    const char* tone;
    const char* format;
    const char* expected;
  };
  const Case cases[] = {
      {"我爱北京", "RadioButton_num", "rb_output_hanpy", "我(wo3)爱(ai4)北(bei3)京(jing1)"},
      {"我，爱", "RadioButton_num", "rb_output_pyhan", "(wo3)我，(ai4)爱"},
      {"我，爱", "RadioButton_num", "rb_output_py_only", "wo3   ai4"},
      // The preview puts the text as typed under or over the readings, each reading behind a
      // space, a character without one included.
      {"我，爱", "RadioButton_num", "rb_output_py", "wo3   ai4\n我，爱"},
      {"我爱", "RadioButton_notone", "rb_output_han", "我爱\nwo ai"},
      {"我爱", "RadioButton_tone", "rb_output_py_only", "wǒ ài"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + std::string(" ") + c.tone + " " + c.format);
    Input().setText(Q(c.text));
    Select(c.tone);
    Select(c.format);
    ClickPinyin();
    EXPECT_EQ(Memo(), Q(c.expected));
  }
}

TEST_F(Preview, CharactersBeyondGb2312ShowWithoutAReading) {
  Select("RadioButton_num");
  Input().setText(Q("我國堃𠀀😀爱"));
  ClickPinyin();
  EXPECT_EQ(Memo(), Q("wo3         ai4\n我國堃𠀀😀爱"));
  Select("rb_output_hanpy");
  ClickPinyin();
  EXPECT_EQ(Memo(), Q("我(wo3)國堃𠀀😀爱(ai4)"));
}

TEST_F(Preview, ReadsPolyphonesByTheirWordsWhenAskedTo) {
  Select("rb_duoyinzi_context");
  EXPECT_EQ(window.CurrentSettings().polyphone, PolyphonePolicy::ByContext);
  ClickPinyin();
  EXPECT_EQ(Memo(), Q("wǒ ài běi jīng tiān ān mén   tiān ān mén shàng hóng qí piāo\n"
                      "我爱北京天安门，天安门上红旗飘"));
  Select("rb_duoyinzi_single");
  ClickPinyin();
  EXPECT_NE(Memo().indexOf(Q("shǎng gōng")), -1);  // the designed first readings
}

TEST_F(Preview, WritesPinyinByWordsWhenTheSwitchIsOn) {
  QAction& orthography = Child<QAction>(window, "N_orthography");
  Input().setText(Q("我爱北京。"));
  Select("rb_output_py_only");
  Select("rb_duoyinzi_context");
  ClickPinyin();
  const QString byCharacters = Memo();
  EXPECT_EQ(byCharacters, Q("wǒ ài běi jīng。"));
  orthography.trigger();
  ClickPinyin();
  EXPECT_EQ(Memo(), Q("Wǒ ài Běijīng."));
  // Every tone style, as the engine writes it.
  const struct {
    const char* tone;
    const char* expected;
  } tones[] = {{"RadioButton_num", "Wo3 ai4 Bei3jing1."}, {"RadioButton_notone", "Wo ai Beijing."}};
  for (const auto& [tone, expected] : tones) {
    SCOPED_TRACE(tone);
    Select(tone);
    ClickPinyin();
    EXPECT_EQ(Memo(), Q(expected));
  }
  Select("RadioButton_tone");
  orthography.trigger();
  ClickPinyin();
  EXPECT_EQ(Memo(), byCharacters) << "unchecked, the preview is as before";
  // Checked from another policy, it reads by context.
  Select("rb_duoyinzi_single");
  orthography.trigger();
  ClickPinyin();
  EXPECT_EQ(Memo(), Q("Wǒ ài Běijīng."));
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST_F(Preview, EachClickReplacesTheEarlierPreview) {
  Select("rb_output_py_only");
  Input().setText(Q("北京"));
  ClickPinyin();
  ClickPinyin();
  Select("RadioButton_num");  // an option change does nothing by itself
  EXPECT_EQ(Memo(), Q("běi jīng"));
  ClickPinyin();
  EXPECT_EQ(Memo(), Q("bei3 jing1"));
}

TEST_F(Preview, ChangingTheTextClearsThePreview) {
  ClickPinyin();
  ASSERT_FALSE(Memo().isEmpty());
  Input().setText(Q("北京"));
  EXPECT_TRUE(Memo().isEmpty()) << "text set by the program";
  ClickPinyin();
  ASSERT_FALSE(Memo().isEmpty());
  Input().setCursorPosition(2);
  QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
  QApplication::sendEvent(&Input(), &backspace);
  EXPECT_EQ(Input().text(), Q("北"));
  EXPECT_TRUE(Memo().isEmpty()) << "text edited by the user";
}

// Types `text` one character at a time, as key presses carrying the character.
void Type(QLineEdit& edit, const QString& text) {
  for (const QChar ch : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(&edit, &press);
  }
}

TEST_F(Preview, TypingStopsAtTwentyBytes) {
  Input().clear();
  Type(Input(), Q("我爱北京天安门上红旗飘飘"));
  EXPECT_EQ(Input().text(), Q("我爱北京天安门上红旗"));
  QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
  QApplication::sendEvent(&Input(), &backspace);
  Type(Input(), "abc");
  EXPECT_EQ(Input().text(), Q("我爱北京天安门上红ab")) << "an ASCII character is one byte";
  Type(Input(), Q("天"));
  EXPECT_EQ(Input().text(), Q("我爱北京天安门上红ab"));
}

TEST_F(Preview, PastingStopsAtTwentyBytes) {
  Input().setText("abc");
  Input().end(false);
  Input().insert(Q("一二三四五六七八九十"));
  EXPECT_EQ(Input().text(), Q("abc一二三四五六七八"));
  EXPECT_EQ(Input().cursorPosition(), 11);

  Input().setText(Q("一二三四五六七八九"));
  QApplication::clipboard()->setText(Q("ABC"));
  Input().setCursorPosition(2);
  Input().paste();
  EXPECT_EQ(Input().text(), Q("一二AB三四五六七八九"));
  EXPECT_EQ(Input().cursorPosition(), 4);

  // Replacing a selection: what the selection held makes room.
  Input().setSelection(0, 4);
  Input().insert(Q("甲乙丙丁戊己"));
  EXPECT_EQ(Input().text(), Q("甲乙丙三四五六七八九"));
}

TEST_F(Preview, TextSetByTheProgramIsNotCut) {
  EXPECT_EQ(Input().text(), Q("我爱北京天安门，天安门上红旗飘")) << "designed, 30 bytes";
  Input().setText(Q("一二三四五六七八九十一二三四五六七八九十"));
  EXPECT_EQ(Input().text().size(), 20);
  Input().end(false);
  Type(Input(), Q("天"));
  EXPECT_EQ(Input().text().size(), 20) << "no typing beyond the limit";
  QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
  QApplication::sendEvent(&Input(), &backspace);
  EXPECT_EQ(Input().text().size(), 19) << "deleting still works";
}

TEST(FitTypedText, KeepsTheFrontOfAnInsertionAsFarAsItFits) {
  struct Case {
    const char* before;
    const char* after;
    std::size_t limit;
    const char* expected;
    int cursor;  // -1: the edit stands as it is
  };
  const Case cases[] = {
      {"", "abc", 4, "abc", -1},
      {"", "abcde", 4, "abcd", 4},
      {"ab", "a一二b", 4, "a一b", 2},
      {"ab", "a一二b", 3, "ab", 1},
      {"一二三", "一二三x", 6, "一二三", 3},
      {"一二三四", "一二三", 6, "一二三", -1},      // deleting is always allowed
      {"一二三四", "一二x四", 6, "一二x四", -1},    // not lengthened: stands
      {"一二三四", "一二xyz四", 8, "一二xy四", 4},  // what it replaced makes room
      {"一二三四", "一二xyz四", 6, "一二四", 2},
      {"aa", "aaa", 2, "aa", 2},
      // A character GB2312 lacks counts its GB18030 bytes: four for an emoji, two for a GBK one.
      {"", "a😀b", 5, "a😀", 3},
      {"", "a😀b", 4, "a", 1},
      {"", "國國國", 4, "國國", 2},
      {"", "😀😀😀", 8, "😀😀", 4},  // a surrogate pair is never split
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.before) + " -> " + c.after);
    int cursor = 99;
    const QString fitted = FitTypedText(Q(c.before), Q(c.after), c.limit, &cursor);
    if (c.cursor < 0) {
      EXPECT_EQ(fitted, Q(c.after));
    } else {
      EXPECT_EQ(fitted, Q(c.expected));
    }
    EXPECT_EQ(cursor, c.cursor);
  }
}

}  // namespace
}  // namespace tolvane
