// A seeded random walk through the real window: tens of thousands of key presses, pastes, unit
// picks and tab switches, with the window's promises checked after every one of them. A failure
// prints its seed; MERVEL_STRESS_SEED=<seed> replays it (MERVEL_STRESS_EVENTS sets the length).
#include "expectedunits.h"
#include "windowfixture.h"

#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QRegularExpression>
#include <cfloat>
#include <cmath>
#include <random>
#include <stdexcept>
#include <string>

namespace {

using convert::Panel;

std::optional<long double> parse(QString text, QChar separator) {
    static const QRegularExpression number(
        QStringLiteral(R"(^\s*[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?\s*$)"));
    if (text.contains(u'.') && separator != u'.') {
        return std::nullopt;
    }
    text.replace(separator, u'.');
    if (!number.match(text).hasMatch()) {
        return std::nullopt;
    }
    const long double value = std::strtold(text.toLatin1().constData(), nullptr);
    if (!std::isfinite(value) || std::fabs(value) > DBL_MAX) {
        return std::nullopt;
    }
    return value;
}

struct Stress {
    explicit Stress(quint64 seed, const QLocale& locale) : random(seed), f(locale) {
        separator = locale.decimalPoint().at(0);
        for (TextBox* box : f.w().findChildren<TextBox*>()) {
            QObject::connect(box, &QLineEdit::textChanged, box,
                             [this, box] { writes.push_back(box); });
        }
    }

    int tab() { return f.w().controls().TabStrip1->selectedIndex(); }
    Ruriruz::Pair<TextBox> boxes() { return f.boxes(tab()); }
    std::vector<std::array<QWidget*, 2>> pickers() { return f.pickers(tab()); }

    static int rowOf(QWidget* picker) {
        if (auto* list = qobject_cast<QListWidget*>(picker)) {
            return list->currentRow();
        }
        return qobject_cast<QComboBox*>(picker)->currentIndex();
    }

    static QString unitOf(QWidget* picker) {
        if (auto* list = qobject_cast<QListWidget*>(picker)) {
            return list->currentItem() ? list->currentItem()->text() : QString();
        }
        return qobject_cast<QComboBox*>(picker)->currentText();
    }

    // What the other box must show once box `source` holds x, or nothing when the walk leaves
    // the range where doubles and this long double reckoning agree to 13 digits.
    std::optional<long double> conversion(std::size_t source, long double x) {
        const expected::Category& category =
            expected::category(f.w().controls().TabStrip1->caption(tab()));
        const auto all = pickers();
        long double value = x;
        auto inRange = [](long double v) {
            return std::fabs(v) <= DBL_MAX / 16 && (v == 0 || std::fabs(v) >= 1e-290L);
        };
        for (int pass = 0; pass < 2; ++pass) {
            const std::size_t side = pass == 0 ? source : 1 - source;
            for (std::size_t k = 0; k < category.pickers.size(); ++k) {
                const expected::Row& row = expected::row(category.pickers[k], unitOf(all[k][side]));
                value = pass == 0 ? value * row.factor : value / row.factor;
                if (!inRange(value)) {
                    return std::nullopt;
                }
                if (row.whole) {
                    break;
                }
            }
        }
        return value;
    }

    // Box `source` holds a number: the other box holds none, or that number's conversion; it
    // must hold the conversion when the event had to convert. Returns whether a conversion was
    // compared. Skips numbers whose walk, either way, leaves the range where doubles and this
    // long double reckoning agree.
    bool holdsConversion(std::size_t source, const QString& where, bool mustConvert) {
        const QString text = boxes()[source]->text();
        const QString shown = boxes()[1 - source]->text();
        const std::optional<long double> x = parse(text, separator);
        const std::optional<long double> expected = x ? conversion(source, *x) : std::nullopt;
        if (!expected) {
            return false;
        }
        const std::optional<long double> other = parse(shown, separator);
        if (!other) {
            [&] {
                QVERIFY2(!mustConvert, qPrintable(QStringLiteral("%1; box %2 holds '%3', other "
                                                                 "box '%4' holds no number")
                                                      .arg(where)
                                                      .arg(source)
                                                      .arg(text, shown)));
            }();
            return false;
        }
        if (!conversion(1 - source, *other)) {
            return false;
        }
        const QString detail = QStringLiteral("%1; box %2 holds '%3', other box '%4', expected %5")
                                   .arg(where)
                                   .arg(source)
                                   .arg(text, shown)
                                   .arg(static_cast<double>(*expected), 0, 'g', 17);
        const long double error = std::fabs(*other - *expected);
        [&] {
            QVERIFY2(error <= 1e-12L * std::fabs(*expected) || error < 1e-300L, qPrintable(detail));
        }();
        return true;
    }

