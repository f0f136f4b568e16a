// Start-up, the designed window, the settings file and the interface language, as the main
// window applies them; closing and its settings file.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <map>

#include "WindowTestSupport.h"
#include "reading/shared/DataFiles.h"
#include "tolvane/Version.h"
#include "ui/LanguageFile.h"
#include "ui/QtText.h"
#include "ui/SettingsFile.h"
#include "ui/TfrmMain.h"

namespace tolvane {
namespace {

using test::Child;
using test::Gb;
using test::Q;
using test::ReadBytes;
using test::ScriptedDialogs;
using test::TestProgramFolder;
using test::WriteBytes;

// The lines of reading by context after the designed eight, with their defaults: spoken neutral
// tones, 一 and 不 in their own tones, erhua written r, pinyin not written by words.
const std::string kReadingDefaults = "0\r\n0\r\n1\r\n0\r\n";
const std::string kDefaultConfig =
    Gb("0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n我爱北京天安门，天安门上红旗飘\r\n") + kReadingDefaults;

// Every radio button and check box with whether it is ticked.
std::map<std::string, bool> TickStates(const TfrmMain& window) {
  std::map<std::string, bool> states;
  for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    if (button->isCheckable()) states[button->objectName().toStdString()] = button->isChecked();
  }
  return states;
}

std::map<std::string, bool> DesignedTickStates() {
  std::map<std::string, bool> states;
  for (const char* name :
       {"rb_duoyinzi_multi", "rb_duoyinzi_context", "RadioButton_num", "RadioButton_notone",
        "rb_output_han", "rb_output_hanpy", "rb_output_pyhan", "rb_output_py_only",
        "rb_huanghang100", "rb_huanghang50", "rb_huanghang40", "rb_huanghang30", "rb_huanghang20",
        "rb_huanghang10", "CheckBox_wei"}) {
    states[name] = false;
  }
  for (const char* name : {"rb_duoyinzi_single", "RadioButton_tone", "rb_output_py",
                           "rb_huanghang_no", "CheckBox_align"}) {
    states[name] = true;
  }
  return states;
}

// Every caption the window shows, by control name, and its title.
std::map<std::string, QString> Captions(const TfrmMain& window) {
  std::map<std::string, QString> captions;
  for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    captions[button->objectName().toStdString()] = button->text();
  }
  for (const QGroupBox* box : window.findChildren<QGroupBox*>()) {
    captions[box->objectName().toStdString()] = box->title();
  }
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    if (!label->objectName().isEmpty()) captions[label->objectName().toStdString()] = label->text();
  }
  for (const QLineEdit* edit : window.findChildren<QLineEdit*>()) {
    if (!edit->objectName().isEmpty()) captions[edit->objectName().toStdString()] = edit->text();
  }
  for (const QMenu* menu : window.findChildren<QMenu*>()) {
    captions[menu->objectName().toStdString()] = menu->title();
  }
  for (const QAction* action : window.findChildren<QAction*>()) {
    if (!action->objectName().isEmpty()) {
      captions[action->objectName().toStdString()] = action->text();
    }
  }
  captions["(title)"] = window.windowTitle();
  return captions;
}

void ExpectOptionsShown(const TfrmMain& window, bool shown) {
  for (const char* name :
       {"rb_duoyin", "GroupBox_shengdiao", "GroupBox_outpu", "GroupBox_huanhang"}) {
    EXPECT_EQ(Child<QGroupBox>(window, name).isHidden(), !shown) << name;
  }
  EXPECT_EQ(Child<QGroupBox>(window, "GroupBox_demo").y(), shown ? 210 : 10);
  EXPECT_EQ(Child<QGroupBox>(window, "GroupBox_openfile").y(), shown ? 346 : 146);
  EXPECT_EQ(Child<QProgressBar>(window, "ProgressBar1").y(), shown ? 440 : 240);
  EXPECT_EQ(window.OuterSize(), QSize(532, shown ? 495 : 295));
}

