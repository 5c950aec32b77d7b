#include "IniFixture.h"
#include "config/ConfigStore.h"
#include "config/TDlgConfig.h"
#include "config/TfrmCfg.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>
#include <iterator>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

const char *const FlagKeys[] = { "BAND160", "BAND80", "BAND40", "BAND30", "BAND20", "BAND17",
    "BAND15", "BAND12", "BAND10", "BAND6", "BAND2", "BAND70", "OTHER" };

// The lines of section COM_PORT as KEY=value, in file order.
QByteArrayList ComPortLines()
{
    QByteArrayList Lines;
    bool Inside = false;
    for (const QByteArray &Line : ReadRaw().split('\n')) {
        if (Line.startsWith('['))
            Inside = Line == "[COM_PORT]";
        else if (Inside && Line.contains('='))
            Lines << Line;
    }
    return Lines;
}

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
        TDlgConfig *Dialog = nullptr;
        for (QWidget *Widget : QApplication::topLevelWidgets())
            if (auto *Candidate = dynamic_cast<TDlgConfig *>(Widget);
                Candidate && Candidate->isVisible())
                Dialog = Candidate;
        if (!Dialog)
            return;
        Script(*Dialog);
        if (Dialog->isVisible()) {
            Run.LeftOpen = true;
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
    void StornoStoresNothing();
    void Keys_data();
    void Keys();
    void HandEditedFile_data();
    void HandEditedFile();
    void SaveWithNothingSelected();
    void ColourDialog();
    void FailedSaveKeepsDialogOpen_data();
    void FailedSaveKeepsDialogOpen();
    void SavesAreStable();

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
    // As in the program: the frame lives, hidden, inside a window that is never shown here.
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
    // Its window shown, the frame stays hidden until the dialog borrows it.
    Home->show();
    QVERIFY(!Frame->isVisible());
    const TRun Run = RunDialog(*Frame, [&](TDlgConfig &Dialog) {
        QCOMPARE(Dialog.windowTitle(), QStringLiteral("Configuration"));
        QCOMPARE(Dialog.size(), QSize(499, 456));
        // Centred over the window that keeps the frame.
        QVERIFY(
            (Dialog.frameGeometry().center() - Home->geometry().center()).manhattanLength() <= 2);
        QCOMPARE(Frame->parentWidget(), Dialog.pnMain);
        QVERIFY(Frame->isVisible());
        QVERIFY(!Frame->pnBottom->isVisible());
        QCOMPARE(Frame->PageControl1->currentWidget(), Frame->tsFrekvence);
        QCOMPARE(Frame->PageControl1->tabText(0), QStringLiteral("Band setings"));
        QCOMPARE(Frame->SelectedBand(), 0);
        QVERIFY(Frame->rb160->isChecked());
        QCOMPARE(Frame->edFROD->text(), QStringLiteral("1.810"));
        QCOMPARE(Frame->edFRDO->text(), QStringLiteral("2.000"));
        QVERIFY(Frame->chkUsbCom->isChecked());
        QCOMPARE(Frame->edUsbCom->text(), QStringLiteral("9"));
        QCOMPARE(Frame->edCom3->text(), QStringLiteral("10"));
        QCOMPARE(Frame->pnColor->Color(), RGBColor(234, 243, 255));
        QCOMPARE(Frame->pnColor->Color(), TColor(16774122));
        QVERIFY(!Frame->GroupBox2->isVisible());
        Dialog.btnStorno->click();
    });
    QVERIFY(!Run.Accepted);
    QVERIFY(!Run.LeftOpen);
    QVERIFY(!QFile::exists(IniPath()));
    // The frame is back home, hidden, and survives the dialog.
    QVERIFY(Frame);
    QCOMPARE(Frame->parentWidget(), Home.get());
    QVERIFY(Frame->isHidden());
    QCOMPARE(Frame->edFRDO->text(), QStringLiteral("2.000"));
}

