#pragma once

#include <QWidget>

#include <memory>

class QPushButton;

namespace Ui
{
class MacExtras;
}

namespace Korvex
{

// The second title and tool bar: three circle window buttons, the page
// buttons with icons, a subscription sub-bar that takes their place, and the
// login area. The main window wires its buttons to its own slots.
class MacExtras final : public QWidget
{
    Q_OBJECT
public:
    // `buttonFlags`: three decimal digits, close / minimise / full screen active.
    explicit MacExtras(QWidget *parent = nullptr, int buttonFlags = 111);
    ~MacExtras() override;

    // The bar's own buttons, for the main window's wiring.
    QPushButton *button(const QString &objectName) const;
    // 2 normal, 3 full screen.
    int barState() const { return m_state; }

public slots:
    void dingYueShow();
    void menuShow();
    void onButtonCloseClicked();
    void onButtonMinClicked();
    void onButtonMaxClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refreshButtonImages(int mode);

    std::unique_ptr<Ui::MacExtras> ui;
    int m_flags;
    int m_state;
};

} // namespace Korvex
