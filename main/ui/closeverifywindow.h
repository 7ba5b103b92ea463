#pragma once

#include <QMainWindow>

#include <memory>

namespace Ui
{
class CloseVerifyWindow;
}

namespace Korvex
{

// What closing the main window should do: keep the pop-ups, go silent, or
// quit. It only reports the confirmed choice; the main window carries it out,
// and nothing is stored.
class CloseVerifyWindow final : public QMainWindow
{
    Q_OBJECT
public:
    explicit CloseVerifyWindow(QWidget *parent = nullptr);
    ~CloseVerifyWindow() override;

    // Shows the dialog in front, always with the first choice checked.
    void showChoices();

signals:
    void radioButton1Clicked();
    void radioButton2Clicked();
    void radioButton3Clicked();

private slots:
    void onBtnCloseClicked();
    void onBtnConfirmClicked();
    void onBtnCancelClicked();

private:
    std::unique_ptr<Ui::CloseVerifyWindow> ui;
};

} // namespace Korvex
