#pragma once

#include <QObject>

class Desktop;
class Ruriruz;

// The menu commands of the converter window.
class Commands : public QObject {
    Q_OBJECT

public:
    Commands(Ruriruz& window, Desktop& desktop);

    void Exit_Click();

private:
    Desktop& desktop_;
};
