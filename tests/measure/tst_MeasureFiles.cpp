#include "graph/TAnGraph.h"
#include "measure/FileLines.h"
#include "measure/Globals.h"
#include "measure/TMereni.h"
#include "measure/TSmithLink.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

class TRecordingSmith : public TSmithLink
{
public:
    void ClearChart() override { Loaded = { QStringLiteral("cleared") }; }
    void AddMeasuredPoint(int, int, int) override { }
    void ShowFrequency(int) override { }
    void LoadLines(const QStringList &Lines, int Z0) override { Loaded += Lines, LoadedZ0 = Z0; }
    QStringList Loaded;
    int LoadedZ0 = 0;
};

// A graph over 1..30 MHz whose controller holds Lines as its last sweep.
struct TBench
{
    explicit TBench(const QStringList &Lines = {})
        : Graph(nullptr, 1.0, 30.0)
        , Mereni(*Graph.Mereni)
    {
        Graph.ResizeLayers(795, 400);
        Graph.OsaR->SetRange();
        Graph.OsaXX->SetRange();
        Mereni.SmithFrame = &Smith;
        Mereni.SetLastLines(Lines);
    }
    TAnGraph Graph;
    TMereni &Mereni;
    TRecordingSmith Smith;
};

QByteArray ReadAll(const QString &Path)
{
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString &Path, const QByteArray &Bytes)
{
    QFile f(Path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(Bytes);
}

std::string Std(const QString &S) { return S.toStdString(); }
QString Q(const char *S) { return QString::fromLatin1(S); }

// The three writers by number, with the prefix of their count message.
const char *const kPrefixes[] = { "", "S11 ", "CSV " };

void Save(TMereni &M, int Writer, const QString &Path)
{
    if (Writer == 0)
        M.SaveTXT(Path);
    else if (Writer == 1)
        M.SaveS11(Path);
    else
        M.SaveZPlots(Path);
}

// 291 lines as a coarse sweep of 1..30 MHz gives them, one of them unreadable.
QStringList Sweep291()
{
    QStringList lines;
    for (int i = 0; i <= 290; ++i)
        lines << (i == 100 ? Q("11000 4x 3")
                           : Q("%1 %2 %3").arg(1000 + 100 * i).arg(20 + i % 70).arg(i % 40 - 20));
    return lines;
}

} // namespace

Q_DECLARE_METATYPE(std::vector<std::string>)

class TestMeasureFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Scope = std::make_unique<TDialogsScope>(Dialogs); }
    void init();
    void splitLines_data();
    void splitLines();
    void writtenLines_data();
    void writtenLines();
    void countsEveryLine();
    void overwriteQuestion();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void unevaluablePointsLeftOut_data();
    void unevaluablePointsLeftOut();
    void saveThenLoad();
    void openRefused_data();
    void openRefused();
    void openTouchstone();
    void loadRange_data();
    void loadRange();

private:
    TScriptedDialogs Dialogs;
    std::unique_ptr<TDialogsScope> Scope;
    QTemporaryDir Dir;
};

void TestMeasureFiles::init()
{
    ChImp = 50;
    SmoothCurves = false;
    Dialogs.ClearShown();
}

void TestMeasureFiles::splitLines_data()
{
    using V = std::vector<std::string>;
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<V>("lines");
    QTest::newRow("empty") << QByteArray() << V {};
    QTest::newRow("CR LF, LF, CR") << QByteArray("a\r\nb\nc\rd") << V { "a", "b", "c", "d" };
    QTest::newRow("LF CR is two") << QByteArray("a\n\rb\n") << V { "a", "", "b" };
    QTest::newRow("CR CR LF is two") << QByteArray("a\r\r\nb") << V { "a", "", "b" };
    QTest::newRow("empty lines kept") << QByteArray("\r\n\r\n\n") << V { "", "", "" };
    QTest::newRow("any byte") << QByteArray("\x00\xff\r", 3) << V { std::string("\x00\xff", 2) };
}

void TestMeasureFiles::splitLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(std::vector<std::string>, lines);
    QCOMPARE(SplitFileLines(std::string_view(bytes.constData(), size_t(bytes.size()))), lines);
}

void TestMeasureFiles::writtenLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("s11");
    QTest::newRow("matched") << Q("14000 50 0") << QByteArray("014.00000 0.000000 0.000000");
    QTest::newRow("twice Z0") << Q("1800 100 0") << QByteArray("001.80000 0.333333 0.000000");
    QTest::newRow("half Z0") << Q("3550 25 0") << QByteArray("003.55000 -0.333333 0.000000");
    QTest::newRow("reactive, kHz rounded")
        << Q("7049.6 50 50") << QByteArray("007.05000 0.200000 0.400000");
    QTest::newRow("short") << Q("29999 0 0") << QByteArray("029.99900 -1.000000 0.000000");
    QTest::newRow("bad field left out") << Q("14000 50") << QByteArray();
}

