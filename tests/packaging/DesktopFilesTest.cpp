// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

namespace {

const QString sourceFolder = QStringLiteral(IONARIA_PACKAGING_SOURCE);
const QString buildFolder = QStringLiteral(IONARIA_PACKAGING_BUILD);
const QString metainfo = buildFolder + QStringLiteral("/" IONARIA_APPSTREAM_ID ".metainfo.xml");
const QString configurationType = QStringLiteral("application/x-ionaria-configuration");
const QString exerciseType = QStringLiteral("application/x-ionaria-exercise");

struct Run {
    int status = -1;
    QString output;
};

Run run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        return {-1, QStringLiteral("%1 ne se termine pas").arg(program)};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The values of one key of the desktop entry, ";"-separated.
QStringList desktopValues(const QString& key) {
    const QString text = QString::fromUtf8(read(sourceFolder + "/ionaria.desktop"));
    const QRegularExpression line(QStringLiteral("^") + QRegularExpression::escape(key) +
                                      QStringLiteral("=(.*)$"),
                                  QRegularExpression::MultilineOption);
    return line.match(text).captured(1).split(';', Qt::SkipEmptyParts);
}

// The text, or one attribute, of every element of that name.
QStringList elementTexts(const QString& path, const QString& tag, const QString& attribute = {}) {
    QXmlStreamReader xml(read(path));
    QStringList values;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != tag) {
            continue;
        }
        values << (attribute.isEmpty()
                       ? xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed()
                       : xml.attributes().value(attribute).toString());
    }
    return values;
}

QStringList shipped(const QString& pattern) {
    QStringList files;
    QDirIterator it(QStringLiteral(IONARIA_SOURCE_DATA), {pattern}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << it.next();
    }
    files.sort();
    return files;
}

} // namespace

// The files that tie the program to the desktop: each passes its
// ecosystem's validator, and they agree with each other and with the program.
class DesktopFilesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_share;
    QTemporaryDir m_files;

    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = m_files.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

