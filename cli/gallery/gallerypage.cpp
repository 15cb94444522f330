#include "gallerypage.h"

#include "design/legibilitytext.h"
#include "skin/colourslots.h"
#include "skin/profiles.h"

#include <QCryptographicHash>
#include <QFile>
#include <QUrl>

#include <algorithm>
#include <tuple>

namespace zelkor::cli {

namespace {

// The whole look of the site (style.css, a resource of the program), put
// inside each page so it stands alone. Variants of a card show one at a time
// without a script: the default one (last in the card) unless another is the
// page's target. Wide pictures scroll inside their
// own strip, so the page itself never scrolls sideways; they are shown pixel
// for pixel, and a display that enlarges them keeps the pixels square.
QString style()
{
    static const QString text = [] {
        QFile file(QStringLiteral(":/gallery/style.css"));
        QString css = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        if (css.endsWith(u'\n'))
            css.chop(1);
        return css;
    }();
    return text;
}

QString esc(const QString &text)
{
    return text.toHtmlEscaped();
}

// An href for a relative path: each part percent-encoded, the slashes kept.
QString href(const QString &relative)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(relative, "/"));
}

QString decimal(double value, int decimals)
{
    return QString::number(value, 'f', decimals).replace(u'.', u',');
}

// Cut, never rounded up: a text below the threshold never reads as reaching it.
QString ratio(double value)
{
    return design::ratioText(value, 2);
}

QString fileSizeText(qint64 bytes)
{
    if (bytes < 1024)
        return QStringLiteral("%1 байт").arg(bytes);
    if (bytes < 1024 * 1024)
        return decimal(bytes / 1024.0, 1) + QStringLiteral(" КБ");
    return decimal(bytes / (1024.0 * 1024.0), 1) + QStringLiteral(" МБ");
}

QString hexColour(QRgb c)
{
    return QStringLiteral("#%1").arg(c & 0xffffffu, 6, 16, QLatin1Char('0')).toUpper();
}

QString label(int profile)
{
    return profileByIndex(profile)->labelText();
}

QString displayName(const QString &fileName)
{
    const QString name = familyKey(fileName);
    return name.endsWith(QLatin1String(".mbm"), Qt::CaseInsensitive) && name.size() > 4 ? name.chopped(4) : name;
}

QString variantId(const GalleryFamily &family, const GallerySkin &skin)
{
    return family.id + u'-' + label(skin.profile);
}

QString sizePageName(int profile)
{
    return QStringLiteral("size-%1.html").arg(label(profile));
}

QString legibilityText(const GalleryLegibility &l, double threshold)
{
    const std::vector<int> failing = l.failing(threshold);
    const QString text = QStringLiteral("Читаемость текстов: наименьший контраст %1").arg(ratio(l.lowest));
    if (failing.empty())
        return QStringLiteral("<p>%1; цвета всех слотов не ниже %2.</p>").arg(text, ratio(threshold));
    QStringList named;
    for (int s : failing)
        named << QStringLiteral("«%1» — %2").arg(esc(colourSlotLabel(s).trimmed()), ratio(l.worst[size_t(s)]));
    return QStringLiteral("<p class=\"bad\">%1; ниже %2: %3.</p>")
        .arg(text, ratio(threshold), named.join(QStringLiteral(", ")));
}

