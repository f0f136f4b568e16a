#include "reading/Session.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/Error.h"
#include "reading/LineReadings.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::Gb;
using test::TempDir;
using test::WriteBytes;

// A folder with the shipped tone glyphs and phrase data, and a user dictionary of one entry.
class SessionTest : public testing::Test {
 protected:
  void SetUp() override {
    test::LinkShippedReadingData(folder_.path());
    WriteUser("Hang");
    StartSession(session_, folder_.path());
  }
  void WriteUser(const std::string& reading) {
    WriteBytes(folder_ / kStandardKeysFile, Gb("行\r\n"));
    WriteBytes(folder_ / kStandardReadingsFile, reading + "\r\n");
  }
  static std::string ReadingOf(const ReadingData& data, const char* characterUtf8) {
    return data.LookupReading(Gb(characterUtf8), ConversionSettings{});
  }

  TempDir folder_;
  Session session_;
};

TEST_F(SessionTest, ASnapshotKeepsItsDataWhateverTheSessionLoadsAfterIt) {
  const std::shared_ptr<const ReadingData> before = session_.Data();
  WriteUser("Xing");
  session_.ReloadDataFiles();
  EXPECT_EQ(ReadingOf(*before, "行"), "Hang") << "the old snapshot is unchanged";
  EXPECT_EQ(ReadingOf(*session_.Data(), "行"), "Xing") << "the next reader sees the reload";

  session_.ReleaseDataFiles();
  EXPECT_EQ(ReadingOf(*before, "行"), "Hang");
  EXPECT_TRUE(session_.Data()->StandardDictionary().empty());
  EXPECT_TRUE(session_.Data()->ToneVowelList().empty());
  EXPECT_EQ(session_.Data()->NumberedReadingTable().Count(), 6727u) << "the tables stay filled";
}

TEST_F(SessionTest, LineReadingsReadTheSnapshotTheyWereMadeFrom) {
  ConversionSettings context;
  context.polyphone = PolyphonePolicy::ByContext;
  for (const ConversionSettings& settings : {ConversionSettings{}, context}) {
    LineReadings readings(session_.Data());
    const auto first = [&] {
      std::string out;
      readings.ForEachReadingOfLine<TextForm::Unicode>(
          "行", settings,
          [&](std::string_view, char32_t, const PositionReading& r) { out = r.display; });
      return out;
    };
    EXPECT_EQ(first(), "Hang");
    WriteUser("Xing");
    session_.ReloadDataFiles();
    EXPECT_EQ(first(), "Hang");
    EXPECT_EQ(LineReadings(session_.Data()).Data().StandardDictionary().FindReading(Gb("行")),
              "Xing");
    WriteUser("Hang");
    session_.ReloadDataFiles();
  }
}

TEST_F(SessionTest, ThreadsAskingForThePhraseDataAtOnceShareOneLoad) {
  const std::shared_ptr<const ReadingData> data = session_.Data();
  constexpr int kThreads = 4;
  std::vector<const PhraseData*> seen(kThreads, nullptr);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i)
    threads.emplace_back([&, i] { seen[i] = &data->ContextData(); });
  for (std::thread& thread : threads) thread.join();
  for (const PhraseData* phrases : seen) {
    ASSERT_NE(phrases, nullptr);
    EXPECT_EQ(phrases, seen[0]);
  }
  EXPECT_GT(seen[0]->WordCount(), 100000u);
}

TEST_F(SessionTest, ReloadsKeepThePhraseDataAndAnotherFolderLoadsItsOwn) {
  const std::shared_ptr<const ReadingData> first = session_.Data();  // keeps its load alive
  const PhraseData* loaded = &first->ContextData();
  session_.ReloadDataFiles();
  EXPECT_EQ(&session_.Data()->ContextData(), loaded) << "a reload does not read it again";
  TempDir other;
  std::filesystem::copy(
      folder_.path(), other.path(),
      std::filesystem::copy_options::overwrite_existing | std::filesystem::copy_options::recursive);
  session_.LoadDataFiles(other.path());
  EXPECT_NE(&session_.Data()->ContextData(), loaded);
}

TEST_F(SessionTest, AFailingLoadPublishesWhatItReadAndRaises) {
  // A dictionary file that exists but cannot be read: a folder in its place.
  std::filesystem::remove(folder_ / kStandardReadingsFile);
  std::filesystem::create_directory(folder_ / kStandardReadingsFile);
  EXPECT_THROW(session_.ReloadDataFiles(), Error);
  const auto data = session_.Data();
  EXPECT_EQ(data->StandardDictionary().Count(), 1u) << "the keys read before the failure stay";
  EXPECT_TRUE(data->WadeGilesDictionary().empty());
  EXPECT_TRUE(data->ToneVowelList().empty());
  EXPECT_EQ(data->NumberedReadingTable().Count(), 6727u);
}

}  // namespace
}  // namespace tolvane
