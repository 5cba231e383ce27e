#pragma once
// The six game sounds, each synthesised from struck modes, filtered noise and a little room.

#include "Dsp.h"

namespace sounds {

TSignal MoveClick();     // a soft wooden click: a piece set down on the board
TSignal CaptureKnock();  // a sharper double knock: one piece strikes another away
TSignal PromotionBell(); // a small hand bell
TSignal CheckAlert();    // a two-note alert on a soft metal bar
TSignal MateFigure();    // a falling figure on a wooden bar instrument
TSignal DrawChord();     // a neutral (suspended) chord of soft chimes

} // namespace sounds
