#include "toolbarwindow.h"
#include "ui_toolbarwindow.h"

#include "logging.h"
#include "windowdrag.h"
#include "iconfont.h"
#include "windowlook.h"

#include <QApplication>
#include <QBitmap>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

namespace Korvex
{

namespace
{

constexpr int ItemPointSize = 10;
constexpr int LabelColumn = 0;
constexpr int SequenceColumn = 0;
constexpr int StarColumn = 1;
constexpr int IdColumn = 2;
constexpr int TextColumn = 3;

QColor colour(Ticker::Rgb rgb)
{
    return QColor(static_cast<QRgb>(rgb));
}

// Empty rows stay quiet next to real items.
QColor placeholderColour()
{
    return QColor(160, 160, 160);
}

QTableWidgetItem *cell(QTableWidget *table, int row, int column)
{
    QTableWidgetItem *item = table->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled);
        table->setItem(row, column, item);
    }
    return item;
}

} // namespace

ToolBarWindow::ToolBarWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::ToolBarWindow)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowOpacity(1.0);
    ui->setupUi(this);
    setMouseTracking(true);
    ui->tableWidget->setMouseTracking(true);
    ui->tableWidget->viewport()->setMouseTracking(true);
    m_drag = new Common::WindowDrag(this);
    // The table still gets every event, so clicks and hovering keep working.
    m_drag->addHandle(ui->tableWidget->viewport());
    ui->tableWidget_2->setAttribute(Qt::WA_TranslucentBackground);
    ui->tableWidget_2->setAttribute(Qt::WA_TransparentForMouseEvents);
    updateRoundedMask();

    WindowLook::setGlyph(ui->button_close, IconFont::Close, ItemPointSize, tr("关闭"));
    setExpandGlyph();

    for (int column = SequenceColumn; column < TextColumn; ++column)
        ui->tableWidget->hideColumn(column);
    ui->tableWidget->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui->tableWidget->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui->tableWidget_2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui->tableWidget_2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    move(10, 10);
    m_rowHeight = ui->tableWidget->rowHeight(0);

    for (QTimer *&timer : m_focusTimers) {
        timer = new QTimer(this);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, &ToolBarWindow::onTopNewsNeedToHide);
    }
    connect(ui->button_expand, &QPushButton::clicked, this, &ToolBarWindow::onBtnExpandClicked);
    connect(ui->button_close, &QPushButton::clicked, this, &ToolBarWindow::onBtnCloseClicked);
    connect(ui->tableWidget, &QTableWidget::cellClicked, this, &ToolBarWindow::onTableCellClicked);
    connect(ui->tableWidget, &QTableWidget::cellEntered, this, &ToolBarWindow::onTableCellEntered);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &ToolBarWindow::onApplicationStateChanged);
    initTableView();
    updateTableView();
}

ToolBarWindow::~ToolBarWindow()
{
    delete ui;
}

void ToolBarWindow::setFocusDuration(int milliseconds)
{
    m_focusDuration = qMax(0, milliseconds);
}

void ToolBarWindow::onBtnExpandClicked()
{
    m_book.setExpanded(!m_book.expanded());
    setExpandGlyph();
    updateTableView();
}

void ToolBarWindow::onBtnCloseClicked()
{
    emit toolBarWindowNeedHide();
}

void ToolBarWindow::onTableCellClicked(int row, int column)
{
    // A press that dragged the window is not a click on the item under it.
    if (column != TextColumn || m_drag->movedSincePress())
        return;
    const Ticker::Row &item = m_book.slot(row).row;
    if (!m_book.slot(row).placeholder && item.hasContent())
        emit toolBarNeedOpenContent(item.contentId);
}