void TConfigDialogTest::OkStoresTheSelectedBand_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("shownLower");
    QTest::addColumn<QString>("shownUpper");
    QTest::addColumn<QByteArrayList>("limitLines");
    QTest::newRow("40 m, end edited")
        << 2 << QString() << QStringLiteral("7.200") << QStringLiteral("7.000")
        << QStringLiteral("7.100") << QByteArrayList { "FMIN3=7.000", "FMAX3=7.200" };
    QTest::newRow("end not above start")
        << 2 << QStringLiteral("7.200") << QStringLiteral("7.000") << QStringLiteral("7.000")
        << QStringLiteral("7.100") << QByteArrayList { "FMIN3=7.200", "FMAX3=7.000" };
    QTest::newRow("not numbers") << 4 << QStringLiteral("abc") << QStringLiteral("14,3")
                                 << QStringLiteral("14.000") << QStringLiteral("14.300")
                                 << QByteArrayList { "FMIN5=abc", "FMAX5=14,3" };
    QTest::newRow("maximum range")
        << 9 << QStringLiteral("1.5") << QString() << QStringLiteral("1.0")
        << QStringLiteral("30.0") << QByteArrayList { "FMIN13=1.5", "FMAX13=30.0" };
}

void TConfigDialogTest::OkStoresTheSelectedBand()
{
    QFETCH(int, band);
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QFETCH(QString, shownLower);
    QFETCH(QString, shownUpper);
    QFETCH(QByteArrayList, limitLines);
    int Changes = 0;
    Frame->OnChange = [&] { ++Changes; };
    const TRun Run = RunDialog(*Frame, [&](TDlgConfig &Dialog) {
        Frame->BandButtons()[band]->click();
        QCOMPARE(Frame->edFROD->text(), shownLower);
        QCOMPARE(Frame->edFRDO->text(), shownUpper);
        if (!lower.isNull())
            Frame->edFROD->setText(lower);
        if (!upper.isNull())
            Frame->edFRDO->setText(upper);
        QCOMPARE(Changes, 0);
        Dialog.btnOk->click();
    });
    QVERIFY(Run.Accepted);
    QVERIFY(!Run.LeftOpen);
    QCOMPARE(Changes, 1);

    QByteArrayList Expected { "SELCOM=2", "PORT2=9" };
    const char *const Selected = band == 9 ? "OTHER" : FlagKeys[band];
    for (const char *Key : FlagKeys)
        Expected << QByteArray(Key) + (qstrcmp(Key, Selected) == 0 ? "=A" : "=N");
    Expected << limitLines;
    QCOMPARE(ComPortLines(), Expected);
    QVERIFY(ReadRaw().contains("[COLOR]\nBK_GRAPH_COLOR=16774122\n"));

    // Reopened, the dialog shows what was stored.
    RunDialog(*Frame, [&](TDlgConfig &) {
        QCOMPARE(Frame->SelectedBand(), band);
        QCOMPARE(Frame->edFROD->text(),
            QString::fromLatin1(limitLines[0].mid(limitLines[0].indexOf('=') + 1)));
        QCOMPARE(Frame->edFRDO->text(),
            QString::fromLatin1(limitLines[1].mid(limitLines[1].indexOf('=') + 1)));
    });
}

void TConfigDialogTest::StornoStoresNothing()
{
    const QByteArray Old = "[COM_PORT]\nSELCOM=3\nPORT3=4\nBAND160=N\nBAND80=A\nFMAX2=3.800\n";
    WriteRaw(Old);
    Scripted.QueueColor(RGBColor(1, 2, 3));
    const TRun Run = RunDialog(*Frame, [&](TDlgConfig &Dialog) {
        QVERIFY(Frame->lbCom3->isChecked());
        QCOMPARE(Frame->edFRDO->text(), QStringLiteral("3.800"));
        Frame->chkUsbCom->click();
        Frame->edUsbCom->setText(QStringLiteral("7"));
        Frame->rb10->click();
        Frame->edFRDO->setText(QStringLiteral("29.000"));
        Frame->PageControl1->setCurrentIndex(2);
        Frame->btnBarvaPozadi->click();
        QCOMPARE(Frame->pnColor->Color(), RGBColor(1, 2, 3));
        Dialog.btnStorno->click();
    });
    QVERIFY(!Run.Accepted);
    QCOMPARE(ReadRaw(), Old);
    RunDialog(*Frame, [&](TDlgConfig &) {
        QCOMPARE(Frame->PageControl1->currentWidget(), Frame->tsFrekvence);
        QVERIFY(Frame->lbCom3->isChecked());
        QVERIFY(!Frame->chkUsbCom->isChecked());
        QCOMPARE(Frame->edUsbCom->text(), QStringLiteral("9"));
        QCOMPARE(Frame->SelectedBand(), 1);
        QCOMPARE(Frame->edFROD->text(), QStringLiteral("3.500"));
        QCOMPARE(Frame->edFRDO->text(), QStringLiteral("3.800"));
        QCOMPARE(Frame->pnColor->Color(), TColor(16774122));
    });
    QCOMPARE(ReadRaw(), Old);
}

