#include "frontpanel/qvantelmainpage.h"

#include "frontpanel/headphonepositioninputs.h"
#include "frontpanel/qvantelbanner.h"
#include "frontpanel/qvantelsoftkeys.h"
#include "frontpanel/qvantelwindow.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/matrixsettings.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelstatuspanel.h"

#include <QLabel>
#include <QTest>

#include <memory>

class TestQVantelMainPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void freshPage();
    void inputNamesFollowTheMatrix();
    void lamps();
    void softKeyLabels();
    void mixingButtonByAccessLevel();
    void statusOverridesReachTheBanner();

private:
    std::unique_ptr<QVantelWindow> m_window;
    QVantelMainPage *m_page = nullptr;
};

void TestQVantelMainPage::init()
{
    accessLevel = AccessLevel::Operator;
    headphonePositionInputs = kDefaultHeadphonePositionInputs;
    m_window = std::make_unique<QVantelWindow>();
    m_page = m_window->mainPage();
    QVERIFY(m_page);
    QCOMPARE(m_window->page(QVantel::MainPage), m_page);
}

void TestQVantelMainPage::cleanup()
{
    m_window.reset();
    destroySharedObjects();
    accessLevel = AccessLevel::Operator;
}

void TestQVantelMainPage::freshPage()
{
    QCOMPARE(m_page->banner()->geometry(), QRect(130, 334, 545, 80));
    QCOMPARE(m_page->banner()->roleLabel(1)->text(), QStringLiteral("Program"));
    QCOMPARE(m_page->banner()->roleLabel(2)->text(), QStringLiteral("- - -"));
    QCOMPARE(m_page->infoLamp(0)->text(), QStringLiteral("Info 1"));
    QCOMPARE(m_page->infoLamp(1)->text(), QStringLiteral("Info 2"));
    QCOMPARE(m_page->contactLamp(0)->text(), QStringLiteral("Contact 1\nOff"));
    QCOMPARE(m_page->contactLamp(1)->text(), QStringLiteral("Contact 2\nOff"));
    QCOMPARE(m_page->inputButton(4)->geometry(), QRect(696, 7, 98, 66));
    QCOMPARE(m_page->softkeyButton(6)->geometry(), QRect(689, 430, 98, 45));
    QCOMPARE(m_page->softkeyButton(7), nullptr);
    QCOMPARE(m_page->statusPanel()->codecMode(), 1);
}

void TestQVantelMainPage::inputNamesFollowTheMatrix()
{
    TMatrixSettings *matrix = matrixSettings();
    // Configuration bytes are the input plus 1; 0 and bytes beyond the matrix name no input.
    QVERIFY(matrix->setAudioConfig(0, {2, 1, 0, 27}, false));
    QCOMPARE(m_page->inputButton(0)->text(), matrix->inputName(1));
    QCOMPARE(m_page->inputButton(1)->text(), matrix->inputName(0));
    QCOMPARE(m_page->inputButton(2)->text(), QString());
    QCOMPARE(m_page->inputButton(3)->text(), QString());
    QVERIFY(matrix->setAudioConfig(1, {3, 4, 5, 6}, false));
    QCOMPARE(m_page->inputButton(4)->text(), matrix->inputName(2));
    QCOMPARE(m_page->inputButton(7)->text(), matrix->inputName(5));

    // A renamed input reaches the buttons the position table names (entries 1 and 5 hold
    // input 2), whatever the configuration shows there now.
    // Button 4 shows input 2 by its configuration but not by the table: it keeps the old name.
    const QString oldName = matrix->inputName(2);
    QVERIFY(matrix->setInputName(2, QStringLiteral("Guest")));
    QCOMPARE(m_page->inputButton(1)->text(), QStringLiteral("Guest"));
    QCOMPARE(m_page->inputButton(5)->text(), QStringLiteral("Guest"));
    QCOMPARE(m_page->inputButton(4)->text(), oldName);
    QCOMPARE(m_page->inputButton(0)->text(), matrix->inputName(1));

    // Positions other than 0 and 1 are not columns.
    m_page->inputButton(0)->setText(QStringLiteral("marker"));
    m_page->matrixAudioConfigChanged(QVantel::Inputs(2));
    QCOMPARE(m_page->inputButton(0)->text(), QStringLiteral("marker"));
    m_page->refreshInputNames();
    QCOMPARE(m_page->inputButton(0)->text(), matrix->inputName(1));
}

