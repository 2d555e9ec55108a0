#pragma once

#include <QLocale>
#include <QRegularExpression>
#include <QString>
#include <optional>

// Numbers as the value boxes show them. The user's locale decides the decimal separator
// ("," where it is not "."); everything else is fixed so that every text the numeric test
// accepts converts, and every text written can be read back: an optional sign, ASCII digits,
// at most one separator, an optional exponent, no digit grouping.
class NumberText {
public:
    explicit NumberText(const QLocale& locale = QLocale::system());

    QChar separator() const { return separator_; }
    // The finite number a text holds; "inf", "nan" and overflowing texts are not numbers.
    std::optional<double> parse(const QString& text) const;
    bool isNumber(const QString& text) const { return parse(text).has_value(); }
    // Whether a text is written as a number, though it may lie beyond a double's range.
    bool looksLikeNumber(const QString& text) const {
        return shape_.match(text.trimmed()).hasMatch();
    }
    // At most 15 significant digits, no trailing zeros, exponent written E-09 / E+15.
    QString format(double value) const;

private:
    QChar separator_;
    QRegularExpression shape_;  // compiled once: every key press in a box reads a number
};
