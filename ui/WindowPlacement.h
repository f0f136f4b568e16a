#pragma once

class QWidget;

namespace tolvane {

// Moves `window` so that its frame is centred over the frame of the window that owns it (its
// parent's window); a window without an owner stays where it is.
void CentreOverOwner(QWidget& window);

// A fixed dialog frame around the window's present client size: a title bar with the system menu
// and a close box, no minimise or maximise, and no resizing.
void UseFixedDialogFrame(QWidget& window);

}  // namespace tolvane
