#include "ziparchive.h"

#include <zip.h>

#include <sys/stat.h>

#include <memory>

namespace zelkor {

namespace {

// The time every entry carries: the archive's bytes depend on its contents only.
constexpr time_t kEntryTime = 315532800 + 86400;  // 2 January 1980, inside the DOS date range everywhere

QString zipErrorText(zip_error_t *error)
{
    return QString::fromLocal8Bit(zip_error_strerror(error));
}

struct ZipCloser {
    void operator()(zip_t *z) const { zip_discard(z); }
};
struct FileCloser {
    void operator()(zip_file_t *f) const { zip_fclose(f); }
};

// A name that stays inside the folder an archive would be unpacked into.
bool nameStaysInside(const QString &name)
{
    if (name.isEmpty() || name.startsWith(u'/') || name.contains(u'\\') || name.contains(u':')
        || name.contains(QChar(0)))
        return false;
    for (const QString &part : name.split(u'/'))
        if (part == QLatin1String("..") || part == QLatin1String("."))
            return false;
    return true;
}

} // namespace

Status zipArchive(const std::vector<ZipEntry> &entries, const QString &shownPath, QByteArray &out)
{
    auto failed = [&](const QString &why) {
        return Status::failure(QStringLiteral("Не удаётся собрать проект «%1».").arg(native(shownPath)), why);
    };
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer)
        return failed(zipErrorText(&error));
    zip_source_keep(buffer);
    std::unique_ptr<zip_source_t, decltype(&zip_source_free)> keep(buffer, zip_source_free);
    zip_t *za = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!za)
        return failed(zipErrorText(&error));
    std::unique_ptr<zip_t, ZipCloser> archive(za);
    for (const ZipEntry &e : entries) {
        zip_source_t *data = zip_source_buffer(za, e.bytes.constData(), zip_uint64_t(e.bytes.size()), 0);
        const QByteArray name = e.name.toUtf8();
        const zip_int64_t index = data ? zip_file_add(za, name.constData(), data, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (data)
                zip_source_free(data);
            return failed(QString::fromLocal8Bit(zip_strerror(za)));
        }
        if (zip_set_file_compression(za, zip_uint64_t(index), e.compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE,
                                     e.compress ? 9 : 0) < 0
            || zip_file_set_mtime(za, zip_uint64_t(index), kEntryTime, 0) < 0)
            return failed(QString::fromLocal8Bit(zip_strerror(za)));
    }
    if (zip_close(za) < 0)
        return failed(QString::fromLocal8Bit(zip_strerror(za)));
    archive.release();  // closed
    zip_stat_t st;
    if (zip_source_open(buffer) < 0)
        return failed(zipErrorText(zip_source_error(buffer)));
    zip_stat_init(&st);
    zip_source_stat(buffer, &st);
    out.resize(qsizetype(st.size));
    const zip_int64_t read = zip_source_read(buffer, out.data(), st.size);
    zip_source_close(buffer);
    if (read != zip_int64_t(st.size))
        return failed(zipErrorText(zip_source_error(buffer)));
    return Status::success();
}

Status unzipArchive(const QByteArray &bytes, const QString &shownPath, const ZipLimits &limits, UnzippedArchive &out)
{
    auto refused = [&](const QString &why) {
        return Status::failure(QStringLiteral("Не удаётся открыть проект «%1»: %2.").arg(native(shownPath), why));
    };
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
    if (!source)
        return refused(zipErrorText(&error));
    zip_t *za = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!za) {
        zip_source_free(source);
        if (zip_error_code_zip(&error) == ZIP_ER_NOZIP)
            return Status::failure(
                QStringLiteral("Файл «%1» — не проект скина (.zskin): это не архив ZIP.").arg(native(shownPath)));
        return refused(zipErrorText(&error));
    }
    std::unique_ptr<zip_t, ZipCloser> archive(za);
    const zip_int64_t count = zip_get_num_entries(za, 0);
    if (count > limits.maxEntries)
        return refused(QStringLiteral("в архиве слишком много файлов (%1)").arg(count));
    UnzippedArchive result;
    qint64 total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(za, zip_uint64_t(i), 0, &st) < 0 || !(st.valid & ZIP_STAT_NAME) || !(st.valid & ZIP_STAT_SIZE))
            return refused(QString::fromLocal8Bit(zip_strerror(za)));
        const QString name = QString::fromUtf8(st.name);
        if (!nameStaysInside(name))
            return refused(QStringLiteral("имя «%1» ведёт за пределы архива").arg(name));
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        if (zip_file_get_external_attributes(za, zip_uint64_t(i), 0, &system, &attributes) == 0
            && system == ZIP_OPSYS_UNIX && S_ISLNK((attributes >> 16) & 0xffffu))
            return refused(QStringLiteral("«%1» — символическая ссылка").arg(name));
        if (name.endsWith(u'/'))
            continue;
        if (st.size > zip_uint64_t(limits.maxEntryBytes) || (total += qint64(st.size)) > limits.maxTotalBytes)
            return refused(QStringLiteral("файл «%1» в архиве распаковывается в слишком большой объём").arg(name));
        if (result.entries.count(name))
            return refused(QStringLiteral("файл «%1» в архиве повторяется").arg(name));
        std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(za, zip_uint64_t(i), 0));
        if (!file)
            return refused(QStringLiteral("«%1»: %2").arg(name, QString::fromLocal8Bit(zip_strerror(za))));
        // One byte more than declared: data beyond the stated size is a lie, not more to read.
        QByteArray data(qsizetype(st.size) + 1, Qt::Uninitialized);
        qint64 got = 0;
        while (got < data.size()) {
            const zip_int64_t n = zip_fread(file.get(), data.data() + got, zip_uint64_t(data.size() - got));
            if (n < 0)
                return refused(
                    QStringLiteral("«%1»: %2").arg(name, QString::fromLocal8Bit(zip_file_strerror(file.get()))));
            if (n == 0)
                break;
            got += n;
        }
        if (got != qint64(st.size))
            return refused(QStringLiteral("размер файла «%1» в архиве не тот, что заявлен").arg(name));
        data.resize(qsizetype(got));
        result.order.push_back(name);
        result.entries.emplace(name, std::move(data));
    }
    out = std::move(result);
    return Status::success();
}

} // namespace zelkor
