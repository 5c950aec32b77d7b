#include "graph/TAnGraph.h"
#include "measure/FileLines.h"
#include "measure/Frequency.h"
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
    void ClearChart() override { Loaded.clear(), ++Clears; }
    void AddMeasuredPoint(int, int, int) override { }
    void ShowFrequency(int) override { }
    void LoadLines(const QStringList &Lines, int Z0) override
    {
        Loaded = Lines;
        LoadedZ0 = Z0;
    }
    int Clears = 0;
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
        BuildTickTables();
        Graph.OsaZ->SetRange();
        Graph.OsaR->SetRange();
        Graph.OsaXX->SetRange();
        Mereni.SmithFrame = &Smith;
        Mereni.LastLines() = Lines;
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

enum TKind
{
    kTxt,
    kS11,
    kCsv
};

void Save(TMereni &M, int Kind, const QString &Path)
{
    if (Kind == kTxt)
        M.SaveTXT(Path);
    else if (Kind == kS11)
        M.SaveS11(Path);
    else
        M.SaveZPlots(Path);
}

// 291 lines as a coarse sweep of 1..30 MHz gives them, one of them unreadable.
QStringList Sweep291()
{
    QStringList lines;
    for (int i = 0; i <= 290; ++i)
        lines << (i == 100
                ? QStringLiteral("11000 4x 3")
                : QStringLiteral("%1 %2 %3").arg(1000 + 100 * i).arg(20 + i % 70).arg(i % 40 - 20));
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
    void frequencyRounding_data();
    void frequencyRounding();
    void writtenLines_data();
    void writtenLines();
    void countsEveryLine_data();
    void countsEveryLine();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void saveThenLoad();
    void loadLineEndsAlike_data();
    void loadLineEndsAlike();
    void loadMissingFile();
    void loadRangeEnds_data();
    void loadRangeEnds();

private:
    TScriptedDialogs Dialogs;
    std::unique_ptr<TDialogsScope> Scope;
    QTemporaryDir Dir;
};

void TestMeasureFiles::init()
{
    ChImp = 50;
    MeasureMode = mmImpedance;
    SmoothCurves = false;
    Dialogs.ClearShown();
    QVERIFY(Dir.isValid());
}

void TestMeasureFiles::splitLines_data()
{
    using V = std::vector<std::string>;
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<V>("lines");
    QTest::newRow("empty") << QByteArray() << V {};
    QTest::newRow("no end") << QByteArray("a b") << V { "a b" };
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << V { "a", "b" };
    QTest::newRow("LF only") << QByteArray("a\nb\n") << V { "a", "b" };
    QTest::newRow("CR only, last open") << QByteArray("a\rb") << V { "a", "b" };
    QTest::newRow("LF CR is two") << QByteArray("a\n\rb") << V { "a", "", "b" };
    QTest::newRow("empty lines kept") << QByteArray("\r\n\r\n\n") << V { "", "", "" };
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << V { "a", "", "b" };
    QTest::newRow("any byte") << QByteArray("\x00\xff\r", 3) << V { std::string("\x00\xff", 2) };
}

void TestMeasureFiles::splitLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(std::vector<std::string>, lines);
    QCOMPARE(SplitFileLines(std::string_view(bytes.constData(), size_t(bytes.size()))), lines);
}

void TestMeasureFiles::frequencyRounding_data()
{
    QTest::addColumn<double>("kHz");
    QTest::addColumn<double>("mhz");
    QTest::newRow("whole kHz exact") << 1150.0 << 1.15;
    QTest::newRow("below a step") << 14000.4 << 14.0;
    QTest::newRow("up to the next") << 29999.6 << 30.0;
    QTest::newRow("negative") << -1800.0 << -1.8;
}

void TestMeasureFiles::frequencyRounding()
{
    QFETCH(double, kHz);
    QFETCH(double, mhz);
    QCOMPARE(KHzToMHz(kHz), mhz);
}

void TestMeasureFiles::writtenLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("s11");
    QTest::newRow("matched") << QStringLiteral("14000 50 0")
                             << QByteArray("014.00000 0.000000 0.000000");
    QTest::newRow("twice Z0") << QStringLiteral("1800 100 0")
                              << QByteArray("001.80000 0.333333 0.000000");
    QTest::newRow("half Z0") << QStringLiteral("3550 25 0")
                             << QByteArray("003.55000 -0.333333 0.000000");
    QTest::newRow("reactive, rounded kHz")
        << QStringLiteral("7049.6 50 50") << QByteArray("007.05000 0.200000 0.400000");
    QTest::newRow("short") << QStringLiteral("29999 0 0")
                           << QByteArray("029.99900 -1.000000 0.000000");
    QTest::newRow("bad field left out") << QStringLiteral("14000 50") << QByteArray();
}

