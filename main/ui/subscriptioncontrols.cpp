#include "subscriptioncontrols.h"

#include "settings/categorymask.h"
#include "settings/clientstate.h"
#include "settings/configstore.h"
#include "customsetbuttonformwindow.h"
#include "customsetfuncorderformwindow.h"
#include "dialogs.h"
#include "logging.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>

#include <algorithm>

namespace Korvex
{

namespace
{

const char *const ActiveStyle =
    "QPushButton#button2_customSet{color:rgba(253,135,11,1);}                                    "
    "      QPushButton#button2_customSet:hover{color:rgba(253,135,11,1);}";
const char *const NormalStyle =
    "QPushButton#button2_customSet{color:rgba(36,72,193,1);background-color:qlineargradient(x1:0,"
    "y1:0,x2:0,y2:1,stop:0 rgba(255,255,255,1),stop:1 rgba(208,208,209,1));}                     "
    "                    QPushButton#button2_customSet:hover{color:rgba(253,135,11,1);}";

// The filter bar's boxes in newsCategories() order.
const char *const FilterBarBoxNames[] = {
    "newsFeed_kelvora", "newsFeed_jingjixinhao", "newsFeed_waihui",        "newsFeed_guijingshu",
    "newsFeed_shiyou",  "newsFeed_tong",         "newsFeed_hongguanjingji"};

} // namespace

SubscriptionControls::SubscriptionControls(QWidget *window, CustomSetButtonFormWindow *dropDown,
                                           CustomSetFuncOrderFormWindow *settings,
                                           ClientState &state, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_dropDown(dropDown)
    , m_settings(settings)
    , m_state(state)
    , m_button(window->findChild<QPushButton *>(QStringLiteral("button2_customSet")))
    , m_filterBar(window->findChild<QWidget *>(QStringLiteral("widget_newsFeed")))
    , m_all(window->findChild<QCheckBox *>(QStringLiteral("newsFeed_all")))
{
    for (std::size_t i = 0; i < m_filterBarBoxes.size(); ++i)
        m_filterBarBoxes[i] = window->findChild<QCheckBox *>(QLatin1String(FilterBarBoxNames[i]));
    Q_ASSERT(m_button && m_filterBar && m_all &&
             std::find(m_filterBarBoxes.begin(), m_filterBarBoxes.end(), nullptr) ==
                 m_filterBarBoxes.end());

    m_button->setStyleSheet(QLatin1String(NormalStyle));
    connect(m_button, &QPushButton::clicked, this, &SubscriptionControls::openDropDown);
    connect(m_dropDown, &CustomSetButtonFormWindow::buttonFormHasHide, this,
            &SubscriptionControls::closeDropDown);
    for (QPushButton *filler : m_dropDown->fillerButtons())
        connect(filler, &QPushButton::clicked, this, &SubscriptionControls::closeDropDown);

    // The bar offers every category but the calendar's own.
    m_filterBarBoxes[1]->hide();
    // The set of boxes the user changed is the one the subscription follows.
    for (const CategoryBoxes::Boxes &boxes : {dropDownBoxes(), m_filterBarBoxes}) {
        for (QCheckBox *box : boxes)
            connect(box, &QCheckBox::stateChanged, this,
                    [this, boxes](int state) { boxChangedIn(boxes, state); });
    }
    connect(m_all, &QCheckBox::stateChanged, this, &SubscriptionControls::allChanged);
    connect(m_all, &QCheckBox::clicked, this, &SubscriptionControls::allClicked);
    {
        const QSignalBlocker blocker(m_all);
        m_all->setChecked(true);
    }
    applySubscriptionMask();
}

CategoryBoxes::Boxes SubscriptionControls::dropDownBoxes() const
{
    return m_dropDown->categoryBoxes();
}

void SubscriptionControls::setCategory(int pos, bool subscribed)
{
    // Only the seven category bits are ever changed.
    if (pos < 0 || pos > 6) {
        qCWarning(lcMain).noquote() << "controlWidget2Menu : no category bit" << pos;
        return;
    }
    const quint32 bit = 1u << pos;
    const quint32 mask = m_state.subscriptionMask();
    m_state.setSubscriptionMask(subscribed ? (mask | bit) : (mask & ~bit));
    writeConfig(QStringLiteral("customMenu"), {QStringLiteral("value")},
                {formatMask(m_state.subscriptionMask())});
}

void SubscriptionControls::applySubscriptionMask()
{
    const QScopedValueRollback<bool> updating(m_updating, true);
    const CategoryStates states = categoryStates(m_state.subscriptionMask());
    CategoryBoxes::setChecked(dropDownBoxes(), states);
    CategoryBoxes::setEnabled(m_settings->categoryBoxes(), states);
    CategoryBoxes::setChecked(m_filterBarBoxes, states);
    if (std::find(states.begin(), states.end(), false) != states.end())
        m_all->setChecked(false);
}

void SubscriptionControls::openSettings()
{
    applySubscriptionMask();
    if (m_settings->isHidden())
        Dialogs::placeOver(m_settings, m_window);
    m_settings->openWindow();
}

void SubscriptionControls::openDropDown()
{
    QRect area = m_window->geometry();
    area.setTop(m_button->mapToGlobal(QPoint(0, 0)).y());
    m_dropDown->setGeometry(area);
    m_dropDown->setBackdrop(
        m_window->grab(QRect(m_window->mapFromGlobal(area.topLeft()), area.size())));
    // The list starts under the button: the left filler is as wide as the
    // button is far from the window's left edge.
    m_dropDown->leftFiller()->setFixedWidth(m_button->mapTo(m_window, QPoint(0, 0)).x());
    m_dropDown->show();
    m_button->setStyleSheet(QLatin1String(ActiveStyle));
}

void SubscriptionControls::closeDropDown()
{
    m_button->setStyleSheet(QLatin1String(NormalStyle));
    m_dropDown->hide();
}

void SubscriptionControls::boxChanged(int state)
{
    boxChangedIn(m_filterBar->isVisibleTo(m_window) ? m_filterBarBoxes : dropDownBoxes(), state);
}

void SubscriptionControls::boxChangedIn(const CategoryBoxes::Boxes &boxes, int state)
{
    // Boxes set here, or the other boxes of one change.
    if (m_updating)
        return;
    {
        const QScopedValueRollback<bool> updating(m_updating, true);
        if (state == Qt::Unchecked)
            m_all->setChecked(false);
        const CategoryStates states = CategoryBoxes::checkedStates(boxes);
        for (std::size_t i = 0; i < states.size(); ++i)
            setCategory(CategoryBoxes::bitPosition(i), states[i]);
    }
    // Every set of boxes shows the mask now, so a box hidden from view cannot
    // bring a category back later.
    applySubscriptionMask();
    emit subscriptionChanged();
}

void SubscriptionControls::allChanged(int state)
{
    if (state == Qt::Checked)
        setFilterBarBoxes(true);
}

void SubscriptionControls::allClicked(bool checked)
{
    setFilterBarBoxes(checked);
}

void SubscriptionControls::setFilterBarBoxes(bool checked)
{
    if (m_updating)
        return;
    CategoryStates states{};
    states.fill(checked);
    // A click on "全部" reports both its new state and the click: one change.
    if (CategoryBoxes::checkedStates(m_filterBarBoxes) == states)
        return;
    CategoryBoxes::setChecked(m_filterBarBoxes, states);
    boxChangedIn(m_filterBarBoxes, checked ? Qt::Checked : Qt::Unchecked);
}

} // namespace Korvex
