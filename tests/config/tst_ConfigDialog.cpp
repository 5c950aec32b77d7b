#include "IniFixture.h"
#include "config/ConfigStore.h"
#include "config/TDlgConfig.h"
#include "config/TfrmCfg.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <map>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const QByteArrayList FlagKeys { "BAND160", "BAND80", "BAND40", "BAND30", "BAND20", "BAND17",
    "BAND15", "BAND12", "BAND10", "BAND6", "BAND2", "BAND70", "OTHER" };

// The lines of section COM_PORT, in file order.
QByteArrayList ComPortLines()
{
    QByteArrayList Lines;
    bool Inside = false;
    for (const QByteArray &Line : ReadRaw().split('\n')) {
        Inside = Line.startsWith('[') ? Line == "[COM_PORT]" : Inside;
        if (Inside && Line.contains('='))
            Lines << Line;
    }
    return Lines;
}

// "band lower/upper option port2/port3 colour", "-" for no band or no option.
QString Shown(const TfrmCfg &Frame)
{
    const int Band = Frame.SelectedBand();
    const QString Option = Frame.chkUsbCom->isChecked() ? QStringLiteral("A")
        : Frame.lbCom3->isChecked()                     ? QStringLiteral("B")
                                                        : QStringLiteral("-");
    return QStringLiteral("%1 %2/%3 %4 %5/%6 %7")
        .arg(Band < 0 ? QStringLiteral("-") : Frame.BandButtons()[Band]->text(),
            Frame.edFROD->text(), Frame.edFRDO->text(), Option, Frame.edUsbCom->text(),
            Frame.edCom3->text(), QString::number(Frame.pnColor->Color()));
}

const QString FreshShown = QStringLiteral("160 1.810/2.000 A 9/10 16774122");

struct TRun
{
    bool Accepted = false;
    bool LeftOpen = false;
};

// Opens the dialog over Frame and runs Script once it is up; a dialog the script leaves
// open is cancelled afterwards, so no test can hang on it.
TRun RunDialog(TfrmCfg &Frame, const std::function<void(TDlgConfig &)> &Script)
{
    TRun Run;
    QTimer::singleShot(0, [&] {
        for (QWidget *Widget : QApplication::topLevelWidgets()) {
            auto *Dialog = dynamic_cast<TDlgConfig *>(Widget);
            if (!Dialog || !Dialog->isVisible())
                continue;
            Script(*Dialog);
            Run.LeftOpen = Dialog->isVisible();
            if (Run.LeftOpen)
                Dialog->reject();
        }
    });
    Run.Accepted = Frame.ShowConfigDialog(nullptr);
    return Run;
}

} // namespace

class TConfigDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void FreshConfiguration();
    void OkStoresTheSelectedBand_data();
    void OkStoresTheSelectedBand();
    void OkRefusesLimitsTheAnalyzerCannotSweep_data();
    void OkRefusesLimitsTheAnalyzerCannotSweep();
    void StornoStoresNothing();
    void Keys_data();
    void Keys();
    void HandEditedFile_data();
    void HandEditedFile();
    void ColourDialog();
    void FailedSaveKeepsDialogOpen_data();
    void FailedSaveKeepsDialogOpen();
    void SavesAreStable();
    void AdapterLinkOnOk_data();
    void AdapterLinkOnOk();

private:
    std::unique_ptr<TIniFolder> Dir;
    std::unique_ptr<QWidget> Home;
    QPointer<TfrmCfg> Frame;
    TScriptedDialogs Scripted;
    std::unique_ptr<TDialogsScope> Scope;
};

void TConfigDialogTest::init()
{
    Dir = std::make_unique<TIniFolder>();
    QVERIFY(Dir->IsValid());
    // As in the program: the frame lives inside a window and is never shown there.
    Home = std::make_unique<QWidget>();
    Frame = new TfrmCfg(Home.get());
    Scripted = TScriptedDialogs();
    Scope = std::make_unique<TDialogsScope>(Scripted);
}

void TConfigDialogTest::cleanup()
{
    Scope.reset();
    Home.reset();
    Dir.reset();
}

