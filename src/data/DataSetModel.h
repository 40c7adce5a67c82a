#pragma once

#include <QAbstractTableModel>
#include <QPointer>

namespace sonvex {

class DataSet;

// Presents a table as an item model: one column per field (calculated fields
// included), header texts from the display labels, values formatted for the
// user. Edits go through the table's edit/post so its rules apply.
class DataSetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Roles {
        RawValueRole = Qt::UserRole + 1, // the stored value, null as an invalid QVariant
        FieldNameRole,
    };

    explicit DataSetModel(DataSet* ds, QObject* parent = nullptr);

    DataSet* dataSet() const { return m_ds; }
    int columnOfField(const QString& name) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    QPointer<DataSet> m_ds;
    int m_columns = 0;
};

} // namespace sonvex
