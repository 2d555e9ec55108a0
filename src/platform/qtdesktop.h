#pragma once

#include "platform/desktop.h"
#include "platform/instancelock.h"

// The real desktop: Qt's beep and message box, the per-user instance lock, the system locale.
class QtDesktop final : public Desktop {
public:
    void beep() override;
    void message(const QString& text) override;
    bool previousInstance() override;
    void endProgram() override;
    QLocale numberLocale() const override;
    QString executableDirectory() const override;
    bool fileExists(const QString& path) const override;

private:
    InstanceLock lock_;
};