void TConfigDialogTest::FreshConfiguration()
{
    Home->show();
    QVERIFY(!Frame->isVisible());
    const TRun Run = RunDialog(*Frame, [&](TDlgConfig &Dialog) {
        QCOMPARE(Dialog.windowTitle(), QStringLiteral("Configuration"));
        QCOMPARE(Dialog.size(), QSize(499, 456));
        QVERIFY(
            (Dialog.frameGeometry().center() - Home->geometry().center()).manhattanLength() <= 2);
        QCOMPARE(Frame->parentWidget(), Dialog.pnMain);
        QVERIFY(Frame->isVisible() && !Frame->pnBottom->isVisible());
        QCOMPARE(Frame->PageControl1->currentWidget(), Frame->tsFrekvence);
        QCOMPARE(Frame->PageControl1->tabText(0), QStringLiteral("Band setings"));
        QCOMPARE(Shown(*Frame), FreshShown);
        QCOMPARE(Frame->pnColor->Color(), RGBColor(234, 243, 255));
        Dialog.btnStorno->click();
    });
    QVERIFY(!Run.Accepted && !Run.LeftOpen);
    QVERIFY(!QFile::exists(IniPath()));
    // Given back before the dialog went: alive, home and hidden.
    QVERIFY(Frame);
    QCOMPARE(Frame->parentWidget(), Home.get());
    QVERIFY(Frame->isHidden());
}

void TConfigDialogTest::OkStoresTheSelectedBand_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QByteArrayList>("limits");
    QTest::newRow("40 m, end edited")
        << 2 << QStringLiteral("7.000/7.100") << QString() << QStringLiteral("7.200")
        << QByteArrayList { "FMIN3=7.000", "FMAX3=7.200" };
    QTest::newRow("maximum range") << 9 << QStringLiteral("1.0/30.0") << QStringLiteral("1.5")
                                   << QString() << QByteArrayList { "FMIN13=1.5", "FMAX13=30.0" };
}

void TConfigDialogTest::OkStoresTheSelectedBand()
{
    QFETCH(int, band);
    QFETCH(QString, shown);
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QFETCH(QByteArrayList, limits);
    int Changes = 0;
    Frame->OnChange = [&] { ++Changes; };
    const TRun Run = RunDialog(*Frame, [&](TDlgConfig &Dialog) {
        Frame->BandButtons()[band]->click();
        QCOMPARE(Frame->edFROD->text() + QLatin1Char('/') + Frame->edFRDO->text(), shown);
        if (!lower.isNull())
            Frame->edFROD->setText(lower);
        if (!upper.isNull())
            Frame->edFRDO->setText(upper);
        Dialog.btnOk->click();
    });
    QVERIFY(Run.Accepted && !Run.LeftOpen);
    QCOMPARE(Changes, 1);
    QByteArrayList Expected { "SELCOM=2", "PORT2=9" };
    for (int Flag = 0; Flag < FlagKeys.size(); ++Flag)
        Expected << FlagKeys[Flag] + (Flag == (band == 9 ? 12 : band) ? "=A" : "=N");
    QCOMPARE(ComPortLines(), Expected + limits);
    QVERIFY(ReadRaw().contains("[COLOR]\nBK_GRAPH_COLOR=16774122\n"));
    // Reopened, the dialog shows what was stored.
    const QByteArray Stored = limits[0].split('=')[1] + '/' + limits[1].split('=')[1];
    RunDialog(*Frame, [&](TDlgConfig &) {
        QCOMPARE(Frame->SelectedBand(), band);
        QCOMPARE(Frame->edFROD->text() + QLatin1Char('/') + Frame->edFRDO->text(),
            QString::fromLatin1(Stored));
    });
}

void TConfigDialogTest::OkRefusesLimitsTheAnalyzerCannotSweep_data()
{
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("start"); // the field named and focused
    QTest::newRow("end not above start")
        << QStringLiteral("7.200") << QStringLiteral("7.000")
        << QStringLiteral("Band start (MHz) must be below Band end (MHz).") << true;
    QTest::newRow("not a number") << QStringLiteral("abc") << QStringLiteral("7.1")
                                  << QStringLiteral("Band start (MHz): \"abc\" is not a number.")
                                  << true;
    QTest::newRow("comma") << QStringLiteral("7.0") << QStringLiteral("7,1")
                           << QStringLiteral("Band end (MHz): \"7,1\" is not a number.") << false;
    QTest::newRow("below 1 MHz")
        << QStringLiteral("0.5") << QStringLiteral("7.2")
        << QStringLiteral("Band start (MHz): Range 0.500–7.200 MHz is outside 1.000–30.000 MHz.")
        << true;
    QTest::newRow("above 30 MHz")
        << QStringLiteral("28") << QStringLiteral("31")
        << QStringLiteral("Band end (MHz): Range 28.000–31.000 MHz is outside 1.000–30.000 MHz.")
        << false;
    QTest::newRow("empty") << QString() << QStringLiteral("7.1")
                           << QStringLiteral("Band start (MHz) is empty: select a band.") << true;
}

