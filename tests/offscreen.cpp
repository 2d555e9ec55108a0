// A suite started by hand runs on the offscreen platform, as under CTest, instead of failing to
// find a display; a platform that is set already is left alone.
#include <QByteArray>
#include <QtGlobal>

namespace {

const bool platformChosen = [] {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    }
    return true;
}();

}  // namespace
