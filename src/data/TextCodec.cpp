#include "data/TextCodec.h"

#include <QHash>

namespace sonvex::TextCodec {

namespace {
// Code page 1252 at 0x80..0x9F; 0 marks the five unassigned positions, which
// map to the C1 control of the same number as the platform does.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

bool hasUtf8Bom(const QByteArray& b)
{
    return b.size() >= 3 && uchar(b[0]) == 0xEF && uchar(b[1]) == 0xBB && uchar(b[2]) == 0xBF;
}

bool isValidUtf8(const QByteArray& bytes, bool allowFourByte)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len = 0;
        char32_t cp = 0;
        if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            if (!allowFourByte)
                return false;
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > n)
            return false;
        for (int k = 1; k < len; ++k) {
            const unsigned char cc = p[i + k];
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
            (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
            return false;
        i += len;
    }
    return true;
}

QString fromWindows1252(const QByteArray& bytes)
{
    QString out;
    out.resize(bytes.size());
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x80 && c <= 0x9F && kHigh[c - 0x80] != 0)
            d[i] = QChar(kHigh[c - 0x80]);
        else
            d[i] = QChar(c);
    }
    return out;
}

QByteArray toWindows1252(const QString& text, bool* lossless)
{
    static const QHash<char16_t, char> reverse = [] {
        QHash<char16_t, char> h;
        for (int k = 0; k < 32; ++k)
            if (kHigh[k] != 0)
                h.insert(kHigh[k], char(0x80 + k));
        return h;
    }();
    bool exact = true;
    QByteArray out(text.size(), Qt::Uninitialized);
    char* d = out.data();
    qsizetype n = 0;
    const char16_t* src = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t u = src[i];
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF) || (u <= 0x9F && kHigh[u - 0x80] == 0)) {
            d[n++] = char(u);
            continue;
        }
        const auto it = reverse.constFind(u);
        if (it != reverse.cend()) {
            d[n++] = *it;
            continue;
        }
        exact = false;
        d[n++] = '?';
        if (QChar::isHighSurrogate(u) && i + 1 < size && QChar::isLowSurrogate(src[i + 1]))
            ++i;
    }
    out.truncate(n);
    if (lossless)
        *lossless = exact;
    return out;
}

QString decodeText(const QByteArray& bytes, bool* wasUtf8)
{
    if (hasUtf8Bom(bytes)) {
        if (wasUtf8)
            *wasUtf8 = true;
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    }
    if (isValidUtf8(bytes)) {
        if (wasUtf8)
            *wasUtf8 = true;
        return QString::fromUtf8(bytes);
    }
    if (wasUtf8)
        *wasUtf8 = false;
    return fromWindows1252(bytes);
}

} // namespace sonvex::TextCodec
