// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BatchCourbes.h"

#include "sim/Recorder.h"
#include "ui/ChartExport.h"
#include "ui/CourbesChart.h"

#include <QApplication>

#include <ostream>

namespace Ionaria::app {

std::unique_ptr<QGuiApplication> batchApplication(const CourbesOptions& options, int& argc,
                                                  char* argv[]) {
    if (options.path) {
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
    const sim::Recorder nothing(last.engine);
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

} // namespace Ionaria::app
