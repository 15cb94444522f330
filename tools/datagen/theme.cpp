#include "theme.h"

namespace zelkor::datagen {

const ColourSlots &defaultColourSlots()
{
    using namespace palette;
    static const ColourSlots colours = {
        outgoing.rgb(),       //  0 text of outgoing messages (on the chat background)
        incoming.rgb(),       //  1 text of incoming messages (on the chat background)
        xstatus.rgb(),        //  2 incoming x-status text (on the chat background)
        menu.rgb(),           //  3 menu window fill; account screen background
        menuSelection.rgb(),  //  4 menu selection fill; account screen title bar
        accent.rgb(),         //  5 outline of the menu selection
        ink.rgb(),            //  6 nickname (contact list body, selection bars, slots 3 and 4)
        inkSoft.rgb(),        //  7 group name (contact list body)
        onBar.rgb(),          //  8 own nickname and status text (contact list title and status lines)
        onBar.rgb(),          //  9 soft-key labels (menuline) and the chat header
        ink.rgb(),            // 10 menu text (on slots 3 and 4)
        ink.rgb(),            // 11 settings text (settings rows and selection)
        onBarSoft.rgb(),      // 12 time (contact list title line)
    };
    return colours;
}

QRgb neutralColour()
{
    return qRgb(0x80, 0x80, 0x80);
}

QRgb phoneScreenColour()
{
    return qRgb(0x0b, 0x10, 0x16);
}

} // namespace zelkor::datagen