TEST(Startup, ThePolyphoneAndToneGroupsShareTheirBandWithTheThirdPolicy) {
  TestProgramFolder folder;
  ScriptedDialogs dialogs;
  TfrmMain window(folder.path(), dialogs);
  const QGroupBox& polyphone = Child<QGroupBox>(window, "rb_duoyin");
  const QGroupBox& tone = Child<QGroupBox>(window, "GroupBox_shengdiao");
  EXPECT_EQ(Child<QRadioButton>(window, "rb_duoyinzi_context").text(), Q("按词语判断"));
  EXPECT_EQ(Child<QRadioButton>(window, "rb_duoyinzi_context").parentWidget(), &polyphone);
  // Both groups stay in the band they had, from top 8 to 200, one above the other, at the
  // designed left and width.
  EXPECT_EQ(polyphone.geometry().top(), 8);
  EXPECT_LE(polyphone.geometry().bottom() + 1, tone.geometry().top());
  EXPECT_EQ(tone.geometry().bottom() + 1, 200);
  for (const QGroupBox* box : {&polyphone, &tone}) {
    EXPECT_EQ(box->x(), 8);
    EXPECT_EQ(box->width(), 161);
    // Each button lies inside its group, below the caption, and clear of the next one.
    int previousBottom = 12;
    for (const QRadioButton* button : box->findChildren<QRadioButton*>()) {
      EXPECT_TRUE(box->rect().contains(button->geometry())) << button->objectName().toStdString();
      EXPECT_GT(button->y(), previousBottom) << button->objectName().toStdString();
      previousBottom = button->geometry().bottom();
    }
  }
  // The third choice below the two designed ones.
  EXPECT_GT(Child<QRadioButton>(window, "rb_duoyinzi_context").y(),
            Child<QRadioButton>(window, "rb_duoyinzi_multi").y());
  EXPECT_EQ(Child<QGroupBox>(window, "GroupBox_outpu").geometry(), QRect(184, 8, 193, 192));
  EXPECT_EQ(Child<QGroupBox>(window, "GroupBox_huanhang").geometry(), QRect(392, 8, 121, 193));
}

TEST(Startup, FirstStartInAnEmptyFolderShowsTheDesignedWindow) {
  TestProgramFolder folder;
  ScriptedDialogs dialogs;
  {
    TfrmMain window(folder.path(), dialogs);
    EXPECT_TRUE(dialogs.errorTexts.empty());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tolvanev") + kVersion);
    EXPECT_EQ(window.VersionText(), QStringLiteral("v") + kVersion);
    EXPECT_EQ(window.LanguageFlag(), kChinese);
    EXPECT_EQ(TickStates(window), DesignedTickStates());
    EXPECT_EQ(window.CurrentSettings(), ConversionSettings{});
    EXPECT_TRUE(window.SettingsFromControls() == DesignedWindowSettings());
    ExpectOptionsShown(window, true);
    EXPECT_TRUE(Child<QCheckBox>(window, "CheckBox_wei").isHidden());
    EXPECT_TRUE(Child<QProgressBar>(window, "ProgressBar1").isHidden());
    EXPECT_FALSE(Child<QAction>(window, "N_wei").isVisible());
    EXPECT_TRUE(Child<QAction>(window, "N_standard").isVisible());
    // The frame offers minimise but not maximise.
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    for (const char* name : {"edtChfile", "edtEnfile"}) {
      EXPECT_TRUE(Child<QLineEdit>(window, name).isReadOnly()) << name;
    }

    const auto& input = Child<QLineEdit>(window, "edt_input");
    EXPECT_EQ(input.text(), Q("我爱北京天安门，天安门上红旗飘"));
    EXPECT_EQ(input.toolTip(), Q("最多20个汉字"));
    EXPECT_EQ(input.toolTipDuration(), 10000);
    // The language step sets the longer captions of the two file items.
    EXPECT_EQ(Child<QAction>(window, "N2").text(), Q("打开中文文件"));
    EXPECT_EQ(Child<QAction>(window, "N3").text(), Q("拼音文件保存为"));

    EXPECT_GT(window.ReadingSession().Data()->ToneVowelList().size(), 0u)
        << "data files loaded from the program folder";
    EXPECT_EQ(window.ReadingSession().DataFilesFolder(), folder.path());
    EXPECT_EQ(window.ReadingSession().Data()->StandardDictionary().Count(), 0u);
    EXPECT_EQ(ReadBytes(folder / kLanguageFileName), "ch\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder / kSettingsFileName));

    EXPECT_TRUE(window.close());
    EXPECT_EQ(ReadBytes(folder / kSettingsFileName), kDefaultConfig);
    EXPECT_TRUE(window.ReadingSession().Data()->ToneVowelList().empty())
        << "closing releases the data files";
  }
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST(Startup, PicturesAreRaisedAboveTheirRadioButtons) {
  TestProgramFolder folder;
  ScriptedDialogs dialogs;
  TfrmMain window(folder.path(), dialogs);
  const QWidget& group = Child<QWidget>(window, "GroupBox_outpu");
  const QObjectList& stack = group.children();  // bottom to top
  const auto at = [&](const char* name) { return stack.indexOf(&Child<QWidget>(window, name)); };
  for (const auto& [image, button] : {std::pair{"Image1", "rb_output_py"},
                                      {"Image2", "rb_output_han"},
                                      {"Image3", "rb_output_hanpy"},
                                      {"Image4", "rb_output_pyhan"}}) {
    EXPECT_GT(at(image), at(button)) << image;
    const QImage picture = Child<QLabel>(window, image).pixmap().toImage();
    ASSERT_FALSE(picture.isNull()) << image;
    const QColor background = picture.pixelColor(0, 0);
    int inked = 0;
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) inked += picture.pixelColor(x, y) != background;
    }
    EXPECT_GT(inked, 100) << image << " shows a drawing";
  }
  EXPECT_LT(at("Image1"), at("Image2")) << "raised in their order";
}