// One line through the three writers: S11 as given, CSV with commas, TXT unchanged.
void TestMeasureFiles::writtenLines()
{
    QFETCH(QString, line);
    QFETCH(QByteArray, s11);
    TBench b({ line });
    const QString base = Dir.filePath(Q(QTest::currentDataTag()));
    b.Mereni.SaveS11(base + Q(".S1P"));
    b.Mereni.SaveZPlots(base + Q(".CSV"));
    b.Mereni.SaveTXT(base + Q(".TXT"));
    const QByteArray end = s11.isEmpty() ? QByteArray() : QByteArray("\r\n");
    // A sweep without one point that can be written leaves no S11 or CSV file behind.
    const QByteArray none = s11.isEmpty() ? QByteArray("<missing>") : QByteArray();
    QCOMPARE(ReadAll(base + Q(".S1P")), s11 + end + none);
    QCOMPARE(ReadAll(base + Q(".CSV")), QByteArray(s11).replace(' ', ',') + end + none);
    QCOMPARE(ReadAll(base + Q(".TXT")), line.toLatin1() + "\r\n");
}

// The message counts every line of the sweep, also the one a gamma file leaves out.
void TestMeasureFiles::countsEveryLine()
{
    TBench b(Sweep291());
    for (int writer = 0; writer < 3; ++writer) {
        Dialogs.ClearShown();
        const QString path = Dir.filePath(Q("count") + Q(kPrefixes[writer]));
        Save(b.Mereni, writer, path);
        const QByteArray bytes = ReadAll(path);
        const bool raw = writer == 0;
        QCOMPARE(bytes.count("\r\n"), raw ? 291 : 290);
        QCOMPARE(bytes.count('\r'), raw ? 291 : 290);
        QCOMPARE(bytes.contains("\r\n11000 4x 3\r\n"), raw);
        QCOMPARE(Dialogs.Texts(),
            std::vector<std::string> { kPrefixes[writer] + ("291 rows saved to " + Std(path)) });
    }
}

void TestMeasureFiles::overwriteQuestion()
{
    TBench b({ Q("14000 50 0") });
    for (int writer = 0; writer < 3; ++writer) {
        for (const bool yes : { false, true }) {
            Dialogs.ClearShown();
            const QString path
                = Dir.filePath(Q("old") + Q(kPrefixes[writer]) + QString::number(yes));
            WriteAll(path, "old\n");
            Dialogs.QueueAnswer(yes ? TDialogs::TAnswer::Yes : TDialogs::TAnswer::No);
            Save(b.Mereni, writer, path);
            QCOMPARE(Dialogs.Shown().size(), size_t(yes ? 2 : 1));
            const auto &q = Dialogs.Shown()[0];
            QCOMPARE(int(q.Kind), int(TScriptedDialogs::TKind::Question));
            QCOMPARE(q.Caption, std::string("Warning"));
            QCOMPARE(q.Text, "File " + Std(path) + " is exists!\n\rOverride?");
            QCOMPARE(ReadAll(path) == "old\n", !yes);
        }
    }
}

void TestMeasureFiles::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<int>("writer");
    QTest::addColumn<QString>("failure");
    QTest::newRow("TXT, file size limit") << 0 << Q("fsize");
    QTest::newRow("S11, file size limit") << 1 << Q("fsize");
    QTest::newRow("TXT, read-only folder") << 0 << Q("readonly");
    QTest::newRow("TXT, folder missing") << 0 << Q("nofolder");
}

