#include "convert/categories.h"

namespace convert {

std::size_t Category::pickerCount() const {
    std::size_t count = 0;
    while (count < pickers.size() && !pickers[count].empty()) {
        ++count;
    }
    return count;
}

const Category* categoryAt(int n) {
    // Built on first use: the tables are defined in another translation unit.
    static const std::array<Category, categoryCount> all{{
        {"Линейные размеры", "метр", 1, {lengths}},
        {"Площади", "квадратный метр", 2, {areas}},
        {"Объемы", "кубический метр", 3, {volumes}},
        {"Скорости", "м/сек", 4, {speedLengths.first(gravityRow), hours}},
        {"Ускорения", "м/сек^2", 4, {speedLengths, squaredHours}, gravityRow},
        {"Моменты", "kN*м", 5, {forces.first(plainForceRows), momentLengths}},
        {"Распределенные моменты",
         "kN*м/м",
         5,
         {forces.first(plainForceRows), momentLengths, perLength}},
        {"Углы", "градус", 4, {angles}},
        {"Времена", "час", 4, {times}},
        {"Силы", "kN", 4, {forces.first(plainForceRows)}},
        {"Распределенные силы", "kN/м", 4, {forces.first(plainForceRows), perLength}},
        {"Давления", "kN/м^2", 4, {forces, perArea}, plainForceRows},
        {"Удельные веса", "kN/м^3", 4, {forces.first(plainForceRows), perVolume}},
    }};
    if (n < 1 || n > categoryCount) {
        return nullptr;
    }
    return &all[static_cast<std::size_t>(n - 1)];
}

}  // namespace convert
