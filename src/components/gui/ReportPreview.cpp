#include "components/gui/ReportPreview.h"

#include "components/gui/ReportPrinting.h"
#include "components/report/Printers.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace kml::report {

// One page drawn at the preview's scale on a grey desk with a shadow.
class PreviewPage final : public QWidget {
public:
    explicit PreviewPage(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("pageView")); }

    void show(const Document* document, int page, double pixelsPerMm) {
        m_document = document;
        m_page = page;
        m_scale = pixelsPerMm;
        const QSizeF mm = document->pageLayout.fullRect(QPageLayout::Millimeter).size();
        m_pageSize = QSize(int(std::lround(mm.width() * m_scale)), int(std::lround(mm.height() * m_scale)));
        m_image = QImage();
        setFixedSize(m_pageSize + QSize(2 * kDesk, 2 * kDesk));
        update();
    }

    static constexpr int kDesk = 12;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Dark));
        if (!m_document || m_page < 0 || m_page >= m_document->pageCount())
            return;
        if (m_image.isNull()) {
            const qreal ratio = devicePixelRatioF();
            m_image = QImage(m_pageSize * ratio, QImage::Format_ARGB32_Premultiplied);
            m_image.setDevicePixelRatio(ratio);
            m_image.fill(Qt::white);
            QPainter ip(&m_image);
            PaintPage(*m_document, m_page, ip, m_scale);
        }
        p.fillRect(QRect(QPoint(kDesk + 4, kDesk + 4), m_pageSize), QColor(0x40, 0x40, 0x40));
        p.drawImage(QPoint(kDesk, kDesk), m_image);
    }

private:
    const Document* m_document = nullptr;
    int m_page = 0;
    double m_scale = 1;
    QSize m_pageSize;
    QImage m_image;
};

namespace {

const QString kWindowName = QStringLiteral("QRStandardPreview");

QAction* AddAction(QToolBar* bar, const QString& text, const QString& name, QWidget* owner) {
    auto* action = new QAction(text, owner);
    action->setObjectName(name);
    bar->addAction(action);
    return action;
}

// A name fit for a file: characters that cannot stand in a file name become "_".
QString SafeName(const QString& title) {
    static const QRegularExpression bad(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f]"));
    QString name = title;
    name.replace(bad, QStringLiteral("_"));
    return name.trimmed().isEmpty() ? QStringLiteral("nyomtatas") : name;
}

} // namespace

ReportPreview::ReportPreview(const Document& document, const QString& printer, QWidget* parent)
    : QDialog(parent), m_document(document), m_printer(printer) {
    setObjectName(kWindowName);
    setWindowTitle(document.title.isEmpty() ? QStringLiteral("Nyomtatási kép")
                                            : QStringLiteral("Nyomtatási kép - ") + document.title);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QToolBar(this);
    layout->addWidget(bar);

    AddAction(bar, QStringLiteral("|◀"), QStringLiteral("actFirst"), this)
        ->setToolTip(QStringLiteral("Első oldal (Home)"));
    connect(bar->actions().back(), &QAction::triggered, this, [this] { showPage(0); });
    AddAction(bar, QStringLiteral("◀"), QStringLiteral("actPrior"), this)
        ->setToolTip(QStringLiteral("Előző oldal (PgUp)"));
    connect(bar->actions().back(), &QAction::triggered, this, [this] { showPage(m_page - 1); });
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("lblPage"));
    m_pageLabel->setMinimumWidth(70);
    m_pageLabel->setAlignment(Qt::AlignCenter);
    bar->addWidget(m_pageLabel);
    AddAction(bar, QStringLiteral("▶"), QStringLiteral("actNext"), this)
        ->setToolTip(QStringLiteral("Következő oldal (PgDn)"));
    connect(bar->actions().back(), &QAction::triggered, this, [this] { showPage(m_page + 1); });
    AddAction(bar, QStringLiteral("▶|"), QStringLiteral("actLast"), this)
        ->setToolTip(QStringLiteral("Utolsó oldal (End)"));
    connect(bar->actions().back(), &QAction::triggered, this, [this] {
        completePages();
        showPage(m_document.pageCount() - 1);
    });
    bar->addSeparator();

    m_zoomBox = new QComboBox(this);
    m_zoomBox->setObjectName(QStringLiteral("cmbZoom"));
    m_zoomBox->addItem(QStringLiteral("Egész oldal"));
    m_zoomBox->addItem(QStringLiteral("Oldalszélesség"));
    for (const int step : kZoomSteps)
        m_zoomBox->addItem(QStringLiteral("%1%").arg(step), step);
    m_zoomBox->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(m_zoomBox);
    connect(m_zoomBox, &QComboBox::activated, this, [this](int index) {
        if (index == 0)
            setZoom(ZoomMode::WholePage);
        else if (index == 1)
            setZoom(ZoomMode::PageWidth);
        else
            setZoom(ZoomMode::Percent, m_zoomBox->itemData(index).toInt());
    });
    bar->addSeparator();
    connect(AddAction(bar, QStringLiteral("Nyomtatás..."), QStringLiteral("actPrint"), this),
            &QAction::triggered, this, &ReportPreview::printWithDialog);
    connect(AddAction(bar, QStringLiteral("Mentés PDF-be..."), QStringLiteral("actPdf"), this),
            &QAction::triggered, this, &ReportPreview::saveAsPdfWithDialog);
    bar->addSeparator();
    connect(AddAction(bar, QStringLiteral("Bezár"), QStringLiteral("actClose"), this), &QAction::triggered,
            this, &QDialog::reject);

    m_scroll = new QScrollArea(this);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_view = new PreviewPage(m_scroll);
    m_scroll->setWidget(m_view);
    // The fitting zooms follow the room the page has.
    m_scroll->viewport()->installEventFilter(this);
    layout->addWidget(m_scroll, 1);

    resize(820, 960);
    refresh();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::setPageSource(std::function<bool()> layOutMore) {
    m_more = std::move(layOutMore);
    if (!m_filler) {
        m_filler = new QTimer(this);
        m_filler->setInterval(0);
        connect(m_filler, &QTimer::timeout, this, [this] {
            // A slice short enough that the window keeps answering.
            QElapsedTimer slice;
            slice.start();
            bool more = true;
            while (m_more && (more = m_more()) && slice.elapsed() < 30)
                ;
            if (!more) {
                m_more = nullptr;
                m_filler->stop();
            }
            refresh();
        });
    }
    m_filler->start();
    refresh();
}

