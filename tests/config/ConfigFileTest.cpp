// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/ConfigFile.h"
#include "base/RecordFile.h"
#include "sim/Catalogue.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "support/FileBytes.h"
#include "support/Locales.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using Ionaria::sim::catalogue::Montage;

namespace cat = Ionaria::sim::catalogue;

using namespace Ionaria;
using config::ConfigFile;
using testing::readBytes;
using testing::writeBytes;

namespace {

struct Bench {
    sim::Engine engine;
    sim::Handlers handlers{engine};
    Bench() { handlers.startup(); }
    const sim::ParamStore& p() const { return engine.params(); }
};

std::vector<std::string> cellRecords() {
    return {"KIVAR", "0",   "1",  "1",    "7",  "40",  "12",  "1",    "3",  "4",
            "0,01",  "500", "25", "12,5", "47", "0,1", "150", "0,02", "90", "600"};
}

} // namespace

class ConfigFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::string path(const std::string& name) const {
        return m_dir.path().toStdString() + "/" + name;
    }

private slots:
    void recordsOfTheStartUpState() {
        Bench b;
        const auto r = ConfigFile::records(b.p());
        const std::vector<std::string> expected = {
            "KIVAR", "1",   "0",  "0",  "1",  "25",   "5",   "3",    "3",   "4",
            "0,01",  "500", "10", "10", "10", "0,01", "200", "0,01", "200", "10"};
        QCOMPARE(r, expected);
    }

    // The file's numbers are texts with a decimal comma, read and written the
    // same whatever the C library's locale.
    void roundTripByteForByte_data() {
        QTest::addColumn<QByteArray>("locale");
        testing::addRowsInEveryLocale("cell");
    }
    void roundTripByteForByte() {
        QFETCH(QByteArray, locale);
        IONARIA_USE_LOCALE(locale.constData());
        const std::string first = path("cell.C14");
        QCOMPARE(base::RecordFile::writeAll(first, cellRecords()), base::RecordFile::Status::Ok);
        Bench b;
        b.handlers.setCheck2(1);
        QVERIFY(!ConfigFile::load(first, b.handlers).has_value());
        QCOMPARE(b.p().Option2, Montage::Pile);
        QCOMPARE(b.p().Option1, 1);
        QCOMPARE(b.p().Check1, 1);
        QCOMPARE(b.p().Check2, 1); // not part of the file
        QCOMPARE(b.p().HScroll2, 7);
        QCOMPARE(b.p().UpDown1, 40);
        QCOMPARE(b.p().UpDown2, 12);
        QCOMPARE(b.p().Combo2[1].tag, std::string("3")); // zinc on the right, in the cell list
        QCOMPARE(b.p().Combo2[1].items[3], std::string("Zinc"));
        QCOMPARE(b.p().Text2[cat::Text2MasseD].text(), std::string("12,5"));
        QCOMPARE(b.engine.state().masseMetal[2][3], 12.5);
        QCOMPARE(b.engine.state().tempsSec, 0);
        const std::string second = path("again.C14");
        QVERIFY(!ConfigFile::save(second, b.p()).has_value());
        QCOMPARE(readBytes(second), readBytes(first));
    }

    void malformed_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("title");
        const auto file = [](const std::vector<std::string>& records) {
            std::string bytes;
            for (const auto& r : records) {
                bytes += base::RecordFile::encodeRecord(r).value_or(std::string(128, '\0'));
            }
            return QByteArray::fromStdString(bytes);
        };
        auto records = cellRecords();
        const QString notConfig = "Fichier non valide";
        const QString unreadable = "Erreur lors du chargement du fichier";
        QTest::newRow("empty file") << QByteArray() << notConfig;
        QTest::newRow("longer signature") << file({"KIVARX"}) << notConfig;
        QTest::newRow("lower case signature") << file({"kivar"}) << notConfig;
        QTest::newRow("shorter signature") << file({"KIVA"}) << notConfig;
        QTest::newRow("text file") << QByteArray("KIVAR\n1\n0\n") << notConfig;
        QTest::newRow("garbage") << QByteArray(3000, '\xff') << notConfig;
        QTest::newRow("only the signature") << file({"KIVAR"}) << unreadable;
        auto r = records;
        r[1] = "7";
        QTest::newRow("no such montage") << file(r) << unreadable;
        r = records;
        r[7] = "4";
        QTest::newRow("zinc code of electrolysis in the cell") << file(r) << unreadable;
        r = records;
        r[9] = "-1";
        QTest::newRow("no electrolyte") << file(r) << unreadable;
        r = records;
        r[4] = "99999";
        QTest::newRow("speed beyond a short") << file(r) << unreadable;
        QByteArray bad = file(records);
        bad[14 * 128] = char(200);
        QTest::newRow("record over 126 bytes") << bad << unreadable;
        QTest::newRow("truncated in a record") << file(records).left(14 * 128 + 1) << unreadable;
    }
    void malformed() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, title);
        const std::string p = path("bad.C14");
        writeBytes(p, bytes.toStdString());
        Bench b;
        b.handlers.selectOption2(Montage::Courant);
        b.handlers.setUpDown2(17);
        const auto before = ConfigFile::records(b.p());
        const auto stateBefore = b.engine.state().quantite;
        const auto message = ConfigFile::load(p, b.handlers);
        QVERIFY(message.has_value());
        QCOMPARE(QString::fromStdString(message->title), title);
        QCOMPARE(ConfigFile::records(b.p()), before);
        QCOMPARE(b.engine.state().quantite, stateBefore);
    }

    void missingFile() {
        Bench b;
        const auto message = ConfigFile::load(path("none.C14"), b.handlers);
        QVERIFY(message.has_value());
        QCOMPARE(message->text, std::string("Nom de fichier incorrect ou chemin non valide"));
        const auto folder = ConfigFile::load(m_dir.path().toStdString(), b.handlers);
        QVERIFY(folder.has_value());
        QCOMPARE(folder->text, std::string("Lecture impossible sur disque"));
    }

    // Opened while the animation runs at its fastest, a file still shows the
    // initial state it describes: the reset's tick takes one step.
    void loadedWhileRunningFast() {
        auto records = cellRecords();
        records[4] = "39";
        const std::string p = path("fast.C14");
        QCOMPARE(base::RecordFile::writeAll(p, records), base::RecordFile::Status::Ok);
        Bench b;
        b.engine.Command5_Click();
        QVERIFY(!ConfigFile::load(p, b.handlers).has_value());
        QVERIFY(b.p().Timer1);
        QCOMPARE(b.p().HScroll2, 39);
        const auto& s = b.engine.state();
        QCOMPARE(s.tempsSec, 0);
        QCOMPARE(s.masseMetal[1][1], 25.0);
        QCOMPARE(s.masseMetal[2][3], 12.5);
        QCOMPARE(s.ions1, static_cast<double>(0.1F * 150.0F / 1000.0F));
        QCOMPARE(s.ions2, static_cast<double>(0.02F * 90.0F / 1000.0F));
    }

    void unusableTexts_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("loaded");
        testing::addRowsInEveryLocale("letters in a volume", 6, "abc", "80");
        testing::addRowsInEveryLocale("zero volume", 8, "0", "80");
        testing::addRowsInEveryLocale("negative mass", 2, "-5", "1");
        testing::addRowsInEveryLocale("zero resistance", 4, "0", "5");
        testing::addRowsInEveryLocale("empty concentration", 5, "", "1E-05");
        testing::addRowsInEveryLocale("stop time letters", 9, "x", "0");
        // Above the range a value becomes the upper bound, as a box does when
        // it is validated: no absurd number reaches the results.
        testing::addRowsInEveryLocale("large resistance", 4, "5000", "1000");
        testing::addRowsInEveryLocale("huge concentration", 5, "3E+38", "1");
        testing::addRowsInEveryLocale("beyond single precision", 7, "1E+39", "1");
        testing::addRowsInEveryLocale("huge mass", 2, "1E+30", "100");
        testing::addRowsInEveryLocale("large volume", 6, "250", "200");
        testing::addRowsInEveryLocale("stop time beyond 100 h", 9, "400000", "360000");
        testing::addRowsInEveryLocale("upper bound kept", 3, "100", "100");
        testing::addRowsInEveryLocale("many digits kept", 5, "0,012345", "0,012345");
        testing::addRowsInEveryLocale("point kept", 6, "150.5", "150.5");
    }
    void unusableTexts() {
        QFETCH(QByteArray, locale);
        IONARIA_USE_LOCALE(locale.constData());
        QFETCH(int, box);
        QFETCH(QString, stored);
        QFETCH(QString, loaded);
        auto records = cellRecords();
        records[std::size_t(11 + box - 1)] = stored.toStdString();
        const std::string p = path("texts.C14");
        QCOMPARE(base::RecordFile::writeAll(p, records), base::RecordFile::Status::Ok);
        Bench b;
        QVERIFY(!ConfigFile::load(p, b.handlers).has_value());
        QCOMPARE(QString::fromStdString(b.p().Text2[std::size_t(box)].text()), loaded);
        QVERIFY(b.engine.state().intensite > 0.0F);
        // At most 1 mol/L in 200 mL, 100 g on an electrode.
        const auto& s = b.engine.state();
        QVERIFY(std::isfinite(s.ions1) && s.ions1 <= 0.2);
        QVERIFY(std::isfinite(s.ions2) && s.ions2 <= 0.2);
        for (const auto& electrode : s.masseMetal) {
            for (const double grams : electrode) {
                QVERIFY(std::isfinite(grams) && grams <= 100.0);
            }
        }
    }

    void checkSeesTheLoadedTexts_data() {
        QTest::addColumn<QString>("currentC2");
        QTest::addColumn<QString>("fileC2");
        QTest::addColumn<bool>("refused");
        QTest::newRow("file accepts what was refused") << "0,1"
                                                       << "0,01" << false;
        QTest::newRow("file refuses what was accepted") << "0,01"
                                                        << "0,1" << true;
    }
    void checkSeesTheLoadedTexts() {
        QFETCH(QString, currentC2);
        QFETCH(QString, fileC2);
        QFETCH(bool, refused);
        auto records = cellRecords();
        records[7] = "1"; // copper on both sides
        records[8] = "1";
        records[15] = "0,01";
        records[17] = fileC2.toStdString();
        const std::string p = path("concentration.C14");
        QCOMPARE(base::RecordFile::writeAll(p, records), base::RecordFile::Status::Ok);
        Bench b;
        b.handlers.selectOption2(Montage::Pile);
        b.handlers.setText2(cat::Text2ConcentrationD, currentC2.toStdString());
        QVERIFY(!ConfigFile::load(p, b.handlers).has_value());
        QCOMPARE(b.engine.state().natInvalide, refused);
    }

    // Record 21: "1" turns the option on; its absence, "0", anything else or
    // a damaged record leave it off, with no message. The copper
    // concentration cell of the records is refused without the option.
    void nernstRecord_data() {
        QTest::addColumn<QByteArray>("tail"); // the bytes after record 20
        QTest::addColumn<int>("before");      // the option before loading
        QTest::addColumn<int>("check3");
        const auto record = [](const char* text) {
            return QByteArray::fromStdString(base::RecordFile::encodeRecord(text).value());
        };
        QByteArray damaged = record("1");
        damaged[0] = char(200); // a length over 126
        QTest::newRow("absent, option off before") << QByteArray() << 0 << 0;
        QTest::newRow("absent, option on before") << QByteArray() << 1 << 0;
        QTest::newRow("1") << record("1") << 0 << 1;
        QTest::newRow("0") << record("0") << 1 << 0;
        QTest::newRow("empty") << record("") << 1 << 0;
        QTest::newRow("garbage text") << record("oui") << 1 << 0;
        QTest::newRow("1 with a space") << record("1 ") << 0 << 0;
        QTest::newRow("damaged record") << damaged << 1 << 0;
        QTest::newRow("cut short") << record("1").left(2) << 1 << 0;
        QTest::newRow("a record 22 after it") << record("1") + record("x") << 0 << 1;
    }
    void nernstRecord() {
        QFETCH(QByteArray, tail);
        QFETCH(int, before);
        QFETCH(int, check3);
        auto records = cellRecords();
        records[7] = "1"; // copper on both sides, 0,1 and 0,02 mol/L
        records[8] = "1";
        std::string bytes;
        for (const auto& r : records) {
            bytes += base::RecordFile::encodeRecord(r).value();
        }
        const std::string p = path("nernst.C14");
        writeBytes(p, bytes + tail.toStdString());
        Bench b;
        b.handlers.setCheck3(before);
        QVERIFY(!ConfigFile::load(p, b.handlers).has_value());
        QCOMPARE(b.p().Check3, check3);
        QCOMPARE(b.engine.state().natInvalide, check3 == 0);
        QCOMPARE(b.p().Text2[cat::Text2ConcentrationD].text(), std::string("0,02"));
    }

    // A generator's setting beyond its spin button's range becomes the
    // nearest bound, as a numeric box's value does; one within it, as those
    // the older ranges allowed, reads as it is.
    void generatorBeyondRange_data() {
        QTest::addColumn<QString>("voltage");
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("upDown1");
        QTest::addColumn<int>("upDown2");
        QTest::newRow("older ranges") << "40"
                                      << "12" << 40 << 12;
        QTest::newRow("huge") << "1E9"
                              << "400" << 100 << 200;
        QTest::newRow("below") << "-5"
                               << "0" << 0 << 1;
        QTest::newRow("new ranges") << "0"
                                    << "200" << 0 << 200;
        QTest::newRow("beyond 32 bits") << "1E12"
                                        << "-1E12" << 100 << 1;
        QTest::newRow("not numbers") << "volts"
                                     << "" << 0 << 1;
    }
    void generatorBeyondRange() {
        QFETCH(QString, voltage);
        QFETCH(QString, current);
        QFETCH(int, upDown1);
        QFETCH(int, upDown2);
        auto records = cellRecords();
        records[5] = voltage.toStdString();
        records[6] = current.toStdString();
        const std::string p = path("generators.C14");
        QCOMPARE(base::RecordFile::writeAll(p, records), base::RecordFile::Status::Ok);
        Bench b;
        QVERIFY(!ConfigFile::load(p, b.handlers).has_value());
        QCOMPARE(b.p().UpDown1, upDown1);
        QCOMPARE(b.p().UpDown2, upDown2);
    }

    // Record 22: "1" counts hydrogen's overpotential; saved, the file then
    // holds record 21 too ("0" when the other option is off).
    void surtensionRoundTrip_data() {
        QTest::addColumn<int>("check3");
        QTest::addColumn<int>("check4");
        QTest::addColumn<QStringList>("tail");
        QTest::newRow("neither") << 0 << 0 << QStringList{};
        QTest::newRow("overpotential") << 0 << 1 << QStringList{"0", "1"};
        QTest::newRow("both") << 1 << 1 << QStringList{"1", "1"};
        QTest::newRow("Nernst") << 1 << 0 << QStringList{"1"};
    }
    void surtensionRoundTrip() {
        QFETCH(int, check3);
        QFETCH(int, check4);
        QFETCH(QStringList, tail);
        Bench b;
        b.handlers.selectOption2(Montage::Courant);
        b.handlers.selectCombo1(9);
        b.handlers.setCheck3(check3);
        b.handlers.setCheck4(check4);
        const auto r = ConfigFile::records(b.p());
        QCOMPARE(r.size(), std::size_t(ConfigFile::recordCount + tail.size()));
        for (qsizetype k = 0; k < tail.size(); ++k) {
            QCOMPARE(QString::fromStdString(r[std::size_t(ConfigFile::recordCount + k)]), tail[k]);
        }
        const std::string p = path("zinc.C14");
        QVERIFY(!ConfigFile::save(p, b.p()).has_value());
        Bench other;
        other.handlers.setCheck4(1 - check4);
        QVERIFY(!ConfigFile::load(p, other.handlers).has_value());
        QCOMPARE(other.p().Check3, check3);
        QCOMPARE(other.p().Check4, check4);
        QCOMPARE(ConfigFile::records(other.p()), r);
        // With the option, the cathode deposits zinc from the start.
        QCOMPARE(int(other.engine.state().espece[1]), check4 == 1 ? 8 : 3);
    }

    // Saved with the option, a file holds 21 records and comes back with
    // it; saved without, it holds the twenty of before, byte for byte.
    void nernstRoundTrip_data() {
        QTest::addColumn<int>("check3");
        QTest::addColumn<qint64>("size");
        QTest::newRow("on") << 1 << qint64(21 * 128);
        QTest::newRow("off") << 0 << qint64(20 * 128);
    }
    void nernstRoundTrip() {
        QFETCH(int, check3);
        QFETCH(qint64, size);
        Bench b;
        b.handlers.selectOption2(Montage::Pile);
        b.handlers.selectCombo2(0, 1);
        b.handlers.selectCombo2(1, 1);
        b.handlers.setText2(cat::Text2ConcentrationG, "0,01");
        b.handlers.Text2_LostFocus(cat::Text2ConcentrationG);
        b.handlers.setText2(cat::Text2ConcentrationD, "1");
        b.handlers.Text2_LostFocus(cat::Text2ConcentrationD);
        b.handlers.setCheck3(check3);
        const std::string first = path("pile.C14");
        QVERIFY(!ConfigFile::save(first, b.p()).has_value());
        QCOMPARE(qint64(readBytes(first).size()), size);
        const auto r = base::RecordFile::readOne(first, ConfigFile::recordNernst);
        QCOMPARE(r.status, base::RecordFile::Status::Ok);
        QCOMPARE(r.value, std::string(check3 == 1 ? "1" : ""));
        // A reader of twenty records finds them as they always were.
        const auto twenty = base::RecordFile::readAll(first, ConfigFile::recordCount);
        QCOMPARE(twenty.status, base::RecordFile::Status::Ok);
        auto expected = ConfigFile::records(b.p());
        expected.resize(std::size_t(ConfigFile::recordCount));
        QCOMPARE(twenty.values, expected);

        Bench other;
        other.handlers.setCheck3(1 - check3);
        QVERIFY(!ConfigFile::load(first, other.handlers).has_value());
        QCOMPARE(other.p().Check3, check3);
        QCOMPARE(other.engine.state().natInvalide, check3 == 0);
        QCOMPARE(ConfigFile::records(other.p()), ConfigFile::records(b.p()));
        const std::string second = path("pile-again.C14");
        QVERIFY(!ConfigFile::save(second, other.p()).has_value());
        QCOMPARE(readBytes(second), readBytes(first));
    }

    void failedSaveKeepsTheOldFile() {
        Bench b;
        const std::string p = path("keep.C14");
        QVERIFY(!ConfigFile::save(p, b.p()).has_value());
        const std::string before = readBytes(p);
        b.handlers.setText2(cat::Text2Concentration, std::string(130, '1'));
        const auto message = ConfigFile::save(p, b.p());
        QVERIFY(message.has_value());
        QCOMPARE(message->text, std::string("Ecriture impossible sur disque"));
        QCOMPARE(readBytes(p), before);
    }

    void names_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("result");
        QTest::newRow("extension replaced") << "essai.txt"
                                            << "/tmp/TP"
                                            << "/tmp/TP/essai.C14";
        QTest::newRow("several dots") << "a.b.c"
                                      << "/tmp/TP/"
                                      << "/tmp/TP/a.C14";
        QTest::newRow("blanks trimmed") << "  nom  "
                                        << "/x"
                                        << "/x/nom.C14";
        QTest::newRow("own folder kept") << "/home/u/essai"
                                         << "/tmp"
                                         << "/home/u/essai.C14";
        QTest::newRow("dotted folder kept") << "/home/u/mes.tp/essai"
                                            << "/tmp"
                                            << "/home/u/mes.tp/essai.C14";
        QTest::newRow("dotted folder, dotted name") << "/a/b.c/d.e.f"
                                                    << "/tmp"
                                                    << "/a/b.c/d.C14";
        QTest::newRow("already a configuration") << "pile.C14"
                                                 << "/tmp"
                                                 << "/tmp/pile.C14";
        QTest::newRow("empty") << ""
                               << "/tmp"
                               << "";
        QTest::newRow("blanks only") << "   "
                                     << "/tmp"
                                     << "";
    }
    void names() {
        QFETCH(QString, typed);
        QFETCH(QString, folder);
        QFETCH(QString, result);
        const auto path = ConfigFile::pathForName(typed.toStdString(), folder.toStdString());
        QCOMPARE(QString::fromStdString(path.value_or("")), result);
    }
};

QTEST_GUILESS_MAIN(ConfigFileTest)
#include "ConfigFileTest.moc"
