#pragma once

#include <QDialog>

class QLabel;
class QTextEdit;
class QPushButton;

// The About box's controls, by their design names.
struct frmAboutControls {
    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QTextEdit* Text1 = nullptr;
    QPushButton* cmdOK = nullptr;
};

// The About box: the program's title, version and where to reach its developers. It is
// modeless, has no owner and no taskbar entry, and unloads itself when closed.
class frmAbout : public QDialog, private frmAboutControls {
    Q_OBJECT

public:
    frmAbout();

    // Fills in the texts that depend on the program, then fits the controls around them.
    void Form_Load();
    // OK, Enter, Escape and the close box all unload the box.
    void cmdOK_Click();

    const frmAboutControls& controls() const { return *this; }

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fitGeometry();
};
