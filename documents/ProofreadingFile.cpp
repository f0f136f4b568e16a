#include "documents/ProofreadingFile.h"

#include <cerrno>
#include <charconv>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "platform/Error.h"
#include "platform/ScratchFile.h"

namespace tolvane {
namespace {

constexpr std::string_view kHere = "here";
constexpr std::string_view kEverywhere = "everywhere";

std::vector<std::string_view> Fields(std::string_view line, char separator) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t end = line.find(separator);
    fields.push_back(line.substr(0, end));
    if (end == std::string_view::npos) return fields;
    line.remove_prefix(end + 1);
  }
}

Correction ParseCorrection(std::string_view line, const std::function<Error(std::string)>& fail) {
  const std::vector<std::string_view> fields = Fields(line, '\t');
  Correction correction;
  std::size_t next = 1;
  if (fields[0] == kHere) {
    correction.scope = CorrectionScope::Occurrence;
    if (fields.size() != 4) throw fail("a \"here\" line has 4 fields separated by tabs");
    const std::string_view number = fields[1];
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), correction.position);
    if (number.empty() || error != std::errc() || end != number.data() + number.size())
      throw fail("\"" + std::string(number) + "\" is no character position");
    next = 2;
  } else if (fields[0] == kEverywhere) {
    correction.scope = CorrectionScope::EveryOccurrence;
    if (fields.size() != 3) throw fail("an \"everywhere\" line has 3 fields separated by tabs");
  } else {
    throw fail("\"" + std::string(fields[0]) + "\" is neither \"here\" nor \"everywhere\"");
  }
  correction.characters = std::string(fields[next]);
  for (std::string_view syllable : Fields(fields[next + 1], ' '))
    if (!syllable.empty()) correction.syllables.emplace_back(syllable);
  if (std::string problem = CorrectionProblem(correction); !problem.empty()) throw fail(problem);
  return correction;
}

}  // namespace

std::string ProofreadingFileText(const ProofreadingText& text) {
  std::string out(kProofreadingHeader);
  out += '\n';
  for (const Correction& correction : text.Corrections()) {
    if (correction.scope == CorrectionScope::Occurrence) {
      out.append(kHere).append("\t").append(std::to_string(correction.position));
    } else {
      out.append(kEverywhere);
    }
    out.append("\t").append(correction.characters).append("\t");
    for (std::size_t i = 0; i < correction.syllables.size(); ++i)
      out.append(i == 0 ? "" : " ").append(correction.syllables[i]);
    out += '\n';
  }
  out += '\n';
  out += text.Text();
  return out;
}

ProofreadingText ParseProofreadingFile(std::string_view content,
                                       const std::filesystem::path& path) {
  std::size_t lineNumber = 0;
  const auto fail = [&](std::string what) {
    return Error(path.string() + ":" + std::to_string(lineNumber) + ": " + what, path);
  };
  // The next line of the head, without its line end; false at the end of the content.
  const auto nextLine = [&](std::string_view& line) {
    if (content.empty()) return false;
    ++lineNumber;
    const std::size_t end = content.find('\n');
    if (end == std::string_view::npos) throw fail("the line does not end; no text follows");
    line = content.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    content.remove_prefix(end + 1);
    return true;
  };
  std::string_view line;
  if (!nextLine(line)) {
    lineNumber = 1;
    throw fail("the file is empty");
  }
  if (line != kProofreadingHeader)
    throw fail("the first line is not \"" + std::string(kProofreadingHeader) + "\"");
  std::vector<std::pair<std::size_t, Correction>> corrections;
  for (;;) {
    if (!nextLine(line)) {
      ++lineNumber;
      throw fail("the empty line before the text is missing");
    }
    if (line.empty()) break;
    corrections.emplace_back(lineNumber, ParseCorrection(line, fail));
  }
  ProofreadingText text{std::string(content)};
  for (auto& [number, correction] : corrections) {
    lineNumber = number;
    try {
      text.AddCorrection(std::move(correction));
    } catch (const Error& error) {
      throw fail(error.what());
    }
  }
  return text;
}

ProofreadingText ReadProofreadingFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FileError(errno, path);
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) throw FileError(errno, path);
  return ParseProofreadingFile(content.str(), path);
}

void WriteProofreadingFile(const ProofreadingText& text, const std::filesystem::path& path) {
  ScratchFile scratch;
  scratch.Create(path, true);
  {
    std::ofstream out(scratch.path(), std::ios::binary | std::ios::trunc);
    if (!out) throw FileError(errno, path);
    out << ProofreadingFileText(text);
    out.close();
    if (!out) throw FileError(errno, path);
  }
  scratch.RenameTo(path);
}

}  // namespace tolvane
