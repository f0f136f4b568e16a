#pragma once

namespace tolvane {

// What the layouts that keep the text (reading by context) and their wrap pass need to know of a
// character besides its reading: whether it belongs to a run of letters or digits that stays
// whole ("2024", "iPhone", "9.9"), and whether it is punctuation that may not begin or end a line.

// A letter or digit of a script other than Han (Latin, Greek, Cyrillic, kana, full-width forms),
// or a combining mark, which belongs to the letter before it.
bool IsRunCharacter(char32_t cp);

// A mark that joins two run characters into one run when it stands between them: "9.9", "1,000",
// "e-mail", "10:30", "don't", "A/B", "a_b", "R&D", "C++".
bool IsRunJoiner(char32_t cp);

// A sign that belongs to the run it follows: "3.5%", "30°", "5‰".
bool IsRunSuffix(char32_t cp);

// Punctuation that never begins a line: it closes what stands before it
// (。，、；：？！”’）》」』】, their ASCII kin, and every closing bracket or quotation mark).
bool IsClosingPunctuation(char32_t cp);

// Punctuation that never ends a line: it opens what follows (“‘（《「『【, their ASCII kin, and
// every opening bracket or quotation mark).
bool IsOpeningPunctuation(char32_t cp);

}  // namespace tolvane
