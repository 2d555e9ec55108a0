#pragma once

#include <QObject>

class QAction;
class QKeyEvent;
class QMainWindow;
class QMenu;

// The menu bar from the keyboard, as desktop programs offer it: F10 opens the first menu as its
// access letter does, with its first item chosen; Alt pressed and released alone moves the
// focus to the menu bar, and the access letters of the menus and their items work from the same
// keys under a Latin layout as under the Russian one.
class MenuKeys : public QObject {
    Q_OBJECT

public:
    explicit MenuKeys(QMainWindow& window);

    // The item of the menu bar, or of one of its menus, whose access letter the Russian layout
    // puts on the pressed key; none when the key carries no such letter.
    QAction* accessKeyAction(const QKeyEvent& event, const QList<QAction*>& actions) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openMenu(QAction* menu);
    bool isOwnMenu(const QObject* object) const;
    static void announceActiveItem(QMenu* menu);

    QMainWindow& window_;
};