void TConfigDialogTest::Keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saves");
    const auto Ctrl = Qt::KeyboardModifiers(Qt::ControlModifier);
    const auto None = Qt::KeyboardModifiers();
    const auto Keypad = Qt::KeyboardModifiers(Qt::KeypadModifier);
    const QString Edit = QStringLiteral("edit"), Button = QStringLiteral("button"),
                  Ok = QStringLiteral("ok"), Radio = QStringLiteral("radio");
    QTest::newRow("Ctrl+Enter in a field") << int(Qt::Key_Return) << Ctrl << Edit << true << true;
    QTest::newRow("Ctrl+keypad Enter")
        << int(Qt::Key_Enter) << (Ctrl | Keypad) << Edit << true << true;
    QTest::newRow("Ctrl+Enter on the colour button")
        << int(Qt::Key_Return) << Ctrl << Button << true << true;
    QTest::newRow("Esc in a field") << int(Qt::Key_Escape) << None << Edit << true << false;
    QTest::newRow("Shift+Esc") << int(Qt::Key_Escape) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                               << Radio << true << false;
    QTest::newRow("Ctrl+Esc") << int(Qt::Key_Escape) << Ctrl << Edit << false << false;
    QTest::newRow("Enter in a field") << int(Qt::Key_Return) << None << Edit << false << false;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Keypad << Edit << false << false;
    QTest::newRow("Enter on the colour button")
        << int(Qt::Key_Return) << None << Button << false << false;
    QTest::newRow("Enter on OK") << int(Qt::Key_Return) << None << Ok << false << false;
    QTest::newRow("Enter on a band button")
        << int(Qt::Key_Return) << None << Radio << false << false;
    QTest::newRow("Ctrl+Shift+Enter")
        << int(Qt::Key_Return) << (Ctrl | Qt::ShiftModifier) << Edit << false << false;
    QTest::newRow("Alt+Enter") << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::AltModifier)
                               << Edit << false << false;
}

void TConfigDialogTest::Keys()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, target);
    QFETCH(bool, closes);
    QFETCH(bool, saves);
    const TRun Run = RunDialog(*Frame, [&](TDlgConfig &Dialog) {
        QWidget *Target = Frame->edFRDO;
        if (target == QStringLiteral("button"))
            Target = Frame->btnBarvaPozadi;
        else if (target == QStringLiteral("ok"))
            Target = Dialog.btnOk;
        else if (target == QStringLiteral("radio"))
            Target = Frame->rb40;
        Frame->PageControl1->setCurrentWidget(
            Target == Frame->btnBarvaPozadi ? Frame->TabSheet4 : Frame->tsFrekvence);
        Target->setFocus();
        Frame->edFRDO->setText(QStringLiteral("2.100"));
        QTest::keyClick(Target, Qt::Key(key), modifiers);
    });
    QCOMPARE(Run.Accepted, closes && saves);
    QCOMPARE(Run.LeftOpen, !closes);
    QCOMPARE(QFile::exists(IniPath()), saves);
    if (saves)
        QVERIFY(ComPortLines().contains("FMAX1=2.100"));
    // No key opened the colour dialog or anything else.
    QVERIFY(Scripted.Shown().empty());
}

