#pragma once
// What several suites share: the tabs' captions as a user reads them, and the top-level windows
// of one kind that are on screen.

#include <QApplication>
#include <QList>
#include <QStringList>
#include <QWidget>

namespace testkit {

inline const QStringList tabCaptions =
    QStringLiteral(
        "Линейные размеры|Площади|Объемы|Скорости|Ускорения|Моменты|Распределенные моменты|Углы|"
        "Времена|Силы|Распределенные силы|Давления|Удельные веса")
        .split(QLatin1Char('|'));

template <typename Window>
QList<Window*> shown() {
    QList<Window*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible()) {
            windows << window;
        }
    }
    return windows;
}

}  // namespace testkit
