#pragma once

#include <QLocale>
#include <QString>

// The desktop services the converter window relies on. The window takes them through this
// interface so that tests can count beeps, answer message boxes and pin the locale.
class Desktop {
public:
    virtual ~Desktop() = default;

    virtual void beep() = 0;
    // A modal box with the text, an OK button, no icon and the application title as caption.
    virtual void message(const QString& text) = 0;
    // True when another copy of the program already runs for this user.
    virtual bool previousInstance() = 0;
    // Ends the program at once, closing every window.
    virtual void endProgram() = 0;
    // The locale whose decimal separator numbers are read and written with.
    virtual QLocale numberLocale() const = 0;

    // The folder the program's executable sits in; the help file is looked for beside it.
    virtual QString executableDirectory() const = 0;
    virtual bool fileExists(const QString& path) const = 0;
};

inline QString applicationTitle() {
    return QStringLiteral("Mervel");
}
