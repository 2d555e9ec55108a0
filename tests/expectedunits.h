#pragma once
// The rows every picker must show, tab by tab, with the size of one of each in its category's
// base unit, written out by hand from the unit definitions (denominators as their reciprocals)
// and kept apart from the program's own tables. A unit added to the program fails the suites
// that read this table until it is added here too.

#include <QString>
#include <QStringList>

#include <limits>
#include <vector>

namespace expected {

struct Row {
    const char* text;
    long double factor;  // one of the unit, in the base unit
};

struct Category {
    std::vector<std::vector<Row>> pickers;  // left to right
    // Rows of the first picker from here on are whole units: the later pickers are passed over.
    int wholeUnitsFrom = std::numeric_limits<int>::max();
};

namespace rows {
// The force rows that every force-based category shows.
inline const std::vector<Row> forces{
    {"N", 0.001L}, {"kN", 1L}, {"MN", 1000L}, {"кг", 0.00981L}, {"т", 9.81L}};
inline const std::vector<Row> pressures{{"N", 0.001L},    {"kN", 1L},    {"MN", 1000L},
                                        {"кг", 0.00981L}, {"т", 9.81L},  {"Па", 0.001L},
                                        {"кПа", 1L},      {"МПа", 1000L}};
inline const std::vector<Row> momentLengths{
    {"м", 1L}, {"см", 0.01L}, {"мм", 0.001L}, {"дюйм", 0.0254L}};
inline const std::vector<Row> speedLengths{
    {"км", 1000L}, {"м", 1L}, {"см", 0.01L}, {"мм", 0.001L}, {"дюйм", 0.0254L}};
}  // namespace rows

// Index: the tab number less one.
inline const std::vector<Category> categories{
    {{{{"Километр", 1000L},
       {"Метр", 1L},
       {"Сантиметр", 0.01L},
       {"Миллиметр", 0.001L},
       {"Дюйм", 0.0254L},
       {"Аршин", 0.7112L},
       {"Верста", 1066.8L},
       {"Вершок", 0.04445L},
       {"Миля морская(Уставн.)", 1852L},
       {"Миля морская(Англ.)", 1853L},
       {"Сажень", 2.1336L},
       {"Фут", 0.3048L},
       {"Ярд", 0.9144L}}}},
    {{{{"Квадратный километр", 1000000L},
       {"Квадратный метр", 1L},
       {"Квадратный сантиметр", 0.0001L},
       {"Квадратный миллиметр", 0.000001L},
       {"Квадратный дюйм", 0.00064516L},
       {"Акр", 4046.86L},
       {"Ар", 100L},
       {"Гектар", 10000L},
       {"Квадратная верста", 1138060L},
       {"Квадратная миля", 2589990L},
       {"Квадратный сажень", 4.55224L},
       {"Квадратный фут", 0.092903L},
       {"Квадратный ярд", 0.836127L}}}},
    {{{{"Кубический метр", 1L},
       {"Кубический сантиметр", 0.000001L},
       {"Кубический миллиметр", 1e-9L},
       {"Кубический дюйм", 0.000016387064L},
       {"Литр", 0.001L},
       {"Ведро", 0.0122994L},
       {"Кубическая сажень", 9.712678381056L},
       {"Кубический аршин", 0.359728828928L},
       {"Кубический фут", 0.028316846592L},
       {"Кубический ярд", 0.764554857984L}}}},
    {{rows::speedLengths,
      {{"час", 0.000277777777777777777778L}, {"мин", 0.0166666666666666666667L}, {"сек", 1L}}}},
    {{{{"км", 1000L}, {"м", 1L}, {"см", 0.01L}, {"мм", 0.001L}, {"дюйм", 0.0254L}, {"g", 9.81L}},
      {{"час^2", 7.71604938271604938272e-8L},
       {"мин^2", 0.000277777777777777777778L},
       {"сек^2", 1L}}},
     5},
    {{rows::forces, rows::momentLengths}},
    {{rows::forces,
      rows::momentLengths,
      {{"м", 1L}, {"см", 1e+2L}, {"мм", 1e+3L}, {"дюйм", 39.3700787401574803150L}}}},
    {{{{"градус", 1L}, {"радиан", 57.295779513L}, {"град", 0.9L}}}},
    {{{{"час", 1L}, {"мин", 0.0166666666666666666667L}, {"сек", 0.000277777777777777777778L}}}},
    {{rows::forces}},
    {{rows::forces, {{"м", 1L}, {"см", 1e+2L}, {"мм", 1e+3L}, {"дюйм", 39.3700787401574803150L}}}},
    {{rows::pressures,
      {{"м^2", 1L}, {"см^2", 1e+4L}, {"мм^2", 1e+6L}, {"дюйм^2", 1550.00310000620001240L}}},
     5},
    {{rows::forces,
      {{"м^3", 1L}, {"см^3", 1e+6L}, {"мм^3", 1e+9L}, {"дюйм^3", 61023.7440947322839528L}}}},
};

// Empty when a picker shows exactly the rows of the table, in order; else the first row that is
// missing, extra or out of place, by name.
inline QString rowsDiffer(const QStringList& shown, const std::vector<Row>& rows) {
    for (std::size_t k = 0; k < std::max(rows.size(), static_cast<std::size_t>(shown.size()));
         ++k) {
        const auto n = static_cast<qsizetype>(k);
        if (k >= rows.size()) {
            return QStringLiteral("extra row %1 \"%2\"").arg(n).arg(shown[n]);
        }
        const QString want = QString::fromUtf8(rows[k].text);
        if (n >= shown.size()) {
            return QStringLiteral("missing row %1 \"%2\"").arg(n).arg(want);
        }
        if (shown[n] != want) {
            return QStringLiteral("row %1 is \"%2\", expected \"%3\"").arg(n).arg(shown[n], want);
        }
    }
    return {};
}

}  // namespace expected
