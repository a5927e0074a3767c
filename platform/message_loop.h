#pragma once

namespace kadrix {

// Lets the window repaint and other commands run in the middle of a long loop.
void processPendingMessages();

} // namespace kadrix
