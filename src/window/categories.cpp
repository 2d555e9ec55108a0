#include "window/categories.h"

namespace window {

QStringList tabCaptions() {
    QStringList captions;
    for (int n = 1; n <= categoryCount; ++n) {
        captions << QString::fromUtf8(categoryAt(n)->caption);
    }
    return captions;
}

QStringList unitTexts(convert::UnitTable table) {
    QStringList texts;
    for (const convert::Unit& unit : table) {
        texts << QString::fromUtf8(unit.text);
    }
    return texts;
}

}  // namespace window
