#include "shell/displaycheck.h"

#include <QDir>
#include <QLibraryInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#if defined(__linux__) || defined(__FreeBSD__)
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>
#define MERVEL_CHECK_DISPLAYS 1
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

#ifdef MERVEL_CHECK_DISPLAYS
// The folders Qt loads platform plugins from, in its own order.
bool waylandPluginInstalled() {
    QStringList folders;
    if (const QString own = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH"); !own.isEmpty())
        folders << own;
    for (const QString& path :
         qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts))
        folders << path + QStringLiteral("/platforms");
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
    for (const QString& folder : folders) {
        if (!QDir(folder).entryList({QStringLiteral("libqwayland*")}, QDir::Files).isEmpty())
            return true;
    }
    return false;
}

// Where libwayland looks for the compositor's socket: an absolute WAYLAND_DISPLAY as it is,
// otherwise inside XDG_RUNTIME_DIR, without which it gives up.
bool compositorAnswers(const std::string& name) {
    std::string path = name;
    if (!name.starts_with('/')) {
        const std::string runtime = environment("XDG_RUNTIME_DIR");
        if (runtime.empty())
            return false;
        path = runtime + '/' + name;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    // Non-blocking, so that a compositor too busy to accept cannot hold up the start; a full
    // queue still means someone listens.
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    const bool answers =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ||
        errno == EAGAIN;
    close(fd);
    return answers;
}

DisplayState checkX(const std::string& display, std::shared_ptr<void>& held) {
    if (display.empty())
        return DisplayState::NotSet;
    // The same library Qt uses, so a server that refuses us here would refuse Qt too.
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return DisplayState::Unreachable;
    }
    held.reset(connection, [](void* c) { xcb_disconnect(static_cast<xcb_connection_t*>(c)); });
    return DisplayState::Usable;
}
#endif

std::string named(const std::string& value) {
    return value.empty() ? "" : value + ": ";
}

}  // namespace

DisplayCheck checkDisplay(int argc, char** argv) {
    DisplayCheck check;
#ifdef MERVEL_CHECK_DISPLAYS
    const std::string platform = option(argc, argv, "platform", environment("QT_QPA_PLATFORM"));
    if (!platform.empty() && !onlyX11(platform))
        return check;
    check.x11Only = !platform.empty();
    if (!check.x11Only) {
        check.waylandDisplay = environment("WAYLAND_DISPLAY");
        if (check.waylandDisplay.empty())
            check.wayland = DisplayState::NotSet;
        else if (!waylandPluginInstalled())
            check.wayland = DisplayState::NoPlugin;
        else if (!compositorAnswers(check.waylandDisplay))
            check.wayland = DisplayState::Unreachable;
        if (check.wayland == DisplayState::Usable)
            return check;  // Qt tries Wayland first and will not look at X
    }
    check.display = option(argc, argv, "display", environment("DISPLAY"));
    check.x = checkX(check.display, check.xConnection);
#else
    (void)argc;
    (void)argv;
#endif
    return check;
}

std::string displayProblem(const DisplayCheck& check) {
    std::string russian = "Mervel: нет графического дисплея.\n";
    std::string english = "Mervel needs a graphical display, and has none.\n";
    if (check.x11Only) {
        russian += "  WAYLAND_DISPLAY: не используется, задана платформа X11 (xcb)\n";
        english += "  WAYLAND_DISPLAY: not used, the X11 platform (xcb) is asked for\n";
    } else if (check.wayland == DisplayState::NotSet) {
        russian += "  WAYLAND_DISPLAY: не задан\n";
        english += "  WAYLAND_DISPLAY: not set\n";
    } else if (check.wayland == DisplayState::NoPlugin) {
        const std::string name = named(check.waylandDisplay);
        russian += "  WAYLAND_DISPLAY: " + name + "нет платформы Wayland для Qt (qt6-wayland)\n";
        english += "  WAYLAND_DISPLAY: " + name + "Qt's Wayland platform is not installed " +
                   "(qt6-wayland)\n";
    } else {
        const std::string name = named(check.waylandDisplay);
        russian += "  WAYLAND_DISPLAY: " + name + "композитор Wayland не отвечает\n";
        english += "  WAYLAND_DISPLAY: " + name + "no Wayland compositor answers\n";
    }
    if (check.x == DisplayState::NotSet) {
        russian += "  DISPLAY: не задан\n";
        english += "  DISPLAY: not set\n";
    } else {
        russian += "  DISPLAY: " + named(check.display) + "X-сервер недоступен\n";
        english += "  DISPLAY: " + named(check.display) + "the X server cannot be reached\n";
    }
    return russian + english;
}