void TestMeasureFiles::failedSaveKeepsOldFile()
{
    QFETCH(int, writer);
    QFETCH(QString, failure);
    if (failure == Q("readonly") && geteuid() == 0)
        QSKIP("permissions do not bind the superuser");

    QStringList lines = Sweep291();
    for (int i = 0; i < 10; ++i)
        lines += lines;
    TBench b(lines);

    const QString folder = Dir.filePath(Q("fail") + Q(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(folder));
    const QString old = folder + Q("/sweep");
    WriteAll(old, "14000 50 0\r\n");
    const QString path = failure == Q("nofolder") ? folder + Q("/gone/sweep") : old;
    if (failure == Q("readonly"))
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    if (failure == Q("fsize")) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 64 * 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    Dialogs.QueueAnswer(TDialogs::TAnswer::Yes);
    std::string error;
    try {
        Save(b.Mereni, writer, path);
    } catch (const EKivraError &e) {
        error = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY2(!error.empty(), "the failure must be raised");
    QCOMPARE(error.rfind("Unable to write to " + Std(path) + ": ", 0), size_t(0));
    // A full disk or a file size limit is named, not left as "Unknown error".
    QVERIFY2(error.find("Unknown error") == std::string::npos, error.c_str());
    if (failure == Q("fsize"))
        QVERIFY2(error.find("File too large") != std::string::npos, error.c_str());
    QCOMPARE(ReadAll(old), QByteArray("14000 50 0\r\n"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1);
    QCOMPARE(Dialogs.Shown().size(), size_t(failure == Q("nofolder") ? 0 : 1));
}

void TestMeasureFiles::unevaluablePointsLeftOut_data()
{
    QTest::addColumn<int>("writer");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    const QStringList mixed { Q("14000 50 0"), Q("14000 -50 0"), Q("1800 100 0") };
    QTest::newRow("S11, a load of -Z0 among three")
        << 1 << mixed
        << QByteArray("014.00000 0.000000 0.000000\r\n001.80000 0.333333 0.000000\r\n")
        << Q("S11 3 rows saved to %1");
    QTest::newRow("CSV, a load of -Z0 among three")
        << 2 << mixed
        << QByteArray("014.00000,0.000000,0.000000\r\n001.80000,0.333333,0.000000\r\n")
        << Q("CSV 3 rows saved to %1");
    const QStringList none { Q("14000 -50 0"), Q("\x01\x02 random"), Q("") };
    QTest::newRow("S11, not one point")
        << 1 << none << QByteArray("<missing>")
        << Q("S11 no row could be saved: not one of the 3 lines holds a point that can be "
             "evaluated; %1 was not written");
    QTest::newRow("Touchstone, not one point")
        << 3 << none << QByteArray("<missing>")
        << Q("Touchstone no point could be saved: not one of the 3 lines holds a point that can "
             "be evaluated; %1 was not written");
}

// A point the formulas cannot evaluate is left out as the graph leaves it out; a file of
// nothing is neither written nor reported as saved.
void TestMeasureFiles::unevaluablePointsLeftOut()
{
    QFETCH(int, writer);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    TBench b(lines);
    const QString path = Dir.filePath(Q(QTest::currentDataTag()));
    if (writer == 3)
        b.Mereni.SaveTouchstone(path, "2026-01-02 03:04");
    else
        Save(b.Mereni, writer, path);
    QCOMPARE(ReadAll(path), file);
    QCOMPARE(Dialogs.Texts(), std::vector<std::string> { Std(message.arg(path)) });
}

// Saved and loaded again, with CR LF or another tool's line ends: the same lines, range,
// Smith chart and picture.
void TestMeasureFiles::saveThenLoad()
{
    const QStringList lines = Sweep291();
    TBench saved(lines);
    saved.Graph.ClearLayers();
    saved.Graph.DrawAll();
    saved.Graph.Present(false);
    const QString path = Dir.filePath(Q("roundtrip.TXT"));
    saved.Mereni.SaveTXT(path);
    for (const char *end : { "\r\n", "\n", "\r" }) {
        if (QByteArray(end) != "\r\n")
            WriteAll(path, lines.join(Q(end)).toLatin1() + end);
        TBench loaded;
        loaded.Graph.OsaX->SetMinValue(7.0);
        loaded.Graph.OsaX->SetMaxValue(7.2);
        loaded.Mereni.SetCurrentLines(QStringList { Q("stale") });
        loaded.Mereni.LoadTXT(path);
        QCOMPARE(loaded.Mereni.LastLines(), lines);
        QVERIFY(loaded.Mereni.CurrentLines().isEmpty());
        QVERIFY(loaded.Mereni.Swapped());
        QCOMPARE(loaded.Graph.OsaX->MinValue, 1.0);
        QCOMPARE(loaded.Graph.OsaX->MaxValue, 30.0);
        QCOMPARE(loaded.Mereni.Frequencies.Count(), 290);
        QCOMPARE(loaded.Graph.Composite, saved.Graph.Composite);
        QCOMPARE(loaded.Smith.Loaded, QStringList { Q("cleared") } + lines);
        QCOMPARE(loaded.Smith.LoadedZ0, 50);
    }
}

void TestMeasureFiles::loadRange_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<double>("minMHz");
    QTest::addColumn<double>("maxMHz");
    QTest::addColumn<int>("points");
    QTest::newRow("ends rounded to kHz")
        << QByteArray("7000.5 50 0\r\n7100 50 0\r\n7199.5 50 0\r\n") << 7.0 << 7.2 << 3;
    QTest::newRow("bad first line keeps range")
        << QByteArray("header\r\n7100 50 0\r\n7200 50 0\r\n") << 1.0 << 30.0 << 2;
    QTest::newRow("bad last line keeps range")
        << QByteArray("7000 50 0\r\n7100 50 0\r\n\r\n") << 1.0 << 30.0 << 2;
    QTest::newRow("one line keeps range") << QByteArray("7000 50 0\r\n") << 1.0 << 30.0 << 1;
    QTest::newRow("falling keeps range")
        << QByteArray("7200 50 0\r\n7000 50 0\r\n") << 1.0 << 30.0 << 2;
    QTest::newRow("empty file changes nothing") << QByteArray("") << 1.0 << 30.0 << 1;
    QTest::newRow("missing file changes nothing") << QByteArray() << 1.0 << 30.0 << 1;
}

void TestMeasureFiles::loadRange()
{
    QFETCH(QByteArray, bytes);
    QFETCH(double, minMHz);
    QFETCH(double, maxMHz);
    QFETCH(int, points);
    TBench b({ Q("14000 50 0") });
    b.Mereni.EvaluateSweep();
    const QString path = Dir.filePath(Q("range.TXT"));
    QFile::remove(path);
    if (!bytes.isNull())
        WriteAll(path, bytes);
    b.Mereni.LoadTXT(path);
    QCOMPARE(b.Graph.OsaX->MinValue, minMHz);
    QCOMPARE(b.Graph.OsaX->MaxValue, maxMHz);
    QCOMPARE(b.Mereni.Frequencies.Count(), points);
    QCOMPARE(b.Mereni.Swapped(), !bytes.isEmpty());
    QCOMPARE(Dialogs.Texts(),
        bytes.isNull() ? std::vector<std::string> { "File " + Std(path) + " not found!" }
                       : std::vector<std::string> {});
}

void TestMeasureFiles::openRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QByteArray big;
    while (big.size() <= 4 * 1024 * 1024)
        big += "14000 50 0\r\n";
    QTest::newRow("over 4 MiB") << Q("big.TXT") << big
                                << Q("File %1 is larger than 4 MiB: it is not a measurement file");
    QTest::newRow("Touchstone over 4 MiB")
        << Q("big.s1p") << big << Q("File %1 is larger than 4 MiB: it is not a measurement file");
    QTest::newRow("not Touchstone")
        << Q("text.S1P") << QByteArray("! fine\n14 0.2 0.4\nDear diary\n")
        << Q("File %1 is not a one-port Touchstone file: line 3: does not parse: \"Dear diary\"");
    QTest::newRow("0-byte Touchstone") << Q("empty.s1p") << QByteArray("")
                                       << Q("File %1 is not a one-port Touchstone file: the file "
                                            "holds no data points");
}

// A refused file is reported and the sweep on show stays as it was.
void TestMeasureFiles::openRefused()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    TBench b({ Q("7000 50 0"), Q("7100 50 0") });
    b.Graph.OsaX->SetMinValue(7.0);
    b.Graph.OsaX->SetMaxValue(7.1);
    b.Mereni.EvaluateSweep();
    const QString path = Dir.filePath(name);
    WriteAll(path, bytes);
    b.Mereni.LoadTXT(path);
    QCOMPARE(Dialogs.Texts(), std::vector<std::string> { Std(message.arg(path)) });
    QCOMPARE(b.Mereni.LastLines(), (QStringList { Q("7000 50 0"), Q("7100 50 0") }));
    QCOMPARE(b.Graph.OsaX->MaxValue, 7.1);
    QCOMPARE(b.Mereni.Frequencies.Count(), 2);
}

// A Touchstone file from another instrument: its points, in its range, beyond 1-30 MHz.
void TestMeasureFiles::openTouchstone()
{
    TBench b;
    const QString path = Dir.filePath(Q("vna.s1p"));
    WriteAll(path, "! other instrument\r\n# GHz S RI R 50\r\n0.0005 0.2 0.4\r\n0.05 -1 0\r\n");
    b.Mereni.LoadTXT(path);
    QCOMPARE(Dialogs.Texts(), std::vector<std::string> {});
    QCOMPARE(b.Mereni.LastLines(), (QStringList { Q("500 50 50"), Q("50000 0 0") }));
    QCOMPARE(b.Graph.OsaX->MinValue, 0.5);
    QCOMPARE(b.Graph.OsaX->MaxValue, 50.0);
    QCOMPARE(b.Mereni.Frequencies.Count(), 2);
}

QTEST_MAIN(TestMeasureFiles)
#include "tst_MeasureFiles.moc"
