#include "legibilitytext.h"

#include "skin/colourslots.h"

#include <QStringList>

#include <array>
#include <cmath>
#include <map>
#include <tuple>

namespace zelkor::design {

namespace {

struct ScreenWords {
    const char *screen;
    const char16_t *where;
};

constexpr std::array<ScreenWords, 7> kScreenWords{{
    {"account", u"на экране выбора аккаунта"},
    {"contacts-1", u"на экране контактов"},
    {"contacts-2", u"на экране контактов в две колонки"},
    {"popup-1", u"во всплывающем меню"},
    {"popup-2", u"во всплывающем меню над двумя колонками"},
    {"chat", u"на экране чата"},
    {"settings", u"на экране настроек"},
}};

// What makes a text the same text in two measures of one skin: the screen,
// the string, the slot and how many texts of that kind came before it.
using TextKey = std::tuple<QString, QString, int, int>;

std::vector<TextKey> keysOf(const Legibility &measure)
{
    std::map<std::tuple<QString, QString, int>, int> seen;
    std::vector<TextKey> keys;
    for (const TextLegibility &t : measure.texts) {
        const int n = seen[{t.screen, t.text, t.slot}]++;
        keys.emplace_back(t.screen, t.text, t.slot, n);
    }
    return keys;
}

} // namespace

double cutRatio(double ratio, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    // The small allowance keeps 21 from becoming 20.99 through rounding error.
    return std::floor(ratio * scale + 1e-7) / scale;
}

QString ratioText(double ratio, int decimals)
{
    return QString::number(cutRatio(ratio, decimals), 'f', decimals).replace(u'.', u',') + QStringLiteral(" : 1");
}

QString thresholdText(double minContrast)
{
    return QString::number(cutRatio(minContrast, 1), 'f', 1).replace(u'.', u',');
}

QString countText(int n, const QString &one, const QString &few, const QString &many)
{
    const int tens = n % 100, units = n % 10;
    const QString &noun = tens >= 11 && tens <= 14 ? many : units == 1 ? one : units >= 2 && units <= 4 ? few : many;
    return QStringLiteral("%1 %2").arg(n).arg(noun);
}

QString slotGroupLabel(int slot)
{
    return slot >= 0 ? colourSlotLabel(slot).trimmed() : QStringLiteral("постоянный цвет");
}

QString onScreenText(const QString &screen)
{
    for (const ScreenWords &w : kScreenWords)
        if (screen == QLatin1String(w.screen))
            return QString::fromUtf16(w.where);
    return screen;
}

QString slotWarningText(const Legibility &measure, const SlotLegibility &slot, double minContrast)
{
    if (slot.text < 0 || slot.text >= int(measure.texts.size()))
        return {};
    const TextLegibility &t = measure.texts[size_t(slot.text)];
    return QStringLiteral("%1 — «%2» %3; нужно не меньше %4")
        .arg(ratioText(slot.worst, 1), t.text, onScreenText(t.screen), ratioText(minContrast, 1));
}

QString legibilitySummaryText(const Legibility &measure, double minContrast)
{
    QString text = QStringLiteral("наименьший контраст %1").arg(ratioText(measure.lowest(), 2));
    QStringList below;
    for (const SlotLegibility &s : measure.failingSlots(minContrast))
        below << QStringLiteral("«%1»").arg(colourSlotLabel(s.slot).trimmed());
    int fixed = 0;
    for (int i : measure.failingTexts(minContrast))
        fixed += measure.texts[size_t(i)].slot < 0;
    if (fixed > 0)
        below << QStringLiteral("текстов постоянного цвета: %1").arg(fixed);
    if (below.isEmpty())
        return text + QStringLiteral("; все тексты не ниже %1").arg(ratioText(minContrast, 1));
    return text + QStringLiteral("; ниже %1: %2").arg(ratioText(minContrast, 1), below.join(QStringLiteral(", ")));
}

std::vector<LostText> textsLostAtDepth(const Legibility &asIs, const Legibility &atDepth, double minContrast)
{
    std::map<TextKey, double> before;
    const std::vector<TextKey> asIsKeys = keysOf(asIs);
    for (size_t i = 0; i < asIsKeys.size(); ++i)
        before[asIsKeys[i]] = asIs.texts[i].contrast;
    const std::vector<TextKey> keys = keysOf(atDepth);
    std::vector<LostText> lost;
    for (int i : atDepth.failingTexts(minContrast)) {
        const auto was = before.find(keys[size_t(i)]);
        if (was != before.end() && was->second >= minContrast)
            lost.push_back({i, was->second});
    }
    return lost;
}

QString lostTextsMessage(const Legibility &atDepth, const std::vector<LostText> &lost, const QString &depthName,
                         double minContrast)
{
    if (lost.empty())
        return {};
    QString text = QStringLiteral("При сохранении с глубиной «%1» станут хуже %2 тексты, которые сейчас "
                                  "читаются:")
                       .arg(depthName, ratioText(minContrast, 1));
    std::vector<int> texts;
    std::map<int, double> before;
    for (const LostText &l : lost) {
        texts.push_back(l.text);
        before[l.text] = l.before;
    }
    for (const SlotGroup &g : groupBySlot(atDepth, texts)) {
        const int worst = g.texts.front();
        const TextLegibility &t = atDepth.texts[size_t(worst)];
        const QString how = g.texts.size() == 1
                                ? QStringLiteral(": ")
                                : QStringLiteral(" — %1, хуже всех ")
                                      .arg(countText(int(g.texts.size()), QStringLiteral("текст"),
                                                     QStringLiteral("текста"), QStringLiteral("текстов")));
        text += QStringLiteral("\n• «%1»%2«%3» %4: %5 вместо %6")
                    .arg(slotGroupLabel(g.slot), how, t.text, onScreenText(t.screen), ratioText(t.contrast, 1),
                         ratioText(before[worst], 1));
    }
    return text;
}

} // namespace zelkor::design
