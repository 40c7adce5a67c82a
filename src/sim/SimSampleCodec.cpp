#include "sim/SimSampleCodec.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace sonvex {
namespace SimSampleCodec {

namespace {

constexpr double kPeakDbPerDoubling = 6.02;
constexpr double kVoltsPerCount = 0.1169;

// Every distinct magnitude with the smallest word that gives it, ascending.
const std::vector<std::pair<quint32, quint16>>& magnitudeTable()
{
    static const std::vector<std::pair<quint32, quint16>> table = [] {
        std::vector<std::pair<quint32, quint16>> t;
        for (quint16 w = 0; w < 0x2000; ++w)
            t.emplace_back(magnitude(w), w);
        std::sort(t.begin(), t.end());
        t.erase(
            std::unique(t.begin(), t.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
            t.end());
        return t;
    }();
    return table;
}

double scaleFactor(int q)
{
    return q == 3 ? 3.0103 : double(q);
}

double correction(const ChannelCoding& c)
{
    double d = c.calOffset;
    if (c.q == 4)
        d -= 15.4;
    else if (c.q == 5)
        d -= 33.8;
    if (c.dual)
        d += 10.0;
    return d;
}

} // namespace

quint32 magnitude(quint16 word)
{
    const quint32 mantissa = word & 0xFFu;
    const quint32 shift = (word >> 8) & 0x1Fu;
    return ((mantissa << 16) >> shift) * 59u / 50u;
}

double level(quint16 word, const ChannelCoding& coding)
{
    // A magnitude of 0 reads like 1: the bottom of the scale.
    const double m = std::max<quint32>(magnitude(word), 1u);
    return 80.0 + std::log2(m / coding.period) * scaleFactor(coding.q) + correction(coding);
}

quint16 encodeLevel(double wanted, const ChannelCoding& coding)
{
    const auto& table = magnitudeTable();
    const double target =
        coding.period * std::exp2((wanted - 80.0 - correction(coding)) / scaleFactor(coding.q));
    auto it = std::lower_bound(table.begin(), table.end(), target,
                               [](const auto& e, double v) { return double(e.first) < v; });
    if (it == table.end())
        return std::prev(it)->second;
    quint16 best = it->second;
    if (it != table.begin()) {
        const quint16 below = std::prev(it)->second;
        if (std::abs(level(below, coding) - wanted) <= std::abs(level(best, coding) - wanted))
            best = below;
    }
    return best;
}

quint16 markerWord(int hour, int minute)
{
    hour = std::clamp(hour, 0, 23);
    minute = std::clamp(minute, 0, 59);
    return quint16(kMarkerFlag | (hour / 10) << 12 | (hour % 10) << 8 | (minute / 10) << 4 | (minute % 10));
}

double peakLevel(quint16 word, double calOffset)
{
    const int count = word & 0x3FF;
    return 84.0 + (count > 0 ? kPeakDbPerDoubling * std::log2(double(count)) : 0.0) + calOffset;
}

double batteryVolts(quint16 word)
{
    return (word >> 10) * kVoltsPerCount;
}

quint16 encodePeak(double peak, double volts, double calOffset)
{
    const double exact = std::exp2((peak - 84.0 - calOffset) / kPeakDbPerDoubling);
    int count = std::clamp(int(std::floor(exact)), 0, 1023);
    if (count < 1023 && std::abs(peakLevel(quint16(count + 1), calOffset) - peak) <
                            std::abs(peakLevel(quint16(count), calOffset) - peak))
        ++count;
    const int battery = std::clamp(int(std::lround(volts / kVoltsPerCount)), 0, 63);
    return quint16(battery << 10 | count);
}

} // namespace SimSampleCodec
} // namespace sonvex
