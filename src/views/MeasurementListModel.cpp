#include "views/MeasurementListModel.h"

#include "data/DataSet.h"
#include "data/DataSetModel.h"

#include <QBrush>
#include <QColor>

namespace sonvex {

namespace {

const QColor kFailedBackground(220, 38, 38);
const QColor kFailedText(255, 255, 255);

} // namespace

MeasurementListModel::MeasurementListModel(QObject* parent) : QSortFilterProxyModel(parent)
{
    setDynamicSortFilter(false);
}

void MeasurementListModel::setTableModel(DataSetModel* model)
{
    m_model = model;
    if (model) {
        m_columns[0] = model->columnOfField(QStringLiteral("read_order"));
        m_columns[1] = model->columnOfField(QStringLiteral("badge"));
        m_columns[2] = model->columnOfField(QStringLiteral("MeasTime"));
    }
    setSourceModel(model);
    invalidateFilter();
}

void MeasurementListModel::setValidationLookup(std::function<std::optional<bool>(int)> passOf)
{
    m_passOf = std::move(passOf);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
}

void MeasurementListModel::setValidationColouring(bool on)
{
    m_colouring = on;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
}

bool MeasurementListModel::rowFailed(int row) const
{
    if (!m_colouring || !m_passOf || !m_model || row < 0 || row >= rowCount())
        return false;
    const QModelIndex source = mapToSource(index(row, 0));
    const DataSet* ds = m_model->dataSet();
    if (!ds)
        return false;
    bool ok = false;
    const int readOrder = ds->rowValue(source.row(), QStringLiteral("read_order")).toInt(&ok);
    if (!ok)
        return false;
    // The validation table counts from 0 where the read order counts from 1.
    const std::optional<bool> pass = m_passOf(readOrder - 1);
    return pass.has_value() && !*pass;
}

QVariant MeasurementListModel::data(const QModelIndex& index, int role) const
{
    if ((role == Qt::BackgroundRole || role == Qt::ForegroundRole) && index.isValid() &&
        rowFailed(index.row()))
        return QBrush(role == Qt::BackgroundRole ? kFailedBackground : kFailedText);
    return QSortFilterProxyModel::data(index, role);
}

QVariant MeasurementListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && m_model) {
        const QString field =
            QSortFilterProxyModel::headerData(section, orientation, DataSetModel::FieldNameRole).toString();
        if (field == u"read_order")
            return tr("No.");
        if (field == u"MeasTime")
            return tr("Meas.Time");
    }
    return QSortFilterProxyModel::headerData(section, orientation, role);
}

Qt::ItemFlags MeasurementListModel::flags(const QModelIndex& index) const
{
    // Read-only: the list only selects.
    return QSortFilterProxyModel::flags(index) & ~Qt::ItemIsEditable;
}

bool MeasurementListModel::filterAcceptsColumn(int sourceColumn, const QModelIndex&) const
{
    return sourceColumn >= 0 &&
           (sourceColumn == m_columns[0] || sourceColumn == m_columns[1] || sourceColumn == m_columns[2]);
}

} // namespace sonvex