void writeVariant(QString &out, const GalleryFamily &family, const GallerySkin &skin, bool isDefault,
                  const GalleryOptions &options)
{
    const QString name = esc(family.name);
    const QString size = label(skin.profile);
    out += QStringLiteral("<section class=\"variant%1\" id=\"%2\">\n")
               .arg(isDefault ? QStringLiteral(" default") : QString(), variantId(family, skin));
    if (family.sizes.size() > 1) {
        out += QStringLiteral("<nav aria-label=\"Размер экрана\">Размер экрана:");
        for (const GallerySkin *other : family.sizes)
            out += other == &skin ? QStringLiteral(" <strong>%1</strong>").arg(label(other->profile))
                                  : QStringLiteral(" <a href=\"#%1\">%2</a>").arg(variantId(family, *other),
                                                                                 label(other->profile));
        out += QStringLiteral("</nav>\n");
    }
    out += QStringLiteral("<p>Экран %1: %2</p>\n")
               .arg(size, esc(QString::fromUtf8(profileByIndex(skin.profile)->dialogItem)));
    out += QStringLiteral("<div class=\"shot\"><img src=\"%1\" width=\"%2\" height=\"%3\" alt=\"Все экраны скина «%4», %5\"></div>\n"
                          "<div class=\"about\">\n")
               .arg(href(overviewPath(skin)), QString::number(skin.overview.width()),
                    QString::number(skin.overview.height()), name, size);
    if (!skin.phone.isEmpty())
        out += QStringLiteral("<div class=\"shot\"><img src=\"%1\" width=\"%2\" height=\"%3\" "
                              "alt=\"Список контактов скина «%4» на телефоне %5\"></div>\n")
                   .arg(href(phonePath(skin)), QString::number(skin.phone.width()),
                        QString::number(skin.phone.height()), name, size);
    out += QStringLiteral("<div class=\"facts\">\n<ul class=\"swatches\">\n");
    for (int s = 0; s < kColourSlotCount; ++s) {
        const QString hex = hexColour(skin.colours[size_t(s)]);
        out += QStringLiteral("<li style=\"--c:%1\"><span>%2. %3 <code>%1</code></span></li>\n")
                   .arg(hex, QString::number(s), esc(colourSlotLabel(s).trimmed()));
    }
    out += QStringLiteral("</ul>\n");
    if (skin.legibility)
        out += legibilityText(*skin.legibility, options.minContrast) + u'\n';
    out += QStringLiteral("<p><a href=\"%1\" download>Скачать %2</a> (%3)</p>\n</div>\n</div>\n</section>\n")
               .arg(href(copyPath(skin)), esc(skin.fileName), fileSizeText(skin.fileSize));
}

void writeCard(QString &out, const GalleryFamily &family, int shownProfile, const GalleryOptions &options)
{
    out += QStringLiteral("<article class=\"card\" id=\"%1\">\n<h2>%2</h2>\n").arg(family.id, esc(family.name));
    // The card opens at the page's size, else at its smallest profile; that
    // variant comes last, so a chosen one can hide it.
    const GallerySkin *shown = family.sizes.front();
    for (const GallerySkin *s : family.sizes)
        if (s->profile == shownProfile)
            shown = s;
    for (const GallerySkin *s : family.sizes)
        if (s != shown)
            writeVariant(out, family, *s, false, options);
    writeVariant(out, family, *shown, true, options);
    out += QStringLiteral("</article>\n");
}

bool hasProfile(const GalleryFamily &family, int profile)
{
    return std::any_of(family.sizes.begin(), family.sizes.end(),
                       [profile](const GallerySkin *s) { return s->profile == profile; });
}

QByteArray page(const std::vector<GalleryFamily> &families, const std::vector<GalleryProblem> &problems,
                const GalleryOptions &options, int profile)
{
    int counts[kProfileCount + 1] = {};
    for (const GalleryFamily &f : families)
        for (const GallerySkin *s : f.sizes)
            ++counts[s->profile];
    const QString title = esc(options.title);
    QString out = QStringLiteral("<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
                                 "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                                 "<meta name=\"generator\" content=\"zelkor-skin gallery\">\n<title>%1%2</title>\n"
                                 "<style>\n%3\n</style>\n</head>\n<body>\n<header>\n<h1>%1</h1>\n")
                      .arg(title, profile ? QStringLiteral(" — ") + label(profile) : QString(),
                           style());
    int total = 0;
    for (int p = 1; p <= kProfileCount; ++p)
        total += counts[p];
    // The page's own entry is no link.
    const auto entry = [](bool current, const QString &target, const QString &text) {
        return current ? QStringLiteral("<strong>%1</strong>").arg(text)
                       : QStringLiteral("<a href=\"%1\">%2</a>").arg(target, text);
    };
    out += QStringLiteral("<nav aria-label=\"Размер экрана\">") +
           entry(!profile, QStringLiteral("index.html"), QStringLiteral("Все размеры (%1)").arg(total));
    for (int p = 1; p <= kProfileCount; ++p)
        if (counts[p])
            out += u' ' + entry(p == profile, sizePageName(p), QStringLiteral("%1 (%2)").arg(label(p)).arg(counts[p]));
    out += QStringLiteral("</nav>\n</header>\n<main>\n");
    for (const GalleryFamily &f : families)
        if (!profile || hasProfile(f, profile))
            writeCard(out, f, profile, options);
    if (families.empty())
        out += QStringLiteral("<p>Скинов нет.</p>\n");
    if (!problems.empty()) {
        out += QStringLiteral("<section class=\"broken\" id=\"broken\">\n<h2>Файлы, которые не удалось прочитать "
                              "как скины</h2>\n<ul>\n");
        for (const GalleryProblem &p : problems)
            out += QStringLiteral("<li><b>%1</b>: %2</li>\n").arg(esc(p.fileName), esc(p.reason));
        out += QStringLiteral("</ul>\n</section>\n");
    }
    out += QStringLiteral("</main>\n<footer>\n<p>Страница сделана командой zelkor-skin gallery");
    if (!options.date.isEmpty())
        out += QStringLiteral(" <time datetime=\"%1\">%1</time>").arg(esc(options.date));
    out += QStringLiteral(".</p>\n</footer>\n</body>\n</html>\n");
    return out.toUtf8();
}

} // namespace

