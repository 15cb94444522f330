// zelkor-skin gallery: a static site of the skins and skin projects in some
// folders, one card per design with its phone, its colours and a download,
// and a page per design with every screen. The
// site is the gallery's own folder: a re-run draws only the skins whose files
// changed and rewrites only the files whose bytes change.
#include "command.h"
#include "gallerystages.h"
#include "session.h"

#include "design/legibility.h"

#include <QDate>

namespace zelkor::cli {

namespace {

const QString kDefaultTitle = QStringLiteral("Скины Zelkor");

const OutputOption kOutput{"папка сайта", "ПАПКА", "не указана папка сайта (-o ПАПКА)."};

void declare(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Делает сайт из скинов в папках: index.html с карточкой на каждый скин (список контактов на\n"
        "телефоне, полоска цветов, читаются ли надписи, ссылка для скачивания), скины одного оформления\n"
        "разных размеров — на одной карточке с переключателем размера, страницу на каждое оформление\n"
        "со всеми экранами, цветами и подробностями о читаемости и по странице на каждый размер\n"
        "экрана. Из папок берутся файлы .mbm и проекты .zskin, а также файлы, которые начинаются\n"
        "как файл скина или проекта. Проект — одна карточка со всеми размерами из его настроек\n"
        "экспорта; скачиваются те же файлы, что пишет export. Файлы, которые не удалось прочитать,\n"
        "перечислены в конце страницы (код выхода тогда 1). Папка сайта принадлежит команде:\n"
        "повторный запуск рисует заново только изменившиеся скины и проекты и переписывает только\n"
        "изменившиеся файлы."));
    declareOutput(parser, kOutput);
    parser.addOption({QStringLiteral("title"), QStringLiteral("заголовок страницы (по умолчанию «%1»)").arg(kDefaultTitle),
                      QStringLiteral("ТЕКСТ"), kDefaultTitle});
    // Kept for the command lines that give it: the phone is always the card's picture.
    parser.addOption({QStringLiteral("phone"), QStringLiteral("ничего не меняет: телефон всегда на карточке")});
    parser.addOption({QStringLiteral("min-contrast"),
                      QStringLiteral("наименьший допустимый контраст текста, от 1 до 21 (по умолчанию %1)")
                          .arg(design::kDefaultMinContrast),
                      QStringLiteral("R"), QString::number(design::kDefaultMinContrast)});
    parser.addOption({QStringLiteral("date"),
                      QStringLiteral("дата внизу страницы: ГГГГ-ММ-ДД или today (без этого даты нет)"),
                      QStringLiteral("ДАТА")});
    declareForce(parser, QStringLiteral("писать и в непустую папку, сделанную не этой командой"));
    parser.addPositionalArgument(QStringLiteral("ПАПКА"), QStringLiteral("папка со скинами, файл скина или проекта"),
                                 QStringLiteral("ПАПКА..."));
}

bool parseDate(const QString &text, QString &iso)
{
    const QDate date = text == QLatin1String("today") ? QDate::currentDate() : QDate::fromString(text, Qt::ISODate);
    iso = date.toString(Qt::ISODate);
    return date.isValid();
}

int run(const QCommandLineParser &parser, Session &session)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.isEmpty())
        return session.usageError(QStringLiteral("не указано ни одной папки со скинами."));
    const std::optional<QString> output = session.output(parser, kOutput);
    if (!output)
        return UsageError;
    GalleryRun gallery(session, *output);
    GalleryOptions &options = gallery.options;
    options.title = parser.value(QStringLiteral("title"));
    if (const std::optional<double> ratio = session.minContrast(parser))
        options.minContrast = *ratio;
    else
        return UsageError;
    if (parser.isSet(QStringLiteral("date")) && !parseDate(parser.value(QStringLiteral("date")), options.date))
        return session.usageError(
            QStringLiteral("дата «%1» — не ГГГГ-ММ-ДД и не today.").arg(parser.value(QStringLiteral("date"))));

    Status status = collectInputs(gallery, arguments);
    for (Status (*stage)(GalleryRun &) : {reuseOrDraw, writePages, finishSite})
        if (status)
            status = stage(gallery);
    if (!status) {
        if (!status.message.isEmpty())  // else reported where it happened
            session.problem(status);
        return SkinProblem;
    }
    gallery.written.sort();
    for (const QString &f : gallery.written)
        session.print(native(gallery.site.path(f)) + u'\n');
    return gallery.failed ? SkinProblem : Success;
}

} // namespace

const Command galleryCommand{"gallery", "сайт из папок со скинами: карточки, размеры, скачивание", declare, run};

} // namespace zelkor::cli
