#pragma once

#include <string>

// Whether Qt will find a display for the window. Without one Qt aborts with advice about
// reinstalling, so main() checks first and says plainly what is missing.
enum class DisplayState { Usable, NotSet, Unreachable };

struct DisplayCheck {
    DisplayState state = DisplayState::Usable;
    std::string display;  // the X display tried, for the message
};

// Looks at what Qt will look at: the -platform and -display arguments, QT_QPA_PLATFORM,
// WAYLAND_DISPLAY and DISPLAY. Only an X display is checked by connecting to it; any other
// platform Qt is told to use, or a Wayland session, is left to Qt.
DisplayCheck checkDisplay(int argc, char** argv);
