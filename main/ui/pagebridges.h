#pragma once

#include "pagebridge.h"

#include <QString>

// "Qtconnectjs", the object the live and calendar pages call. It offers the
// pages exactly the members they use and hands each call to the main window,
// so a page script cannot reach the window's other slots (quit, close ...).
class MainPageBridge final : public PageBridge
{
    Q_OBJECT
public:
    using PageBridge::PageBridge;

signals:
    void contentRequested(QString newsId);
    void postWindowRequested(int seconds);
    void popupContentRequested(QString newsId);
    void newsReceived(QString newsContent, QString newsType, QString newsImportance);
    // Visible to the pages: the page in front changed.
    void webViewShowStateChanged();

public slots:
    void jsCallContentWidget(QString newsId) { emit contentRequested(newsId); }
    void showPostWindow(int seconds) { emit postWindowRequested(seconds); }
    void popupCallContentWidget(QString newsId) { emit popupContentRequested(newsId); }
    void onGetNewMessage(QString newsContent, QString newsType, QString newsImportance)
    {
        emit newsReceived(newsContent, newsType, newsImportance);
    }
};

// "miniconnectjs", the object the mini page calls: only the item to open.
class MiniPageBridge final : public PageBridge
{
    Q_OBJECT
public:
    using PageBridge::PageBridge;

signals:
    void itemRequested(QString id);

public slots:
    void achieveid(QString id) { emit itemRequested(id); }
};