void TestQVantelMainPage::lamps()
{
    QVantelButton *info2 = m_page->infoLamp(1);
    m_page->setInfoLamp(1, true);
    QVERIFY(QVantelMainPage::isLampOn(info2));
    QCOMPARE(info2->palette().color(QPalette::Window), QColor(Qt::red));
    QCOMPARE(info2->palette().brush(QPalette::Window).style(), Qt::NoBrush);
    QVERIFY(!QVantelMainPage::isLampOn(m_page->infoLamp(0)));
    m_page->setInfoLamp(1, false);
    QVERIFY(!QVantelMainPage::isLampOn(info2));

    // Index 5 of a label change is the second lamp; an empty label shows the lamp's name.
    m_page->infoLabelChanged(5, QStringLiteral("Studio busy"));
    QCOMPARE(info2->text(), QStringLiteral("Studio busy"));
    m_page->infoLabelChanged(1, QString());
    QCOMPARE(info2->text(), QStringLiteral("Info 2"));

    QVantelButton *contact1 = m_page->contactLamp(0);
    m_page->contactLabelChanged(0, QStringLiteral("Door"));
    QCOMPARE(contact1->text(), QStringLiteral("Door\nOff"));
    m_page->setContactLamp(0, true);
    QCOMPARE(contact1->text(), QStringLiteral("Door\nOn"));
    m_page->contactLabelChanged(0, QString());
    QCOMPARE(contact1->text(), QStringLiteral("Contact 1\nOn"));
    m_page->setContactLamp(7, true);
    QCOMPARE(contact1->text(), QStringLiteral("Contact 1\nOn"));
    // Switching off a lamp that is already off leaves its text alone.
    m_page->setContactLamp(1, false);
    m_page->contactLamp(1)->setText(QStringLiteral("marker"));
    m_page->setContactLamp(1, false);
    QCOMPARE(m_page->contactLamp(1)->text(), QStringLiteral("marker"));
}

void TestQVantelMainPage::softKeyLabels()
{
    // Not connected: the writes fail at once, the model still changes and signals.
    softkey(2)->setCategory(QVantelSoftkey::Contacts);
    QCOMPARE(m_page->softkeyButton(2)->text(), QStringLiteral("Contact 1"));
    softkey(6)->setCategory(QVantelSoftkey::Shortcuts);
    QCOMPARE(m_page->softkeyButton(6)->text(), QStringLiteral("Home"));
    softkey(2)->setCategory(QVantelSoftkey::None);
    QCOMPARE(m_page->softkeyButton(2)->text(), QString());
    QCOMPARE(m_page->softkeyButton(6)->text(), QStringLiteral("Home"));
}

void TestQVantelMainPage::mixingButtonByAccessLevel()
{
    m_window->show();
    m_page->show();
    QVERIFY(!m_page->mixingButton()->isVisible());
    QVERIFY(!m_page->mixingCaption()->isVisible());
    QVERIFY(m_page->settingsButton()->isVisible());

    m_page->hide();
    accessLevel = AccessLevel::Expert;
    m_page->show();
    QVERIFY(m_page->mixingButton()->isVisible());
    QVERIFY(m_page->mixingCaption()->isVisible());
}

void TestQVantelMainPage::statusOverridesReachTheBanner()
{
    IVantelStatusPanel *status = m_page;
    status->setCodecMode(8, 0);
    QCOMPARE(m_page->statusPanel()->codecMode(), 8);
    QCOMPARE(m_page->banner()->roleLabel(2)->text(), QStringLiteral("Coord"));
    // The values the strip holds already stop the banner too.
    m_page->banner()->roleLabel(1)->setText(QStringLiteral("marker"));
    status->setCodecMode(8, 0);
    QCOMPARE(m_page->banner()->roleLabel(1)->text(), QStringLiteral("marker"));
    status->setCodecMode(8, 1);
    QCOMPARE(m_page->banner()->roleLabel(1)->text(), QStringLiteral("Program"));

    status->setLinkState(1, 3);
    QCOMPARE(m_page->statusPanel()->linkState(1), 3);
    QCOMPARE(m_page->banner()->record(1).state, 3);
    status->setLinkState(9, 4);
    QCOMPARE(m_page->statusPanel()->linkState(2), 4);
    QCOMPARE(m_page->banner()->record(2).state, 4);
    // Equal to the strip: the banner is not touched even when it differs.
    m_page->banner()->setLinkState(1, 6);
    status->setLinkState(1, 3);
    QCOMPARE(m_page->banner()->record(1).state, 6);
}

QTEST_MAIN(TestQVantelMainPage)
#include "tst_qvantelmainpage.moc"
