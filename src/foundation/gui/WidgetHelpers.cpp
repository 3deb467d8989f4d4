#include "foundation/gui/WidgetHelpers.h"

#include "components/Connection.h"
#include "components/DatasetModel.h"
#include "components/Query.h"
#include "foundation/Settings.h"
#include "foundation/WindowPlacement.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
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

QString FieldCaption(const QWidget* field) {
    if (!field)
        return {};
    QString text;
    if (const auto* button = qobject_cast<const QAbstractButton*>(field)) {
        text = button->text();
    } else {
        for (const QLabel* label : field->window()->findChildren<QLabel*>())
            if (label->buddy() == field) {
                text = label->text();
                break;
            }
    }
    // "&&" shows one "&"; a single "&" marks the shortcut letter.
    text.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    text = text.trimmed();
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.trimmed();
}

void CentreOnOwner(QWidget* window) {
    const QRect area = WorkArea();
    QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : QApplication::activeWindow();
    const QRect over = owner && owner != window && owner->isVisible() ? owner->frameGeometry() : area;
    int width = window->width();
    int height = window->height();
    int left = over.center().x() - width / 2;
    int top = over.center().y() - height / 2;
    FitIntoWorkArea(area, left, top, height, width);
    window->move(std::max(left, area.x()), std::max(top, area.y()));
}

void LoadWindowPos(QWidget* window, const QString& windowName) {
    const bool stored = HasStoredPlace(windowName);
    int left = 0;
    int top = 0;
    LoadFormPos(windowName, left, top);
    // Placing the client area takes its size too: before the window is
    // shown, the size that showing it would give.
    if (!window->isVisible() && !window->testAttribute(Qt::WA_Resized))
        window->adjustSize();
    window->setGeometry(left, top, window->width(), window->height());
    if (!stored)
        CentreOnOwner(window);
}

void LoadWindowBounds(QWidget* window, const QString& windowName) {
    if (!HasStoredPlace(windowName)) {
        CentreOnOwner(window);
        return;
    }
    int left = 0;
    int top = 0;
    int height = window->height();
    int width = window->width();
    LoadFormBounds(windowName, left, top, height, width);
    window->setGeometry(left, top, width, height);
}

void SaveWindowPos(const QWidget* window, const QString& windowName) {
    const QRect client = window->geometry();
    SaveFormPos(windowName, client.x(), client.y());
}

void SaveWindowBounds(const QWidget* window, const QString& windowName) {
    const QRect client = window->geometry();
    SaveFormBounds(windowName, client.x(), client.y(), client.height(), client.width());
}

} // namespace kml
