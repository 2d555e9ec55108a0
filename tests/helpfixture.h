#pragma once
// The converter with its help command, and the help file it finds beside its executable.

#include "help/helpwindow.h"
#include "shell/commands.h"
#include "windowfixture.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

// Typed key by key, Cyrillic letters too.
inline void typeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    for (QChar c : text) {
        WindowFixture::key(edit, c);
    }
}

// The converter with its commands, its executable in a folder of its own with the real help
// file beside it.
struct HelpFixture : WindowFixture {
    HelpFixture() : commands(w(), desktop) {
        desktop.exeDirectory = folder.path();
        path = QDir::toNativeSeparators(folder.filePath(QStringLiteral("Helpfiles/Mervel.chm")));
        QDir(folder.path()).mkdir(QStringLiteral("Helpfiles"));
        copied = QFile::copy(QStringLiteral(CHM_FILE), path);
        desktop.files << path;
    }
    // The bytes of the help file replaced, as a damaged copy would be.
    bool replaceFile(const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(bytes) == bytes.size();
    }
    // What the converter shows once a 5 is typed after the 0 of its first box: "05" км in км.
    QString converted() {
        w().controls().Text1[0]->setFocus();
        key(w().controls().Text1[0], u'5');
        return w().controls().Text1[1]->text();
    }
    QTemporaryDir folder;
    QString path;
    bool copied = false;
    Commands commands;
};