void TConfigDialogTest::HandEditedFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("band");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<int>("option");
    QTest::addColumn<TColor>("colour");
    const TColor Default = 16774122;
    QTest::newRow("no band flag A")
        << QByteArray("[COM_PORT]\nBAND160=N\n") << -1 << QString() << QString() << 1 << Default;
    QTest::newRow("lower-case a") << QByteArray("[COM_PORT]\nBAND160=N\nBAND40=a\n") << -1
                                  << QString() << QString() << 1 << Default;
    QTest::newRow("several A, last wins")
        << QByteArray("[COM_PORT]\nBAND80=A\nBAND20=A\nFMIN5=14.1\n") << 4 << QStringLiteral("14.1")
        << QStringLiteral("14.300") << 1 << Default;
    QTest::newRow("maximum range")
        << QByteArray("[COM_PORT]\nBAND160=N\nOTHER=A\n") << 9 << QStringLiteral("1.0")
        << QStringLiteral("30.0") << 1 << Default;
    QTest::newRow("option B") << QByteArray("[COM_PORT]\nSELCOM=3\n") << 0
                              << QStringLiteral("1.810") << QStringLiteral("2.000") << 2 << Default;
    QTest::newRow("SELCOM not a number, default option A")
        << QByteArray("[COM_PORT]\nSELCOM=B\n") << 0 << QStringLiteral("1.810")
        << QStringLiteral("2.000") << 1 << Default;
    QTest::newRow("SELCOM of no option")
        << QByteArray("[COM_PORT]\nSELCOM=5\n") << 0 << QStringLiteral("1.810")
        << QStringLiteral("2.000") << 0 << Default;
    QTest::newRow("stored colour")
        << QByteArray("[COLOR]\nBK_GRAPH_COLOR=255\n") << 0 << QStringLiteral("1.810")
        << QStringLiteral("2.000") << 1 << clRed;
    QTest::newRow("colour not a number")
        << QByteArray("[COLOR]\nBK_GRAPH_COLOR=white\n") << 0 << QStringLiteral("1.810")
        << QStringLiteral("2.000") << 1 << Default;
    QTest::newRow("system colour")
        << QByteArray("[COLOR]\nBK_GRAPH_COLOR=-16777211\n") << 0 << QStringLiteral("1.810")
        << QStringLiteral("2.000") << 1 << Default;
}

// Loaded straight into the hidden frame, as the main window does at start-up.
void TConfigDialogTest::HandEditedFile()
{
    QFETCH(QByteArray, content);
    QFETCH(int, band);
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QFETCH(int, option);
    QFETCH(TColor, colour);
    WriteRaw(content);
    Frame->LoadSettings();
    QCOMPARE(Frame->SelectedBand(), band);
    for (int Index = 0; Index < TfrmCfg::BandCount; ++Index)
        QCOMPARE(Frame->BandButtons()[Index]->isChecked(), Index == band);
    QCOMPARE(Frame->edFROD->text(), lower);
    QCOMPARE(Frame->edFRDO->text(), upper);
    QCOMPARE(Frame->chkUsbCom->isChecked(), option == 1);
    QCOMPARE(Frame->lbCom3->isChecked(), option == 2);
    QCOMPARE(Frame->pnColor->Color(), colour);
    QCOMPARE(ReadRaw(), content);
}

void TConfigDialogTest::SaveWithNothingSelected()
{
    WriteRaw("[COM_PORT]\nSELCOM=5\nBAND160=N\nFMIN1=1.9\n");
    Frame->LoadSettings();
    Frame->btnSaveCfgClick();
    QByteArrayList Expected { "SELCOM=5", "BAND160=N", "FMIN1=1.9" };
    for (const char *Key : std::vector<const char *>(std::begin(FlagKeys) + 1, std::end(FlagKeys)))
        Expected << QByteArray(Key) + "=N";
    QCOMPARE(ComPortLines(), Expected);
    // A click still selects exactly one band.
    Frame->rb12->click();
    QCOMPARE(Frame->SelectedBand(), 7);
    QCOMPARE(Frame->edFROD->text(), QStringLiteral("24.000"));
    Frame->rb15->click();
    QVERIFY(!Frame->rb12->isChecked());
}

