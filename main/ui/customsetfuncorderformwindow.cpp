#include "customsetfuncorderformwindow.h"
#include "ui_customsetfuncorderformwindow.h"

#include "app/autostart.h"
#include "dialogs.h"
#include "categoryboxes.h"
#include "settings/clientstate.h"
#include "settings/configstore.h"
#include "displayplatform.h"
#include "settings/funcorderrules.h"
#include "settings/categorymask.h"
#include "iconfont.h"
#include "logging.h"
#include "popupscreen.h"
#include "settings/timezones.h"
#include "windowdrag.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QToolTip>

namespace Korvex
{

namespace
{

constexpr int GlyphPointSize = 12;
constexpr int SyncIntervalMs = 500;

const char *const WindowStyle =
    "QWidget#centralwidget{background-color:#ffffff;border:1px solid #9fb0d6;}"
    "QWidget#widget_title{background-color:rgb(36,72,193);}"
    "QLabel#funcOrder_Label{color:#ffffff;font-size:14px;}"
    "QPushButton#funcOrder_close{color:#ffffff;border:none;background:transparent;}"
    "QPushButton#funcOrder_close:hover{color:rgb(253,135,11);}"
    "QPushButton#button_time_info,QPushButton#button_time_help,QPushButton#button_sound_play"
    "{border:none;background:transparent;color:rgb(36,72,193);}"
    "QLabel#label_11,QLabel#label_autostartError,QLabel#label_splitUnavailable"
    "{color:rgb(220,30,30);}";

// Warns once per opening about a value the lists do not offer (the start-up
// load has named a stored text that is none of its key's forms).
void reportFallback(const char *key, const QString &value, const QString &shown)
{
    qCWarning(lcMain).noquote() << "settings window:" << key << "value"
                                << QStringLiteral("\"%1\"").arg(value)
                                << "is not in its list, showing" << shown;
}

} // namespace

CustomSetFuncOrderFormWindow::CustomSetFuncOrderFormWindow(Korvex::ClientState &state,
                                                           QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::CustomSetFuncOrderFormWindow>())
    , m_state(state)
    , m_clock(std::make_shared<Korvex::SystemClock>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowOpacity(1.0);
    setWindowTitle(tr("功能定制"));
    setStyleSheet(QLatin1String(WindowStyle));

    for (const Korvex::TimeZoneEntry &entry : Korvex::timeZoneTable)
        ui->comboBox_timeZone->addItem(QLatin1String(entry.label));
    for (const Korvex::TimeZoneEntry &entry : Korvex::dstTable)
        ui->comboBox_dst->addItem(QLatin1String(entry.label));

    setGlyph(ui->funcOrder_close, IconFont::Close, tr("关闭"));
    setGlyph(ui->label_time_icon, 0xf017, tr("停留时间"));
    setGlyph(ui->label_sound_icon, 0xf0f3, tr("提示声音"));
    setGlyph(ui->button_sound_play, 0xf04b, tr("试听声音"));
    setGlyph(ui->button_time_help, 0xf05a, tr("同步时间说明"));
    setGlyph(ui->label_11, 0xf071, tr("警告"));
    setGlyph(ui->label_screen_icon, 0xf108, tr("弹窗屏幕"));
    ui->button_time_info->setFont(ui->button_sound_play->font());
    ui->button_time_info->setFocusPolicy(Qt::NoFocus);
    // Shows nothing and does nothing; named after its row for screen readers.
    ui->button_time_info->setAccessibleName(tr("停留时间"));
    ui->label_autostartError->hide();
    setSplitAvailable(!DisplayPlatform::isWayland(QGuiApplication::platformName()));

    m_drag = new Common::WindowDrag(this);
    m_drag->addHandle(ui->widget_title);
    m_drag->addHandle(ui->funcOrder_Label);

    m_syncTimer = new QTimer(this);
    m_syncTimer->setInterval(SyncIntervalMs);

    connect(ui->funcOrder_close, &QPushButton::clicked, this,
            &CustomSetFuncOrderFormWindow::onBtnCloseClicked);
    connect(ui->button_sound_play, &QPushButton::clicked, this,
            &CustomSetFuncOrderFormWindow::onBtnSoundPlayClicked);
    connect(ui->button_confirm, &QPushButton::clicked, this,
            &CustomSetFuncOrderFormWindow::onBtnConfirmClicked);
    connect(ui->button_cancel, &QPushButton::clicked, this,
            &CustomSetFuncOrderFormWindow::onBtnCancelClicked);
    Korvex::Dialogs::bindKeys(this, ui->funcOrder_close, ui->button_confirm);
    connect(ui->checkBox_popup, &QCheckBox::stateChanged, this,
            &CustomSetFuncOrderFormWindow::onPopupStateChanged);
    connect(ui->button_autoMatch, &QPushButton::clicked, this,
            &CustomSetFuncOrderFormWindow::onBtnAutoMatchClicked);
    connect(ui->button_time_help, &QPushButton::clicked, this,
            &CustomSetFuncOrderFormWindow::onBtnTimeZoneHelpClicked);
    connect(m_syncTimer, &QTimer::timeout, this,
            &CustomSetFuncOrderFormWindow::sychronizedTimeUpdate);
    sychronizedTimeUpdate();
}

CustomSetFuncOrderFormWindow::~CustomSetFuncOrderFormWindow() = default;

void CustomSetFuncOrderFormWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    sychronizedTimeUpdate();
    m_syncTimer->start();
}

