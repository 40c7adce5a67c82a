#pragma once

// How a badge stores its logged samples, as the Reader prints them: one 16-bit
// word per sample period, written as four hexadecimal digits.
//
// A sample word holds an 8-bit mantissa (bits 0-7) and a right shift (bits
// 8-12); its magnitude is mantissa * 65536 >> shift, scaled by 59/50. Bit 14
// flags a peak event, bit 13 an overload. A word with bit 15 set is a time
// marker whose remaining bits are the hour and the minute as two BCD pairs.
// Peak-data words hold the peak count in bits 0-9 and the battery count above.
//
// The encoder is the exact inverse of the Reader-side decoding: it picks the
// word whose decoded level is nearest to the wanted one.

#include <QtGlobal>

namespace sonvex {
namespace SimSampleCodec {

// What decoding a channel depends on.
struct ChannelCoding
{
    double period = 60;   // sample period in seconds
    int q = 3;            // exchange rate the level scale is built on (3, 4, 5)
    double calOffset = 0; // first calibration offset, added when decoding
    bool dual = false;    // dual-channel Reader: decoded levels are 10 dB higher
};

constexpr quint16 kPeakFlag = 0x4000;
constexpr quint16 kOverloadFlag = 0x2000;
constexpr quint16 kMarkerFlag = 0x8000;

quint32 magnitude(quint16 word);
double level(quint16 word, const ChannelCoding& coding);
// The sample word (flags clear) whose level is nearest to `wanted`; levels
// outside the scale give its lowest or highest word.
quint16 encodeLevel(double wanted, const ChannelCoding& coding);

quint16 markerWord(int hour, int minute);

double peakLevel(quint16 word, double calOffset);
double batteryVolts(quint16 word);
// The peak-data word nearest to a peak level and a battery voltage.
quint16 encodePeak(double peakLevel, double volts, double calOffset);

} // namespace SimSampleCodec
} // namespace sonvex