// The same line through the three writers: S11 as given, CSV with commas, TXT unchanged.
void TestMeasureFiles::writtenLines()
{
    QFETCH(QString, line);
    QFETCH(QByteArray, s11);
    TBench b({ line });
    const QString base = Dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    b.Mereni.SaveS11(base + QStringLiteral(".S1P"));
    b.Mereni.SaveZPlots(base + QStringLiteral(".CSV"));
    b.Mereni.SaveTXT(base + QStringLiteral(".TXT"));
    const QByteArray end = s11.isEmpty() ? QByteArray() : QByteArray("\r\n");
    QCOMPARE(ReadAll(base + QStringLiteral(".S1P")), s11 + end);
    QCOMPARE(ReadAll(base + QStringLiteral(".CSV")), QByteArray(s11).replace(' ', ',') + end);
    QCOMPARE(ReadAll(base + QStringLiteral(".TXT")), line.toLatin1() + "\r\n");
}

void TestMeasureFiles::countsEveryLine_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("fileLines");
    QTest::newRow("TXT") << int(kTxt) << QStringLiteral("") << 291;
    QTest::newRow("S11") << int(kS11) << QStringLiteral("S11 ") << 290;
    QTest::newRow("CSV") << int(kCsv) << QStringLiteral("CSV ") << 290;
}

void TestMeasureFiles::countsEveryLine()
{
    QFETCH(int, kind);
    QFETCH(QString, prefix);
    QFETCH(int, fileLines);
    TBench b(Sweep291());
    const QString path = Dir.filePath(QStringLiteral("count%1").arg(kind));
    Save(b.Mereni, kind, path);
    const QByteArray bytes = ReadAll(path);
    QCOMPARE(bytes.count("\r\n"), fileLines);
    QCOMPARE(bytes.count('\r'), fileLines);
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(Dialogs.Shown().size(), size_t(1));
    QCOMPARE(Dialogs.Shown()[0].Text, prefix.toStdString() + "291 rows saved to " + Std(path));
    QVERIFY(bytes.contains(kind == kTxt ? "\r\n11000 4x 3\r\n" : "\r\n010.90000"));
    QVERIFY(!bytes.contains("011.00000"));
}

void TestMeasureFiles::overwriteQuestion_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("yes");
    for (int kind : { kTxt, kS11, kCsv }) {
        QTest::addRow("kind %d, No keeps", kind) << kind << false;
        QTest::addRow("kind %d, Yes replaces", kind) << kind << true;
    }
}

void TestMeasureFiles::overwriteQuestion()
{
    QFETCH(int, kind);
    QFETCH(bool, yes);
    TBench b({ QStringLiteral("14000 50 0") });
    const QString path = Dir.filePath(QStringLiteral("old%1%2").arg(kind).arg(yes));
    WriteAll(path, "old\n");
    Dialogs.QueueAnswer(yes ? TDialogs::TAnswer::Yes : TDialogs::TAnswer::No);
    Save(b.Mereni, kind, path);
    QVERIFY(!Dialogs.Shown().empty());
    const auto &q = Dialogs.Shown()[0];
    QCOMPARE(int(q.Kind), int(TScriptedDialogs::TKind::Question));
    QCOMPARE(q.Caption, std::string("Warning"));
    QCOMPARE(q.Text, "File " + Std(path) + " is exists!\n\rOverride?");
    QCOMPARE(Dialogs.Shown().size(), size_t(yes ? 2 : 1));
    QCOMPARE(ReadAll(path) == "old\n", !yes);
}

void TestMeasureFiles::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("failure");
    QTest::newRow("TXT, file size limit") << int(kTxt) << QStringLiteral("fsize");
    QTest::newRow("S11, file size limit") << int(kS11) << QStringLiteral("fsize");
    QTest::newRow("S11, evaluation fault") << int(kS11) << QStringLiteral("fault");
    QTest::newRow("CSV, evaluation fault") << int(kCsv) << QStringLiteral("fault");
    QTest::newRow("TXT, read-only folder") << int(kTxt) << QStringLiteral("readonly");
    QTest::newRow("TXT, folder missing") << int(kTxt) << QStringLiteral("nofolder");
}

void TestMeasureFiles::failedSaveKeepsOldFile()
{
    QFETCH(int, kind);
    QFETCH(QString, failure);
    if (failure == QLatin1String("readonly") && geteuid() == 0)
        QSKIP("permissions do not bind the superuser");

    QStringList lines = Sweep291();
    for (int i = 0; i < 10; ++i)
        lines += lines;
    if (failure == QLatin1String("fault"))
        lines.insert(200, QStringLiteral("14000 -50 0"));
    TBench b(lines);

    const QString folder
        = Dir.filePath(QStringLiteral("fail%1").arg(QString::fromLatin1(QTest::currentDataTag())));
    QVERIFY(QDir().mkpath(folder));
    QString path = folder + QStringLiteral("/sweep");
    const QByteArray old("14000 50 0\r\n");
    WriteAll(path, old);
    if (failure == QLatin1String("readonly"))
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    if (failure == QLatin1String("nofolder"))
        path = folder + QStringLiteral("/gone/sweep");

    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    if (failure == QLatin1String("fsize")) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 64 * 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    Dialogs.QueueAnswer(TDialogs::TAnswer::Yes);
    std::string error;
    try {
        Save(b.Mereni, kind, path);
    } catch (const EKivraError &e) {
        error = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY2(!error.empty(), "the failure must be raised");
    if (failure != QLatin1String("fault"))
        QCOMPARE(error.rfind("Unable to write to " + Std(path) + ": ", 0), size_t(0));
    QCOMPARE(ReadAll(folder + QStringLiteral("/sweep")), old);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1);
    for (const auto &shown : Dialogs.Shown())
        QVERIFY(shown.Text.find("rows saved") == std::string::npos);
}

