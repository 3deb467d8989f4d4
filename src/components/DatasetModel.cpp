#include "components/DatasetModel.h"

#include "components/Query.h"

#include <QFont>

namespace kml {

DatasetModel::DatasetModel(Query* query, QObject* parent) : QAbstractTableModel(parent), m_query(query) {
    connect(query, &Query::opened, this, [this] {
        beginResetModel();
        rebuild();
        endResetModel();
    });
    connect(query, &Query::closed, this, [this] {
        beginResetModel();
        m_rows = 0;
        endResetModel();
    });
    connect(query, &Query::rowsArrived, this, [this](int, int last) {
        if (last < m_rows)
            return;
        beginInsertRows({}, m_rows, last);
        m_rows = last + 1;
        endInsertRows();
    });
    rebuild();
}

void DatasetModel::rebuild() {
    m_rows = m_query->isActive() ? m_query->recordCount() : 0;
    m_fieldIndex.clear();
    if (m_columns.empty()) {
        for (int i = 0; i < m_query->fieldCount(); ++i)
            if (m_query->field(i).visible)
                m_fieldIndex.push_back(i);
    } else {
        for (const GridColumn& c : m_columns)
            m_fieldIndex.push_back(m_query->isActive() ? m_query->fieldIndex(c.field) : -1);
    }
}

void DatasetModel::setColumns(std::vector<GridColumn> columns) {
    beginResetModel();
    m_columns = std::move(columns);
    rebuild();
    endResetModel();
}

void DatasetModel::setRowStyler(RowStyler styler) {
    m_styler = std::move(styler);
    if (m_rows > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1));
}

void DatasetModel::setHighlightColumn(int column) {
    if (column == m_highlight)
        return;
    m_highlight = column;
    if (m_rows > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1), {Qt::BackgroundRole});
}

int DatasetModel::fieldIndexOf(int column) const {
    return column >= 0 && column < int(m_fieldIndex.size()) ? m_fieldIndex[size_t(column)] : -1;
}

int DatasetModel::columnOfField(const QString& field) const {
    for (int c = 0; c < int(m_fieldIndex.size()); ++c) {
        const int f = m_fieldIndex[size_t(c)];
        if (f >= 0 && m_query->field(f).name.compare(field, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_fieldIndex.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows || index.column() >= columnCount())
        return {};
    const int field = m_fieldIndex[size_t(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        return field >= 0 ? m_query->displayText(index.row(), field) : QString();
    case Qt::TextAlignmentRole:
        return field >= 0 ? QVariant(int(m_query->field(field).alignment)) : QVariant();
    case Qt::BackgroundRole:
        if (index.column() == m_highlight)
            return m_highlightColor;
        if (m_styler) {
            const QColor c = m_styler(*m_query, index.row()).background;
            if (c.isValid())
                return c;
        }
        return {};
    case Qt::ForegroundRole:
        if (m_styler) {
            const QColor c = m_styler(*m_query, index.row()).foreground;
            if (c.isValid())
                return c;
        }
        return {};
    case Qt::FontRole:
        if (m_styler && m_styler(*m_query, index.row()).bold) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::DecorationRole:
        if (m_styler && index.column() == 0) {
            const QIcon icon = m_styler(*m_query, index.row()).icon;
            if (!icon.isNull())
                return icon;
        }
        return {};
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole) {
        if (!m_columns.empty() && !m_columns[size_t(section)].title.isEmpty())
            return m_columns[size_t(section)].title;
        const int field = m_fieldIndex[size_t(section)];
        return field >= 0 ? m_query->field(field).label() : m_columns[size_t(section)].field;
    }
    return {};
}

} // namespace kml
