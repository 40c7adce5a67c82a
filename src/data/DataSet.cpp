#include "data/DataSet.h"

#include "data/DataPacket.h"
#include "data/DataSetBinary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace sonvex {

namespace {
// Orders two index keys; nulls sort first, numbers numerically, texts by code point.
int compareKeys(const QVariant& a, const QVariant& b)
{
    const bool an = !a.isValid(), bn = !b.isValid();
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    const QPartialOrdering o = QVariant::compare(a, b);
    if (o == QPartialOrdering::Less)
        return -1;
    if (o == QPartialOrdering::Greater)
        return 1;
    return 0;
}
} // namespace

QVariant RecordView::value(const QString& field) const
{
    const auto it = m_index.constFind(field);
    return it == m_index.cend() ? QVariant() : m_row.at(*it);
}

double RecordView::number(const QString& field) const
{
    const QVariant v = value(field);
    if (!v.isValid())
        return 0.0;
    bool ok = false;
    const double d = v.typeId() == QMetaType::QString ? v.toString().trimmed().toDouble(&ok) : v.toDouble(&ok);
    return ok ? d : 0.0;
}

void RecordView::setValue(const QString& field, const QVariant& v)
{
    const auto it = m_index.constFind(field);
    if (it == m_index.cend())
        return;
    m_row[*it] = coerceValue(m_fields.at(*it).type, v);
}

DataSet::DataSet(const QString& name, QObject* parent) : QObject(parent)
{
    setObjectName(name);
}

DataSet::~DataSet() = default;

int DataSet::fieldIndex(const QString& name) const
{
    return m_byName.value(name, -1);
}

const FieldDef* DataSet::findField(const QString& name) const
{
    const int i = fieldIndex(name);
    return i < 0 ? nullptr : &m_fields.at(i);
}

FieldDef* DataSet::findField(const QString& name)
{
    const int i = fieldIndex(name);
    return i < 0 ? nullptr : &m_fields[i];
}

void DataSet::setFieldDefs(const QVector<FieldDef>& defs)
{
    close();
    m_fields = defs;
    rebuildIndexMap();
}

void DataSet::setFieldTag(const QString& name, int tag)
{
    if (FieldDef* f = findField(name))
        f->tag = tag;
}

void DataSet::setFieldDisplayLabel(const QString& name, const QString& label)
{
    if (FieldDef* f = findField(name))
        f->displayLabel = label;
}

void DataSet::setBooleanTexts(const QString& name, const QString& trueText, const QString& falseText)
{
    if (FieldDef* f = findField(name)) {
        f->trueText = trueText;
        f->falseText = falseText;
    }
}

void DataSet::rebuildIndexMap()
{
    m_byName.clear();
    m_hasCalculated = false;
    for (int i = 0; i < m_fields.size(); ++i) {
        m_byName.insert(m_fields.at(i).name, i);
        m_hasCalculated = m_hasCalculated || m_fields.at(i).calculated;
    }
    m_indexCol = m_indexField.isEmpty() ? -1 : fieldIndex(m_indexField);
}

void DataSet::createDataSet()
{
    replaceContents(nullptr, {});
}

void DataSet::close()
{
    if (m_state == State::Inactive)
        return;
    Q_EMIT aboutToReset();
    m_rows.clear();
    m_changes.clear();
    m_buffer.clear();
    m_state = State::Inactive;
    m_cur = -1;
    m_bof = m_eof = true;
    Q_EMIT reset();
    Q_EMIT stateChanged();
}

void DataSet::requireActive() const
{
    if (m_state == State::Inactive)
        throw DataSetError(tr("%1: Cannot perform this operation on a closed dataset").arg(objectName()));
}

void DataSet::setIndexFieldName(const QString& field)
{
    m_indexField = field;
    m_indexCol = field.isEmpty() ? -1 : fieldIndex(field);
    if (m_state == State::Browse && m_indexCol >= 0) {
        Q_EMIT aboutToReset();
        sortRows();
        Q_EMIT reset();
        setCursor(m_rows.isEmpty() ? -1 : 0, true);
    }
}

void DataSet::sortRows()
{
    if (m_indexCol < 0)
        return;
    const int col = m_indexCol;
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [col](const Row& a, const Row& b) { return compareKeys(a.at(col), b.at(col)) < 0; });
}

