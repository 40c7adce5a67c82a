#include "data/KVTokenizer.h"

#include <QTest>

using sonvex::TKVTokenizer;

class TestTokenizer : public QObject
{
    Q_OBJECT

private slots:
    void nextToken_data();
    void nextToken();
    void nextNonEmptyToken_data();
    void nextNonEmptyToken();
    void emptyTextIsAtEnd();
    void delimiterAtTheEndLeavesNothing();
    void emptyDelimiterGivesTheWholeText();
    void splitsADownloadLineIntoTimeHistories();
};

void TestTokenizer::nextToken_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("delimiter");
    QTest::addColumn<QStringList>("tokens");

    QTest::newRow("tabs") << "a\tb\t\tc"
                          << "\t" << QStringList{"a", "b", "", "c"};
    QTest::newRow("no delimiter") << "abc"
                                  << "\t" << QStringList{"abc"};
    QTest::newRow("leading delimiter") << "\tx"
                                       << "\t" << QStringList{"", "x"};
    QTest::newRow("multi-character delimiter") << "one::two:three::"
                                               << "::" << QStringList{"one", "two:three"};
    QTest::newRow("overlapping delimiter") << "a:::b"
                                           << "::" << QStringList{"a", ":b"};
}

void TestTokenizer::nextToken()
{
    QFETCH(QString, text);
    QFETCH(QString, delimiter);
    QFETCH(QStringList, tokens);
    TKVTokenizer tokenizer(text, delimiter);
    QStringList got;
    while (!tokenizer.atEnd())
        got << tokenizer.nextToken();
    QCOMPARE(got, tokens);
    QCOMPARE(tokenizer.text(), text);
    QCOMPARE(tokenizer.remainingText(), QString());
}

void TestTokenizer::nextNonEmptyToken_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("tokens");

    QTest::newRow("skips empty and CRLF tokens") << "a\t\t\r\n\tb\t\r\n" << QStringList{"a", "b", ""};
    QTest::newRow("keeps a lone CR") << "\r\tb" << QStringList{"\r", "b"};
    QTest::newRow("only empties") << "\t\t\r\n\t" << QStringList{""};
}

void TestTokenizer::nextNonEmptyToken()
{
    QFETCH(QString, text);
    QFETCH(QStringList, tokens);
    TKVTokenizer tokenizer(text, QStringLiteral("\t"));
    QStringList got;
    do {
        got << tokenizer.nextNonEmptyToken();
    } while (!tokenizer.atEnd());
    QCOMPARE(got, tokens);
}

void TestTokenizer::emptyTextIsAtEnd()
{
    TKVTokenizer tokenizer(QString(), QStringLiteral("\t"));
    QVERIFY(tokenizer.atEnd());
    QCOMPARE(tokenizer.nextToken(), QString());
    QCOMPARE(tokenizer.nextNonEmptyToken(), QString());
    QCOMPARE(tokenizer.lastDelimiterPosition(), -1);
}

void TestTokenizer::delimiterAtTheEndLeavesNothing()
{
    TKVTokenizer tokenizer(QStringLiteral("ab\t"), QStringLiteral("\t"));
    QCOMPARE(tokenizer.nextToken(), QStringLiteral("ab"));
    QCOMPARE(tokenizer.lastDelimiterPosition(), 2);
    QVERIFY(tokenizer.atEnd());
}

void TestTokenizer::emptyDelimiterGivesTheWholeText()
{
    TKVTokenizer tokenizer(QStringLiteral("a b"), QString());
    QCOMPARE(tokenizer.nextToken(), QStringLiteral("a b"));
    QVERIFY(tokenizer.atEnd());
}

void TestTokenizer::splitsADownloadLineIntoTimeHistories()
{
    const QString line = QStringLiteral("1\tnotes\t12:00\tTimeHistory LAeq duration60s Q=3 80.0 \t"
                                        "TimeHistory Peak duration60s Q=0 120.0 \t\t"
                                        "TimeHistory Ch2 duration60s Q=4 70.0 ");
    const qsizetype at = line.toLower().indexOf(QLatin1StringView("timehistory"));
    TKVTokenizer tokenizer(line.mid(at), QStringLiteral("\t"));
    QCOMPARE(tokenizer.nextToken(), QStringLiteral("TimeHistory LAeq duration60s Q=3 80.0 "));
    QCOMPARE(tokenizer.nextToken(), QStringLiteral("TimeHistory Peak duration60s Q=0 120.0 "));
    QCOMPARE(tokenizer.nextToken(), QString()); // no battery history
    QCOMPARE(tokenizer.nextToken(), QStringLiteral("TimeHistory Ch2 duration60s Q=4 70.0 "));
    QVERIFY(tokenizer.atEnd());
}

QTEST_GUILESS_MAIN(TestTokenizer)
#include "tst_tokenizer.moc"
