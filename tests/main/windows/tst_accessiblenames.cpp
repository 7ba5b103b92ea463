// Every button of every window, as assistive technology reads it: the real
// windows of the main program and the pop-up, walked through their accessible
// interfaces (QAccessible, what AT-SPI serves). No button is read as an empty
// text or as an icon font's private-use code point; glyph buttons have a tool
// tip in words; the usual names ("Close", "Minimise", "Settings") are there.
#include "mainwindow.h"
#include "everywindow.h"
#include "inprocessclient.h"

#include "popupwidget.h"
#include "toolbarwindow.h"
#include "pages/webhost.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QTranslator>
#include <QtTest>

#include <memory>

using Popup::PopupOptions;
using Popup::PopupWidget;

namespace
{

bool hasPrivateUse(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0xe000 && c.unicode() <= 0xf8ff)
            return true;
    }
    return false;
}

struct Element {
    QString window;
    QString objectName;
    QAccessible::Role role;
    QString name;
    QString description;
    QString shownText; // what the widget draws, when it is a button or label
};

bool isButton(QAccessible::Role role)
{
    return role == QAccessible::PushButton || role == QAccessible::ButtonMenu ||
           role == QAccessible::ButtonDropDown || role == QAccessible::CheckBox ||
           role == QAccessible::RadioButton;
}

// Depth first through a window's accessible tree, as a screen reader walks it.
void collect(QAccessibleInterface *iface, const QString &window, QList<Element> &out, int depth = 0)
{
    if (!iface || !iface->isValid() || depth > 64)
        return;
    Element element;
    element.window = window;
    element.role = iface->role();
    element.name = iface->text(QAccessible::Name);
    element.description = iface->text(QAccessible::Description);
    if (QObject *object = iface->object()) {
        element.objectName = object->objectName();
        if (auto *button = qobject_cast<QAbstractButton *>(object))
            element.shownText = button->text();
        else if (auto *label = qobject_cast<QLabel *>(object))
            element.shownText = label->text();
    }
    out << element;
    for (int i = 0; i < iface->childCount(); ++i)
        collect(iface->child(i), window, out, depth + 1);
}

} // namespace

class TestAccessibleNames final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void noButtonReadsAsAGlyphOrNothing();
    void glyphsHaveToolTipsInWords();
    void theUsualNamesAreThere();
    void namesFollowTheState();

private:
    QList<Element> walk() const;

    TestSupport::InProcessClient m_client;
    QTranslator m_popupTranslator;
    TestSupport::EveryWindow m_windows;
    std::unique_ptr<PopupWidget> m_popup;
};

void TestAccessibleNames::initTestCase()
{
    QString error;
    QVERIFY2(m_client.start(TestSupport::InProcessClient::WithService |
                                TestSupport::InProcessClient::English,
                            &error),
             qPrintable(error));
    QVERIFY(m_popupTranslator.load(QStringLiteral(":/source/vek_popup_en.qm")));
    QCoreApplication::installTranslator(&m_popupTranslator);
    TestSupport::storeLoggedIn();
    QAccessible::setActive(true);

    // Every window the user can meet, open, and the pop-up.
    QVERIFY(m_windows.open());
    PopupOptions options;
    options.webHost = Korvex::webHost();
    m_popup = std::make_unique<PopupWidget>(options);
    m_popup->show();
}

void TestAccessibleNames::cleanupTestCase()
{
    m_popup.reset();
    m_windows.close();
    m_client.service.stop();
}

QList<Element> TestAccessibleNames::walk() const
{
    QList<Element> elements;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (!window->isVisible())
            continue;
        const QString name = QLatin1String(window->metaObject()->className()) + QLatin1Char('/') +
                             window->objectName();
        collect(QAccessible::queryAccessibleInterface(window), name, elements);
    }
    return elements;
}

void TestAccessibleNames::noButtonReadsAsAGlyphOrNothing()
{
    const QList<Element> elements = walk();
    QStringList windows;
    int buttons = 0;
    QStringList bad;
    for (const Element &e : elements) {
        if (!windows.contains(e.window))
            windows << e.window;
        if (hasPrivateUse(e.name) || hasPrivateUse(e.description))
            bad << e.window + QLatin1Char(' ') + e.objectName + QStringLiteral(": glyph ") + e.name;
        if (!isButton(e.role))
            continue;
        ++buttons;
        if (e.name.trimmed().isEmpty())
            bad << e.window + QLatin1Char(' ') + e.objectName + QStringLiteral(": no name");
    }
    QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    // The walk reached every window and a good many buttons.
    for (const char *window :
         {"Korvex::MainWindow", "Korvex::ToolBarWindow", "Korvex::CustomSetFuncOrderFormWindow",
          "Korvex::CustomSetButtonFormWindow", "Korvex::PostWindow", "Korvex::ContentWidget",
          "Korvex::Miniwindow", "Korvex::LoginFormWindow", "Korvex::CloseVerifyWindow",
          "Korvex::VersionsWindow", "Korvex::MacExtras", "Popup::PopupWidget"}) {
        const QString prefix = QLatin1String(window) + QLatin1Char('/');
        QVERIFY2(std::any_of(windows.begin(), windows.end(),
                             [&prefix](const QString &w) { return w.startsWith(prefix); }),
                 window);
    }
    QVERIFY2(buttons > 50, qPrintable(QString::number(buttons)));
}

void TestAccessibleNames::glyphsHaveToolTipsInWords()
{
    QStringList bad;
    int glyphs = 0;
    for (const Element &e : walk()) {
        if (!hasPrivateUse(e.shownText))
            continue;
        ++glyphs;
        // The tool tip is what sighted users get for the same glyph.
        if (e.description.trimmed().isEmpty() || e.description != e.name)
            bad << e.window + QLatin1Char(' ') + e.objectName + QStringLiteral(": tool tip \"") +
                       e.description + QStringLiteral("\" name \"") + e.name + QLatin1Char('"');
    }
    QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    QVERIFY2(glyphs >= 15, qPrintable(QString::number(glyphs)));
}

void TestAccessibleNames::theUsualNamesAreThere()
{
    QMap<QString, int> names;
    for (const Element &e : walk()) {
        if (isButton(e.role))
            ++names[e.name];
    }
    // One cross per window that has one: login (six), content, notice, settings,
    // close dialog, about, ticker, mini, pop-up and the alternative bar.
    QVERIFY2(names.value(QStringLiteral("Close")) >= 15,
             qPrintable(QString::number(names.value(QStringLiteral("Close")))));
    for (const char *name :
         {"Minimise", "Settings", "Back to main window", "Sound on or off", "Dock at the left edge",
          "Play sound", "Expand", "Full screen", "Log out", "Close the subscription menu"}) {
        QVERIFY2(names.contains(QLatin1String(name)), name);
    }
}

void TestAccessibleNames::namesFollowTheState()
{
    // The ticker's arrow says what it will do.
    auto *expand = m_windows.main()->toolBarWindow()->findChild<QAbstractButton *>(
        QStringLiteral("button_expand"));
    QVERIFY(expand);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(expand);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Expand"));
    QTest::mouseClick(expand, Qt::LeftButton);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Collapse"));
    QCOMPARE(expand->toolTip(), QStringLiteral("Collapse"));
    QTest::mouseClick(expand, Qt::LeftButton);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Expand"));
}

QTEST_MAIN(TestAccessibleNames)
#include "tst_accessiblenames.moc"