TEST(Startup, MenusHoldTheirItemsInOrder) {
  TestProgramFolder folder;
  ScriptedDialogs dialogs;
  TfrmMain window(folder.path(), dialogs);
  const auto names = [&](const char* menu) {
    std::vector<std::string> items;
    for (const QAction* action : Child<QMenu>(window, menu).actions()) {
      items.push_back(action->objectName().toStdString() + (action->isSeparator() ? "-" : ""));
    }
    return items;
  };
  using Items = std::vector<std::string>;
  EXPECT_EQ(names("N1"),
            (Items{"N2", "N3", "N_print", "N_pdf", "N_proofread", "N_pagedesign", "N4-", "N5"}));
  EXPECT_EQ(Child<QAction>(window, "N_pagedesign").text(), Q("页面设计…"));
  EXPECT_EQ(Child<QAction>(window, "N_proofread").text(), Q("校对…"));
  EXPECT_EQ(Child<QAction>(window, "N_print").text(), Q("打印…"));
  EXPECT_EQ(Child<QAction>(window, "N_pdf").text(), Q("导出PDF…"));
  EXPECT_EQ(names("N12"), (Items{"N_standard", "N_wei"}));
  EXPECT_EQ(names("N_option"), (Items{"n_showoptions", "N_hideoptions"}));
  EXPECT_EQ(names("N_reading"), (Items{"N_spoken", "N_sandhi", "N_erhua", "-", "N_orthography"}));
  EXPECT_EQ(Child<QAction>(window, "N_orthography").text(), Q("按词连写（拼音正词法）"));
  EXPECT_EQ(names("N6"), (Items{"N7", "N8", "N9-", "N10"}));
  const auto* bar = window.menuBar();
  ASSERT_EQ(bar->actions().size(), 5);
  EXPECT_EQ(bar->actions()[0]->menu()->objectName(), "N1");
  EXPECT_EQ(bar->actions()[1]->menu()->objectName(), "N12");
  EXPECT_EQ(bar->actions()[2]->menu()->objectName(), "N_option");
  EXPECT_EQ(bar->actions()[3]->menu()->objectName(), "N_reading");
  EXPECT_EQ(bar->actions()[4]->menu()->objectName(), "N6");
}

TEST(Startup, RadioButtonsAreExclusiveWithinTheirGroupOnly) {
  TestProgramFolder folder;
  ScriptedDialogs dialogs;
  TfrmMain window(folder.path(), dialogs);
  Child<QRadioButton>(window, "rb_output_han").click();
  Child<QRadioButton>(window, "RadioButton_num").click();
  Child<QRadioButton>(window, "rb_huanghang20").click();
  Child<QRadioButton>(window, "rb_duoyinzi_multi").click();
  auto expected = DesignedTickStates();
  for (const char* name :
       {"rb_output_py", "RadioButton_tone", "rb_huanghang_no", "rb_duoyinzi_single"}) {
    expected[name] = false;
  }
  for (const char* name :
       {"rb_output_han", "RadioButton_num", "rb_huanghang20", "rb_duoyinzi_multi"}) {
    expected[name] = true;
  }
  EXPECT_EQ(TickStates(window), expected);
  EXPECT_EQ(window.CurrentSettings(),
            (ConversionSettings{PolyphonePolicy::AllReadings, ToneStyle::Numbered, false,
                                OutputFormat::rb_output_han, true, 20}));
}

