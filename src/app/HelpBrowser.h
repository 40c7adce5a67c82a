#pragma once

#include <QWidget>

class QTextBrowser;
class QToolBar;
class QAction;

namespace sonvex {

// The program's help window: the pages of the help folder, with back, forward and contents.
class HelpBrowser : public QWidget
{
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    void setHelpFolder(const QString& folder) { m_folder = folder; }
    QString helpFolder() const { return m_folder; }
    // Shows the page of `keyword`; a missing page is reported in the window. True when found.
    bool showKeyword(const QString& keyword);
    QString currentKeyword() const { return m_keyword; }
    QTextBrowser* browser() const { return m_browser; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QString m_folder;
    QString m_keyword;
    QTextBrowser* m_browser;
    QToolBar* m_bar;
    QAction* m_backAction;
    QAction* m_forwardAction;
    QAction* m_contentsAction;
};

} // namespace sonvex
