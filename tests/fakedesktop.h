#pragma once

#include "platform/desktop.h"

#include <QStringList>

// Desktop services for tests: counts beeps, records messages instead of showing them (so no
// modal box can ever block a test), and pins the number locale.
class FakeDesktop final : public Desktop {
public:
    explicit FakeDesktop(const QLocale& locale = QLocale::c()) : locale(locale) {}

    void beep() override { ++beeps; }
    void message(const QString& text) override { messages << text; }
    bool previousInstance() override { return otherCopyRunning; }
    void endProgram() override { ++endings; }
    QLocale numberLocale() const override { return locale; }

    QLocale locale;
    int beeps = 0;
    QStringList messages;
    bool otherCopyRunning = false;
    int endings = 0;
};
