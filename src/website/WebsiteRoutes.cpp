#include "website/WebsiteRoutes.h"

#include "website/WebsiteWindows.h"

namespace kml {

void RegisterWebsiteRoutes(MainRoutes& routes) {
    routes.on(QStringLiteral("aWebSzoveg"), [](MainContext&) { OpenWebTextList(std::nullopt, false); });
    routes.on(QStringLiteral("aWebBanner"), [](MainContext&) { OpenBannerList(); });
    routes.on(QStringLiteral("aWebIntro"), [](MainContext&) { OpenIntroList(std::nullopt, false); });
    routes.on(QStringLiteral("aWebUzenet"), [](MainContext&) { OpenWebMessages(std::nullopt); });
}

} // namespace kml