    QString randomText() {
        static const QString alphabet = QStringLiteral("0123456789-+.,eEж *\t");
        const int kind = pick(10);
        if (kind == 0) {
            return QString(30000 + pick(10000), QChar(u'0' + pick(10)));
        }
        if (kind == 1) {
            const QStringList odd{"inf", "nan", "-Infinity", "1e400", "1E-09", "", " 7 ", "1 000"};
            return odd.at(pick(static_cast<int>(odd.size())));
        }
        QString text;
        for (int i = pick(12); i > 0; --i) {
            text += alphabet.at(pick(i % 3 == 0 ? static_cast<int>(alphabet.size()) : 13));
        }
        return text;
    }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    // One random event. Returns a description for the failure message.
    QString step() {
        const int roll = pick(100);
        if (roll < 3) {
            const int n = 1 + pick(13);
            f.selectTab(n);
            return QStringLiteral("tab %1").arg(n);
        }
        if (roll < 10) {
            const auto all = pickers();
            const auto k = static_cast<std::size_t>(pick(static_cast<int>(all.size())));
            QWidget* picker = all[k][static_cast<std::size_t>(pick(2))];
            if (!picker->isVisible()) {
                return QStringLiteral("nothing");
            }
            const Qt::Key key = std::array{Qt::Key_Up, Qt::Key_Down, Qt::Key_Home,
                                           Qt::Key_End}[static_cast<std::size_t>(pick(4))];
            pickedBox0 = boxes()[0]->text();
            const int rowBefore = rowOf(picker);
            const bool open = f.w().state().UpdateGuard != RuriruzState::guardSetUp;
            QTest::keyClick(picker, key);
            pickConverts = open && rowOf(picker) != rowBefore;
            return QStringLiteral("pick with key %1").arg(key, 0, 16);
        }
        if (roll < 14) {
            QGuiApplication::clipboard()->setText(randomText());
            return QStringLiteral("clipboard");
        }
        const auto side = static_cast<std::size_t>(pick(2));
        TextBox* box = boxes()[side];
        editedSide = side;
        edited = box;
        before = box->text();
        const int k = pick(40);
        constexpr int paste = 35;  // Shift+Insert among the special keys
        if ((k < 26 || k == paste) && pick(2) == 0) {
            // Anywhere in the number, over a selection or not: a separator typed inside a
            // number makes another number, and a paste goes in wherever the cursor is.
            const int length = static_cast<int>(box->text().size());
            const int from = pick(length + 1);
            const int to = pick(length + 1);
            box->setSelection(std::min(from, to), std::abs(to - from));
        }
        if (k < 18) {
            key = QChar(u'0' + pick(10));
            WindowFixture::key(box, key);
        } else if (k < 26) {
            key = QStringLiteral("-+.,eж *").at(k - 18);
            WindowFixture::key(box, key);
        } else {
            key = QChar();
            struct Special {
                Qt::Key key;
                Qt::KeyboardModifiers mods;
            };
            static const Special specials[] = {{Qt::Key_Backspace, {}},
                                               {Qt::Key_Delete, {}},
                                               {Qt::Key_Return, {}},
                                               {Qt::Key_Escape, {}},
                                               {Qt::Key_Left, {}},
                                               {Qt::Key_Right, {}},
                                               {Qt::Key_Home, Qt::ShiftModifier},
                                               {Qt::Key_End, Qt::ShiftModifier},
                                               {Qt::Key_Left, Qt::ShiftModifier},
                                               {Qt::Key_Insert, Qt::ShiftModifier},
                                               {Qt::Key_Delete, Qt::ShiftModifier},
                                               {Qt::Key_Insert, Qt::ControlModifier},
                                               {Qt::Key_V, Qt::ControlModifier},
                                               {Qt::Key_Z, Qt::ControlModifier}};
            const Special& s = specials[k - 26];
            QTest::keyClick(box, s.key, s.mods);
            return QStringLiteral("key %1 (mods %2) into box %3 of tab %4")
                .arg(s.key, 0, 16)
                .arg(s.mods.toInt())
                .arg(side)
                .arg(tab());
        }
        return QStringLiteral("'%1' into box %2 of tab %3").arg(key).arg(side).arg(tab());
    }

