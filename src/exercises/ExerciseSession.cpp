// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/ExerciseSession.h"

#include "config/ConfigFile.h"
#include "config/SaveFailure.h"
#include "exercises/AnswerBounds.h"
#include "exercises/AnswerTextEdit.h"
#include "exercises/ExerciseDialogs.h"
#include "exercises/ExerciseEditor.h"
#include "exercises/ExerciseFiles.h"
#include "exercises/ExerciseMessage.h"
#include "exercises/Fichexo.h"
#include "exercises/FileRefusals.h"
#include "exercises/RtfReader.h"
#include "exercises/RtfWriter.h"
#include "output/FileOutput.h"

#include <QAction>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPdfWriter>
#include <QPrinter>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTextEdit>

#include <filesystem>

namespace Ionaria::exercises {

namespace {

QString fromPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

} // namespace

ExerciseSession::ExerciseSession(QTextEdit& supertext, QLineEdit& fich, sim::Handlers& handlers,
                                 std::function<void()> restorePresentation,
                                 const QString& applicationFolder, QWidget* window,
                                 ExerciseDialogs& dialogs)
    : m_supertext(supertext), m_fich(fich), m_handlers(handlers),
      m_restorePresentation(std::move(restorePresentation)), m_applicationFolder(applicationFolder),
      m_dataFolder(QDir(applicationFolder).filePath(QStringLiteral("data"))), m_window(window),
      m_dialogs(dialogs), m_editorPrompts(&ExerciseEditorPrompts::standard()),
      m_menu(std::make_unique<QMenu>()) {
    if (auto* answer = qobject_cast<AnswerTextEdit*>(&m_supertext)) {
        answer->setRefusalHandler([this](const ExerciseMessage& message) { show(message); });
    }
    m_menu->setObjectName(QStringLiteral("optionexo"));
    m_menu->setTitle(QStringLiteral("E&xercices"));
    const auto item = [this](const char* name, const QString& caption,
                             void (ExerciseSession::*run)()) {
        QAction* action = m_menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, run);
        return action;
    };
    m_prisenmain =
        item("PRISENMAIN", QStringLiteral("&Prise en main"), &ExerciseSession::PRISENMAIN_Click);
    m_openexo = item("openexo", QStringLiteral("&Ouvrir un exercice (énoncé + configuration)"),
                     &ExerciseSession::openexo_Click);
    m_opencor =
        item("opencor", QStringLiteral("&Voir la correction"), &ExerciseSession::opencor_Click);
    m_savetexte =
        item("savetexte", QStringLiteral("&Enregistrer le contenu de la fenêtre exercice"),
             &ExerciseSession::savetexte_Click);
    m_opentexte =
        item("opentexte", QStringLiteral("&Retrouver un texte"), &ExerciseSession::opentexte_Click);
    m_imprimetexte =
        item("imprimetexte", QStringLiteral("&Imprimer le contenu de la fenêtre exercice"),
             &ExerciseSession::imprimetexte_Click);
    m_closexo =
        item("Closexo", QStringLiteral("&Fermer l'exercice"), &ExerciseSession::Closexo_Click);
    m_menu->addSeparator();
    m_nouvelexo =
        item("nouvelexo", QStringLiteral("&Nouvel exercice…"), &ExerciseSession::nouvelexo_Click);
    m_modifexo =
        item("modifexo", QStringLiteral("&Modifier l'exercice…"), &ExerciseSession::modifexo_Click);
    connect(m_menu.get(), &QMenu::aboutToShow, this, &ExerciseSession::updateMenu);
    connect(&m_supertext, &QTextEdit::textChanged, this, &ExerciseSession::textChanged);
    updateMenu();
}

ExerciseSession::~ExerciseSession() = default;

QString ExerciseSession::exercisesFolder() const {
    return QDir(m_dataFolder).filePath(QStringLiteral("exercices"));
}

QString ExerciseSession::prisenmainPath() const {
    const auto located = ExerciseFiles::locate(exercisesFolder().toStdString(), prisenmainName);
    return located ? fromPath(*located) : QDir(exercisesFolder()).filePath(prisenmainName);
}

void ExerciseSession::textChanged() {
    if (!m_fich.text().isEmpty()) {
        m_texteModifie = 1;
    }
}

void ExerciseSession::updateMenu() {
    m_opencor->setEnabled(m_exoCorrige == 1);
    m_closexo->setEnabled(!m_fich.text().isEmpty());
    // fich holds a descriptor's path, or "Texte: " and a pupil's text.
    m_modifexo->setEnabled(!m_fich.text().isEmpty() &&
                           !m_fich.text().startsWith(QStringLiteral("Texte: ")));
}

void ExerciseSession::btexo_Click(QWidget* btexo) {
    if (btexo != nullptr) {
        m_menu->exec(btexo->mapToGlobal(QPoint(0, btexo->height())));
    } else {
        m_menu->exec(QCursor::pos());
    }
}

