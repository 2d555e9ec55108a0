#include "window/categories.h"

#include <array>

namespace {

using namespace convert;

const std::array<Category, categoryCount>& categories() {
    // Built on first use: the unit tables belong to another translation unit.
    static const std::array<Category, categoryCount> all{{
        {"Линейные размеры", 1},
        {"Площади", 2},
        {"Объемы", 3},
        {"Скорости", 4, speedLengths.first(gravityRow), hours},
        {"Ускорения", 4, speedLengths, squaredHours, gravityRow},
        {"Моменты", 5},
        {"Распределенные моменты", 5},
        {"Углы", 4, angles},
        {"Времена", 4, times},
        {"Силы", 4, forces.first(plainForceRows)},
        {"Распределенные силы", 4, forces.first(plainForceRows), perLength},
        {"Давления", 4, forces, perArea, plainForceRows},
        {"Удельные веса", 4, forces.first(plainForceRows), perVolume},
    }};
    return all;
}

}  // namespace

const Category* categoryAt(int n) {
    if (n < 1 || n > categoryCount) {
        return nullptr;
    }
    return &categories()[static_cast<std::size_t>(n - 1)];
}

QStringList tabCaptions() {
    QStringList captions;
    for (const Category& category : categories()) {
        captions << QString::fromUtf8(category.caption);
    }
    return captions;
}

QStringList unitTexts(convert::UnitTable table) {
    QStringList texts;
    for (const convert::Unit& unit : table) {
        texts << QString::fromUtf8(unit.text.data(), static_cast<qsizetype>(unit.text.size()));
    }
    return texts;
}
