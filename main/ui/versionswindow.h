#pragma once

#include <QMainWindow>
#include <QUrl>

#include <memory>

namespace Ui
{
class VersionsWindow;
}

namespace Korvex
{

// The about window: logo, the service's two addresses, the version and the
// release notes. One for the whole run; closing only hides it.
class VersionsWindow final : public QMainWindow
{
    Q_OBJECT
public:
    explicit VersionsWindow(QWidget *parent = nullptr);
    ~VersionsWindow() override;

signals:
    // A link button was clicked: the main window's link handler opens it.
    void urlClicked(QUrl url);

public slots:
    void onBtnCloseClicked();
    void onBtnKelvoraClicked();
    void onBtnZhiBoDanYeClicked();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void paintBackground();

    std::unique_ptr<Ui::VersionsWindow> ui;
};

} // namespace Korvex
