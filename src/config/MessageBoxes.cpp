// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/MessageBoxes.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace Ionaria::config {

void MessageBoxes::critical(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::critical(parent, title, text, QMessageBox::Ok);
}

bool MessageBoxes::warningYesNo(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Oui"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Non"));
    return box.exec() == QMessageBox::Yes;
}

MessageBoxes& MessageBoxes::standard() {
    static MessageBoxes boxes;
    return boxes;
}

} // namespace Ionaria::config
