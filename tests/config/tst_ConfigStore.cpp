#include "IniFixture.h"
#include "config/ConfigStore.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <random>
#include <stdexcept>
#include <sys/resource.h>
#include <unistd.h>

Q_DECLARE_METATYPE(TConfigItem)

namespace {

const TConfigItem AllItems[] = { ciPort2, ciPort3, ciSelCom, ciBand160, ciBand80, ciBand40,
    ciBand30, ciBand20, ciBand17, ciBand15, ciBand12, ciBand10, ciBand6, ciBand2, ciBand70,
    ciBandOther, ciGraphColor, ciVelocityFactor, ciChImp };

QStringList ReadAll()
{
    QStringList Values;
    for (TConfigItem Item : AllItems)
        Values << ReadConfigValue(Item);
    for (int Index = 0; Index < 10; ++Index) {
        QString Lower, Upper;
        ReadBandLimitsByIndex(Index, Lower, Upper);
        Values << Lower << Upper;
    }
    return Values;
}

QString ExpectedWriteError() { return QStringLiteral("Unable to write to ") + IniPath(); }

// The message of the EKivraError a write raised, or an empty text when it raised none.
template <typename TWrite> QString WriteErrorOf(TWrite Write)
{
    try {
        Write();
    } catch (const EKivraError &Error) {
        return QString::fromStdString(Error.what());
    }
    return {};
}

} // namespace

class TConfigStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void DefaultsWithoutFile_data();
    void DefaultsWithoutFile();
    void BandDefaultsWithoutFile_data();
    void BandDefaultsWithoutFile();
    void ReadingCreatesNothing();
    void Band40Write();
    void ValuesReturnedAsStored_data();
    void ValuesReturnedAsStored();
    void GraphColorLivesInColorSection();
    void EmptyValueIsNotMissing();
    void HandEditedFiles_data();
    void HandEditedFiles();
    void WriteReplacesEveryDuplicate();
    void BinaryGarbage();
    void MegabyteLine();
    void FailedWriteLeavesFile_data();
    void FailedWriteLeavesFile();
    void FirstWriteCreatesFolder();
    void ReadsSeeOtherProcess();
    void IntegerItemsFallBack_data();
    void IntegerItemsFallBack();
    void BandRoutinesRejectOtherItems();
    void ForeignBytesSurvive_data();
    void ForeignBytesSurvive();
    void SavingAgainGivesSameBytes_data();
    void SavingAgainGivesSameBytes();

private:
    std::unique_ptr<TIniFolder> Dir;
};

void TConfigStoreTest::init()
{
    Dir = std::make_unique<TIniFolder>();
    QVERIFY(Dir->IsValid());
}

void TConfigStoreTest::cleanup() { Dir.reset(); }

void TConfigStoreTest::DefaultsWithoutFile_data()
{
    QTest::addColumn<TConfigItem>("item");
    QTest::addColumn<QString>("expected");
    QTest::newRow("SELCOM") << ciSelCom << QStringLiteral("2");
    QTest::newRow("PORT2") << ciPort2 << QStringLiteral("9");
    QTest::newRow("PORT3") << ciPort3 << QStringLiteral("10");
    QTest::newRow("BK_GRAPH_COLOR") << ciGraphColor << QStringLiteral("16774122");
    QTest::newRow("ZKRAC_CINITEL_KAB") << ciVelocityFactor << QStringLiteral("0.66");
    QTest::newRow("CH_IMP") << ciChImp << QStringLiteral("50");
    QTest::newRow("BAND160 selected") << ciBand160 << QStringLiteral("A");
    const TConfigItem Others[] = { ciBand80, ciBand40, ciBand30, ciBand20, ciBand17, ciBand15,
        ciBand12, ciBand10, ciBand6, ciBand2, ciBand70, ciBandOther };
    for (TConfigItem Item : Others)
        QTest::addRow("band item %d not selected", int(Item)) << Item << QStringLiteral("N");
}

