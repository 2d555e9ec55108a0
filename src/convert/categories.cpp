#include "convert/categories.h"

#include <array>

namespace convert {

namespace {

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

}  // namespace

const Category* categoryAt(int n) {
    if (n < 1 || n > categoryCount) {
        return nullptr;
    }
    return &categories[static_cast<std::size_t>(n - 1)];
}

}  // namespace convert
