#include "app/HelpBrowser.h"

#include "app/HelpTopics.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace sonvex {

HelpBrowser::HelpBrowser(QWidget* parent)
    : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this)), m_bar(new QToolBar(this))
{
    setObjectName(QStringLiteral("HelpBrowser"));
    resize(760, 620);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_bar->setIconSize(QSize(18, 18));
    m_backAction = m_bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QString(), m_browser,
                                    &QTextBrowser::backward);
    m_forwardAction = m_bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QString(), m_browser,
                                       &QTextBrowser::forward);
    m_contentsAction = m_bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QString(), this,
                                        [this] { showKeyword(QString::fromLatin1(HelpTopics::kContents)); });
    m_backAction->setEnabled(false);
    m_forwardAction->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_backAction, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forwardAction, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        m_keyword = QFileInfo(url.toLocalFile()).completeBaseName();
        setWindowTitle(tr("Sonvex Help") + QStringLiteral(" - ") + m_browser->documentTitle());
    });
    m_browser->setOpenExternalLinks(true);
    m_browser->setFrameShape(QFrame::NoFrame);
    m_browser->document()->setDocumentMargin(18);
    layout->addWidget(m_bar);
    layout->addWidget(m_browser, 1);
    retranslate();
}

bool HelpBrowser::showKeyword(const QString& keyword)
{
    const QString file = HelpTopics::pageFile(m_folder, keyword);
    if (!file.isEmpty() && QFileInfo(file).isFile()) {
        m_browser->setSearchPaths({m_folder});
        m_browser->setSource(QUrl::fromLocalFile(file));
        m_keyword = keyword;
    } else {
        m_keyword.clear();
        m_browser->setHtml(QStringLiteral("<h2>%1</h2><p>%2</p>")
                               .arg(tr("Help page not found").toHtmlEscaped(),
                                    tr("There is no help page \"%1\" in %2.")
                                        .arg(keyword, QDir::toNativeSeparators(m_folder))
                                        .toHtmlEscaped()));
        setWindowTitle(tr("Sonvex Help"));
    }
    show();
    raise();
    activateWindow();
    return !m_keyword.isEmpty();
}

void HelpBrowser::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void HelpBrowser::retranslate()
{
    m_backAction->setText(tr("Back"));
    m_forwardAction->setText(tr("Forward"));
    m_contentsAction->setText(tr("Contents"));
    if (m_keyword.isEmpty())
        setWindowTitle(tr("Sonvex Help"));
}

} // namespace sonvex
