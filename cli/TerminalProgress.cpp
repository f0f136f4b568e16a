#include "cli/TerminalProgress.h"

#include <algorithm>
#include <string>

namespace tolvane {

void TerminalProgress::Start(std::size_t total) {
  total_ = total;
  position_ = 0;
  drawnPercent_ = -1;
  shown_ = enabled_;
  Draw();
}

void TerminalProgress::Step() {
  if (position_ < total_) ++position_;
  Draw();
}

void TerminalProgress::SetTotal(std::size_t total) {
  total_ = total;
  position_ = std::min(position_, total_);
  Draw();
}

void TerminalProgress::Fill() {
  position_ = total_;
  Draw();
}

void TerminalProgress::Finish() {
  if (shown_) out_ << '\n' << std::flush;
  shown_ = false;
}

void TerminalProgress::Draw() {
  if (!shown_) return;
  const int percent = total_ == 0 ? 100 : static_cast<int>(position_ * 100 / total_);
  if (percent == drawnPercent_) return;
  drawnPercent_ = percent;
  constexpr int kWidth = 40;
  const int filled = percent * kWidth / 100;
  out_ << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] " << percent
       << "% " << std::flush;
}

}  // namespace tolvane
