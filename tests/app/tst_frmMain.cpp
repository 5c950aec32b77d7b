#include "app/TfrmMain.h"
#include "graph/TAnGraph.h"
#include "measure/Globals.h"
#include "measure/TMereni.h"
#include "platform/Dialogs.h"

#include <QRadioButton>
#include <QTest>

class TfrmMainTest : public QObject
{
    Q_OBJECT

private slots:
    void FreshConfigurationStartsWith160m();
};

void TfrmMainTest::FreshConfigurationStartsWith160m()
{
    TScriptedDialogs Dialogs;
    TDialogsScope Scope(Dialogs);
    TfrmMain Window;
    Window.show();
    QVERIFY(Window.Started());
    QCOMPARE(Window.Model().OsaX->MinValue, 1.81);
    QCOMPARE(Window.Model().OsaX->MaxValue, 2.0);
    QVERIFY(Window.chk160->isChecked());
    QVERIFY(Dialogs.Texts().empty());
}

QTEST_MAIN(TfrmMainTest)
#include "tst_frmMain.moc"
