// zelkor-skin thumbnail: the picture a file manager shows for a skin or a
// skin project -- the contact list on the phone, no larger than the size the
// file manager asks for. The command line is the one a thumbnailer entry
// gives (IN OUT SIZE), so the file manager runs it as it is.
#include "command.h"
#include "projectinput.h"
#include "session.h"

#include "project/projectfile.h"
#include "skin/profiles.h"

#include <QStandardPaths>

namespace zelkor::cli {

namespace {

// Thumbnails are asked for at 128, 256, 512 or 1024 pixels; anything larger
// than a phone picture is drawn at the picture's own size.
constexpr int kLargestSize = 4096;

void declare(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Рисует миниатюру скина или проекта для файлового менеджера: список контактов на картинке телефона,\n"
        "уменьшенный так, чтобы большая сторона была не больше РАЗМЕРА (картинка меньше РАЗМЕРА не увеличивается).\n"
        "У проекта — размер, который он показывает первым. ВЫХОД всегда заменяется (так его передаёт\n"
        "файловый менеджер), но никогда не папка, канал или устройство; ничего не выводится."));
    parser.addPositionalArgument(QStringLiteral("ВХОД"), QStringLiteral("файл скина (.mbm) или проекта (.zskin)"));
    parser.addPositionalArgument(QStringLiteral("ВЫХОД"), QStringLiteral("файл PNG миниатюры"));
    parser.addPositionalArgument(QStringLiteral("РАЗМЕР"), QStringLiteral("наибольшая сторона в точках (128, 256…)"));
}

int run(const QCommandLineParser &parser, Session &session)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 3)
        return session.usageError(QStringLiteral("нужны три параметра: ВХОД ВЫХОД РАЗМЕР."));
    bool number = false;
    const int size = arguments[2].toInt(&number);
    if (!number || size < 1 || size > kLargestSize)
        return session.usageError(
            QStringLiteral("РАЗМЕР — целое число от 1 до %1, а не «%2».").arg(kLargestSize).arg(arguments[2]));
    const QString &out = arguments[1];
    session.setReplaceExisting(true);
    session.setListWritten(false);
    // A file manager may run us where the home folder cannot be written. The
    // runtime folder is the user's own (Qt makes one, private, when the
    // session has none); a folder of a fixed name in /tmp could be another
    // user's.
    session.setWorkBase(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));

    ProjectReader projects(session);
    SkinInput input{arguments[0], 0};
    if (readsAsProject(input.path)) {
        const SkinProject *project = projects.open(input.path);
        if (!project)
            return SkinProblem;
        input.profile = project->profile;
    }
    SkinImage skin;
    const IconSheets *icons = projects.readToDraw(input, skin);
    if (!icons)
        return SkinProblem;
    QImage photo;
    if (const Status s = readPhonePicture(session.files(), skin.profile, photo); !s) {
        session.problem(s);
        return SkinProblem;
    }
    QImage picture = contactsOnPhone(skin.sheet, skin.profile, *icons, photo);
    if (std::max(picture.width(), picture.height()) > size)
        picture = picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return session.writePng(picture, out) ? Success : SkinProblem;
}

} // namespace

const Command thumbnailCommand{"thumbnail", "миниатюра скина или проекта для файлового менеджера", declare, run};

} // namespace zelkor::cli