void TConfigStoreTest::DefaultsWithoutFile()
{
    QFETCH(TConfigItem, item);
    QFETCH(QString, expected);
    QCOMPARE(ReadConfigValue(item), expected);
    QCOMPARE(ConfigDefault(item), expected);
    // A file without the key, or without the section, gives the same.
    WriteRaw("[COM_PORT]\nUNRELATED=1\n[COLOR]\nOTHER=2\n");
    QCOMPARE(ReadConfigValue(item), expected);
}

void TConfigStoreTest::BandDefaultsWithoutFile_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::newRow("160 m") << 0 << QStringLiteral("1.810") << QStringLiteral("2.000");
    QTest::newRow("80 m") << 1 << QStringLiteral("3.500") << QStringLiteral("3.700");
    QTest::newRow("40 m") << 2 << QStringLiteral("7.000") << QStringLiteral("7.100");
    QTest::newRow("30 m") << 3 << QStringLiteral("10.100") << QStringLiteral("10.150");
    QTest::newRow("20 m") << 4 << QStringLiteral("14.000") << QStringLiteral("14.300");
    QTest::newRow("17 m") << 5 << QStringLiteral("18.068") << QStringLiteral("18.100");
    QTest::newRow("15 m") << 6 << QStringLiteral("21.000") << QStringLiteral("21.350");
    QTest::newRow("12 m") << 7 << QStringLiteral("24.000") << QStringLiteral("24.350");
    QTest::newRow("10 m") << 8 << QStringLiteral("28.000") << QStringLiteral("28.450");
    QTest::newRow("maximum range") << 9 << QStringLiteral("1.0") << QStringLiteral("30.0");
}

void TConfigStoreTest::BandDefaultsWithoutFile()
{
    QFETCH(int, index);
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QString Lower, Upper;
    ReadBandLimitsByIndex(index, Lower, Upper);
    QCOMPARE(Lower, lower);
    QCOMPARE(Upper, upper);
}

void TConfigStoreTest::ReadingCreatesNothing()
{
    const QString Folder = QString::fromStdString(KivraConfigDir());
    ReadAll();
    QVERIFY(!QFileInfo::exists(Folder));

    const QByteArray Content = "[COM_PORT]\nPORT2=4\n";
    WriteRaw(Content);
    ReadAll();
    QCOMPARE(ReadRaw(), Content);
}

void TConfigStoreTest::Band40Write()
{
    WriteBandLimits(
        ciBand40, QStringLiteral("7.000"), QStringLiteral("7.200"), QStringLiteral("A"));
    QCOMPARE(ReadRaw(), QByteArray("[COM_PORT]\nBAND40=A\nFMIN3=7.000\nFMAX3=7.200\n"));
    QString Lower, Upper;
    ReadBandLimitsByIndex(2, Lower, Upper);
    QCOMPARE(Lower, QStringLiteral("7.000"));
    QCOMPARE(Upper, QStringLiteral("7.200"));
    QCOMPARE(ReadConfigValue(ciBand40), QStringLiteral("A"));
    // The neighbours keep their defaults.
    ReadBandLimitsByIndex(1, Lower, Upper);
    QCOMPARE(Lower, QStringLiteral("3.500"));
    QCOMPARE(ReadConfigValue(ciBand160), QStringLiteral("A"));
}

void TConfigStoreTest::ValuesReturnedAsStored_data()
{
    QTest::addColumn<TConfigItem>("item");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("lower-case flag") << ciBand20 << QStringLiteral("a") << QByteArray("BAND20=a");
    QTest::newRow("decimal comma")
        << ciVelocityFactor << QStringLiteral("0,75") << QByteArray("ZKRAC_CINITEL_KAB=0,75");
    QTest::newRow("not a number") << ciPort2 << QStringLiteral("COM 3")
                                  << QByteArray("PORT2=COM 3");
    QTest::newRow("empty") << ciVelocityFactor << QString() << QByteArray("ZKRAC_CINITEL_KAB=");
    QTest::newRow("Windows-1250 text") << ciChImp
                                       << QString::fromLatin1("P\xF8"
                                                              "epsat")
                                       << QByteArray("CH_IMP=P\xF8"
                                                     "epsat");
    QTest::newRow("UTF-8 bytes") << ciChImp
                                 << QString::fromLatin1("P\xC5\x99"
                                                        "epsat")
                                 << QByteArray("CH_IMP=P\xC5\x99"
                                               "epsat");
    QTest::newRow("semicolon and equals")
        << ciChImp << QStringLiteral("5;0=x") << QByteArray("CH_IMP=5;0=x");
}

