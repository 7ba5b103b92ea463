#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class ContentWidget;
class PostWindow;

namespace Korvex
{

class ClientState;

// The service's pages outside the main window: a content window for each item
// opened (from a page, a pop-up, the strip or the table window) and the one
// notice window.
class NewsWindows final : public QObject
{
    Q_OBJECT
public:
    explicit NewsWindows(ClientState &state, QObject *parent = nullptr);
    ~NewsWindows() override;

    // A content window for item `newsId` in front; nobody logged in asks for
    // the login window instead.
    void openItem(const QString &newsId);
    // The service's notice for `seconds`; a new notice starts the time over.
    void showNotice(int seconds);

    // The content window opened last, while it is open.
    ContentWidget *lastContent() const;
    PostWindow *noticeWindow() const { return m_notice.get(); }

signals:
    void loginRequested();

private:
    ClientState &m_state;
    QPointer<ContentWidget> m_content;
    std::unique_ptr<PostWindow> m_notice;
};

} // namespace Korvex
