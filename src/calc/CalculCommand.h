// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace Ionaria::calc {

// An expression as a pupil writes it, in the evaluator's own characters: the
// decimal comma becomes ".", "×" and "·" become "*", "÷" becomes "/" (UTF-8).
// The evaluator has no argument separator, so no comma has another meaning.
std::string expressionEcrite(std::string_view expression);

// "ionaria --calcul EXPR [--radians]": evaluates expression, written as
// expressionEcrite reads it, in degrees, or in radians, and writes to out, followed by a new line,
// exactly what "EXE" shows in the standard display: the result (" 14", "-15", ".5") or the message
// of the error code. Returns the process's exit status: 0 for a result, 1 for an error code or a
// result beyond the range of a double.
int runCalculCommand(const std::string& expression, bool radians, std::ostream& out);

} // namespace Ionaria::calc
