#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileBytes.h"

// The polyphone model of reading by context: a small bidirectional LSTM over the characters of a
// clause that scores the readings of a polyphonic character from everything around it, not only
// from the words it stands in. Its file (tools/gen_polyphone_model.py writes it) holds the
// network with the input side of the recurrence precomputed per character, the polyphones it
// decides and their candidate readings.
namespace tolvane {

// A reading of the model, an index into its list of readings.
using ModelReadingId = std::uint16_t;

struct ReadingScore {
  ModelReadingId reading;
  float score;  // a logit: only the order and the differences between candidates mean anything
};

// The hidden states of one run of the model over a window of text: scratch memory of one
// thread, reused from run to run.
struct ModelStates {
  std::vector<float> forward;   // (length + 2) x hidden, the begin and end tokens included
  std::vector<float> backward;  // the same positions, run from the end
  std::size_t length = 0;       // characters of the window
  // The characters of the window whose states both directions reached: [first, last].
  std::size_t first = 0;
  std::size_t last = 0;
};

class PolyphoneModel {
 public:
  static constexpr std::size_t kHidden = 32;
  static constexpr std::size_t kGates = 4 * kHidden;
  static constexpr std::size_t kDense = 32;

  // Maps the file: the input side of the recurrence, nearly all of it, is read where it lies, so
  // only the rows of the characters a text holds come into memory. A file that cannot be read
  // raises the text-file error; a file that is not a model of this version, or is cut short or
  // inconsistent, raises "<file>: <reason>".
  static std::unique_ptr<PolyphoneModel> Load(const std::filesystem::path& file);
  // The same from a copy of the file's bytes; `file` names it in the errors.
  static std::unique_ptr<PolyphoneModel> FromBytes(std::string_view bytes,
                                                   const std::filesystem::path& file);

  ~PolyphoneModel();
  PolyphoneModel(const PolyphoneModel&) = delete;
  PolyphoneModel& operator=(const PolyphoneModel&) = delete;

  // The readings the model chooses among for `cp`; empty for a character it does not decide.
  std::span<const ModelReadingId> Candidates(char32_t cp) const;
  // The reading the model gives `cp` nearly everywhere (in 95% of its occurrences in running
  // text), if it has one: where the words already give it, running the model would not pay.
  std::optional<ModelReadingId> UsualReading(char32_t cp) const;
  // A reading as numbered pinyin in the program's spelling ("zhang3", "lv4", "le5").
  const std::string& Reading(ModelReadingId id) const { return readings_[id]; }
  std::size_t ReadingCount() const { return readings_.size(); }
  std::size_t PolyphoneCount() const { return polyphones_.size(); }
  // Memory the loaded model holds, in bytes.
  std::size_t MemoryBytes() const;

  // Runs both directions over `window`, wrapped in the begin and end tokens as the model was
  // trained, into `states`.
  void Run(std::span<const char32_t> window, ModelStates& states) const;
  // The same for the scores of the characters [first, last] of `window` only: forward from the
  // window's start to `last`, backward from its end to `first`, which is all those scores read.
  // Their states are those of the whole run. Needs first <= last < window.size().
  void Run(std::span<const char32_t> window, ModelStates& states, std::size_t first,
           std::size_t last) const;
  // The scores of the readings of `cp`, standing at `index` of the window last run into
  // `states`: one per candidate, in the order of Candidates(cp); nothing for a character the
  // model does not decide or the run did not reach.
  void ScoresAt(const ModelStates& states, std::size_t index, char32_t cp,
                std::vector<ReadingScore>& out) const;

 private:
  explicit PolyphoneModel(FileBytes bytes);
  static std::unique_ptr<PolyphoneModel> Read(FileBytes bytes, const std::filesystem::path& file);
  struct Network;
  struct Polyphone {
    char32_t character;
    std::uint32_t first;  // its candidates stand at [first, first + count) of candidates_
    std::uint16_t count;
    std::uint16_t usual;  // the position of its usual reading among them, kNoUsualReading: none
  };
  static constexpr std::uint16_t kNoUsualReading = 0xFF;
  const Polyphone* FindPolyphone(char32_t cp) const;
  std::uint32_t VocabularyIndex(char32_t cp) const;

  FileBytes bytes_;  // the file, whose input gates the network reads in place
  std::unique_ptr<Network> network_;
  // The vocabulary index of every character of the Basic Multilingual Plane (the unknown
  // token's for those outside the vocabulary), and of the others, sorted by code point.
  std::vector<std::uint16_t> bmpIndexes_;
  std::vector<char32_t> vocabulary_;
  std::vector<std::uint32_t> vocabularyIndexes_;
  std::uint32_t unknown_ = 0;
  std::uint32_t begin_ = 0;
  std::uint32_t end_ = 0;
  std::vector<std::string> readings_;
  std::vector<Polyphone> polyphones_;  // sorted by character
  // For a character of the Basic Multilingual Plane: its index in polyphones_ + 1, 0 if none.
  std::vector<std::uint16_t> bmpPolyphones_;
  std::vector<ModelReadingId> candidates_;
};

// The window the model reads for the character at `position` of `text`: its clause, from the
// space or punctuation mark (or line start) before it to the one after it, the mark included,
// and at most `reach` characters on either side. Returns [begin, end).
struct TextWindow {
  std::size_t begin;
  std::size_t end;
  bool operator==(const TextWindow&) const = default;
};
TextWindow ClauseAround(std::span<const char32_t> text, std::size_t position, std::size_t reach);

// Whether `cp` ends a clause for the model's window.
bool EndsClause(char32_t cp);

}  // namespace tolvane