void ReportPreview::completePages() {
    if (!m_more)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    while (m_more())
        ;
    QApplication::restoreOverrideCursor();
    m_more = nullptr;
    if (m_filler)
        m_filler->stop();
    refresh();
}

void ReportPreview::showPage(int index) {
    m_page = std::clamp(index, 0, std::max(0, m_document.pageCount() - 1));
    refresh();
}

void ReportPreview::setZoom(ZoomMode mode, int percent) {
    m_mode = mode;
    m_percent = std::clamp(percent, kZoomSteps[0], kZoomSteps[std::size(kZoomSteps) - 1]);
    refresh();
}

double ReportPreview::pixelsPerMm() const {
    const QSizeF page = m_document.pageLayout.fullRect(QPageLayout::Millimeter).size();
    const QSize room =
        m_scroll->viewport()->size() - QSize(2 * PreviewPage::kDesk + 4, 2 * PreviewPage::kDesk + 4);
    const double screen = logicalDpiX() / 25.4;
    switch (m_mode) {
    case ZoomMode::WholePage:
        return std::max(0.5, std::min(room.width() / page.width(), room.height() / page.height()));
    case ZoomMode::PageWidth:
        // Leave room for the vertical scroll bar the taller page will need.
        return std::max(0.5,
                        (room.width() - m_scroll->verticalScrollBar()->sizeHint().width()) / page.width());
    case ZoomMode::Percent:
        break;
    }
    return screen * m_percent / 100.0;
}

int ReportPreview::zoomPercent() const {
    return int(std::lround(pixelsPerMm() / (logicalDpiX() / 25.4) * 100));
}

void ReportPreview::zoomStep(int direction) {
    const int now = zoomPercent();
    int next = now;
    if (direction > 0) {
        for (const int step : kZoomSteps)
            if (step > now) {
                next = step;
                break;
            }
    } else {
        for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it)
            if (*it < now) {
                next = *it;
                break;
            }
    }
    setZoom(ZoomMode::Percent, next);
}

void ReportPreview::refresh() {
    const int count = m_document.pageCount();
    m_pageLabel->setText(QStringLiteral("%1 / %2").arg(count ? m_page + 1 : 0).arg(count));
    for (const char* name : {"actFirst", "actPrior"})
        findChild<QAction*>(QLatin1String(name))->setEnabled(m_page > 0);
    for (const char* name : {"actNext", "actLast"})
        findChild<QAction*>(QLatin1String(name))->setEnabled(m_page + 1 < count);
    if (m_mode == ZoomMode::WholePage)
        m_zoomBox->setCurrentIndex(0);
    else if (m_mode == ZoomMode::PageWidth)
        m_zoomBox->setCurrentIndex(1);
    else {
        const int at = m_zoomBox->findData(m_percent);
        if (at >= 0)
            m_zoomBox->setCurrentIndex(at);
        else
            m_zoomBox->setEditText(QStringLiteral("%1%").arg(m_percent));
    }
    m_view->show(&m_document, m_page, pixelsPerMm());
}

void ReportPreview::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageDown:
        showPage(m_page + 1);
        return;
    case Qt::Key_PageUp:
        showPage(m_page - 1);
        return;
    case Qt::Key_Home:
        showPage(0);
        return;
    case Qt::Key_End:
        completePages();
        showPage(m_document.pageCount() - 1);
        return;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomStep(+1);
        return;
    case Qt::Key_Minus:
        zoomStep(-1);
        return;
    default:
        QDialog::keyPressEvent(event); // Esc closes
    }
}

bool ReportPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize && m_mode != ZoomMode::Percent)
        refresh();
    return QDialog::eventFilter(watched, event);
}

void ReportPreview::printWithDialog() {
    completePages();
    QPrinter printer(QPrinter::HighResolution);
    const int index = FindPrinter(m_printer, InstalledPrinters());
    if (index >= 0)
        printer.setPrinterName(InstalledPrinters().at(index));
    printer.setDocName(m_document.title);
    printer.setPageLayout(m_document.pageLayout);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Nyomtatás"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintDocument(m_document, printer);
}

void ReportPreview::saveAsPdfWithDialog() {
    completePages();
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    const QString proposed = folder + QLatin1Char('/') + SafeName(m_document.title) + QStringLiteral(".pdf");
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Mentés PDF-be"), proposed,
                                                QStringLiteral("PDF fájl (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    try {
        SaveAsPdf(m_document, path);
    } catch (const std::runtime_error&) {
        const QString message = QStringLiteral("A fájl nem írható: ") + path;
        if (m_errorReporter)
            m_errorReporter(message);
        else
            QMessageBox::critical(this, QStringLiteral("Hiba"), message);
    }
}

} // namespace kml::report
