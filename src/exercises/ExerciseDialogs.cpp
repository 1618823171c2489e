// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/ExerciseDialogs.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace Ionaria::exercises {

bool ExerciseDialogs::message(QWidget* parent, const ExerciseMessage& message) {
    const bool question = message.buttons == ExerciseMessage::Buttons::OkCancel;
    QMessageBox box(message.icon == ExerciseMessage::Icon::Question ? QMessageBox::Question
                                                                    : QMessageBox::Critical,
                    QString::fromStdString(message.title), QString::fromStdString(message.text),
                    question ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, parent);
    if (question) {
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("&Annuler"));
        // Enter keeps; Alt+O is the key that goes on.
        box.button(QMessageBox::Ok)->setText(QStringLiteral("&OK"));
    }
    // A question may cost the pupil's answer or an old file: Enter keeps them.
    box.setDefaultButton(question ? QMessageBox::Cancel : QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

void ExerciseDialogs::critical(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::critical(parent, title, text, QMessageBox::Ok);
}

QString ExerciseDialogs::rtfFilter() {
    return QStringLiteral("Texte au format RTF (*.RTF *.rtf)");
}

QString ExerciseDialogs::saveFileName(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, QStringLiteral("Enregistrer le contenu de la fenêtre exercice"),
                       folder, rtfFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("RTF"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString ExerciseDialogs::openFileName(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, QStringLiteral("Retrouver un texte"), folder, rtfFilter());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.selectFile(QStringLiteral("*.rtf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

bool ExerciseDialogs::choosePrinter(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Imprimer le contenu de la fenêtre exercice"));
    return dialog.exec() == QDialog::Accepted;
}

void ExerciseDialogs::runModal(QDialog& dialog) {
    dialog.exec();
}

ExerciseDialogs& ExerciseDialogs::standard() {
    static ExerciseDialogs dialogs;
    return dialogs;
}

} // namespace Ionaria::exercises