void TConfigStoreTest::ValuesReturnedAsStored()
{
    QFETCH(TConfigItem, item);
    QFETCH(QString, value);
    QFETCH(QByteArray, line);
    WriteConfigValue(item, value);
    QCOMPARE(ReadConfigValue(item), value);
    QVERIFY2(ReadRaw().split('\n').contains(line), ReadRaw().constData());
    QVERIFY(ReadConfigValue(item) != QStringLiteral("A"));
}

void TConfigStoreTest::GraphColorLivesInColorSection()
{
    WriteRaw("[COM_PORT]\nBK_GRAPH_COLOR=255\n");
    QCOMPARE(ReadConfigValue(ciGraphColor), QStringLiteral("16774122"));
    WriteRaw("[COLOR]\nBK_GRAPH_COLOR=255\n[COM_PORT]\nBK_GRAPH_COLOR=65280\n");
    QCOMPARE(ReadConfigValue(ciGraphColor), QStringLiteral("255"));

    WriteRaw(QByteArray());
    WriteConfigValue(ciGraphColor, QStringLiteral("12345"));
    QCOMPARE(ReadRaw(), QByteArray("[COLOR]\nBK_GRAPH_COLOR=12345\n"));
}

void TConfigStoreTest::EmptyValueIsNotMissing()
{
    WriteRaw("[COM_PORT]\nZKRAC_CINITEL_KAB=\nCH_IMP=   \n");
    QCOMPARE(ReadConfigValue(ciVelocityFactor), QString());
    QCOMPARE(ReadConfigValue(ciChImp), QString());
    // A key without "=" is no key at all.
    WriteRaw("[COM_PORT]\nZKRAC_CINITEL_KAB\n");
    QCOMPARE(ReadConfigValue(ciVelocityFactor), QStringLiteral("0.66"));
}

// What an item of a hand-edited file reads as, before and after a write of another item.
void TConfigStoreTest::HandEditedFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<TConfigItem>("item");
    QTest::addColumn<QString>("expected");
    QTest::newRow("lower-case section and key")
        << QByteArray("[com_port]\nport2=4\n") << ciPort2 << QStringLiteral("4");
    QTest::newRow("mixed-case section")
        << QByteArray("[Color]\nBk_Graph_Color=7\n") << ciGraphColor << QStringLiteral("7");
    QTest::newRow("duplicate key, first wins")
        << QByteArray("[COM_PORT]\nPORT2=4\nPORT2=5\nport2=6\n") << ciPort2 << QStringLiteral("4");
    QTest::newRow("repeated section, first wins")
        << QByteArray("[COM_PORT]\nPORT2=4\n[COLOR]\nX=1\n[com_port]\nPORT2=5\n") << ciPort2
        << QStringLiteral("4");
    // Repeated sections are read as one: a key only in the second one is found.
    QTest::newRow("repeated section, key only in second")
        << QByteArray("[COM_PORT]\nPORT2=4\n[COLOR]\nX=1\n[COM_PORT]\nPORT3=7\n") << ciPort3
        << QStringLiteral("7");
    QTest::newRow("CR LF") << QByteArray("[COM_PORT]\r\nPORT2=4\r\nPORT3=5\r\n") << ciPort3
                           << QStringLiteral("5");
    QTest::newRow("CR alone") << QByteArray("[COM_PORT]\rPORT2=4\rPORT3=5\r") << ciPort2
                              << QStringLiteral("4");
    QTest::newRow("no final line break")
        << QByteArray("[COM_PORT]\nPORT2=4") << ciPort2 << QStringLiteral("4");
    QTest::newRow("blanks around")
        << QByteArray("  [ COM_PORT ]  \n\t PORT2 =  4 \t\n") << ciPort2 << QStringLiteral("4");
    QTest::newRow("broken section line")
        << QByteArray("[COM_PORT]\n[broken\nPORT2=4\n") << ciPort2 << QStringLiteral("4");
    QByteArray WithNul("[COM_PORT]\nPORT3=1#junk\nPORT2=4\n");
    WithNul[18] = '\0';
    QTest::newRow("NUL byte") << WithNul << ciPort2 << QStringLiteral("4");
    QTest::newRow("key before any section")
        << QByteArray("PORT2=4\n[COM_PORT]\nPORT3=5\n") << ciPort2 << QStringLiteral("9");
    QTest::newRow("commented out") << QByteArray("; saved\n[COM_PORT]\n;PORT2=4\n#PORT2=5\n")
                                   << ciPort2 << QStringLiteral("9");
    QTest::newRow("byte order mark")
        << QByteArray("\xEF\xBB\xBF[COM_PORT]\nPORT2=4\n") << ciPort2 << QStringLiteral("4");
    QTest::newRow("multi-line marker is text")
        << QByteArray("[COM_PORT]\nPORT2=<<<END\nPORT3=5\nEND\n") << ciPort3 << QStringLiteral("5");
    QTest::newRow("double quotes dropped")
        << QByteArray("[COM_PORT]\nPORT2=\"4\"\n") << ciPort2 << QStringLiteral("4");
    QTest::newRow("single quotes dropped")
        << QByteArray("[COM_PORT]\nPORT2=' 4 '\n") << ciPort2 << QStringLiteral(" 4 ");
    QTest::newRow("one pair only")
        << QByteArray("[COM_PORT]\nPORT2=\"\"4\"\"\n") << ciPort2 << QStringLiteral("\"4\"");
    QTest::newRow("unmatched quotes kept")
        << QByteArray("[COM_PORT]\nPORT2=\"4'\n") << ciPort2 << QStringLiteral("\"4'");
    QTest::newRow("lone quote kept")
        << QByteArray("[COM_PORT]\nPORT2=\"\n") << ciPort2 << QStringLiteral("\"");
}

