#include "shell/gui/Windows.h"

#include "admin/gui/AdminWindows.h"
#include "admin/gui/ConsoleWindows.h"
#include "exchange/gui/ExchangeWindows.h"
#include "records/gui/RecordWindows.h"
#include "reports/gui/ReportWindows.h"
#include "services/gui/ServiceWindows.h"
#include "shell/Beallit.h"
#include "shell/StartupWindows.h"
#include "shell/gui/Tfrm_AdatbazisNyit.h"
#include "shell/gui/Tfrm_Beallit.h"
#include "shell/gui/Tfrm_Init.h"
#include "shell/gui/Tfrm_Login.h"
#include "website/gui/WebsiteWindows.h"
#include "worksheets/gui/HistoryWindows.h"
#include "worksheets/gui/PlannerWindows.h"
#include "worksheets/gui/WorkSheetWindows.h"

namespace kml {

void InstallWindows() {
    DatabaseChoiceWindow.install(&ShowDatabaseChoice);
    ConnectionEntryWindow.install(&ShowInitWindow);
    LoginWindow.install(&ShowLoginWindow);
    SettingsWindow.install([](Table& row, SettingsValues& values) { return Tfrm_Beallit::Run(row, values); });
    InstallRecordWindows();
    InstallAdminWindows();
    InstallExchangeWindows();
    InstallReportWindows();
    InstallPlannerWindows();
    InstallWorkSheetWindows();
    InstallHistoryWindows();
    InstallConsoleWindows();
    InstallServiceWindows();
    InstallWebsiteWindows();
}

} // namespace kml
