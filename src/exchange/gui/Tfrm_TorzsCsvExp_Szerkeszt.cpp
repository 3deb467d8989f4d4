#include "exchange/gui/Tfrm_TorzsCsvExp_Szerkeszt.h"

#include "components/Cp1250.h"
#include "components/DbError.h"
#include "exchange/SavedExports.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/TextHelpers.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <Qsci/qscilexersql.h>
#include <Qsci/qsciscintilla.h>

namespace kml {
namespace {

const QString Sql = QStringLiteral("szoveg_sql");
const QString SqlFilter = QStringLiteral("SQL állományok (*.sql)");

// The field names dragged as plain text.
class FieldNameList final : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override {
        auto* data = new QMimeData;
        if (!items.isEmpty())
            data->setText(items.first()->text());
        return data;
    }
    QStringList mimeTypes() const override { return {QStringLiteral("text/plain")}; }
};

} // namespace

Tfrm_TorzsCsvExp_Szerkeszt::Tfrm_TorzsCsvExp_Szerkeszt(QWidget* parent)
    : EditWindow(QStringLiteral("frm_TorzsCsvExp_Szerkeszt"), QStringLiteral("csvexp"), parent) {
    setWindowTitle(csvexp_text::EditorCaption);
    auto* layout = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(m_pages, 1);

    // Beállítások
    auto* settings = new QWidget(m_pages);
    auto* settingsLayout = new QHBoxLayout(settings);
    auto* form = new QFormLayout;
    settingsLayout->addLayout(form, 1);
    auto* name = new QLineEdit(settings);
    name->setObjectName(QStringLiteral("csvexp_nev"));
    form->addRow(QStringLiteral("Export neve"), name);
    bindText(name, QStringLiteral("csvexp_nev"), {.upcaseFirst = true});
    auto* category = new QComboBox(settings);
    category->setObjectName(QStringLiteral("kategoria"));
    category->setEditable(true);
    form->addRow(QStringLiteral("Kategória"), category);
    const struct {
        const char* field;
        const char* label;
    } lists[] = {{"mezonevek", "Mezőnevek"},
                 {"mezocimkek", "Mező fejlécek"},
                 {"csopmezok", "Csoportosítás"},
                 {"summezok", "Összegzés"},
                 {"parameterek", "Paraméterek"},
                 {"grafikonparam", "Grafikon paraméterek"},
                 {"keresmezok", "Keresés az alábbi mezőkben"}};
    for (const auto& list : lists) {
        auto* edit = new QLineEdit(settings);
        edit->setObjectName(QString::fromLatin1(list.field));
        edit->installEventFilter(this);
        form->addRow(QString::fromUtf8(list.label), edit);
        bindText(edit, QString::fromLatin1(list.field));
        m_fieldEdits.push_back(edit);
    }
    auto* kordexa = new QCheckBox(QStringLiteral("Szerepeljen az Kordexa-ban?"), settings);
    kordexa->setObjectName(QStringLiteral("kordexa"));
    form->addRow(QString(), kordexa);
    bindFlag(kordexa, QStringLiteral("kordexa"));
    auto* chart = new QCheckBox(QStringLiteral("Ez grafikon?"), settings);
    chart->setObjectName(QStringLiteral("ezgrafikon"));
    form->addRow(QString(), chart);
    bindFlag(chart, QStringLiteral("ezgrafikon"));
    m_fields = new FieldNameList(settings);
    m_fields->setObjectName(QStringLiteral("ListBox1"));
    m_fields->setDragEnabled(true);
    m_fields->setDragDropMode(QAbstractItemView::DragOnly);
    m_fields->setFixedWidth(200);
    settingsLayout->addWidget(m_fields);
    m_pages->addTab(settings, QStringLiteral("Beállítások"));

    // Egyszerű adatexport
    auto* simple = new QWidget(m_pages);
    auto* simpleForm = new QFormLayout(simple);
    auto* fileRow = new QHBoxLayout;
    m_localFile = new QLineEdit(simple);
    m_localFile->setObjectName(QStringLiteral("file_local"));
    bindText(m_localFile, QStringLiteral("file_local"));
    auto* browse = new QPushButton(QStringLiteral("..."), simple);
    browse->setObjectName(QStringLiteral("SpeedButton1"));
    connect(browse, &QPushButton::clicked, this, [this] { chooseLocalFile(); });
    fileRow->addWidget(m_localFile, 1);
    fileRow->addWidget(browse);
    simpleForm->addRow(QStringLiteral("Lokális cél állomány"), fileRow);
    const auto radios = [this, simple](const QString& title, const QStringList& items, const QString& field) {
        auto* box = new QGroupBox(title, simple);
        auto* boxLayout = new QVBoxLayout(box);
        auto* group = new QButtonGroup(box);
        for (int i = 0; i < items.size(); ++i) {
            auto* radio = new QRadioButton(items[i], box);
            boxLayout->addWidget(radio);
            group->addButton(radio, i);
        }
        connect(group, &QButtonGroup::idClicked, this, [this, field](int id) {
            if (!m_loading)
                setFieldValue(field, id);
        });
        return std::pair{box, group};
    };
    auto [separatorBox, separator] = radios(QStringLiteral("Határoló"),
                                            {QStringLiteral("Pontosvessző (;)"), QStringLiteral("Tabulátor"),
                                             QStringLiteral("Vessző (,)"), QStringLiteral("|")},
                                            QStringLiteral("hatarolo"));
    auto [quoteBox, quote] =
        radios(QStringLiteral("Szövegjelölő"),
               {QStringLiteral("Idézőjel (\")"), QStringLiteral("Aposztróf (')"), QStringLiteral("Semmi")},
               QStringLiteral("szovegjelolo"));
    m_separator = separator;
    m_quote = quote;
    auto* groups = new QHBoxLayout;
    groups->addWidget(separatorBox);
    groups->addWidget(quoteBox);
    simpleForm->addRow(groups);
    auto* ftp = new QCheckBox(QStringLiteral("FTP küldés?"), simple);
    ftp->setObjectName(QStringLiteral("ftp_kell"));
    bindFlag(ftp, QStringLiteral("ftp_kell"));
    simpleForm->addRow(QString(), ftp);
    const auto text = [this, simple, simpleForm](const char* field, const QString& label) {
        auto* edit = new QLineEdit(simple);
        edit->setObjectName(QString::fromLatin1(field));
        bindText(edit, QString::fromLatin1(field));
        simpleForm->addRow(label, edit);
        return edit;
    };
    text("host_ftp", QStringLiteral("Kiszolgáló"));
    text("file_ftp", QStringLiteral("FTP mappája (távoli mappa)"));
    text("ftp_user", QStringLiteral("FTP felhasználó"));
    text("ftp_jelszo", QStringLiteral("FTP jelszó"))->setEchoMode(QLineEdit::Password);
    m_pages->addTab(simple, QStringLiteral("Egyszerű adatexport"));

    // SQL
    m_sql = new QsciScintilla(m_pages);
    m_sql->setObjectName(QStringLiteral("SynEdit1"));
    m_sql->setUtf8(true);
    auto* lexer = new QsciLexerSQL(m_sql);
    lexer->setDefaultFont(QFont(QStringLiteral("Monospace"), font().pointSize()));
    m_sql->setLexer(lexer);
    m_sql->setMarginLineNumbers(0, true);
    m_sql->setMarginWidth(0, QStringLiteral("00000"));
    m_sql->setTabWidth(2);
    connect(m_sql, &QsciScintilla::textChanged, this, [this] {
        if (!m_loading && table().isActive())
            table().setValue(Sql, m_sql->text());
    });
    m_pages->addTab(m_sql, QStringLiteral("SQL"));

    // The window's actions.
    const auto action = [this](const QString& objectName, const QString& caption, const QKeySequence& key,
                               std::function<void()> run) {
        auto* a = new QAction(caption, this);
        a->setObjectName(objectName);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, std::move(run));
        addAction(a);
        return a;
    };
    action(QStringLiteral("aMegnyit"), QStringLiteral("Megnyitás file-ból"),
           QKeySequence(Qt::CTRL | Qt::Key_O), [this] { loadSql(); });
    action(QStringLiteral("aMent"), QStringLiteral("Mentés file-ba"), QKeySequence(Qt::CTRL | Qt::Key_S),
           [this] { saveSql(); });
    action(QStringLiteral("aFrissit"), QStringLiteral("Frissít"), QKeySequence(Qt::Key_F5),
           [this] { refreshFields(); });

    auto* buttons = new QHBoxLayout;
    auto* refresh = new QPushButton(QStringLiteral("Frissít"), this);
    refresh->setObjectName(QStringLiteral("btnFrissit"));
    connect(refresh, &QPushButton::clicked, this, [this] { refreshFields(); });
    buttons->addWidget(refresh);
    buttons->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("Elfogad"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    auto* cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    setButtons(ok, cancel);
    setCtrlEnterAccepts(true);
    setResizable(true);

    try {
        category->addItems(ExportCategories());
    } catch (const DbError&) {
        // The combo only offers the words in use; typing still works.
    }
    bindComboText(category, QStringLiteral("kategoria"));
    resize(760, 520);
    name->setFocus(Qt::OtherFocusReason);
}