void TConfigDialogTest::OkRefusesLimitsTheAnalyzerCannotSweep()
{
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QFETCH(QString, message);
    QFETCH(bool, start);
    int Changes = 0;
    Frame->OnChange = [&] { ++Changes; };
    const TRun Run = RunDialog(*Frame, [&](TDlgConfig &Dialog) {
        Frame->BandButtons()[2]->click();
        Frame->edFROD->setText(lower);
        Frame->edFRDO->setText(upper);
        Dialog.btnOk->click();
        // Still open, the field named and focused, nothing stored.
        QVERIFY(Dialog.isVisible());
        QCOMPARE(Scripted.Texts(), std::vector<std::string> { message.toStdString() });
        QCOMPARE(Dialog.focusWidget(), start ? Frame->edFROD : Frame->edFRDO);
        Dialog.btnStorno->click();
    });
    QVERIFY(!Run.Accepted);
    QCOMPARE(Changes, 0);
    QVERIFY(!QFile::exists(IniPath()));
}

void TConfigDialogTest::StornoStoresNothing()
{
    const QByteArray Old = "[COM_PORT]\nSELCOM=3\nPORT3=4\nBAND160=N\nBAND80=A\nFMAX2=3.8\n";
    const QString Stored = QStringLiteral("80 3.500/3.8 B 9/4 16774122");
    WriteRaw(Old);
    Scripted.QueueColor(RGBColor(1, 2, 3));
    const TRun Run = RunDialog(*Frame, [&](TDlgConfig &Dialog) {
        QCOMPARE(Shown(*Frame), Stored);
        Frame->chkUsbCom->click();
        Frame->edUsbCom->setText(QStringLiteral("7"));
        Frame->rb10->click();
        Frame->edFRDO->setText(QStringLiteral("29.000"));
        Frame->PageControl1->setCurrentIndex(2);
        Frame->btnBarvaPozadi->click();
        QCOMPARE(Shown(*Frame), QStringLiteral("10 28.000/29.000 A 7/4 197121"));
        Dialog.btnStorno->click();
    });
    QVERIFY(!Run.Accepted);
    RunDialog(*Frame, [&](TDlgConfig &) {
        QCOMPARE(Frame->PageControl1->currentWidget(), Frame->tsFrekvence);
        QCOMPARE(Shown(*Frame), Stored);
    });
    QCOMPARE(ReadRaw(), Old);
}

void TConfigDialogTest::Keys_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saves");
    const QString Edit = QStringLiteral("edit");
    const auto Row = [](const char *Keys, const QString &Focus, bool Closes, bool Saves) {
        QTest::addRow("%s on %s", Keys, qPrintable(Focus))
            << QKeySequence(QString::fromLatin1(Keys)) << Focus << Closes << Saves;
    };
    Row("Ctrl+Return", Edit, true, true);
    Row("Ctrl+Enter", Edit, true, true);
    Row("Ctrl+Return", QStringLiteral("colour"), true, true);
    Row("Esc", Edit, true, false);
    Row("Shift+Esc", QStringLiteral("band"), true, false);
    Row("Ctrl+Esc", Edit, false, false);
    Row("Return", Edit, false, false);
    Row("Enter", Edit, false, false);
    Row("Return", QStringLiteral("colour"), false, false);
    Row("Return", QStringLiteral("ok"), false, false);
    Row("Return", QStringLiteral("band"), false, false);
    Row("Ctrl+Shift+Return", Edit, false, false);
    Row("Alt+Return", Edit, false, false);
}

void TConfigDialogTest::Keys()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, focus);
    QFETCH(bool, closes);
    QFETCH(bool, saves);
    const TRun Run = RunDialog(*Frame, [&](TDlgConfig &Dialog) {
        const std::map<QString, QWidget *> Targets { { QStringLiteral("edit"), Frame->edFRDO },
            { QStringLiteral("colour"), Frame->btnBarvaPozadi },
            { QStringLiteral("ok"), Dialog.btnOk }, { QStringLiteral("band"), Frame->rb40 } };
        QWidget *const Target = Targets.at(focus);
        if (Target == Frame->btnBarvaPozadi)
            Frame->PageControl1->setCurrentWidget(Frame->TabSheet4);
        Target->setFocus();
        Frame->edFRDO->setText(QStringLiteral("2.100"));
        QTest::keySequence(Target, keys);
    });
    QCOMPARE(Run.Accepted, saves);
    QCOMPARE(Run.LeftOpen, !closes);
    QCOMPARE(ComPortLines().contains("FMAX1=2.100"), saves);
    // No key pressed a button of the frame either.
    QVERIFY(Scripted.Shown().empty());
}