std::vector<int> GalleryLegibility::failing(double threshold) const
{
    std::vector<int> below;
    for (int s = 0; s < int(worst.size()); ++s)
        if (worst[size_t(s)] > 0 && worst[size_t(s)] < threshold)
            below.push_back(s);
    return below;
}

QString familyKey(const QString &fileName)
{
    for (const Profile &p : allProfiles()) {
        const QLatin1String prefix(p.savePrefix);
        if (fileName.startsWith(prefix) && fileName.size() > prefix.size())
            return fileName.mid(prefix.size());
    }
    return fileName;
}

std::vector<GalleryFamily> groupFamilies(const std::vector<GallerySkin> &skins)
{
    std::vector<const GallerySkin *> order;
    for (const GallerySkin &s : skins)
        order.push_back(&s);
    const auto sortKey = [](const GallerySkin *s) {
        const QString key = familyKey(s->fileName);
        return std::make_tuple(displayName(s->fileName).toCaseFolded(), key, s->profile, s->fileName, s->key);
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](const GallerySkin *a, const GallerySkin *b) { return sortKey(a) < sortKey(b); });

    std::vector<GalleryFamily> families;
    size_t firstOfKey = 0;  // the first family of the current key
    for (const GallerySkin *s : order) {
        const QString key = familyKey(s->fileName);
        if (families.empty() || familyKey(families[firstOfKey].sizes.front()->fileName) != key)
            firstOfKey = families.size();
        auto room = std::find_if(families.begin() + qsizetype(firstOfKey), families.end(),
                                 [&](const GalleryFamily &f) { return !hasProfile(f, s->profile); });
        if (room == families.end()) {
            const QByteArray digest = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex();
            GalleryFamily f{displayName(s->fileName), QStringLiteral("s-") + QString::fromLatin1(digest.left(10)), {}};
            if (const size_t n = families.size() - firstOfKey)
                f.id += QStringLiteral("-%1").arg(n + 1);
            families.push_back(std::move(f));
            room = families.end() - 1;
        }
        room->sizes.push_back(s);
    }
    return families;
}

std::vector<GalleryPage> galleryPages(const std::vector<GalleryFamily> &families,
                                      const std::vector<GalleryProblem> &problems, const GalleryOptions &options)
{
    std::vector<GalleryPage> pages{{QStringLiteral("index.html"), page(families, problems, options, 0)}};
    for (int p = 1; p <= kProfileCount; ++p)
        if (std::any_of(families.begin(), families.end(), [p](const GalleryFamily &f) { return hasProfile(f, p); }))
            pages.push_back({sizePageName(p), page(families, problems, options, p)});
    return pages;
}

QString overviewPath(const GallerySkin &skin)
{
    return QStringLiteral("pictures/%1.png").arg(skin.key);
}

QString phonePath(const GallerySkin &skin)
{
    return QStringLiteral("pictures/%1-phone.png").arg(skin.key);
}

QString copyPath(const GallerySkin &skin)
{
    // Always a .mbm name, so that no browser takes a download for a page.
    QString name = skin.fileName;
    if (!name.endsWith(QLatin1String(".mbm"), Qt::CaseInsensitive)) {
        const qsizetype dot = name.lastIndexOf(u'.');
        name = (dot > 0 ? name.left(dot) : name) + QStringLiteral(".mbm");
    }
    return QStringLiteral("skins/%1/%2").arg(skin.key, name);
}

} // namespace zelkor::cli
