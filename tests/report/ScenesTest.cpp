// SPDX-License-Identifier: GPL-3.0-or-later
#include "SceneFixture.h"

#include <QDir>
#include <QTest>

// The scenes of the experiment drawn whole through the engine's tick. With
// IONARIA_PNG_DIR set, each frame is also written there to be looked at.
class ScenesTest : public QObject {
    Q_OBJECT

private:
    static void save(const Scene& scene, const char* name) {
        const QString dir = qEnvironmentVariable("IONARIA_PNG_DIR");
        if (!dir.isEmpty()) {
            QVERIFY(scene.picture.writePng(QDir(dir).filePath(QString::fromLatin1(name) + ".png")));
        }
    }

private slots:
    void scenes_data();
    void scenes();
    void refused();
};

void ScenesTest::scenes_data() {
    QTest::addColumn<int>("montage");
    QTest::addColumn<bool>("macro");
    QTest::addColumn<int>("ticks");
    QTest::newRow("pile-micro") << 0 << false << 200;
    QTest::newRow("pile-macro") << 0 << true << 200;
    QTest::newRow("tension-micro") << 1 << false << 200;
    QTest::newRow("tension-macro") << 1 << true << 200;
    QTest::newRow("courant-macro") << 2 << true << 200;
}

void ScenesTest::scenes() {
    QFETCH(int, montage);
    QFETCH(bool, macro);
    QFETCH(int, ticks);
    Scene scene;
    scene.setMontage(static_cast<Scene::Montage>(montage));
    if (montage == 0) {
        scene.handlers.selectCombo2(0, 3);
        scene.handlers.selectCombo2(1, 1);
    }
    scene.setMacro(macro);
    scene.run(ticks);
    save(scene, QTest::currentDataTag());
    QVERIFY(scene.picture.Frame1Visible());
}

void ScenesTest::refused() {
    Scene scene;
    scene.handlers.selectCombo1(0);
    scene.handlers.selectCombo2(0, 4);
    QVERIFY(scene.engine.state().natInvalide);
    scene.run(5);
    save(scene, "refused");
    QVERIFY(!scene.picture.Frame1Visible());
}

QTEST_MAIN(ScenesTest)
#include "ScenesTest.moc"
