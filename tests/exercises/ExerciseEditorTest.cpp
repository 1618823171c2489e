// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedDialogs.h"

#include "config/ConfigFile.h"
#include "config/FileBrowser.h"
#include "exercises/DescriptorWriter.h"
#include "exercises/ExerciseDescriptor.h"
#include "exercises/ExerciseEditor.h"
#include "exercises/ExerciseFiles.h"
#include "exercises/ExerciseSession.h"
#include "exercises/Fichexo.h"
#include "exercises/RtfReader.h"
#include "exercises/ValueCheck.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QUrl>
#include <QtTest>

#include <cmath>
#include <fstream>
#include <iterator>

using Ionaria::sim::catalogue::Montage;

using namespace Ionaria;
using exercises::DescriptorWriter;
using exercises::ExerciseDescriptor;
using exercises::ExerciseEditor;
using exercises::ExerciseFiles;
using Source = ExerciseEditor::Source;

namespace {

// Answers the editor's questions as a test says, and remembers them.
class ScriptedPrompts : public exercises::ExerciseEditorPrompts {
public:
    bool answerYes = true;
    QStringList questions;
    QStringList criticals; // "title | text"
    QList<QUrl> opened;

    QString descriptorName(QWidget*, const QString&) override { return {}; }
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
    bool question(QWidget*, const QString&, const QString& text) override {
        questions << text;
        return answerYes;
    }
    void critical(QWidget*, const QString& title, const QString& text) override {
        criticals << title + " | " + text;
    }
    bool openUrl(const QUrl& url) override {
        opened << url;
        return true;
    }
};

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString shipped(const char* name) {
    return QStringLiteral(IONARIA_SOURCE_DATA "/exercices/") + QString::fromLatin1(name);
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

class ExerciseEditorTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    sim::Engine m_engine;
    sim::Handlers m_handlers{m_engine};
    ScriptedPrompts m_prompts;
    QString m_sources; // files of the teacher, elsewhere
    QString m_exo;     // the folder of the new exercise

    QString sourceFile(const QString& name) const { return QDir(m_sources).filePath(name); }
    QString exoFile(const QString& name) const { return QDir(m_exo).filePath(name); }

private slots:
    void initTestCase() {
        m_handlers.startup();
        m_sources = m_dir.filePath(QStringLiteral("sources"));
        QVERIFY(QDir().mkpath(m_sources));
        QVERIFY(QFile::copy(shipped("pile-cuivre-zinc-enonce.RTF"), sourceFile("lecon.rtf")));
        QVERIFY(QFile::copy(shipped("pile-cuivre-zinc-correction.RTF"), sourceFile("corrige.rtf")));
        QVERIFY(QFile::copy(shipped("loi-de-faraday.C14"), sourceFile("faraday.C14")));
    }
    void init() {
        m_prompts = ScriptedPrompts();
        m_exo = m_dir.filePath(QString::fromLatin1(QTest::currentTestFunction()) +
                               QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-'));
        QVERIFY(QDir().mkpath(m_exo));
    }

    // A new exercise from files kept elsewhere: copied, with consent, beside
    // the descriptor, which the chooser then lists and opens with the right
    // texts and configurations.
    void writesAnExerciseTheChooserOpens() {
        QTextEdit supertext;
        QLineEdit fich;
        ScriptedDialogs dialogs;
        exercises::ExerciseSession session(supertext, fich, m_handlers, {},
                                           QDir::cleanPath(IONARIA_SOURCE_DATA "/.."), nullptr,
                                           dialogs);
        QStringList openedByEditor;
        ExerciseEditor editor(
            m_prompts, m_handlers, [&](const QString& path) { openedByEditor << path; }, m_exo);
        editor.fichier()->setText(exoFile("ma-pile.E37"));
        editor.intitule()->setText(QStringLiteral("Ma pile à moi"));
        editor.niveau()->setCurrentIndex(2);
        editor.notions()->setText(QStringLiteral("Polarité, demi-équations"));
        editor.duree()->setValue(3);
        editor.enonce()->setText(sourceFile("lecon.rtf"));
        editor.correction()->setText(sourceFile("corrige.rtf"));
        editor.configurationEnonce()->setCurrentIndex(int(Source::File));
        editor.fichierConfigurationEnonce()->setText(sourceFile("faraday.C14"));
        editor.configurationCorrection()->setCurrentIndex(int(Source::Current));
        QVERIFY(editor.save());

        QCOMPARE(m_prompts.questions.size(), 1);
        QVERIFY(m_prompts.questions[0].contains("ma-pile-enonce.rtf"));
        QVERIFY(m_prompts.criticals.isEmpty());
        QCOMPARE(openedByEditor, QStringList{exoFile("ma-pile.E37")});
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QCOMPARE(filesIn(m_exo), (QStringList{"ma-pile-correction.C14", "ma-pile-correction.rtf",
                                              "ma-pile-enonce.rtf", "ma-pile.C14", "ma-pile.E37"}));
        QCOMPARE(bytesOf(exoFile("ma-pile-enonce.rtf")), bytesOf(sourceFile("lecon.rtf")));
        QCOMPARE(bytesOf(exoFile("ma-pile.C14")), bytesOf(sourceFile("faraday.C14")));
        // The current configuration, through the writer of "Enregistrer".
        const QString current = m_dir.filePath("actuelle.C14");
        QVERIFY(!config::ConfigFile::save(current.toStdString(), m_engine.params()));
        QCOMPARE(bytesOf(exoFile("ma-pile-correction.C14")), bytesOf(current));

        const auto d = ExerciseDescriptor::read(exoFile("ma-pile.E37").toStdString());
        QVERIFY(d.has_value());
        QCOMPARE(d->title, std::string("Ma pile à moi"));
        QCOMPARE(d->level, 2);
        QCOMPARE(d->hourglasses, 3);
        QCOMPARE(d->notions, std::string("Polarité, demi-équations"));

        const auto statement = ExerciseFiles::open(exoFile("ma-pile.E37").toStdString(),
                                                   ExerciseFiles::Part::Statement);
        QVERIFY(statement.messages.empty());
        QCOMPARE(QString::fromStdString(statement.text->string()), exoFile("ma-pile-enonce.rtf"));
        QCOMPARE(QString::fromStdString(statement.configuration->string()), exoFile("ma-pile.C14"));
        const auto correction = ExerciseFiles::open(exoFile("ma-pile.E37").toStdString(),
                                                    ExerciseFiles::Part::Correction);
        QCOMPARE(QString::fromStdString(correction.text->string()),
                 exoFile("ma-pile-correction.rtf"));
        QCOMPARE(QString::fromStdString(correction.configuration->string()),
                 exoFile("ma-pile-correction.C14"));

        exercises::Fichexo chooser(m_exo,
                                   [&session](const QString& path) { session.openExercise(path); });
        QCOMPARE(chooser.browser()->File1()->count(), 1);
        chooser.preview(QStringLiteral("ma-pile.E37"));
        QCOMPARE(chooser.titleText(), QStringLiteral("Ma pile à moi"));
        QCOMPARE(chooser.correctionText(), QStringLiteral("Exercice corrigé"));
        chooser.openSelected();
        QCOMPARE(fich.text(), exoFile("ma-pile.E37"));
        QCOMPARE(session.exoCorrige(), 1);
        QTextDocument lesson;
        exercises::RtfReader::read(bytesOf(sourceFile("lecon.rtf")), lesson);
        QCOMPARE(supertext.toPlainText(), lesson.toPlainText());
        // The statement's configuration is the simulator's now: electrolysis
        // with a current generator.
        QCOMPARE(m_engine.params().Option2, Montage::Courant);
        QVERIFY(dialogs.criticals.isEmpty());
    }

    // Without the teacher's consent nothing is copied, nothing written.
    void writesNothingWithoutConsent() {
        m_prompts.answerYes = false;
        ExerciseEditor editor(m_prompts, m_handlers, {}, m_exo);
        editor.fichier()->setText(exoFile("refus.E37"));
        editor.intitule()->setText(QStringLiteral("Refus"));
        editor.enonce()->setText(sourceFile("lecon.rtf"));
        QVERIFY(!editor.save());
        QCOMPARE(m_prompts.questions.size(), 1);
        QVERIFY(filesIn(m_exo).isEmpty());
        QCOMPARE(editor.result(), int(QDialog::Rejected));
    }

    // A name that does not fit its record is refused before anything is
    // written, with no question asked.
    void refusesNames_data() {
        QTest::addColumn<QString>("descriptor");
        QTest::addColumn<QString>("statement"); // created in the exercise's folder when relative
        QTest::addColumn<QString>("message");
        QTest::newRow("more than 126 bytes") << "long.E37" << QString(123, 'a') + ".rtf"
                                             << "127 octets, 126 au plus";
        QTest::newRow("accents counted in Windows-1252, too long")
            << "long.E37" << QString(62, QChar(0xE9)) + QString(61, 'e') + ".rtf"
            << "127 octets";
        QTest::newRow("character outside Windows-1252")
            << "Δ-pile.E37" << sourceFile("lecon.rtf") << "le caractère « Δ »";
        QTest::newRow("path separator") << "sep.E37"
                                        << "dossier\\lecon.rtf"
                                        << "n'est pas un simple nom de fichier";
    }
    void refusesNames() {
        QFETCH(QString, descriptor);
        QFETCH(QString, statement);
        QFETCH(QString, message);
        if (QFileInfo(statement).isRelative()) {
            QFile file(exoFile(statement));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("{\\rtf1 x}");
        }
        const QStringList before = filesIn(m_exo);
        ExerciseEditor editor(m_prompts, m_handlers, {}, m_exo);
        editor.fichier()->setText(exoFile(descriptor));
        editor.intitule()->setText(QStringLiteral("Refusé"));
        editor.enonce()->setText(QFileInfo(statement).isRelative() ? exoFile(statement)
                                                                   : statement);
        editor.configurationEnonce()->setCurrentIndex(int(Source::Current));
        QVERIFY(!editor.save());
        QCOMPARE(m_prompts.criticals.size(), 1);
        QVERIFY2(m_prompts.criticals[0].startsWith(DescriptorWriter::refusalTitle),
                 qPrintable(m_prompts.criticals[0]));
        QVERIFY2(m_prompts.criticals[0].contains(message), qPrintable(m_prompts.criticals[0]));
        QVERIFY(m_prompts.questions.isEmpty());
        QCOMPARE(filesIn(m_exo), before);
    }

    // "Modifier l'exercice…" keeps record 6 byte for byte, and every record
    // it did not change.
    void editingKeepsOtherRecords() {
        ExerciseDescriptor d;
        d.statement = "enonce.RTF";
        d.statementConfiguration = "tp.C14";
        d.level = 1;
        d.notions = "Faraday";
        d.title = "TP";
        d.hourglasses = 2;
        std::string bytes = DescriptorWriter::encode(d);
        std::string record6(128, '\0');
        record6.replace(0, 7, std::string("\x05\0libre", 7));
        record6[90] = '\x42';
        bytes.replace(5 * 128, 128, record6);
        const QString path = exoFile("tp.E37");
        { std::ofstream(path.toStdString(), std::ios::binary) << bytes; }
        QVERIFY(QFile::copy(sourceFile("lecon.rtf"), exoFile("enonce.RTF")));
        QVERIFY(QFile::copy(sourceFile("faraday.C14"), exoFile("tp.C14")));

        ExerciseEditor editor(m_prompts, m_handlers, {}, m_exo);
        QVERIFY(editor.load(path));
        QCOMPARE(editor.windowTitle(), QString::fromUtf8(ExerciseEditor::titleEdit));
        QCOMPARE(editor.intitule()->text(), QStringLiteral("TP"));
        QCOMPARE(editor.configurationEnonce()->currentIndex(), int(Source::File));
        editor.intitule()->setText(QStringLiteral("TP revu"));
        QVERIFY(editor.save());
        QVERIFY(m_prompts.questions.isEmpty());
        const QByteArray after = bytesOf(path);
        QCOMPARE(after.size(), qsizetype(12 * 128));
        for (std::size_t r = 1; r <= 12; ++r) {
            const QByteArray record = after.mid(qsizetype(r - 1) * 128, 128);
            const QByteArray old = QByteArray::fromStdString(bytes.substr((r - 1) * 128, 128));
            QCOMPARE(record == old, r != 11);
        }
        QCOMPARE(ExerciseDescriptor::read(path.toStdString())->title, std::string("TP revu"));
    }

    // The starting text: the title as a heading, the notions, the questions;
    // then opened in the word processor.
    void createsAStartingText() {
        ExerciseEditor editor(m_prompts, m_handlers, {}, m_exo);
        editor.fichier()->setText(exoFile("tp-nacl.E37"));
        editor.intitule()->setText(QStringLiteral("Électrolyse de NaCl"));
        editor.notions()->setText(QStringLiteral("anode, cathode"));
        editor.createText(false);
        const QString path = exoFile("tp-nacl-enonce.RTF");
        QCOMPARE(editor.enonce()->text(), path);
        QCOMPARE(m_prompts.opened, QList<QUrl>{QUrl::fromLocalFile(path)});
        QTextDocument document;
        exercises::RtfReader::read(bytesOf(path), document);
        const QStringList lines = document.toPlainText().split('\n');
        QCOMPARE(lines.value(0), QStringLiteral("Électrolyse de NaCl"));
        QCOMPARE(lines.value(1), QStringLiteral("Notions abordées : anode, cathode"));
        QVERIFY(lines.contains(QStringLiteral("Questions")));
        QTextCursor heading(&document);
        heading.movePosition(QTextCursor::NextCharacter);
        QVERIFY(heading.charFormat().fontWeight() >= QFont::Bold);

        // A text already there is replaced only if the teacher says so.
        m_prompts.answerYes = false;
        QFile::resize(path, 3);
        editor.createText(false);
        QCOMPARE(QFileInfo(path).size(), qint64(3));
    }

    // Every field is reached by an access letter, and no two share one.
    void accessLetters() {
        ExerciseEditor editor(m_prompts, m_handlers, {}, m_exo);
        QStringList letters;
        const auto letterOf = [](const QString& text) {
            const qsizetype at = text.indexOf('&');
            return at >= 0 && at + 1 < text.size() ? text.mid(at + 1, 1).toLower() : QString();
        };
        QList<QWidget*> labelled;
        for (const QLabel* label : editor.findChildren<QLabel*>()) {
            if (label->buddy() != nullptr) {
                QVERIFY2(!letterOf(label->text()).isEmpty(), qPrintable(label->text()));
                letters << letterOf(label->text());
                labelled << label->buddy();
            }
        }
        for (const QAbstractButton* button : editor.findChildren<QAbstractButton*>()) {
            if (!letterOf(button->text()).isEmpty()) {
                letters << letterOf(button->text());
            }
        }
        QStringList unique = letters;
        unique.removeDuplicates();
        QCOMPARE(letters.size(), unique.size());
        for (QWidget* field : QList<QWidget*>{editor.fichier(), editor.intitule(), editor.niveau(),
                                              editor.notions(), editor.duree(), editor.enonce(),
                                              editor.correction(), editor.configurationEnonce(),
                                              editor.configurationCorrection(), editor.durees()}) {
            QVERIFY2(labelled.contains(field), qPrintable(field->objectName()));
        }
        // The file of a configuration follows the choice of its list, and is
        // named for screen readers.
        QVERIFY(!editor.fichierConfigurationEnonce()->accessibleName().isEmpty());
        QVERIFY(!editor.fichierConfigurationEnonce()->isEnabled());
        editor.configurationEnonce()->setCurrentIndex(int(Source::File));
        QVERIFY(editor.fichierConfigurationEnonce()->isEnabled());
    }

    void parsesDurations_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("seconds"); // empty: refused
        QTest::newRow("spaces") << "600 1800 3600"
                                << "600 1800 3600";
        QTest::newRow("unsorted, repeated, semicolons") << "3600;600, 600"
                                                        << "600 3600";
        QTest::newRow("a week") << "604800"
                                << "604800";
        QTest::newRow("beyond a week") << "604801"
                                       << "";
        QTest::newRow("decimal point") << "60.5"
                                       << "";
        QTest::newRow("negative") << "-1"
                                  << "";
        QTest::newRow("words") << "1 h"
                               << "";
        QTest::newRow("nothing") << "  "
                                 << "";
    }
    void parsesDurations() {
        QFETCH(QString, text);
        QFETCH(QString, seconds);
        const auto parsed = exercises::ValueCheck::parseDurations(text.toStdString());
        QCOMPARE(parsed.has_value(), !seconds.isEmpty());
        if (parsed) {
            QStringList numbers;
            for (const long long s : *parsed) {
                numbers << QString::number(s);
            }
            QCOMPARE(numbers.join(' '), seconds);
        }
    }

    // "Vérifier les valeurs": the experiment of each configuration, read at
    // each duration, in a table copied as tab-separated text. The copper
    // deposited follows Faraday's law: m = I t M / (2 F).
    void checksValues() {
        ExerciseEditor editor(m_prompts, m_handlers, {}, m_exo);
        editor.configurationEnonce()->setCurrentIndex(int(Source::File));
        editor.fichierConfigurationEnonce()->setText(shipped("loi-de-faraday.C14"));
        editor.durees()->setText(QStringLiteral("1800 600"));
        editor.checkValues();
        QVERIFY(m_prompts.criticals.isEmpty());
        const QTableWidget* table = editor.valeurs();
        QVERIFY(table->rowCount() > 10);
        const auto value = [table](const QString& seconds, const QString& quantity) {
            for (int r = 0; r < table->rowCount(); ++r) {
                if (table->item(r, 1)->text() == seconds && table->item(r, 2)->text() == quantity) {
                    return table->item(r, 3)->text();
                }
            }
            return QString();
        };
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("600"));
        QVERIFY(value("600", "Électrode G").contains("Cu"));
        const QString before = value("600", "Masse de l'électrode G");
        const QString after = value("1800", "Masse de l'électrode G");
        QVERIFY2(after.endsWith(" g"), qPrintable(after));
        const double grams = QString(after).remove(" g").replace(',', '.').toDouble() -
                             QString(before).remove(" g").replace(',', '.').toDouble();
        const double faraday = 0.20 * 1200 * 63.5 / (2 * 96500);
        QVERIFY2(std::abs(grams - faraday) < 0.011, qPrintable(before + " → " + after));
        const QStringList lines = editor.valuesText().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), table->rowCount() + 1);
        QCOMPARE(lines[0].count('\t'), 3);
    }

    // The menu's items open the editor, the second on the exercise shown.
    void menuOpensTheEditor() {
        QTextEdit supertext;
        QLineEdit fich;
        ScriptedDialogs dialogs;
        exercises::ExerciseSession session(supertext, fich, m_handlers, {},
                                           QDir::cleanPath(IONARIA_SOURCE_DATA "/.."), nullptr,
                                           dialogs);
        session.setEditorPrompts(m_prompts);
        session.updateMenu();
        QVERIFY(session.nouvelexo()->isEnabled());
        QVERIFY(!session.modifexo()->isEnabled());
        QVERIFY(session.openExercise(shipped("pile-cuivre-zinc.E37")));
        session.updateMenu();
        QVERIFY(session.modifexo()->isEnabled());
        QString title;
        QString intitule;
        dialogs.onModal = [&](QDialog& dialog) {
            auto& editor = dynamic_cast<ExerciseEditor&>(dialog);
            title = editor.windowTitle();
            intitule = editor.intitule()->text();
        };
        session.modifexo()->trigger();
        QCOMPARE(title, QString::fromUtf8(ExerciseEditor::titleEdit));
        QCOMPARE(intitule, QStringLiteral("La pile cuivre-zinc"));
        session.nouvelexo()->trigger();
        QCOMPARE(title, QString::fromUtf8(ExerciseEditor::titleNew));
        QVERIFY(intitule.isEmpty());
    }
};

QTEST_MAIN(ExerciseEditorTest)
#include "ExerciseEditorTest.moc"