void TConfigDialogTest::HandEditedFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("shown");
    const auto Row = [](const char *Name, const char *Content, const char *Shown) {
        QTest::newRow(Name) << QByteArray(Content) << QString::fromLatin1(Shown);
    };
    Row("no band flag A", "[COM_PORT]\nBAND160=N\nBAND40=a\n", "- / A 9/10 16774122");
    Row("several A, last wins", "[COM_PORT]\nBAND80=A\nBAND20=A\nFMIN5=14.1\n",
        "20 14.1/14.300 A 9/10 16774122");
    Row("maximum range", "[COM_PORT]\nBAND160=N\nOTHER=A\n", "Max range 1.0/30.0 A 9/10 16774122");
    Row("option B", "[COM_PORT]\nSELCOM=3\nPORT3=\x9A\x01\n",
        "160 1.810/2.000 B 9/\x9A\x01 16774122");
    Row("SELCOM not a number", "[COM_PORT]\nSELCOM=B\n", "160 1.810/2.000 A 9/10 16774122");
    Row("system colour", "[COLOR]\nBK_GRAPH_COLOR=-16777211\n", "160 1.810/2.000 A 9/10 16774122");
}

// Loaded straight into the hidden frame, as the main window does at start-up.
void TConfigDialogTest::HandEditedFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, shown);
    WriteRaw(content);
    Frame->LoadSettings();
    QCOMPARE(Shown(*Frame), shown);
    int Checked = 0;
    for (QRadioButton *Button : Frame->BandButtons())
        Checked += Button->isChecked();
    QCOMPARE(Checked, Frame->SelectedBand() < 0 ? 0 : 1);
    QCOMPARE(ReadRaw(), content);
}

void TConfigDialogTest::ColourDialog()
{
    Frame->LoadSettings();
    Scripted.QueueColor(RGBColor(10, 20, 30));
    Frame->btnBarvaPozadi->click();
    QCOMPARE(Frame->pnColor->Color(), RGBColor(10, 20, 30));
    Frame->btnBarvaPozadi->click(); // cancelled: the panel keeps its colour
    QCOMPARE(Frame->pnColor->Color(), RGBColor(10, 20, 30));
    Frame->LoadSettings();
    Scripted.QueueColor(clNavy);
    Frame->btnBarvaPozadi->click();
    Frame->btnSaveCfgClick();
    QCOMPARE(ReadConfigValue(ciGraphColor), QString::number(clNavy));
    // The dialog starts black, then from the colour last chosen in it, never from the panel.
    const std::string Last = std::to_string(RGBColor(10, 20, 30));
    QCOMPARE(Scripted.Texts(), (std::vector<std::string> { "0", Last, Last }));
}

void TConfigDialogTest::FailedSaveKeepsDialogOpen_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("read-only folder") << true;
    // Stops root too: the kernel refuses to grow any file past the limit.
    QTest::newRow("file size limit") << false;
}

void TConfigDialogTest::FailedSaveKeepsDialogOpen()
{
    QFETCH(bool, readOnlyFolder);
    const QByteArray Old = "; mine\n[COM_PORT]\nPORT2=4\nBAND40=A\n";
    WriteRaw(Old);
    const QString Folder = QString::fromStdString(KivraConfigDir());
    rlimit SavedLimit {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &SavedLimit), 0);
    const auto SavedSignal = std::signal(SIGXFSZ, SIG_IGN);
    const auto Restore = qScopeGuard([&] {
        QFile::setPermissions(Folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        setrlimit(RLIMIT_FSIZE, &SavedLimit);
        std::signal(SIGXFSZ, SavedSignal);
    });
    if (readOnlyFolder) {
        QVERIFY(QFile::setPermissions(Folder, QFile::ReadOwner | QFile::ExeOwner));
        QFile Probe(Folder + QStringLiteral("/probe"));
        if (Probe.open(QIODevice::WriteOnly) && Probe.remove())
            QSKIP("Permission bits do not stop this user from writing");
    } else {
        rlimit Limit = SavedLimit;
        Limit.rlim_cur = 16;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &Limit), 0);
    }
    int Changes = 0;
    Frame->OnChange = [&] { ++Changes; };
    bool Open = false;
    const TRun Run = RunDialog(*Frame, [&](TDlgConfig &Dialog) {
        Frame->edFRDO->setText(QStringLiteral("7.300"));
        Dialog.btnOk->click();
        Open = Dialog.isVisible();
        QTest::keyClick(Frame->edFRDO, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(Frame->edFRDO->text(), QStringLiteral("7.300"));
    });
    QVERIFY(Open && Run.LeftOpen && !Run.Accepted);
    QCOMPARE(Changes, 0);
    const std::string Message = "Unable to write to " + KivraIniPath();
    QCOMPARE(Scripted.Texts(), (std::vector<std::string> { Message, Message }));
    QCOMPARE(Scripted.Shown().front().Kind, TScriptedDialogs::TKind::ErrorBox);
    QCOMPARE(ReadRaw(), Old);
    QCOMPARE(QDir(Folder).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("KIVRA.INI") });
}