QLineEdit* Tfrm_TorzsCsvExp_Szerkeszt::fieldListEdit(const QString& field) const {
    for (QLineEdit* edit : m_fieldEdits)
        if (edit->objectName() == field)
            return edit;
    return nullptr;
}

void Tfrm_TorzsCsvExp_Szerkeszt::showRow() {
    m_loading = true;
    const QString sql = VarStr(fieldValue(Sql));
    m_sql->setText(sql);
    const int separator = VarInt(fieldValue(QStringLiteral("hatarolo")), 0);
    const int quote = VarInt(fieldValue(QStringLiteral("szovegjelolo")), 0);
    if (QAbstractButton* b = m_separator->button(separator))
        b->setChecked(true);
    if (QAbstractButton* b = m_quote->button(quote))
        b->setChecked(true);
    m_loading = false;
    if (!sql.trimmed().isEmpty())
        refreshFields();
}

bool Tfrm_TorzsCsvExp_Szerkeszt::refreshFields() {
    QStringList names;
    try {
        names = StatementFieldNames(m_sql->text());
    } catch (const DbError& e) {
        ShowError(csvexp_text::BadSql + e.message(), this);
        return false;
    }
    m_fields->clear();
    m_fields->addItems(names);
    return true;
}

void Tfrm_TorzsCsvExp_Szerkeszt::dropFieldName(QLineEdit* edit, const QString& name) {
    const QString field = edit->objectName();
    setFieldValue(field, AppendFieldName(VarStr(fieldValue(field)), name.trimmed()));
}

