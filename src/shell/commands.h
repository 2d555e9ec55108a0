#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

class Desktop;
class Ruriruz;
class frmAbout;
class HelpWindow;

// The menu commands of the converter window.
class Commands : public QObject {
    Q_OBJECT

public:
    Commands(Ruriruz& window, Desktop& desktop);
    ~Commands() override;

    void Exit_Click();
    void Help_me_Click();
    void About_Click();

    // The help window once the help command has opened it.
    HelpWindow* helpWindow() const { return help_.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows the help window on the category's page, or on the starting page when none is given.
    void showHelp(const QString& path, const QString& topic);

    Ruriruz& window_;
    Desktop& desktop_;
    QPointer<frmAbout> about_;  // the About box while it is loaded
    std::unique_ptr<HelpWindow> help_;
    bool byKey_ = false;  // the help command came from F1, not from the menu
};
