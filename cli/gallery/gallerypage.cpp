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
// inside each page so it stands alone. No script: a card's sizes are radio
// buttons that show one variant each, a design page's sizes are links to
// its variants (the default one, the largest, last, unless another is the
// page's target).
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

QString designPageName(const GalleryFamily &family)
{
    return QStringLiteral("design-%1.html").arg(family.id);
}

// "1 цвет", "3 цвета", "5 цветов".
QString coloursText(int n)
{
    const int tens = n % 100, ones = n % 10;
    const char *word = tens >= 11 && tens <= 14 ? "цветов" : ones == 1 ? "цвет" : ones >= 2 && ones <= 4 ? "цвета" : "цветов";
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(word));
}

// The card's verdict in plain words; the details are on the design page.
QString badge(const GallerySkin &skin, double threshold)
{
    if (!skin.legibility)
        return {};
    const size_t failing = skin.legibility->failing(threshold).size();
    if (failing == 0)
        return QStringLiteral("<p class=\"badge ok\">Все надписи читаются</p>\n");
    return QStringLiteral("<p class=\"badge bad\">%1 %2 плохо</p>\n")
        .arg(coloursText(int(failing)), failing % 10 == 1 && failing % 100 != 11 ? QStringLiteral("читается")
                                                                               : QStringLiteral("читаются"));
}

QString legibilityDetails(const GalleryLegibility &l, double threshold)
{
    const std::vector<int> failing = l.failing(threshold);
    if (failing.empty())
        return QStringLiteral("<p>Все надписи читаются: самый низкий контраст текста с фоном — %1, нужно не ниже "
                              "%2.</p>\n")
            .arg(ratio(l.lowest), ratio(threshold));
    QString out = QStringLiteral("<p class=\"bad\">Плохо читаются надписи этих цветов — контраст с фоном ниже %1:</p>\n<ul>\n")
                      .arg(ratio(threshold));
    for (int s : failing)
        out += QStringLiteral("<li>«%1» — %2</li>\n").arg(esc(colourSlotLabel(s).trimmed()), ratio(l.worst[size_t(s)]));
    return out + QStringLiteral("</ul>\n");
}

QString download(const GallerySkin &skin)
{
    return QStringLiteral("<p class=\"get\"><a href=\"%1\" download>Скачать %2</a> (%3)</p>\n")
        .arg(href(copyPath(skin)), esc(skin.fileName), fileSizeText(skin.fileSize));
}

QString image(const QString &path, QSize size, const QString &alt)
{
    return QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%3\" alt=\"%4\">")
        .arg(href(path), QString::number(size.width()), QString::number(size.height()), alt);
}

// The size a family opens on: the page's own size, else the largest screen
// (of two as large, the later profile).
const GallerySkin *shownSkin(const GalleryFamily &family, int pageProfile)
{
    const GallerySkin *shown = family.sizes.front();
    for (const GallerySkin *s : family.sizes) {
        const QSize a = profileByIndex(s->profile)->screenSize(), b = profileByIndex(shown->profile)->screenSize();
        if (a.width() * a.height() >= b.width() * b.height())
            shown = s;
    }
    for (const GallerySkin *s : family.sizes)
        if (s->profile == pageProfile)
            shown = s;
    return shown;
}

