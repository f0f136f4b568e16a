#include "api/OptionWords.h"

#include <string>

#include "platform/Error.h"
#include "reading/shared/UserWordList.h"

namespace tolvane {

std::shared_ptr<const ReadingData> WithUserWords(const std::shared_ptr<const ReadingData>& data,
                                                 const std::vector<UserWord>& words) {
  if (words.empty()) return data;
  DataFileLists lists = data->Lists();
  for (const UserWord& word : words) {
    std::string reason;
    std::optional<UserWordEntry> entry = MakeUserWordEntry(word.word, word.readings, &reason);
    if (!entry)
      throw Error("User word \"" + word.word + "\" (\"" + word.readings + "\"): " + reason);
    lists.userWords.Set(std::move(*entry));
  }
  return std::make_shared<const ReadingData>(data->Folders(), std::move(lists),
                                             data->NumberedFilled(), data->PlainFilled(),
                                             data->ContextLoader());
}

}  // namespace tolvane
