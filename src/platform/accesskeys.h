#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

// The access letters of a window's tabs and buttons from the key that carries them in the
// Russian layout, whatever layout is active: under a Latin layout Alt+G picks what Alt+П does.
// Qt finds them by itself only under the Russian layout. Lives as long as its window.
class AccessKeys : public QObject {
    Q_OBJECT

public:
    explicit AccessKeys(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool pressAccessLetter(const QKeyEvent& key);

    QWidget& window_;
};
