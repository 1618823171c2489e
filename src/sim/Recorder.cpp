// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Recorder.h"

#include "sim/Catalogue.h"
#include "sim/Nernst.h"

#include <algorithm>
#include <cmath>

namespace Ionaria::sim {

namespace cat = catalogue;

namespace {

using Values = std::array<double, channel::count>;

Values valuesOf(const Measurement& m, const std::array<double, 2>& loi) {
    Values v{};
    v[channel::intensite] = static_cast<double>(m.intensite);
    v[channel::tension] = m.tension;
    v[channel::masseG] = m.masseG;
    v[channel::masseD] = m.masseD;
    for (std::size_t k = 0; k < m.quantite.size(); ++k) {
        v[channel::firstQuantite + k] = m.quantite[k];
    }
    v[channel::ions1] = m.ions1;
    v[channel::ions2] = m.ions2;
    v[channel::pH] = m.pH;
    v[channel::potentielG] = static_cast<double>(m.potentielG);
    v[channel::potentielD] = static_cast<double>(m.potentielD);
    v[channel::loiG] = loi[0];
    v[channel::loiD] = loi[1];
    return v;
}

// The cations of a half-cell, by the tag of its nature box.
int cationOf(const std::string& tag) {
    constexpr std::array<int, 4> cations = {cat::aluminium3, cat::cuivre2, cat::fer2, cat::zinc2};
    if (tag.size() != 1 || tag[0] < '0' || tag[0] > '3') {
        return 0;
    }
    return cations[static_cast<std::size_t>(tag[0] - '0')];
}

Recorder::Run runOf(const Engine& engine) {
    const ParamStore& p = engine.params();
    Recorder::Run run;
    run.montage = p.Option2;
    run.volumeCuve = static_cast<double>(p.Text2[cat::Text2Volume].value());
    run.volume1 = static_cast<double>(p.Text2[cat::Text2VolumeG].value());
    run.volume2 = static_cast<double>(p.Text2[cat::Text2VolumeD].value());
    run.potentials = nernst::enabled(p);
    if (p.isPile()) {
        run.cation1 = cationOf(p.Combo2[0].tag);
        run.cation2 = cationOf(p.Combo2[1].tag);
    }
    return run;
}

std::uint32_t bit(std::size_t c) {
    return 1U << c;
}

} // namespace

std::size_t channel::ofSpecies(int species) {
    for (std::size_t k = 0; k < measuredSpecies.size(); ++k) {
        if (measuredSpecies[k] == species) {
            return firstQuantite + k;
        }
    }
    return count;
}

double metalPerCharge(int reactionNumber) {
    switch (reactionNumber) {
    case 5: // Fe2+ + 2 e- = Fe
        return cat::masseFe / 2.0;
    case 8:
        return cat::masseZn / 2.0;
    case 9:
        return cat::masseAl / 3.0;
    case 10:
        return cat::masseCu / 2.0;
    case cat::anodeAluminium:
        return -cat::masseAl / 3.0;
    case cat::anodeCuivre:
        return -cat::masseCu / 2.0;
    case cat::anodeFer:
        return -cat::masseFe / 2.0;
    case cat::anodeZinc:
        return -cat::masseZn / 2.0;
    default:
        return 0.0;
    }
}

Recorder::Recorder(const Engine& engine, std::size_t capacity)
    : m_engine(engine), m_capacity(std::max<std::size_t>(2, capacity & ~std::size_t{1})) {}

void Recorder::stepDone(bool) {
    record();
}

void Recorder::runReset() {
    clear();
}

void Recorder::clear() {
    // A long run's room goes back to the system with it.
    const bool release = m_buckets.capacity() > 4096;
    m_buckets.clear();
    if (release) {
        std::vector<Bucket>().swap(m_buckets);
    }
    for (std::size_t c = 0; c < channel::count; ++c) {
        m_low[c].clear();
        m_high[c].clear();
        if (release) {
            std::vector<double>().swap(m_low[c]);
            std::vector<double>().swap(m_high[c]);
        }
    }
    m_events.clear();
    m_rows = 0;
    m_width = 1;
    m_nonZero = 0;
    m_loi = {};
    m_metalPerCharge = {};
    ++m_revision;
}

void Recorder::record() {
    const Measurement m = Measurement::of(m_engine);
    if (m_rows > 0 && m == m_last) {
        return;
    }
    std::array<double, 2> loi = {m.masseG, m.masseD};
    if (m_rows == 0) {
        m_run = runOf(m_engine);
        m_metalPerCharge = {};
    } else {
        // The step that ends at this row converted the current of the row
        // before during the seconds between them, in the reaction in force
        // now. A reaction that forms no metal leaves the law with the last
        // one that did: the law tells what the current would have deposited.
        const auto seconds =
            std::max<std::int64_t>(0, std::int64_t{m.tempsSec} - std::int64_t{m_last.tempsSec});
        const double charge =
            static_cast<double>(m_last.intensite) * static_cast<double>(seconds) / cat::faraday;
        const std::array<int, 2> reactions = {m.reactionG, m.reactionD};
        for (std::size_t e = 0; e < 2; ++e) {
            if (const double f = metalPerCharge(reactions[e]); f != 0.0) {
                m_metalPerCharge[e] = f;
            }
            loi[e] = m_loi[e] + m_metalPerCharge[e] * charge;
        }
        if ((m.codeG != m_last.codeG || m.codeD != m_last.codeD) && m_events.size() < maxEvents) {
            m_events.push_back({m.tempsSec, m_last.codeG, m_last.codeD, m.codeG, m.codeD,
                                m.reactionG, m.reactionD});
        }
    }
    if (m_rows == 0) {
        for (std::size_t e = 0; e < 2; ++e) {
            if (const double f = metalPerCharge(e == 0 ? m.reactionG : m.reactionD); f != 0.0) {
                m_metalPerCharge[e] = f;
            }
        }
    }
    const Values v = valuesOf(m, loi);
    for (std::size_t c = 0; c < channel::count; ++c) {
        if (v[c] != 0.0) {
            m_nonZero |= bit(c);
        }
    }
    if (!m_buckets.empty() && m_buckets.back().rows < m_width) {
        Bucket& b = m_buckets.back();
        const std::size_t k = m_buckets.size() - 1;
        for (std::size_t c = 0; c < channel::count; ++c) {
            if (v[c] < m_low[c][k]) {
                m_low[c][k] = v[c];
                b.highAfterLow &= ~bit(c);
            }
            if (v[c] > m_high[c][k]) {
                m_high[c][k] = v[c];
                b.highAfterLow |= bit(c);
            }
        }
        b.lastSec = m.tempsSec;
        ++b.rows;
    } else {
        if (m_buckets.size() >= m_capacity) {
            merge();
        }
        open(m, loi);
    }
    m_last = m;
    m_loi = loi;
    ++m_rows;
    ++m_revision;
}

void Recorder::open(const Measurement& m, const std::array<double, 2>& loi) {
    Bucket b;
    b.first = m;
    b.loi = loi;
    b.lastSec = m.tempsSec;
    b.rows = 1;
    m_buckets.push_back(b);
    const Values v = valuesOf(m, loi);
    for (std::size_t c = 0; c < channel::count; ++c) {
        m_low[c].push_back(v[c]);
        m_high[c].push_back(v[c]);
    }
}

void Recorder::merge() {
    const std::size_t half = m_buckets.size() / 2;
    for (std::size_t i = 0; i < half; ++i) {
        const Bucket& a = m_buckets[2 * i];
        const Bucket& b = m_buckets[2 * i + 1];
        Bucket merged = a;
        merged.rows = a.rows + b.rows;
        merged.lastSec = b.lastSec;
        merged.highAfterLow = 0;
        for (std::size_t c = 0; c < channel::count; ++c) {
            auto& lows = m_low[c];
            auto& highs = m_high[c];
            const bool lowInB = lows[2 * i + 1] < lows[2 * i];
            const bool highInB = highs[2 * i + 1] > highs[2 * i];
            lows[i] = lows[2 * i + (lowInB ? 1 : 0)];
            highs[i] = highs[2 * i + (highInB ? 1 : 0)];
            const Bucket& both = highInB ? b : a;
            const bool after = lowInB == highInB ? (both.highAfterLow & bit(c)) != 0U : highInB;
            if (after) {
                merged.highAfterLow |= bit(c);
            }
        }
        m_buckets[i] = merged;
    }
    m_buckets.resize(half);
    for (std::size_t c = 0; c < channel::count; ++c) {
        m_low[c].resize(half);
        m_high[c].resize(half);
    }
    m_width *= 2;
}

std::int32_t Recorder::lastSeconds() const {
    return m_buckets.empty() ? 0 : m_buckets.back().lastSec;
}

std::size_t Recorder::memoryBytes() const {
    std::size_t bytes =
        sizeof(*this) + m_buckets.capacity() * sizeof(Bucket) + m_events.capacity() * sizeof(Event);
    for (std::size_t c = 0; c < channel::count; ++c) {
        bytes += (m_low[c].capacity() + m_high[c].capacity()) * sizeof(double);
    }
    return bytes;
}

double Recorder::value(const Bucket& bucket, std::size_t c) {
    return valuesOf(bucket.first, bucket.loi)[std::min(c, channel::count - 1)];
}

const Recorder::Bucket* Recorder::at(double seconds) const {
    if (m_buckets.empty()) {
        return nullptr;
    }
    const auto after =
        std::upper_bound(m_buckets.begin(), m_buckets.end(), seconds,
                         [](double t, const Bucket& b) { return t < b.first.tempsSec; });
    return after == m_buckets.begin() ? &m_buckets.front() : &*(after - 1);
}

void Recorder::trace(std::size_t c, std::size_t columns, std::vector<Point>& out) const {
    out.clear();
    if (m_buckets.empty() || c >= channel::count) {
        return;
    }
    // A flat stretch needs its two ends alone: a point that would continue
    // the last two at the same value moves the last one on instead.
    const auto add = [&out](double seconds, double value) {
        const std::size_t n = out.size();
        if (n >= 1 && out[n - 1].value == value && out[n - 1].seconds == seconds) {
            return;
        }
        if (n >= 2 && out[n - 1].value == value && out[n - 2].value == value) {
            out[n - 1].seconds = seconds;
        } else {
            out.push_back({seconds, value});
        }
    };
    const std::size_t n = m_buckets.size();
    columns = std::max<std::size_t>(1, columns);
    const std::size_t group = (n + columns - 1) / columns;
    out.reserve(2 * (n / group + 2));
    for (std::size_t i = 0; i < n; i += group) {
        const std::size_t j = std::min(n, i + group);
        const Bucket& start = m_buckets[i];
        if (j - i == 1 && start.rows == 1) {
            add(static_cast<double>(start.first.tempsSec), value(start, c));
            continue;
        }
        const auto& lows = m_low[c];
        const auto& highs = m_high[c];
        std::size_t lowAt = i;
        std::size_t highAt = i;
        for (std::size_t k = i + 1; k < j; ++k) {
            if (lows[k] < lows[lowAt]) {
                lowAt = k;
            }
            if (highs[k] > highs[highAt]) {
                highAt = k;
            }
        }
        const double low = lows[lowAt];
        const double high = highs[highAt];
        const double from = static_cast<double>(start.first.tempsSec);
        const double to = m_buckets[j - 1].lastSec;
        if (low == high) {
            add(from, low);
            add(to, low);
            continue;
        }
        // The group's first value, then its extremes in the order they came,
        // at its two ends: a line through them misses no peak.
        const bool highAfterLow =
            lowAt == highAt ? (m_buckets[lowAt].highAfterLow & bit(c)) != 0U : highAt > lowAt;
        add(from, value(start, c));
        add(from, highAfterLow ? low : high);
        add(to, highAfterLow ? high : low);
    }
    const Bucket& last = m_buckets.back();
    if (last.rows > 1 || group > 1) {
        add(static_cast<double>(last.lastSec), valuesOf(m_last, m_loi)[c]);
    }
}

} // namespace Ionaria::sim
