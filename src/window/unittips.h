#pragma once

#include "convert/units.h"

#include <QString>

class NumberText;
class QComboBox;
class QListWidget;

// "1 Верста = 1066,8 м": what a picker row stands for, with the user's decimal separator.
// Empty for a row the tables do not explain.
QString unitTip(const convert::PickerTable& table, std::size_t row, const NumberText& numbers);

// Gives each row of a picker filled from the table its tip.
void setUnitTips(QListWidget* list, const convert::PickerTable& table, const NumberText& numbers);
void setUnitTips(QComboBox* combo, const convert::PickerTable& table, const NumberText& numbers);
