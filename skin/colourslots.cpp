#include "colourslots.h"

#include "profiles.h"

namespace zelkor {

QString colourSlotLabel(int slot)
{
    static const char *const labels[kColourSlotCount] = {
        "текст исходящих сообщений",
        "текст входящих сообщений",
        "цвет входящего хстатуса",
        "цвет окошка меню",
        "цвет выделения в меню ",
        "цвет оконтовки выделения в меню",
        "цвет ника в списке контактов",
        "цвет группы в списке контактов",
        "цвет ника в списке контактов (вверху)",
        "цвет текста в MenuBarе",
        "цвет текста в меню",
        "цвет текста в настройках",
        "цвет времени в КЛе",
    };
    if (slot < 0 || slot >= kColourSlotCount)
        return {};
    return QString::fromUtf8(labels[slot]);
}

} // namespace zelkor
