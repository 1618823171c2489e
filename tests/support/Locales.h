// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QLocale>
#include <QProcessEnvironment>
#include <QString>
#include <QtTest>

#include <array>
#include <clocale>
#include <cstring>
#include <string>

namespace Ionaria::testing {

// The C library's locales that the number tables run under: the one CI has,
// the pupils' one (decimal comma, blank between thousands) and one more with
// a decimal comma and a point between thousands.
inline constexpr std::array<const char*, 3> numberLocales = {"C.UTF-8", "fr_FR.UTF-8",
                                                             "de_DE.UTF-8"};

// Sets the C library's locale for the life of the object, as Qt does from the
// environment when the application starts, and Qt's default locale with it,
// as LANG would have made it; then puts the previous ones back. ok() is false
// when the locale is not generated on this machine.
class ScopedCLocale {
public:
    explicit ScopedCLocale(const char* name) {
        if (const char* current = std::setlocale(LC_ALL, nullptr)) {
            m_previous = current;
        }
        m_ok = std::setlocale(LC_ALL, name) != nullptr;
        QLocale::setDefault(QLocale(QString::fromLatin1(name).section(QLatin1Char('.'), 0, 0)));
    }
    ~ScopedCLocale() {
        std::setlocale(LC_ALL, m_previous.c_str());
        QLocale::setDefault(m_previousQt);
    }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

    bool ok() const { return m_ok; }
    // The decimal point the C library would write now.
    static QByteArray decimalPoint() { return std::localeconv()->decimal_point; }

private:
    std::string m_previous = "C";
    QLocale m_previousQt;
    bool m_ok = false;
};

// Adds one row of a data table for each of numberLocales, named after the
// locale and name, with the locale (a QByteArray) in the first column.
template <typename... Values> void addRowsInEveryLocale(const char* name, const Values&... values) {
    for (const char* locale : numberLocales) {
        ((QTest::addRow("%s, %s", locale, name) << QByteArray(locale)) << ... << values);
    }
}

// The environment of a program started as a user of that locale starts it:
// LANG alone decides, whatever the test's own LC_* say.
inline QProcessEnvironment environmentOfLocale(const QString& lang) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& name : env.keys()) {
        if (name.startsWith(QLatin1String("LC_"))) {
            env.remove(name);
        }
    }
    env.insert(QStringLiteral("LANG"), lang);
    return env;
}

} // namespace Ionaria::testing

// Sets the row's locale for the rest of the test function; fails, naming the
// missing locale, when this machine has not generated it (scripts/deps.sh
// does), since the row would then prove nothing.
#define IONARIA_USE_LOCALE(name)                                                                   \
    const Ionaria::testing::ScopedCLocale scopedLocale_(name);                                     \
    QVERIFY2(scopedLocale_.ok(),                                                                   \
             qPrintable(QStringLiteral("the locale %1 is not generated: run scripts/deps.sh")      \
                            .arg(QString::fromLatin1(name))))
