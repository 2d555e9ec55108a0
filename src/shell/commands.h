#pragma once

#include <QObject>
#include <QPointer>

class Desktop;
class Ruriruz;
class frmAbout;

// The menu commands of the converter window.
class Commands : public QObject {
    Q_OBJECT

public:
    Commands(Ruriruz& window, Desktop& desktop);
    ~Commands() override;

    void Exit_Click();
    void Help_me_Click();
    void About_Click();

private:
    Desktop& desktop_;
    QPointer<frmAbout> about_;  // the About box while it is loaded
};
