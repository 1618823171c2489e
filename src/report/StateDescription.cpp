// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/StateDescription.h"

#include "report/SpokenState.h"

namespace Ionaria::report {

QString spokenMeasure(const QString& shown) {
    return QString::fromStdString(spokenMeasureText(shown.toStdString()));
}

QString stateDescription(const sim::Engine& engine) {
    return QString::fromStdString(spokenState(engine));
}

} // namespace Ionaria::report