void TConfigStoreTest::HandEditedFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(TConfigItem, item);
    QFETCH(QString, expected);
    WriteRaw(content + "\n[MINE]\nKEEP=me\n");
    QCOMPARE(ReadConfigValue(item), expected);
    QStringList Before = ReadAll();

    const TConfigItem Written = item == ciChImp ? ciSelCom : ciChImp;
    WriteConfigValue(Written, QStringLiteral("75"));
    QCOMPARE(ReadConfigValue(Written), QStringLiteral("75"));
    QCOMPARE(ReadConfigValue(item), expected);

    QStringList After = ReadAll();
    const int Index = int(Written);
    Before[Index] = After[Index];
    QCOMPARE(After, Before);
    QVERIFY(ReadRaw().contains("[MINE]\nKEEP=me\n"));

    // A second write reads the first one's output back the same way.
    WriteConfigValue(Written, QStringLiteral("76"));
    After[Index] = QStringLiteral("76");
    QCOMPARE(ReadAll(), After);
}

void TConfigStoreTest::WriteReplacesEveryDuplicate()
{
    WriteRaw("[COM_PORT]\nPORT2=4\nPORT3=1\nport2=5\n[com_port]\nPort2=6\n");
    WriteConfigValue(ciPort2, QStringLiteral("7"));
    QCOMPARE(ReadConfigValue(ciPort2), QStringLiteral("7"));
    QCOMPARE(ReadConfigValue(ciPort3), QStringLiteral("1"));
    QCOMPARE(ReadRaw().toUpper().count("PORT2="), 1);
}

void TConfigStoreTest::BinaryGarbage()
{
    std::mt19937 Random(20517);
    std::uniform_int_distribution<int> Byte(0, 255);
    for (int Round = 0; Round < 8; ++Round) {
        QByteArray Garbage(64 * 1024, '\0');
        for (char &C : Garbage) {
            // Plenty of the characters the parser cares about.
            const int Pick = Byte(Random);
            const char Special[] = { '[', ']', '=', '\n', '\r', ';', '\0', ' ' };
            C = Pick < 64 ? Special[Pick % 8] : char(Pick);
        }
        WriteRaw(Garbage + "\n[COM_PORT]\nPORT2=4\n" + Garbage);
        QStringList Before = ReadAll();
        QCOMPARE(ReadConfigValue(ciPort2), QStringLiteral("4"));

        WriteConfigValue(ciChImp, QStringLiteral("75"));
        QCOMPARE(ReadConfigValue(ciChImp), QStringLiteral("75"));
        QCOMPARE(ReadConfigValue(ciPort2), QStringLiteral("4"));
        QStringList After = ReadAll();
        Before[int(ciChImp)] = After[int(ciChImp)];
        QCOMPARE(After, Before);
    }
}