    std::mt19937_64 random;
    WindowFixture f;
    QChar separator;
    std::vector<QLineEdit*> writes;
    TextBox* edited = nullptr;
    std::size_t editedSide = 0;
    QString before;
    QChar key;
    QString pickedBox0;
    bool pickConverts = false;
};

quint64 envNumber(const char* name, quint64 fallback) {
    bool ok = false;
    const quint64 value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

}  // namespace

class TestStress : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void randomUse_data() {
        QTest::addColumn<quint64>("seed");
        QTest::addColumn<QLocale>("locale");
        const quint64 replay = envNumber("MERVEL_STRESS_SEED", 0);
        if (replay != 0) {
            QTest::newRow("replay, point") << replay << QLocale::c();
            QTest::newRow("replay, comma") << replay << QLocale(QLocale::Russian);
            return;
        }
        QTest::newRow("point locale") << quint64(20261208) << QLocale::c();
        QTest::newRow("comma locale") << quint64(1234567) << QLocale(QLocale::Russian);
    }

    void randomUse() {
        QFETCH(quint64, seed);
        QFETCH(QLocale, locale);
        const quint64 events = envNumber("MERVEL_STRESS_EVENTS", 15000);
        Stress s(seed, locale);
        quint64 checked = 0;  // conversions compared with the independent reckoning
        quint64 i = 0;
        // An exception, thrown by the window or by this test's own reckoning, fails with the seed
        // too, instead of ending the run without it.
        try {
            runEvents(s, seed, events, i, checked);
        } catch (const std::exception& e) {
            QFAIL(qPrintable(QStringLiteral("seed %1, event %2: exception: %3")
                                 .arg(seed)
                                 .arg(i)
                                 .arg(QString::fromUtf8(e.what()))));
        }
        if (QTest::currentTestFailed()) {
            return;
        }
        qInfo("%llu events, %llu conversions checked", events, checked);
        QVERIFY2(
            checked > events / 20,
            qPrintable(
                QStringLiteral("seed %1: only %2 conversions checked").arg(seed).arg(checked)));
    }

private:
    static void runEvents(Stress& s, quint64 seed, quint64 events, quint64& i, quint64& checked) {
        for (; i < events; ++i) {
            s.writes.clear();
            s.edited = nullptr;
            s.pickedBox0.clear();
            const int tabBefore = s.tab();
            const int beepsBefore = s.f.desktop.beeps;
            const QString what = s.step();
            const QString where =
                QStringLiteral("seed %1, event %2: %3").arg(seed).arg(i).arg(what);
            // A refused paste beeps once, not once for each character.
            QVERIFY2(s.f.desktop.beeps - beepsBefore <= 1, qPrintable(where));
            const qint16 guard = s.f.w().state().UpdateGuard;
            QVERIFY2(guard == 0 || guard == 1 || guard == 3, qPrintable(where));
            if (!s.pickedBox0.isNull()) {
                // A pick converts box 0 into box 1 and never rewrites box 0.
                QVERIFY2(s.boxes()[0]->text() == s.pickedBox0, qPrintable(where));
                checked += s.holdsConversion(0, where, s.pickConverts);
                QVERIFY(!QTest::currentTestFailed());
                continue;
            }
            if (s.tab() != tabBefore) {
                // The moment panel keeps its numbers over a tab switch and works box 1 out again
                // in the units the switch picked.
                if (convert::categoryAt(s.tab())->panel == Panel::Moment) {
                    checked += s.holdsConversion(0, where, true);
                    QVERIFY(!QTest::currentTestFailed());
                }
                continue;
            }
            if (!s.edited) {
                continue;
            }
            // A conversion never writes back into the box being edited.
            const auto count = std::count(s.writes.begin(), s.writes.end(), s.edited);
            QVERIFY2(count <= 1, qPrintable(where));
            const bool separator = s.key == u'.' || s.key == u',';
            if (s.edited->text() == s.before && !separator) {
                continue;
            }
            // Only an edit that changes the number has to convert: "3" to "3." waits.
            const bool changed =
                parse(s.edited->text(), s.separator) != parse(s.before, s.separator);
            checked += s.holdsConversion(s.editedSide, where, changed);
            QVERIFY(!QTest::currentTestFailed());
        }
    }
};

QTEST_MAIN(TestStress)
#include "tst_stress.moc"