void CustomSetFuncOrderFormWindow::hideEvent(QHideEvent *event)
{
    QMainWindow::hideEvent(event);
    m_syncTimer->stop();
}

void CustomSetFuncOrderFormWindow::setGlyph(QWidget *widget, ushort codePoint, const QString &words)
{
    widget->setFont(IconFont::font(QStringLiteral(":/fontawesome-webfont.ttf"), GlyphPointSize));
    const QString glyph(QChar{codePoint});
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setText(glyph);
    else if (auto *label = qobject_cast<QLabel *>(widget))
        label->setText(glyph);
    if (!words.isEmpty()) {
        widget->setAccessibleName(words);
        widget->setToolTip(words);
    }
}

void CustomSetFuncOrderFormWindow::setClockSource(std::shared_ptr<const Korvex::ClockSource> clock)
{
    m_clock = std::move(clock);
    sychronizedTimeUpdate();
}

void CustomSetFuncOrderFormWindow::setSoundPlayer(SoundPlayer player)
{
    m_playSound = std::move(player);
}

void CustomSetFuncOrderFormWindow::setRememberedTimeZone(int timeZoneIndex, int dstIndex)
{
    m_timeZoneIndex = timeZoneIndex;
    m_dstIndex = dstIndex;
}

void CustomSetFuncOrderFormWindow::setSplitAvailable(bool available)
{
    // The stored side stays as it is: confirm writes back what the greyed boxes show.
    for (QWidget *choice :
         {ui->radioButton_leftSplit, ui->radioButton_rightSplit, ui->radioButton_noSplit})
        choice->setEnabled(available);
    ui->label_splitUnavailable->setText(
        available ? QString()
                  : tr("迷你分屏需要X11桌面：在只有Wayland的会话中，迷你窗口无法停靠在屏幕边缘，"
                       "也无法移动其他程序的窗口。"));
    ui->label_splitUnavailable->setVisible(!available);
}

std::array<QCheckBox *, 7> CustomSetFuncOrderFormWindow::categoryBoxes() const
{
    return {ui->checkBox_kelvora,       ui->checkBox_jingjixinhao, ui->checkBox_waihui,
            ui->checkBox_guijinshu,     ui->checkBox_shiyou,       ui->checkBox_tong,
            ui->checkBox_hongguanjingji};
}

