// zelkor-skin render: one PNG per preview screen, exactly what the editor's
// preview shows, optionally on the phone picture and enlarged for publishing.
#include "command.h"
#include "projectinput.h"
#include "scale.h"
#include "session.h"

#include "preview/screenimage.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace zelkor::cli {

namespace {

QString screenNames()
{
    QStringList names;
    for (const NamedScreen &s : namedScreens())
        names << s.nameText();
    return names.join(QStringLiteral(", "));
}

// The keys with the names the editor shows, one screen a line, for the help.
QString screenList()
{
    QString list;
    for (const NamedScreen &s : namedScreens())
        list += QStringLiteral("\n  %1  %2").arg(s.nameText(), -11).arg(s.titleText());
    return list;
}

const OutputOption kOutput{"папка для картинок (создаётся, если её нет)", "ПАПКА",
                           "не указана папка для картинок (-o ПАПКА)."};

void declare(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Записывает экраны предпросмотра в PNG: каждая картинка точь-в-точь то, что показывает\n"
                       "предпросмотр редактора для этого экрана и числа колонок. Файл экрана — ИМЯ.png в папке -o;\n"
                       "при нескольких скинах у каждого своя подпапка по имени его файла. Файлы, которые уже есть,\n"
                       "не трогаются без --force; пути записанных файлов выводятся по одному в строке.\n"
                       "Экраны: ИМЯ для --screen и для файла, рядом — название экрана в редакторе:%1")
            .arg(screenList()));
    declareOutput(parser, kOutput);
    parser.addOption({QStringLiteral("screen"),
                      QStringLiteral("только этот экран; можно указать несколько раз (по умолчанию все)"),
                      QStringLiteral("ИМЯ")});
    parser.addOption({QStringLiteral("phone"), QStringLiteral("экран на картинке телефона, там же, где в окне")});
    declareScale(parser);
    declareForce(parser);
    declareProjectSizes(parser);
    parser.addPositionalArgument(QStringLiteral("СКИН.mbm"), QStringLiteral("файлы скинов или проектов (.zskin)"),
                                 QStringLiteral("СКИН.mbm…"));
}

QString screenFile(const QString &folder, const NamedScreen &shot)
{
    return QDir(folder).filePath(shot.nameText() + QStringLiteral(".png"));
}

struct Request {
    std::vector<const NamedScreen *> screens;
    bool phone = false;
    int scale = 1;
};

bool renderSkin(Session &session, ProjectReader &projects, const SkinInput &input, const QString &folder,
                const Request &request)
{
    SkinImage skin;
    const IconSheets *icons = projects.readToDraw(input, skin);
    if (!icons)
        return false;
    QImage photo;
    if (request.phone) {
        if (const Status s = readPhonePicture(session.files(), skin.profile, photo); !s) {
            session.problem(s);
            return false;
        }
    }
    if (!session.makeFolder(folder))
        return false;
    const PreviewInput in = skinPreviewInput(skin.sheet, skin.profile, *icons, 0);
    for (const NamedScreen *shot : request.screens) {
        QImage picture = paintBoxPicture(*shot, in);
        if (request.phone)
            picture = onPhonePicture(photo, skin.profile, picture);
        if (!session.writePng(enlargedByWholePixels(picture, request.scale), screenFile(folder, *shot)))
            return false;
    }
    return true;
}

int run(const QCommandLineParser &parser, Session &session)
{
    const QStringList skins = parser.positionalArguments();
    if (skins.isEmpty())
        return session.usageError(QStringLiteral("не указан ни один файл скина."));
    const std::optional<QString> outputGiven = session.output(parser, kOutput);
    if (!outputGiven)
        return UsageError;
    const QString &output = *outputGiven;

    Request request;
    request.phone = parser.isSet(QStringLiteral("phone"));
    const std::optional<int> scale = readScale(parser, session);
    if (!scale)
        return UsageError;
    request.scale = *scale;
    for (const QString &name : parser.values(QStringLiteral("screen"))) {
        const NamedScreen *shot = findNamedScreen(name);
        if (!shot)
            return session.usageError(
                QStringLiteral("нет экрана «%1». Экраны: %2.").arg(name, screenNames()));
        if (std::find(request.screens.begin(), request.screens.end(), shot) == request.screens.end())
            request.screens.push_back(shot);
    }
    if (request.screens.empty())
        for (const NamedScreen &s : namedScreens())
            request.screens.push_back(&s);

    // Several skins each get a subfolder named after the file; two files of
    // one name would write over each other's pictures.
    ProjectReader projects(session);
    const auto inputs = projects.inputs(skins, parser);
    if (!inputs)
        return UsageError;
    QStringList folders;
    QStringList files;
    for (const SkinInput &input : *inputs) {
        const QString name = input.baseName();
        const QString folder = inputs->size() == 1 ? output : Session::entryPath(output, name);
        if (folders.contains(folder))
            return session.usageError(
                QStringLiteral("два скина с именем «%1»: их картинки легли бы в одну папку.").arg(name));
        folders << folder;
        for (const NamedScreen *shot : request.screens)
            files << screenFile(folder, *shot);
    }
    // Nothing is written when anything would be refused.
    if (!session.mayWrite(files))
        return SkinProblem;

    int code = Success;
    for (size_t i = 0; i < inputs->size(); ++i)
        if (!renderSkin(session, projects, (*inputs)[i], folders[qsizetype(i)], request))
            code = SkinProblem;
    return code;
}

} // namespace

const Command renderCommand{"render", "PNG экранов предпросмотра, по желанию на картинке телефона", declare, run};

} // namespace zelkor::cli
