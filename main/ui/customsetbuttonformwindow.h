#pragma once

#include <QPixmap>
#include <QWidget>

#include <array>
#include <memory>

class QCheckBox;
class QPushButton;

namespace Ui
{
class CustomSetButtonFormWindow;
}

namespace Korvex
{

// The subscription drop-down under "订阅 ▾": one box per category. Passive:
// the main window places, shows and hides it and reacts to its boxes.
class CustomSetButtonFormWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit CustomSetButtonFormWindow(QWidget *parent = nullptr);
    ~CustomSetButtonFormWindow() override;

    // The category boxes in newsCategories() order.
    std::array<QCheckBox *, 7> categoryBoxes() const;
    // The buttons filling the area outside the list: a click there closes it.
    std::array<QPushButton *, 4> fillerButtons() const;
    // Sets the list's horizontal position.
    QPushButton *leftFiller() const;
    // What the drop-down covers, drawn under the list: without a compositing
    // window manager a translucent window would show black there.
    void setBackdrop(const QPixmap &backdrop);

signals:
    void buttonFormHasHide();

protected:
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    std::unique_ptr<Ui::CustomSetButtonFormWindow> ui;
    QPixmap m_backdrop;
};

} // namespace Korvex
