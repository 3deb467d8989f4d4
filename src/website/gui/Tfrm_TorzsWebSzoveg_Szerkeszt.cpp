#include "website/gui/Tfrm_TorzsWebSzoveg_Szerkeszt.h"

#include "components/DbError.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "website/WebContent.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>

namespace kml {

namespace {

const QString Body = QStringLiteral("szoveg");

} // namespace

QsciScintilla* NewHtmlEditor(QWidget* parent) {
    auto* editor = new QsciScintilla(parent);
    editor->setUtf8(true);
    auto* lexer = new QsciLexerHTML(editor);
    lexer->setDefaultFont(parent->font());
    lexer->setFont(parent->font());
    editor->setLexer(lexer);
    editor->setWrapMode(QsciScintilla::WrapWord);
    editor->setMarginWidth(0, 0);
    return editor;
}

Tfrm_TorzsWebSzoveg_Szerkeszt::Tfrm_TorzsWebSzoveg_Szerkeszt(QWidget* parent)
    : EditWindow(QStringLiteral("frm_TorzsWebSzoveg_Szerkeszt"), QStringLiteral("web_szoveg"), parent) {
    setWindowTitle(web_text::WebTextEditorCaption);

    auto* key = new QLineEdit(this);
    key->setObjectName(QStringLiteral("DBEdit1"));
    auto* title = new QLineEdit(this);
    title->setObjectName(QStringLiteral("DBEdit2"));
    auto* html = new QCheckBox(QStringLiteral("Ez HTML?"), this);
    html->setObjectName(QStringLiteral("DBCheckBox1"));
    auto* footer = new QCheckBox(QStringLiteral("Ez menüpont a láblécben?"), this);
    footer->setObjectName(QStringLiteral("DBCheckBox2"));
    m_body = NewHtmlEditor(this);
    m_body->setObjectName(QStringLiteral("SynEdit1"));

    auto* grid = new QGridLayout(this);
    const auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label(QStringLiteral("Kulcs (Angol ABC betűivel + számok)"), key), 0, 0);
    grid->addWidget(key, 0, 1);
    grid->addWidget(label(QStringLiteral("Cím"), title), 1, 0);
    grid->addWidget(title, 1, 1);
    grid->addWidget(html, 2, 1);
    grid->addWidget(footer, 3, 1);
    grid->addWidget(m_body, 4, 0, 1, 2);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    grid->addLayout(buttons, 5, 0, 1, 2);
    addOkCancel(buttons);
    setCtrlEnterAccepts(true);
    setResizable(true);

    bindText(key, QStringLiteral("kulcs"));
    bindText(title, QStringLiteral("cim"), {.upcaseFirst = true});
    bindFlag(html, QStringLiteral("ezhtml"));
    bindFlag(footer, QStringLiteral("ezfooter"));
    connect(m_body, &QsciScintilla::textChanged, this, [this] {
        if (!m_loading && table().isActive())
            table().setValue(Body, m_body->text());
    });

    resize(720, 520);
    key->setFocus(Qt::OtherFocusReason);
}

void Tfrm_TorzsWebSzoveg_Szerkeszt::showBody() {
    m_loading = true;
    m_body->setText(VarStr(fieldValue(Body)));
    m_loading = false;
}

void Tfrm_TorzsWebSzoveg_Szerkeszt::accept() {
    try {
        EditWindow::accept();
    } catch (const DbError& e) {
        ErrorT(web_text::InvalidInput + e.message(), this);
    }
}

bool Tfrm_TorzsWebSzoveg_Szerkeszt::validate() {
    return CheckWebText(table(), this);
}

std::optional<qlonglong> Tfrm_TorzsWebSzoveg_Szerkeszt::Run(std::optional<qlonglong> text, QWidget* parent) {
    Tfrm_TorzsWebSzoveg_Szerkeszt window(parent ? parent : QApplication::activeWindow());
    if (!text) {
        window.startNew();
        SetNewWebTextDefaults(window.table());
        window.showValues();
    } else if (*text <= 0 || !window.startEdit(*text)) {
        return std::nullopt;
    }
    window.showBody();
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.savedKey();
}

} // namespace kml
