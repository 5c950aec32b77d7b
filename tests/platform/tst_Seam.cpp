#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Guard.h"
#include "platform/QtColor.h"

#include <QTest>

#include <stdexcept>

class TSeamTest : public QObject
{
    Q_OBJECT

private slots:
    void ScriptedDialogsRecordAndAnswer();
    void ScopeRestoresPrevious();
    void GuardShowsTheMessage();
    void SilentGuardShowsNothing();
    void ColourConversion();
};

void TSeamTest::ScriptedDialogsRecordAndAnswer()
{
    TScriptedDialogs dialogs;
    TDialogsScope scope(dialogs);
    dialogs.QueueAnswer(TDialogs::TAnswer::Yes);
    dialogs.QueueFileName("/data/a.txt");
    dialogs.QueueColor(clRed);

    QCOMPARE(Dialogs().AskYesNo("Přepsat?", "Warning"), TDialogs::TAnswer::Yes);
    QCOMPARE(Dialogs().AskYesNo("Again?", "Warning"), TDialogs::TAnswer::No);
    QCOMPARE(Dialogs().OpenFileName("Open", "*.txt", ""), std::string("/data/a.txt"));
    QCOMPARE(Dialogs().SaveFileName("Save", "*.txt", ""), std::string());
    TColor chosen = clBlack;
    QVERIFY(Dialogs().PickColor(clWhite, chosen));
    QCOMPARE(chosen, clRed);
    QVERIFY(!Dialogs().PickColor(clWhite, chosen));
    Dialogs().ShowMessage("Pivot nenalezen");
    Dialogs().ShowErrorBox("20522", "");

    const auto &shown = dialogs.Shown();
    QCOMPARE(shown.size(), size_t(8));
    QCOMPARE(QString::fromStdString(shown[0].Text), QStringLiteral("Přepsat?"));
    QCOMPARE(QString::fromStdString(shown[0].Caption), QStringLiteral("Warning"));
    QVERIFY(shown[6].Kind == TScriptedDialogs::TKind::Message);
    QVERIFY(shown[7].Kind == TScriptedDialogs::TKind::ErrorBox);
    QCOMPARE(dialogs.Texts().back(), std::string("20522"));
}

void TSeamTest::ScopeRestoresPrevious()
{
    TScriptedDialogs outer;
    TDialogsScope outerScope(outer);
    {
        TScriptedDialogs inner;
        TDialogsScope innerScope(inner);
        Dialogs().ShowMessage("inner");
        QCOMPARE(inner.Shown().size(), size_t(1));
    }
    Dialogs().ShowMessage("outer");
    QCOMPARE(outer.Texts(), std::vector<std::string> { "outer" });
}

void TSeamTest::GuardShowsTheMessage()
{
    TScriptedDialogs dialogs;
    TDialogsScope scope(dialogs);
    QVERIFY(!GuardHandler([] { throw EKivraError("Unable to write to x"); }));
    QVERIFY(!GuardHandler([] { throw std::runtime_error("plain"); }));
    QVERIFY(GuardHandler([] {}));
    QCOMPARE(dialogs.Texts(), (std::vector<std::string> { "Unable to write to x", "plain" }));
    QVERIFY(dialogs.Shown()[0].Kind == TScriptedDialogs::TKind::ErrorBox);
}

void TSeamTest::SilentGuardShowsNothing()
{
    TScriptedDialogs dialogs;
    TDialogsScope scope(dialogs);
    QVERIFY(!GuardSilently([] { throw EFloatError("Invalid floating point operation"); }));
    QVERIFY(dialogs.Shown().empty());
}

void TSeamTest::ColourConversion()
{
    // 16774122 is the default graph colour: red 234, green 243, blue 255.
    const QColor q = ToQColor(16774122);
    QCOMPARE(q.red(), 234);
    QCOMPARE(q.green(), 243);
    QCOMPARE(q.blue(), 255);
    QCOMPARE(FromQColor(q), TColor(16774122));
}

QTEST_GUILESS_MAIN(TSeamTest)
#include "tst_Seam.moc"
