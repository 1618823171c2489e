// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/RecordingCanvas.h"

namespace Ionaria::render {

void RecordingCanvas::kept(const DrawOp& op) {
    m_ops.push_back(op);
    QtCanvas::kept(op);
}

std::vector<DrawOp> RecordingCanvas::opsOf(DrawOp::Kind kind) const {
    std::vector<DrawOp> found;
    for (const auto& o : m_ops) {
        if (o.kind == kind) {
            found.push_back(o);
        }
    }
    return found;
}

std::vector<std::string> RecordingCanvas::texts() const {
    std::vector<std::string> found;
    for (const auto& o : m_ops) {
        if (o.kind == DrawOp::Kind::Text) {
            found.push_back(o.text);
        }
    }
    return found;
}

} // namespace Ionaria::render
