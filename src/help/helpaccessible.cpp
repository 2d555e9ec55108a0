#include "help/helpaccessible.h"

#include "help/helpwindow.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace {

class NotificationAccessible : public QAccessibleWidget {
public:
    explicit NotificationAccessible(QLabel* label)
        : QAccessibleWidget(label, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            return static_cast<QLabel*>(widget())->text();
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("HelpWindow")) {
        return new QAccessibleWidget(static_cast<HelpWindow*>(object), QAccessible::Window);
    }
    if (className == QLatin1String("QLabel") &&
        object->objectName() == QLatin1String(notificationName)) {
        return new NotificationAccessible(static_cast<QLabel*>(object));
    }
    return nullptr;
}

}  // namespace

void installHelpAccessibility() {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(factory);
        installed = true;
    }
}