private slots:
    // The MIME database as a desktop sees it: the shipped file compiled by
    // update-mime-database, alone in the data folders, then read through its
    // binary cache.
    void initTestCase() {
        m_share = std::make_unique<QTemporaryDir>();
        const QString mime = m_share->filePath(QStringLiteral("system/mime"));
        QVERIFY(QDir().mkpath(mime + "/packages"));
        QVERIFY(QDir().mkpath(m_share->filePath(QStringLiteral("home"))));
        QVERIFY(QFile::copy(sourceFolder + "/ionaria-mime.xml", mime + "/packages/ionaria.xml"));
        const QString update =
            QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
        QVERIFY2(!update.isEmpty(), "update-mime-database (shared-mime-info) missing");
        qputenv("XDG_DATA_HOME", m_share->filePath(QStringLiteral("home")).toUtf8());
        qputenv("XDG_DATA_DIRS", m_share->filePath(QStringLiteral("system")).toUtf8());
        const Run r = run(update, {mime});
        QVERIFY2(r.status == 0 && r.output.trimmed().isEmpty(), qPrintable(r.output));
        QVERIFY(QFile::exists(mime + "/mime.cache"));
    }

    void validators_data() {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("desktop entry")
            << "desktop-file-validate" << QStringList{sourceFolder + "/ionaria.desktop"};
        QTest::newRow("AppStream metadata")
            << "appstreamcli" << QStringList{"validate", "--no-net", "--strict", metainfo};
        QTest::newRow("MIME types")
            << "xmllint" << QStringList{"--noout", sourceFolder + "/ionaria-mime.xml"};
        QTest::newRow("icon") << "xmllint" << QStringList{"--noout", sourceFolder + "/ionaria.svg"};
    }
    void validators() {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        const QString program = QStandardPaths::findExecutable(tool);
        QVERIFY2(!program.isEmpty(), qPrintable(tool + " missing: scripts/deps.sh installs it"));
        const Run r = run(program, arguments);
        QVERIFY2(r.status == 0, qPrintable(r.output));
        // Hints are advice; warnings and errors are not accepted.
        QVERIFY2(!r.output.contains(QRegularExpression(QStringLiteral("(error|warning):|^[EW]:"),
                                                       QRegularExpression::MultilineOption)),
                 qPrintable(r.output));
    }

    void contentTypes_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("configuration");
        for (const QString& c14 : shipped(QStringLiteral("*.C14"))) {
            QTest::newRow(qPrintable(QDir(IONARIA_SOURCE_DATA).relativeFilePath(c14)))
                << c14 << true;
        }
        QFile pile(QStringLiteral(IONARIA_SOURCE_DATA "/configurations/pile-cuivre-zinc.C14"));
        QVERIFY(pile.open(QIODevice::ReadOnly));
        const QByteArray bytes = pile.readAll();
        QTest::newRow("a configuration without its extension") << file("copie", bytes) << true;
        QTest::newRow("only its first record") << file("debut", bytes.left(128)) << true;
        QTest::newRow("a longer signature")
            << file("plus-long", QByteArray("\x06\x00KIVARS", 8) + QByteArray(120, '\0')) << false;
        QTest::newRow("a shorter signature")
            << file("plus-court", QByteArray("\x04\x00KIVA", 6) + QByteArray(122, '\0')) << false;
        QTest::newRow("the signature without its length")
            << file("sans-longueur", QByteArray("KIVAR") + QByteArray(123, '\0')) << false;
        QTest::newRow("another signature")
            << file("autre", QByteArray("\x05\x00KAVIR", 7) + QByteArray(121, '\0')) << false;
        QTest::newRow("an exercise descriptor")
            << QStringLiteral(IONARIA_SOURCE_DATA "/exercices/pile-cuivre-zinc.E37") << false;
        QTest::newRow("empty") << file("vide", {}) << false;
    }
    void contentTypes() {
        QFETCH(QString, path);
        QFETCH(bool, configuration);
        const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchContent);
        QCOMPARE(type.name() == configurationType, configuration);
    }

    void nameTypes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        for (const QString& e37 : shipped(QStringLiteral("*.E37"))) {
            QTest::newRow(qPrintable(QFileInfo(e37).fileName())) << e37 << exerciseType;
        }
        QTest::newRow("lower-case exercise") << "pile.e37" << exerciseType;
        QTest::newRow("configuration") << "pile.C14" << configurationType;
        QTest::newRow("lower-case configuration") << "pile.c14" << configurationType;
    }
    void nameTypes() {
        QFETCH(QString, name);
        QFETCH(QString, type);
        const QMimeType found =
            QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension);
        QCOMPARE(found.name(), type);
        QVERIFY(!found.comment().isEmpty());
    }

    // What the desktop entry opens is what the MIME file declares and what
    // the metadata says the program provides.
    void filesAgree() {
        const QStringList declared =
            elementTexts(sourceFolder + "/ionaria-mime.xml", QStringLiteral("mime-type"),
                         QStringLiteral("type"));
        QCOMPARE(declared, (QStringList{configurationType, exerciseType}));
        QCOMPARE(desktopValues(QStringLiteral("MimeType")), declared);
        QCOMPARE(elementTexts(metainfo, QStringLiteral("mediatype")), declared);
        QCOMPARE(desktopValues(QStringLiteral("Exec")), QStringList{"ionaria %f"});
        QCOMPARE(desktopValues(QStringLiteral("Icon")), QStringList{"ionaria"});
        QCOMPARE(desktopValues(QStringLiteral("Categories")),
                 (QStringList{"Education", "Science", "Chemistry"}));
        QVERIFY(!desktopValues(QStringLiteral("Comment[en]")).isEmpty());
        QCOMPARE(elementTexts(metainfo, QStringLiteral("launchable")),
                 QStringList{"ionaria.desktop"});
        QCOMPARE(elementTexts(metainfo, QStringLiteral("binary")), QStringList{"ionaria"});
        QCOMPARE(elementTexts(metainfo, QStringLiteral("release"), QStringLiteral("version")),
                 QStringList{IONARIA_VERSION});
        QCOMPARE(elementTexts(metainfo, QStringLiteral("project_license")),
                 QStringList{"GPL-3.0-or-later"});
    }

    void screenshotSize() {
        const QImage shot(sourceFolder + "/captures/fenetre-principale.png");
        QVERIFY(!shot.isNull());
        QCOMPARE(elementTexts(metainfo, QStringLiteral("image"), QStringLiteral("width")),
                 QStringList{QString::number(shot.width())});
        QCOMPARE(elementTexts(metainfo, QStringLiteral("image"), QStringLiteral("height")),
                 QStringList{QString::number(shot.height())});
    }

    void icons_data() {
        QTest::addColumn<int>("size");
        for (const int size : {16, 32, 48, 64, 128, 256}) {
            QTest::newRow(qPrintable(QStringLiteral("%1 px").arg(size))) << size;
        }
    }
    void icons() {
        QFETCH(int, size);
        const QImage icon(buildFolder + QStringLiteral("/icons/%1/ionaria.png").arg(size));
        QCOMPARE(icon.size(), QSize(size, size));
        QVERIFY(icon.hasAlphaChannel());
        // Transparent around the drawing, opaque inside it.
        QCOMPARE(qAlpha(icon.pixel(0, size - 1)), 0);
        QCOMPARE(qAlpha(icon.pixel(size / 2, size * 3 / 4)), 255);
    }
};

QTEST_GUILESS_MAIN(DesktopFilesTest)
#include "DesktopFilesTest.moc"
