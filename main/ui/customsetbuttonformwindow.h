#pragma once

#include <QWidget>

#include <array>
#include <memory>

class QCheckBox;
class QPushButton;

namespace Ui
{
class CustomSetButtonFormWindow;
}

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

signals:
    void buttonFormHasHide();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    std::unique_ptr<Ui::CustomSetButtonFormWindow> ui;
};
