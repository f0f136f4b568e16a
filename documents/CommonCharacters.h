#pragma once

namespace tolvane {

// Whether `cp` is one of the 3,500 common characters of the 2013 general standard list, or a
// traditional form of one: the characters a handout annotating only uncommon ones leaves bare.
bool IsCommonCharacter(char32_t cp);

}  // namespace tolvane
