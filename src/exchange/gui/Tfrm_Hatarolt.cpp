#include "exchange/gui/Tfrm_Hatarolt.h"

#include "components/Query.h"
#include "exchange/DatasetExport.h"
#include "foundation/gui/WidgetHelpers.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kml {
namespace {

const QString kWindowName = QStringLiteral("frm_Hatarolt");
constexpr int kEventsEveryMs = 50;

QPushButton* NewButton(const QString& text, QWidget* parent, const char* name) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QCheckBox* NewCheck(const QString& text, bool checked, QWidget* parent, const char* name) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(checked);
    return box;
}

// A group of radio buttons numbered from 0 in the order given.
QGroupBox* NewRadioGroup(const QString& title, const QStringList& items, int checked, QButtonGroup*& group,
                         QWidget* parent, const char* name) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(box);
    group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items.at(i), box);
        radio->setChecked(i == checked);
        group->addButton(radio, i);
        layout->addWidget(radio);
    }
    return box;
}

} // namespace

Tfrm_Hatarolt::Tfrm_Hatarolt(Query& data, const QString& defaultFileName, QWidget* parent)
    : QDialog(parent), m_data(data) {
    setObjectName(kWindowName);
    setWindowTitle(export_text::WindowCaption);
    // The file name edit is painted light blue while it has the focus.
    setStyleSheet(QStringLiteral("QLineEdit:focus { background-color: #A6CAF0; }"));

    m_fileName = new QLineEdit(InitialExportFileName(defaultFileName), this);
    m_fileName->setObjectName(QStringLiteral("Edit1"));
    m_browse = NewButton(QStringLiteral("..."), this, "SpeedButton1");
    m_browse->setToolTip(QStringLiteral("Tallózás"));
    m_browse->setFixedWidth(m_browse->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);

    m_columns = new QListWidget(this);
    m_columns->setObjectName(QStringLiteral("CheckListBox1"));
    for (int i = 0; i < data.fieldCount(); ++i) {
        auto* item = new QListWidgetItem(data.field(i).name, m_columns);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Checked);
    }
    m_all = NewButton(QStringLiteral("Összes"), this, "Button3");
    m_none = NewButton(QStringLiteral("Egyik sem"), this, "Button4");

    auto* separators = NewRadioGroup(QStringLiteral("Határoló karakter"),
                                     {QStringLiteral("Pontosvessző (;)"), QStringLiteral("Tabulátor"),
                                      QStringLiteral("Vessző (,)"), QStringLiteral("Cső (|)")},
                                     0, m_separators, this, "RadioGroup1");
    auto* quotes = NewRadioGroup(
        QStringLiteral("Szövegjelölő"),
        {QStringLiteral("Idézőjel (\")"), QStringLiteral("Aposztróf (')"), QStringLiteral("Semmi")}, 2,
        m_quotes, this, "RadioGroup2");

    auto* encodings = NewRadioGroup(QStringLiteral("Kódlap (szöveges file)"),
                                    {QStringLiteral("Windows-1250"), QStringLiteral("UTF-8 (BOM-mal)")}, 0,
                                    m_encodings, this, "RadioGroupKodlap");
    encodings->setToolTip(QStringLiteral("Linuxos táblázatkezelőhöz válaszd az UTF-8-at"));

    m_memos = NewCheck(QStringLiteral("Többsoros mezőket is kiírja"), true, this, "CheckBox1");
    m_fieldNames = NewCheck(QStringLiteral("Eredeti mezőneveket használja"), false, this, "CheckBox2");
    m_noHeader = NewCheck(QStringLiteral("Fejléc nem kell (az első sorban)"), false, this, "CheckBox3");
    m_openAfter = NewCheck(QStringLiteral("Export után megnyitás"), false, this, "CheckBox4");

    m_start = NewButton(QStringLiteral("Export indítás"), this, "Button1");
    m_start->setDefault(true);
    m_clipboard = NewButton(QStringLiteral("Vágólapra!"), this, "Button2");
    m_clipboard->setToolTip(QStringLiteral("Excel munkalapba beilleszthető"));
    m_stop = NewButton(QStringLiteral("Megállít"), this, "Button5");
    m_stop->setEnabled(false);
    m_close = NewButton(QStringLiteral("Bezár"), this, "Button6");

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setTextVisible(false);
    m_progress->setValue(0);

    // Layout: the file name on top; the columns on the left; the groups,
    // options and buttons on the right; the progress bar at the bottom.
    auto* fileLabel = new QLabel(QStringLiteral("Filenév"), this);
    fileLabel->setBuddy(m_fileName);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileLabel);
    fileRow->addWidget(m_fileName, 1);
    fileRow->addWidget(m_browse);

    auto* columnButtons = new QHBoxLayout;
    columnButtons->addWidget(m_all);
    columnButtons->addWidget(m_none);
    columnButtons->addStretch(1);
    auto* columnsBox = new QGroupBox(QStringLiteral("Mezők"), this);
    auto* columnsLayout = new QVBoxLayout(columnsBox);
    columnsLayout->addWidget(m_columns, 1);
    columnsLayout->addLayout(columnButtons);

    auto* groups = new QHBoxLayout;
    groups->addWidget(separators);
    groups->addWidget(quotes);
    auto* right = new QVBoxLayout;
    right->addLayout(groups);
    right->addWidget(encodings);
    for (QCheckBox* box : {m_memos, m_fieldNames, m_noHeader, m_openAfter})
        right->addWidget(box);
    right->addStretch(1);
    auto* buttons = new QGridLayout;
    buttons->addWidget(m_start, 0, 0);
    buttons->addWidget(m_clipboard, 0, 1);
    buttons->addWidget(m_stop, 1, 0);
    buttons->addWidget(m_close, 1, 1);
    right->addLayout(buttons);

    auto* middle = new QHBoxLayout;
    middle->addWidget(columnsBox, 1);
    middle->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addLayout(middle, 1);
    layout->addWidget(m_progress);

    connect(m_browse, &QPushButton::clicked, this, [this] { browse(); });
    connect(m_all, &QPushButton::clicked, this, [this] { tickAll(true); });
    connect(m_none, &QPushButton::clicked, this, [this] { tickAll(false); });
    connect(m_start, &QPushButton::clicked, this, [this] { startExport(); });
    connect(m_clipboard, &QPushButton::clicked, this, [this] { copyToClipboard(); });
    connect(m_stop, &QPushButton::clicked, this, [this] { m_stopRequested = true; });
    connect(m_close, &QPushButton::clicked, this, [this] { reject(); });

    ApplyFontSize(this);
    resize(620, 440);
    m_fileName->setFocus(Qt::OtherFocusReason);
}

