#pragma once

#include "intake/tickerbook.h"

#include <QList>
#include <QMainWindow>
#include <QPair>
#include <QPoint>

#include <array>

class QTimer;
namespace Common
{
class WindowDrag;
}

namespace Ui
{
class ToolBarWindow;
}

namespace Korvex
{

// Calendar/news ticker: a slim frameless window, always on top, with up to
// three focus items above the latest ordinary items. The rules live in
// TickerBook and Ticker; this window mirrors them into its two tables.
class ToolBarWindow final : public QMainWindow
{
    Q_OBJECT
public:
    explicit ToolBarWindow(QWidget *parent = nullptr);
    ~ToolBarWindow() override;

    // Raised by the main window before each item it delivers; each row keeps
    // the value it arrived with, so rows can be put back in arrival order.
    int sequenceNumber = 0;

    // How long a focus item stays at the top (60 s unless a test shortens it).
    void setFocusDuration(int milliseconds);
    int focusDuration() const { return m_focusDuration; }

signals:
    void toolBarNeedOpenContent(QString newsId);
    void toolBarWindowNeedHide();

public slots:
    void onBtnExpandClicked();
    void onBtnCloseClicked();
    void onTableCellClicked(int row, int column);
    void onTableCellEntered(int row, int column);
    void onToolBarWindowNeedHide();
    void onApplicationStateChanged(Qt::ApplicationState event);
    void updateTableWithNewMessage(QString newsJson, bool isNewsNeedTop);
    // Several items in arrival order, each counted (sequenceNumber) and entered
    // as by updateTableWithNewMessage; the table is drawn once, after the last.
    void updateTableWithNewMessages(const QList<QPair<QString, bool>> &items);
    void onTimeZoneChanged(QString offsetText);
    void initMessage(QString message);
    void initTableView();
    void updateTableView();
    void onTopNewsNeedToHide();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void writeRow(int row);
    // initTableView() and updateTableView(), unless a batch is being entered.
    void redraw();
    void updateRoundedMask();
    void setExpandGlyph();

    // Presses on the window and on the item text drag it.
    Common::WindowDrag *m_drag = nullptr;
    Ui::ToolBarWindow *ui;
    TickerBook m_book;
    bool m_holdDrawing = false;
    int m_rowHeight = 25;
    std::array<QTimer *, TickerBook::FocusTimers> m_focusTimers{};
    int m_focusDuration = Ticker::DefaultFocusMs;
    Ticker::Zone m_zone;
};

} // namespace Korvex