TEST(Settings, ReadingByContextIsLoadedAndSavedAsTwo) {
  TestProgramFolder folder;
  WriteBytes(folder / kSettingsFileName, "2\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\nx\r\n");
  ScriptedDialogs dialogs;
  {
    TfrmMain window(folder.path(), dialogs);
    EXPECT_TRUE(Child<QRadioButton>(window, "rb_duoyinzi_context").isChecked());
    EXPECT_FALSE(Child<QRadioButton>(window, "rb_duoyinzi_multi").isChecked());
    EXPECT_EQ(window.CurrentSettings().polyphone, PolyphonePolicy::ByContext);
    window.close();
  }
  EXPECT_EQ(ReadBytes(folder / kSettingsFileName),
            "2\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\nx\r\n" + kReadingDefaults);
}

TEST(Settings, TheExampleFileIsApplied) {
  TestProgramFolder folder;
  WriteBytes(folder / kSettingsFileName, "1\r\n2\r\n1\r\n4\r\n6\r\n1\r\n1\r\n" + Gb("天") + "\r\n");
  ScriptedDialogs dialogs;
  TfrmMain window(folder.path(), dialogs);
  EXPECT_TRUE(dialogs.errorTexts.empty());
  EXPECT_EQ(window.CurrentSettings(),
            (ConversionSettings{PolyphonePolicy::AllReadings, ToneStyle::Plain, true,
                                OutputFormat::rb_output_py_only, false, 10}));
  auto expected = DesignedTickStates();
  for (const char* name : {"rb_duoyinzi_single", "RadioButton_tone", "rb_output_py",
                           "rb_huanghang_no", "CheckBox_align"}) {
    expected[name] = false;
  }
  for (const char* name : {"rb_duoyinzi_multi", "RadioButton_notone", "CheckBox_wei",
                           "rb_output_py_only", "rb_huanghang10"}) {
    expected[name] = true;
  }
  EXPECT_EQ(TickStates(window), expected);
  ExpectOptionsShown(window, false);
  EXPECT_EQ(Child<QLineEdit>(window, "edt_input").text(), Q("天"));
  EXPECT_TRUE(Child<QCheckBox>(window, "CheckBox_wei").isHidden()) << "ticked but still hidden";
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Tolvanev") + kVersion);
}

