#pragma once
// The --scale option that render and overview share: enlarge by N, each
// pixel an N x N square.

#include "session.h"

#include <QCommandLineParser>

#include <optional>

namespace zelkor::cli {

inline constexpr int kMaxScale = 8;

inline void declareScale(QCommandLineParser &parser)
{
    parser.addOption({QStringLiteral("scale"),
                      QStringLiteral("увеличить в N раз, каждую точку квадратом N x N (1–%1)").arg(kMaxScale),
                      QStringLiteral("N"), QStringLiteral("1")});
}

// The scale asked for, or nothing after reporting a usage error.
inline std::optional<int> readScale(const QCommandLineParser &parser, Session &session)
{
    bool number = false;
    const int scale = parser.value(QStringLiteral("scale")).toInt(&number);
    if (number && scale >= 1 && scale <= kMaxScale)
        return scale;
    session.usageError(QStringLiteral("--scale ждёт целое число от 1 до %1, а не «%2».")
                           .arg(kMaxScale)
                           .arg(parser.value(QStringLiteral("scale"))));
    return std::nullopt;
}

} // namespace zelkor::cli
