#include "frontend/TargetNaming.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(DeriveTargetPath, InsertsInFrontOfTheFileNamesExtension) {
  struct Case {
    const char* source;
    const char* target;
  };
  const Case cases[] = {
      {"a.txt", "a_拼音.txt"},
      {"/home/u/texts/a.txt", "/home/u/texts/a_拼音.txt"},
      {"/home/u/old.files/a.txt", "/home/u/old.files/a_拼音.txt"},  // a dot in a folder name
      {"/home/u/.local/a.b.txt", "/home/u/.local/a.b_拼音.txt"},    // the last dot of the name
      {"notes", "notes_拼音"},
      {"/home/u/old.files/notes", "/home/u/old.files/notes_拼音"},
      {"/tmp/课文.txt", "/tmp/课文_拼音.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(DeriveTargetPath(c.source).string(), c.target);
}

TEST(IsHtmlTarget, TheLastExtensionIsHtmlOrHtmInAnyCase) {
  struct Case {
    const char* target;
    bool html;
  };
  const Case cases[] = {
      {"a.HTML", true},      {"a.htm", true},   {"a.html", true},       {"/x/课文.Htm", true},
      {"a.html.txt", false}, {"html", false},   {"a.txt", false},       {"/x.html/a", false},
      {"a.xhtml", false},    {"a.htmx", false}, {".html/a.txt", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsHtmlTarget(c.target), c.html) << c.target;
}

}  // namespace
}  // namespace tolvane
