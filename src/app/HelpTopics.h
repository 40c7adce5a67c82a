#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace sonvex {

// Help keywords and how help requests turn into help pages, without any widget.
namespace HelpTopics {

// The main pages, in their order.
enum class MainPage
{
    GettingStarted = 0,
    Before = 1,
    After = 2,
    ViewData = 3
};

inline constexpr char kContextKeyword[] = "_context";
inline constexpr char kQuickStart[] = "QuickStart";
inline constexpr char kViewData[] = "ViewTheMeasurementData";
inline constexpr char kTerminology[] = "Terminology";
inline constexpr char kContents[] = "index";
inline constexpr int kContentsContext = 1000;

// Topics of the wizard steps, step 1 first.
const QStringList& beforeTopics();
const QStringList& afterTopics();
// Every keyword a page of this program can ask for (each has a page in the help folder).
QStringList allKeywords();

// The topic of "_context" for what is on screen; steps count from 1.
QString contextTopic(MainPage page, int beforeStep, int afterStep, bool dataShown);

// The application's help commands.
enum class Command
{
    Context = 1,
    Contents = 3,
    ContextPopup = 8,
    SetPopupPosition = 13,
    Keyword = 0x101
};

struct Answer
{
    bool handled = false;
    QString keyword; // the page to show; empty when nothing is shown
};

// How a help command is answered. `currentTopic` is the topic "_context" stands for now.
Answer answer(int command, const QString& data, const QString& currentTopic);

// The keyword of a context number: 0 and 1000 open the contents.
QString keywordForContext(int context);

// The help page file for `keyword` in `helpFolder`; empty when the keyword could name a path.
QString pageFile(const QString& helpFolder, const QString& keyword);

} // namespace HelpTopics

} // namespace sonvex
