// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/Fichexo.h"
#include "base/RecordFile.h"
#include "config/FileBrowser.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <QtTest>

#include <map>

using Ionaria::base::RecordFile;
using Ionaria::exercises::Fichexo;

namespace {

void writeDescriptor(const QString& path, const std::string& correction,
                     const std::string& correctionConfiguration, const std::string& level,
                     const std::string& hourglasses) {
    const std::vector<std::string> records{
        "enonce.rtf", "config.C14", correction, correctionConfiguration, level,      "", "Loi de ",
        "Faraday, ",  "masse ",     "déposée",  "  Dépôt de cuivre  ",   hourglasses};
    QCOMPARE(RecordFile::writeAll(path.toStdString(), records), RecordFile::Status::Ok);
}

QStringList listed(const QListWidget* list) {
    QStringList names;
    for (int i = 0; i < list->count(); ++i) {
        names << list->item(i)->text();
    }
    return names;
}

} // namespace

class FichexoTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString at(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).mkpath("niveau2");
        writeDescriptor(at("a.E37"), "corrige.rtf", "", "2", "3");
        for (const char* other : {"b.e37", "notes.txt", "c.E37.bak"}) {
            QFile file(at(other));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }

    void listsDescriptorsOnly() {
        Fichexo chooser(m_dir.path(), {});
        QCOMPARE(listed(chooser.browser()->File1()), (QStringList{"a.E37", "b.e37"}));
        QCOMPARE(chooser.dossierExo(), QDir::toNativeSeparators(m_dir.path() + "/"));
    }

    // Each descriptor shows its title beside its name, for the eye and for
    // screen readers; one that cannot be read shows its name alone.
    void listShowsTitles() {
        Fichexo chooser(m_dir.path(), {});
        const QListWidget* files = chooser.browser()->File1();
        QCOMPARE(files->item(0)->text(), QStringLiteral("a.E37"));
        QCOMPARE(files->item(0)->data(Fichexo::titleRole).toString(),
                 QStringLiteral("Dépôt de cuivre"));
        QCOMPARE(files->item(0)->data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("a.E37 : Dépôt de cuivre"));
        QVERIFY(files->item(1)->data(Fichexo::titleRole).toString().isEmpty());
        QStyleOptionViewItem option;
        option.initFrom(files);
        const QSize titled = files->itemDelegate()->sizeHint(option, files->model()->index(0, 0));
        const QSize bare = files->itemDelegate()->sizeHint(option, files->model()->index(1, 0));
        QVERIFY(titled.width() > bare.width() + files->fontMetrics().horizontalAdvance("cuivre"));
    }

    void nothingSelected() {
        Fichexo chooser(m_dir.path(), {});
        QVERIFY(chooser.selectionHintShown());
        QVERIFY(!chooser.levelImagesShown());
        QVERIFY(!chooser.ouvreur()->isVisibleTo(&chooser));
        QVERIFY(chooser.selectedPath().isEmpty());
        chooser.preview("a.E37");
        QVERIFY(!chooser.selectionHintShown());
        QVERIFY(chooser.browser()->setFolder(at("niveau2")));
        QVERIFY(chooser.selectionHintShown());
        QVERIFY(!chooser.ouvreur()->isVisibleTo(&chooser));
        QCOMPARE(chooser.dossierExo(), QDir::toNativeSeparators(at("niveau2") + "/"));
    }

    void preview_data() {
        QTest::addColumn<QString>("correction");
        QTest::addColumn<QString>("correctionConfiguration");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("hourglasses");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("lit");
        QTest::addColumn<int>("shown");
        QTest::newRow("level 0, blank corrections") << ""
                                                    << ""
                                                    << "0"
                                                    << "1"
                                                    << "Non corrigé" << 0 << 1;
        QTest::newRow("spaces are blank") << "  "
                                          << " "
                                          << "1"
                                          << "2"
                                          << "Non corrigé" << 1 << 2;
        QTest::newRow("correction text") << "c.rtf"
                                         << ""
                                         << "2"
                                         << "3"
                                         << "Exercice corrigé" << 2 << 3;
        QTest::newRow("correction configuration only") << ""
                                                       << "c.C14"
                                                       << "3"
                                                       << "0"
                                                       << "Exercice corrigé" << 3 << 0;
        QTest::newRow("level out of range") << ""
                                            << ""
                                            << "9"
                                            << "x"
                                            << "Non corrigé" << 3 << 0;
    }
    void preview() {
        QFETCH(QString, correction);
        QFETCH(QString, correctionConfiguration);
        QFETCH(QString, level);
        QFETCH(QString, hourglasses);
        QFETCH(QString, label);
        QFETCH(int, lit);
        QFETCH(int, shown);
        QTemporaryDir dir;
        writeDescriptor(dir.filePath("exo.E37"), correction.toStdString(),
                        correctionConfiguration.toStdString(), level.toStdString(),
                        hourglasses.toStdString());
        Fichexo chooser(dir.path(), {});
        QListWidget* files = chooser.browser()->File1();
        QCOMPARE(files->count(), 1);
        chooser.show();
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                          files->visualItemRect(files->item(0)).center());
        QCOMPARE(chooser.selectedPath(), dir.filePath("exo.E37"));
        QVERIFY(!chooser.selectionHintShown());
        QVERIFY(chooser.levelImagesShown());
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(chooser.levelLit(k), k < lit);
        }
        QCOMPARE(chooser.correctionText(), label);
        QCOMPARE(chooser.notionsText(), "Loi de Faraday, masse déposée");
        QCOMPARE(chooser.titleText(), "Dépôt de cuivre");
        QCOMPARE(chooser.hourglassesShown(), shown);
        QVERIFY(chooser.ouvreur()->isVisible());
    }

    void opening_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("opened");
        QTest::newRow("open button") << "ouvreur" << true;
        QTest::newRow("double click") << "double" << true;
        QTest::newRow("Enter") << "enter" << true;
        QTest::newRow("close button") << "Image5" << false;
    }
    void opening() {
        QFETCH(QString, how);
        QFETCH(bool, opened);
        QStringList asked;
        Fichexo chooser(m_dir.path(), [&asked](const QString& path) { asked << path; });
        chooser.show();
        QListWidget* files = chooser.browser()->File1();
        const QPoint first = files->visualItemRect(files->item(0)).center();
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, first);
        if (how == "ouvreur") {
            QTest::mouseClick(chooser.ouvreur(), Qt::LeftButton);
        } else if (how == "double") {
            QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, first);
        } else if (how == "enter") {
            QTest::keyClick(files, Qt::Key_Return);
        } else {
            QTest::mouseClick(chooser.Image5(), Qt::LeftButton);
        }
        QCOMPARE(asked, opened ? QStringList{at("a.E37")} : QStringList{});
        QCOMPARE(chooser.result(), opened ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QVERIFY(!chooser.isVisible());
    }

    void enterInFolderListOpensFolder() {
        Fichexo chooser(m_dir.path(), {});
        QListWidget* dirs = chooser.browser()->Dir1();
        const auto items = dirs->findItems("niveau2", Qt::MatchEndsWith);
        QCOMPARE(items.size(), 1);
        dirs->setCurrentItem(items.first());
        QTest::keyClick(dirs, Qt::Key_Return);
        QCOMPARE(chooser.browser()->folder(), at("niveau2"));
        QVERIFY(listed(chooser.browser()->File1()).isEmpty());
    }

    // The title is painted character by character, from RGB(255, 255, 155)
    // towards white, in 32-pixel bold letters.
    void paintedTitle() {
        Fichexo chooser(m_dir.path(), {});
        chooser.resize(800, 600);
        const QImage image = chooser.grab().toImage();
        std::map<int, int> blueAtColumn;
        int top = image.height();
        int bottom = -1;
        for (int y = 0; y < Fichexo::titleBandHeight; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() == 255 && c.green() == 255 && c.blue() >= 155) {
                    blueAtColumn[x] = std::max(blueAtColumn[x], c.blue());
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        QVERIFY(!blueAtColumn.empty());
        QCOMPARE(blueAtColumn.begin()->second, 155);
        QVERIFY(blueAtColumn.rbegin()->second >= 240);
        QVERIFY(blueAtColumn.rbegin()->second < 255);
        int previous = 0;
        for (const auto& [x, blue] : blueAtColumn) {
            QVERIFY2(blue >= previous, qPrintable(QString("column %1").arg(x)));
            previous = blue;
        }
        // Capitals of a 32-pixel face are over 20 pixels high.
        QVERIFY(bottom - top >= 20);
    }
};

QTEST_MAIN(FichexoTest)
#include "FichexoTest.moc"
