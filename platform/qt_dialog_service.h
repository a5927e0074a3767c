#pragma once

#include "dialog_service.h"

#include <memory>

namespace kadrix {

// The dialog service of the desktop: Qt's message boxes and file and colour
// dialogs, over the active window. The application object installs it.
std::unique_ptr<DialogService> makeQtDialogService();

} // namespace kadrix
