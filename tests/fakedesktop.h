#pragma once

#include "platform/desktop.h"

#include <QStringList>

// Desktop services for tests: counts beeps, records messages instead of showing them (so no
// modal box can ever block a test), pins the number locale, and fakes the file system and the
// help viewer.
class FakeDesktop final : public Desktop {
public:
    explicit FakeDesktop(const QLocale& locale = QLocale::c()) : locale(locale) {}

    void beep() override { ++beeps; }
    void message(const QString& text) override { messages << text; }
    bool previousInstance() override { return otherCopyRunning; }
    void endProgram() override { ++endings; }
    QLocale numberLocale() const override { return locale; }
    QString executableDirectory() const override { return exeDirectory; }
    bool fileExists(const QString& path) const override { return files.contains(path); }

    QLocale locale;
    int beeps = 0;
    QStringList messages;
    bool otherCopyRunning = false;
    int endings = 0;
    QString exeDirectory = QStringLiteral("/opt/mervel");
    QStringList files;  // the paths fileExists() finds
};
