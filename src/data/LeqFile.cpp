#include "data/LeqFile.h"

#include <QSaveFile>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace sonvex {

namespace {

template <typename T> void put(QByteArray& image, qsizetype offset, T value)
{
    qToLittleEndian<T>(value, image.data() + offset);
}

} // namespace

void TLeqFile::initialise(const QString& fileName)
{
    m_fileName = fileName;
    m_channelCount = 1;
    m_period = 1.0;
    m_sampleCount = 0;
    m_startTime = 0.0;
    m_markerCount = 0;
    m_markerCodes.fill(0);
    for (auto& name : m_markerNames)
        name.fill('\0');
    m_channels.fill(ChannelRecord{});
    m_words.clear();
    m_initialised = true;
    m_modified = true;
}

void TLeqFile::setStartTime(double seconds)
{
    if (!m_initialised)
        return;
    m_startTime = seconds;
    m_modified = true;
}

void TLeqFile::setPeriod(double seconds)
{
    if (!m_initialised)
        return;
    m_period = seconds;
    m_modified = true;
}

bool TLeqFile::isMarkerDefined(int code) const
{
    if (!m_initialised || code <= 0)
        return false;
    for (quint16 c : m_markerCodes) {
        if (c == code)
            return true;
    }
    return false;
}

bool TLeqFile::defineMarker(int code, const QString& name)
{
    if (!m_initialised || code <= 0 || code >= kMarkerSlots || isMarkerDefined(code))
        return false;
    for (quint16& slot : m_markerCodes) {
        if (slot != 0)
            continue;
        slot = static_cast<quint16>(code);
        auto& target = m_markerNames[static_cast<size_t>(code)];
        target.fill('\0');
        const QByteArray latin = name.toLatin1().left(kMarkerNameSize - 1);
        std::memcpy(target.data(), latin.constData(), static_cast<size_t>(latin.size()));
        ++m_markerCount;
        m_modified = true;
        return true;
    }
    return false;
}

int TLeqFile::markerSlot(int slot) const
{
    if (!m_initialised || slot < 0 || slot >= kMarkerSlots)
        return 0;
    return m_markerCodes[static_cast<size_t>(slot)];
}

QByteArray TLeqFile::markerName(int code) const
{
    if (!m_initialised || code < 0 || code >= kMarkerSlots)
        return {};
    return QByteArray(m_markerNames[static_cast<size_t>(code)].data());
}

bool TLeqFile::validWord(int sample, int channel) const
{
    return m_initialised && sample >= 0 && sample < m_sampleCount && channel >= 0 && channel < m_channelCount;
}

void TLeqFile::appendSample(int levelTenths, int code)
{
    if (!m_initialised)
        return;
    // One word per channel keeps the sample-major layout; the writer only ever has one channel.
    for (int c = 0; c < m_channelCount; ++c)
        m_words.push_back(c == 0 ? static_cast<quint16>(levelTenths & kLevelMask) : 0);
    ++m_sampleCount;
    setSampleCode(m_sampleCount - 1, 0, kCodeBackground);
    setSampleCode(m_sampleCount - 1, 0, code);
    m_modified = true;
}

quint16 TLeqFile::sampleWord(int sample, int channel) const
{
    if (!validWord(sample, channel))
        return 0;
    return m_words[static_cast<size_t>(channel + sample * m_channelCount)];
}

int TLeqFile::sampleCode(int sample, int channel) const
{
    return sampleWord(sample, channel) >> kCodeShift;
}

void TLeqFile::setSampleCode(int sample, int channel, int code)
{
    if (!validWord(sample, channel))
        return;
    quint16& word = m_words[static_cast<size_t>(channel + sample * m_channelCount)];
    const int current = word >> kCodeShift;
    if (code < 0 || (code >= current && code != kCodeBackground))
        return;
    word = static_cast<quint16>((word & kLevelMask) | ((code & 0x1F) << kCodeShift));
    m_modified = true;
}

QByteArray TLeqFile::fileImage() const
{
    if (!m_initialised)
        return {};
    const qsizetype wordsSize = qsizetype(m_sampleCount) * m_channelCount * 2;
    QByteArray image(kHeaderSize + qsizetype(kChannelRecordSize) * m_channelCount + wordsSize, '\0');

    put<quint16>(image, 0, kMagic);
    put<quint16>(image, 2, m_channelCount);
    put<quint32>(image, 4, kHeaderSize);
    put<quint32>(image, 8, kChannelRecordSize);
    put<double>(image, 12, m_period);
    put<qint32>(image, 20, m_sampleCount);
    put<double>(image, 24, m_startTime);
    put<quint16>(image, 32, m_markerCount);
    for (int k = 0; k < kMarkerSlots; ++k) {
        put<quint16>(image, 34 + 2 * k, m_markerCodes[static_cast<size_t>(k)]);
        std::memcpy(image.data() + 98 + kMarkerNameSize * k, m_markerNames[static_cast<size_t>(k)].data(),
                    kMarkerNameSize);
    }
    // Offsets 66..97 and 418..575 stay zero.

    qsizetype offset = kHeaderSize;
    for (int c = 0; c < m_channelCount; ++c) {
        put<qint16>(image, offset, m_channels[static_cast<size_t>(c)].kind);
        offset += kChannelRecordSize; // the rest of the record is zero
    }
    for (quint16 word : m_words) {
        put<quint16>(image, offset, word);
        offset += 2;
    }
    return image;
}

bool TLeqFile::save(const QString& fileName)
{
    if (!m_initialised)
        return false;
    const QString name = fileName.isEmpty() ? m_fileName : fileName;
    if (name.isEmpty())
        return false;
    const QByteArray image = fileImage();
    // QSaveFile writes beside the target and renames on commit, so a failed or short
    // write never leaves a partial file (and never damages an existing one).
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(image) != image.size()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    if (!file.commit())
        return false;
    m_modified = false;
    return true;
}

double TLeqFile::dateTimeToLeqSeconds(const QDateTime& dateTime)
{
    const QDate date = dateTime.isValid() ? dateTime.date() : QDate(1899, 12, 30);
    const QTime time = dateTime.isValid() ? dateTime.time() : QTime(0, 0);
    const int year = date.year();
    const int month = date.month();
    const double y = month >= 3 ? year : year - 1;
    const double m = month >= 3 ? month + 1 : month + 13;
    const double days = std::floor(365.25 * y) - std::floor(y / 100.0) + std::floor(y / 400.0) +
                        std::floor(30.6001 * m) + date.day() - 478164.0;
    return days * 86400.0 + 3600.0 * time.hour() + 60.0 * time.minute() + time.second() +
           (time.msec() + 0.0001) / 1000.0;
}

} // namespace sonvex
