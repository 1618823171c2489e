// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/DrawOp.h"
#include "render/QtCanvas.h"

#include <string>
#include <vector>

namespace Ionaria::render {

// A surface that draws like the experiment's and keeps, beside the
// picture's own lists, every operation it kept until asked to forget them
// (the clearing ones included), so that a check can count and inspect what
// a step drew.
class RecordingCanvas : public QtCanvas {
public:
    const std::vector<DrawOp>& ops() const { return m_ops; }
    void clearOps() { m_ops.clear(); }

    std::vector<DrawOp> opsOf(DrawOp::Kind kind) const;
    // The texts printed, in order.
    std::vector<std::string> texts() const;

protected:
    void kept(const DrawOp& op) override;

private:
    std::vector<DrawOp> m_ops;
};

} // namespace Ionaria::render