// Saving the same settings again gives the same bytes; bytes of another code page, in keys
// the dialog shows and in keys it does not know, stay as they are.
void TConfigDialogTest::SavesAreStable()
{
    const QByteArray Foreign = "=junk\n; top\n[COM_PORT]\r\nNAZEV=Anal\xFDz\xE1tor \x9A\xED\n"
                               "PORT2=4\xB9\nFMIN4=10.1\xA0\x9A\x01\n[MINE]\nX=\x8A\n";
    for (const QByteArray &Start : { QByteArray(), Foreign }) {
        QFile::remove(IniPath());
        if (!Start.isEmpty())
            WriteRaw(Start);
        Frame->LoadSettings();
        Frame->rb30->click();
        Frame->edFRDO->setText(QStringLiteral("10.140"));
        Frame->btnSaveCfgClick();
        const QByteArray First = ReadRaw();
        for (int Save = 0; Save < 10; ++Save) {
            Frame->LoadSettings();
            Frame->btnSaveCfgClick();
            QCOMPARE(ReadRaw(), First);
        }
        QVERIFY(ComPortLines().contains("FMAX4=10.140"));
        if (Start.isEmpty())
            continue;
        for (const char *Line : { "NAZEV=Anal\xFDz\xE1tor \x9A\xED\n", "PORT2=4\xB9\n",
                 "FMIN4=10.1\xA0\x9A\x01\n", "[MINE]\nX=\x8A\n" })
            QVERIFY2(First.contains(Line), Line);
        QVERIFY(First.startsWith("; top\n"));
    }
}

void TConfigDialogTest::AdapterLinkOnOk_data()
{
    // What ports/COM9 is before, the answer to a question, OK or Storno; afterwards: where
    // the link leads ("file" and "folder" for those kept), and the boxes shown.
    QTest::addColumn<QString>("Before");
    QTest::addColumn<bool>("Yes");
    QTest::addColumn<bool>("Ok");
    QTest::addColumn<QString>("After");
    QTest::addColumn<QStringList>("Boxes");
    const QString Stable = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_A9XYZ-if00-port0");
    const QString Question = QStringLiteral("%1 leads to /dev/ttyUSB7.\nReplace it by a link to ")
        + Stable + QLatin1Char('?');
    QTest::newRow("none, OK links") << QString() << false << true << Stable << QStringList();
    QTest::newRow("none, Storno does not")
        << QString() << false << false << QString() << QStringList();
    QTest::newRow("foreign link, Yes replaces")
        << QStringLiteral("/dev/ttyUSB7") << true << true << Stable << QStringList { Question };
    QTest::newRow("foreign link, No keeps")
        << QStringLiteral("/dev/ttyUSB7") << false << true << QStringLiteral("/dev/ttyUSB7")
        << QStringList { Question };
    QTest::newRow("same link, nothing asked") << Stable << false << true << Stable << QStringList();
    QTest::newRow("regular file untouched")
        << QStringLiteral("file") << true << true << QStringLiteral("file")
        << QStringList { QStringLiteral(
               "%1 is not a link: it was left untouched, and port COM9 still opens through it.") };
    QTest::newRow("folder untouched")
        << QStringLiteral("folder") << true << true << QStringLiteral("folder")
        << QStringList { QStringLiteral(
               "%1 is not a link: it was left untouched, and port COM9 still opens through it.") };
    QTest::newRow("simulator's link kept")
        << QStringLiteral("pty") << true << true << QStringLiteral("pty")
        << QStringList { QStringLiteral(
               "%1 leads to the simulated analyzer (%2): it was left as it is.") };
    QTest::newRow("no adapter present")
        << QStringLiteral("none-present") << true << true << QString() << QStringList();
}

