#include "records/gui/Tfrm_TorzsLevelSzoveg_Szerkeszt.h"

#include "foundation/Conversions.h"
#include "records/Texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>

namespace kml {

namespace {

const QString Body = QStringLiteral("szoveg");

} // namespace

Tfrm_TorzsLevelSzoveg_Szerkeszt::Tfrm_TorzsLevelSzoveg_Szerkeszt(QWidget* parent)
    : EditWindow(QStringLiteral("frm_TorzsLevelSzoveg_Szerkeszt"), QStringLiteral("levelszoveg"), parent) {
    setWindowTitle(texts_text::LetterEditorCaption);

    auto* subject = new QLineEdit(this);
    subject->setObjectName(QStringLiteral("DBEdit1"));
    auto* title = new QLineEdit(this);
    title->setObjectName(QStringLiteral("DBEdit2"));
    auto* html = new QCheckBox(QStringLiteral("Ez HTML szöveg"), this);
    html->setObjectName(QStringLiteral("DBCheckBox1"));
    m_body = new QsciScintilla(this);
    m_body->setObjectName(QStringLiteral("SynEdit1"));
    m_body->setUtf8(true);
    auto* lexer = new QsciLexerHTML(m_body);
    lexer->setDefaultFont(font());
    lexer->setFont(font());
    m_body->setLexer(lexer);
    m_body->setWrapMode(QsciScintilla::WrapWord);
    m_body->setMarginWidth(0, 0);

    auto* grid = new QGridLayout(this);
    const auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label(QStringLiteral("Tárgysor"), subject), 0, 0);
    grid->addWidget(subject, 0, 1);
    grid->addWidget(label(QStringLiteral("Cím (Ez saját használatra)"), title), 1, 0);
    grid->addWidget(title, 1, 1);
    grid->addWidget(html, 2, 1);
    grid->addWidget(m_body, 3, 0, 1, 2);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    auto* cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 4, 0, 1, 2);
    setButtons(ok, cancel);
    setCtrlEnterAccepts(true);
    setResizable(true);

    const FieldOptions capital{.upcaseFirst = true};
    bindText(subject, QStringLiteral("targysor"), capital);
    bindText(title, QStringLiteral("levelszoveg_nev"), capital);
    bindFlag(html, QStringLiteral("ezhtml"));
    connect(m_body, &QsciScintilla::textChanged, this, [this] {
        if (!m_loading && table().isActive())
            table().setValue(Body, m_body->text());
    });

    resize(640, 480);
    subject->setFocus(Qt::OtherFocusReason);
}

void Tfrm_TorzsLevelSzoveg_Szerkeszt::showBody() {
    m_loading = true;
    m_body->setText(VarStr(fieldValue(Body)));
    m_loading = false;
}

RowKey Tfrm_TorzsLevelSzoveg_Szerkeszt::Run(RowKey letter, QWidget* parent) {
    Tfrm_TorzsLevelSzoveg_Szerkeszt window(parent ? parent : QApplication::activeWindow());
    if (!letter) {
        window.startNew();
        SetNewLetterDefaults(window.table());
        window.showValues();
    } else if (!window.startEdit(*letter)) {
        return std::nullopt;
    }
    window.showBody();
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.savedKey();
}

} // namespace kml
