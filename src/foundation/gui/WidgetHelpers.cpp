#include "foundation/gui/WidgetHelpers.h"

#include "components/Connection.h"
#include "components/DatasetModel.h"
#include "components/Query.h"
#include "foundation/WindowPlacement.h"
#include "foundation/Settings.h"

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

namespace kml {

void ApplyFontSize(QWidget* window) {
    if (!window)
        return;
    QFont font = window->font();
    font.setPointSize(WindowFontSize());
    window->setFont(font);
}

void HighlightSortColumn(QAbstractItemView* grid, int column) {
    if (!grid)
        return;
    QAbstractItemModel* model = grid->model();
    while (auto* proxy = qobject_cast<QAbstractProxyModel*>(model)) {
        const QModelIndex source = proxy->mapToSource(proxy->index(0, column));
        if (source.isValid())
            column = source.column();
        model = proxy->sourceModel();
    }
    if (auto* dataset = qobject_cast<DatasetModel*>(model)) {
        dataset->setHighlightColor(kHighlightColor);
        dataset->setHighlightColumn(column);
    }
}

QChar UpcaseFirstKey(const QWidget* control, QChar key) {
    QString text;
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        text = edit->text();
    else if (const auto* combo = qobject_cast<const QComboBox*>(control))
        text = combo->currentText();
    if (text.isEmpty() && key >= QLatin1Char('a') && key <= QLatin1Char('z'))
        return QChar(key.unicode() - 'a' + 'A');
    return key;
}

void FillCombo(QComboBox* combo, const QString& sql, const QString& firstItem) {
    const ResultSet rows = SharedConnection().query(sql);
    QStringList items;
    if (!firstItem.isEmpty())
        items << firstItem;
    if (rows.columnCount() > 0)
        for (int r = 0; r < rows.rowCount(); ++r)
            items << rows.text(r, 0);
    const QString shown = combo->currentText();
    combo->clear();
    combo->addItems(items);
    if (combo->isEditable())
        combo->setEditText(shown);
    else if (combo->count() > 0)
        combo->setCurrentIndex(0);
}

void LoadWindowPos(QWidget* window, const QString& windowName) {
    int left = 0;
    int top = 0;
    LoadFormPos(windowName, left, top);
    window->move(left, top);
}

void LoadWindowBounds(QWidget* window, const QString& windowName) {
    int left = 0;
    int top = 0;
    int height = window->height();
    int width = window->width();
    LoadFormBounds(windowName, left, top, height, width);
    window->move(left, top);
    window->resize(width, height);
}

void SaveWindowPos(const QWidget* window, const QString& windowName) {
    SaveFormPos(windowName, window->x(), window->y());
}

void SaveWindowBounds(const QWidget* window, const QString& windowName) {
    SaveFormBounds(windowName, window->x(), window->y(), window->height(), window->width());
}

} // namespace kml
