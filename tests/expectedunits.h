#pragma once
// The rows every picker must show, tab by tab, with the size of one of each in its category's
// base unit, written out by hand from the unit definitions (denominators as their reciprocals)
// and kept apart from the program's own tables. Everything is found by name: a unit added to
// the program fails the suites that read this table, naming the unit, until it is added here too.

#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace expected {

struct Row {
    const char* text;
    long double factor;  // one of the unit, in the base unit
    bool whole = false;  // a unit of its own ("g", the pascals): the later pickers are passed over
};

struct Category {
    const char* caption;
    std::vector<std::vector<Row>> pickers;  // left to right
};

namespace rows {
// The force rows that every force-based category shows.
inline const std::vector<Row> forces{
    {"N", 0.001L}, {"kN", 1L}, {"MN", 1000L}, {"кг", 0.00981L}, {"т", 9.81L}};
inline const std::vector<Row> pressures{
    {"N", 0.001L}, {"kN", 1L},           {"MN", 1000L},     {"кг", 0.00981L},
    {"т", 9.81L},  {"Па", 0.001L, true}, {"кПа", 1L, true}, {"МПа", 1000L, true}};
inline const std::vector<Row> momentLengths{
    {"м", 1L}, {"см", 0.01L}, {"мм", 0.001L}, {"дюйм", 0.0254L}};
inline const std::vector<Row> speedLengths{
    {"км", 1000L}, {"м", 1L}, {"см", 0.01L}, {"мм", 0.001L}, {"дюйм", 0.0254L}};
}  // namespace rows

inline const std::vector<Category> categories{
    {"Линейные размеры",
     {{{"Километр", 1000L},
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
    {"Площади",
     {{{"Квадратный километр", 1000000L},
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
    {"Объемы",
     {{{"Кубический метр", 1L},
       {"Кубический сантиметр", 0.000001L},
       {"Кубический миллиметр", 1e-9L},
       {"Кубический дюйм", 0.000016387064L},
       {"Литр", 0.001L},
       {"Ведро", 0.0122994L},
       {"Кубическая сажень", 9.712678381056L},
       {"Кубический аршин", 0.359728828928L},
       {"Кубический фут", 0.028316846592L},
       {"Кубический ярд", 0.764554857984L}}}},
    {"Скорости",
     {rows::speedLengths,
      {{"час", 0.000277777777777777777778L}, {"мин", 0.0166666666666666666667L}, {"сек", 1L}}}},
    {"Ускорения",
     {{{"км", 1000L},
       {"м", 1L},
       {"см", 0.01L},
       {"мм", 0.001L},
       {"дюйм", 0.0254L},
       {"g", 9.81L, true}},
      {{"час^2", 7.71604938271604938272e-8L},
       {"мин^2", 0.000277777777777777777778L},
       {"сек^2", 1L}}}},
    {"Моменты", {rows::forces, rows::momentLengths}},
    {"Распределенные моменты",
     {rows::forces,
      rows::momentLengths,
      {{"м", 1L}, {"см", 1e+2L}, {"мм", 1e+3L}, {"дюйм", 39.3700787401574803150L}}}},
    {"Углы", {{{"градус", 1L}, {"радиан", 57.295779513L}, {"град", 0.9L}}}},
    {"Времена",
     {{{"час", 1L}, {"мин", 0.0166666666666666666667L}, {"сек", 0.000277777777777777777778L}}}},
    {"Силы", {rows::forces}},
    {"Распределенные силы",
     {rows::forces, {{"м", 1L}, {"см", 1e+2L}, {"мм", 1e+3L}, {"дюйм", 39.3700787401574803150L}}}},
    {"Давления",
     {rows::pressures,
      {{"м^2", 1L}, {"см^2", 1e+4L}, {"мм^2", 1e+6L}, {"дюйм^2", 1550.00310000620001240L}}}},
    {"Удельные веса",
     {rows::forces,
      {{"м^3", 1L}, {"см^3", 1e+6L}, {"мм^3", 1e+9L}, {"дюйм^3", 61023.7440947322839528L}}}},
};

// The category whose tab has this caption; throws, naming it, when there is none.
inline const Category& category(const QString& caption) {
    for (const Category& c : categories) {
        if (QString::fromUtf8(c.caption) == caption) {
            return c;
        }
    }
    throw std::out_of_range("no expected category " + caption.toStdString());
}

// The row of a picker with this name, or nullptr.
inline const Row* find(const std::vector<Row>& rows, const QString& name) {
    const auto found = std::find_if(rows.begin(), rows.end(), [&name](const Row& r) {
        return QString::fromUtf8(r.text) == name;
    });
    return found == rows.end() ? nullptr : &*found;
}

// The same, throwing, naming it, when the picker has none.
inline const Row& row(const std::vector<Row>& rows, const QString& name) {
    if (const Row* found = find(rows, name)) {
        return *found;
    }
    throw std::out_of_range("no expected row " + name.toStdString());
}

// One of the unit the pickers show, named left to right, in the category's base unit.
inline long double size(const Category& c, const QStringList& units) {
    long double size = 1;
    for (std::size_t k = 0; k < c.pickers.size(); ++k) {
        const Row& r = row(c.pickers[k], units.value(static_cast<qsizetype>(k)));
        size *= r.factor;
        if (r.whole) {
            break;
        }
    }
    return size;
}

// The first row of each picker that is one base unit.
inline QStringList baseUnits(const Category& c) {
    QStringList units;
    for (const auto& rows : c.pickers) {
        const auto base = std::find_if(rows.begin(), rows.end(),
                                       [](const Row& r) { return r.factor == 1 && !r.whole; });
        units << QString::fromUtf8(base->text);
    }
    return units;
}

// Whether a box's text is the number, to the 15 significant digits the boxes show: a point
// locale's text, within one unit of the fifteenth digit.
inline bool shows(const QString& text, long double want) {
    bool ok = false;
    const long double shown = text.toDouble(&ok);
    return ok && std::fabs(shown - want) <= 1e-14L * std::fabs(want);
}

// Empty when a picker shows exactly the rows of the table, in order; else the first row that is
// missing or extra, by name, or the two orders.
inline QString rowsDiffer(const QStringList& shown, const std::vector<Row>& rows) {
    QStringList want;
    for (const Row& r : rows) {
        want << QString::fromUtf8(r.text);
    }
    for (const QString& text : shown) {
        if (!want.contains(text)) {
            return QStringLiteral("extra row \"%1\"").arg(text);
        }
    }
    for (const QString& text : want) {
        if (!shown.contains(text)) {
            return QStringLiteral("missing row \"%1\"").arg(text);
        }
    }
    return shown == want
               ? QString()
               : QStringLiteral("rows %1, expected %2")
                     .arg(shown.join(QStringLiteral(", ")), want.join(QStringLiteral(", ")));
}

}  // namespace expected
