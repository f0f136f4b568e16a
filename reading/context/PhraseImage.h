#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/ContentHash.h"
#include "reading/context/PhraseData.h"

// An image of built phrase data: its arrays (reading/context/PhraseTables.h) as they lie in
// memory, in one file that is mapped and read in place.
//
// Parsing the three text files and building their indexes takes a fifth of a second at every
// start, longer than the rest of a typical run; opening an image of the result takes a few
// milliseconds, and its pages are shared by every process that maps it. The build makes the image
// from the text files beside them (tools/make_phrase_image.cpp). The text files stay what the
// data is: the image records the size and hash of each file it was made from and is used only
// while they still match, so a user's or a test's files replacing them are read as they are.
// Hashing them is most of what opening costs (a few milliseconds for 16 MB); their size and time
// would not do, as packaging sets the times and an edit of a tone digit keeps the size.
//
// Opening reads the header and nothing else: the pages of the arrays are mapped as lookups first
// read them, so a short run holds a few megabytes of the image rather than all of it. An image
// that is cut short, whose header is damaged or which was not made by this version is passed
// over; the header carries its own hash and the shape of the arrays (PhraseTables::WellFormed).
// The arrays have no hash, as one would read them all: every entry is checked where a lookup
// reads it, so damaged or forged arrays can give wrong answers but never make a lookup read
// outside them, loop forever or hand out a syllable that is none.
namespace tolvane {

inline constexpr const char* kPhraseImageFile = "pinyin_phrases.img";

// The size and hash of each of the three text files.
struct PhraseSources {
  FileFingerprint words;
  FileFingerprint pairs;
  FileFingerprint characters;
};
// None when a file cannot be read.
std::optional<PhraseSources> FingerprintPhraseFiles(const std::filesystem::path& wordsFile,
                                                    const std::filesystem::path& pairsFile,
                                                    const std::filesystem::path& charactersFile);

// Writes the image of `data`, made from the files `sources` describes: whole or not at all (a
// scratch file renamed into place). Raises the file error of a failed write.
void WritePhraseImage(const PhraseData& data, const PhraseSources& sources,
                      const std::filesystem::path& image);

// The data in `image` when the file is a whole image of this version made from `sources`, its
// header intact and its arrays of the right shape; else none.
std::unique_ptr<PhraseData> OpenPhraseImage(const std::filesystem::path& image,
                                            const PhraseSources& sources);

// Makes the header of `bytes` pass its hash as it is, as anyone who writes an image could: what
// the checks after the hash catch is tried with it (the tests and the fuzz target). Bytes too
// short for a header stay as they are.
void SealPhraseImage(std::string& bytes);

// The phrase data of the three files: from `image` when it is theirs, else parsed from them
// (PhraseData::Load, with its errors).
std::unique_ptr<PhraseData> LoadPhraseData(const std::filesystem::path& wordsFile,
                                           const std::filesystem::path& pairsFile,
                                           const std::filesystem::path& charactersFile,
                                           const std::filesystem::path& image);

}  // namespace tolvane