// A compact card: the contact list on the phone, a strip of the colours, the
// verdict and the download, per size; the sizes are radio buttons.
void writeCard(QString &out, const GalleryFamily &family, int pageProfile, const GalleryOptions &options)
{
    const QString name = esc(family.name);
    const QString design = designPageName(family);
    out += QStringLiteral("<article class=\"card\" id=\"%1\">\n<h2><a href=\"%2\">%3</a></h2>\n")
               .arg(family.id, design, name);
    const GallerySkin *shown = shownSkin(family, pageProfile);
    const bool several = family.sizes.size() > 1;
    if (several) {
        for (const GallerySkin *s : family.sizes)
            out += QStringLiteral("<input type=\"radio\" class=\"pick p%1\" name=\"%2\" id=\"%3\"%4>\n")
                       .arg(QString::number(s->profile), family.id, variantId(family, *s),
                            s == shown ? QStringLiteral(" checked") : QString());
        out += QStringLiteral("<div class=\"sizes\">");
        for (const GallerySkin *s : family.sizes)
            out += QStringLiteral("<label for=\"%1\" class=\"p%2\">%3</label>")
                       .arg(variantId(family, *s), QString::number(s->profile), label(s->profile));
        out += QStringLiteral("</div>\n");
    } else {
        out += QStringLiteral("<div class=\"sizes\"><span>%1</span></div>\n").arg(label(shown->profile));
    }
    for (const GallerySkin *s : family.sizes) {
        const QString size = label(s->profile);
        out += QStringLiteral("<div class=\"variant p%1%2\" data-size=\"%3\">\n")
                   .arg(QString::number(s->profile), several ? QString() : QStringLiteral(" only"), size);
        out += QStringLiteral("<a class=\"phone\" href=\"%1#%2\">%3</a>\n")
                   .arg(design, variantId(family, *s),
                        image(phonePath(*s), s->phone,
                              QStringLiteral("Скин «%1», %2: список контактов на телефоне").arg(name, size)));
        out += QStringLiteral("<ul class=\"strip\">");
        for (int c = 0; c < kColourSlotCount; ++c)
            out += QStringLiteral("<li style=\"--c:%1\" title=\"%2 %1\"><span>%2 %1</span></li>")
                       .arg(hexColour(s->colours[size_t(c)]), esc(colourSlotLabel(c).trimmed()));
        out += QStringLiteral("</ul>\n") + badge(*s, options.minContrast) + download(*s) + QStringLiteral("</div>\n");
    }
    if (const QStringList &notices = family.sizes.front()->notices; !notices.isEmpty()) {
        out += QStringLiteral("<ul class=\"notices\">");
        for (const QString &notice : notices)
            out += QStringLiteral("<li>%1</li>").arg(esc(notice));
        out += QStringLiteral("</ul>\n");
    }
    out += QStringLiteral("</article>\n");
}

// One size on a design page: every screen, the colours, the legibility.
void writeVariant(QString &out, const GalleryFamily &family, const GallerySkin &skin, bool isDefault,
                  const GalleryOptions &options)
{
    const QString name = esc(family.name);
    const QString size = label(skin.profile);
    out += QStringLiteral("<section class=\"variant%1\" id=\"%2\">\n")
               .arg(isDefault ? QStringLiteral(" default") : QString(), variantId(family, skin));
    if (family.sizes.size() > 1) {
        out += QStringLiteral("<nav class=\"sizes\" aria-label=\"Размер экрана\">");
        for (const GallerySkin *other : family.sizes)
            out += other == &skin ? QStringLiteral("<strong>%1</strong>").arg(label(other->profile))
                                  : QStringLiteral("<a href=\"#%1\">%2</a>").arg(variantId(family, *other),
                                                                                label(other->profile));
        out += QStringLiteral("</nav>\n");
    }
    out += QStringLiteral("<p>Экран %1: %2</p>\n<div class=\"screens\">\n")
               .arg(size, esc(QString::fromUtf8(profileByIndex(skin.profile)->dialogItem)));
    out += QStringLiteral("<figure>%1<figcaption>На телефоне</figcaption></figure>\n")
               .arg(image(phonePath(skin), skin.phone,
                          QStringLiteral("Скин «%1», %2: список контактов на телефоне").arg(name, size)));
    for (const NamedScreen &screen : namedScreens())
        out += QStringLiteral("<figure class=\"screen\">%1<figcaption>%2</figcaption></figure>\n")
                   .arg(image(screenPath(skin, screen), skin.screen,
                              QStringLiteral("Скин «%1», %2: %3").arg(name, size, screen.titleText())),
                        screen.titleText());
    out += QStringLiteral("</div>\n<h2>Цвета</h2>\n<ul class=\"swatches\">\n");
    for (int s = 0; s < kColourSlotCount; ++s) {
        const QString hex = hexColour(skin.colours[size_t(s)]);
        out += QStringLiteral("<li style=\"--c:%1\"><span>%2 <code>%1</code></span></li>\n")
                   .arg(hex, esc(colourSlotLabel(s).trimmed()));
    }
    out += QStringLiteral("</ul>\n");
    if (skin.legibility)
        out += QStringLiteral("<h2>Читаемость</h2>\n") + legibilityDetails(*skin.legibility, options.minContrast);
    out += download(skin) + QStringLiteral("</section>\n");
}

bool hasProfile(const GalleryFamily &family, int profile)
{
    return std::any_of(family.sizes.begin(), family.sizes.end(),
                       [profile](const GallerySkin *s) { return s->profile == profile; });
}

