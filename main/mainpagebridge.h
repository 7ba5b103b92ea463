#pragma once

#include <QObject>
#include <QString>

// "Qtconnectjs", the object the live and calendar pages call. It offers the
// pages exactly the members they use and hands each call to the main window,
// so a page script cannot reach the window's other slots (quit, close ...).
class MainPageBridge final : public QObject
{
    Q_OBJECT
public:
    explicit MainPageBridge(QObject *parent = nullptr);

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
