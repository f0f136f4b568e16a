#pragma once

#include <string>
#include <vector>

// The data Tolvane reads and what each licence asks of a document made with it: the About
// window, every document's metadata and the colophon of the HTML page and the EPUB name them.
namespace tolvane {

struct DataCredit {
  std::string name;     // "CC-CEDICT"
  std::string holder;   // who made it
  std::string licence;  // "CC BY-SA 4.0"
  std::string url;      // where it is
  std::string use;      // what Tolvane takes from it
};

// Every source of the shipped data, CC-CEDICT first.
const std::vector<DataCredit>& DataCredits();

// One paragraph naming every source, its holder and licence (English), for metadata fields.
std::string CreditsText();

}  // namespace tolvane
