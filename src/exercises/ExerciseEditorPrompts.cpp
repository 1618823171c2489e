// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/ExerciseEditorPrompts.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace Ionaria::exercises {

QString ExerciseEditorPrompts::descriptorName(QWidget* parent, const QString& folder) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Fichier de l'exercice"), folder,
                                        QStringLiteral("Exercice d'Ionaria (*.E37)"), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString ExerciseEditorPrompts::openFileName(QWidget* parent, const QString& folder,
                                            const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), folder, filter);
}

bool ExerciseEditorPrompts::question(QWidget* parent, const QString& title, const QString& text) {
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

void ExerciseEditorPrompts::critical(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::critical(parent, title, text);
}

bool ExerciseEditorPrompts::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

ExerciseEditorPrompts& ExerciseEditorPrompts::standard() {
    static ExerciseEditorPrompts prompts;
    return prompts;
}

} // namespace Ionaria::exercises
