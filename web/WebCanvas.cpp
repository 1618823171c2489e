// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/WebCanvas.h"

#include <utility>

namespace Ionaria::web {

WebCanvas::WebCanvas(TextMetrics metrics) : m_metrics(std::move(metrics)) {}

double WebCanvas::measureWidth(std::string_view text) const {
    return m_metrics.width(face(), std::string(text));
}

int WebCanvas::measureAscent() const {
    return m_metrics.ascent(face());
}

int WebCanvas::measureHeight() const {
    return m_metrics.height(face());
}

void WebCanvas::kept(const render::DrawOp& op) {
    if (op.kind == render::DrawOp::Kind::ClearPicture ||
        op.kind == render::DrawOp::Kind::MakeBackground) {
        ++m_backgroundVersion;
    }
}

} // namespace Ionaria::web
