// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/Canvas.h"

namespace Ionaria::render {

// The colours of the particles. The animation and the legend draw the same
// species with the same colour, so that the legend is the key to the picture.
inline constexpr Color electronColor{0, 250, 180};         // in the circuit and the electrodes
inline constexpr Color moleculeElectronColor{0, 255, 180}; // shared inside a molecule
inline constexpr Color sulfateColor{255, 255, 200};
inline constexpr Color potassiumColor{255, 100, 100};
inline constexpr Color chlorureColor{240, 255, 0};
inline constexpr Color dichloreColor{180, 255, 0};
inline constexpr Color hydrogeneColor{255, 0, 255};
inline constexpr Color hydroxydeColor{120, 60, 255};
inline constexpr Color dioxygeneColor{255, 0, 0};
inline constexpr Color eauColor{155, 205, 255};
inline constexpr Color ionAluminium3{210, 170, 170};
inline constexpr Color ionZinc2{210, 210, 170};
inline constexpr Color ionFer2{0, 255, 180};
inline constexpr Color ionFer3{255, 180, 0};
inline constexpr Color ionCuivre2{0, 180, 255};
inline constexpr Color atomRingGrey{100, 100, 100};
inline constexpr Color cuivreAnodeRing{200, 150, 0};
inline constexpr Color copperFrom{255, 200, 150};
inline constexpr Color copperTo{255, 180, 0};
inline constexpr Color greyFrom{130, 130, 130};
inline constexpr Color greyTo{210, 210, 210};
inline constexpr Color bubbleWhite{255, 255, 255};
inline constexpr Color bubbleChlore{230, 255, 200};

} // namespace Ionaria::render
