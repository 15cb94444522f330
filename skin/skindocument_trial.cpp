// The document's tried-out picture: shown, never kept.
#include "skindocument.h"

#include "profiles.h"

namespace zelkor {

void SkinDocument::showTrialPicture(int picture, const QImage &pixels)
{
    if (!pictureRect(picture, m_profile) || pixels.isNull())
        return;
    QImage trial = m_sheet;
    if (!zelkor::writeBackPicture(trial, m_profile, picture, pixels))
        return;
    m_trialSheet = trial;
    emit sheetChanged();
}

void SkinDocument::endTrial()
{
    if (m_trialSheet.isNull())
        return;
    m_trialSheet = QImage();
    emit sheetChanged();
}

} // namespace zelkor