void TConfigStoreTest::MegabyteLine()
{
    const QByteArray Long(1024 * 1024, 'x');
    WriteRaw("[COM_PORT]\nZKRAC_CINITEL_KAB=" + Long + "\nPORT2=4\n" + Long + "\nPORT3=5\n");
    QCOMPARE(ReadConfigValue(ciVelocityFactor).size(), Long.size());
    QCOMPARE(ReadConfigValue(ciPort2), QStringLiteral("4"));
    QCOMPARE(ReadConfigValue(ciPort3), QStringLiteral("5"));
    WriteConfigValue(ciChImp, QStringLiteral("75"));
    QCOMPARE(ReadConfigValue(ciVelocityFactor), QString::fromLatin1(Long));
    QCOMPARE(ReadConfigValue(ciPort3), QStringLiteral("5"));
}

void TConfigStoreTest::FailedWriteLeavesFile_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("file size limit") << QStringLiteral("limit");
    QTest::newRow("value with line break") << QStringLiteral("linebreak");
    QTest::newRow("read-only folder") << QStringLiteral("readonly");
    QTest::newRow("file is a folder") << QStringLiteral("folder");
    QTest::newRow("folder under a file") << QStringLiteral("underfile");
}

void TConfigStoreTest::FailedWriteLeavesFile()
{
    QFETCH(QString, way);
    const QByteArray Old
        = "; mine\n[COM_PORT]\r\nport2 = 4\r\nPORT3=5\n[COLOR]\nBK_GRAPH_COLOR=1\n";
    WriteRaw(Old);
    const QString Folder = QString::fromStdString(KivraConfigDir());
    QString Value = QStringLiteral("75");
    rlimit SavedLimit {};
    auto SavedSignal = SIG_DFL;

    if (way == QStringLiteral("limit")) {
        // Works for root too: the kernel refuses to grow any file past the limit.
        Value = QString(8192, QLatin1Char('7'));
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &SavedLimit), 0);
        rlimit Limit = SavedLimit;
        Limit.rlim_cur = 4096;
        SavedSignal = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &Limit), 0);
    } else if (way == QStringLiteral("linebreak")) {
        Value = QStringLiteral("75\n[COLOR]\nBK_GRAPH_COLOR=0");
    } else if (way == QStringLiteral("readonly")) {
        QVERIFY(QFile::setPermissions(Folder, QFile::ReadOwner | QFile::ExeOwner));
        QFile Probe(Folder + QStringLiteral("/probe"));
        if (Probe.open(QIODevice::WriteOnly)) {
            Probe.remove();
            QFile::setPermissions(Folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("Permission bits do not stop this user from writing");
        }
    }

    QString Message;
    QString Path = IniPath();
    if (way == QStringLiteral("folder")) {
        QVERIFY(QFile::remove(Path));
        QVERIFY(QDir().mkdir(Path));
    } else if (way == QStringLiteral("underfile")) {
        // The configuration folder's parent is a regular file.
        const QString Parent = Dir->Path() + QStringLiteral("/plain");
        QFile Plain(Parent);
        QVERIFY(Plain.open(QIODevice::WriteOnly));
        Plain.write(Old);
        Plain.close();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(Parent));
        Path = IniPath();
        Message = WriteErrorOf([&] { WriteConfigValue(ciChImp, Value); });
        QCOMPARE(Message, ExpectedWriteError());
        QFile Again(Parent);
        QVERIFY(Again.open(QIODevice::ReadOnly));
        QCOMPARE(Again.readAll(), Old);
        return;
    }

    Message = WriteErrorOf([&] { WriteConfigValue(ciChImp, Value); });
    const QString BandMessage = WriteErrorOf(
        [&] { WriteBandLimits(ciBand40, Value, QStringLiteral("7.200"), QStringLiteral("A")); });

    if (way == QStringLiteral("limit")) {
        setrlimit(RLIMIT_FSIZE, &SavedLimit);
        std::signal(SIGXFSZ, SavedSignal);
    } else if (way == QStringLiteral("readonly")) {
        QFile::setPermissions(Folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QCOMPARE(Message, ExpectedWriteError());
    QCOMPARE(BandMessage, ExpectedWriteError());
    if (way == QStringLiteral("folder")) {
        QVERIFY(QFileInfo(Path).isDir());
        QCOMPARE(ReadConfigValue(ciPort2), QStringLiteral("9"));
        return;
    }
    QCOMPARE(ReadRaw(), Old);
    // No temporary file is left behind beside it.
    QCOMPARE(QDir(Folder).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("KIVRA.INI") });
}