void CustomSetFuncOrderFormWindow::openWindow()
{
    namespace FuncOrder = Korvex::FuncOrder;
    if (isVisible())
        activateWindow();
    const Korvex::FuncSettings &settings = m_state.funcSettings();
    const bool filterBarAuto = settings.filterBar == 1;
    ui->radioButton_filterBar_auto->setChecked(filterBarAuto);
    ui->radioButton_filterBar_manual->setChecked(!filterBarAuto);

    ui->checkBox_popup->setChecked(settings.popup);
    onPopupStateChanged(settings.popup ? Qt::Checked : Qt::Unchecked);

    const FuncOrder::Choice stay = FuncOrder::stayTimeIndex(settings.second);
    ui->comboBox_time->setCurrentIndex(stay.index);
    if (!stay.known)
        reportFallback("second", QString::number(settings.second),
                       ui->comboBox_time->currentText());
    const FuncOrder::Choice sound = FuncOrder::soundIndex(settings.sound);
    ui->comboBox_sound->setCurrentIndex(sound.index);
    if (!sound.known)
        reportFallback("sound", QStringLiteral("?"), ui->comboBox_sound->currentText());

    Korvex::CategoryBoxes::setChecked(categoryBoxes(),
                                      Korvex::categoryStates(settings.popupNewsFeed));

    fillScreenChoices();
    ui->checkBox_autostart->setChecked(Korvex::Autostart::isEnabled());
    ui->label_autostartError->hide();

    switch (settings.split) {
    case Korvex::SplitSetting::Left:
        ui->radioButton_leftSplit->setChecked(true);
        break;
    case Korvex::SplitSetting::NoSplit:
        ui->radioButton_noSplit->setChecked(true);
        break;
    case Korvex::SplitSetting::Right:
        ui->radioButton_rightSplit->setChecked(true);
        break;
    }

    const QStringList stored =
        Korvex::readConfig(QStringLiteral("general_language"),
                           {QStringLiteral("timeZone_index"), QStringLiteral("dst_index")});
    const FuncOrder::Choice zone = FuncOrder::zoneIndex(stored.at(0));
    const FuncOrder::Choice dst = FuncOrder::dstIndex(stored.at(1));
    ui->comboBox_timeZone->setCurrentIndex(zone.index);
    ui->comboBox_dst->setCurrentIndex(dst.index);
    if (!zone.known)
        reportFallback("timeZone_index", stored.at(0), ui->comboBox_timeZone->currentText());
    if (!dst.known)
        reportFallback("dst_index", stored.at(1), ui->comboBox_dst->currentText());

    const bool disagrees = FuncOrder::clockDisagrees(zone.index, dst.index, m_clock->offsets());
    ui->label_11->setVisible(disagrees);
    ui->label_timeZoneWarning->setVisible(disagrees);

    show();
}

void CustomSetFuncOrderFormWindow::fillScreenChoices()
{
    using PopupScreen::Kind;
    const PopupScreen::Choice stored = PopupScreen::parse(
        Korvex::readConfig(PopupScreen::storeGroup(), {PopupScreen::storeKey()}).at(0));
    QComboBox *box = ui->comboBox_screen;
    box->clear();
    box->addItem(tr("主屏幕"), PopupScreen::format({Kind::Primary, {}}));
    box->addItem(tr("鼠标所在的屏幕"), PopupScreen::format({Kind::Pointer, {}}));
    const QList<QScreen *> screens = QGuiApplication::screens();
    QStringList names;
    for (const QScreen *screen : screens)
        names << screen->name();
    const QStringList labels = PopupScreen::labels(names);
    for (int i = 0; i < screens.size(); ++i) {
        // In the display's own pixels, as the desktop's display settings show them.
        const QSize pixels = screens.at(i)->size() * screens.at(i)->devicePixelRatio();
        box->addItem(
            QStringLiteral("%1 (%2×%3)").arg(labels.at(i)).arg(pixels.width()).arg(pixels.height()),
            PopupScreen::format({Kind::Named, labels.at(i)}));
    }
    const QString current = PopupScreen::format(stored);
    if (box->findData(current) < 0)
        box->addItem(tr("%1（未连接）").arg(stored.name), current);
    box->setCurrentIndex(box->findData(current));
}

void CustomSetFuncOrderFormWindow::onBtnConfirmClicked()
{
    namespace FuncOrder = Korvex::FuncOrder;
    Korvex::FuncSettings settings = m_state.funcSettings();
    settings.popup = ui->checkBox_popup->isChecked();
    settings.second = FuncOrder::stayTimeValue(ui->comboBox_time->currentIndex());
    settings.sound = FuncOrder::soundValue(ui->comboBox_sound->currentIndex());
    // A disabled (unsubscribed) box still counts with its checked state.
    settings.popupNewsFeed = Korvex::withCategoryStates(
        settings.popupNewsFeed, Korvex::CategoryBoxes::checkedStates(categoryBoxes()));
    settings.filterBar = ui->radioButton_filterBar_auto->isChecked() ? 1 : 0;
    settings.split = ui->radioButton_leftSplit->isChecked() ? Korvex::SplitSetting::Left
                     : ui->radioButton_noSplit->isChecked() ? Korvex::SplitSetting::NoSplit
                                                            : Korvex::SplitSetting::Right;
    const Korvex::FuncSettingsTexts texts = Korvex::storedTexts(settings);
    Korvex::writeConfig(
        QStringLiteral("funcorder_part1"),
        {QStringLiteral("popup"), QStringLiteral("second"), QStringLiteral("sound")},
        {texts.popup, texts.second, texts.sound});
    Korvex::writeConfig(QStringLiteral("funcorder_part2"), {QStringLiteral("popupNewsFeed")},
                        {texts.popupNewsFeed});
    Korvex::writeConfig(QStringLiteral("funcorder_part1"),
                        {QStringLiteral("filterBar"), QStringLiteral("split")},
                        {texts.filterBar, texts.split});
    // The pop-up program reads it before each pop-up.
    Korvex::writeConfig(PopupScreen::storeGroup(), {PopupScreen::storeKey()},
                        {ui->comboBox_screen->currentData().toString()});
    m_state.setFuncSettings(settings);

    const int zone = ui->comboBox_timeZone->currentIndex();
    const int dst = ui->comboBox_dst->currentIndex();
    if (zone != m_timeZoneIndex || dst != m_dstIndex) {
        setRememberedTimeZone(zone, dst);
        emit sendTimeZoneChanged(Korvex::timeZoneOffsetText(zone, dst));
    }
    Korvex::writeConfig(QStringLiteral("general_language"),
                        {QStringLiteral("timeZone_index"), QStringLiteral("dst_index")},
                        {QString::number(zone), QString::number(dst)});
    // Everything else is saved; a failed login start stays in view with its reason.
    if (!applyAutostart())
        return;
    hide();
}

