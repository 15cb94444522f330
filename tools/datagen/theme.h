#pragma once
// The colours of the default skin that the generator draws into the six
// template sheets, and the few other colours that the generated data promises
// (the phone pictures' screen colour). The tests read these to check that the
// packed templates carry them.

#include "skin/sheet.h"

#include <QColor>
#include <QRgb>

namespace zelkor::datagen {

// The thirteen colour slots of the default skin, slot 0 to 12.
const ColourSlots &defaultColourSlots();

// Gap rows and the columns right of `select2` other than the colour row.
QRgb neutralColour();

// The one colour of a phone picture's screen area.
QRgb phoneScreenColour();

// Named design colours that the pictures are drawn from.
namespace palette {
// Dark slate bars: soft-key bar, title lines, settings title strip.
inline const QColor barTop{0x3d, 0x4c, 0x5e};
inline const QColor barBottom{0x28, 0x33, 0x3f};
inline const QColor barHighlight{0x5a, 0x6c, 0x80};
// The status line at the bottom of the contact list, a lighter slate.
inline const QColor statusTop{0x4a, 0x5b, 0x6e};
inline const QColor statusBottom{0x3c, 0x4a, 0x5a};
// Light surfaces: contact list and chat backgrounds, settings rows.
inline const QColor bodyTop{0xf1, 0xf4, 0xf8};
inline const QColor bodyBottom{0xdc, 0xe4, 0xec};
inline const QColor bodyDecor{0xd3, 0xdd, 0xe8};
inline const QColor rowTop{0xfb, 0xfc, 0xfd};
inline const QColor rowBottom{0xee, 0xf2, 0xf6};
inline const QColor rowLine{0xd2, 0xda, 0xe3};
inline const QColor chevron{0xa3, 0xb0, 0xbe};
// Selection bars.
inline const QColor selTop{0xd9, 0xe9, 0xfb};
inline const QColor selBottom{0xb9, 0xd3, 0xf1};
inline const QColor selEdgeTop{0xa3, 0xc2, 0xe8};
inline const QColor selEdgeBottom{0x82, 0xa9, 0xda};
// The accent: selection stripes, the line under title bars.
inline const QColor accent{0x2f, 0x6d, 0xb5};
// Text colours.
inline const QColor ink{0x1e, 0x29, 0x35};
inline const QColor inkSoft{0x35, 0x57, 0x7d};
inline const QColor onBar{0xff, 0xff, 0xff};
inline const QColor onBarSoft{0xa6, 0xcc, 0xf2};
inline const QColor outgoing{0x1c, 0x5a, 0xa6};
inline const QColor incoming{0xa3, 0x36, 0x1e};
inline const QColor xstatus{0x6b, 0x4c, 0x9a};
inline const QColor menu{0xff, 0xff, 0xff};
inline const QColor menuSelection{0xcf, 0xe1, 0xf7};
} // namespace palette

} // namespace zelkor::datagen
