#pragma once

#include <cstddef>
#include <ostream>

namespace tolvane {

// A one-line progress bar redrawn in place on a terminal; silent when disabled. Redraws only
// when the shown percentage changes, so a run of millions of lines costs a hundred writes.
class TerminalProgress {
 public:
  TerminalProgress(std::ostream& out, bool enabled) : out_(out), enabled_(enabled) {}

  void Start(std::size_t total);
  void Step();
  // The total turned out otherwise than Start was told.
  void SetTotal(std::size_t total);
  void Fill();
  void Finish();

 private:
  void Draw();

  std::ostream& out_;
  bool enabled_;
  bool shown_ = false;
  std::size_t total_ = 0;
  std::size_t position_ = 0;
  int drawnPercent_ = -1;
};

}  // namespace tolvane
