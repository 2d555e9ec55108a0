#include "window/categories.h"

#include <array>

namespace window {

namespace {

using convert::Measure;

constexpr std::array<Category, categoryCount> categories{{
    {"Линейные размеры", 1, Measure::Length},
    {"Площади", 2, Measure::Area},
    {"Объемы", 3, Measure::Volume},
    {"Скорости", 4, Measure::Speed},
    {"Ускорения", 4, Measure::Acceleration},
    {"Моменты", 5, Measure::Moment},
    {"Распределенные моменты", 5, Measure::DistributedMoment},
    {"Углы", 4, Measure::Angle},
    {"Времена", 4, Measure::Time},
    {"Силы", 4, Measure::Force},
    {"Распределенные силы", 4, Measure::DistributedForce},
    {"Давления", 4, Measure::Pressure},
    {"Удельные веса", 4, Measure::SpecificWeight},
}};

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

const Category* categoryAt(int n) {
    if (n < 1 || n > categoryCount) {
        return nullptr;
    }
    return &categories[static_cast<std::size_t>(n - 1)];
}

QStringList tabCaptions() {
    QStringList captions;
    for (const Category& category : categories) {
        captions << fromUtf8(category.caption);
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
