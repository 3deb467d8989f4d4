#include "worksheets/gui/Tfrm_Megjegyzes.h"

#include "foundation/Conversions.h"
#include "foundation/gui/PictureView.h"
#include "patterns/gui/GridLink.h"
#include "reports/CustomerPrints.h"
#include "worksheets/Notes.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableView>

namespace kml {

Tfrm_Megjegyzes::Tfrm_Megjegyzes(int id, int kind, QWidget* parent)
    : ListWindow(NotesDefinition(id, kind), parent) {
    m_lower = new QSplitter(Qt::Horizontal, this);
    m_lower->setObjectName(QStringLiteral("Panel2"));
    m_text = new QPlainTextEdit(m_lower);
    m_text->setObjectName(QStringLiteral("DBMemo1"));
    m_text->setReadOnly(true);
    m_text->setFocusPolicy(Qt::ClickFocus);
    m_preview = new PictureView(m_lower);
    m_preview->setObjectName(QStringLiteral("Image1"));
    m_lower->addWidget(m_text);
    m_lower->addWidget(m_preview);
    addBelowGrid(m_lower, 1);
    // Date, title and user share the width less 76 pixels; the rest is the
    // "File" column's picture.
    KeepColumnShares(grid(), {20, 60, 20}, 76);
    grid()->setColumnWidth(3, 40);
    addRowAction(QStringLiteral("aMegnez"), QStringLiteral("Megnéz"), QKeySequence(Qt::Key_F3),
                 [this](qlonglong) { OpenNoteAttachment(VarStr(currentValue(QStringLiteral("link")))); });
    // The record's notes on paper; an empty list prints nothing.
    addRowAction(QStringLiteral("aNyomtat"), QStringLiteral("Nyomtat"), QKeySequence(Qt::CTRL | Qt::Key_P),
                 [this, id, kind](qlonglong) { PrintNotes(kind, id, heading()->text()); });
}

void Tfrm_Megjegyzes::rowChanged() {
    m_text->setPlainText(VarStr(currentValue(QStringLiteral("megjegyzes"))));
    const QString local =
        LocalAttachmentPath(VarStr(currentValue(QStringLiteral("link"))), AttachmentPrefixes());
    m_preview->showFile(IsPreviewPicture(local) ? local : QString());
}

void Tfrm_Megjegyzes::showEvent(QShowEvent* event) {
    ListWindow::showEvent(event);
    if (!m_split) {
        // The lower part takes half of the window's height, the preview half
        // of its width.
        m_split = true;
        m_lower->setMinimumHeight(height() / 2 - 20);
        m_lower->setSizes({width() / 2, width() / 2});
    }
}

void Tfrm_Megjegyzes::Run(int id, int kind) {
    Tfrm_Megjegyzes window(id, kind, QApplication::activeWindow());
    window.openAt(std::nullopt);
    window.exec();
    window.query().close();
}

} // namespace kml
