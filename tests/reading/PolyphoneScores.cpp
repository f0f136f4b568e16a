// Prints the polyphone model's scores, for the numerical check against a plain forward pass
// (polyphone_model_test.py). Reads lines of "sentence TAB index" from standard input and writes,
// for each, the candidate readings of the character at that index with their scores:
// "reading score reading score ...", the model run over the whole sentence.
//
//   polyphone_scores MODEL-FILE < sentences.tsv
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/UnicodeText.h"
#include "reading/context/PolyphoneModel.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: polyphone_scores MODEL-FILE < sentences.tsv\n";
    return 2;
  }
  try {
    const auto model = tolvane::PolyphoneModel::Load(argv[1]);
    tolvane::ModelStates states;
    std::vector<tolvane::ReadingScore> scores;
    std::string line;
    while (std::getline(std::cin, line)) {
      const std::size_t tab = line.find('\t');
      if (tab == std::string::npos) continue;
      std::vector<char32_t> text;
      tolvane::unicode::ForEachCodePoint(
          std::string_view(line).substr(0, tab),
          [&](std::string_view, char32_t cp) { text.push_back(cp); });
      const std::size_t index = std::stoul(line.substr(tab + 1));
      model->Run(text, states);
      model->ScoresAt(states, index, index < text.size() ? text[index] : 0, scores);
      for (const tolvane::ReadingScore& score : scores)
        std::printf("%s %.6f ", model->Reading(score.reading).c_str(),
                    static_cast<double>(score.score));
      std::printf("\n");
    }
  } catch (const tolvane::Error& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  return 0;
}
