// SPDX-License-Identifier: GPL-3.0-or-later
// The page's module: the session and the few functions and constants the
// page reads, by their C++ names.
#include "web/Session.h"

#include "calc/CalculCommand.h"
#include "report/SpokenState.h"
#include "sim/Catalogue.h"
#include "sim/SaltNames.h"
#include "sim/Validation.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <sys/stat.h>

#include <sstream>
#include <string>

namespace Ionaria::web {

namespace {

// The calculator's evaluation of an expression as a pupil writes it, as
// "ionaria --calcul" gives it: the status (0 for a result) and the line shown.
val calcul(const std::string& expression, bool radians) {
    std::ostringstream shown;
    const int status = calc::runCalculCommand(expression, radians, shown);
    std::string line = shown.str();
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
    }
    val out = val::object();
    out.set("status", status);
    out.set("text", line);
    return out;
}

// "200 mL à 500 mL": the range a box enforces, with its unit, as the
// panels write it; empty for an index that names no box.
std::string rangeText(int index, const std::string& unit) {
    return sim::text2RangeText(index, unit);
}

} // namespace

} // namespace Ionaria::web

EMSCRIPTEN_BINDINGS(ionaria) {
    // The module's file system starts with a mask that leaves a new file no
    // permission at all, so that a saved configuration could not be read
    // back; a login shell's usual mask is given instead.
    ::umask(022);
    using Ionaria::web::Session;
    emscripten::class_<Session>("Session")
        .constructor<emscripten::val>()
        .function("load", &Session::load)
        .function("save", &Session::save)
        .class_function("configurationPath", &Session::configurationPath)
        .class_function("messageNoName", &Session::messageNoName)
        .function("memoryBytes", &Session::memoryBytes)
        .function("setStepsPerTick", &Session::setStepsPerTick)
        .function("tick", &Session::tick)
        .function("runAsBatch", &Session::runAsBatch)
        .function("pauseMarche", &Session::pauseMarche)
        .function("retour", &Session::retour)
        .function("running", &Session::running)
        .function("seconds", &Session::seconds)
        .function("measures", &Session::measures)
        .function("summary", &Session::summary)
        .function("backgroundVersion", &Session::backgroundVersion)
        .function("backgroundOps", &Session::backgroundOps)
        .function("frameOps", &Session::frameOps)
        .function("setText2", &Session::setText2)
        .function("Text2_GotFocus", &Session::Text2_GotFocus)
        .function("Text2_KeyPress", &Session::Text2_KeyPress)
        .function("Text2_LostFocus", &Session::Text2_LostFocus)
        .function("editText2", &Session::editText2)
        .function("selectCombo1", &Session::selectCombo1)
        .function("selectCombo2", &Session::selectCombo2)
        .function("selectOption1", &Session::selectOption1)
        .function("selectOption2", &Session::selectOption2)
        .function("setCheck1", &Session::setCheck1)
        .function("setCheck2", &Session::setCheck2)
        .function("setCheck3", &Session::setCheck3)
        .function("setCheck4", &Session::setCheck4)
        .function("setHScroll2", &Session::setHScroll2)
        .function("setUpDown1", &Session::setUpDown1)
        .function("setUpDown2", &Session::setUpDown2)
        .function("refusal", &Session::refusal)
        .function("controls", &Session::controls)
        .function("reportLines", &Session::reportLines)
        .function("recordRevision", &Session::recordRevision)
        .function("recordLastSeconds", &Session::recordLastSeconds)
        .function("recordBytes", &Session::recordBytes)
        .function("courbesQuantities", &Session::courbesQuantities)
        .function("courbesTimeAxis", &Session::courbesTimeAxis)
        .function("courbesPlot", &Session::courbesPlot)
        .function("courbesTimeValue", &Session::courbesTimeValue)
        .function("courbesEvents", &Session::courbesEvents)
        .function("courbesEventLines", &Session::courbesEventLines)
        .function("courbesReading", &Session::courbesReading)
        .function("courbesCharacteristic", &Session::courbesCharacteristic)
        .function("measuresCsv", &Session::measuresCsv)
        .function("description", &Session::description)
        .function("stopBoxWhite", &Session::stopBoxWhite);
    emscripten::function("calcul", &Ionaria::web::calcul);
    emscripten::function("spokenMeasure", &Ionaria::report::spokenMeasureText);
    emscripten::function("text2RangeText", &Ionaria::web::rangeText);
    emscripten::function("halfCellSolutionTitle", &Ionaria::sim::halfCellSolutionTitle);
    emscripten::constant("userFolder", std::string(Session::userFolder));

    // The catalogue's codes by their names, for the page's controls.
    namespace cat = Ionaria::sim::catalogue;
    emscripten::constant("Text2Concentration", cat::Text2Concentration);
    emscripten::constant("Text2Volume", cat::Text2Volume);
    emscripten::constant("Text2MasseG", cat::Text2MasseG);
    emscripten::constant("Text2MasseD", cat::Text2MasseD);
    emscripten::constant("Text2Resistance", cat::Text2Resistance);
    emscripten::constant("Text2ConcentrationG", cat::Text2ConcentrationG);
    emscripten::constant("Text2VolumeG", cat::Text2VolumeG);
    emscripten::constant("Text2ConcentrationD", cat::Text2ConcentrationD);
    emscripten::constant("Text2VolumeD", cat::Text2VolumeD);
    emscripten::constant("Text2Arret", cat::Text2Arret);
    emscripten::enum_<cat::Montage>("Montage")
        .value("Pile", cat::Montage::Pile)
        .value("Tension", cat::Montage::Tension)
        .value("Courant", cat::Montage::Courant);
    emscripten::constant("hScroll2Min", cat::hScroll2Min);
    emscripten::constant("hScroll2Max", cat::hScroll2Max);
    emscripten::constant("upDown1Min", cat::upDown1Min);
    emscripten::constant("upDown1Max", cat::upDown1Max);
    emscripten::constant("upDown2Min", cat::upDown2Min);
    emscripten::constant("upDown2Max", cat::upDown2Max);
    emscripten::constant("keyEnter", static_cast<int>(Ionaria::sim::keyEnter));
    emscripten::constant("keyBackspace", static_cast<int>(Ionaria::sim::keyBackspace));
}
