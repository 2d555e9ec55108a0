#include "platform/numbertext.h"

#include <QRegularExpression>
#include <cmath>

NumberText::NumberText(const QLocale& locale)
    : separator_(locale.decimalPoint() == QStringLiteral(".") ? u'.' : u',') {}

std::optional<double> NumberText::parse(const QString& text) const {
    const QString sep = QRegularExpression::escape(QString(separator_));
    const QRegularExpression shape(
        QStringLiteral("^[+-]?([0-9]+(%1[0-9]*)?|%1[0-9]+)([eE][+-]?[0-9]+)?$").arg(sep));
    QString trimmed = text.trimmed();
    if (!shape.match(trimmed).hasMatch()) {
        return std::nullopt;
    }
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
    QString text = QLocale::c().toString(value, 'G', 15);
    text.replace(u'.', separator_);
    return text;
}
