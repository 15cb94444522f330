// zelkor-skin set-colour: colour slots of a skin set, in order.
#include "command.h"
#include "edit.h"

#include "project/projectfile.h"
#include "skin/colourslots.h"
#include "skin/profiles.h"
#include "skin/sheet.h"

#include <QRegularExpression>

#include <vector>

namespace zelkor::cli {

namespace {

void declare(QCommandLineParser &parser)
{
    QString labels;
    for (int i = 0; i < kColourSlotCount; ++i)
        labels += QStringLiteral("  %1  %2\n").arg(i, 2).arg(colourSlotLabel(i).trimmed());
    parser.setApplicationDescription(
        QStringLiteral("Задаёт цвета скина, по порядку. ЦВЕТ — #rrggbb; ЯЧЕЙКА — номер или подпись:\n") + labels);
    declareEditOutput(parser);
    parser.addPositionalArgument(QStringLiteral("СКИН.mbm"), QStringLiteral("файл скина"));
    parser.addPositionalArgument(QStringLiteral("ЯЧЕЙКА ЦВЕТ"), QStringLiteral("какой цвет какой ячейки; пар может быть несколько"),
                                 QStringLiteral("ЯЧЕЙКА ЦВЕТ [ЯЧЕЙКА ЦВЕТ…]"));
}

int slotByName(const QString &name)
{
    bool number = false;
    const int slot = name.toInt(&number);
    if (number)
        return slot >= 0 && slot < kColourSlotCount ? slot : -1;
    for (int i = 0; i < kColourSlotCount; ++i)
        if (name.trimmed() == colourSlotLabel(i).trimmed())
            return i;
    return -1;
}

int run(const QCommandLineParser &parser, Session &session)
{
    const QStringList args = parser.positionalArguments();
    if (args.size() < 3 || args.size() % 2 == 0)
        return session.usageError(QStringLiteral("нужны файл скина и пары ЯЧЕЙКА ЦВЕТ."));
    static const QRegularExpression hex(QStringLiteral("^#[0-9a-fA-F]{6}$"));
    std::vector<std::pair<int, QRgb>> edits;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        const int slot = slotByName(args[i]);
        if (slot < 0)
            return session.usageError(QStringLiteral("нет ячейки цвета «%1»: номер 0–12 или подпись.").arg(args[i]));
        if (!hex.match(args[i + 1]).hasMatch())
            return session.usageError(QStringLiteral("цвет «%1» не в виде #rrggbb.").arg(args[i + 1]));
        edits.emplace_back(slot, QColor::fromString(args[i + 1]).rgb());
    }
    if (readsAsProject(args.first()))
        return runProjectEdit(parser, session, args.first(), [&](SkinProject &project, int size) {
            for (const auto &[slot, colour] : edits)
                project.setColour(slot, colour, size);
            return true;
        });
    return runEdit(parser, session, args.first(), [&](SkinImage &skin) {
        for (const auto &[slot, colour] : edits)
            if (!writeColourSlot(skin.sheet, skin.profile, slot, colour)) {
                session.problem(QStringLiteral("В скине «%1» нет строки цветов.").arg(args.first()));
                return false;
            }
        return true;
    });
}

} // namespace

const Command setColourCommand{"set-colour", "цвета скина по номеру или подписи", declare, run};

} // namespace zelkor::cli
