// SPDX-License-Identifier: GPL-3.0-or-later
// "Vérifier les valeurs": the exercise's configurations run for the teacher's
// durations, and the table of what the pupils will read.
#include "exercises/ExerciseEditor.h"

#include "config/ConfigFile.h"
#include "exercises/ValueCheck.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <utility>
#include <vector>

namespace Ionaria::exercises {

void ExerciseEditor::checkValues() {
    const auto seconds = ValueCheck::parseDurations(m_durees->text().toStdString());
    if (!seconds) {
        refuse(QStringLiteral("Donner les durées en secondes, séparées par des espaces, par "
                              "exemple : 600 1800 3600 (20 au plus, une semaine au plus)."));
        return;
    }
    QTemporaryDir temporary;
    std::vector<std::pair<QString, QString>> runs; // shown name, path
    const QString where = folder().isEmpty() ? m_startFolder : folder();
    for (const auto& [box, field] : {std::pair{m_configEnonce, m_configEnonceFile},
                                     std::pair{m_configCorrection, m_configCorrectionFile}}) {
        QString shown;
        QString path;
        if (sourceOf(box) == Source::Current) {
            shown = QString::fromUtf8(currentConfiguration);
            path = temporary.filePath(QStringLiteral("actuelle.C14"));
            if (config::ConfigFile::save(path.toStdString(), m_handlers.engine().params())) {
                continue;
            }
        } else if (sourceOf(box) == Source::File && !field->text().trimmed().isEmpty()) {
            path = QDir(where).absoluteFilePath(field->text().trimmed());
            shown = QFileInfo(path).fileName();
        }
        const bool seen = std::any_of(runs.begin(), runs.end(),
                                      [&path](const auto& run) { return run.second == path; });
        if (!path.isEmpty() && !seen) {
            runs.emplace_back(shown, path);
        }
    }
    if (runs.empty()) {
        refuse(QStringLiteral("L'exercice ne charge aucune configuration : il n'y a pas de "
                              "valeurs à vérifier."));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_valeurs->setRowCount(0);
    for (const auto& [shown, path] : runs) {
        for (const ValueCheck::Row& r : ValueCheck::run(path.toStdString(), *seconds)) {
            const int at = m_valeurs->rowCount();
            m_valeurs->insertRow(at);
            const QString cells[] = {shown, QString::fromStdString(r.asked),
                                     QString::fromStdString(r.quantity),
                                     QString::fromStdString(r.value)};
            for (int c = 0; c < 4; ++c) {
                m_valeurs->setItem(at, c, new QTableWidgetItem(cells[c]));
            }
        }
    }
    m_valeurs->resizeColumnsToContents();
    QApplication::restoreOverrideCursor();
}

QString ExerciseEditor::valuesText() const {
    QString text;
    for (int c = 0; c < m_valeurs->columnCount(); ++c) {
        text +=
            (c > 0 ? QStringLiteral("\t") : QString()) + m_valeurs->horizontalHeaderItem(c)->text();
    }
    text += QLatin1Char('\n');
    for (int r = 0; r < m_valeurs->rowCount(); ++r) {
        for (int c = 0; c < m_valeurs->columnCount(); ++c) {
            const QTableWidgetItem* item = m_valeurs->item(r, c);
            text += (c > 0 ? QStringLiteral("\t") : QString()) +
                    (item != nullptr ? item->text() : QString());
        }
        text += QLatin1Char('\n');
    }
    return text;
}

void ExerciseEditor::copyValues() {
    QApplication::clipboard()->setText(valuesText());
}

} // namespace Ionaria::exercises