void TestMeasureFiles::saveThenLoad()
{
    const QStringList lines = Sweep291();
    TBench saved(lines);
    saved.Graph.ClearLayers();
    saved.Graph.DrawAll();
    saved.Graph.Present(false);
    const QString path = Dir.filePath(QStringLiteral("roundtrip.TXT"));
    saved.Mereni.SaveTXT(path);

    TBench loaded;
    loaded.Graph.OsaX->MinValue = 7.0;
    loaded.Graph.OsaX->MaxValue = 7.2;
    loaded.Mereni.CurrentLines() = QStringList { QStringLiteral("stale") };
    const bool swapped = loaded.Mereni.Swapped;
    loaded.Mereni.LoadTXT(path);

    QCOMPARE(loaded.Mereni.LastLines(), lines);
    QVERIFY(loaded.Mereni.CurrentLines().isEmpty());
    QCOMPARE(loaded.Mereni.Swapped, !swapped);
    QCOMPARE(loaded.Graph.OsaX->MinValue, 1.0);
    QCOMPARE(loaded.Graph.OsaX->MaxValue, 30.0);
    QCOMPARE(loaded.Mereni.Frequencies.Count(), 290);
    QCOMPARE(loaded.Mereni.SWRValues.Item(289), saved.Mereni.SWRValues.Item(289));
    QCOMPARE(loaded.Graph.Composite, saved.Graph.Composite);
    QCOMPARE(loaded.Smith.Clears, 1);
    QCOMPARE(loaded.Smith.Loaded, lines);
    QCOMPARE(loaded.Smith.LoadedZ0, 50);
}

void TestMeasureFiles::loadLineEndsAlike_data()
{
    QTest::addColumn<QByteArray>("end");
    QTest::newRow("LF") << QByteArray("\n");
    QTest::newRow("CR") << QByteArray("\r");
    QTest::newRow("CR LF, last line open") << QByteArray("\r\n");
}

void TestMeasureFiles::loadLineEndsAlike()
{
    QFETCH(QByteArray, end);
    const QStringList lines = Sweep291();
    TBench reference(lines);
    reference.Mereni.SaveTXT(Dir.filePath(QStringLiteral("ref.TXT")));
    reference.Mereni.LoadTXT(Dir.filePath(QStringLiteral("ref.TXT")));

    QByteArray bytes = lines.join(QString::fromLatin1(end)).toLatin1();
    if (end != "\r\n")
        bytes += end;
    const QString path = Dir.filePath(QStringLiteral("ends.TXT"));
    WriteAll(path, bytes);
    TBench b;
    b.Mereni.LoadTXT(path);
    QCOMPARE(b.Mereni.LastLines(), lines);
    QCOMPARE(b.Graph.Composite, reference.Graph.Composite);
}

void TestMeasureFiles::loadMissingFile()
{
    TBench b({ QStringLiteral("14000 50 0") });
    const QString path = Dir.filePath(QStringLiteral("missing.TXT"));
    b.Mereni.LoadTXT(path);
    QCOMPARE(Dialogs.Texts(), std::vector<std::string> { "File " + Std(path) + " not found!" });
    QCOMPARE(b.Mereni.LastLines(), QStringList { QStringLiteral("14000 50 0") });
    QVERIFY(!b.Mereni.Swapped);
    QCOMPARE(b.Graph.OsaX->MinValue, 1.0);
    QCOMPARE(b.Smith.Clears, 0);
}

void TestMeasureFiles::loadRangeEnds_data()
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
    QTest::newRow("empty file changes nothing") << QByteArray() << 1.0 << 30.0 << 1;
}

void TestMeasureFiles::loadRangeEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(double, minMHz);
    QFETCH(double, maxMHz);
    QFETCH(int, points);
    TBench b({ QStringLiteral("14000 50 0") });
    b.Mereni.EvaluateSweep();
    const QString path = Dir.filePath(QStringLiteral("range.TXT"));
    WriteAll(path, bytes);
    b.Mereni.LoadTXT(path);
    QCOMPARE(b.Graph.OsaX->MinValue, minMHz);
    QCOMPARE(b.Graph.OsaX->MaxValue, maxMHz);
    QCOMPARE(b.Mereni.Frequencies.Count(), points);
    QVERIFY(Dialogs.Shown().empty());
}

QTEST_MAIN(TestMeasureFiles)
#include "tst_MeasureFiles.moc"
