// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/BatchMode.h"
#include "render/Picture.h"
#include "sim/Catalogue.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "sim/Recorder.h"
#include "web/PageValues.h"
#include "web/WebCanvas.h"

#include <emscripten/val.h>

#include <memory>
#include <string>
#include <vector>

namespace Ionaria::web {

using emscripten::val;

// One experiment and its picture, as the page's embind object: its
// handlers, run, picture and measurements here, its curves in
// SessionCourbes.cpp. The measurer is the page's object with
// width(face, text), ascent(face) and height(face), in pixels.
class Session {
public:
    explicit Session(val measurer);

    // Loads a configuration file of the module's file system: an empty text
    // when it is loaded, else the message the window would show.
    std::string load(const std::string& path);

    // Saves the settings as a configuration file of the module's file
    // system: an empty text when it is written, else the window's message.
    std::string save(const std::string& path) const;

    // The module's whole memory, in bytes: what the engine, its record and
    // the pictures' operations hold at their highest so far.
    double memoryBytes() const;

    // Where a configuration the user names in the page is written before the
    // browser hands it over as a download: the desktop's rule for a typed
    // name (blanks trimmed, any extension replaced by .C14), in the module's
    // folder of user files. Only the file's own name is kept, since a
    // download has no folder; empty when no name is left, for which the
    // page shows messageNoName().
    static std::string configurationPath(const std::string& typedName);

    static std::string messageNoName();

    // The module's folder for the configurations opened from, and saved to,
    // the user's files.
    static constexpr const char* userFolder = "/fichiers";

    // Simulated seconds per tick as the batch mode runs them (1), or the
    // window's own pace (0).
    void setStepsPerTick(int steps) { m_engine->setStepsPerTickOverride(steps); }

    void tick() { m_engine->Timer1_Timer(); }
    // The run of the batch mode: the timer started, one simulated second a
    // tick until the measured time reaches the seconds, the timer stops or a
    // tick no longer advances. The picture is then the batch's last one.
    void runAsBatch(int seconds) { app::BatchMode::runFor(*m_engine, seconds); }
    // "Pause / Marche".
    void pauseMarche() { m_engine->Command5_Click(); }
    // "Retour à l'état initial".
    void retour() { m_engine->Command3_Click(); }
    bool running() const { return m_engine->params().Timer1; }
    int seconds() const { return m_engine->params().mesures.tempsSec; }

    val measures() const;
    std::string summary() const { return app::BatchMode::summary(*m_engine); }

    // The handlers of the window's panels, each as the window runs it. An
    // edit returns the nature check's refusal then in force, the two lines
    // the picture shows, or an empty array.
    val setText2(int index, const std::string& text);
    val Text2_GotFocus(int index);
    // The key as the box takes it, 0 when it is discarded; Enter validates.
    int Text2_KeyPress(int index, int key);
    val Text2_LostFocus(int index);
    // A box typed into and left, as a user does: the focus, the text, the
    // validation.
    val editText2(int index, const std::string& text);
    val selectCombo1(int index);
    val selectCombo2(int box, int index);
    val selectOption1(int index);
    val selectOption2(sim::catalogue::Montage montage);
    val setCheck1(int value);
    val setCheck2(int value);
    val setCheck3(int value);
    val setCheck4(int value);
    val setHScroll2(int value);
    val setUpDown1(int value);
    val setUpDown2(int value);
    val refusal() const;

    // What the panels show: the controls' values as the handlers left them.
    val controls() const;

    // The state report's lines as text, as the picture shows them.
    val reportLines() const;

    // The panels' page (web/panels.js): the experiment told in words, the
    // text the desktop gives a screen reader for its picture.
    std::string description() const;
    // The stop's date box is white while the stop is programmed, else grey.
    bool stopBoxWhite() const { return m_engine->params().stopBoxWhite; }

    // Grows when the background's operations change. The montage is drawn
    // again every few dozen ticks, most often the same: the page paints its
    // background again only when it has changed.
    int backgroundVersion();
    val backgroundOps();
    val frameOps();

    // Courbes: the record of the run since the last reset, read as the
    // desktop's window reads it. A 100-hour record is a few tens of
    // thousands of rows: the page is given what it draws, a few points per
    // column of a plot, and only when the record changed since.

    // Changes with every row recorded and every reset.
    double recordRevision() const { return static_cast<double>(m_record.revision()); }
    int recordLastSeconds() const { return m_record.lastSeconds(); }
    // Bytes the record holds.
    double recordBytes() const { return static_cast<double>(m_record.memoryBytes()); }

    // The quantities the run has, in the window's order: [{id, name}].
    val courbesQuantities() const;

    // The time axis shared by the plots: {unit, title, min, max, splits,
    // labels}, in the unit the run's length sets.
    val courbesTimeAxis() const;

    // One plot of a quantity of the run drawn over columns px: {title, name,
    // legend, times, values, min, max, splits, labels} and, for a mass with
    // the law's overlay, loiName, loiTimes and loiValues; times in the time
    // axis' unit, values in the quantity's shown unit. Null for an id the
    // run does not have.
    val courbesPlot(const std::string& id, int columns, bool faraday);

    // A time, s, as the reading's time box holds it: in the time axis' unit,
    // with the window's decimals for it (none in s, 2 in min, 3 in h).
    std::string courbesTimeValue(double seconds) const;

    // The changes of reaction: [{time, text}], time in the time axis' unit.
    val courbesEvents() const;
    // The list of the changes of reaction as the window writes it.
    val courbesEventLines() const;

    // The reading's lines at a time, s, kept within the run; a negative
    // time reads the last measurement.
    val courbesReading(double seconds, bool faraday) const;

    // The electrolyser's characteristic I = f(U) for the present state, as
    // the window draws it under the curves: {name, seuilName, tensions (V),
    // intensites (A), seuil (V, null when off the axis), tension and
    // intensite (axes)}. The cell has none: no point, and its legend says so.
    val courbesCharacteristic();

    // The record's measurements as the window exports them, in the
    // spreadsheet's dialect or the standard one: the file's bytes.
    val measuresCsv(bool tableur) const;

private:
    std::unique_ptr<sim::Engine> m_engine;
    sim::Handlers m_handlers;
    sim::Recorder m_record;
    // A plot's points, kept from one drawing to the next for their room.
    std::vector<sim::Recorder::Point> m_points;
    std::vector<double> m_times;
    std::vector<double> m_values;
    WebCanvas* m_canvas = nullptr;
    std::unique_ptr<render::Picture> m_picture;
    // The background's operations and the frame's last given to the page,
    // kept for its view of them.
    PackedOps m_background;
    PackedOps m_frame;
    PackedOps m_packing;
    int m_seenBackground = -1;
    int m_backgroundVersion = 0;
};

} // namespace Ionaria::web
