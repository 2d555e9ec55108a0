#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <thread>

// The desktop's own sound for a bell (the freedesktop event "bell-window-system"), played
// through libcanberra and so through the user's sound server. The library is loaded at the
// first play, not at start-up, and it plays on a thread of its own: a sound server that is slow
// to answer never holds up typing. Where it cannot play (no library, no sound server),
// `fallback` runs instead, on the thread that owns this object.
class EventSound {
public:
    EventSound(QString library, std::function<void()> fallback);
    ~EventSound();
    EventSound(const EventSound&) = delete;
    EventSound& operator=(const EventSound&) = delete;

    void play();

    // Whether Qt's own beep goes unheard on this display: Qt sends nothing to a Wayland
    // compositor, and XWayland does nothing with an X bell.
    static bool qtBeepUnheard();

private:
    struct Shared;
    static void run(std::shared_ptr<Shared> shared);

    QObject context_;  // where the fallback runs
    std::function<void()> fallback_;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};
