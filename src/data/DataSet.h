#pragma once

#include "data/FieldDef.h"

#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVector>

#include <functional>
#include <stdexcept>

namespace sonvex {

class DataSetError : public std::runtime_error
{
public:
    explicit DataSetError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

using Row = QVector<QVariant>;

// A row's values by field name; handed to the calculate-fields handler, which
// reads stored fields and writes calculated ones.
class RecordView
{
public:
    RecordView(const QVector<FieldDef>& fields, const QHash<QString, int>& index, Row& row)
        : m_fields(fields), m_index(index), m_row(row)
    {
    }
    QVariant value(const QString& field) const;
    QString text(const QString& field) const { return value(field).toString(); }
    double number(const QString& field) const; // null or not a number = 0
    bool isNull(const QString& field) const { return !value(field).isValid(); }
    void setValue(const QString& field, const QVariant& v);

private:
    const QVector<FieldDef>& m_fields;
    const QHash<QString, int>& m_index;
    Row& m_row;
};

// The in-memory table: ordered field definitions, rows of typed values with
// null, a current-row cursor, browse/edit/insert states, an optional index on
// one field, a change log, calculated fields and the events views rely on.
class DataSet : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum class ChangeKind { Insert = 4, Modify = 8, Delete = 2 };

    explicit DataSet(const QString& name = {}, QObject* parent = nullptr);
    ~DataSet() override;

    // --- structure
    const QVector<FieldDef>& fields() const { return m_fields; }
    int fieldCount() const { return int(m_fields.size()); }
    int fieldIndex(const QString& name) const; // -1 when absent
    const FieldDef& field(int i) const { return m_fields.at(i); }
    const FieldDef* findField(const QString& name) const;
    FieldDef* findField(const QString& name);
    void setFieldDefs(const QVector<FieldDef>& defs); // closes the table first
    void setFieldTag(const QString& name, int tag);
    void setFieldDisplayLabel(const QString& name, const QString& label);
    void setBooleanTexts(const QString& name, const QString& trueText, const QString& falseText);

    using CalcHandler = std::function<void(RecordView&)>;
    void setCalcFieldsHandler(CalcHandler h) { m_calc = std::move(h); }

    // --- lifecycle
    void createDataSet(); // empty table, browse state
    void close();
    bool isActive() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    QString name() const { return objectName(); }
    QString fileName() const { return m_fileName; }
    void setFileName(const QString& f) { m_fileName = f; }

    // --- index on one field (ascending, stable). Empty = insertion order.
    void setIndexFieldName(const QString& field);
    QString indexFieldName() const { return m_indexField; }

    // --- rows and cursor
    int recordCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    int recNo() const { return m_cur; } // 0-based; -1 when empty
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    void first();
    void last();
    void next();
    void prior();
    bool moveTo(int row); // false when out of range
    bool locate(const QString& field, const QVariant& value);

    // Values of the current record (the edit buffer while editing or inserting).
    QVariant value(const QString& field) const;
    QVariant value(int fieldIndex) const;
    QString text(const QString& field) const { return value(field).toString(); }
    bool isNull(const QString& field) const { return !value(field).isValid(); }
    // Outside edit/insert, the first assignment puts the record into edit state.
    void setValue(const QString& field, const QVariant& v);
    void setValue(int fieldIndex, const QVariant& v);
    void clearValue(const QString& field) { setValue(field, QVariant()); }

    // Values of any row, calculated fields included, without moving the cursor.
    QVariant rowValue(int row, int fieldIndex) const;
    QVariant rowValue(int row, const QString& field) const;
    const Row& rowAt(int row) const { return m_rows.at(row); }

    // --- editing
    void append();
    void insert() { append(); }
    void edit();
    void post();
    void cancel();
    void deleteRecord();
    void emptyDataSet();
    void appendRecord(const QVariantList& storedValues); // in field order, then post
    // Recompute calculated fields of every row (after a setting they use changed).
    void refreshCalculated();

    // --- change log
    bool logChanges() const { return m_logChanges; }
    void setLogChanges(bool on) { m_logChanges = on; }
    int changeCount() const { return int(m_changes.size()); }
    void mergeChangeLog() { m_changes.clear(); }
    struct Change
    {
        ChangeKind kind;
        Row original; // the row as it was before (empty for inserts)
    };
    const QVector<Change>& changes() const { return m_changes; }

    // --- suspended display updates (counted)
    void disableControls() { ++m_disabled; }
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }

    // --- bulk replacement used by the loaders: structure (optional) and rows
    // replace everything at once; the table is never left half-loaded.
    void replaceContents(const QVector<FieldDef>* defs, QVector<Row> storedRows, qint64 autoIncNext = 0);
    // Rows with only stored values in the order of the stored fields.
    QVector<Row> storedRows() const;
    QVector<int> storedFieldIndexes() const;
    qint64 autoIncNext() const { return m_autoIncNext; }
    void setChangeLog(QVector<Change> changes) { m_changes = std::move(changes); }
    // PARAMS of the last packet read (LCID, DEFAULT_ORDER, PRIMARY_KEY...), written back.
    const QMap<QString, QString>& packetParams() const { return m_params; }
    void setPacketParams(const QMap<QString, QString>& p) { m_params = p; }

    // --- persistence (XML data packet, private binary form); errors name the file
    bool loadFromFile(const QString& path, QString* error = nullptr);
    bool saveToFile(const QString& path, QString* error = nullptr) const;

Q_SIGNALS:
    void afterScroll();
    void afterEdit();
    void afterPost();
    void afterInsert();
    void afterDelete();
    void afterCancel();
    void fieldChanged(const QString& field);
    void stateChanged();
    // Structural notifications for item-model adapters (always emitted).
    void aboutToReset();
    void reset();
    void rowsAboutToBeInserted(int first, int last);
    void rowsInserted(int first, int last);
    void rowsAboutToBeRemoved(int first, int last);
    void rowsRemoved(int first, int last);
    void rowsAboutToBeMoved(int from, int to);
    void rowsMoved(int from, int to);
    void rowChanged(int row);
    void controlsEnabled();

private:
    void requireActive() const;
    void rebuildIndexMap();
    void calculate(Row& row) const;
    int sortedPosition(const Row& row, int excluding) const;
    void setCursor(int row, bool notify);
    Row blankRow() const;
    void sortRows();

    QVector<FieldDef> m_fields;
    QHash<QString, int> m_byName;
    QVector<Row> m_rows;
    Row m_buffer;
    State m_state = State::Inactive;
    int m_cur = -1;
    bool m_bof = true;
    bool m_eof = true;
    int m_disabled = 0;
    bool m_logChanges = true;
    QVector<Change> m_changes;
    QString m_indexField;
    int m_indexCol = -1;
    CalcHandler m_calc;
    QString m_fileName;
    qint64 m_autoIncNext = 1;
    QMap<QString, QString> m_params;
    bool m_hasCalculated = false;
};

} // namespace sonvex
