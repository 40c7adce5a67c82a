#include "data/KVTokenizer.h"

namespace sonvex {

TKVTokenizer::TKVTokenizer(const QString& text, const QString& delimiter)
    : m_text(text), m_delimiter(delimiter)
{
}

QString TKVTokenizer::nextToken()
{
    // An empty delimiter would be "found" at every position and never consume anything:
    // it is treated as absent, so the whole remaining text is the token.
    const qsizetype found = m_delimiter.isEmpty() ? -1 : m_text.indexOf(m_delimiter, m_position);
    m_lastDelimiter = found;
    QString token;
    if (found < 0) {
        token = m_text.mid(m_position);
        m_position = m_text.size();
    } else {
        token = m_text.mid(m_position, found - m_position);
        m_position = found + m_delimiter.size();
    }
    return token;
}

QString TKVTokenizer::nextNonEmptyToken()
{
    while (!atEnd()) {
        QString token = nextToken();
        if (!token.isEmpty() && token != QLatin1String("\r\n"))
            return token;
    }
    return {};
}

} // namespace sonvex
