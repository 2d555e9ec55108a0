#include "convert/categories.h"

#include <array>

namespace convert {

namespace {

constexpr std::array<Category, categoryCount> categories{{
    {"Линейные размеры", Panel::Lengths, Measure::Length},
    {"Площади", Panel::Areas, Measure::Area},
    {"Объемы", Panel::Volumes, Measure::Volume},
    {"Скорости", Panel::Quotient, Measure::Speed},
    {"Ускорения", Panel::Quotient, Measure::Acceleration},
    {"Моменты", Panel::Moment, Measure::Moment},
    {"Распределенные моменты", Panel::Moment, Measure::DistributedMoment},
    {"Углы", Panel::Quotient, Measure::Angle},
    {"Времена", Panel::Quotient, Measure::Time},
    {"Силы", Panel::Quotient, Measure::Force},
    {"Распределенные силы", Panel::Quotient, Measure::DistributedForce},
    {"Давления", Panel::Quotient, Measure::Pressure},
    {"Удельные веса", Panel::Quotient, Measure::SpecificWeight},
}};

}  // namespace

const Category* categoryAt(int n) {
    if (n < 1 || n > categoryCount) {
        return nullptr;
    }
    return &categories[static_cast<std::size_t>(n - 1)];
}

}  // namespace convert
