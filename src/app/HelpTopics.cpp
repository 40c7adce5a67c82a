#include "app/HelpTopics.h"

#include <QDir>
#include <QRegularExpression>

namespace sonvex::HelpTopics {

const QStringList& beforeTopics()
{
    static const QStringList topics{QStringLiteral("ConnectToTheReader1"), QStringLiteral("SetTheClock"),
                                    QStringLiteral("ClearTheMemory"), QStringLiteral("MeasurementSetup"),
                                    QStringLiteral("DisplayOptions")};
    return topics;
}

const QStringList& afterTopics()
{
    static const QStringList topics{
        QStringLiteral("ConnectToTheReader"),        QStringLiteral("DownloadTheMeasurementData"),
        QStringLiteral("CreateAMeasurementReport"),  QStringLiteral("CustomiseTheMeasurementReport"),
        QStringLiteral("PrintTheMeasurementReport"), QStringLiteral("ExportTheMeasurementData")};
    return topics;
}

QStringList allKeywords()
{
    QStringList keywords{QString::fromLatin1(kContents), QString::fromLatin1(kQuickStart),
                         QString::fromLatin1(kViewData), QString::fromLatin1(kTerminology)};
    keywords << beforeTopics() << afterTopics();
    // The settings window's pages.
    keywords << QStringLiteral("ProgramOptions1") << QStringLiteral("RS232Connections")
             << QStringLiteral("ViewOptions") << QStringLiteral("Languages");
    return keywords;
}

QString contextTopic(MainPage page, int beforeStep, int afterStep, bool dataShown)
{
    switch (page) {
    case MainPage::GettingStarted:
        return QString::fromLatin1(kQuickStart);
    case MainPage::Before:
        return beforeTopics().value(beforeStep - 1, QString::fromLatin1(kQuickStart));
    case MainPage::After:
        return afterTopics().value(afterStep - 1, QString::fromLatin1(kQuickStart));
    case MainPage::ViewData:
        return QString::fromLatin1(dataShown ? kViewData : kQuickStart);
    }
    return QString::fromLatin1(kQuickStart);
}

QString keywordForContext(int context)
{
    Q_UNUSED(context)
    // The help has one contents page; every context number the program uses (0, 1000) opens it.
    return QString::fromLatin1(kContents);
}

Answer answer(int command, const QString& data, const QString& currentTopic)
{
    switch (static_cast<Command>(command)) {
    case Command::Context:
        return {true, keywordForContext(data.toInt())};
    case Command::Contents:
        return {true, keywordForContext(0)};
    case Command::ContextPopup:
    case Command::SetPopupPosition:
        return {true, {}};
    case Command::Keyword: {
        const QString keyword = data == QLatin1String(kContextKeyword) ? currentTopic : data;
        return {true, keyword};
    }
    }
    return {false, {}};
}

QString pageFile(const QString& helpFolder, const QString& keyword)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_]+$"));
    if (!plain.match(keyword).hasMatch())
        return {};
    return QDir(helpFolder).filePath(keyword + QStringLiteral(".html"));
}

} // namespace sonvex::HelpTopics
