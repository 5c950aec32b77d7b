#include "app/TPreviewWindow.h"
#include "config/ConfigStore.h"
#include "graph/TAnGraph.h"
#include "graph/TOsaX.h"
#include "measure/Globals.h"
#include "measure/TMereni.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

class TPreviewWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void FreshConfigurationShows160m();
    void SelectedBandAndImpedanceComeFromTheSettings();
    void UnusableSettingsFallBack();
    void SweepWithoutAnalyzerEndsByTheWatchdog();

private:
    void WriteIni(const QByteArray &Text);
};

void TPreviewWindowTest::init()
{
    QFile::remove(QString::fromStdString(KivraIniPath()));
    ChImp = 50;
    GraphBackColor = clBlack;
}

void TPreviewWindowTest::WriteIni(const QByteArray &Text)
{
    QDir().mkpath(QString::fromStdString(KivraConfigDir()));
    QFile File(QString::fromStdString(KivraIniPath()));
    QVERIFY(File.open(QIODevice::WriteOnly));
    File.write(Text);
}

void TPreviewWindowTest::FreshConfigurationShows160m()
{
    TScriptedDialogs Dialogs;
    TDialogsScope Scope(Dialogs);
    TPreviewWindow Window;
    QCOMPARE(Window.windowTitle(), QStringLiteral("KIVRA Antenne analyzer "));
    QCOMPARE(Window.btnMereni->text(), QStringLiteral("Mensuration"));
    QCOMPARE(Window.Graph().OsaX->MinValue, 1.81);
    QCOMPARE(Window.Graph().OsaX->MaxValue, 2.0);
    QCOMPARE(ChImp, 50);
    QCOMPARE(GraphBackColor, TColor(16774122));
    QVERIFY(Dialogs.Shown().empty());
}

void TPreviewWindowTest::SelectedBandAndImpedanceComeFromTheSettings()
{
    WriteIni("[COM_PORT]\nBAND160=N\nBAND40=A\nFMIN3=7.000\nFMAX3=7.200\nCH_IMP=75\n");
    TScriptedDialogs Dialogs;
    TDialogsScope Scope(Dialogs);
    TPreviewWindow Window;
    QCOMPARE(Window.Graph().OsaX->MinValue, 7.0);
    QCOMPARE(Window.Graph().OsaX->MaxValue, 7.2);
    QCOMPARE(ChImp, 75);
}

void TPreviewWindowTest::UnusableSettingsFallBack()
{
    // No band selected and limits with a decimal comma: the full range. An impedance that is
    // not a whole number becomes 50, and is stored so.
    WriteIni("[COM_PORT]\nBAND160=N\nFMIN13=1,0\nCH_IMP=50.5\n[COLOR]\nBK_GRAPH_COLOR=white\n");
    TScriptedDialogs Dialogs;
    TDialogsScope Scope(Dialogs);
    TPreviewWindow Window;
    QCOMPARE(Window.Graph().OsaX->MinValue, 1.0);
    QCOMPARE(Window.Graph().OsaX->MaxValue, 30.0);
    QCOMPARE(ChImp, 50);
    QCOMPARE(ReadConfigValue(ciChImp), QStringLiteral("50"));
    QCOMPARE(GraphBackColor, TColor(16774122));
}

void TPreviewWindowTest::SweepWithoutAnalyzerEndsByTheWatchdog()
{
    // The configured port does not exist here: the sweep starts, nothing arrives, and the
    // watchdog ends it. Closing is refused only while it runs.
    WriteIni("[COM_PORT]\nPORT2=250\n");
    TScriptedDialogs Dialogs;
    TDialogsScope Scope(Dialogs);
    TPreviewWindow Window;
    TMereni &Mereni = *Window.Graph().Mereni;

    QTest::mouseClick(Window.btnMereni, Qt::LeftButton);
    QVERIFY(Mereni.Measuring());
    QVERIFY(!Window.btnMereni->isEnabled());
    QCloseEvent Refused;
    QCoreApplication::sendEvent(&Window, &Refused);
    QVERIFY(!Refused.isAccepted());

    Mereni.WatchdogTimer();
    QVERIFY(!Mereni.Measuring());
    QVERIFY(Window.btnMereni->isEnabled());
    QCloseEvent Accepted;
    QCoreApplication::sendEvent(&Window, &Accepted);
    QVERIFY(Accepted.isAccepted());
    QVERIFY(Dialogs.Shown().empty());
}

QTEST_MAIN(TPreviewWindowTest)
#include "tst_PreviewWindow.moc"
