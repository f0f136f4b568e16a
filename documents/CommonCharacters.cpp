#include "documents/CommonCharacters.h"

#include <algorithm>

#include "documents/CommonCharacters_generated.h"

namespace tolvane {

bool IsCommonCharacter(char32_t cp) {
  return std::binary_search(generated::kCommonCharacters.begin(),
                            generated::kCommonCharacters.end(), cp);
}

}  // namespace tolvane
