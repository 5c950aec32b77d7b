#include "app/FileCommands.h"
#include "app/TfrmAbout.h"
#include "app/TfrmMain.h"
#include "app/WindowProbe.h"
#include "graph/TAnGraph.h"
#include "graph/TOsaX.h"
#include "measure/Globals.h"
#include "measure/TMereni.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The file commands and the about window as the main window's menu runs them.
class TfrmMainFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void extensionRule_data();
    void extensionRule();
    void saveBeforeASweep();
    void saveAndOpenThroughTheMenu();
    void nothingWhileMeasuring();
    void openResetsCursorsFirst();
    void aboutFromTheMenu();

private:
    std::unique_ptr<TScriptedDialogs> Dialogs;
    std::unique_ptr<TDialogsScope> Scope;
    QTemporaryDir Dir;
};

void TfrmMainFilesTest::init()
{
    QFile::remove(QString::fromStdString(KivraIniPath()));
    ChImp = 50;
    Dialogs = std::make_unique<TScriptedDialogs>();
    Scope = std::make_unique<TDialogsScope>(*Dialogs);
}

void TfrmMainFilesTest::cleanup()
{
    Scope.reset();
    Dialogs.reset();
}

void TfrmMainFilesTest::extensionRule_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("used");
    const auto Row = [](const char *Tag, const char *Chosen, const char *Used) {
        QTest::newRow(Tag) << QString::fromUtf8(Chosen) << QString::fromUtf8(Used);
    };
    Row("plain name", "data/dipole", "data/dipole.TXT");
    Row("own extension", "data/dipole.old", "data/dipole.old");
    Row("folder with a full stop", "ant.files/dipole", "ant.files/dipole.TXT");
    Row("dotted home folder", "j.doe/dipole", "j.doe/dipole.TXT");
    Row("hidden folder", ".local/share/dipole", ".local/share/dipole.TXT");
    Row("trailing full stop", "data/dipole.", "data/dipole.");
}

void TfrmMainFilesTest::extensionRule()
{
    QFETCH(QString, chosen);
    QFETCH(QString, used);
    QCOMPARE(WithDefaultExtension(chosen, QStringLiteral(".TXT")), used);
}

void TfrmMainFilesTest::saveBeforeASweep()
{
    TfrmMain Window;
    Window.show();
    for (QAction *Item : { Child<QAction>(Window, "MenLoad"), Child<QAction>(Window, "MenSave"),
             Child<QAction>(Window, "mnSaveS11"), Child<QAction>(Window, "mnSaveToZPlots"),
             Child<QAction>(Window, "Oprogramu1") })
        QVERIFY2(Item->isEnabled(), qPrintable(Item->text()));
    Dialogs->ClearShown();
    Child<QAction>(Window, "MenSave")->trigger();
    QCOMPARE(Dialogs->Shown().size(), size_t(1));
    QCOMPARE(Dialogs->Shown()[0].Text, std::string("No data for save!"));
    QCOMPARE(Dialogs->Shown()[0].Caption, std::string("Save"));
}

