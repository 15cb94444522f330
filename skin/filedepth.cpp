#include "filedepth.h"

#include "skindocument.h"
#include "userfile.h"

#include <QtEndian>

#include <mbm/depth.h>
#include <mbm/mbm.h>

#include <span>

namespace zelkor {

QString storedDepthOption(const QString &path)
{
    QByteArray bytes;
    if (!readUserFile(path, maxSkinFileBytes(), bytes))
        return {};
    const auto records = mbm::parseMbm(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t *>(bytes.constData()), size_t(bytes.size())));
    if (!records || records->empty())
        return {};
    const mbm::Depth depth = records->front().header.depth();
    if (!mbm::isValidStoredDepth(depth) || mbm::hasAlpha(depth))
        return {};
    return u'/' + QString::fromStdString(mbm::depthOption(depth));
}

QByteArray bareSkinFile(const QByteArray &bytes)
{
    const auto records = mbm::parseMbm(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t *>(bytes.constData()), size_t(bytes.size())));
    if (!records)
        return {};
    QByteArray out = bytes.left(qsizetype(mbm::kFileHeaderSize));
    QByteArray trailer;
    const auto word = [](quint32 value) {
        const quint32 le = qToLittleEndian(value);
        return QByteArray(reinterpret_cast<const char *>(&le), 4);
    };
    trailer += word(quint32(records->size()));
    for (const mbm::BitmapRecord &r : *records) {
        trailer += word(quint32(out.size()));
        out += bytes.mid(qsizetype(r.offset), r.header.bitmapSize);
    }
    out.replace(16, 4, word(quint32(out.size())));
    return out + trailer;
}

} // namespace zelkor
