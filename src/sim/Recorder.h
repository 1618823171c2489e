// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Catalogue.h"
#include "sim/Engine.h"
#include "sim/Measurement.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Ionaria::sim {

// The quantities the record follows, by channel: the measurements, and the
// mass of each electrode that Faraday's law gives from the current.
namespace channel {
inline constexpr std::size_t intensite = 0; // A
inline constexpr std::size_t tension = 1;   // V
inline constexpr std::size_t masseG = 2;    // g
inline constexpr std::size_t masseD = 3;    // g
// mol, by measuredSpecies: firstQuantite + k for measuredSpecies[k]
inline constexpr std::size_t firstQuantite = 4;
inline constexpr std::size_t ions1 = firstQuantite + measuredSpecies.size(); // mol
inline constexpr std::size_t ions2 = ions1 + 1;                              // mol
inline constexpr std::size_t pH = ions2 + 1;                                 // of the vessel
inline constexpr std::size_t potentielG = pH + 1;                            // V
inline constexpr std::size_t potentielD = potentielG + 1;                    // V
inline constexpr std::size_t loiG = potentielD + 1;                          // g
inline constexpr std::size_t loiD = loiG + 1;                                // g
inline constexpr std::size_t count = loiD + 1;
// The channel of a species number; count for a species not measured.
std::size_t ofSpecies(int species);
} // namespace channel

// Records the measurements of every simulated second since the last reset,
// fed by the engine's steps as the batch CSV is.
//
// A step that changes nothing (the clock stands and the state with it) adds
// no row, so that a montage left running without current does not fill the
// record. Up to its capacity the record keeps each row; beyond it, it thins
// itself: neighbouring buckets merge two by two, each keeping its first row
// whole and, for every channel, the lowest and highest value of all its
// rows, so that a plot of any length loses no peak. Its memory never exceeds
// capacity buckets.
class Recorder : public StepObserver {
public:
    // Each second kept up to 9 h 6 min; about 14 MB at most.
    static constexpr std::size_t defaultCapacity = 32768;
    // Changes of reaction kept at most: the chemistry makes a handful, a
    // bound whatever happens.
    static constexpr std::size_t maxEvents = 4096;

    struct Bucket {
        Measurement first;           // the first row, whole
        std::array<double, 2> loi{}; // g, the law's masses G and D at that row
        std::int32_t lastSec = 0;    // s, the time of the last row
        std::uint32_t rows = 0;
        // Bit c: channel c reached its highest value after its lowest.
        std::uint32_t highAfterLow = 0;
    };
    // A change of the reaction at an electrode of the electrolysis.
    struct Event {
        std::int32_t tempsSec = 0; // s
        std::int16_t previousG = 0;
        std::int16_t previousD = 0;
        std::int16_t codeG = 0;
        std::int16_t codeD = 0;
        std::int16_t reactionG = 0; // half-equation numbers from then on
        std::int16_t reactionD = 0;
    };
    // What a run holds that its rows do not: the montage and the volumes that
    // turn amounts into concentrations.
    struct Run {
        catalogue::Montage montage = catalogue::Montage::Pile;
        double volumeCuve = 0.0; // mL, electrolysis
        double volume1 = 0.0;    // mL, half-cell 1
        double volume2 = 0.0;    // mL, half-cell 2
        int cation1 = 0;         // species number of the cations of half-cell 1
        int cation2 = 0;
        bool potentials = false; // the potentials follow the concentrations
        bool pile() const { return montage == catalogue::Montage::Pile; }
    };
    // One point of a trace: a time in s and a channel's value.
    struct Point {
        double seconds = 0.0;
        double value = 0.0;
    };

    explicit Recorder(const Engine& engine, std::size_t capacity = defaultCapacity);
    // The engine whose run it records, as it stands now.
    const Engine& engine() const { return m_engine; }

    void stepDone(bool programmedStop) override;
    void runReset() override;

    // Adds the engine's measurements as they stand.
    void record();
    void clear();

    const std::vector<Bucket>& buckets() const { return m_buckets; }
    const std::vector<Event>& events() const { return m_events; }
    const Run& run() const { return m_run; }
    bool empty() const { return m_buckets.empty(); }
    // Rows recorded since the reset, and how many each bucket holds at most.
    std::uint64_t rows() const { return m_rows; }
    std::uint32_t rowsPerBucket() const { return m_width; }
    // s, the time of the last row (0 when empty).
    std::int32_t lastSeconds() const;
    // Changes with every row added and every clearing.
    std::uint64_t revision() const { return m_revision; }
    // Whether a channel was ever other than zero since the reset.
    bool everNonZero(std::size_t c) const { return ((m_nonZero >> c) & 1U) != 0U; }
    // Bytes the record holds, whatever it uses of them.
    std::size_t memoryBytes() const;

    // A channel's value at the first row of a bucket.
    static double value(const Bucket& bucket, std::size_t c);
    // A channel's lowest and highest values over the rows of bucket k.
    double low(std::size_t k, std::size_t c) const { return m_low[c][k]; }
    double high(std::size_t k, std::size_t c) const { return m_high[c][k]; }
    // The bucket in force at a time: the last one that begins at or before
    // it; nullptr when the record is empty.
    const Bucket* at(double seconds) const;
    // The points that draw a channel over the whole record, at most three
    // per column: for each group of buckets its first value, then its lowest
    // and highest in the order they came; a flat stretch by its two ends.
    void trace(std::size_t c, std::size_t columns, std::vector<Point>& out) const;

private:
    void open(const Measurement& m, const std::array<double, 2>& loi);
    void merge();

    const Engine& m_engine;
    std::size_t m_capacity;
    std::vector<Bucket> m_buckets;
    // By channel, then bucket: a trace reads its channel's extremes alone.
    std::array<std::vector<double>, channel::count> m_low;
    std::array<std::vector<double>, channel::count> m_high;
    std::vector<Event> m_events;
    Run m_run;
    Measurement m_last;
    std::array<double, 2> m_loi{};
    // g per mol of electrons of the last reaction at each electrode that
    // formed or used up metal, signed.
    std::array<double, 2> m_metalPerCharge{};
    std::uint64_t m_rows = 0;
    std::uint32_t m_width = 1;
    std::uint64_t m_revision = 0;
    std::uint32_t m_nonZero = 0;
};

// The mass of metal in g that a reaction forms (positive) or uses up
// (negative) at its electrode per mol of electrons; 0 for a reaction that
// forms no metal (gases, ions in solution).
double metalPerCharge(int reactionNumber);

} // namespace Ionaria::sim
