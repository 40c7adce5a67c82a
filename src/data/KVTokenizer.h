#pragma once

#include <QString>

namespace sonvex {

// Splits a text at a delimiter (any string, found by plain substring search).
// The delimiter is never part of a token. Used for tab-separated download lines
// and for the list of time-history strings that follows them.
class TKVTokenizer
{
public:
    TKVTokenizer(const QString& text, const QString& delimiter);

    // The text before the next delimiter, or all of the remaining text when there is none;
    // the remaining text then drops the token and the delimiter.
    QString nextToken();
    // Repeats nextToken() until a token is neither empty nor exactly "\r\n";
    // an empty result means the text was used up first.
    QString nextNonEmptyToken();
    bool atEnd() const { return m_position >= m_text.size(); }

    const QString& text() const { return m_text; }
    const QString& delimiter() const { return m_delimiter; }
    QString remainingText() const { return m_text.mid(m_position); }
    // Position (0-based, in the full text) where nextToken() last found the delimiter; -1 when it found none.
    qsizetype lastDelimiterPosition() const { return m_lastDelimiter; }

private:
    QString m_text;
    QString m_delimiter;
    qsizetype m_position = 0; // start of the remaining text in m_text
    qsizetype m_lastDelimiter = -1;
};

} // namespace sonvex