bool CustomSetFuncOrderFormWindow::applyAutostart()
{
    namespace Autostart = Korvex::Autostart;
    const bool wanted = ui->checkBox_autostart->isChecked();
    if (wanted == Autostart::isEnabled())
        return true;
    const QString path = QDir::toNativeSeparators(Autostart::entryPath());
    QString problem;
    switch (Autostart::setEnabled(wanted, QCoreApplication::applicationFilePath())) {
    case Autostart::Problem::None:
        return true;
    case Autostart::Problem::ProgramPath:
        problem = tr("程序所在的路径无法写入启动项：%1")
                      .arg(QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
        break;
    case Autostart::Problem::CannotWrite:
        problem = tr("无法写入启动项：%1").arg(path);
        break;
    case Autostart::Problem::CannotRemove:
        problem = tr("无法删除启动项：%1").arg(path);
        break;
    }
    ui->label_autostartError->setText(problem);
    ui->label_autostartError->show();
    ui->tabWidget->setCurrentWidget(ui->tab_base);
    return false;
}

void CustomSetFuncOrderFormWindow::onBtnCloseClicked()
{
    hide();
}

void CustomSetFuncOrderFormWindow::onBtnCancelClicked()
{
    hide();
}

void CustomSetFuncOrderFormWindow::onBtnSoundPlayClicked()
{
    const QString resource =
        Korvex::FuncOrder::soundPreviewResource(ui->comboBox_sound->currentIndex());
    if (!resource.isEmpty() && m_playSound)
        m_playSound(resource);
}

void CustomSetFuncOrderFormWindow::onBtnAutoMatchClicked()
{
    const Korvex::ClockOffsets clock = m_clock->offsets();
    ui->comboBox_timeZone->setCurrentIndex(Korvex::autoMatchTimeZone(clock.standardSeconds));
    // Only "DST Off" and "DST On" exist; a two-hour shift shows as on.
    ui->comboBox_dst->setCurrentIndex(qBound(0, Korvex::dstHours(clock.daylightSeconds), 1));
}

void CustomSetFuncOrderFormWindow::onBtnTimeZoneHelpClicked()
{
    QToolTip::showText(
        QCursor::pos(),
        tr("<html><head/><body><p><span style=\" font-family:'微软雅黑';                       "
           "font-size:12pt; color:#000000;\">这是同步的时间。当它与您电脑上的时钟完全匹配，"
           "软件内的所有时间将以您的本地时间显示，从而免去了进行时间矫正</span></p></body></html>"),
        this);
}

void CustomSetFuncOrderFormWindow::sychronizedTimeUpdate()
{
    ui->label_synchronizedTime->setText(
        tr("同步时间 : ") + Korvex::FuncOrder::synchronizedClockText(
                                m_clock->localNow(), ui->comboBox_timeZone->currentIndex(),
                                ui->comboBox_dst->currentIndex()));
}

void CustomSetFuncOrderFormWindow::onPopupStateChanged(int state)
{
    const bool on = state != Qt::Unchecked;
    const std::array<QWidget *, 4> controls{ui->label_time, ui->label_sound, ui->comboBox_time,
                                            ui->comboBox_sound};
    for (QWidget *control : controls)
        control->setEnabled(on);
}

} // namespace Korvex
