#include "platform/numbertext.h"

#include <algorithm>
#include <cmath>

namespace {

// The largest magnitude that 15 significant digits can write without passing DBL_MAX.
constexpr double largestWritable = 1.79769313486231E+308;

}  // namespace

NumberText::NumberText(const QLocale& locale)
    : separator_(locale.decimalPoint() == QStringLiteral(".") ? u'.' : u','),
      shape_(QStringLiteral("^[+-]?([0-9]+(%1[0-9]*)?|%1[0-9]+)([eE][+-]?[0-9]+)?$")
                 .arg(QRegularExpression::escape(QString(separator_)))) {}

std::optional<double> NumberText::parse(const QString& text) const {
    if (!looksLikeNumber(text)) {
        return std::nullopt;
    }
    QString trimmed = text.trimmed();
    trimmed.replace(separator_, u'.');
    // The shape is checked above, so a refusal here is a range error: an overflow is no number,
    // an underflow reads as zero.
    const double value = QLocale::c().toDouble(trimmed);
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

QString NumberText::format(double value) const {
    if (value == 0) {
        value = 0;  // no "-0"
    }
    // Rounded to 15 digits, the very largest doubles would read back as an overflow.
    value = std::clamp(value, -largestWritable, largestWritable);
    QString text = QLocale::c().toString(value, 'G', 15);
    text.replace(u'.', separator_);
    return text;
}