bool Tfrm_TorzsCsvExp_Szerkeszt::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Drop) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        auto* drop = static_cast<QDropEvent*>(event);
        if (edit && drop->mimeData()->hasText()) {
            dropFieldName(edit, drop->mimeData()->text());
            drop->acceptProposedAction();
            return true;
        }
    }
    return EditWindow::eventFilter(watched, event);
}

void Tfrm_TorzsCsvExp_Szerkeszt::loadSql() {
    if (m_pages->currentWidget() != m_sql)
        return;
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), SqlFilter);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowError(csvexp_text::ErrorPrefix + file.errorString(), this);
        return;
    }
    m_sql->setText(ReadTextFile(path));
    refreshFields();
}

void Tfrm_TorzsCsvExp_Szerkeszt::saveSql() {
    if (m_pages->currentWidget() != m_sql)
        return;
    const QString path = QFileDialog::getSaveFileName(this, QString(), QString(), SqlFilter);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(ToCp1250(m_sql->text())) < 0)
        ShowError(csvexp_text::ErrorPrefix + file.errorString(), this);
}

void Tfrm_TorzsCsvExp_Szerkeszt::chooseLocalFile() {
    const QString path = QFileDialog::getSaveFileName(
        this, QString(), m_localFile->text(), QStringLiteral("CSV dokumentumok (*.csv);;Minden file (*)"));
    if (!path.isEmpty())
        setFieldValue(QStringLiteral("file_local"), path);
}

RowKey Tfrm_TorzsCsvExp_Szerkeszt::Run(RowKey id, QWidget* parent) {
    Tfrm_TorzsCsvExp_Szerkeszt window(parent ? parent : QApplication::activeWindow());
    if (!id) {
        window.startNew();
        SetNewExportDefaults(window.table());
        window.showValues();
    } else if (!window.startEdit(*id)) {
        return std::nullopt;
    }
    window.showRow();
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.savedKey();
}

} // namespace kml
