#include "window/categories.h"

namespace window {

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QStringList tabCaptions() {
    QStringList captions;
    for (int n = 1; n <= categoryCount; ++n) {
        captions << fromUtf8(categoryAt(n)->caption);
    }
    return captions;
}

QStringList unitTexts(convert::UnitTable table) {
    QStringList texts;
    for (const convert::Unit& unit : table) {
        texts << fromUtf8(unit.text);
    }
    return texts;
}

}  // namespace window