QString pageStart(const QString &title)
{
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
                          "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                          "<meta name=\"generator\" content=\"zelkor-skin gallery\">\n<title>%1</title>\n"
                          "<style>\n%2\n</style>\n</head>\n<body>\n<header>\n")
        .arg(title, style());
}

QString pageEnd(const GalleryOptions &options)
{
    QString out = QStringLiteral("</main>\n<footer>\n<p>Страница сделана командой zelkor-skin gallery");
    if (!options.date.isEmpty())
        out += QStringLiteral(" <time datetime=\"%1\">%1</time>").arg(esc(options.date));
    return out + QStringLiteral(".</p>\n</footer>\n</body>\n</html>\n");
}

QByteArray page(const std::vector<GalleryFamily> &families, const std::vector<GalleryProblem> &problems,
                const GalleryOptions &options, int profile)
{
    int counts[kProfileCount + 1] = {};
    for (const GalleryFamily &f : families)
        for (const GallerySkin *s : f.sizes)
            ++counts[s->profile];
    const QString title = esc(options.title);
    QString out = pageStart(title + (profile ? QStringLiteral(" — ") + label(profile) : QString())) +
                  QStringLiteral("<h1>%1</h1>\n").arg(title);
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
    out += QStringLiteral("</nav>\n</header>\n<main>\n<div class=\"cards\">\n");
    for (const GalleryFamily &f : families)
        if (!profile || hasProfile(f, profile))
            writeCard(out, f, profile, options);
    out += QStringLiteral("</div>\n");
    if (families.empty())
        out += QStringLiteral("<p>Скинов нет.</p>\n");
    if (!problems.empty()) {
        out += QStringLiteral("<section class=\"broken\" id=\"broken\">\n<h2>Файлы, которые не удалось прочитать "
                              "как скины</h2>\n<ul>\n");
        for (const GalleryProblem &p : problems)
            out += QStringLiteral("<li><b>%1</b>: %2</li>\n").arg(esc(p.fileName), esc(p.reason));
        out += QStringLiteral("</ul>\n</section>\n");
    }
    return (out + pageEnd(options)).toUtf8();
}

QByteArray designPage(const GalleryFamily &family, const GalleryOptions &options)
{
    const QString name = esc(family.name);
    QString out = pageStart(name + QStringLiteral(" — ") + esc(options.title)) +
                  QStringLiteral("<nav><a href=\"index.html\">← %1</a></nav>\n<h1>%2</h1>\n</header>\n<main>\n"
                                 "<article class=\"design\">\n")
                      .arg(esc(options.title), name);
    // The variant shown first comes last, so a chosen one can hide it.
    const GallerySkin *shown = shownSkin(family, 0);
    for (const GallerySkin *s : family.sizes)
        if (s != shown)
            writeVariant(out, family, *s, false, options);
    writeVariant(out, family, *shown, true, options);
    return (out + QStringLiteral("</article>\n") + pageEnd(options)).toUtf8();
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

namespace {

QString groupKey(const GallerySkin &skin)
{
    const QString key = familyKey(skin.fileName);
    return skin.project.isEmpty() ? key : key + u'\n' + skin.project;
}

} // namespace

std::vector<GalleryFamily> groupFamilies(const std::vector<GallerySkin> &skins)
{
    std::vector<const GallerySkin *> order;
    for (const GallerySkin &s : skins)
        order.push_back(&s);
    const auto sortKey = [](const GallerySkin *s) {
        const QString key = groupKey(*s);
        return std::make_tuple(displayName(s->fileName).toCaseFolded(), key, s->profile, s->fileName, s->key);
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](const GallerySkin *a, const GallerySkin *b) { return sortKey(a) < sortKey(b); });

    std::vector<GalleryFamily> families;
    size_t firstOfKey = 0;  // the first family of the current key
    for (const GallerySkin *s : order) {
        const QString key = groupKey(*s);
        if (families.empty() || groupKey(*families[firstOfKey].sizes.front()) != key)
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
    for (const GalleryFamily &f : families)
        pages.push_back({designPageName(f), designPage(f, options)});
    return pages;
}

QString screenPath(const GallerySkin &skin, const NamedScreen &screen)
{
    return QStringLiteral("pictures/%1-%2.png").arg(skin.key, screen.nameText());
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

QStringList skinSiteFiles(const GallerySkin &skin)
{
    QStringList files{phonePath(skin)};
    for (const NamedScreen &screen : namedScreens())
        files << screenPath(skin, screen);
    return files << copyPath(skin);
}

} // namespace zelkor::cli
