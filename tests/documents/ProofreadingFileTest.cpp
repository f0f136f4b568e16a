// The proofreading file: what is saved reads back exactly, and a damaged file names its line.
#include <gtest/gtest.h>

#include <filesystem>

#include "documents/ProofreadingFile.h"
#include "platform/Error.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

ProofreadingText WithCorrections(std::string text) {
  ProofreadingText proofread(std::move(text));
  proofread.AddCorrection({CorrectionScope::EveryOccurrence, 0, "银行", {"yin2", "hang2"}});
  return proofread;
}

TEST(ProofreadingFileTest, WhatIsSavedReadsBackExactly) {
  const char* texts[] = {
      "",
      "行",
      "第一行\r\n第二行\r\n",
      "no line end at the end",
      "\n\n\nblank lines first\n",
      "here\t1\t行\txing2\n",  // text that looks like a correction line
      "𠀀𪚥 beyond the basic plane, \xc3\xa9 and a tab\t\r\n",
      "tolvane-proofreading 1\n\n",
      "CR alone\rstays\r",
  };
  test::TempDir folder;
  for (const char* content : texts) {
    SCOPED_TRACE(content);
    ProofreadingText text = WithCorrections(content);
    const std::size_t at = std::string_view(content).find("行");
    if (at != std::string_view::npos) {
      const std::size_t position = CodePointCount(std::string_view(content).substr(0, at));
      text.AddCorrection({CorrectionScope::Occurrence, position, "行", {"xing2"}});
    }
    const std::filesystem::path file = folder / "text.proof";
    WriteProofreadingFile(text, file);
    EXPECT_EQ(ReadProofreadingFile(file), text);
    // The text stands verbatim after the head, as the format promises.
    const std::string saved = test::ReadBytes(file);
    EXPECT_TRUE(saved.ends_with(content));
  }
}

TEST(ProofreadingFileTest, TheFormatIsTheDocumentedOne) {
  ProofreadingText text("他去银行。\n行");
  text.AddCorrection({CorrectionScope::Occurrence, 6, "行", {"xing2"}});
  text.AddCorrection({CorrectionScope::EveryOccurrence, 0, "银行", {"yin2", "hang2"}});
  EXPECT_EQ(ProofreadingFileText(text),
            "tolvane-proofreading 1\n"
            "here\t6\t行\txing2\n"
            "everywhere\t银行\tyin2 hang2\n"
            "\n"
            "他去银行。\n行");
  // Correction lines written with CR LF read the same.
  EXPECT_EQ(ParseProofreadingFile("tolvane-proofreading 1\r\nhere\t6\t行\txing2\r\n"
                                  "everywhere\t银行\tyin2 hang2\r\n\r\n他去银行。\n行",
                                  "x"),
            text);
}

TEST(ProofreadingFileTest, ADamagedFileNamesItselfAndTheLine) {
  struct Case {
    const char* content;
    const char* error;
  };
  const Case cases[] = {
      {"", "/f.proof:1: the file is empty"},
      {"tolvane-proofreading 2\n\n", "/f.proof:1: the first line is not"},
      {"tolvane-proofreading 1", "/f.proof:1: the line does not end"},
      {"tolvane-proofreading 1\n", "/f.proof:2: the empty line before the text is missing"},
      {"tolvane-proofreading 1\neverywhere\t行\txing2\n", "/f.proof:3: the empty line"},
      {"tolvane-proofreading 1\nsomewhere\t行\txing2\n\n", "/f.proof:2: \"somewhere\" is neither"},
      {"tolvane-proofreading 1\nhere\t行\txing2\n\n", "/f.proof:2: a \"here\" line has 4 fields"},
      {"tolvane-proofreading 1\neverywhere\t行\n\n", "/f.proof:2: an \"everywhere\" line has 3"},
      {"tolvane-proofreading 1\nhere\tx1\t行\txing2\n\n行", "/f.proof:2: \"x1\" is no character"},
      {"tolvane-proofreading 1\nhere\t-1\t行\txing2\n\n行", "/f.proof:2: \"-1\" is no character"},
      {"tolvane-proofreading 1\neverywhere\t行\txíng\n\n", "/f.proof:2: \"xíng\" is no numbered"},
      {"tolvane-proofreading 1\neverywhere\t银行\txing2\n\n",
       "/f.proof:2: 2 characters but 1 syllables"},
      {"tolvane-proofreading 1\neverywhere\t行\txing2\nhere\t1\t行\txing2\n\n行",
       "/f.proof:3: \"行\" does not stand at character 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    try {
      ParseProofreadingFile(c.content, "/some/f.proof");
      ADD_FAILURE() << "read";
    } catch (const Error& error) {
      EXPECT_NE(std::string(error.what()).find(std::string("/some") + c.error), std::string::npos)
          << error.what();
      EXPECT_EQ(error.path(), "/some/f.proof");
    }
  }
}

TEST(ProofreadingFileTest, AFileThatCannotBeReadRaisesItsFileError) {
  test::TempDir folder;
  try {
    ReadProofreadingFile(folder / "missing.proof");
    ADD_FAILURE() << "read";
  } catch (const Error& error) {
    EXPECT_EQ(error.path(), folder / "missing.proof");
  }
}

TEST(ProofreadingFileTest, AFailedSaveLeavesTheOldFileAndNoScratch) {
  test::TempDir folder;
  const std::filesystem::path file = folder / "text.proof";
  WriteProofreadingFile(ProofreadingText("旧"), file);
  // A folder where the file should go: the rename fails whoever runs the test.
  const std::filesystem::path blocked = folder / "blocked.proof";
  std::filesystem::create_directory(blocked);
  test::WriteBytes(blocked / "inside", "x");
  EXPECT_THROW(WriteProofreadingFile(ProofreadingText("新"), blocked), Error);
  EXPECT_EQ(ReadProofreadingFile(file).Text(), "旧");
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
    ++entries;
  EXPECT_EQ(entries, 2u);  // text.proof and the folder, no scratch file
}

}  // namespace
}  // namespace tolvane