void ExerciseSession::show(const ExerciseMessage& message) {
    m_dialogs.message(m_window, message);
}

bool ExerciseSession::askAbandonEdits() {
    if (m_texteModifie != 1) {
        return true;
    }
    return m_dialogs.message(m_window, ExerciseMessage::abandonEdits());
}

std::optional<ExerciseMessage> ExerciseSession::loadText(const QString& path, bool readOnly) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return ExerciseMessage::cannotRead();
    }
    // One byte more than the reader takes tells a file that is too large.
    const QByteArray bytes = file.read(RtfReader::maxInputBytes + 1);
    const std::string name = QDir::toNativeSeparators(path).toStdString();
    // The box keeps its text when the file is refused.
    switch (RtfReader::show(bytes, m_supertext).status) {
    case RtfReader::Status::Read:
        break;
    case RtfReader::Status::TooLarge:
        return ExerciseMessage::textTooLarge(name);
    case RtfReader::Status::TooManyParagraphs:
        return ExerciseMessage::textTooLong(name);
    case RtfReader::Status::NotRichText:
        return ExerciseMessage::cannotRead();
    }
    m_supertext.setReadOnly(readOnly);
    return std::nullopt;
}

void ExerciseSession::loadConfiguration(const QString& path) {
    if (const auto message = config::ConfigFile::load(path.toStdString(), m_handlers)) {
        m_dialogs.critical(m_window, QString::fromStdString(message->title),
                           QString::fromStdString(message->text));
        return;
    }
    emit configurationLoaded(path);
}

