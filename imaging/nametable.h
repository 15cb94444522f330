#pragma once
// The tables that name the values of a choice -- a fit mode, a variant, a
// colour depth -- one row per value, with the key the command line and the
// settings use and the words the editor shows. The lookups and the list of
// keys for messages are these, whichever table it is, by the row's field.
//
//     const FitModeName *m = rowByKey(kFitModes, &FitModeName::key, "cover");
//     rowOf(kFitModes, &FitModeName::mode, FitMode::Cover)->caption;  // "Заполнить"
//     namesText(kFitModes, [](const FitModeName &m) { return m.key; }, ", ");  // "as-is, cover, contain, stretch"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstddef>

namespace zelkor {

// The row whose text `field` reads `key` exactly; null when none does.
template <typename Row, std::size_t N>
const Row *rowByKey(const std::array<Row, N> &rows, const char *Row::*field, QStringView key)
{
    for (const Row &row : rows)
        if (key == QLatin1String(row.*field))
            return &row;
    return nullptr;
}

// The row whose `field` holds `value`; null when none does.
template <typename Row, std::size_t N, typename Value>
const Row *rowOf(const std::array<Row, N> &rows, Value Row::*field, const Value &value)
{
    for (const Row &row : rows)
        if (row.*field == value)
            return &row;
    return nullptr;
}

// Every row's name (what `name` makes of it) for a message, in table order,
// joined by ", " and the last by `last` (", ", " и ", " или ").
template <typename Row, std::size_t N, typename Name>
QString namesText(const std::array<Row, N> &rows, Name name, const QString &last)
{
    QStringList names;
    for (const Row &row : rows)
        names << QString::fromUtf8(name(row));
    const QString tail = names.isEmpty() ? QString() : names.takeLast();
    return names.isEmpty() ? tail : names.join(QStringLiteral(", ")) + last + tail;
}

} // namespace zelkor