int DataSet::sortedPosition(const Row& row, int excluding) const
{
    if (m_indexCol < 0)
        return excluding >= 0 ? excluding : int(m_rows.size());
    const QVariant key = row.at(m_indexCol);
    if (excluding >= 0) {
        // An edited row that is still in order keeps its place.
        const bool afterPrev = excluding == 0 || compareKeys(m_rows.at(excluding - 1).at(m_indexCol), key) <= 0;
        const bool beforeNext = excluding + 1 >= m_rows.size() ||
                                compareKeys(key, m_rows.at(excluding + 1).at(m_indexCol)) <= 0;
        if (afterPrev && beforeNext)
            return excluding;
    }
    // Otherwise after every row whose key is <= the new key (equal keys keep arrival
    // order); the position counts the rows without the one being moved.
    int pos = 0, j = 0;
    for (int i = 0; i < m_rows.size(); ++i) {
        if (i == excluding)
            continue;
        ++j;
        if (compareKeys(m_rows.at(i).at(m_indexCol), key) <= 0)
            pos = j;
    }
    return pos;
}

Row DataSet::blankRow() const
{
    return Row(m_fields.size());
}

void DataSet::calculate(Row& row) const
{
    if (!m_hasCalculated)
        return;
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields.at(i).calculated)
            row[i] = QVariant();
    if (m_calc) {
        RecordView view(m_fields, m_byName, row);
        try {
            m_calc(view);
        } catch (...) {
            // A failing calculation leaves the calculated fields as far as they got.
        }
    }
}

void DataSet::setCursor(int row, bool notify)
{
    m_cur = row;
    if (m_rows.isEmpty()) {
        m_cur = -1;
        m_bof = m_eof = true;
    }
    if (notify)
        Q_EMIT afterScroll();
}

void DataSet::first()
{
    requireActive();
    if (m_state != State::Browse)
        post();
    m_bof = true;
    m_eof = m_rows.isEmpty();
    setCursor(m_rows.isEmpty() ? -1 : 0, true);
}

void DataSet::last()
{
    requireActive();
    if (m_state != State::Browse)
        post();
    m_eof = true;
    m_bof = m_rows.isEmpty();
    setCursor(int(m_rows.size()) - 1, true);
}

void DataSet::next()
{
    requireActive();
    if (m_state != State::Browse)
        post();
    m_bof = false;
    if (m_cur + 1 >= m_rows.size()) {
        m_eof = true;
        return;
    }
    m_eof = false;
    setCursor(m_cur + 1, true);
}

void DataSet::prior()
{
    requireActive();
    if (m_state != State::Browse)
        post();
    m_eof = false;
    if (m_cur <= 0) {
        m_bof = true;
        return;
    }
    m_bof = false;
    setCursor(m_cur - 1, true);
}

bool DataSet::moveTo(int row)
{
    requireActive();
    if (row < 0 || row >= m_rows.size())
        return false;
    if (m_state != State::Browse)
        post();
    m_bof = m_eof = false;
    if (row != m_cur)
        setCursor(row, true);
    return true;
}

bool DataSet::locate(const QString& field, const QVariant& value)
{
    requireActive();
    const int col = fieldIndex(field);
    if (col < 0)
        return false;
    const QVariant key = coerceValue(m_fields.at(col).type, value);
    for (int i = 0; i < m_rows.size(); ++i) {
        if (compareKeys(m_rows.at(i).at(col), key) == 0)
            return moveTo(i);
    }
    return false;
}

QVariant DataSet::value(int i) const
{
    if (i < 0 || i >= m_fields.size())
        return {};
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer.value(i);
    if (m_cur < 0 || m_cur >= m_rows.size())
        return {};
    return m_rows.at(m_cur).at(i);
}

QVariant DataSet::value(const QString& field) const
{
    return value(fieldIndex(field));
}

void DataSet::setValue(const QString& field, const QVariant& v)
{
    const int i = fieldIndex(field);
    if (i < 0)
        throw DataSetError(tr("%1: Field '%2' not found").arg(objectName(), field));
    setValue(i, v);
}