DelimitedOptions Tfrm_Hatarolt::options() const {
    DelimitedOptions o;
    o.separator = SeparatorOf(m_separators->checkedId());
    o.quote = QuoteOf(m_quotes->checkedId());
    o.memos = m_memos->isChecked();
    o.fieldNames = m_fieldNames->isChecked();
    o.header = !m_noHeader->isChecked();
    o.utf8 = m_encodings->checkedId() == 1;
    o.ticked.reserve(size_t(m_columns->count()));
    for (int i = 0; i < m_columns->count(); ++i)
        o.ticked.push_back(m_columns->item(i)->checkState() == Qt::Checked);
    return o;
}

void Tfrm_Hatarolt::tickAll(bool ticked) {
    for (int i = 0; i < m_columns->count(); ++i)
        m_columns->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void Tfrm_Hatarolt::browse() {
    const QString current = m_fileName->text().trimmed();
    const QString chosen =
        ChooseExportFile(current.isEmpty() ? InitialExportFileName(QString()) : ResolveExportPath(current));
    if (!chosen.isEmpty())
        m_fileName->setText(chosen);
}

void Tfrm_Hatarolt::setRunning(bool running) {
    m_running = running;
    m_stopRequested = false;
    m_stop->setEnabled(running);
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_start, m_clipboard, m_close, m_browse, m_fileName, m_columns,
                                         m_all, m_none, m_memos, m_fieldNames, m_noHeader, m_openAfter})
        w->setEnabled(!running);
    for (QButtonGroup* group : {m_separators, m_quotes, m_encodings})
        for (QAbstractButton* b : group->buttons())
            b->setEnabled(!running);
    if (running) {
        m_progress->setRange(0, std::max(1, m_data.recordCount()));
        m_progress->setValue(0);
        m_sinceEvents.start();
        m_stop->setFocus(Qt::OtherFocusReason);
    } else {
        m_progress->setValue(0);
    }
}

bool Tfrm_Hatarolt::progressed(int done, int total) {
    if (m_sinceEvents.elapsed() >= kEventsEveryMs || done == total) {
        m_progress->setMaximum(std::max(1, total));
        m_progress->setValue(done);
        QApplication::processEvents();
        m_sinceEvents.restart();
    }
    return !m_stopRequested;
}

void Tfrm_Hatarolt::startExport() {
    if (m_running)
        return;
    QString fileName = m_fileName->text();
    setRunning(true);
    bool closeWindow = false;
    try {
        closeWindow = RunFileExport(m_data, fileName, options(), m_openAfter->isChecked(),
                                    [this](int done, int total) { return progressed(done, total); });
    } catch (...) {
        setRunning(false);
        throw;
    }
    setRunning(false);
    m_fileName->setText(fileName);
    if (closeWindow)
        accept();
}

void Tfrm_Hatarolt::copyToClipboard() {
    if (m_running)
        return;
    setRunning(true);
    try {
        RunClipboardExport(m_data, options(),
                           [this](int done, int total) { return progressed(done, total); });
    } catch (...) {
        setRunning(false);
        throw;
    }
    setRunning(false);
}

void Tfrm_Hatarolt::reject() {
    if (!m_running)
        QDialog::reject();
}

void Tfrm_Hatarolt::done(int result) {
    if (m_running)
        return;
    if (m_placed)
        SaveWindowBounds(this, kWindowName);
    QDialog::done(result);
}

void Tfrm_Hatarolt::showEvent(QShowEvent* event) {
    if (!m_placed) {
        m_placed = true;
        LoadWindowBounds(this, kWindowName);
    }
    QDialog::showEvent(event);
}

void Tfrm_Hatarolt::closeEvent(QCloseEvent* event) {
    if (m_running)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void Tfrm_Hatarolt::Run(Query& data, const QString& defaultFileName, QWidget* parent) {
    Tfrm_Hatarolt window(data, defaultFileName, parent ? parent : QApplication::activeWindow());
    window.exec();
}

QString Tfrm_Hatarolt::ChooseFile(const QString& proposed, QWidget* parent) {
    QFileDialog dialog(parent ? parent : QApplication::activeWindow(), QStringLiteral("Mentés másként"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(export_text::SaveFilter.split(QStringLiteral(";;")));
    dialog.selectNameFilter(dialog.nameFilters().at(3)); // CSV
    dialog.setDefaultSuffix(export_text::DefaultSuffix);
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace kml
