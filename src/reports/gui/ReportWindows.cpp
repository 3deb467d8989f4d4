#include "reports/gui/ReportWindows.h"

#include "components/gui/ReportPreview.h"
#include "components/gui/ReportPrinting.h"
#include "foundation/Dialogs.h"
#include "foundation/gui/WidgetHelpers.h"
#include "reports/PeriodReports.h"
#include "reports/ReportWindows.h"
#include "reports/WorkSheetPrint.h"
#include "reports/gui/Tfrm_Idoszak.h"
#include "reports/gui/Tfrm_NyomValaszt.h"

#include <QApplication>

namespace kml {
namespace {

void Preview(const report::Document& document, const QString& printer) {
    report::ReportPreview preview(document, printer, QApplication::activeWindow());
    preview.setErrorReporter([](const QString& message) { ShowError(message); });
    ApplyFontSize(&preview);
    LoadWindowBounds(&preview, preview.objectName());
    preview.exec();
    SaveWindowBounds(&preview, preview.objectName());
}

void PreviewPages(report::PageStream& pages, const QString& printer) {
    report::Document document = pages.document();
    const auto layOutMore = [&pages, &document] {
        report::Page page;
        int index = 0;
        if (!pages.next(page, index))
            return false;
        document.pages.push_back(std::move(page));
        return true;
    };
    layOutMore(); // the first page before the window shows
    report::ReportPreview preview(document, printer, QApplication::activeWindow());
    preview.setPageSource(layOutMore);
    preview.setErrorReporter([](const QString& message) { ShowError(message); });
    ApplyFontSize(&preview);
    LoadWindowBounds(&preview, preview.objectName());
    preview.exec();
    SaveWindowBounds(&preview, preview.objectName());
}

} // namespace

void InstallReportWindows() {
    ShowReportPreview.install(&Preview);
    ShowReportPreviewPages.install(&PreviewPages);
    PrintReport.install(&report::PrintDocumentOn);
    InstalledPrinterNames.install(&report::InstalledPrinters);
    AskPrintMode.install([](QString& printer) { return Tfrm_NyomValaszt::AskMode(printer); });
    AskPrintModeIndex.install([](int& index) { return Tfrm_NyomValaszt::AskModeIndex(index); });
    PrintWorkSheet.install(&RunPrintWorkSheet);
    AskPeriod.install(&Tfrm_Idoszak::Ask);
}

} // namespace kml
