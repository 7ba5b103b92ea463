#include "everywindow.h"

#include "closeverifywindow.h"
#include "contentwidget.h"
#include "customsetbuttonformwindow.h"
#include "customsetfuncorderformwindow.h"
#include "loginflow.h"
#include "loginformwindow.h"
#include "macextras.h"
#include "mainwindow.h"
#include "miniwindow.h"
#include "postwindow.h"
#include "toolbarwindow.h"
#include "versionswindow.h"

#include <QtTest>

namespace TestSupport
{

EveryWindow::EveryWindow() = default;

EveryWindow::~EveryWindow()
{
    close();
}

void EveryWindow::close()
{
    m_macBar.reset();
    m_about.reset();
    m_closeDialog.reset();
    m_main.reset();
}

bool EveryWindow::open()
{
    m_main = std::make_unique<Korvex::MainWindow>();
    if (!QTest::qWaitForWindowExposed(m_main.get()))
        return false;
    m_main->move(0, 0);
    m_main->toolBarWindow()->show();
    m_main->onBtn3FuncOrderClicked();
    m_main->onBtn2CustomSetClicked();
    m_main->loginFlow()->showLogin();
    Korvex::LoginFlow *login = m_main->loginFlow();
    for (int i = Korvex::LoginFlow::Login; i <= Korvex::LoginFlow::RecoveryCheck; ++i)
        login->window(static_cast<Korvex::LoginFlow::Window>(i))->show();
    m_main->showPostWindow(3600);
    m_main->jsCallContentWidget(QStringLiteral("4101"));
    m_main->miniWindow()->dockAt(QPoint(0, 0));
    m_closeDialog = std::make_unique<Korvex::CloseVerifyWindow>();
    m_closeDialog->show();
    m_about = std::make_unique<Korvex::VersionsWindow>();
    m_about->show();
    m_macBar = std::make_unique<Korvex::MacExtras>(nullptr, 111);
    m_macBar->show();
    if (!QTest::qWaitFor(
            [this] { return m_main->contentWidget() && m_main->contentWidget()->isVisible(); },
            20000))
        return false;
    for (const QString &name : names()) {
        if (!QTest::qWaitForWindowExposed(window(name)))
            return false;
    }
    return true;
}

QStringList EveryWindow::names()
{
    return {QStringLiteral("main"),     QStringLiteral("ticker"), QStringLiteral("settings"),
            QStringLiteral("dropdown"), QStringLiteral("login"),  QStringLiteral("notice"),
            QStringLiteral("content"),  QStringLiteral("mini"),   QStringLiteral("close"),
            QStringLiteral("about"),    QStringLiteral("macbar")};
}

QWidget *EveryWindow::window(const QString &name) const
{
    const QHash<QString, QWidget *> windows{
        {QStringLiteral("main"), m_main.get()},
        {QStringLiteral("ticker"), m_main->toolBarWindow()},
        {QStringLiteral("settings"), m_main->funcOrderWindow()},
        {QStringLiteral("dropdown"), m_main->customSetButtonFormWindow()},
        {QStringLiteral("login"), m_main->loginWindow()},
        {QStringLiteral("notice"), m_main->postWindow()},
        {QStringLiteral("content"), m_main->contentWidget()},
        {QStringLiteral("mini"), m_main->miniWindow()},
        {QStringLiteral("close"), m_closeDialog.get()},
        {QStringLiteral("about"), m_about.get()},
        {QStringLiteral("macbar"), m_macBar.get()}};
    return windows.value(name);
}

} // namespace TestSupport
