#include "records/gui/Tfrm_TorzsSzotar.h"

#include "foundation/Conversions.h"
#include "patterns/ListSearch.h"
#include "records/Texts.h"

#include <QAction>
#include <QLineEdit>
#include <QTableView>
#include <QToolBar>

namespace kml {

Tfrm_TorzsSzotar::Tfrm_TorzsSzotar(QWidget* parent) : ListWindow(DictionaryListDefinition(), parent) {
    // The pattern hands the row actions a number; a title is no number, so
    // they read the title from the row.
    addListAction(QStringLiteral("aUj"), definition().actions.create, QKeySequence(Qt::Key_Insert), [this] {
        if (const QString saved = EditDictionaryText(QString()); !saved.isEmpty())
            showTitle(saved);
    });
    addRowAction(QStringLiteral("aSzerkeszt"), definition().actions.edit, QKeySequence(Qt::Key_F2),
                 [this](qlonglong) {
                     const QString title = currentTitle();
                     const QString saved = EditDictionaryText(title);
                     showTitle(saved.isEmpty() ? title : saved);
                 });
    addRowAction(QStringLiteral("aTorol"), definition().actions.remove,
                 QKeySequence(Qt::CTRL | Qt::Key_Delete), [this](qlonglong) {
                     if (DeleteDictionaryText(currentTitle()))
                         reread();
                 });
    listAction(QStringLiteral("aTorol"))->setToolTip(QStringLiteral("Sor törlése"));
    // "Kereső" after them, as in the other lists.
    QAction* find = listAction(QStringLiteral("aKeres"));
    for (QWidget* holder : {static_cast<QWidget*>(toolBar()), static_cast<QWidget*>(grid())}) {
        holder->removeAction(find);
        holder->insertAction(listAction(QStringLiteral("aElfogad")), find);
    }
    listAction(QStringLiteral("aKeres"))->setToolTip(QStringLiteral("Ugrás a keresőbe"));
}

QString Tfrm_TorzsSzotar::currentTitle() const {
    return VarStr(currentValue(QStringLiteral("cim")));
}

void Tfrm_TorzsSzotar::showTitle(const QString& title) {
    reread();
    LocateKey(query(), QStringLiteral("cim"), title);
}

DictionaryText Tfrm_TorzsSzotar::run(const QString& search, bool chooser) {
    setChooser(chooser);
    openAt(std::nullopt);
    searchBox()->setText(search);
    DictionaryText chosen;
    if (exec() == QDialog::Accepted && hasCurrentRow()) {
        chosen.title = currentTitle();
        chosen.text = VarStr(currentValue(QStringLiteral("szoveg")));
    }
    return chosen;
}

} // namespace kml