void TConfigStoreTest::FirstWriteCreatesFolder()
{
    const QString Deeper = Dir->Path() + QStringLiteral("/not/yet");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Deeper));
    QVERIFY(!QFileInfo::exists(Deeper));
    WriteConfigValue(ciSelCom, QStringLiteral("3"));
    QCOMPARE(ReadRaw(), QByteArray("[COM_PORT]\nSELCOM=3\n"));
    QCOMPARE(IniPath(), Deeper + QStringLiteral("/kivra/KIVRA.INI"));
}

void TConfigStoreTest::ReadsSeeOtherProcess()
{
    WriteConfigValue(ciPort2, QStringLiteral("4"));
    QCOMPARE(ReadConfigValue(ciPort2), QStringLiteral("4"));

    // Another process rewrites the file in place with the same length, within the same
    // second: neither the size nor a coarse modification time gives the change away.
    const auto RunShell = [](const QString &Script) {
        QProcess Shell;
        Shell.start(QStringLiteral("/bin/sh"),
            { QStringLiteral("-c"), Script, QStringLiteral("sh"), IniPath() });
        return Shell.waitForFinished(30000) && Shell.exitStatus() == QProcess::NormalExit
            && Shell.exitCode() == 0;
    };
    const QByteArray Before = ReadRaw();
    QVERIFY(RunShell(QStringLiteral("printf '[COM_PORT]\\nPORT2=5\\n' > \"$1\"")));
    QCOMPARE(ReadRaw().size(), Before.size());
    QCOMPARE(ReadConfigValue(ciPort2), QStringLiteral("5"));

    QVERIFY(RunShell(QStringLiteral("rm \"$1\"")));
    QCOMPARE(ReadConfigValue(ciPort2), QStringLiteral("9"));

    // A write starts from what is on disk now, not from what an earlier call saw.
    QVERIFY(RunShell(QStringLiteral("printf '[COM_PORT]\\nPORT3=6\\n' > \"$1\"")));
    WriteConfigValue(ciSelCom, QStringLiteral("3"));
    QCOMPARE(ReadConfigValue(ciPort3), QStringLiteral("6"));
    QCOMPARE(ReadConfigValue(ciPort2), QStringLiteral("9"));
}

void TConfigStoreTest::IntegerItemsFallBack_data()
{
    QTest::addColumn<TConfigItem>("item");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("expected");
    QTest::newRow("stored port") << ciPort2 << QByteArray("[COM_PORT]\nPORT2=4\n") << 4;
    QTest::newRow("port with text") << ciPort2 << QByteArray("[COM_PORT]\nPORT2=COM 3\n") << 9;
    QTest::newRow("empty SELCOM") << ciSelCom << QByteArray("[COM_PORT]\nSELCOM=\n") << 2;
    QTest::newRow("colour as hex")
        << ciGraphColor << QByteArray("[COLOR]\nBK_GRAPH_COLOR=$FF\n") << 16774122;
    QTest::newRow("impedance with decimals")
        << ciChImp << QByteArray("[COM_PORT]\nCH_IMP=75.0\n") << 50;
    QTest::newRow("negative kept") << ciChImp << QByteArray("[COM_PORT]\nCH_IMP=-5\n") << -5;
    QTest::newRow("system colour")
        << ciGraphColor << QByteArray("[COLOR]\nBK_GRAPH_COLOR=-16777201\n") << 16774122;
    QTest::newRow("black") << ciGraphColor << QByteArray("[COLOR]\nBK_GRAPH_COLOR=0\n") << 0;
    QTest::newRow("beyond 32 bits")
        << ciPort3 << QByteArray("[COM_PORT]\nPORT3=4294967296\n") << 10;
}

