#include "app/FileCommands.h"
#include "graph/TAnGraph.h"
#include "measure/Globals.h"
#include "measure/TMereni.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"

#include <QTemporaryDir>
#include <QTest>

using TKind = TScriptedDialogs::TKind;

namespace {

struct TBench
{
    TBench()
        : Graph(nullptr, 1.0, 30.0)
    {
        Graph.ResizeLayers(795, 400);
        BuildTickTables();
    }
    TAnGraph Graph;
    TMereni &Mereni = *Graph.Mereni;
};

std::string Std(const QString &S) { return S.toStdString(); }

} // namespace

class TFileCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void extensionRule_data();
    void extensionRule();
    void cancelledDialogs();
    void saveErrorIsShown();
    void openResetsCursorsFirst();

private:
    QTemporaryDir Dir;
};

void TFileCommandsTest::init()
{
    ChImp = 50;
    QVERIFY(Dir.isValid());
}

void TFileCommandsTest::extensionRule_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("used");
    const auto row = [](const char *Tag, const char *Chosen, const char *Used) {
        QTest::newRow(Tag) << QString::fromUtf8(Chosen) << QString::fromUtf8(Used);
    };
    row("plain name", "data/dipole", "data/dipole.TXT");
    row("own extension", "data/dipole.old", "data/dipole.old");
    row("folder with a full stop", "ant.files/dipole", "ant.files/dipole.TXT");
    row("dotted home folder", "/home/j.doe/dipole", "/home/j.doe/dipole.TXT");
    row("hidden folder", "/home/jan/.local/share/dipole", "/home/jan/.local/share/dipole.TXT");
    row("trailing full stop", "data/dipole.", "data/dipole.");
    row("lower-case extension", "dipole.txt", "dipole.txt");
}

void TFileCommandsTest::extensionRule()
{
    QFETCH(QString, chosen);
    QFETCH(QString, used);
    QCOMPARE(WithDefaultExtension(chosen, QStringLiteral(".TXT")), used);
}

void TFileCommandsTest::cancelledDialogs()
{
    TScriptedDialogs Dialogs;
    TDialogsScope scope(Dialogs);
    TBench b;
    b.Mereni.LastLines() = QStringList { QStringLiteral("14000 50 0") };
    b.Graph.Cursor1->Frequency = 7.0;
    SaveMeasurement(b.Mereni, false, TSaveFormat::S11);
    LoadMeasurement(b.Graph, false);
    QCOMPARE(Dialogs.Shown().size(), size_t(2));
    QCOMPARE(int(Dialogs.Shown()[1].Kind), int(TKind::OpenFile));
    QCOMPARE(Dialogs.Shown()[1].Text, std::string("*.TXT *.txt"));
    QCOMPARE(b.Graph.Cursor1->Frequency, 7.0);
    QCOMPARE(b.Mereni.LastLines().size(), 1);
}

void TFileCommandsTest::saveErrorIsShown()
{
    TScriptedDialogs Dialogs;
    TDialogsScope scope(Dialogs);
    TBench b;
    b.Mereni.LastLines() = QStringList { QStringLiteral("14000 50 0") };
    const QString path = Dir.filePath(QStringLiteral("no/such/folder/x"));
    Dialogs.QueueFileName(Std(path));
    QVERIFY(!GuardHandler([&] { SaveMeasurement(b.Mereni, false, TSaveFormat::Txt); }));
    QCOMPARE(Dialogs.Shown().size(), size_t(2));
    QCOMPARE(int(Dialogs.Shown()[1].Kind), int(TKind::ErrorBox));
    QCOMPARE(
        Dialogs.Shown()[1].Text.rfind("Unable to write to " + Std(path) + ".TXT: ", 0), size_t(0));
}

void TFileCommandsTest::openResetsCursorsFirst()
{
    TScriptedDialogs Dialogs;
    TDialogsScope scope(Dialogs);
    TBench b;
    b.Mereni.LastLines() = QStringList { QStringLiteral("14000 50 0") };
    b.Graph.Cursor1->Frequency = 7.0;
    b.Graph.Cursor2->Frequency = 7.1;
    b.Graph.Cursor1->X = 100;
    b.Graph.Horizontal1->Y = 60;
    const QString missing = Dir.filePath(QStringLiteral("missing"));
    Dialogs.QueueFileName(Std(missing));
    LoadMeasurement(b.Graph, false);
    QVERIFY(!b.Graph.CursorsPlaced());
    QCOMPARE(b.Graph.Cursor1->X, 0);
    QCOMPARE(b.Graph.Horizontal1->Y, 0);
    QCOMPARE(Dialogs.Shown().back().Text, "File " + Std(missing) + " not found!");
    QCOMPARE(b.Mereni.LastLines().size(), 1);
}

QTEST_MAIN(TFileCommandsTest)
#include "tst_FileCommands.moc"
