#pragma once

#include "convert/units.h"

#include <QString>

class NumberText;
class QComboBox;
class QListWidget;

// "1 Верста = 1066,8 м": what a picker row stands for, with the user's decimal separator.
// Empty for a row the tables do not explain.
QString unitTip(convert::UnitTable table, std::size_t row, const NumberText& numbers);

// Gives each row of a picker filled from the table its tip.
void setUnitTips(QListWidget* list, convert::UnitTable table, const NumberText& numbers);
void setUnitTips(QComboBox* combo, convert::UnitTable table, const NumberText& numbers);
