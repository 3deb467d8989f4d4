#include "records/gui/Tfrm_TorzsTipus.h"

#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/ShellOpener.h"
#include "foundation/gui/PictureView.h"
#include "patterns/gui/ListKeys.h"
#include "records/DeviceTypes.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace kml {

Tfrm_TorzsTipus::Tfrm_TorzsTipus(QWidget* parent) : ListWindow(TypeListDefinition(), parent) {
    keys()->setEnterHandsOver(true);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PanelKep"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* tools = new QToolBar(panel);
    tools->setObjectName(QStringLiteral("ToolBarKep"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_picture = new PictureView(panel);
    m_picture->setObjectName(QStringLiteral("Image1"));
    layout->addWidget(tools);
    layout->addWidget(m_picture, 1);
    addBesideGrid(panel, 1);

    // The picture actions sit on the picture's own tool bar (and in the grid's menu).
    const auto onPictureBar = [this, tools](QAction* action) {
        toolBar()->removeAction(action);
        tools->addAction(action);
        return action;
    };
    markMaintenance(
        onPictureBar(addRowAction(QStringLiteral("aUjKep"), QStringLiteral("Kép hozzáadás"),
                                  QKeySequence(Qt::Key_F7), [this](qlonglong t) { addPicture(t); })));
    markMaintenance(
        onPictureBar(addRowAction(QStringLiteral("aKepTorol"), QStringLiteral("Kép törlés"),
                                  QKeySequence(Qt::Key_F8), [this](qlonglong t) { removePicture(t); })));
    onPictureBar(addRowAction(QStringLiteral("aMegnez"), QStringLiteral("Megnéz"), QKeySequence(Qt::Key_F9),
                              [this](qlonglong t) { openPicture(t); }));
}

void Tfrm_TorzsTipus::rowChanged() {
    const std::optional<qlonglong> type = currentKey();
    m_picture->showFile(type ? TypePicturePath(TypePictureFolder(), *type) : QString());
}

void Tfrm_TorzsTipus::addPicture(qlonglong type) {
    const QString folder = TypePictureFolder();
    QDir().mkpath(folder);
    const QString source = ChoosePictureFile(folder);
    if (source.isEmpty())
        return;
    QString error;
    if (!AddTypePicture(folder, type, source, &error))
        ShowError(type_text::PictureNotCopied + error, this);
    rowChanged();
}

void Tfrm_TorzsTipus::removePicture(qlonglong type) {
    if (!ConfirmT(type_text::DeletePictureQuestion, dialog_text::ConfirmCaption, this))
        return;
    RemoveTypePicture(TypePictureFolder(), type);
    rowChanged();
}

void Tfrm_TorzsTipus::openPicture(qlonglong type) {
    const QString path = TypePicturePath(TypePictureFolder(), type);
    if (QFile::exists(path))
        OpenInShell(QUrl::fromLocalFile(path).toString());
}

ChosenRow Tfrm_TorzsTipus::Run(RowKey select, bool chooser) {
    Tfrm_TorzsTipus window(QApplication::activeWindow());
    ChosenRow chosen = window.choose(select, chooser, type_text::ListCaption);
    chosen.name = !chosen.key ? QString()
                              : TypeChoiceText(VarStr(window.currentValue(QStringLiteral("gyarto_nev"))),
                                               VarStr(window.currentValue(QStringLiteral("tipus_nev"))));
    return chosen;
}

QString Tfrm_TorzsTipus::ChoosePicture(const QString& folder) {
    QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Kép hozzáadás"), folder);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(type_text::PictureFilter);
    dialog.setDefaultSuffix(QStringLiteral("jpg"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace kml
