#include "data/DataSetModel.h"

#include "data/DataSet.h"
#include "data/DisplayFormat.h"

namespace sonvex {

DataSetModel::DataSetModel(DataSet* ds, QObject* parent) : QAbstractTableModel(parent), m_ds(ds)
{
    m_columns = ds ? ds->fieldCount() : 0;
    if (!ds)
        return;
    connect(ds, &DataSet::aboutToReset, this, [this] { beginResetModel(); });
    connect(ds, &DataSet::reset, this, [this] {
        m_columns = m_ds ? m_ds->fieldCount() : 0;
        endResetModel();
    });
    connect(ds, &DataSet::rowsAboutToBeInserted, this, [this](int a, int b) { beginInsertRows({}, a, b); });
    connect(ds, &DataSet::rowsInserted, this, [this] { endInsertRows(); });
    connect(ds, &DataSet::rowsAboutToBeRemoved, this, [this](int a, int b) { beginRemoveRows({}, a, b); });
    connect(ds, &DataSet::rowsRemoved, this, [this] { endRemoveRows(); });
    connect(ds, &DataSet::rowsAboutToBeMoved, this, [this](int from, int to) {
        // The destination counts the rows before the move.
        beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    });
    connect(ds, &DataSet::rowsMoved, this, [this] { endMoveRows(); });
    connect(ds, &DataSet::rowChanged, this, [this](int row) {
        if (m_columns > 0)
            Q_EMIT dataChanged(index(row, 0), index(row, m_columns - 1));
    });
}

int DataSetModel::columnOfField(const QString& name) const
{
    return m_ds ? m_ds->fieldIndex(name) : -1;
}

int DataSetModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_ds)
        return 0;
    return m_ds->recordCount();
}

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    if (!m_ds || !index.isValid() || index.row() >= m_ds->recordCount() || index.column() >= m_columns)
        return {};
    const FieldDef& f = m_ds->field(index.column());
    const QVariant v = m_ds->rowValue(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        return DisplayFormat::fieldText(f, v);
    case Qt::EditRole:
    case RawValueRole:
        return v;
    case FieldNameRole:
        return f.name;
    case Qt::TextAlignmentRole:
        if (isIntegerType(f.type) || isFloatType(f.type))
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    default:
        return {};
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!m_ds)
        return {};
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_columns)
            return {};
        if (role == Qt::DisplayRole)
            return m_ds->field(section).label();
        if (role == FieldNameRole)
            return m_ds->field(section).name;
        return {};
    }
    if (role == Qt::DisplayRole && section >= 0 && section < rowCount())
        return section + 1;
    return {};
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const
{
    if (!m_ds || !index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags fl = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    const FieldDef& f = m_ds->field(index.column());
    if (!f.calculated && !f.readOnly && f.type != FieldType::AutoInc)
        fl |= Qt::ItemIsEditable;
    return fl;
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!m_ds || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    try {
        if (!m_ds->moveTo(index.row()))
            return false;
        m_ds->edit();
        m_ds->setValue(index.column(), value);
        m_ds->post();
    } catch (const DataSetError&) {
        m_ds->cancel();
        return false;
    }
    return true;
}

} // namespace sonvex
