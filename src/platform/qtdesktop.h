#pragma once

#include "platform/desktop.h"
#include "platform/eventsound.h"
#include "platform/instancelock.h"

// The real desktop: the X bell or, on Wayland, the desktop's bell sound; Qt's message box, the
// per-user instance lock, the system locale.
class QtDesktop final : public Desktop {
public:
    QtDesktop();
    void beep() override;
    void message(const QString& text) override;
    bool previousInstance() override;
    void endProgram() override;
    QLocale numberLocale() const override;
    QString executableDirectory() const override;
    bool fileExists(const QString& path) const override;

private:
    InstanceLock lock_;
    EventSound bell_;
};
