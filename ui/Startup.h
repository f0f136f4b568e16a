#pragma once

#include <filesystem>
#include <memory>
#include <optional>

namespace tolvane {

class Dialogs;
class TfrmMain;

// The desktop program's start-up, from a made QApplication to the shown main window: the
// application's name, menu-entry name and icon; where its files are, for a program in
// `programFolder` (by default the running executable's folder); the main window and its hidden
// windows, centred on the screen and shown. Returns the shown window, or null when start-up
// stopped (the error box has then been shown through `dialogs`).
std::unique_ptr<TfrmMain> StartMainWindow(
    Dialogs& dialogs, const std::optional<std::filesystem::path>& programFolder = std::nullopt);

}  // namespace tolvane
