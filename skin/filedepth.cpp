#include "filedepth.h"

#include <QFile>

#include <mbm/depth.h>
#include <mbm/mbm.h>

#include <span>

namespace zelkor {

QString storedDepthOption(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const auto records = mbm::parseMbm(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t *>(bytes.constData()), size_t(bytes.size())));
    if (!records || records->empty())
        return {};
    const mbm::Depth depth = records->front().header.depth();
    if (!mbm::isValidStoredDepth(depth) || mbm::hasAlpha(depth))
        return {};
    return u'/' + QString::fromStdString(mbm::depthOption(depth));
}

} // namespace zelkor
