#pragma once

#include <memory>
#include <string>

// Whether Qt will find a display for the window. Without one Qt aborts with advice about
// reinstalling, so main() checks first and says plainly what is missing.
enum class DisplayState { Usable, NotSet, Unreachable, NoPlugin };

struct DisplayCheck {
    // The Wayland compositor and the X server, each as found; NoPlugin only for Wayland.
    DisplayState wayland = DisplayState::Usable;
    DisplayState x = DisplayState::Usable;
    std::string waylandDisplay;  // WAYLAND_DISPLAY, for the message
    std::string display;         // the X display tried, for the message
    bool x11Only = false;        // Qt was told to use X11, so Wayland was not looked at
    // The check's own connection to a usable X server, to be let go once Qt has connected:
    // a server whose last client leaves resets itself and refuses connections meanwhile, so a
    // check that left at once made Qt abort on a server with no other client.
    std::shared_ptr<void> xConnection;

    bool usable() const {
        return (!x11Only && wayland == DisplayState::Usable) || x == DisplayState::Usable;
    }
};

// Looks at what Qt will look at, in Qt's order: the -platform argument or QT_QPA_PLATFORM
// first; without them a Wayland compositor when WAYLAND_DISPLAY is set, Qt's wayland platform
// plugin is installed and the socket accepts a connection; then the X server of -display or
// DISPLAY, by connecting to it. Any other platform Qt is told to use is left to Qt.
DisplayCheck checkDisplay(int argc, char** argv);

// What is wrong, in Russian and in English, naming both variables: for the program's message.
std::string displayProblem(const DisplayCheck& check);
