// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CourbesChart.h"
#include "CourbesRun.h"
#include "ui/ChartExport.h"

#include <QImage>
#include <QtTest>

#include <cstdlib>

using namespace Ionaria;
using testing::CourbesRun;
using ui::CourbesChart;

namespace {

// Every colour the curves may take.
const QStringList palette = {"i",    "U",    "mG",  "mD",   "Cl-",  "SO42-", "H+",
                             "Fe2+", "Fe3+", "Na+", "Zn2+", "Al3+", "Cu2+"};

int pixelsOf(const QImage& image, const QRect& area, const QColor& colour) {
    constexpr int tolerance = 6; // per component, for the edges the pen leaves alone
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::abs(c.red() - colour.red()) <= tolerance &&
                     std::abs(c.green() - colour.green()) <= tolerance &&
                     std::abs(c.blue() - colour.blue()) <= tolerance;
        }
    }
    return count;
}

} // namespace

class CourbesChartTest : public QObject {
    Q_OBJECT

private slots:
    // The picture has the curves chosen, each in its own plot, and no other.
    void pictureHasTheChosenCurves_data() {
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<bool>("faraday");
        QTest::newRow("current and masses") << QStringList{"i", "mG", "mD"} << false;
        QTest::newRow("voltage and copper ions") << QStringList{"U", "Cu2+"} << false;
        QTest::newRow("cathode with the law") << QStringList{"mG"} << true;
        QTest::newRow("all with the law")
            << QStringList{"i", "U", "mG", "mD", "Cu2+", "SO42-"} << true;
    }
    void pictureHasTheChosenCurves() {
        QFETCH(QStringList, ids);
        QFETCH(bool, faraday);
        CourbesRun run;
        run.copperDeposit();
        run.runFor(2400);
        CourbesChart chart(run.record);
        chart.setFaraday(faraday);
        chart.setQuantities(ids);
        chart.setSize(CourbesChart::exportSize(int(ids.size())));
        QCOMPARE(chart.plotCount(), int(ids.size()));
        const QImage image = QImage::fromData(ui::chartBytes(chart, ui::ChartFormat::Png), "PNG");
        QCOMPARE(image.size(), CourbesChart::exportSize(int(ids.size())));
        for (int k = 0; k < chart.plotCount(); ++k) {
            const QRect area = chart.plotArea(k).toAlignedRect();
            const QString& id = ids[k];
            QVERIFY2(pixelsOf(image, area, CourbesChart::colourOf(id)) > 50, qPrintable(id));
            for (const QString& other : palette) {
                if (other != id) {
                    QVERIFY2(pixelsOf(image, area, CourbesChart::colourOf(other)) <= 2,
                             qPrintable(id + " / " + other));
                }
            }
            const bool law = faraday && id.startsWith('m');
            QCOMPARE(pixelsOf(image, area, CourbesChart::faradayColour()) > 50, law);
        }
    }

    void axisTitles_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("title");
        QTest::newRow("current") << "i"
                                 << "i (mA)";
        QTest::newRow("voltage") << "U"
                                 << "U (V)";
        QTest::newRow("mass") << "mD"
                              << "m (g)";
        QTest::newRow("copper ions") << "Cu2+"
                                     << "[Cu²⁺] (mol·L⁻¹)";
        QTest::newRow("sulfate ions") << "SO42-"
                                      << "[SO₄²⁻] (mol·L⁻¹)";
    }
    void axisTitles() {
        QFETCH(QString, id);
        QFETCH(QString, title);
        CourbesRun run;
        run.copperDeposit();
        run.runFor(60);
        CourbesChart chart(run.record);
        chart.setQuantities({id});
        QCOMPARE(chart.axisTitle(0), title);
    }

    // Currents of an ampere and more are in A.
    void strongCurrentInAmperes() {
        CourbesRun run;
        run.handlers.selectCombo1(6);
        run.handlers.setUpDown1(100);
        run.handlers.setText2(sim::catalogue::Text2Concentration, "1");
        run.handlers.Text2_LostFocus(sim::catalogue::Text2Concentration);
        run.runFor(60);
        QVERIFY(run.engine.state().intensite >= 1.0F);
        CourbesChart chart(run.record);
        chart.setQuantities({"i"});
        QCOMPARE(chart.axisTitle(0), QString("i (A)"));
    }

    // The time axis follows the length of the run.
    void timeUnit_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("title");
        QTest::newRow("ten minutes") << 600 << "t (s)";
        QTest::newRow("a second more") << 601 << "t (min)";
        QTest::newRow("three hours") << 10800 << "t (min)";
        QTest::newRow("beyond") << 10801 << "t (h)";
    }
    void timeUnit() {
        QFETCH(int, seconds);
        QFETCH(QString, title);
        CourbesRun run;
        run.copperDeposit("0,1");
        run.runFor(seconds, 1);
        QCOMPARE(run.record.lastSeconds(), seconds);
        CourbesChart chart(run.record);
        chart.setQuantities({"i", "mG"});
        QCOMPARE(chart.timeTitle(), title);
        // The time under a point of a plot is the time drawn there.
        chart.setSize(QSizeF(700, 400));
        const QRectF area = chart.plotArea(1);
        const double t = 0.4 * seconds;
        const auto back = chart.secondsAt(QPointF(chart.sceneX(t), area.center().y()));
        QVERIFY(back);
        QVERIFY(std::fabs(*back - t) < 1e-6 * seconds);
        QVERIFY(!chart.secondsAt(QPointF(area.left() - 5, area.center().y())));
    }

    // A picture that cannot be written says so, and names the file.
    void unwritablePicture() {
        CourbesRun run;
        run.runFor(10);
        CourbesChart chart(run.record);
        chart.setQuantities({"i"});
        chart.setSize(QSizeF(600, 300));
        const auto result =
            ui::writeChart("/dossier/absent/courbes.png", chart, ui::ChartFormat::Png);
        QVERIFY(!result.ok());
        QVERIFY(!ui::failureReason(result).isEmpty());
        QCOMPARE(ui::chartFormatOf("Courbes.PDF"), std::optional(ui::ChartFormat::Pdf));
        QCOMPARE(ui::chartFormatOf("courbes.jpg"), std::nullopt);
    }
};

QTEST_MAIN(CourbesChartTest)
#include "CourbesChartTest.moc"
