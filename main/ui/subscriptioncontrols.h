#pragma once

#include "categoryboxes.h"

#include <QObject>

class QCheckBox;
class QPushButton;
class QWidget;

namespace Korvex
{

class CustomSetButtonFormWindow;
class CustomSetFuncOrderFormWindow;
class ClientState;

// The subscription as the user sets it: the category boxes of the filter bar
// and of the drop-down under "订阅 ▾" (placed, styled, opened and closed here),
// the subscription mask they change and store, and the settings window's
// pop-up boxes, open only for subscribed categories. It finds the main form's
// widgets by their object names.
class SubscriptionControls final : public QObject
{
    Q_OBJECT
public:
    // Wires the boxes and shows the mask in them.
    SubscriptionControls(QWidget *window, CustomSetButtonFormWindow *dropDown,
                         CustomSetFuncOrderFormWindow *settings, ClientState &state,
                         QObject *parent = nullptr);

    // Sets or clears the subscription bit at `pos` (0..6) and stores the mask at once.
    void setCategory(int pos, bool subscribed);
    // Every set of boxes shows the mask (the settings window's as enabled or not).
    void applySubscriptionMask();
    // The settings window, its pop-up boxes following the subscription.
    void openSettings();

    // Over the window from the button down, the list under the button.
    void openDropDown();
    void closeDropDown();

    // A category box changed: of the filter bar while it is open, else of the drop-down.
    void boxChanged(int state);
    // "全部" of the filter bar: checked, or clicked either way.
    void allChanged(int state);
    void allClicked(bool checked);

signals:
    // The user changed the subscription with a box: the news feed shows it,
    // leaving the filter bar open or closed as it is.
    void subscriptionChanged();

private:
    // The subscription follows `boxes`, where the user made a change.
    void boxChangedIn(const CategoryBoxes::Boxes &boxes, int state);
    // The filter bar's boxes set together ("全部"): one change, not seven.
    void setFilterBarBoxes(bool checked);
    CategoryBoxes::Boxes dropDownBoxes() const;

    QWidget *m_window;
    CustomSetButtonFormWindow *m_dropDown;
    CustomSetFuncOrderFormWindow *m_settings;
    ClientState &m_state;
    QPushButton *m_button;
    QWidget *m_filterBar;
    QCheckBox *m_all;
    CategoryBoxes::Boxes m_filterBarBoxes;
    // Set while boxes are set here: their signals are not a user's change.
    bool m_updating = false;
};

} // namespace Korvex
