#pragma once

#include <QWidget>

#include <memory>

class QWebView;

namespace Ui
{
class PostWindow;
}

namespace Korvex
{

class PostWindowCount;

// The notice window in the lower-left corner: the service's notice page for as
// many seconds as the page that asked for it chose. One instance, reused.
class PostWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit PostWindow(QWidget *parent = nullptr);
    ~PostWindow() override;

    PostWindowCount *counter = nullptr;

    QWebView *pageView() const;
    // Shows the window in the lower-left corner of the available area.
    void showInCorner();

public slots:
    void onBtnCloseClicked();

private:
    // Lower-left on the available area, in absolute coordinates.
    QPoint corner() const;

    std::unique_ptr<Ui::PostWindow> ui;
};

} // namespace Korvex