QString ExerciseSession::textFolder(TextDialog dialog) const {
    if (!m_lastTextFolder.isEmpty()) {
        return m_lastTextFolder;
    }
    if (dialog == TextDialog::Open) {
        return QFileInfo(exercisesFolder()).isDir() ? exercisesFolder() : QDir::homePath();
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

bool ExerciseSession::openExercise(const QString& descriptor) {
    const ExerciseFiles::Opening opening =
        ExerciseFiles::open(descriptor.toStdString(), ExerciseFiles::Part::Statement);
    for (const ExerciseMessage& message : opening.messages) {
        show(message);
    }
    if (!opening.descriptor || !opening.text) {
        return false;
    }
    if (const auto failure = loadText(fromPath(*opening.text), false)) {
        show(*failure);
        return false;
    }
    m_dossierExo = QDir::toNativeSeparators(
        QString::fromStdString(ExerciseFiles::folderText(descriptor.toStdString())));
    m_fich.setText(descriptor);
    const bool prisenmain = QFileInfo(descriptor)
                                .fileName()
                                .compare(QLatin1String(prisenmainName), Qt::CaseInsensitive) == 0;
    m_exoCorrige = !prisenmain && opening.descriptor->corrected() ? 1 : 0;
    if (opening.configuration) {
        loadConfiguration(fromPath(*opening.configuration));
    }
    m_texteModifie = 0;
    return true;
}

bool ExerciseSession::openFromRecord(const QString& text) {
    const QString name = text.trimmed();
    if (name.isEmpty()) {
        return false;
    }
    auto located = ExerciseFiles::locate(m_applicationFolder.toStdString(), name.toStdString());
    const bool inData = name.startsWith(QStringLiteral("data/"), Qt::CaseInsensitive) ||
                        name.startsWith(QStringLiteral("data\\"), Qt::CaseInsensitive);
    if ((!located || !QFileInfo(fromPath(*located)).isFile()) && inData) {
        const auto installed =
            ExerciseFiles::locate(m_dataFolder.toStdString(), name.mid(5).toStdString());
        if (installed && QFileInfo(fromPath(*installed)).isFile()) {
            located = installed;
        }
    }
    if (!located) {
        const auto asked =
            std::filesystem::path(m_applicationFolder.toStdString()) / name.toStdString();
        show(isOtherThanFile(asked) ? notAFile(asked.string()) : ExerciseMessage::cannotRead());
        return false;
    }
    if (!askAbandonEdits() || !openExercise(fromPath(*located))) {
        return false;
    }
    m_openedFromOutside = 1;
    return true;
}

void ExerciseSession::PRISENMAIN_Click() {
    const QString path = prisenmainPath();
    if (!QFileInfo(path).isFile()) {
        show(ExerciseMessage::installationIncomplete());
        return;
    }
    if (askAbandonEdits()) {
        openExercise(path);
    }
}

void ExerciseSession::openexo_Click() {
    if (!askAbandonEdits()) {
        return;
    }
    const QString start =
        QFileInfo(exercisesFolder()).isDir() ? exercisesFolder() : m_applicationFolder;
    Fichexo chooser(
        start, [this](const QString& descriptor) { openExercise(descriptor); }, m_window);
    m_dialogs.runModal(chooser);
}

void ExerciseSession::opencor_Click() {
    if (m_exoCorrige != 1 || !askAbandonEdits()) {
        return;
    }
    const ExerciseFiles::Opening opening =
        ExerciseFiles::open(m_fich.text().toStdString(), ExerciseFiles::Part::Correction);
    for (const ExerciseMessage& message : opening.messages) {
        show(message);
    }
    if (!opening.descriptor) {
        return;
    }
    if (!opening.descriptor->correction.empty()) {
        if (!opening.text) {
            return;
        }
        if (const auto failure = loadText(fromPath(*opening.text), true)) {
            show(*failure);
            return;
        }
    }
    if (opening.configuration) {
        loadConfiguration(fromPath(*opening.configuration));
    }
    // The correction is read-only: nothing in it is the pupil's to lose.
    m_texteModifie = 0;
}

void ExerciseSession::savetexte_Click() {
    // Only what the window can reopen whole is saved; the pupil is told
    // what to take out before choosing a file.
    const RtfWriter::Written written = RtfWriter::writeCounted(*m_supertext.document());
    if (const auto refusal = AnswerBounds::saveRefusal(AnswerBounds::of(written))) {
        show(*refusal);
        return;
    }
    QString name = m_dialogs.saveFileName(m_window, textFolder(TextDialog::Save));
    if (name.isEmpty()) {
        return;
    }
    if (QFileInfo(name).suffix().isEmpty()) {
        name += QStringLiteral(".RTF");
    }
    if (QFileInfo::exists(name) &&
        !m_dialogs.message(
            m_window, ExerciseMessage::overwrite(QDir::toNativeSeparators(name).toStdString()))) {
        return;
    }
    // Through the careful writer: a full disk or a protected file keeps the
    // old text whole, and the edits stay marked as not saved.
    if (!output::writeBytes(name, written.bytes).ok()) {
        const config::Message message = config::saveFailure(name.toStdString());
        m_dialogs.critical(m_window, QString::fromStdString(message.title),
                           QString::fromStdString(message.text));
        return;
    }
    m_lastTextFolder = QFileInfo(name).absolutePath();
    m_texteModifie = 0;
}

void ExerciseSession::opentexte_Click() {
    if (!askAbandonEdits()) {
        return;
    }
    const QString name = m_dialogs.openFileName(m_window, textFolder(TextDialog::Open));
    if (name.isEmpty()) {
        return;
    }
    if (const auto failure = loadText(name, false)) {
        show(*failure);
        return;
    }
    m_lastTextFolder = QFileInfo(name).absolutePath();
    m_exoCorrige = 0;
    m_fich.setText(QStringLiteral("Texte: ") + name);
    m_texteModifie = 0;
}

void ExerciseSession::imprimetexte_Click() {
    QPrinter printer(QPrinter::HighResolution);
    if (!m_dialogs.choosePrinter(printer, m_window)) {
        return;
    }
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty()) {
        m_supertext.document()->print(&printer);
        return;
    }
    // Pages printed to a file are made in memory and written once complete.
    output::PdfInMemory pdf(printer, printer.creator(), printer.docName());
    m_supertext.document()->print(&pdf.device());
    if (!pdf.commit(printer.outputFileName()).ok()) {
        m_dialogs.critical(m_window, QString::fromLatin1(output::printNotWrittenTitle),
                           QString::fromLatin1(output::notWrittenText));
    }
}

void ExerciseSession::Closexo_Click() {
    if (!askAbandonEdits()) {
        return;
    }
    m_fich.clear();
    if (m_restorePresentation) {
        m_restorePresentation();
    }
    m_supertext.setReadOnly(false);
    m_supertext.document()->clearUndoRedoStacks();
    m_exoCorrige = 0;
    m_texteModifie = 0;
}

void ExerciseSession::nouvelexo_Click() {
    if (!askAbandonEdits()) {
        return;
    }
    const QString start = m_lastEditorFolder.isEmpty()
                              ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                              : m_lastEditorFolder;
    ExerciseEditor editor(
        *m_editorPrompts, m_handlers,
        [this](const QString& descriptor) {
            m_lastEditorFolder = QFileInfo(descriptor).absolutePath();
            openExercise(descriptor);
        },
        start.isEmpty() ? QDir::homePath() : start, m_window);
    m_dialogs.runModal(editor);
}

void ExerciseSession::modifexo_Click() {
    const QString descriptor = m_fich.text();
    if (descriptor.isEmpty() || descriptor.startsWith(QStringLiteral("Texte: ")) ||
        !askAbandonEdits()) {
        return;
    }
    ExerciseEditor editor(
        *m_editorPrompts, m_handlers, [this](const QString& path) { openExercise(path); },
        QFileInfo(descriptor).absolutePath(), m_window);
    if (!editor.load(descriptor)) {
        show(ExerciseMessage::cannotRead());
        return;
    }
    m_dialogs.runModal(editor);
}

} // namespace Ionaria::exercises