TEST(Settings, EachFileSetsTheControls) {
  struct Case {
    const char* what;
    std::string bytes;
    WindowSettings expected;
  };
  const auto designedWith = [](auto change) {
    WindowSettings settings = DesignedWindowSettings();
    change(settings);
    return settings;
  };
  const auto emptied = [](WindowSettings s) {
    s.conversion.polyphone = PolyphonePolicy::AllReadings;
    s.conversion.wadeGiles = false;
    s.conversion.align = false;
    s.optionsShown = false;
    s.previewText.clear();
    return s;
  };
  const Case cases[] = {
      {"digits outside their groups keep the designed choices",
       "0\r\n3\r\n0\r\n5\r\n7\r\n0\r\n0\r\nx\r\n",
       designedWith([](auto& s) { s.previewText = "x"; })},
      {"every group moved", "0\r\n0\r\n0\r\n1\r\n2\r\n0\r\n0\r\nab\r\n", designedWith([](auto& s) {
         s.conversion.toneStyle = ToneStyle::Numbered;
         s.conversion.outputFormat = OutputFormat::rb_output_han;
         s.conversion.wrapWidth = 50;
         s.previewText = "ab";
       })},
      {"a short file", "0\r\n2", designedWith([&](auto& s) {
         s = emptied(s);
         s.conversion.polyphone = PolyphonePolicy::FirstReading;
         s.conversion.toneStyle = ToneStyle::Plain;
       })},
      {"an empty file", "", emptied(DesignedWindowSettings())},
      {"an older file of eight lines: reading by context as it starts",
       "2\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\nx\r\n", designedWith([](auto& s) {
         s.conversion.polyphone = PolyphonePolicy::ByContext;
         s.previewText = "x";
       })},
      {"the lines of reading by context", "2\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\nx\r\n1\r\n1\r\n0\r\n",
       designedWith([](auto& s) {
         s.conversion.polyphone = PolyphonePolicy::ByContext;
         s.conversion.neutralTone = NeutralTone::Citation;
         s.conversion.sandhi = true;
         s.conversion.erhua = false;
         s.previewText = "x";
       })},
      {"pinyin written by words", "2\r\n1\r\n0\r\n4\r\n0\r\n0\r\n0\r\nx\r\n0\r\n0\r\n1\r\n1\r\n",
       designedWith([](auto& s) {
         s.conversion.polyphone = PolyphonePolicy::ByContext;
         s.conversion.outputFormat = OutputFormat::rb_output_py_only;
         s.conversion.orthography = true;
         s.previewText = "x";
       })},
      {"pinyin written by words under another policy stays off",
       "0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\nx\r\n0\r\n0\r\n1\r\n1\r\n",
       designedWith([](auto& s) { s.previewText = "x"; })},
      {"malformed lines of reading by context give their defaults",
       "0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\nx\r\n2\r\nyes\r\n0\r\n", designedWith([](auto& s) {
         s.conversion.erhua = false;
         s.previewText = "x";
       })},
      {"a preview text longer than the typing limit",
       "0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n" +
           Gb("一二三四五六七八九十一二三四五六七八九十一二三") + "\r\n",
       designedWith(
           [](auto& s) { s.previewText = Gb("一二三四五六七八九十一二三四五六七八九十一二三"); })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestProgramFolder folder;
    WriteBytes(folder / kSettingsFileName, c.bytes);
    ScriptedDialogs dialogs;
    TfrmMain window(folder.path(), dialogs);
    EXPECT_TRUE(dialogs.errorTexts.empty());
    const WindowSettings actual = window.SettingsFromControls();
    EXPECT_EQ(actual.conversion, c.expected.conversion);
    EXPECT_EQ(actual.optionsShown, c.expected.optionsShown);
    EXPECT_EQ(actual.previewText, c.expected.previewText);
    ExpectOptionsShown(window, c.expected.optionsShown);
    EXPECT_EQ(Child<QLineEdit>(window, "edt_input").text(), QStringFromGb(c.expected.previewText));
  }
}

TEST(Settings, SavingAfterLoadingGivesTheSameBytes) {
  const std::string files[] = {
      kDefaultConfig,
      "1\r\n2\r\n1\r\n4\r\n6\r\n1\r\n1\r\n" + Gb("天") + "\r\n" + kReadingDefaults,
      "0\r\n0\r\n0\r\n2\r\n3\r\n1\r\n0\r\n" + Gb("一二三四五六七八九十一二三四五六七八九十一二三") +
          "\r\n1\r\n1\r\n0\r\n0\r\n",
      "1\r\n1\r\n0\r\n1\r\n5\r\n0\r\n1\r\n  a b  \r\n0\r\n1\r\n1\r\n0\r\n",
      "2\r\n1\r\n0\r\n1\r\n5\r\n0\r\n1\r\nab\r\n1\r\n0\r\n0\r\n0\r\n",
      "2\r\n1\r\n0\r\n4\r\n5\r\n0\r\n1\r\nab\r\n0\r\n0\r\n1\r\n1\r\n",
  };
  for (const std::string& bytes : files) {
    TestProgramFolder folder;
    WriteBytes(folder / kSettingsFileName, bytes);
    ScriptedDialogs dialogs;
    TfrmMain window(folder.path(), dialogs);
    window.close();
    EXPECT_EQ(ReadBytes(folder / kSettingsFileName), bytes);
    EXPECT_TRUE(dialogs.errorTexts.empty());
  }
}

TEST(Settings, TheReadingMenuSetsTheOptionsOfReadingByContext) {
  TestProgramFolder folder;
  ScriptedDialogs dialogs;
  {
    TfrmMain window(folder.path(), dialogs);
    for (const char* name : {"N_spoken", "N_sandhi", "N_erhua"}) {
      EXPECT_TRUE(Child<QAction>(window, name).isCheckable()) << name;
      EXPECT_TRUE(Child<QAction>(window, name).isEnabled()) << name;
    }
    const ConversionSettings designed = window.CurrentSettings();
    EXPECT_EQ(designed, ConversionSettings{});
    const struct {
      const char* action;
      void (*change)(ConversionSettings&);
    } toggles[] = {
        {"N_spoken", [](ConversionSettings& s) { s.neutralTone = NeutralTone::Citation; }},
        {"N_sandhi", [](ConversionSettings& s) { s.sandhi = true; }},
        {"N_erhua", [](ConversionSettings& s) { s.erhua = false; }},
    };
    for (const auto& toggle : toggles) {
      Child<QAction>(window, toggle.action).trigger();
      ConversionSettings expected = designed;
      toggle.change(expected);
      EXPECT_EQ(window.CurrentSettings(), expected) << toggle.action;
      Child<QAction>(window, toggle.action).trigger();
      EXPECT_EQ(window.CurrentSettings(), designed) << toggle.action << " back";
    }
    // Set under another policy, they are kept for reading by context.
    Child<QAction>(window, "N_spoken").trigger();
    Child<QAction>(window, "N_sandhi").trigger();
    Child<QRadioButton>(window, "rb_duoyinzi_context").click();
    const ConversionSettings settings = window.CurrentSettings();
    EXPECT_EQ(settings.polyphone, PolyphonePolicy::ByContext);
    EXPECT_EQ(settings.neutralTone, NeutralTone::Citation);
    EXPECT_TRUE(settings.sandhi);
    EXPECT_TRUE(settings.erhua);
    window.close();
  }
  EXPECT_EQ(ReadBytes(folder / kSettingsFileName),
            Gb("2\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n我爱北京天安门，天安门上红旗飘\r\n") +
                "1\r\n1\r\n1\r\n0\r\n");
  TfrmMain window(folder.path(), dialogs);
  EXPECT_FALSE(Child<QAction>(window, "N_spoken").isChecked());
  EXPECT_TRUE(Child<QAction>(window, "N_sandhi").isChecked());
  EXPECT_TRUE(Child<QAction>(window, "N_erhua").isChecked());
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST(Settings, PinyinWrittenByWordsAndThePolicyNeverDisagree) {
  // Each step acts on the window as a user would and leaves the policy and the switch as given.
  enum class Act { Trigger, Click };
  struct Step {
    const char* what;
    Act act;
    const char* control;
    PolyphonePolicy policy;
    bool orthography;
  };
  constexpr auto first = PolyphonePolicy::FirstReading;
  constexpr auto all = PolyphonePolicy::AllReadings;
  constexpr auto context = PolyphonePolicy::ByContext;
  const Step steps[] = {
      {"checking it chooses reading by context", Act::Trigger, "N_orthography", context, true},
      {"first reading unchecks it", Act::Click, "rb_duoyinzi_single", first, false},
      {"checked again", Act::Trigger, "N_orthography", context, true},
      {"all readings unchecks it", Act::Click, "rb_duoyinzi_multi", all, false},
      {"reading by context alone leaves it off", Act::Click, "rb_duoyinzi_context", context, false},
      {"checked under reading by context", Act::Trigger, "N_orthography", context, true},
      {"reading by context again keeps it", Act::Click, "rb_duoyinzi_context", context, true},
      {"unchecking it keeps reading by context", Act::Trigger, "N_orthography", context, false},
      {"checked at last", Act::Trigger, "N_orthography", context, true},
  };
  TestProgramFolder folder;
  ScriptedDialogs dialogs;
  {
    TfrmMain window(folder.path(), dialogs);
    QAction& orthography = Child<QAction>(window, "N_orthography");
    EXPECT_TRUE(orthography.isCheckable());
    EXPECT_TRUE(orthography.isEnabled());
    EXPECT_FALSE(orthography.isChecked()) << "off at first start";
    for (const Step& step : steps) {
      SCOPED_TRACE(step.what);
      if (step.act == Act::Trigger) {
        Child<QAction>(window, step.control).trigger();
      } else {
        Child<QRadioButton>(window, step.control).click();
      }
      const ConversionSettings settings = window.CurrentSettings();
      EXPECT_EQ(settings.polyphone, step.policy);
      EXPECT_EQ(settings.orthography, step.orthography);
      EXPECT_EQ(orthography.isChecked(), step.orthography);
      EXPECT_TRUE(orthography.isEnabled());
      EXPECT_EQ(Child<QRadioButton>(window, "rb_duoyinzi_context").isChecked(),
                step.policy == context);
      // The other options stay as they were.
      ConversionSettings others = settings;
      others.polyphone = PolyphonePolicy::FirstReading;
      others.orthography = false;
      EXPECT_EQ(others, ConversionSettings{});
    }
    window.close();
  }
  EXPECT_EQ(ReadBytes(folder / kSettingsFileName),
            Gb("2\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n我爱北京天安门，天安门上红旗飘\r\n") +
                "0\r\n0\r\n1\r\n1\r\n");
  {
    TfrmMain window(folder.path(), dialogs);
    EXPECT_TRUE(Child<QAction>(window, "N_orthography").isChecked());
    EXPECT_TRUE(Child<QRadioButton>(window, "rb_duoyinzi_context").isChecked());
    // Unchecked through another policy, it is saved off.
    Child<QRadioButton>(window, "rb_duoyinzi_multi").click();
    window.close();
  }
  EXPECT_EQ(ReadBytes(folder / kSettingsFileName),
            Gb("1\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n我爱北京天安门，天安门上红旗飘\r\n") +
                kReadingDefaults);
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST(Settings, HiddenOptionsAtCloseGiveTheSmallWindowNextTime) {
  TestProgramFolder folder;
  ScriptedDialogs dialogs;
  {
    TfrmMain window(folder.path(), dialogs);
    Child<QAction>(window, "N_hideoptions").trigger();
    ExpectOptionsShown(window, false);
    // Hidden groups keep their states and still count.
    Child<QRadioButton>(window, "rb_output_hanpy").setChecked(true);
    window.close();
  }
  {
    TfrmMain window(folder.path(), dialogs);
    ExpectOptionsShown(window, false);
    EXPECT_EQ(window.CurrentSettings().outputFormat, OutputFormat::rb_output_hanpy);
    Child<QAction>(window, "n_showoptions").trigger();
    ExpectOptionsShown(window, true);
    Child<QAction>(window, "n_showoptions").trigger();
    ExpectOptionsShown(window, true);
  }
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST(Language, EnglishChangesExactlyTheTenCaptions) {
  TestProgramFolder chinese;
  TestProgramFolder english;
  WriteBytes(english / kLanguageFileName, "en\r\nsecond line\r\nthird\r\n");
  ScriptedDialogs dialogs;
  TfrmMain chineseWindow(chinese.path(), dialogs);
  TfrmMain englishWindow(english.path(), dialogs);
  EXPECT_EQ(englishWindow.LanguageFlag(), kEnglish);
  EXPECT_EQ(ReadBytes(english / kLanguageFileName), "en\r\n");

  const auto before = Captions(chineseWindow);
  const auto after = Captions(englishWindow);
  ASSERT_EQ(before.size(), after.size());
  std::map<std::string, std::pair<QString, QString>> changed;
  for (const auto& [name, text] : before) {
    if (after.at(name) != text) changed[name] = {text, after.at(name)};
  }
  const std::map<std::string, std::pair<QString, QString>> expected = {
      {"btnopen", {Q("打开"), "Open"}},
      {"btnOk", {Q("执行"), "Start"}},
      {"N1", {Q("文件"), "File"}},
      {"N2", {Q("打开中文文件"), "Open"}},
      {"N3", {Q("拼音文件保存为"), "Save as"}},
      {"N5", {Q("退出"), "Exit"}},
      {"N6", {Q("帮助"), "Help"}},
      {"N7", {Q("使用说明"), "Content"}},
      {"N8", {Q("在线帮助"), "Online help"}},
      {"N10", {Q("关于"), "About"}},
  };
  EXPECT_EQ(changed, expected);
  EXPECT_EQ(englishWindow.windowTitle(), QStringLiteral("Tolvanev") + kVersion)
      << "the last start-up step sets it";

  for (const QWidget* widget : chineseWindow.findChildren<QWidget*>()) {
    if (widget->objectName().isEmpty()) continue;
    EXPECT_EQ(Child<QWidget>(englishWindow, widget->objectName().toLatin1().constData()).isHidden(),
              widget->isHidden())
        << widget->objectName().toStdString();
  }
  EXPECT_TRUE(dialogs.errorTexts.empty());
}

TEST(Language, EveryOtherFirstLineGivesChinese) {
  // The file's own variants are covered by the language-file tests; these show the window
  // takes them the same way.
  const std::string files[] = {"EN\r\n", "en \r\n", ""};
  for (const std::string& bytes : files) {
    SCOPED_TRACE(bytes);
    TestProgramFolder folder;
    WriteBytes(folder / kLanguageFileName, bytes);
    ScriptedDialogs dialogs;
    TfrmMain window(folder.path(), dialogs);
    EXPECT_EQ(window.LanguageFlag(), kChinese);
    EXPECT_EQ(Child<QPushButton>(window, "btnOk").text(), Q("执行"));
    EXPECT_EQ(ReadBytes(folder / kLanguageFileName), "ch\r\n");
  }
}

TEST(Language, interfacelanguageSetsTheLanguageTitleAndRewritesTheFile) {
  TestProgramFolder folder;
  ScriptedDialogs dialogs;
  TfrmMain window(folder.path(), dialogs);
  window.interfacelanguage(kEnglish);
  EXPECT_EQ(window.windowTitle(), "Ostrevin v2.0.1");
  EXPECT_EQ(Child<QMenu>(window, "N6").title(), "Help");
  EXPECT_EQ(ReadBytes(folder / kLanguageFileName), "en\r\n");
  window.interfacelanguage(2);
  EXPECT_EQ(window.windowTitle(), "Quenmar");
  EXPECT_EQ(Child<QMenu>(window, "N6").title(), Q("帮助"));
  EXPECT_EQ(ReadBytes(folder / kLanguageFileName), "ch\r\n");
}

TEST(StartupFailure, StopsAtTheFailingStepAndShowsTheWindowAsFarAsItGot) {
  struct Case {
    const char* what;
    std::function<void(const TestProgramFolder&)> prepare;
    std::string errorStart;
    QString title;
    QString openItem;  // the caption of N2 shows whether the language step ran
    QSize size;
  };
  const Case cases[] = {
      {"config.db cannot be written",
       [](const TestProgramFolder& folder) {
         // A link into a folder that does not exist: there is no file to read, and creating
         // one fails.
         std::filesystem::create_symlink(folder / "missing" / "config.db",
                                         folder / kLanguageFileName);
       },
       "File not found",
       "Quenmar",
       Q("打开中文文件"),
       {532, 495}},
      {"config.db cannot be read",
       [](const TestProgramFolder& folder) {
         std::filesystem::create_directory(folder / kLanguageFileName);
       },
       "Cannot open file \"",
       "GB2312 Quenmar",
       Q("打开"),
       {532, 495}},
      {"a data file cannot be read",
       [](const TestProgramFolder& folder) {
         std::filesystem::create_directory(folder / kStandardKeysFile);
       },
       "Cannot open file \"",
       "GB2312 Quenmar",
       Q("打开"),
       {543, 499}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestProgramFolder folder;
    c.prepare(folder);
    WriteBytes(folder / kSettingsFileName,
               "1\r\n2\r\n1\r\n4\r\n6\r\n1\r\n1\r\n" + Gb("天") + "\r\n");
    ScriptedDialogs dialogs;
    TfrmMain window(folder.path(), dialogs);
    ASSERT_EQ(dialogs.errorTexts.size(), 1u);
    const std::string error = dialogs.errorTexts[0].toStdString();
    EXPECT_EQ(error.rfind(c.errorStart, 0), 0u) << error;
    EXPECT_EQ(error.back(), '.') << error;
    EXPECT_EQ(window.windowTitle(), c.title);
    EXPECT_EQ(Child<QAction>(window, "N2").text(), c.openItem);
    EXPECT_EQ(window.OuterSize(), c.size);
    EXPECT_TRUE(window.SettingsFromControls() == DesignedWindowSettings()) << "settings not loaded";
  }
}

TEST(Shutdown, SettingsThatCannotBeWrittenAreReportedAndTheWindowStillCloses) {
  TestProgramFolder folder;
  ScriptedDialogs dialogs;
  TfrmMain window(folder.path(), dialogs);
  window.show();
  std::filesystem::create_directory(folder / kSettingsFileName);
  EXPECT_TRUE(window.close());
  EXPECT_FALSE(window.isVisible());
  ASSERT_EQ(dialogs.errorTexts.size(), 1u);
  EXPECT_EQ(dialogs.errorTexts[0].back(), u'.') << dialogs.errorTexts[0].toStdString();
  EXPECT_TRUE(window.ReadingSession().Data()->ToneVowelList().empty());
}

TEST(Shutdown, TheErrorNamesTheSettingsFileAndWhy) {
  TestProgramFolder folder;
  ScriptedDialogs dialogs;
  TfrmMain window(folder.path(), dialogs);
  window.show();
  std::filesystem::create_directory(folder / kSettingsFileName);
  window.close();
  EXPECT_EQ(dialogs.errorTexts, std::vector<QString>{QStringFromPath(folder / kSettingsFileName) +
                                                     ": Is a directory."});
}

TEST(Shutdown, N5ClosesTheWindowAndSavesTheSettings) {
  TestProgramFolder folder;
  ScriptedDialogs dialogs;
  TfrmMain window(folder.path(), dialogs);
  window.show();
  Child<QRadioButton>(window, "RadioButton_num").setChecked(true);
  Child<QAction>(window, "N5").trigger();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(ReadBytes(folder / kSettingsFileName),
            Gb("0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n我爱北京天安门，天安门上红旗飘\r\n") +
                kReadingDefaults);
}

}  // namespace
}  // namespace tolvane
