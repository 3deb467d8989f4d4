#include "website/gui/Tfrm_TorzsWebIntro_Szerkeszt.h"

#include "foundation/Dialogs.h"
#include "foundation/Pictures.h"
#include "foundation/gui/PictureView.h"
#include "website/WebContent.h"

#include <QApplication>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kml {

Tfrm_TorzsWebIntro_Szerkeszt::Tfrm_TorzsWebIntro_Szerkeszt(QWidget* parent)
    : EditWindow(QStringLiteral("frm_TorzsWebIntro_Szerkeszt"), QStringLiteral("webintro"), parent) {
    setWindowTitle(web_text::IntroEditorCaption);

    auto* title = new QLineEdit(this);
    title->setObjectName(QStringLiteral("DBEdit1"));
    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));

    auto* textPage = new QWidget(pages);
    auto* text = new QPlainTextEdit(textPage);
    text->setObjectName(QStringLiteral("DBMemo1"));
    text->setTabChangesFocus(true);
    auto* textForm = new QFormLayout(textPage);
    textForm->addRow(QStringLiteral("Megjegyzés"), text);
    pages->addTab(textPage, QStringLiteral("Szöveg"));

    auto* picturePage = new QWidget(pages);
    m_picture = new PictureView(picturePage);
    m_picture->setObjectName(QStringLiteral("Image1"));
    auto* upload = new QPushButton(QStringLiteral("Háttérkép feltöltés"), picturePage);
    upload->setObjectName(QStringLiteral("BitBtn1"));
    upload->setAutoDefault(false);
    auto* pictureLayout = new QVBoxLayout(picturePage);
    pictureLayout->addWidget(m_picture, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(upload);
    buttonRow->addStretch(1);
    pictureLayout->addLayout(buttonRow);
    pages->addTab(picturePage, QStringLiteral("Kép"));

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Cím"), title);
    layout->addLayout(form);
    layout->addWidget(pages, 1);
    addOkCancel(layout);
    setCtrlEnterAccepts(true);
    setResizable(true);

    bindText(title, QStringLiteral("webintro_nev"), {.upcaseFirst = true});
    bindMemo(text, QStringLiteral("szoveg"));
    connect(upload, &QPushButton::clicked, this, [this] { uploadPicture(); });

    resize(560, 460);
    title->setFocus(Qt::OtherFocusReason);
}

void Tfrm_TorzsWebIntro_Szerkeszt::showPicture() {
    const qlonglong slide = table().key().toLongLong();
    const QString path = IntroPicturePath(WebPictureFolder(), slide);
    if (slide <= 0 || !QFile::exists(path)) {
        m_picture->showFile(QString());
        return;
    }
    if (LoadPicture(path).isNull()) {
        ShowError(web_text::PictureLoadError + path, this);
        m_picture->showFile(QString());
        return;
    }
    m_picture->showFile(path);
}

void Tfrm_TorzsWebIntro_Szerkeszt::uploadPicture() {
    try {
        if (UploadIntroPicture(table(), this)) {
            const QString path = IntroPicturePath(WebPictureFolder(), table().key().toLongLong());
            if (LoadPicture(path).isNull())
                ShowError(web_text::PictureCopyError + path, this);
        }
    } catch (const StaleRowError& stale) {
        ShowError(stale.reason() == StaleRowError::Reason::Deleted ? edit_text::RowDeleted
                                                                   : edit_text::RowChanged,
                  this);
    }
    showValues();
    // What the button stored is saved: closing now loses nothing of it.
    markClean();
    showPicture();
}

std::optional<qlonglong> Tfrm_TorzsWebIntro_Szerkeszt::Run(std::optional<qlonglong> slide, QWidget* parent) {
    Tfrm_TorzsWebIntro_Szerkeszt window(parent ? parent : QApplication::activeWindow());
    if (!slide)
        window.startNew();
    else if (*slide <= 0 || !window.startEdit(*slide))
        return std::nullopt;
    window.showPicture();
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.savedKey();
}

} // namespace kml