void TConfigStoreTest::IntegerItemsFallBack()
{
    QFETCH(TConfigItem, item);
    QFETCH(QByteArray, content);
    QFETCH(int, expected);
    WriteRaw(content);
    QCOMPARE(ReadConfigInt(item), expected);
}

void TConfigStoreTest::BandRoutinesRejectOtherItems()
{
    QString Lower = QStringLiteral("x"), Upper = QStringLiteral("y");
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ReadBandLimits(ciBand6, Lower, Upper));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ReadBandLimits(ciChImp, Lower, Upper));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, ReadBandLimitsByIndex(10, Lower, Upper));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, ReadBandLimitsByIndex(-1, Lower, Upper));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
        WriteBandLimits(ciBand70, QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("A")));
    QVERIFY(!QFileInfo::exists(IniPath()));
    QVERIFY_THROWS_EXCEPTION(EConvertError, ReadConfigInt(ciVelocityFactor));
    // ciBand6 still has its flag.
    WriteConfigValue(ciBand6, QStringLiteral("N"));
    QCOMPARE(ReadRaw(), QByteArray("[COM_PORT]\nBAND6=N\n"));
}

void TConfigStoreTest::ForeignBytesSurvive_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("Windows-1250") << QByteArray("Anal\xFDz\xE1tor \x9A\xED\xF8ka");
    QTest::newRow("lone UTF-8 lead byte") << QByteArray("7.0\xC5");
    QTest::newRow("control bytes") << QByteArray("\x01\x7F\x80\x9F\xA0\xFF");
}

// Another program's bytes come back one character per byte and go back unchanged, both
// when another key is written and when the value itself is read and written back.
void TConfigStoreTest::ForeignBytesSurvive()
{
    QFETCH(QByteArray, value);
    const QByteArray Old = "[COM_PORT]\nPORT2=" + value + "\nNAZEV=" + value + "\n";
    WriteRaw(Old);
    const QString Read = ReadConfigValue(ciPort2);
    QCOMPARE(Read, QString::fromLatin1(value));
    WriteConfigValue(ciChImp, QStringLiteral("75"));
    WriteConfigValue(ciPort2, Read);
    QCOMPARE(ReadRaw(), Old + "CH_IMP=75\n");
    // A character beyond one byte can only have been typed; it goes out in UTF-8.
    WriteConfigValue(ciPort2, QStringLiteral("\u0159"));
    QCOMPARE(ReadConfigValue(ciPort2), QString::fromLatin1("\xC5\x99"));
}

void TConfigStoreTest::SavingAgainGivesSameBytes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("no file") << QByteArray();
    QTest::newRow("indented comment on top") << QByteArray(" ; mine\n[COM_PORT]\nPORT2=4\n");
    QTest::newRow("comment after a skipped line") << QByteArray("=x\n; mine\n[COM_PORT]\n");
    QTest::newRow("comment after a bare key") << QByteArray("K\n# h\n[COM_PORT]\nPORT2=4\n");
    QTest::newRow("blank lines on top") << QByteArray("\n\n; mine\n[COM_PORT]\n");
    QTest::newRow("comments everywhere")
        << QByteArray("; a\n\n; b\n[COM_PORT]\n; c\nPORT2=4\n\n; d\n[COLOR]\n;e\nX=1\n");
}

void TConfigStoreTest::SavingAgainGivesSameBytes()
{
    QFETCH(QByteArray, content);
    if (!content.isEmpty())
        WriteRaw(content);
    QByteArray First;
    for (int Save = 0; Save < 10; ++Save) {
        WriteConfigValue(ciSelCom, QStringLiteral("2"));
        if (Save == 0)
            First = ReadRaw();
        QCOMPARE(ReadRaw(), First);
    }
}

QTEST_GUILESS_MAIN(TConfigStoreTest)
#include "tst_ConfigStore.moc"
