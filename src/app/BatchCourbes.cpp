// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BatchCourbes.h"

#include "base/CarefulFile.h"
#include "sim/Characteristic.h"
#include "sim/Recorder.h"
#include "ui/ChartExport.h"
#include "ui/CourbesChart.h"

#include <QApplication>

#include <ostream>

namespace Ionaria::app {

std::unique_ptr<QGuiApplication> batchApplication(const CourbesOptions& options, int& argc,
                                                  char* argv[]) {
    if (options.drawsCharts()) {
        return std::make_unique<QApplication>(argc, argv);
    }
    return std::make_unique<QGuiApplication>(argc, argv);
}

bool writeCourbes(const CourbesOptions& options, const BatchMode::LastFrame& last,
                  std::ostream& err) {
    if (!options.path) {
        return true;
    }
    // A refused montage has recorded nothing: its curves are empty.
    const sim::Recorder nothing(last.end());
    const sim::Recorder& record = last.record != nullptr ? *last.record : nothing;
    ui::CourbesChart chart(record);
    chart.setFaraday(options.faraday);
    chart.setQuantities(ui::CourbesChart::idsFor(options.grandeurs, record));
    chart.setSize(QSizeF(ui::CourbesChart::exportSize(chart.plotCount())));
    const QString path = QString::fromStdString(*options.path);
    const auto format = ui::chartFormatOf(path);
    if (!format || !ui::writeChart(path, chart, *format).ok()) {
        err << "Ecriture impossible sur disque : " << *options.path << "\n";
        return false;
    }
    return true;
}

bool writeCaracteristique(const CourbesOptions& options, const BatchMode::LastFrame& last,
                          std::ostream& err) {
    if (!options.caracteristique) {
        return true;
    }
    const std::string& file = *options.caracteristique;
    const sim::Engine& end = last.end();
    const auto characteristic = sim::characteristic(end.state(), end.params());
    if (!characteristic) {
        err << "Pas de caractéristique I = f(U) pour la pile : " << file << "\n";
        return false;
    }
    bool written = false;
    if (CourbesOptions::isCsv(file)) {
        written = base::CarefulFile::writeAll(file, sim::characteristicCsv(*characteristic)).ok();
    } else {
        const sim::Recorder nothing(end);
        const sim::Recorder& record = last.record != nullptr ? *last.record : nothing;
        ui::CourbesChart chart(record);
        chart.setCharacteristicShown(true);
        chart.setSize(QSizeF(ui::CourbesChart::exportSize(chart.rowCount())));
        const QString path = QString::fromStdString(file);
        const auto format = ui::chartFormatOf(path);
        written = format && ui::writeChart(path, chart, *format).ok();
    }
    if (!written) {
        err << "Ecriture impossible sur disque : " << file << "\n";
    }
    return written;
}

} // namespace Ionaria::app
