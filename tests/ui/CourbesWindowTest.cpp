// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CourbesWindow.h"
#include "CourbesRun.h"
#include "app/BatchMode.h"
#include "app/CommandLine.h"
#include "base/RecordFile.h"
#include "config/ConfigFile.h"
#include "ui/MainWindow.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFontInfo>
#include <QGraphicsView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sstream>

using namespace Ionaria;
using testing::CourbesRun;
using testing::ScriptedBoxes;
using ui::CourbesWindow;

namespace {

// The copper deposit whose ions run out, as a configuration file.
const std::vector<std::string> copperRunsOut = {"KIVAR", "2",    "0",   "0",     "1",   "30", "5",
                                                "3",     "3",    "6",   "0,001", "500", "10", "10",
                                                "10",    "0,01", "200", "0,01",  "200", "10"};

// The batch CSV of that configuration: its columns by name, row by time.
struct BatchRows {
    QStringList columns;
    QHash<int, QStringList> byTime;
    double value(int t, const QString& column) const {
        return byTime.value(t).value(columns.indexOf(column)).toDouble();
    }
};

BatchRows batchRows(const QString& config, int seconds) {
    std::ostringstream out;
    std::ostringstream err;
    const auto options = app::CommandLine::parse(
        {"--batch", config.toStdString(), "--seconds", std::to_string(seconds), "--csv", "-"});
    app::BatchMode::run(options, out, err);
    QStringList lines = QString::fromStdString(out.str()).split('\n', Qt::SkipEmptyParts);
    BatchRows rows;
    rows.columns = lines.takeFirst().split(',');
    for (const QString& line : lines) {
        const QStringList fields = line.split(',');
        rows.byTime.insert(fields.front().toInt(), fields);
    }
    return rows;
}

// A number the readout writes after a name, in French ("m(G) = 10,0123 g",
// "[Cu²⁺] = 1,3039 × 10⁻¹¹ mol·L⁻¹").
double readoutNumber(const QString& readout, const QString& name) {
    const QRegularExpression line("^" + QRegularExpression::escape(name) +
                                      " = ([-0-9,\\x{202F}\\x{A0}]+)(?: × 10([⁻⁰¹²³⁴⁵⁶⁷⁸⁹]+))?",
                                  QRegularExpression::MultilineOption);
    const auto match = line.match(readout);
    if (!match.hasMatch()) {
        return qQNaN();
    }
    QString digits = match.captured(1);
    digits.remove(QRegularExpression("[\\s\\x{202F}\\x{A0}]")).replace(',', '.');
    QString power;
    for (const QChar c : match.captured(2)) {
        power +=
            c == QChar(0x207B) ? QString("-") : QString::number(QString("⁰¹²³⁴⁵⁶⁷⁸⁹").indexOf(c));
    }
    return digits.toDouble() * (power.isEmpty() ? 1.0 : std::pow(10.0, power.toInt()));
}

// The seconds of the measurement the readout shows.
int readoutSeconds(const QString& readout) {
    const auto match =
        QRegularExpression("^t = (?:.*\\()?([0-9\\s\\x{202F}\\x{A0}]+) s").match(readout);
    QString digits = match.captured(1);
    return digits.remove(QRegularExpression("[^0-9]")).toInt();
}

bool near(double a, double b, double relative) {
    return std::fabs(a - b) <= relative * std::max(std::fabs(a), std::fabs(b));
}

} // namespace

class CourbesWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // The boxes choose the plots; the current and the masses come first.
    void choosingCurves_data() {
        QTest::addColumn<QStringList>("toggled");
        QTest::addColumn<QStringList>("plotted");
        QTest::newRow("as it opens") << QStringList{} << QStringList{"i", "mG", "mD"};
        QTest::newRow("without the current") << QStringList{"i"} << QStringList{"mG", "mD"};
        QTest::newRow("with the voltage") << QStringList{"U"} << QStringList{"i", "U", "mG", "mD"};
        QTest::newRow("the ions alone")
            << QStringList{"i", "mG", "mD", "Cu2+", "SO42-"} << QStringList{"SO42-", "Cu2+"};
    }
    void choosingCurves() {
        QFETCH(QStringList, toggled);
        QFETCH(QStringList, plotted);
        CourbesRun run;
        run.copperDeposit("0,01");
        run.runFor(120);
        CourbesWindow window(run.record);
        window.show();
        // Species that were never in the vessel get no box.
        QVERIFY(window.quantityBox("Cu2+") != nullptr);
        QCOMPARE(window.quantityBox("Zn2+"), nullptr);
        for (const QString& id : toggled) {
            QVERIFY2(window.quantityBox(id) != nullptr, qPrintable(id));
            window.quantityBox(id)->click();
        }
        QCOMPARE(window.chart().quantities(), plotted);
        QCOMPARE(window.chart().plotCount(), int(plotted.size()));
    }

    // The new command has a letter of its own, and the row still holds
    // every caption whole inside the window.
    void commandOfItsOwn() {
        ui::MainWindow main(m_dir.path());
        main.show();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QSet<QChar> letters;
        int right = 0;
        QList<QPushButton*> row;
        for (QPushButton* b : main.findChildren<QPushButton*>()) {
            const QString text = b->text();
            const qsizetype amp = text.indexOf('&');
            if (amp >= 0 && amp + 1 < text.size()) {
                const QChar letter = text.at(amp + 1).toLower();
                QVERIFY2(!letters.contains(letter), qPrintable(text));
                letters.insert(letter);
            }
            if (b->parentWidget() == &main) {
                row << b;
            }
        }
        std::sort(row.begin(), row.end(),
                  [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
        for (QPushButton* b : row) {
            QVERIFY2(b->x() >= right, qPrintable(b->text()));
            QVERIFY2(b->width() >=
                         b->fontMetrics().horizontalAdvance(QString(b->text()).remove('&')),
                     qPrintable(b->text()));
            right = b->x() + b->width();
        }
        QVERIFY(right <= ui::MainWindow::designWidth);
        QCOMPARE(main.Command12->text(), QString("Co&urbes"));
        // Through the window system, as a key press comes; the button shows
        // itself pressed a moment, then clicks.
        QTest::keyClick(main.windowHandle(), Qt::Key_U, Qt::AltModifier);
        QTRY_VERIFY(main.courbesWindow() != nullptr && main.courbesWindow()->isVisible());
        // A second time shows the same window.
        CourbesWindow* first = main.courbesWindow();
        main.Command12->click();
        QCOMPARE(main.courbesWindow(), first);
    }

    // Opened from the main window, it follows the run and rests when the run
    // rests.
    void liveUpdatesWhileRunning() {
        ui::MainWindow main(m_dir.path());
        main.show();
        main.Command12->click();
        CourbesWindow* window = main.courbesWindow();
        if (window == nullptr) {
            QFAIL("the command opened no window");
        }
        QVERIFY(window->isVisible());
        QVERIFY(!window->isModal());
        QSignalSpy redrawn(window, &CourbesWindow::redrawn);
        main.Command5_Click();
        QTRY_VERIFY(redrawn.count() >= 3);
        const int early = readoutSeconds(window->readout()->text());
        QTRY_VERIFY(readoutSeconds(window->readout()->text()) > early);
        main.Command5_Click();
        QTRY_COMPARE(readoutSeconds(window->readout()->text()), main.recorder().lastSeconds());
        const qsizetype drawn = redrawn.count();
        QTest::qWait(4 * CourbesWindow::refreshInterval);
        QCOMPARE(redrawn.count(), drawn);
        // A reset starts the curves again.
        main.Command3_Click();
        QTRY_COMPARE(readoutSeconds(window->readout()->text()), 0);
    }

    // The characteristic is that of the state the run reached: its threshold
    // moves as the copper ions run out, and it leaves with its box.
    void characteristicFollowsTheState() {
        CourbesRun run;
        run.copperDeposit();
        run.runFor(60);
        CourbesWindow window(run.record);
        window.refreshIfChanged();
        QVERIFY(!window.chart().characteristicShown());
        window.characteristicBox()->setChecked(true);
        QVERIFY(window.chart().characteristicShown());
        const auto& shown = window.chart().characteristic();
        QVERIFY(shown.has_value());
        const auto& s = run.engine.state();
        QCOMPARE(shown->seuilV, double(s.e02 - s.e01));
        QVERIFY(!window.chart().characteristicArea().isEmpty());
        const double before = shown->seuilV;
        run.runFor(2400);
        QVERIFY(window.refreshIfChanged());
        QCOMPARE(window.chart().characteristic()->seuilV, double(s.e02 - s.e01));
        QVERIFY(window.chart().characteristic()->seuilV != before);
        window.characteristicBox()->setChecked(false);
        QVERIFY(!window.chart().characteristicShown());
        QVERIFY(window.chart().characteristicArea().isEmpty());
    }

    // The values at a time chosen with the pointer or typed in the time box
    // are those of the measurement at that time.
    void readoutAtAChosenTime_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("byPointer");
        QTest::newRow("pointer, start") << 0 << true;
        QTest::newRow("pointer, depositing") << 1000 << true;
        QTest::newRow("pointer, copper used up") << 2200 << true;
        QTest::newRow("time box, depositing") << 990 << false;
        QTest::newRow("time box, end") << 2400 << false;
    }
    void readoutAtAChosenTime() {
        QFETCH(int, seconds);
        QFETCH(bool, byPointer);
        const QString config = m_dir.filePath("cuivre.C14");
        base::RecordFile::writeAll(config.toStdString(), copperRunsOut);
        const BatchRows batch = batchRows(config, 2400);
        CourbesRun run;
        QVERIFY(!config::ConfigFile::load(config.toStdString(), run.handlers));
        run.runFor(2400, 1);
        CourbesWindow window(run.record);
        window.faradayBox()->setChecked(true);
        window.resize(1000, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ui::CourbesChart& chart = window.chart();
        QCOMPARE(chart.timeTitle(), QString("t (min)"));
        if (byPointer) {
            const QPointF scene(chart.sceneX(seconds), chart.plotArea(1).center().y());
            QTest::mouseMove(window.view()->viewport(), window.view()->mapFromScene(scene));
        } else {
            QLineEdit* edit = window.timeBox()->findChild<QLineEdit*>();
            window.timeBox()->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, QLocale(QLocale::French).toString(seconds / 60.0, 'f', 2));
            QTest::keyClick(edit, Qt::Key_Return);
        }
        QTRY_VERIFY(window.readTime().has_value());
        const QString text = window.readout()->text();
        const int shown = readoutSeconds(text);
        // The pointer's pixel holds about four seconds of this run.
        QVERIFY2(std::abs(shown - seconds) <= (byPointer ? 6 : 1), qPrintable(text));
        QVERIFY2(batch.byTime.contains(shown), qPrintable(text));
        QVERIFY2(near(readoutNumber(text, "i"), 1000.0 * batch.value(shown, "I_A"), 1e-5),
                 qPrintable(text));
        QVERIFY2(near(readoutNumber(text, "m(G)"), batch.value(shown, "m_G_g"), 1e-5),
                 qPrintable(text));
        QVERIFY2(near(readoutNumber(text, "U"), batch.value(shown, "U_V"), 1e-5), qPrintable(text));
        QVERIFY2(near(readoutNumber(text, "[Cu²⁺]"), batch.value(shown, "Cu2+") / 0.5, 1e-5),
                 qPrintable(text));
        // After the copper, the law's mass stands above the electrode's.
        const QRegularExpression law("m\\(G\\) = [^(]*\\(loi de Faraday : ([0-9,]+) g\\)");
        const auto match = law.match(text);
        QVERIFY2(match.hasMatch(), qPrintable(text));
        const double predicted = match.captured(1).replace(',', '.').toDouble();
        QCOMPARE(predicted > batch.value(shown, "m_G_g") + 1e-3, seconds > 2000);
    }

    // A typed time stays read, in the unit it was typed in, while the run
    // goes on and the chart changes its unit; "Suivre la mesure" goes back
    // to the last second.
    void typedTimeIsKept() {
        CourbesRun run;
        run.copperDeposit();
        run.runFor(120, 1);
        CourbesWindow window(run.record);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.followBox()->isChecked());
        QCOMPARE(window.timeBox()->suffix(), QStringLiteral(" s"));
        QLineEdit* edit = window.timeBox()->findChild<QLineEdit*>();
        window.timeBox()->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("20"));
        // The run goes on while the pupil types: the text stays.
        run.runFor(130, 1);
        window.refreshIfChanged();
        QCOMPARE(edit->text(), QStringLiteral("20 s"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(window.readTime(), std::optional<double>(20.0));
        QVERIFY(!window.followBox()->isChecked());
        window.view()->setFocus();
        run.runFor(3000, 39);
        window.refreshIfChanged();
        QCOMPARE(window.chart().timeTitle(), QString("t (min)"));
        QCOMPARE(window.readTime(), std::optional<double>(20.0));
        QCOMPARE(window.timeBox()->suffix(), QStringLiteral(" s"));
        QCOMPARE(window.timeBox()->value(), 20.0);
        QCOMPARE(readoutSeconds(window.readout()->text()), 20);
        window.followBox()->setChecked(true);
        QVERIFY(!window.readTime().has_value());
        QCOMPARE(readoutSeconds(window.readout()->text()), run.record.lastSeconds());
        QCOMPARE(window.timeBox()->suffix(), QStringLiteral(" min"));
    }

    // The main window's keys: full screen, larger, smaller, design size;
    // the chart's texts and lines grow with the window.
    void zoomKeys() {
        CourbesRun run;
        run.copperDeposit();
        run.runFor(60, 1);
        CourbesWindow window(run.record);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.size(), QSize(CourbesWindow::designWidth, CourbesWindow::designHeight));
        const int designFont = QFontInfo(window.timeBox()->font()).pixelSize();
        window.resize(2 * CourbesWindow::designWidth, 2 * CourbesWindow::designHeight);
        QTRY_COMPARE(window.zoom(), 2.0);
        QTRY_COMPARE(window.view()->transform().m11(), 2.0);
        QVERIFY(QFontInfo(window.timeBox()->font()).pixelSize() >= 2 * designFont - 1);
        QTest::keyClick(&window, Qt::Key_Minus, Qt::ControlModifier);
        QTRY_COMPARE(window.zoom(), 1.75);
        QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
        QTRY_COMPARE(window.zoom(), 1.0);
        QCOMPARE(window.size(), QSize(CourbesWindow::designWidth, CourbesWindow::designHeight));
        QTRY_COMPARE(window.view()->transform().m11(), 1.0);
        QTest::keyClick(&window, Qt::Key_F11);
        QTRY_VERIFY(window.windowState().testFlag(Qt::WindowFullScreen));
        QTest::keyClick(&window, Qt::Key_F11);
        QTRY_VERIFY(!window.windowState().testFlag(Qt::WindowFullScreen));
    }

    // Tab reaches every control, and each has a name for screen readers.
    void everyControlByKeyboard() {
        CourbesRun run;
        run.runFor(60);
        CourbesWindow window(run.record);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QList<QWidget*> controls;
        for (QWidget* w : window.findChildren<QWidget*>()) {
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
                w->focusProxy() == nullptr && !w->inherits("QLineEdit")) {
                controls << w;
                QVERIFY2(!w->accessibleName().isEmpty(), w->metaObject()->className());
            }
        }
        QVERIFY(controls.size() >= 9);
        window.faradayBox()->setFocus();
        QSet<QWidget*> reached;
        for (int k = 0; k < 3 * controls.size(); ++k) {
            QWidget* focused = QApplication::focusWidget();
            reached.insert(focused != nullptr && focused->inherits("QLineEdit")
                               ? focused->parentWidget()
                               : focused);
            QTest::keyClick(focused != nullptr ? focused : &window, Qt::Key_Tab);
        }
        for (QWidget* w : controls) {
            QVERIFY2(reached.contains(w), qPrintable(w->accessibleName()));
        }
    }

    // The two exports go through their buttons: the measurements in the
    // dialect chosen, the picture in the format of the filter when the name
    // has none.
    void exportsThroughTheButtons_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("spreadsheet") << CourbesWindow::tableurFilter << "m1.csv"
                                     << "m1.csv" << QByteArray("t (s);i (A);U (V);");
        QTest::newRow("plain CSV") << CourbesWindow::csvFilter << "m2.csv"
                                   << "m2.csv" << QByteArray("t_s,I_A,U_V,");
        QTest::newRow("SVG by its filter") << "Dessin SVG (*.svg)"
                                           << "c1"
                                           << "c1.svg" << QByteArray("<?xml");
        QTest::newRow("PDF by its name") << "Image PNG (*.png)"
                                         << "c2.pdf"
                                         << "c2.pdf" << QByteArray("%PDF-");
    }
    void exportsThroughTheButtons() {
        QFETCH(QString, filter);
        QFETCH(QString, name);
        QFETCH(QString, written);
        QFETCH(QByteArray, start);
        CourbesRun run;
        run.copperDeposit();
        run.runFor(300, 1);
        ScriptedBoxes boxes;
        CourbesWindow window(run.record, nullptr, boxes);
        window.show();
        QStringList offered;
        window.setSaveAsker([&](QWidget*, const QString&, const QString&,
                                const QStringList& filters, QString& chosen) {
            offered = filters;
            chosen = filter;
            return m_dir.filePath(name);
        });
        QSignalSpy confirmed(&window, &CourbesWindow::exported);
        (written.endsWith(".csv") ? window.exportMeasuresButton() : window.exportImageButton())
            ->click();
        QVERIFY(boxes.criticals.isEmpty());
        // The confirmation names the file written.
        QCOMPARE(confirmed.count(), 1);
        QVERIFY2(confirmed.front().front().toString().contains(QStringLiteral("« ") + written +
                                                               QStringLiteral(" »")),
                 qPrintable(confirmed.front().front().toString()));
        QVERIFY(offered.contains(filter) || !written.endsWith(".csv"));
        QFile file(m_dir.filePath(written));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith(start));
        if (written.endsWith(".csv")) {
            // Every second, as the batch writes it.
            QCOMPARE(bytes.count('\n'), 1 + 301);
        }
    }

    // The window's two dialects give the same numbers to whoever reads them
    // as written, and those of the record.
    void windowDialectsReadBackAlike() {
        CourbesRun run;
        run.copperDeposit();
        run.runFor(2400);
        CourbesWindow window(run.record);
        const QString sheet = m_dir.filePath("fenetre-tableur.csv");
        const QString plain = m_dir.filePath("fenetre-ordinaire.csv");
        QVERIFY(window.exportMeasures(sheet, sim::CsvDialect::Tableur));
        QVERIFY(window.exportMeasures(plain, sim::CsvDialect::Standard));
        const auto read = [](const QString& path, QChar separator, QChar decimal) {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            QList<QList<double>> rows;
            QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
            lines.removeFirst();
            for (const QString& line : lines) {
                QList<double> row;
                for (QString field : line.split(separator)) {
                    row << field.replace(decimal, '.').toDouble();
                }
                rows << row;
            }
            return rows;
        };
        const auto sheetRows = read(sheet, ';', ',');
        // The spreadsheet leaves out the two reaction codes.
        auto plainRows = read(plain, ',', '.');
        for (auto& row : plainRows) {
            row.remove(5, 2);
        }
        QCOMPARE(sheetRows, plainRows);
        QCOMPARE(sheetRows.size(), qsizetype(run.record.rows()));
        const auto& last = run.record.buckets().back().first;
        QCOMPARE(sheetRows.back().front(), double(last.tempsSec));
        // Ten significant digits, as the batch writes them.
        QVERIFY(near(sheetRows.back().at(3), last.masseG, 1e-9));
    }

    void spreadsheetIsTheFirstChoice() {
        CourbesRun run;
        CourbesWindow window(run.record);
        QStringList offered;
        QString first;
        window.setSaveAsker([&](QWidget*, const QString&, const QString&,
                                const QStringList& filters, QString& chosen) {
            offered = filters;
            first = chosen;
            return QString();
        });
        window.exportMeasuresButton()->click();
        QCOMPARE(offered, (QStringList{CourbesWindow::tableurFilter, CourbesWindow::csvFilter}));
        QCOMPARE(first, CourbesWindow::tableurFilter);
    }

    // A file that cannot be written is said so, in French, with its name.
    void failedExportsSaySo_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::newRow("measurements") << "absent/m.csv"
                                      << "Exporter les mesures";
        QTest::newRow("picture") << "absent/c.png"
                                 << "Exporter l'image";
        QTest::newRow("picture without a format") << "c.gif"
                                                  << "Exporter l'image";
    }
    void failedExportsSaySo() {
        QFETCH(QString, name);
        QFETCH(QString, title);
        CourbesRun run;
        run.runFor(30);
        ScriptedBoxes boxes;
        CourbesWindow window(run.record, nullptr, boxes);
        const QString path = m_dir.filePath(name);
        const bool ok = name.endsWith(".csv")
                            ? window.exportMeasures(path, sim::CsvDialect::Tableur)
                            : window.exportImage(path);
        QVERIFY(!ok);
        QCOMPARE(boxes.criticals.size(), 1);
        QVERIFY2(boxes.criticals.front().startsWith(title + " | Ecriture impossible sur disque"),
                 qPrintable(boxes.criticals.front()));
        QVERIFY(boxes.criticals.front().contains(path));
        QVERIFY(!QFileInfo::exists(path));
    }
};

QTEST_MAIN(CourbesWindowTest)
#include "CourbesWindowTest.moc"
