#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <vector>

namespace sonvex {

// Writer of the binary ".leq" time-history file: a 576-byte header, one 96-byte channel
// record per channel and the 16-bit sample words (bits 0-10 level in tenths of a dB,
// bits 11-15 marker code). Every number is written little-endian whatever the host.
// The file is built in memory and written in one go.
class TLeqFile
{
public:
    static constexpr int kMaxChannels = 16;
    static constexpr int kMarkerSlots = 16;
    static constexpr int kMarkerNameSize = 20;
    static constexpr quint16 kMagic = 0xF0F0;
    static constexpr quint32 kHeaderSize = 576;
    static constexpr quint32 kChannelRecordSize = 96;
    static constexpr int kLevelMask = 0x07FF;
    static constexpr int kCodeShift = 11;
    static constexpr int kCodeBackground = 15;

    // Sets every header field and channel record to its default (one channel, period 1 s,
    // start 0, no markers), empties the samples and remembers the file name.
    void initialise(const QString& fileName);
    bool isInitialised() const { return m_initialised; }
    bool isModified() const { return m_modified; }
    const QString& fileName() const { return m_fileName; }

    void setStartTime(double seconds);
    void setPeriod(double seconds);
    double startTime() const { return m_startTime; }
    double period() const { return m_period; }

    // False when the code is already defined or all 16 slots are in use; codes outside
    // 1..15 are refused too (0 marks a free slot and only codes 0..15 have a name slot).
    // The name is stored as zero-terminated Latin-1 of at most 19 characters.
    bool defineMarker(int code, const QString& name);
    bool isMarkerDefined(int code) const;
    int markerCount() const { return m_markerCount; }
    int markerSlot(int slot) const; // code in definition slot `slot`, 0 when free or out of range
    QByteArray markerName(int code) const;

    // Appends one word with the low 11 bits of `levelTenths`, then applies code 15 and then `code`.
    void appendSample(int levelTenths, int code);
    int sampleCount() const { return m_sampleCount; }
    int channelCount() const { return m_channelCount; }
    int sampleCode(int sample, int channel) const;
    // Refused when out of range, or when `code` is not below the current code and is not 15.
    void setSampleCode(int sample, int channel, int code);
    quint16 sampleWord(int sample, int channel) const;

    // Writes the whole file; uses `fileName` when given, else the remembered name.
    // False on any failure; an existing file is replaced only by a complete new one.
    bool save(const QString& fileName = QString());
    // The exact bytes save() writes.
    QByteArray fileImage() const;

    // Seconds of a calendar date-time on the file's day count (30 December 1899 is day 215858).
    // Only the date and the clock time are used, never a time zone; an invalid date-time counts
    // as 30 December 1899 00:00.
    static double dateTimeToLeqSeconds(const QDateTime& dateTime);

private:
    struct ChannelRecord
    {
        qint16 kind = -2;
    };

    bool validWord(int sample, int channel) const;

    bool m_initialised = false;
    bool m_modified = false;
    QString m_fileName;
    quint16 m_channelCount = 1;
    double m_period = 1.0;
    qint32 m_sampleCount = 0;
    double m_startTime = 0.0;
    quint16 m_markerCount = 0;
    std::array<quint16, kMarkerSlots> m_markerCodes{};
    std::array<std::array<char, kMarkerNameSize>, kMarkerSlots> m_markerNames{};
    std::array<ChannelRecord, kMaxChannels> m_channels{};
    std::vector<quint16> m_words;
};

} // namespace sonvex
