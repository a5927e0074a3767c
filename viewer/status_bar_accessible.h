#pragma once

namespace kadrix {

// Makes assistive technology see a StatusBar as a status bar whose panels
// are static texts: each panel's name and value follow the text it shows.
// The factory is installed once, when the first status bar is created.
void installStatusBarAccessibility();

} // namespace kadrix
