// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/StateDescription.h"

#include "render/RecordingCanvas.h"
#include "report/Rapport.h"
#include "sim/Catalogue.h"

#include <QStringList>

#include <cmath>
#include <map>

namespace Ionaria::report {

namespace {

namespace cat = sim::catalogue;

QString qtext(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString selected(const sim::ListBox& box) {
    if (box.listIndex < 0 || box.listIndex >= box.count()) {
        return {};
    }
    return qtext(box.items[static_cast<std::size_t>(box.listIndex)]);
}

QString montage(const sim::ParamStore& p) {
    QStringList parts;
    if (p.Option2 >= 0 && p.Option2 < static_cast<int>(cat::montageCaptions.size())) {
        parts << qtext(cat::montageCaptions[static_cast<std::size_t>(p.Option2)]) +
                     QLatin1Char('.');
    }
    const QString g = selected(p.Combo2[0]);
    const QString d = selected(p.Combo2[1]);
    if (!g.isEmpty()) {
        parts << QStringLiteral("Électrode G : %1.").arg(g);
    }
    if (!d.isEmpty()) {
        parts << QStringLiteral("Électrode D : %1.").arg(d);
    }
    if (!p.isPile()) {
        const QString solution = selected(p.Combo1);
        if (!solution.isEmpty()) {
            parts << QStringLiteral("Solution : %1.").arg(solution);
        }
    }
    return parts.join(QLatin1Char(' '));
}

// The report's texts, a line for each row they are printed on, top to
// bottom and left to right.
QStringList reportLines(const render::RecordingCanvas& canvas) {
    std::map<long, std::map<long, QString>> rows;
    for (const auto& op : canvas.ops()) {
        if (op.kind != render::DrawOp::Kind::Text) {
            continue;
        }
        // Indices and exponents sit a few pixels off their line.
        const long row = std::lround((op.y1 - op.scaleTop) / 8.0);
        rows[row][std::lround(op.x1)] += qtext(op.text);
    }
    QStringList lines;
    for (const auto& [row, texts] : rows) {
        QString line;
        for (const auto& [x, text] : texts) {
            line += text;
        }
        if (!line.trimmed().isEmpty()) {
            lines << line.simplified();
        }
    }
    return lines;
}

} // namespace

QString stateDescription(const sim::Engine& engine) {
    sim::Engine copy = engine;
    copy.setHost(nullptr);
    render::RecordingCanvas canvas;
    rapport(canvas, copy);

    const sim::ParamStore& p = engine.params();
    QStringList parts;
    parts << montage(p);
    parts << QStringLiteral("t = %1 ; U = %2 ; i = %3.")
                 .arg(QString::fromStdString(p.Labeltps()), QString::fromStdString(p.Labelu()),
                      QString::fromStdString(p.Labelint()));
    parts << reportLines(canvas);
    return parts.join(QLatin1Char('\n'));
}

} // namespace Ionaria::report