void TfrmMainFilesTest::saveAndOpenThroughTheMenu()
{
    TfrmMain Window;
    Window.show();
    const QStringList Lines { QStringLiteral("7000 40 -30"), QStringLiteral("7100 50 0"),
        QStringLiteral("7200 60 30") };
    Window.Mereni().SetLastLines(Lines);
    const std::string Base = Dir.filePath(QStringLiteral("test")).toStdString();
    Dialogs->ClearShown();
    Dialogs->QueueFileName(Base);
    Child<QAction>(Window, "mnSaveS11")->trigger();
    Dialogs->QueueFileName(Base);
    Child<QAction>(Window, "mnSaveToZPlots")->trigger();
    Dialogs->QueueFileName(Base);
    Child<QAction>(Window, "MenSave")->trigger();
    QCOMPARE(Dialogs->Texts(),
        (std::vector<std::string> { "*.S1P *.s1p", "S11 3 rows saved to " + Base + ".S1P",
            "*.CSV *.csv", "CSV 3 rows saved to " + Base + ".CSV", "*.TXT *.txt",
            "3 rows saved to " + Base + ".TXT" }));
    // Every dialog after the first starts in the folder last chosen.
    QCOMPARE(QString::fromStdString(Dialogs->LastFolder()), Dir.path());

    Window.Mereni().SetLastLines(QStringList { QStringLiteral("14000 50 0") });
    Window.Model().Cursor1->Frequency = 14.0;
    Dialogs->QueueFileName(Base + ".TXT");
    Child<QAction>(Window, "MenLoad")->trigger();
    QCOMPARE(Window.Mereni().LastLines(), Lines);
    QCOMPARE(Window.Model().OsaX->MinValue, 7.0);
    QCOMPARE(Window.Model().OsaX->MaxValue, 7.2);
    QCOMPARE(Window.Model().Cursor1->Frequency, 0.0);
    QCOMPARE(Window.Mereni().Frequencies.Count(), 3);
}

void TfrmMainFilesTest::nothingWhileMeasuring()
{
    TfrmMain Window;
    Window.show();
    Window.Mereni().SetLastLines(QStringList { QStringLiteral("14000 50 0") });
    Window.Mereni().StartSweep();
    QVERIFY(Window.IsMeasuring());
    Dialogs->ClearShown();
    Dialogs->QueueFileName(Dir.filePath(QStringLiteral("m")).toStdString());
    for (QAction *Item : { Child<QAction>(Window, "MenLoad"), Child<QAction>(Window, "MenSave"),
             Child<QAction>(Window, "mnSaveS11"), Child<QAction>(Window, "mnSaveToZPlots") })
        Item->trigger();
    QVERIFY(Dialogs->Shown().empty());
    Window.Mereni().WatchdogTimer();
    QVERIFY(!Window.IsMeasuring());
}

void TfrmMainFilesTest::openResetsCursorsFirst()
{
    TfrmMain Window;
    Window.show();
    Window.Mereni().SetLastLines(QStringList { QStringLiteral("14000 50 0") });
    Window.Model().Cursor1->Frequency = 7.0;
    Window.Model().Cursor2->Frequency = 7.1;
    Window.Model().Horizontal1->Y = 60;
    Child<QAction>(Window, "MenLoad")->trigger(); // cancelled: nothing changes
    QVERIFY(Window.Model().CursorsPlaced());
    const std::string Missing = Dir.filePath(QStringLiteral("missing")).toStdString();
    Dialogs->ClearShown();
    Dialogs->QueueFileName(Missing);
    Child<QAction>(Window, "MenLoad")->trigger();
    QCOMPARE(Dialogs->Shown()[0].Text, std::string("*.TXT *.txt *.S1P *.s1p"));
    QCOMPARE(Dialogs->Shown().back().Text, "File " + Missing + " not found!");
    QVERIFY(!Window.Model().CursorsPlaced());
    QCOMPARE(Window.Model().Horizontal1->Y, 0);
    QCOMPARE(Window.Mereni().LastLines().size(), 1);
}

void TfrmMainFilesTest::aboutFromTheMenu()
{
    TfrmMain Window;
    Window.show();
    QString Title;
    QTimer Answer;
    Answer.setInterval(10);
    QObject::connect(&Answer, &QTimer::timeout, [&] {
        if (auto *About = dynamic_cast<TfrmAbout *>(QApplication::activeModalWidget())) {
            Title = About->windowTitle();
            QTest::keyClick(About, Qt::Key_Escape);
        }
    });
    Answer.start();
    Child<QAction>(Window, "Oprogramu1")->trigger();
    QCOMPARE(Title, QStringLiteral("Analyzer about"));
}

QTEST_MAIN(TfrmMainFilesTest)
#include "tst_frmMainFiles.moc"