void DataSet::setValue(int i, const QVariant& v)
{
    requireActive();
    if (i < 0 || i >= m_fields.size())
        throw DataSetError(tr("%1: Field index %2 out of range").arg(objectName()).arg(i));
    const FieldDef& f = m_fields.at(i);
    if (m_state == State::Browse) {
        if (m_rows.isEmpty())
            append();
        else
            edit();
    }
    bool ok = true;
    const QVariant coerced = coerceValue(f.type, v, &ok);
    if (!ok)
        throw DataSetError(tr("'%1' is not a valid value for field '%2'").arg(v.toString(), f.name));
    if (m_buffer.at(i) == coerced && m_buffer.at(i).isValid() == coerced.isValid())
        return;
    m_buffer[i] = coerced;
    Q_EMIT fieldChanged(f.name);
}

QVariant DataSet::rowValue(int row, int fieldIndex) const
{
    if (row < 0 || row >= m_rows.size() || fieldIndex < 0 || fieldIndex >= m_fields.size())
        return {};
    return m_rows.at(row).at(fieldIndex);
}

QVariant DataSet::rowValue(int row, const QString& field) const
{
    return rowValue(row, fieldIndex(field));
}

void DataSet::append()
{
    requireActive();
    if (m_state != State::Browse)
        post();
    m_buffer = blankRow();
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields.at(i).type == FieldType::AutoInc)
            m_buffer[i] = QVariant::fromValue<qint64>(m_autoIncNext);
    m_state = State::Insert;
    Q_EMIT stateChanged();
    Q_EMIT afterInsert();
}

void DataSet::edit()
{
    requireActive();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (m_rows.isEmpty()) {
        append();
        return;
    }
    m_buffer = m_rows.at(m_cur);
    m_state = State::Edit;
    Q_EMIT stateChanged();
    Q_EMIT afterEdit();
}

void DataSet::post()
{
    requireActive();
    if (m_state == State::Browse)
        return;
    for (int i = 0; i < m_fields.size(); ++i) {
        const FieldDef& f = m_fields.at(i);
        if (f.required && !f.calculated && !m_buffer.at(i).isValid())
            throw DataSetError(tr("Field '%1' must have a value").arg(f.label()));
    }
    Row row = m_buffer;
    calculate(row);
    if (m_state == State::Insert) {
        for (int i = 0; i < m_fields.size(); ++i)
            if (m_fields.at(i).type == FieldType::AutoInc && row.at(i).isValid())
                m_autoIncNext = std::max(m_autoIncNext, row.at(i).toLongLong() + 1);
        const int pos = sortedPosition(row, -1);
        Q_EMIT rowsAboutToBeInserted(pos, pos);
        m_rows.insert(pos, row);
        m_state = State::Browse;
        m_buffer.clear();
        if (m_logChanges)
            m_changes.append({ChangeKind::Insert, {}});
        Q_EMIT rowsInserted(pos, pos);
        m_bof = m_eof = false;
        m_cur = pos;
    } else {
        const Row original = m_rows.at(m_cur);
        const int pos = sortedPosition(row, m_cur);
        m_state = State::Browse;
        m_buffer.clear();
        if (m_logChanges)
            m_changes.append({ChangeKind::Modify, original});
        if (pos != m_cur) {
            Q_EMIT rowsAboutToBeMoved(m_cur, pos);
            m_rows.removeAt(m_cur);
            m_rows.insert(pos, row);
            const int from = m_cur;
            m_cur = pos;
            Q_EMIT rowsMoved(from, pos);
        } else {
            m_rows[m_cur] = row;
        }
        Q_EMIT rowChanged(m_cur);
    }
    Q_EMIT stateChanged();
    Q_EMIT afterPost();
}

void DataSet::cancel()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    m_state = State::Browse;
    m_buffer.clear();
    Q_EMIT stateChanged();
    Q_EMIT afterCancel();
}

void DataSet::deleteRecord()
{
    requireActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    cancel();
    if (m_rows.isEmpty())
        throw DataSetError(tr("%1: Cannot perform this operation on an empty dataset").arg(objectName()));
    const int at = m_cur;
    Q_EMIT rowsAboutToBeRemoved(at, at);
    if (m_logChanges)
        m_changes.append({ChangeKind::Delete, m_rows.at(at)});
    m_rows.removeAt(at);
    Q_EMIT rowsRemoved(at, at);
    if (m_rows.isEmpty()) {
        setCursor(-1, false);
    } else {
        m_cur = std::min(at, int(m_rows.size()) - 1);
        m_bof = m_eof = false;
    }
    Q_EMIT afterDelete();
    Q_EMIT afterScroll();
}