void TConfigDialogTest::AdapterLinkOnOk()
{
    QFETCH(QString, Before);
    QFETCH(bool, Yes);
    QFETCH(bool, Ok);
    QFETCH(QString, After);
    QFETCH(QStringList, Boxes);
    const QString Ports = QString::fromStdString(KivraConfigDir()) + QStringLiteral("/ports");
    const QString Link = Ports + QStringLiteral("/COM9");
    QVERIFY(QDir().mkpath(Ports));
    const int Pty = ::posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(Pty >= 0 && ::grantpt(Pty) == 0 && ::unlockpt(Pty) == 0);
    const auto ClosePty = qScopeGuard([Pty] { ::close(Pty); });
    const QString PtyName = QString::fromLocal8Bit(::ptsname(Pty));
    if (Before == QStringLiteral("file")) {
        QFile File(Link);
        QVERIFY(File.open(QIODevice::WriteOnly) && File.write("mine") == 4);
    } else if (Before == QStringLiteral("folder")) {
        QVERIFY(QDir().mkpath(Link));
    } else if (Before == QStringLiteral("pty")) {
        QVERIFY(QFile::link(PtyName, Link));
    } else if (Before.startsWith(QLatin1Char('/'))) {
        QVERIFY(QFile::link(Before, Link));
    }
    const bool Present = Before != QStringLiteral("none-present");
    Frame->AdapterSource = [Present] {
        if (!Present)
            return std::vector<TSerialAdapter>();
        return std::vector<TSerialAdapter> { { "USB2.0-Serial", "QinHeng", "", "/dev/ttyUSB1",
                                                 "/dev/ttyUSB1" },
            { "FT232R USB UART", "FTDI", "A9XYZ", "/dev/ttyUSB0",
                "/dev/serial/by-id/usb-FTDI_FT232R_A9XYZ-if00-port0" } };
    };
    Scripted.QueueAnswer(Yes ? TDialogs::TAnswer::Yes : TDialogs::TAnswer::No);
    const TRun Run = RunDialog(*Frame, [&](TDlgConfig &Dialog) {
        auto *List = Frame->findChild<QComboBox *>(QStringLiteral("cbUsbComAdapter"));
        QVERIFY(List && List->count() == 0);
        // The page fills its lists when it comes to the front.
        Frame->PageControl1->setCurrentWidget(Frame->TabSheet2);
        if (!Present) {
            QCOMPARE(List->currentText(), QStringLiteral("No serial adapter found"));
            QVERIFY(!List->isEnabled());
        } else {
            QCOMPARE(List->count(), 3);
            QCOMPARE(List->itemText(2),
                QStringLiteral("FT232R USB UART, FTDI, serial A9XYZ "
                               "(/dev/serial/by-id/usb-FTDI_FT232R_A9XYZ-if00-port0)"));
            QCOMPARE(List->currentIndex(), Before.endsWith(QLatin1String("-port0")) ? 2 : 0);
            List->setCurrentIndex(2);
        }
        (Ok ? Dialog.btnOk : Dialog.btnStorno)->click();
    });
    QVERIFY(!Run.LeftOpen);
    const QFileInfo Info(Link);
    if (After == QStringLiteral("file")) {
        QFile File(Link);
        QVERIFY(!Info.isSymLink() && File.open(QIODevice::ReadOnly) && File.readAll() == "mine");
    } else if (After == QStringLiteral("folder")) {
        QVERIFY(!Info.isSymLink() && Info.isDir());
    } else if (After == QStringLiteral("pty")) {
        QCOMPARE(Info.symLinkTarget(), PtyName);
    } else if (After.isEmpty()) {
        QVERIFY(!Info.exists() && !Info.isSymLink());
    } else {
        QCOMPARE(QFile::symLinkTarget(Link), After);
    }
    QStringList Shown;
    for (const std::string &Text : Scripted.Texts())
        Shown << QString::fromStdString(Text);
    for (QString &Box : Boxes)
        Box = Box.arg(Link, PtyName);
    QCOMPARE(Shown, Boxes);
    // Nothing is left half made beside the link.
    QCOMPARE(QDir(Ports).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
        Info.exists() || Info.isSymLink() ? QStringList { QStringLiteral("COM9") } : QStringList());
}

QTEST_MAIN(TConfigDialogTest)
#include "tst_ConfigDialog.moc"
