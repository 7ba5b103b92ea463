#pragma once

#include <QMainWindow>

#include <memory>

class QWebView;

namespace Ui
{
class LoginFormWindow;
}

// A small frameless window holding one account page of the service (login,
// registration, password recovery ...), chosen by init() before each showing.
// Closing only hides it.
class LoginFormWindow final : public QMainWindow
{
    Q_OBJECT
public:
    explicit LoginFormWindow(QWidget *parent = nullptr);
    ~LoginFormWindow() override;

    // Page kinds: 1 login, 2 registration, 3 registration check, 4 password
    // change, 5 password recovery, 6 recovery check. Loads the kind's page
    // (again when already shown); a kind outside 1..6 changes nothing.
    void init(int kind);
    int pageKind() const { return m_kind; }
    QWebView *pageView() const;

public slots:
    void onBtnCloseClicked();

private:
    std::unique_ptr<Ui::LoginFormWindow> ui;
    int m_kind = 0;
};