void DataSet::emptyDataSet()
{
    requireActive();
    cancel();
    Q_EMIT aboutToReset();
    if (m_logChanges)
        for (const Row& r : std::as_const(m_rows))
            m_changes.append({ChangeKind::Delete, r});
    m_rows.clear();
    setCursor(-1, false);
    Q_EMIT reset();
    Q_EMIT afterScroll();
}

void DataSet::appendRecord(const QVariantList& storedValues)
{
    append();
    const QVector<int> cols = storedFieldIndexes();
    for (int k = 0; k < cols.size() && k < storedValues.size(); ++k)
        if (storedValues.at(k).isValid() || m_fields.at(cols.at(k)).type != FieldType::AutoInc)
            m_buffer[cols.at(k)] = coerceValue(m_fields.at(cols.at(k)).type, storedValues.at(k));
    post();
}

void DataSet::refreshCalculated()
{
    if (m_state == State::Inactive || !m_hasCalculated)
        return;
    for (Row& r : m_rows)
        calculate(r);
    if (!m_rows.isEmpty())
        for (int i = 0; i < m_rows.size(); ++i)
            Q_EMIT rowChanged(i);
}

void DataSet::enableControls()
{
    if (m_disabled > 0 && --m_disabled == 0) {
        Q_EMIT controlsEnabled();
        Q_EMIT afterScroll();
    }
}

QVector<int> DataSet::storedFieldIndexes() const
{
    QVector<int> out;
    for (int i = 0; i < m_fields.size(); ++i)
        if (!m_fields.at(i).calculated)
            out.append(i);
    return out;
}

QVector<Row> DataSet::storedRows() const
{
    const QVector<int> cols = storedFieldIndexes();
    QVector<Row> out;
    out.reserve(m_rows.size());
    for (const Row& r : m_rows) {
        Row s;
        s.reserve(cols.size());
        for (int c : cols)
            s.append(r.at(c));
        out.append(std::move(s));
    }
    return out;
}

void DataSet::replaceContents(const QVector<FieldDef>* defs, QVector<Row> stored, qint64 autoIncNext)
{
    if (m_state == State::Edit || m_state == State::Insert)
        cancel();
    Q_EMIT aboutToReset();
    if (defs) {
        m_fields = *defs;
        rebuildIndexMap();
    }
    const QVector<int> cols = storedFieldIndexes();
    m_rows.clear();
    m_rows.reserve(stored.size());
    qint64 nextAuto = std::max<qint64>(1, autoIncNext);
    for (Row& s : stored) {
        Row r = blankRow();
        for (int k = 0; k < cols.size() && k < s.size(); ++k)
            r[cols.at(k)] = std::move(s[k]);
        for (int c : cols)
            if (m_fields.at(c).type == FieldType::AutoInc && r.at(c).isValid())
                nextAuto = std::max(nextAuto, r.at(c).toLongLong() + 1);
        calculate(r);
        m_rows.append(std::move(r));
    }
    m_autoIncNext = nextAuto;
    sortRows();
    m_changes.clear();
    m_buffer.clear();
    const bool wasActive = m_state != State::Inactive;
    m_state = State::Browse;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    m_cur = m_rows.isEmpty() ? -1 : 0;
    Q_EMIT reset();
    if (!wasActive)
        Q_EMIT stateChanged();
    Q_EMIT afterScroll();
}

bool DataSet::loadFromFile(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = tr("%1: %2").arg(QDir::toNativeSeparators(path), f.errorString());
        return false;
    }
    const QByteArray bytes = f.readAll();
    f.close();
    QString why;
    bool ok = false;
    if (DataSetBinary::looksBinary(bytes))
        ok = DataSetBinary::load(*this, bytes, &why);
    else
        ok = DataPacket::load(*this, bytes, &why);
    if (!ok) {
        if (error)
            *error = tr("%1: %2").arg(QDir::toNativeSeparators(path), why);
        return false;
    }
    m_fileName = path;
    return true;
}

bool DataSet::saveToFile(const QString& path, QString* error) const
{
    const bool binary = QFileInfo(path).suffix().compare(QLatin1String("dat"), Qt::CaseInsensitive) == 0;
    const QByteArray bytes = binary ? DataSetBinary::save(*this) : DataPacket::save(*this);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = tr("%1: %2").arg(QDir::toNativeSeparators(path), f.errorString());
        return false;
    }
    return true;
}

} // namespace sonvex
