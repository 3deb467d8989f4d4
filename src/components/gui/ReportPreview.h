#pragma once

// The modal preview of a laid-out report: page navigation, zoom (whole page,
// page width, percent), printing on a chosen printer and saving as PDF.
// Keys: PgUp/PgDn previous/next page, Home/End first/last, + and − zoom,
// Esc closes. The window's object name is "QRStandardPreview": errors raised
// while it is active are treated as printer problems.
//
// Widgets by object name, for tests: actFirst, actPrior, actNext, actLast,
// lblPage, cmbZoom, actPrint, actPdf, actClose, pageView.

#include "components/report/Document.h"

#include <QDialog>
#include <QImage>
#include <functional>

class QComboBox;
class QTimer;
class QLabel;
class QScrollArea;

namespace kml::report {

class PreviewPage;

class ReportPreview final : public QDialog {
    Q_OBJECT
public:
    enum class ZoomMode { WholePage, PageWidth, Percent };

    // printer: the printer proposed when the user prints ("" the default).
    // The document must outlive the window.
    ReportPreview(const Document& document, const QString& printer, QWidget* parent = nullptr);
    ~ReportPreview() override;

    // The document is still being laid out: layOutMore adds the next page to
    // it and says false once the last one is there. The window shows the
    // pages it has at once and lays out the rest in slices while the user
    // looks; printing, saving and going to the last page wait for them all.
    void setPageSource(std::function<bool()> layOutMore);
    // Lays out every page still to come.
    void completePages();

    // How the window reports a file it could not write ("Hiba" box when unset).
    void setErrorReporter(std::function<void(const QString& message)> reporter) {
        m_errorReporter = std::move(reporter);
    }

    int currentPage() const { return m_page; } // 0-based
    void showPage(int index);                  // clamped to the pages
    ZoomMode zoomMode() const { return m_mode; }
    void setZoom(ZoomMode mode, int percent = 100);
    int zoomPercent() const; // the effective zoom, also in the fitting modes
    double pixelsPerMm() const;

    // Chooses a printer in the system's print dialog and prints every page.
    void printWithDialog();
    // Asks for a file name and writes the pages as PDF.
    void saveAsPdfWithDialog();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void zoomStep(int direction);
    void refresh();

    const Document& m_document;
    QString m_printer;
    int m_page = 0;
    ZoomMode m_mode = ZoomMode::WholePage;
    int m_percent = 100;
    QLabel* m_pageLabel = nullptr;
    QComboBox* m_zoomBox = nullptr;
    QScrollArea* m_scroll = nullptr;
    PreviewPage* m_view = nullptr;
    std::function<void(const QString&)> m_errorReporter;
    std::function<bool()> m_more;
    QTimer* m_filler = nullptr;
};

// The zoom steps of + and −, in percent.
inline constexpr int kZoomSteps[] = {25, 50, 75, 100, 125, 150, 200, 300, 400};

} // namespace kml::report
