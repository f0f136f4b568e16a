// The error-box text rule and the real message boxes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "WindowTestSupport.h"
#include "ui/Dialogs.h"

namespace tolvane {
namespace {

using test::Q;

TEST(ErrorBoxText, AppendsADotAfterCharactersAboveTheDot) {
  const std::pair<const char*, const char*> cases[] = {
      {"File not found", "File not found."},
      {"I/O error 5", "I/O error 5."},
      {"Disk full.", "Disk full."},
      {"List index out of bounds (3)", "List index out of bounds (3)"},  // ")" lies below "."
      {"x-", "x-"},
      {"x!", "x!"},
      {"x ", "x "},
      {"x/", "x/."},  // "/" lies just above "."
      {"无法打开", "无法打开."},
      {"", ""},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ErrorBoxText(Q(text)), Q(expected)) << text;
  }
}

struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
};

// Looks at the box once it is up, then lets `answer` close it.
void WhenTheBoxIsUp(SeenBox& seen, std::function<void(QMessageBox&)> answer) {
  QTimer::singleShot(0, [&seen, answer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      ADD_FAILURE() << "no box is up";
      return;
    }
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    for (const QAbstractButton* button : box->buttons()) seen.buttons << button->text();
    answer(*box);
  });
}

QAbstractButton* ButtonNamed(QMessageBox& box, const QString& text) {
  for (QAbstractButton* button : box.buttons()) {
    if (button->text() == text) return button;
  }
  return nullptr;
}

TEST(QtDialogs, OnlyYesConsents) {
  QtDialogs dialogs;
  const std::pair<std::function<void(QMessageBox&)>, bool> answers[] = {
      {[](QMessageBox& box) { ButtonNamed(box, "&Yes")->click(); }, true},
      {[](QMessageBox& box) { ButtonNamed(box, "&No")->click(); }, false},
      {[](QMessageBox& box) { box.reject(); }, false},
      {[](QMessageBox& box) { box.close(); }, false},
  };
  for (const auto& [answer, consent] : answers) {
    SeenBox seen;
    WhenTheBoxIsUp(seen, answer);
    EXPECT_EQ(dialogs.Confirm(nullptr, Q("执行完成，是否打开文件\r\r/tmp/a.txt")), consent);
    EXPECT_EQ(seen.title, "Confirm");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, (QStringList{"&Yes", "&No"}));
    EXPECT_EQ(seen.text, Q("执行完成，是否打开文件\n\n/tmp/a.txt")) << "CR breaks the line";
  }
}

TEST(QtDialogs, MessagesAndErrorsCarryTheApplicationTitle) {
  QtDialogs dialogs;
  SeenBox message;
  WhenTheBoxIsUp(message, [](QMessageBox& box) { box.accept(); });
  dialogs.Message(nullptr, Q("没有找到：  字"));
  EXPECT_EQ(message.title, Q("Tolvane软件"));
  EXPECT_EQ(message.icon, QMessageBox::NoIcon);
  EXPECT_EQ(message.buttons.size(), 1);
  EXPECT_EQ(message.text, Q("没有找到：  字"));

  SeenBox error;
  WhenTheBoxIsUp(error, [](QMessageBox& box) { box.accept(); });
  dialogs.Error(nullptr, "Disk full.");
  EXPECT_EQ(error.title, Q("Tolvane软件"));
  EXPECT_EQ(error.icon, QMessageBox::Critical);
  EXPECT_EQ(error.buttons.size(), 1);
  EXPECT_EQ(error.text, "Disk full.");
}

}  // namespace
}  // namespace tolvane
