#include "convert/units.h"

#include <array>
#include <cmath>

namespace convert {

double Step::term() const {
    return power == 1 ? constant : std::pow(constant, static_cast<double>(power));
}

namespace {

constexpr Step copy{};
constexpr Step by(double c, int power = 1) {
    return {Op::Multiply, c, power};
}
constexpr Step per(double c, int power = 1) {
    return {Op::Divide, c, power};
}

// A table whose later rows are whole units of their own: the first of them is found by where
// the first part ends, so a row added to either part keeps the boundary right.
template <std::size_t N, std::size_t M>
constexpr std::array<Unit, N + M> join(const std::array<Unit, N>& first,
                                       const std::array<Unit, M>& then) {
    std::array<Unit, N + M> rows{};
    for (std::size_t k = 0; k < N; ++k) {
        rows[k] = first[k];
    }
    for (std::size_t k = 0; k < M; ++k) {
        rows[N + k] = then[k];
    }
    return rows;
}

constexpr double inch = 0.0254;
constexpr double gravity = 9.81;

constexpr std::array lengthRows{
    Unit{"Километр", by(1000)},
    Unit{"Метр", copy},
    Unit{"Сантиметр", by(0.01)},
    Unit{"Миллиметр", by(0.001)},
    Unit{"Дюйм", by(inch)},
    Unit{"Аршин", by(0.7112)},
    Unit{"Верста", by(1066.8)},
    Unit{"Вершок", by(0.04445)},
    Unit{"Миля морская(Уставн.)", by(1852)},
    Unit{"Миля морская(Англ.)", by(1853)},
    Unit{"Сажень", by(2.1336)},
    Unit{"Фут", by(0.3048)},
    Unit{"Ярд", by(0.9144)},
};

// The stored area factors are the rounded values engineers use, not squares of the lengths;
// only the square inch is computed.
constexpr std::array areaRows{
    Unit{"Квадратный километр", by(1000000)},
    Unit{"Квадратный метр", copy},
    Unit{"Квадратный сантиметр", by(0.0001)},
    Unit{"Квадратный миллиметр", by(0.000001)},
    Unit{"Квадратный дюйм", by(inch, 2)},
    Unit{"Акр", by(4046.86)},
    Unit{"Ар", by(100)},
    Unit{"Гектар", by(10000)},
    Unit{"Квадратная верста", by(1138060)},
    Unit{"Квадратная миля", by(2589990)},
    Unit{"Квадратный сажень", by(4.55224)},
    Unit{"Квадратный фут", by(0.092903)},
    Unit{"Квадратный ярд", by(0.836127)},
};

constexpr std::array volumeRows{
    Unit{"Кубический метр", copy},
    Unit{"Кубический сантиметр", by(0.000001)},
    Unit{"Кубический миллиметр", per(1000, 3)},
    Unit{"Кубический дюйм", by(inch, 3)},
    Unit{"Литр", by(0.001)},
    Unit{"Ведро", by(0.0122994)},
    Unit{"Кубическая сажень", by(2.1336, 3)},
    Unit{"Кубический аршин", by(0.7112, 3)},
    Unit{"Кубический фут", by(0.3048, 3)},
    Unit{"Кубический ярд", by(0.9144, 3)},
};

constexpr std::array speedOnlyLengthRows{
    Unit{"км", by(1000)},  Unit{"м", copy},        Unit{"см", by(0.01)},
    Unit{"мм", by(0.001)}, Unit{"дюйм", by(inch)},
};
constexpr auto speedLengthRows = join(speedOnlyLengthRows, std::array{Unit{"g", by(gravity)}});

constexpr std::array perTimeRows{
    Unit{"час", per(3600)},
    Unit{"мин", per(60)},
    Unit{"сек", copy},
};

constexpr std::array perSquaredTimeRows{
    Unit{"час^2", per(3600, 2)},
    Unit{"мин^2", per(60, 2)},
    Unit{"сек^2", copy},
};

constexpr std::array angleRows{
    Unit{"градус", copy},
    Unit{"радиан", by(57.295779513)},
    Unit{"град", by(0.9)},
};

constexpr std::array timeRows{
    Unit{"час", copy},
    Unit{"мин", per(60)},
    Unit{"сек", per(3600)},
};

constexpr std::array forceOnlyRows{
    Unit{"N", by(0.001)},    Unit{"kN", copy},       Unit{"MN", by(1000)},
    Unit{"кг", by(0.00981)}, Unit{"т", by(gravity)},
};
constexpr std::array pressureRows{Unit{"Па", by(0.001)}, Unit{"кПа", copy}, Unit{"МПа", by(1000)}};
constexpr auto forceRows = join(forceOnlyRows, pressureRows);

constexpr std::array perLengthRows{
    Unit{"м", copy},
    Unit{"см", per(0.01)},
    Unit{"мм", per(0.001)},
    Unit{"дюйм", per(inch)},
};

constexpr std::array perAreaRows{
    Unit{"м^2", copy},
    Unit{"см^2", per(0.01, 2)},
    Unit{"мм^2", per(0.001, 2)},
    Unit{"дюйм^2", per(inch, 2)},
};

constexpr std::array perVolumeRows{
    Unit{"м^3", copy},
    Unit{"см^3", per(0.01, 3)},
    Unit{"мм^3", per(0.001, 3)},
    Unit{"дюйм^3", per(inch, 3)},
};

constexpr std::array momentLengthRows{
    Unit{"м", copy},
    Unit{"см", by(0.01)},
    Unit{"мм", by(0.001)},
    Unit{"дюйм", by(inch)},
};

}  // namespace

constinit const PickerTable lengths{"lengths", lengthRows, "м"};
constinit const PickerTable areas{"areas", areaRows, "м^2"};
constinit const PickerTable volumes{"volumes", volumeRows, "м^3"};
constinit const PickerTable speedLengths{
    "speedLengths", speedLengthRows, "м", false, speedOnlyLengthRows.size(), "м/сек^2"};
constinit const PickerTable perTime{"perTime", perTimeRows, "сек", true};
constinit const PickerTable perSquaredTime{"perSquaredTime", perSquaredTimeRows, "сек^2", true};
constinit const PickerTable angles{"angles", angleRows, "градус"};
constinit const PickerTable times{"times", timeRows, "час"};
constinit const PickerTable forces{"forces", forceRows, "kN", false, forceOnlyRows.size(),
                                   "kN/м^2"};
constinit const PickerTable perLength{"perLength", perLengthRows, "м", true};
constinit const PickerTable perArea{"perArea", perAreaRows, "м^2", true};
constinit const PickerTable perVolume{"perVolume", perVolumeRows, "м^3", true};
constinit const PickerTable momentLengths{"momentLengths", momentLengthRows, "м"};

std::span<const PickerTable* const> allTables() {
    static constexpr std::array all{
        &lengths, &areas,  &volumes,   &speedLengths, &perTime,   &perSquaredTime, &angles,
        &times,   &forces, &perLength, &perArea,      &perVolume, &momentLengths,
    };
    return all;
}

const Unit& rowOrLast(UnitTable table, int row) {
    if (row >= 0 && static_cast<std::size_t>(row) < table.size()) {
        return table[static_cast<std::size_t>(row)];
    }
    return table.back();
}

}  // namespace convert
