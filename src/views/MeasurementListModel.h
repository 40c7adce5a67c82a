#pragma once

#include <QSortFilterProxyModel>

#include <functional>
#include <optional>

namespace sonvex {

class DataSetModel;

// The measurement list over the measurement table's model: the columns "No." (read order), the
// badge and "Meas.Time", in the table's order; with validation colouring on, the rows of failed
// soak tests on red.
class MeasurementListModel : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit MeasurementListModel(QObject* parent = nullptr);

    void setTableModel(DataSetModel* model);
    DataSetModel* tableModel() const { return m_model; }
    // The pass result of the validation record for a read order; nothing when there is none.
    void setValidationLookup(std::function<std::optional<bool>(int readOrder)> passOf);
    void setValidationColouring(bool on);
    bool validationColouring() const { return m_colouring; }
    // Whether row `row` of the list is drawn as failed.
    bool rowFailed(int row) const;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

protected:
    bool filterAcceptsColumn(int sourceColumn, const QModelIndex& sourceParent) const override;

private:
    DataSetModel* m_model = nullptr;
    int m_columns[3] = {-1, -1, -1}; // read_order, badge, MeasTime
    std::function<std::optional<bool>(int)> m_passOf;
    bool m_colouring = false;
};

} // namespace sonvex
