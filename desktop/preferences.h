#pragma once
// The author's choices kept between runs, each declared once below with its
// key, type, default and, for numbers, the range a kept value must lie in. A
// value that is missing, unreadable as its type or out of range reads as the
// default, so a settings file edited by hand cannot steer the editor astray.
// The keys are the ones earlier versions wrote, so their settings still read.
// Nothing else in the program names a settings key.

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <type_traits>

namespace zelkor {

namespace detail {
QVariant readPreference(const char *key);
void writePreference(const char *key, const QVariant &value);
bool writePreferenceNow(const char *key, const QVariant &value);
bool hasPreference(const char *key);
} // namespace detail

template <typename T>
class Preference {
public:
    constexpr Preference(const char *key, T defaultValue) : m_key(key), m_default(defaultValue) {}
    // A number kept outside [min, max] reads as the default.
    constexpr Preference(const char *key, T defaultValue, T min, T max)
        requires std::is_arithmetic_v<T>
        : m_key(key), m_default(defaultValue), m_min(min), m_max(max), m_ranged(true)
    {
    }

    constexpr const char *key() const { return m_key; }
    constexpr const T &defaultValue() const { return m_default; }
    bool isSet() const { return detail::hasPreference(m_key); }

    T get() const
    {
        const QVariant v = detail::readPreference(m_key);
        if (!v.isValid())
            return m_default;
        bool ok = true;
        T value{};
        if constexpr (std::is_same_v<T, bool>)
            value = v.toBool();
        else if constexpr (std::is_integral_v<T>)
            value = T(v.toLongLong(&ok));
        else if constexpr (std::is_floating_point_v<T>)
            value = T(v.toDouble(&ok));
        else if constexpr (std::is_same_v<T, QStringList>)
            value = v.toStringList();
        else if constexpr (std::is_same_v<T, QRect>)
            value = v.toRect();
        else if constexpr (std::is_same_v<T, QByteArray>)
            value = v.toByteArray();
        else
            value = v.value<T>();
        if (!ok)
            return m_default;
        if constexpr (std::is_arithmetic_v<T> && !std::is_same_v<T, bool>)
            if (m_ranged && (value < m_min || value > m_max))
                return m_default;
        return value;
    }
    operator T() const { return get(); }
    void set(const T &value) const { detail::writePreference(m_key, QVariant::fromValue(value)); }
    // Sets the value and writes the settings file at once: false when it could not be written.
    bool setNow(const T &value) const { return detail::writePreferenceNow(m_key, QVariant::fromValue(value)); }

private:
    const char *m_key;
    T m_default;
    T m_min{};
    T m_max{};
    bool m_ranged = false;
};

namespace prefs {

// Вид / Масштаб: 0 fits the window, 1..4 a whole factor.
inline constexpr Preference<int> zoomMode{"view/zoom", 1, 0, 4};
// The preview's selectors as the window was closed: screen, columns, depth item.
inline constexpr Preference<int> screenChoice{"window/screen", 0, 0, 5};
inline constexpr Preference<int> columnsChoice{"window/columns", 0, 0, 1};
inline constexpr Preference<int> previewDepthChoice{"window/previewDepth", 0, 0, 5};
// The window: the frame's corner and the size inside it, maximised, on which
// screen, and the docks.
inline const Preference<QRect> windowGeometry{"window/geometry", QRect()};
inline constexpr Preference<bool> windowMaximized{"window/maximized", false};
inline const Preference<QString> windowScreen{"window/screenName", QString()};
inline const Preference<QByteArray> windowDocks{"window/docks", QByteArray()};

// Skin files opened or saved, newest first (see RecentFiles).
inline const Preference<QStringList> recentFiles{"recentFiles", QStringList()};
// Save As: where the last save went, its depth option ("/c16") and whether
// it smoothed the pictures (which the preview then shows too).
inline const Preference<QString> saveFolder{"save/folder", QString()};
inline const Preference<QString> saveDepth{"save/depth", QString()};
inline constexpr Preference<bool> smoothPictures{"save/smoothPictures", false};

// The placement step's fit mode, by its key ("cover").
inline const Preference<QString> placementFit{"placement/fit", QString()};
// The legibility threshold, a WCAG contrast ratio.
inline constexpr Preference<double> minContrast{"legibility/minContrast", 4.5, 1.0, 21.0};

// Picture editing: the image editor last started or chosen (empty: none
// yet), whether its saves are followed, where pictures were last opened.
inline const Preference<QString> imageEditor{"editing/editor", QString()};
inline constexpr Preference<bool> followEditor{"editing/followEditor", true};
inline const Preference<QString> pictureFolder{"editing/pictureFolder", QString()};

// The version of the editor that last ran (also how the settings check writes).
inline const Preference<QString> lastVersion{"lastVersion", QString()};

} // namespace prefs

// The folder pictures were last loaded from or saved to, while it exists;
// else the user's pictures folder, else home.
QString pictureFolderOrDefault();

// The file that keeps them.
QString preferencesFile();

} // namespace zelkor