void ToolBarWindow::onTableCellEntered(int row, int column)
{
    if (column != TextColumn)
        return;
    const TickerBook::Slot &slot = m_book.slot(row);
    const bool opens = !slot.placeholder && slot.row.hasContent();
    ui->tableWidget->setCursor(opens ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (slot.placeholder)
        return;
    QFont tipFont = QToolTip::font();
    tipFont.setPointSize(ItemPointSize);
    QToolTip::setFont(tipFont);
    QToolTip::showText(QCursor::pos(), Ticker::toolTipText(slot.row.text), ui->tableWidget);
}

void ToolBarWindow::onToolBarWindowNeedHide()
{
    emit toolBarWindowNeedHide();
}

void ToolBarWindow::onApplicationStateChanged(Qt::ApplicationState event)
{
    Q_UNUSED(event)
}

void ToolBarWindow::updateTableWithNewMessage(QString newsJson, bool isNewsNeedTop)
{
    qCDebug(lcMain).noquote() << "toolBarWindow get newsJson:" << Ticker::logExcerpt(newsJson)
                              << "  , isNewsNeedPopup:" << isNewsNeedTop;
    const Ticker::ItemResult result =
        Ticker::rowFromItem(newsJson, isNewsNeedTop, m_zone, sequenceNumber);
    if (result.outcome == Ticker::ItemResult::ParseError) {
        qCWarning(lcMain).noquote() << "QJsonParseError [ToolBarWindow]:" << result.parseError;
        return;
    }
    if (result.outcome == Ticker::ItemResult::Dropped)
        return;

    if (isNewsNeedTop) {
        // The timer of the oldest focus row is reused: that row ends now, the
        // same way as when its time is up.
        QTimer *timer = m_focusTimers.at(static_cast<size_t>(m_book.nextFocusTimer()));
        if (timer->isActive()) {
            timer->stop();
            onTopNewsNeedToHide();
        }
        m_book.addFocus(result.row);
        timer->start(m_focusDuration);
    } else {
        m_book.addOrdinary(result.row);
    }
    qCDebug(lcTickerRows).noquote() << "ticker row" << result.row.sequence << result.row.contentId
                                    << Ticker::logExcerpt(result.row.text);
    redraw();
}

void ToolBarWindow::updateTableWithNewMessages(const QList<QPair<QString, bool>> &items)
{
    m_holdDrawing = true;
    for (const QPair<QString, bool> &item : items) {
        ++sequenceNumber;
        updateTableWithNewMessage(item.first, item.second);
    }
    m_holdDrawing = false;
    redraw();
}

void ToolBarWindow::redraw()
{
    if (m_holdDrawing)
        return;
    initTableView();
    updateTableView();
}

void ToolBarWindow::onTimeZoneChanged(QString offsetText)
{
    m_zone = Ticker::zoneFromOffsetText(offsetText);
}

void ToolBarWindow::initMessage(QString message)
{
    Q_UNUSED(message)
}

void ToolBarWindow::initTableView()
{
    for (int row = 0; row < TickerBook::RowCount; ++row)
        writeRow(row);
}

void ToolBarWindow::updateTableView()
{
    for (int row = 0; row < TickerBook::RowCount; ++row) {
        const bool hidden = !m_book.rowVisible(row);
        ui->tableWidget->setRowHidden(row, hidden);
        ui->tableWidget_2->setRowHidden(row, hidden);
    }
    setFixedHeight(m_book.windowHeight(m_rowHeight));
    ui->label->setVisible(m_book.sideLabelVisible());
}

void ToolBarWindow::onTopNewsNeedToHide()
{
    m_book.endOldestFocus();
    redraw();
}

void ToolBarWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    updateRoundedMask();
}

void ToolBarWindow::writeRow(int row)
{
    const TickerBook::Slot &slot = m_book.slot(row);
    const Ticker::Row &item = slot.row;
    const QString dash = Ticker::placeholder();
    QFont font = ui->tableWidget->font();
    font.setPointSize(ItemPointSize);

    QTableWidgetItem *label = cell(ui->tableWidget_2, row, LabelColumn);
    label->setText(slot.placeholder ? dash : item.label);
    label->setForeground(slot.placeholder ? placeholderColour() : colour(item.labelColour));
    label->setBackground(Qt::transparent);
    label->setTextAlignment(Qt::AlignCenter);
    label->setFont(font);

    cell(ui->tableWidget, row, SequenceColumn)
        ->setText(slot.placeholder ? dash : QString::number(item.sequence));
    cell(ui->tableWidget, row, StarColumn)->setText(item.star);
    cell(ui->tableWidget, row, IdColumn)->setText(item.contentId);

    QTableWidgetItem *text = cell(ui->tableWidget, row, TextColumn);
    text->setText(item.text);
    text->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    text->setFont(font);
    text->setForeground(slot.placeholder ? placeholderColour() : colour(item.textColour));
    text->setBackground(colour(item.background));
}

void ToolBarWindow::updateRoundedMask()
{
    QBitmap bitmap(size());
    bitmap.fill(Qt::white);
    QPainter painter(&bitmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(bitmap.rect(), 2, 2);
    painter.end();
    setMask(bitmap);
}

void ToolBarWindow::setExpandGlyph()
{
    const bool expanded = m_book.expanded();
    WindowLook::setGlyph(ui->button_expand, expanded ? 0xf062 : 0xf063, ItemPointSize,
                         expanded ? tr("收起") : tr("展开"));
}

} // namespace Korvex
