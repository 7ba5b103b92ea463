#include "closeverifywindow.h"

#include "inprocessclient.h"
#include "testsupport.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTranslator>
#include <QtTest>

using Korvex::CloseVerifyWindow;
using TestSupport::child;

// The close-options dialog as the user meets it, in English.
class TestCloseVerifyWindow final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void confirmReportsTheCheckedChoice();
    void englishTextsFit();

private:
    QRadioButton *choice(const char *name) const
    {
        return child<QRadioButton>(m_dialog.get(), name);
    }
    QPushButton *button(const char *name) const { return child<QPushButton>(m_dialog.get(), name); }

    QTranslator m_translator;
    std::unique_ptr<CloseVerifyWindow> m_dialog;
};

void TestCloseVerifyWindow::initTestCase()
{
    QVERIFY(TestSupport::installEnglish(&m_translator));
    // The look the client applies, paddings included.
    QFile css(QStringLiteral(":/mainwindow.css"));
    QVERIFY(css.open(QIODevice::ReadOnly));
    qApp->setStyleSheet(QString::fromLatin1(css.readAll()));
    m_dialog = std::make_unique<CloseVerifyWindow>();
}

void TestCloseVerifyWindow::confirmReportsTheCheckedChoice()
{
    QSignalSpy keep(m_dialog.get(), &CloseVerifyWindow::radioButton1Clicked);
    QSignalSpy silent(m_dialog.get(), &CloseVerifyWindow::radioButton2Clicked);
    QSignalSpy quit(m_dialog.get(), &CloseVerifyWindow::radioButton3Clicked);
    const auto counts = [&] { return QList<int>{keep.count(), silent.count(), quit.count()}; };

    m_dialog->showChoices();
    QVERIFY(choice("radioButton")->isChecked());
    QTest::mouseClick(button("button_confirm"), Qt::LeftButton);
    QCOMPARE(counts(), (QList<int>{1, 0, 0}));
    // The dialog stays up: hiding it is the choice's handler's work.
    QVERIFY(m_dialog->isVisible());

    choice("radioButton_2")->setChecked(true);
    QTest::mouseClick(button("button_confirm"), Qt::LeftButton);
    QCOMPARE(counts(), (QList<int>{1, 1, 0}));
    choice("radioButton_3")->setChecked(true);
    QTest::mouseClick(button("button_confirm"), Qt::LeftButton);
    QCOMPARE(counts(), (QList<int>{1, 1, 1}));
    // Cross, cancel and opening again on the first choice: tst_windowchrome.
}

void TestCloseVerifyWindow::englishTextsFit()
{
    m_dialog->showChoices();
    QCOMPARE(choice("radioButton_2")->text(),
             QStringLiteral("Silent model (close News Notification and alert)"));
    for (const char *name : {"radioButton", "radioButton_2", "radioButton_3"}) {
        QRadioButton *radio = choice(name);
        QVERIFY2(radio->sizeHint().width() <= radio->width(), name);
    }
    for (const char *name : {"button_confirm", "button_cancel"}) {
        QPushButton *push = button(name);
        QStyleOptionButton option;
        option.initFrom(push);
        option.text = push->text();
        const QRect inside =
            push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push);
        QVERIFY2(push->fontMetrics().horizontalAdvance(push->text()) <= inside.width(), name);
    }
}

QTEST_MAIN(TestCloseVerifyWindow)
#include "tst_closeverifywindow.moc"
