// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BatchMode.h"
#include "app/CommandLine.h"
#include "base/RecordFile.h"
#include "config/ConfigFile.h"
#include "report/ExperimentPicture.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sstream>

using namespace Ionaria;
using app::BatchMode;

namespace {

struct Setup {
    std::string montage;
    std::string scale;
    std::string nature1;
    std::string nature2;
    std::string electrolyte;
    std::string concentration;
    std::string current; // cA
};

std::vector<std::string> records(const Setup& s) {
    return {"KIVAR",   s.montage,     s.scale,         "0",   "7",  "30", s.current, s.nature1,
            s.nature2, s.electrolyte, s.concentration, "350", "10", "10", "10",      "0,1",
            "200",     "0,1",         "150",           "10"};
}

// The picture that --png writes: the end of the run, drawn once.
QImage batchPicture(const std::string& path, long long seconds, int& status) {
    app::CommandLine options;
    options.mode = app::CommandLine::Mode::Batch;
    options.configFile = path;
    options.seconds = seconds;
    QImage image;
    std::ostringstream out;
    std::ostringstream err;
    status = BatchMode::run(options, out, err, [&image](const BatchMode::LastFrame& last) {
        report::ExperimentPicture picture(last.engine);
        last.draw(picture);
        image = picture.image().copy();
        return true;
    });
    return image;
}

// The picture of the window: the same configuration opened with the picture
// attached, run at one simulated second per tick until the time shown.
QImage windowPicture(const std::string& path, long long seconds, int& ticks) {
    sim::Engine engine;
    report::ExperimentPicture picture(engine);
    engine.setHost(&picture);
    sim::Handlers handlers(engine);
    handlers.startup();
    if (config::ConfigFile::load(path, handlers)) {
        return {};
    }
    engine.setStepsPerTickOverride(1);
    ticks = 0;
    if (!engine.state().natInvalide) {
        engine.Command5_Click();
        while (engine.params().Timer1 && engine.params().mesures.tempsSec < seconds) {
            engine.Timer1_Timer();
            ++ticks;
        }
    }
    return picture.image().copy();
}

} // namespace

class BatchPictureTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void batchDrawsWhatTheWindowShows_data() {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<int>("seconds");
        // montage, scale, natures, electrolyte, concentration, current
        const QStringList cell{"0", "0", "3", "1", "4", "0,01", "12"};
        QTest::newRow("cell, microscopic, 137 s") << cell << 137;
        QTest::newRow("cell, microscopic, 500 s") << cell << 500;
        QTest::newRow("cell, macroscopic, 420 s")
            << QStringList{"0", "1", "2", "1", "4", "0,01", "12"} << 420;
        QTest::newRow("chlorine bubbles, macroscopic, 333 s")
            << QStringList{"1", "1", "3", "3", "4", "0,5", "12"} << 333;
        QTest::newRow("oxygen and hydrogen, microscopic, 610 s")
            << QStringList{"2", "0", "3", "3", "1", "0,05", "12"} << 610;
        QTest::newRow("zinc anode, microscopic, 250 s")
            << QStringList{"2", "0", "3", "4", "9", "0,1", "12"} << 250;
        // The blue fades fast: the picture's background is that of its last
        // redraw, not of the last second.
        QTest::newRow("copper deposit, fading blue, 420 s")
            << QStringList{"2", "0", "3", "3", "6", "0,002", "25"} << 420;
        QTest::newRow("refused montage")
            << QStringList{"1", "0", "4", "3", "0", "0,01", "12"} << 10;
    }
    void batchDrawsWhatTheWindowShows() {
        QFETCH(QStringList, setup);
        QFETCH(int, seconds);
        const std::string path = m_dir.filePath("essai.C14").toStdString();
        const Setup s{setup[0].toStdString(), setup[1].toStdString(), setup[2].toStdString(),
                      setup[3].toStdString(), setup[4].toStdString(), setup[5].toStdString(),
                      setup[6].toStdString()};
        QCOMPARE(base::RecordFile::writeAll(path, records(s)), base::RecordFile::Status::Ok);
        int status = -1;
        const QImage batch = batchPicture(path, seconds, status);
        int ticks = 0;
        const QImage window = windowPicture(path, seconds, ticks);
        QVERIFY(!batch.isNull());
        QCOMPARE(batch.size(), QSize(417, 497));
        const bool refused = QByteArray(QTest::currentDataTag()).startsWith("refused");
        QCOMPARE(status, refused ? BatchMode::refused : BatchMode::ok);
        QVERIFY(refused || ticks == seconds + 1);
        // Pixel for pixel.
        QVERIFY(batch == window);
    }
};

QTEST_MAIN(BatchPictureTest)
#include "BatchPictureTest.moc"
