// libFuzzer target: the number texts of the value boxes and the walk of a value through a
// quantity's base unit, for every unit table and every quantity the engine lists.
//
// One input serves three ways: its bytes as UTF-8 text typed into a box (read with both decimal
// separators), its first 8 bytes as the bits of a double, and its bytes, 4 at a time, as list rows
// handed to rowOrLast. Every finite number found is formatted and read back, walked from every row
// of every table into the base unit and out into every row, and walked through every side of
// every quantity's pickers.
#include "convert/quantities.h"
#include "convert/units.h"
#include "convert/walk.h"
#include "platform/numbertext.h"

#include <QStringDecoder>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace {

using NamedTable = convert::PickerTable;

// Every table the engine has, from its own list, so that a new table is fuzzed unasked.
const std::vector<NamedTable> tables = [] {
    std::vector<NamedTable> all;
    for (const NamedTable* t : convert::allTables()) {
        all.push_back(*t);
    }
    return all;
}();

std::string show(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g (%a)", v, v);
    return text;
}

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "\nmervel_fuzz: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

std::string where(const NamedTable& t, std::size_t row) {
    return std::string(t.name) + "[" + std::to_string(row) + "] \"" +
           std::string(t.rows[row].text) + "\"";
}

// The shape numbertext.h documents, read by hand after the same trimming: an optional sign, ASCII
// digits with at most one separator and at least one digit, then optionally E or e, an optional
// sign and digits. The value is strtod's (correctly rounded, "C" locale); an overflow is no number.
std::optional<double> reference(QChar separator, const QString& text) {
    const QString t = text.trimmed();
    std::string ascii;
    qsizetype k = 0;
    const auto at = [&t](qsizetype i) -> char16_t { return i < t.size() ? t[i].unicode() : 0; };
    const auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    if (at(k) == u'+' || at(k) == u'-') {
        ascii += static_cast<char>(at(k++));
    }
    int digits = 0;
    bool separatorSeen = false;
    for (;; ++k) {
        const char16_t c = at(k);
        if (isDigit(c)) {
            ascii += static_cast<char>(c);
            ++digits;
        } else if (c == separator.unicode() && !separatorSeen && k < t.size()) {
            separatorSeen = true;
            ascii += '.';
        } else {
            break;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (at(k) == u'e' || at(k) == u'E') {
        ascii += 'e';
        ++k;
        if (at(k) == u'+' || at(k) == u'-') {
            ascii += static_cast<char>(at(k++));
        }
        int exponentDigits = 0;
        for (; isDigit(at(k)); ++k) {
            ascii += static_cast<char>(at(k));
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
    }
    if (k != t.size()) {
        return std::nullopt;
    }
    const double value = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// What format() writes: digits, the separator, E, signs; at most 15 significant digits, no trailing
// zero after the separator, an exponent of a sign and at least two digits, and zero as "0".
void checkWrittenShape(const NumberText& numbers, double value, const QString& text) {
    const auto bad = [&](const char* why) {
        fail(std::string("format(") + show(value) + ") wrote \"" + text.toStdString() +
             "\": " + why);
    };
    if (value == 0 && text != u"0") {
        bad("zero, -0 included, is written 0");
    }
    const qsizetype e = text.indexOf(u'E');
    const QString mantissa = e < 0 ? text : text.left(e);
    int significant = 0;
    bool leading = true;
    for (qsizetype i = 0; i < mantissa.size(); ++i) {
        const QChar c = mantissa[i];
        if ((c == u'-' && i == 0) || c == numbers.separator()) {
            continue;
        }
        if (c < u'0' || c > u'9') {
            bad("a character that is no digit in the number");
        }
        leading = leading && c == u'0';
        if (!leading) {
            ++significant;
        }
    }
    // The zeros that end a whole number count here too: G never writes more than 15 places.
    if (significant > 15) {
        bad("more than 15 significant digits");
    }
    const qsizetype sep = mantissa.indexOf(numbers.separator());
    if (sep >= 0 && (sep == mantissa.size() - 1 || mantissa.endsWith(u'0'))) {
        bad("a separator without digits after it, or a trailing zero after it");
    }
    if (e >= 0) {
        const QString exponent = text.mid(e + 1);
        if (exponent.size() < 3 || (exponent[0] != u'+' && exponent[0] != u'-')) {
            bad("an exponent without a sign and two digits");
        }
        for (qsizetype i = 1; i < exponent.size(); ++i) {
            if (exponent[i] < u'0' || exponent[i] > u'9') {
                bad("a character that is no digit in the exponent");
            }
        }
    }
}

// Whatever the boxes write, they read back: the same number to 15 significant digits, and, for a
// normal number, the very same text when written again.
void checkWritten(const NumberText& numbers, double value) {
    const QString text = numbers.format(value);
    checkWrittenShape(numbers, value, text);
    const std::optional<double> back = numbers.parse(text);
    if (!back) {
        fail("format(" + show(value) + ") wrote \"" + text.toStdString() +
             "\", which parse refuses");
    }
    // Rounding to 15 digits moves a number by at most 5E-15 of itself, reading the digits back by
    // half an ulp more; below DBL_MIN the read-back value is only good to the nearest subnormal.
    const double allowed = 5.2e-15 * std::fabs(value) + DBL_TRUE_MIN;
    if (!(std::fabs(*back - value) <= allowed)) {
        fail("format(" + show(value) + ") wrote \"" + text.toStdString() + "\", read back as " +
             show(*back));
    }
    if (std::fabs(value) >= DBL_MIN && numbers.format(*back) != text) {
        fail("format(" + show(value) + ") wrote \"" + text.toStdString() +
             "\", but its own value is written \"" + numbers.format(*back).toStdString() + "\"");
    }
}

// A step's exact result, in long double: 64 mantissa bits and an exponent range far beyond
// double's, so the products and quotients of the tables neither round to speak of nor overflow.
long double exactStep(convert::Op op, const convert::Step& step, double value) {
    const long double term = step.term();
    switch (op) {
        case convert::Op::Multiply:
            return value * term;
        case convert::Op::Divide:
            return value / term;
        case convert::Op::Copy:
            break;
    }
    return value;
}

convert::Op inverse(convert::Op op) {
    if (op == convert::Op::Multiply) {
        return convert::Op::Divide;
    }
    if (op == convert::Op::Divide) {
        return convert::Op::Multiply;
    }
    return op;
}

// One step is one double operation with the row's factor, correctly rounded: within half an ulp of
// the exact result (or half the smallest subnormal below DBL_MIN). It stops with NotFinite exactly
// when that rounding overflows, and then leaves the result alone.
convert::Outcome checkStep(bool outward, const NamedTable& t, std::size_t row, double value,
                           double& result) {
    const convert::Step& step = t.rows[row].toBase;
    constexpr double untouched = -12345.678;
    double got = untouched;
    const convert::Outcome outcome =
        outward ? convert::outOfBase(step, value, got) : convert::intoBase(step, value, got);
    const long double exact = exactStep(outward ? inverse(step.op) : step.op, step, value);
    const long double size = fabsl(exact);
    // Rounding to double overflows from DBL_MAX + ulp/2 up; long double has rounded `exact` by at
    // most 2^-64 of itself, so the band of doubt is a few parts in 10^19 wide.
    const long double overflowAt = static_cast<long double>(DBL_MAX) + std::ldexp(1.0L, 970);
    const long double doubt = overflowAt * std::ldexp(1.0L, -60);
    const auto bad = [&](const std::string& why) {
        fail(std::string(outward ? "outOfBase " : "intoBase ") + where(t, row) + " of " +
             show(value) + ": " + why + "; the exact result is " +
             show(static_cast<double>(exact)));
    };
    if (outcome == convert::Outcome::NotFinite) {
        if (got != untouched) {
            bad("stopped, yet wrote " + show(got));
        }
        if (size < overflowAt - doubt) {
            bad("stopped, though the result fits a double");
        }
        return outcome;
    }
    if (!std::isfinite(got) || size > overflowAt + doubt) {
        bad("went on with " + show(got) + ", though the result overflows");
    }
    const long double allowed =
        (size >= DBL_MIN ? size * (DBL_EPSILON / 2) : DBL_TRUE_MIN / 2.0L) * (1 + 1e-3L);
    if (fabsl(got - exact) > allowed) {
        bad("gave " + show(got));
    }
    result = got;
    return outcome;
}

double ulp(double v) {
    const double a = std::fabs(v);
    return std::nextafter(a, INFINITY) - a;
}

// Every table, every pair of rows: the walk finishes with a finite number or stops. Into the base
// and back out of the same row, two roundings of half an ulp each leave the number within 2 ulps
// (an ulp of the number, not of the base value); 4 ulps is checked, to leave room yet still catch
// a wrong or mismatched factor, which is off by far more. Where the base value fell below DBL_MIN,
// its absolute error of half a subnormal comes back divided by the factor.
void checkWalks(double value) {
    for (const NamedTable& t : tables) {
        const convert::UnitTable table = t.rows;
        for (std::size_t from = 0; from < table.size(); ++from) {
            double base = 0;
            if (checkStep(false, t, from, value, base) != convert::Outcome::Done) {
                continue;
            }
            for (std::size_t to = 0; to < table.size(); ++to) {
                double back = 0;
                const convert::Outcome outcome = checkStep(true, t, to, base, back);
                if (from != to) {
                    continue;
                }
                if (outcome != convert::Outcome::Done) {
                    if (DBL_MAX - std::fabs(value) > 4 * ulp(DBL_MAX)) {
                        fail(where(t, from) + " into itself stopped on " + show(value));
                    }
                    continue;
                }
                long double allowed = 4.0L * ulp(value);
                if (std::fabs(base) < DBL_MIN) {
                    const convert::Step& step = table[from].toBase;
                    allowed += DBL_TRUE_MIN / exactStep(step.op, step, 1.0);
                }
                if (fabsl(static_cast<long double>(back) - value) > allowed) {
                    fail(where(t, from) + " into itself turned " + show(value) + " into " +
                         show(back));
                }
            }
        }
    }
}

// A walk of several steps is those steps one at a time, in order: it stops at the first that
// stops, with the last finite value stored. Returns that value, and whether a non-zero value
// passed below DBL_MIN on the way, where precision is lost.
struct Folded {
    convert::Outcome outcome = convert::Outcome::Done;
    double value = 0;
    bool tiny = false;
};

Folded fold(bool outward, std::span<const convert::Step> steps, double value) {
    Folded folded{convert::Outcome::Done, value, false};
    for (const convert::Step& step : steps) {
        double next = 0;
        const convert::Outcome outcome = outward ? convert::outOfBase(step, folded.value, next)
                                                 : convert::intoBase(step, folded.value, next);
        if (outcome != convert::Outcome::Done) {
            folded.outcome = outcome;
            break;
        }
        folded.tiny = folded.tiny || (next != 0 && std::fabs(next) < DBL_MIN) ||
                      (next == 0 && folded.value != 0);
        folded.value = next;
    }
    return folded;
}

std::string rowsText(const std::array<std::size_t, 3>& rows, std::size_t count) {
    std::string text;
    for (std::size_t k = 0; k < count; ++k) {
        text += (k ? "," : "") + std::to_string(rows[k]);
    }
    return text;
}

// One side of a quantity, as its pickers set it: a row of each picker, except that a whole unit
// in the first one passes the others over (and then counts once, whatever they show).
template <typename Visit>
void forEachSide(const convert::Quantity& quantity, Visit visit) {
    const std::size_t pickers = quantity.pickerCount();
    std::array<std::size_t, 3> rows{};
    std::vector<convert::Step> steps;
    for (;;) {
        const bool whole = rows[0] >= static_cast<std::size_t>(quantity.wholeUnitsFrom);
        const std::size_t used = whole ? 1 : pickers;
        bool hiddenRowsAtZero = true;
        for (std::size_t k = used; k < pickers; ++k) {
            hiddenRowsAtZero = hiddenRowsAtZero && rows[k] == 0;
        }
        if (hiddenRowsAtZero) {
            steps.clear();
            for (std::size_t k = 0; k < used; ++k) {
                steps.push_back(quantity.pickers[k][rows[k]].toBase);
            }
            visit(std::span<const convert::Step>(steps), rowsText(rows, used));
        }
        std::size_t k = 0;
        while (k < pickers && ++rows[k] == quantity.pickers[k].size()) {
            rows[k] = 0;
            ++k;
        }
        if (k == pickers) {
            return;
        }
    }
}

// Every side of every quantity: the walk of several steps into the base unit and out of it is
// the steps taken one at a time, and into and out of the same side gives the number back. That
// takes 2k roundings for k steps, each within half an ulp relative (2^-53), so within
// k * DBL_EPSILON of the number, checked with a thousandth to spare, unless a value on the way
// fell below DBL_MIN. The way out may stop where the way in did not: it divides before it
// multiplies where the way in did the opposite, and an intermediate value can overflow.
void checkQuantities(double value) {
    int n = 0;
    for (const convert::Quantity& quantity : convert::allQuantities()) {
        ++n;
        forEachSide(quantity, [&](std::span<const convert::Step> steps, const std::string& rows) {
            const auto context = [&] {
                return "quantity " + std::to_string(n) + " rows " + rows + " of " + show(value);
            };
            constexpr double untouched = -12345.678;
            double base = untouched;
            const Folded into = fold(false, steps, value);
            if (convert::intoBase(steps, value, base) != into.outcome || base != into.value) {
                fail("intoBase, " + context() + ": " + show(base) +
                     " is not what the steps give one by one, " + show(into.value));
            }
            double back = untouched;
            const Folded out = fold(true, steps, value);
            if (convert::outOfBase(steps, value, back) != out.outcome || back != out.value) {
                fail("outOfBase, " + context() + ": " + show(back) +
                     " is not what the steps give one by one, " + show(out.value));
            }
            if (into.outcome != convert::Outcome::Done) {
                return;
            }
            const Folded round = fold(true, steps, base);
            if (round.outcome != convert::Outcome::Done || into.tiny || round.tiny) {
                return;
            }
            const long double allowed = static_cast<long double>(steps.size()) * DBL_EPSILON *
                                        std::fabs(value) * (1 + 1e-3L);
            if (fabsl(static_cast<long double>(round.value) - value) > allowed) {
                fail("into and out of the same side, " + context() + ", gave " + show(round.value));
            }
        });
    }
}

// rowOrLast hands out a row of the table and nothing else: the row asked for when it exists, else
// the last one.
void checkRows(const std::uint8_t* data, std::size_t size) {
    for (std::size_t offset = 0; offset + 4 <= size && offset < 64; offset += 4) {
        std::int32_t row = 0;
        std::memcpy(&row, data + offset, sizeof row);
        for (const NamedTable& t : tables) {
            const convert::UnitTable table = t.rows;
            const convert::Unit* got = &convert::rowOrLast(table, row);
            const bool inside = row >= 0 && static_cast<std::size_t>(row) < table.size();
            const convert::Unit* expected =
                inside ? &table[static_cast<std::size_t>(row)] : &table.back();
            if (got != expected) {
                fail("rowOrLast(" + std::string(t.name) + ", " + std::to_string(row) +
                     ") handed out the wrong row");
            }
        }
    }
}

void checkText(const NumberText& numbers, const QString& text) {
    const std::optional<double> parsed = numbers.parse(text);
    const std::optional<double> expected = reference(numbers.separator(), text);
    const std::string shown = "\"" + text.toStdString() + "\" (separator " +
                              QString(numbers.separator()).toStdString() + ")";
    if (parsed.has_value() != expected.has_value()) {
        fail("parse " + shown + (parsed ? " accepted " + show(*parsed) : " refused it") +
             (expected ? "; strtod reads " + show(*expected) : "; it is no number"));
    }
    if (numbers.isNumber(text) != parsed.has_value()) {
        fail("isNumber " + shown + " disagrees with parse");
    }
    if (!parsed) {
        return;
    }
    // -0 and 0 both count as zero: the boxes write either as "0".
    if (!std::isfinite(*parsed) || *parsed != *expected) {
        fail("parse " + shown + " gave " + show(*parsed) + ", strtod " + show(*expected));
    }
    checkWritten(numbers, *parsed);
    checkWalks(*parsed);
    checkQuantities(*parsed);
}

bool validUtf8(std::string_view text) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder(QByteArrayView(text.data(), qsizetype(text.size())));
    return !decoder.hasError();
}

// The pickers of every quantity show rows of the tables the engine lists, so the walks over all
// rows of those tables cover them; the first picker is never missing.
void checkQuantityTables() {
    int n = 0;
    for (const convert::Quantity& quantity : convert::allQuantities()) {
        ++n;
        if (quantity.pickerCount() == 0) {
            fail("quantity " + std::to_string(n) + " has no picker");
        }
        for (std::size_t k = 0; k < quantity.pickerCount(); ++k) {
            const convert::UnitTable picker = quantity.pickers[k];
            bool declared = false;
            for (const NamedTable& t : tables) {
                const convert::UnitTable table = t.rows;
                declared =
                    declared || (picker.data() >= table.data() &&
                                 picker.data() + picker.size() <= table.data() + table.size());
            }
            if (!declared) {
                fail("quantity " + std::to_string(n) + " picker " + std::to_string(k) +
                     " shows rows of no table the engine lists");
            }
        }
    }
}

// Rows the walk and the pickers cannot do without: a table has rows, each with a text to show and
// a factor that is finite and positive.
void checkTables() {
    for (const NamedTable& t : tables) {
        if (t.rows.empty()) {
            fail(std::string(t.name) + " has no rows");
        }
        for (std::size_t row = 0; row < t.rows.size(); ++row) {
            const convert::Unit& unit = t.rows[row];
            if (unit.text.empty() || !validUtf8(unit.text)) {
                fail(where(t, row) + ": the text is empty or not UTF-8");
            }
            const double term = unit.toBase.term();
            if (unit.toBase.op != convert::Op::Copy &&
                (!std::isfinite(term) || !(term > 0) || unit.toBase.power < 1)) {
                fail(where(t, row) + ": the factor " + show(term) + " is no positive number");
            }
        }
    }
}

const NumberText& pointNumbers() {
    static const NumberText numbers(QLocale::c());
    return numbers;
}

const NumberText& commaNumbers() {
    static const NumberText numbers(QLocale(QLocale::Russian, QLocale::Russia));
    return numbers;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    checkTables();
    checkQuantityTables();
    if (pointNumbers().separator() != u'.' || commaNumbers().separator() != u',') {
        fail("the locales do not give the two separators");
    }
    std::fprintf(stderr, "mervel_fuzz: %zu unit tables\n", tables.size());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkText(pointNumbers(), text);
    checkText(commaNumbers(), text);

    if (size >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        if (std::isfinite(value)) {
            checkWritten(pointNumbers(), value);
            checkWritten(commaNumbers(), value);
            checkWalks(value);
            checkQuantities(value);
        }
    }
    checkRows(data, size);
    return 0;
}
