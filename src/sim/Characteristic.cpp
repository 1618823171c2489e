// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Characteristic.h"

#include "base/Numbers.h"
#include "sim/Catalogue.h"

#include <algorithm>
#include <cmath>

namespace Ionaria::sim {

namespace cat = catalogue;

double Characteristic::intensiteA(double tensionV) const {
    return std::max(0.0, (tensionV - seuilV) * conductanceS);
}

std::string Characteristic::seuilText() const {
    return "seuil ≈ " + base::formatPattern(seuilV, "#0.00") + " V";
}

double vesselConductance(const State& s, const ParamStore& p) {
    double sum = 0.0;
    for (std::size_t i = 1; i <= 10; ++i) {
        sum += cat::conductivity[i] * s.quantite[i];
    }
    const auto volume = static_cast<double>(p.Text2[cat::Text2Volume].value());
    if (volume == 0.0) {
        return 0.0;
    }
    return 1000.0 * sum / volume;
}

std::optional<Characteristic> characteristic(const State& s, const ParamStore& p) {
    if (p.isPile()) {
        return std::nullopt;
    }
    Characteristic c;
    c.seuilV = static_cast<double>(s.e02 - s.e01);
    c.conductanceS = vesselConductance(s, p);
    // Whole tenths counted, not added up, so that 10 V is reached exactly.
    const auto steps =
        static_cast<int>(std::lround(Characteristic::maxVoltageV / Characteristic::stepV));
    for (int k = 0; k <= steps; ++k) {
        const double u = k * Characteristic::stepV;
        if (c.seuilV > 0.0 && c.seuilV < Characteristic::maxVoltageV && !c.points.empty() &&
            c.points.back().tensionV < c.seuilV && c.seuilV < u) {
            c.points.push_back({c.seuilV, 0.0});
        }
        c.points.push_back({u, c.intensiteA(u)});
    }
    return c;
}

std::string characteristicCsv(const Characteristic& c) {
    std::string out = "U_V,I_A\n";
    for (const Characteristic::Point& point : c.points) {
        out += base::writeShortest(point.tensionV);
        out.push_back(',');
        out += base::writeShortest(point.intensiteA);
        out.push_back('\n');
    }
    return out;
}

} // namespace Ionaria::sim
