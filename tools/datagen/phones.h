#pragma once
// The six phone pictures: a drawn phone per profile, its screen area exactly
// the profile's screen size at the profile's preview offset.

#include <QImage>
#include <QSize>

namespace zelkor::datagen {

// The largest picture that fits the main window's white phone area.
constexpr QSize kPhoneAreaLimit{630, 680};

// The phone picture of `profile` (1..6): a candybar for portrait screens, a
// wide phone for landscape ones, on white. Its screen rectangle, at
// Profile::previewOffset with the screen size, is filled with
// phoneScreenColour(); the pixels around it are a lighter frame.
// Null for an unknown profile.
QImage drawPhonePicture(int profile);

} // namespace zelkor::datagen
