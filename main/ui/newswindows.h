#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

namespace Korvex
{

class ContentWidget;
class PostWindow;
class ClientState;

// The service's pages outside the main window: a content window for each item
// opened (from a page, a pop-up, the strip or the table window) and the one
// notice window. At most MaxContentWindows content windows stay open: one more
// closes the oldest, so a page that asks in a loop cannot exhaust memory.
class NewsWindows final : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxContentWindows = 20;

    explicit NewsWindows(ClientState &state, QObject *parent = nullptr);
    ~NewsWindows() override;

    // A content window for item `newsId` in front; nobody logged in asks for
    // the login window instead. An id longer than any real one opens nothing.
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
    // Oldest first; closed ones are dropped at the next opening.
    QList<QPointer<ContentWidget>> m_contents;
    std::unique_ptr<PostWindow> m_notice;
};

} // namespace Korvex
