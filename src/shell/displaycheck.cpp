#include "shell/displaycheck.h"

#include <cstdlib>
#include <string_view>

#if defined(__linux__) || defined(__FreeBSD__)
#include <xcb/xcb.h>
#define MERVEL_CHECK_X11 1
#endif

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The value of Qt's option -name (or --name) on the command line, or fallback.
std::string option(int argc, char** argv, std::string_view name, std::string fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg.starts_with("--"))
            arg.remove_prefix(1);
        if (arg.starts_with('-') && arg.substr(1) == name)
            fallback = argv[i + 1];
    }
    return fallback;
}

// Qt takes a list of platforms to try, separated by ';', each with ':'-separated options.
bool onlyX11(std::string_view platforms) {
    while (!platforms.empty()) {
        const auto end = platforms.find(';');
        const std::string_view entry = platforms.substr(0, end);
        if (entry.substr(0, entry.find(':')) != "xcb")
            return false;
        platforms = end == std::string_view::npos ? "" : platforms.substr(end + 1);
    }
    return true;
}

}  // namespace

DisplayCheck checkDisplay(int argc, char** argv) {
#ifdef MERVEL_CHECK_X11
    const std::string platform = option(argc, argv, "platform", environment("QT_QPA_PLATFORM"));
    if (platform.empty() ? !environment("WAYLAND_DISPLAY").empty() : !onlyX11(platform))
        return {};
    const std::string display = option(argc, argv, "display", environment("DISPLAY"));
    if (display.empty())
        return {DisplayState::NotSet, display};
    // The same library Qt uses, so a server that refuses us here would refuse Qt too.
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const bool failed = xcb_connection_has_error(connection) != 0;
    xcb_disconnect(connection);
    if (failed)
        return {DisplayState::Unreachable, display};
#else
    (void)argc;
    (void)argv;
#endif
    return {};
}
