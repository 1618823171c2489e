// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exercises/ExerciseDialogs.h"
#include "exercises/ExerciseMessage.h"

#include <QDialog>
#include <QPrinter>
#include <QStringList>

#include <functional>

// Answers the exercises window's boxes and dialogs as a test says, and
// remembers what was asked.
class ScriptedDialogs : public Ionaria::exercises::ExerciseDialogs {
public:
    bool answerOk = true;
    QString saveName;
    QString openName;
    QString printTo; // a PDF file; empty: the printer dialog is cancelled
    std::function<void(QDialog&)> onModal;

    QStringList messages;  // "title | text" of every message box
    QStringList criticals; // "title | text" of the configuration boxes
    int fileDialogs = 0;
    QStringList startFolders; // where each file dialog started
    int printerDialogs = 0;
    int modals = 0;

    bool message(QWidget*, const Ionaria::exercises::ExerciseMessage& m) override {
        messages << QString::fromStdString(m.title + " | " + m.text);
        return m.buttons == Ionaria::exercises::ExerciseMessage::Buttons::Ok || answerOk;
    }
    void critical(QWidget*, const QString& title, const QString& text) override {
        criticals << title + " | " + text;
    }
    QString saveFileName(QWidget*, const QString& folder) override {
        ++fileDialogs;
        startFolders << folder;
        return saveName;
    }
    QString openFileName(QWidget*, const QString& folder) override {
        ++fileDialogs;
        startFolders << folder;
        return openName;
    }
    bool choosePrinter(QPrinter& printer, QWidget*) override {
        ++printerDialogs;
        if (printTo.isEmpty()) {
            return false;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printTo);
        return true;
    }
    void runModal(QDialog& dialog) override {
        ++modals;
        if (onModal) {
            onModal(dialog);
        }
    }
    void clear() {
        messages.clear();
        criticals.clear();
        fileDialogs = printerDialogs = modals = 0;
        startFolders.clear();
    }
};
