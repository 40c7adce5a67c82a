// Any text as a time-history string: decoded, summarised between cursors, written as a Leq file in memory.
#include "data/KVTimeHistory.h"

#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    sonvex::TKVTimeHistory h(true, true);
    h.setExchangeRate(size % 2 ? 3 : 5);
    h.setData(text);
    const double a = h.startTime();
    const double b = a + (h.sampleCount() * h.samplePeriod()) / 86400.0;
    h.spanFor(a, b);
    h.spanFor(b, a);
    h.spanForWholeRecording();
    int index = 0;
    h.indexOfTime((a + b) / 2, index);
    h.scaleLevelAxis({});
    return 0;
}
