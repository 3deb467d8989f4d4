#include "website/gui/Tfrm_TorzsBanner_Szerkeszt.h"

#include "foundation/Dialogs.h"
#include "patterns/EditorDefinition.h"
#include "website/WebContent.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kml {

Tfrm_TorzsBanner_Szerkeszt::Tfrm_TorzsBanner_Szerkeszt(QWidget* parent)
    : EditWindow(QStringLiteral("frm_TorzsBanner_Szerkeszt"), QStringLiteral("banner"), parent) {
    setWindowTitle(web_text::BannerEditorCaption);

    auto* heading = new QLineEdit(this);
    heading->setObjectName(QStringLiteral("DBEdit1"));
    auto* link = new QLineEdit(this);
    link->setObjectName(QStringLiteral("DBEdit2"));
    auto* text = new QPlainTextEdit(this);
    text->setObjectName(QStringLiteral("DBMemo1"));
    text->setTabChangesFocus(true);
    auto* note = new QLabel(web_text::BannerSizeNote, this);
    note->setObjectName(QStringLiteral("Label4"));
    note->setTextFormat(Qt::PlainText);
    auto* background = new QPushButton(QStringLiteral("Háttérkép feltöltés"), this);
    background->setObjectName(QStringLiteral("BitBtn1"));
    auto* small = new QPushButton(QStringLiteral("Kis kép feltöltés"), this);
    small->setObjectName(QStringLiteral("BitBtn2"));
    for (QPushButton* button : {background, small})
        button->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Címsor"), heading);
    form->addRow(QStringLiteral("Link"), link);
    form->addRow(QStringLiteral("Szöveg"), text);
    layout->addLayout(form, 1);
    layout->addWidget(note);
    auto* pictures = new QHBoxLayout;
    pictures->addWidget(background);
    pictures->addWidget(small);
    pictures->addStretch(1);
    layout->addLayout(pictures);
    addOkCancel(layout);
    setCtrlEnterAccepts(true);
    setResizable(true);

    bindText(heading, QStringLiteral("banner_nev"), {.upcaseFirst = true});
    bindText(link, QStringLiteral("link"));
    bindMemo(text, QStringLiteral("szoveg"));
    connect(background, &QPushButton::clicked, this, [this] { uploadPicture(BannerPicture::Background); });
    connect(small, &QPushButton::clicked, this, [this] { uploadPicture(BannerPicture::Small); });

    resize(560, 400);
    heading->setFocus(Qt::OtherFocusReason);
}

void Tfrm_TorzsBanner_Szerkeszt::uploadPicture(BannerPicture kind) {
    try {
        UploadBannerPicture(table(), kind, this);
    } catch (const StaleRowError& stale) {
        ShowError(stale.reason() == StaleRowError::Reason::Deleted ? edit_text::RowDeleted
                                                                   : edit_text::RowChanged,
                  this);
    }
    showValues();
    // What the button stored is saved: closing now loses nothing of it.
    markClean();
}

std::optional<qlonglong> Tfrm_TorzsBanner_Szerkeszt::Run(std::optional<qlonglong> banner, QWidget* parent) {
    Tfrm_TorzsBanner_Szerkeszt window(parent ? parent : QApplication::activeWindow());
    if (!banner)
        window.startNew();
    else if (*banner <= 0 || !window.startEdit(*banner))
        return std::nullopt;
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.savedKey();
}

} // namespace kml
