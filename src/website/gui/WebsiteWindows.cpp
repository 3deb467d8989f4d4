#include "website/gui/WebsiteWindows.h"

#include "website/WebContent.h"
#include "website/WebsiteWindows.h"
#include "website/gui/Tfrm_TorzsBanner.h"
#include "website/gui/Tfrm_TorzsBanner_Szerkeszt.h"
#include "website/gui/Tfrm_TorzsWebIntro.h"
#include "website/gui/Tfrm_TorzsWebIntro_Szerkeszt.h"
#include "website/gui/Tfrm_TorzsWebSzoveg.h"
#include "website/gui/Tfrm_TorzsWebSzoveg_Szerkeszt.h"
#include "website/gui/Tfrm_WebUzenet.h"

#include <QApplication>
#include <QFileDialog>

namespace kml {

namespace {

QString ChoosePicture(const QString& filter) {
    QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Kép választás"), WebPictureFolder());
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

void InstallWebsiteWindows() {
    OpenWebTextList.install(&Tfrm_TorzsWebSzoveg::Run);
    EditWebText.install(
        [](std::optional<qlonglong> text) { return Tfrm_TorzsWebSzoveg_Szerkeszt::Run(text); });
    OpenBannerList.install(&Tfrm_TorzsBanner::Run);
    EditBanner.install(
        [](std::optional<qlonglong> banner) { return Tfrm_TorzsBanner_Szerkeszt::Run(banner); });
    OpenIntroList.install(&Tfrm_TorzsWebIntro::Run);
    EditIntroSlide.install(
        [](std::optional<qlonglong> slide) { return Tfrm_TorzsWebIntro_Szerkeszt::Run(slide); });
    ChooseWebPicture.install(&ChoosePicture);
    OpenWebMessages.install(&Tfrm_WebUzenet::Run);
}

} // namespace kml
