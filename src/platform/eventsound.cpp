#include "platform/eventsound.h"

#include <QGuiApplication>
#include <QLibrary>
#include <QScreen>

#if __has_include(<xcb/xcb.h>)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#define MERVEL_ASK_X_SERVER 1
#endif

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <utility>

namespace {

// The few entry points of libcanberra used here, as its header declares them; the header itself
// is not needed to build, only the library to play.
struct ca_context;
using CreateFunction = int (*)(ca_context**);
using ChangePropsFunction = int (*)(ca_context*, ...);
using PlayFunction = int (*)(ca_context*, std::uint32_t, ...);
using DestroyFunction = int (*)(ca_context*);

// Requests beyond these while the sound server is busy are dropped: a held key must not
// leave a queue of bells sounding after it is let go.
constexpr int maxPending = 2;

}  // namespace

struct EventSound::Shared {
    QString library;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    int pending = 0;
    bool busy = true;  // the thread is on its way to its first wait
    bool stop = false;
    bool broken = false;  // the library or its context is not to be had: stop trying
    QObject* context = nullptr;
    std::function<void()> fallback;
    QByteArray name;  // the program's name and desktop entry, for the sound server's list
    QByteArray id;

    // Runs the fallback on the owner's thread, unless the owner is already gone.
    void fallBack() {
        std::lock_guard lock(mutex);
        if (!stop)
            QMetaObject::invokeMethod(context, fallback, Qt::QueuedConnection);
    }
};

EventSound::EventSound(QString library, std::function<void()> fallback)
    : fallback_(std::move(fallback)), shared_(std::make_shared<Shared>()) {
    shared_->library = std::move(library);
    shared_->context = &context_;
    shared_->fallback = fallback_;
}

EventSound::~EventSound() {
    if (!thread_.joinable())
        return;
    std::unique_lock lock(shared_->mutex);
    shared_->stop = true;
    shared_->wake.notify_one();
    // A sound server that hangs must not hang the program's end too: after a short wait the
    // thread is left to finish on its own, and it touches nothing of this object any more.
    const bool finished = shared_->idle.wait_for(lock, std::chrono::milliseconds(500),
                                                 [this] { return !shared_->busy; });
    lock.unlock();
    if (finished)
        thread_.join();
    else
        thread_.detach();
}

void EventSound::play() {
    std::unique_lock lock(shared_->mutex);
    if (shared_->broken) {
        lock.unlock();
        fallback_();
        return;
    }
    if (!thread_.joinable()) {
        shared_->name = QGuiApplication::applicationName().toUtf8();
        shared_->id = QGuiApplication::desktopFileName().toUtf8();
        thread_ = std::thread(&EventSound::run, shared_);
    }
    if (shared_->pending < maxPending)
        ++shared_->pending;
    shared_->wake.notify_one();
}

void EventSound::run(std::shared_ptr<Shared> shared) {
    QLibrary library(shared->library, 0);
    const auto create = reinterpret_cast<CreateFunction>(library.resolve("ca_context_create"));
    const auto changeProps =
        reinterpret_cast<ChangePropsFunction>(library.resolve("ca_context_change_props"));
    const auto playSound = reinterpret_cast<PlayFunction>(library.resolve("ca_context_play"));
    const auto destroy = reinterpret_cast<DestroyFunction>(library.resolve("ca_context_destroy"));
    ca_context* context = nullptr;
    if (create == nullptr || changeProps == nullptr || playSound == nullptr || destroy == nullptr ||
        create(&context) != 0) {
        int waiting = 0;
        {
            std::lock_guard lock(shared->mutex);
            shared->broken = true;
            waiting = std::exchange(shared->pending, 0);
            shared->busy = false;
            shared->idle.notify_all();
        }
        for (; waiting > 0; --waiting)
            shared->fallBack();
        return;
    }
    changeProps(context, "application.name", shared->name.constData(), "application.id",
                shared->id.constData(), nullptr);

    std::unique_lock lock(shared->mutex);
    for (;;) {
        shared->busy = false;
        shared->idle.notify_all();
        shared->wake.wait(lock, [&] { return shared->stop || shared->pending > 0; });
        if (shared->stop)
            break;
        --shared->pending;
        shared->busy = true;
        lock.unlock();
        // The sound server lists the sound by its description: the same bell tells of a refused
        // key and of a conversion that could not finish.
        const int result =
            playSound(context, 0, "event.id", "bell-window-system", "event.description",
                      "Действие не выполнено", "canberra.cache-control", "permanent", nullptr);
        if (result != 0)
            shared->fallBack();
        lock.lock();
    }
    lock.unlock();
    destroy(context);
}

bool EventSound::qtBeepUnheard() {
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return true;
#ifdef MERVEL_ASK_X_SERVER
    if (platform == QLatin1String("xcb")) {
        // An X server run by a Wayland compositor says so with an extension of its own; before
        // it had one (Xwayland 23.1), it named its screens for itself.
        static const bool onXWayland = [] {
            for (const QScreen* screen : QGuiApplication::screens()) {
                if (screen->name().startsWith(QLatin1String("XWAYLAND")))
                    return true;
            }
            const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
            xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
            if (connection == nullptr)
                return false;
            const char name[] = "XWAYLAND";
            xcb_query_extension_reply_t* reply = xcb_query_extension_reply(
                connection, xcb_query_extension(connection, sizeof name - 1, name), nullptr);
            const bool present = reply != nullptr && reply->present != 0;
            std::free(reply);
            return present;
        }();
        return onXWayland;
    }
#endif
    return false;
}