void TConfigDialogTest::ColourDialog()
{
    Frame->LoadSettings();
    Scripted.QueueColor(RGBColor(10, 20, 30));
    Frame->btnBarvaPozadi->click();
    QCOMPARE(Frame->pnColor->Color(), RGBColor(10, 20, 30));
    // Cancelled: the panel keeps its colour.
    Frame->btnBarvaPozadi->click();
    QCOMPARE(Frame->pnColor->Color(), RGBColor(10, 20, 30));
    Frame->LoadSettings();
    Scripted.QueueColor(clNavy);
    Frame->btnBarvaPozadi->click();
    QCOMPARE(Frame->pnColor->Color(), clNavy);
    // Black the first time, then the colour last chosen, never the panel's.
    std::vector<std::string> Starts;
    for (const auto &Shown : Scripted.Shown())
        Starts.push_back(Shown.Text);
    QCOMPARE(Starts,
        (std::vector<std::string> {
            "0", std::to_string(RGBColor(10, 20, 30)), std::to_string(RGBColor(10, 20, 30)) }));
    Frame->btnSaveCfgClick();
    QCOMPARE(ReadConfigValue(ciGraphColor), QString::number(clNavy));
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
        if (Probe.open(QIODevice::WriteOnly)) {
            Probe.remove();
            QSKIP("Permission bits do not stop this user from writing");
        }
    } else {
        rlimit Limit = SavedLimit;
        Limit.rlim_cur = 16;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &Limit), 0);
    }
    int Changes = 0;
    Frame->OnChange = [&] { ++Changes; };
    bool OpenAfterOk = false, OpenAfterKeys = false;
    const TRun Run = RunDialog(*Frame, [&](TDlgConfig &Dialog) {
        Frame->edFRDO->setText(QStringLiteral("7.300"));
        Dialog.btnOk->click();
        OpenAfterOk = Dialog.isVisible();
        QTest::keyClick(Frame->edFRDO, Qt::Key_Return, Qt::ControlModifier);
        OpenAfterKeys = Dialog.isVisible();
        QCOMPARE(Frame->edFRDO->text(), QStringLiteral("7.300"));
    });
    QVERIFY(OpenAfterOk);
    QVERIFY(OpenAfterKeys);
    QVERIFY(Run.LeftOpen);
    QVERIFY(!Run.Accepted);
    QCOMPARE(Changes, 0);
    const std::string Message = "Unable to write to " + KivraIniPath();
    QCOMPARE(Scripted.Texts(), (std::vector<std::string> { Message, Message }));
    QCOMPARE(Scripted.Shown().front().Kind, TScriptedDialogs::TKind::ErrorBox);
    QCOMPARE(ReadRaw(), Old);
    QCOMPARE(QDir(Folder).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("KIVRA.INI") });
}

// Saving the same settings again gives the same bytes, and bytes the program does not
// understand (another program's code page, a comment after junk lines) stay as they are.
void TConfigDialogTest::SavesAreStable()
{
    const QByteArray Foreign = "NAZEV=Anal\xFDz\xE1tor \x9A\xED\xF8ka";
    for (const QByteArray &Start : { QByteArray(),
             QByteArray("=junk\n; top\n[COM_PORT]\r\n" + Foreign
                 + "\r\nPORT2=4\xB9\nPORT3=1\x9A\x01"
                   "0\nFMIN4=10.1\xA0\x9A\x01\n[MINE]\nX=\x8A\n") }) {
        if (Start.isEmpty())
            QFile::remove(IniPath());
        else
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
        if (!Start.isEmpty()) {
            QVERIFY(First.contains(Foreign + '\n'));
            QVERIFY(First.contains("[MINE]\nX=\x8A\n"));
            QVERIFY(First.startsWith("; top\n"));
            QCOMPARE(Frame->edUsbCom->text(), QString::fromLatin1("4\xB9"));
            QVERIFY(First.contains("PORT2=4\xB9\n"));
            QVERIFY(First.contains("FMIN4=10.1\xA0\x9A\x01\n"));
            QCOMPARE(Frame->edCom3->text(),
                QString::fromLatin1("1\x9A\x01"
                                    "0"));
        }
        QVERIFY(ComPortLines().contains("FMAX4=10.140"));
    }
}

QTEST_MAIN(TConfigDialogTest)
#include "tst_ConfigDialog.moc"
