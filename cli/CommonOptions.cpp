#include "cli/CommonOptions.h"

#include <map>
#include <ostream>

#include "documents/DocumentFormat.h"
#include "platform/TextCodec.h"

namespace tolvane {
namespace {

const std::map<std::string, ToneStyle> kToneStyles = {
    {"marked", ToneStyle::Marked}, {"numbered", ToneStyle::Numbered}, {"plain", ToneStyle::Plain}};
const std::map<std::string, PolyphonePolicy> kPolicies = {{"first", PolyphonePolicy::FirstReading},
                                                          {"all", PolyphonePolicy::AllReadings},
                                                          {"context", PolyphonePolicy::ByContext}};
const std::map<std::string, NeutralTone> kNeutralTones = {{"spoken", NeutralTone::Spoken},
                                                          {"citation", NeutralTone::Citation}};
const std::map<std::string, bool> kErhuaForms = {{"r", true}, {"er", false}};
const std::map<std::string, OutputFormat> kFormats = {
    {"py", OutputFormat::rb_output_py},           {"han", OutputFormat::rb_output_han},
    {"hanpy", OutputFormat::rb_output_hanpy},     {"pyhan", OutputFormat::rb_output_pyhan},
    {"py-only", OutputFormat::rb_output_py_only}, {"html", OutputFormat::html}};
const std::map<std::string, EncodingChoice> kEncodings = {
    {"auto", EncodingChoice::Auto},    {"utf-8", EncodingChoice::Utf8},
    {"utf-16", EncodingChoice::Utf16}, {"gb18030", EncodingChoice::Gb18030},
    {"gbk", EncodingChoice::Gbk},      {"gb2312", EncodingChoice::Gb2312}};

}  // namespace

void AddEncodingOption(CLI::App& command, EncodingChoice& encoding, const std::string& help) {
  command.add_option("--encoding", encoding, help)
      ->transform(CLI::CheckedTransformer(kEncodings, CLI::ignore_case))
      ->option_text("auto|utf-8|utf-16|gb18030|gbk|gb2312");
}

ConversionSettings CommandLineSettings() {
  ConversionSettings settings;
  settings.polyphone = PolyphonePolicy::ByContext;
  return settings;
}

void ReadingOptions::AddTo(CLI::App& command) {
  command
      .add_option("--tone", settings.toneStyle, "Tone style: marked (default), numbered or plain")
      ->transform(CLI::CheckedTransformer(kToneStyles, CLI::ignore_case))
      ->option_text("marked|numbered|plain");
  polyphone_ =
      command
          .add_option("--polyphone", settings.polyphone,
                      "Characters with several readings: context (default: the one the words "
                      "around it call for), first (the first of the built-in table's, as the "
                      "window reads by default) or all (every one, joined by /)")
          ->transform(CLI::CheckedTransformer(kPolicies, CLI::ignore_case))
          ->option_text("context|first|all");
  neutralTone_ =
      command
          .add_option("--neutral-tone", settings.neutralTone,
                      "Syllables that speech makes light: spoken (default: neutral, as "
                      "dictionaries write them: péngyou, xǐhuan) or citation (every syllable of "
                      "a word in its full tone, but for the characters whose own reading is "
                      "neutral: 的, 了, 吗); with --polyphone context only")
          ->transform(CLI::CheckedTransformer(kNeutralTones, CLI::ignore_case))
          ->option_text("spoken|citation");
  sandhi_ = command.add_flag("--sandhi", settings.sandhi,
                             "一 and 不 in the tones speech gives them: 不 bú before a fourth "
                             "tone, 一 yí before a fourth tone and yì before the others, yī where "
                             "it counts or orders; with --polyphone context only");
  erhua_ = command
               .add_option("--erhua", settings.erhua,
                           "The 儿 of erhua words (一会儿, 哪儿): r (default) in a column of its "
                           "own (r5 in numbered tones), or er; with --polyphone context and "
                           "spoken neutral tones only")
               ->transform(CLI::CheckedTransformer(kErhuaForms, CLI::ignore_case))
               ->option_text("r|er");
  command.add_flag("--wade-giles", settings.wadeGiles,
                   "Consult the Wade-Giles user dictionary instead of the standard one");
  command
      .add_option("--data-dir", dataDir,
                  "Folder of the data files (user dictionaries, tone glyphs) and of temp.txt; "
                  "default: the program folder of a portable copy; for an installed one, "
                  "the dictionaries in $XDG_DATA_HOME/tolvane, the glyphs in share/tolvane "
                  "and temp.txt in $XDG_CACHE_HOME/tolvane")
      ->check(CLI::ExistingDirectory);
}

void ReadingOptions::CheckReadingByContext() const {
  if (settings.polyphone != PolyphonePolicy::ByContext) {
    for (const CLI::Option* option : {neutralTone_, sandhi_, erhua_}) {
      if (option->count() > 0)
        throw CLI::ValidationError(option->get_name(),
                                   "applies to reading by context only (--polyphone context)");
    }
  }
  if (settings.neutralTone == NeutralTone::Citation && erhua_->count() > 0 && settings.erhua)
    throw CLI::ValidationError("--erhua r",
                               "applies with spoken neutral tones only (--neutral-tone spoken); "
                               "citation tones write the 儿 as er");
}

void ReadingOptions::CheckOrthography() const {
  if (!settings.orthography) return;
  if (polyphone_->count() > 0 && settings.polyphone != PolyphonePolicy::ByContext)
    throw CLI::ValidationError("--orthography",
                               "reads by context: it cannot go with --polyphone first or all");
}

void ReadingOptions::AddEncodingTo(CLI::App& command) {
  AddEncodingOption(command, encoding,
                    "Encoding of the file read: auto (default: a byte-order mark, else UTF-8 "
                    "when the file is UTF-8, else GB18030 when it holds GB18030's four-byte "
                    "sequences, else GB2312/GBK), utf-8, utf-16, gb18030, gbk or gb2312");
}

void ReadingOptions::AddLayoutTo(CLI::App& command, bool withWrap, bool withDocuments) {
  const std::string layouts =
      "Layout: py (pinyin line above the characters, default), han (characters above pinyin), "
      "hanpy (character(reading)), pyhan ((reading)character), py-only (readings alone), or "
      "html (a web page in UTF-8 with each reading in ruby over its character; chosen too by a "
      "TARGET ending in .html or .htm)";
  if (!withDocuments) {
    format = command.add_option("--format", settings.outputFormat, layouts)
                 ->transform(CLI::CheckedTransformer(kFormats, CLI::ignore_case))
                 ->option_text("py|han|hanpy|pyhan|py-only|html");
  } else {
    std::vector<std::string> names;
    for (const auto& [name, layout] : kFormats) names.push_back(name);
    for (const char* name : {"docx", "odt", "epub", "srt", "vtt"}) names.emplace_back(name);
    format = command
                 .add_option_function<std::string>(
                     "--format",
                     [this](const std::string& name) {
                       document = DocumentFormatNamed(name);
                       if (document) return;
                       for (const auto& [each, layout] : kFormats)
                         if (CLI::detail::to_lower(name) == each) settings.outputFormat = layout;
                     },
                     layouts +
                         "; or a document with each reading in ruby over its character, laid "
                         "out by --design: docx (Word), odt (LibreOffice), epub (EPUB 3), or "
                         "subtitles annotated cue by cue, their timings kept: srt (each text "
                         "line under its pinyin line), vtt (WebVTT, readings in ruby). A TARGET "
                         "ending in .docx, .odt, .epub, .srt or .vtt chooses the document, and "
                         "an SRT or WebVTT SOURCE is converted cue by cue into its own format")
                 ->check(CLI::IsMember(names, CLI::ignore_case))
                 ->option_text("py|han|hanpy|pyhan|py-only|html|docx|odt|epub|srt|vtt");
  }
  command.add_flag("--orthography", settings.orthography,
                   "Write pinyin by words as the basic rules of Hanyu Pinyin orthography do: "
                   "a word's syllables joined (Běijīng), sentences and proper nouns "
                   "capitalised, Latin punctuation; reads by context. py-only writes the written "
                   "line, py and han set each word over its characters, hanpy and pyhan put it "
                   "after or before them, html puts one ruby over each word, and --wrap breaks "
                   "lines between words only");
  command.add_flag("--no-align{false}", settings.align,
                   "In the py and han layouts, keep the character line as it is instead of "
                   "moving each character under its reading");
  if (withWrap) {
    command
        .add_option("--wrap", settings.wrapWidth,
                    "Re-cut the lines into pieces of this many characters first "
                    "(0 = no re-cut, default): 0, 100, 50, 40, 30, 20 or 10")
        ->check(CLI::IsMember({0, 100, 50, 40, 30, 20, 10}))
        ->option_text("0|100|50|40|30|20|10");
  }
}

void StartReadingData(Session& session, DataToLoad data, const FileLocations& locations,
                      const std::filesystem::path& dataDir) {
  if (data == DataToLoad::BuiltInTables) {
    session.InitNumberedTable();
    session.InitPlainTable();
    return;
  }
  StartSession(session, dataDir.empty() ? DataFolders{locations.dictionaries, locations.data}
                                        : DataFolders{dataDir, dataDir});
}

std::string UnicodeTextOf(std::string_view argumentUtf8) {
  return DecodeText(argumentUtf8, Encoding::Utf8).text;
}

std::string DisplayName(const std::filesystem::path& path, const char* standardName) {
  return path == kStandardStream ? std::string(standardName) : path.string();
}

void PrintError(const Error& error, std::ostream& err) {
  err << "tolvane-cli: ";
  const std::string message = error.what();
  if (!error.path().empty() && message.find(error.path().string()) == std::string::npos)
    err << DisplayName(error.path(), "standard output") << ": ";
  err << message << '\n';
}

}  // namespace tolvane
