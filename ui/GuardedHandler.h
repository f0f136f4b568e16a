#pragma once

#include <exception>

#include "ui/Dialogs.h"
#include "ui/QtText.h"

namespace tolvane {

// Runs an event handler of a window. An error it raises stops it at that point (nothing is rolled
// back) and is shown in the error box over `parent`, as the program's top-level handler does.
template <typename Handler>
void RunGuarded(Dialogs& dialogs, QWidget* parent, Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    dialogs.Error(parent, ErrorBoxText(QStringFromErrorText(error.what())));
  }
}

}  // namespace tolvane
