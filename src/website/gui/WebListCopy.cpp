#include "website/gui/WebListCopy.h"

#include "components/DatasetModel.h"
#include "foundation/Conversions.h"
#include "patterns/gui/ListWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <memory>

namespace kml {

void AddCopyAction(ListWindow& window, std::function<QString()> column) {
    window.addListAction(QStringLiteral("aMasol"), QStringLiteral("Másol"),
                         QKeySequence(Qt::CTRL | Qt::Key_C), [&window, column = std::move(column)] {
                             QWidget* focus = QApplication::focusWidget();
                             if (auto* edit = qobject_cast<QLineEdit*>(focus)) {
                                 if (edit->hasSelectedText())
                                     QApplication::clipboard()->setText(edit->selectedText());
                             } else if (auto* memo = qobject_cast<QPlainTextEdit*>(focus)) {
                                 const QString selected = memo->textCursor().selectedText();
                                 if (!selected.isEmpty())
                                     // The selection marks line breaks with U+2029.
                                     QApplication::clipboard()->setText(
                                         QString(selected).replace(QChar(0x2029), QLatin1Char('\n')));
                             } else if (window.hasCurrentRow()) {
                                 QApplication::clipboard()->setText(VarStr(window.currentValue(column())));
                             }
                         });
}

std::function<QString()> LastClickedColumn(ListWindow& window) {
    auto clicked = std::make_shared<QString>();
    QObject::connect(window.grid(), &QTableView::clicked, &window,
                     [&window, clicked](const QModelIndex& index) {
                         const auto& columns = window.model()->columns();
                         if (index.isValid() && index.column() < int(columns.size()))
                             *clicked = columns[size_t(index.column())].field;
                     });
    return [&window, clicked] { return clicked->isEmpty() ? window.sortField() : *clicked; };
}

} // namespace kml
