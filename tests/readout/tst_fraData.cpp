#include "measure/Globals.h"
#include "readout/TfraData.h"
#include "readout/TfrmTestColor.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(TMeasureMode)

class TfraDataTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { MeasureMode = mmImpedance; }
    void cleanup() { MeasureMode = mmImpedance; }

    void showPsv_data();
    void showPsv();
    void fieldFormats_data();
    void fieldFormats();
    void zValueAndGetZ();
    void cableLossByMode();
    void resetLayout_data();
    void resetLayout();
    void componentsInPlace();
    void rowWithoutParentNeverShown();
    void testColorLabels();
};

void TfraDataTest::showPsv_data()
{
    QTest::addColumn<TMeasureMode>("Mode");
    QTest::addColumn<bool>("Invalid");
    QTest::addColumn<double>("Swr");
    QTest::addColumn<QString>("Text");
    QTest::addColumn<bool>("Circle");
    const double Inf = std::numeric_limits<double>::infinity();
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("limit") << mmImpedance << false << 99.0 << ">= 99.00" << true;
    QTest::newRow("below the limit") << mmImpedance << false << 98.4 << "98.40" << false;
    QTest::newRow("99.4 rounds to the limit") << mmImpedance << false << 99.4 << ">= 99.40" << true;
    QTest::newRow("tie 98.5 goes to 98") << mmImpedance << false << 98.5 << "98.50" << false;
    QTest::newRow("tie 99.5 goes to 100") << mmImpedance << false << 99.5 << "99.50" << false;
    QTest::newRow("far above 2^31") << mmImpedance << false << 1e12 << "1000000000000.00" << false;
    QTest::newRow("beyond 64 bits") << mmImpedance << true << 1e300 << "E" << false;
    QTest::newRow("invalid at the limit") << mmImpedance << true << 99.0 << "E" << true;
    QTest::newRow("invalid NaN") << mmImpedance << true << NaN << "E" << false;
    QTest::newRow("invalid infinity") << mmImpedance << true << Inf << "E" << false;
    QTest::newRow("cable length mode") << mmCableLength << false << 99.0 << "99.00" << false;
    QTest::newRow("cable loss mode") << mmCableLoss << false << 99.0 << "99.00" << false;
}

void TfraDataTest::showPsv()
{
    QFETCH(TMeasureMode, Mode);
    QFETCH(bool, Invalid);
    QFETCH(double, Swr);
    QFETCH(QString, Text);
    QFETCH(bool, Circle);
    QWidget Panel;
    auto *Row = new TfraData(&Panel);
    MeasureMode = Mode;
    // The circle of an earlier value goes away.
    Row->ShowPSV(false, 99.0);
    Row->ShowPSV(Invalid, Swr);
    QCOMPARE(Row->edPSV->text(), Text);
    QCOMPARE(Row->Shape2->isVisibleTo(Row), Circle);
}

void TfraDataTest::fieldFormats_data()
{
    QTest::addColumn<QString>("Field");
    QTest::addColumn<bool>("Invalid");
    QTest::addColumn<double>("Value");
    QTest::addColumn<QString>("Text");
    QTest::newRow("frequency 14") << "f" << false << 14.0 << "   14.000 000";
    QTest::newRow("frequency 1.8") << "f" << false << 1.8 << "    1.800 000";
    QTest::newRow("frequency invalid") << "f" << true << 7.0 << "E";
    QTest::newRow("Z") << "z" << false << 75.25 << "75.3";
    QTest::newRow("RL") << "rl" << false << 12.345 << "12.35";
    QTest::newRow("phase negative") << "phase" << false << -3.256 << "-3.26";
    QTest::newRow("Rx whole ohms") << "rx" << false << 47.6 << "48";
    QTest::newRow("Xx minus sign") << "xx" << false << -3.25 << "-3.3";
    QTest::newRow("Xx rounding to zero has no sign") << "xx" << false << -0.04 << "0.0";
    QTest::newRow("capacitance") << "c" << false << 1234.56 << "1234.6";
    QTest::newRow("capacitance invalid") << "c" << true << 0.0 << "E";
    QTest::newRow("inductance") << "l" << false << 0.5 << "0.500";
    QTest::newRow("bandwidth") << "any1" << false << 0.35 << "  0.350 000";
    QTest::newRow("Q") << "any2" << false << 40.123 << "  40.12";
    QTest::newRow("Q invalid") << "any2" << true << 0.0 << "E";
    QTest::newRow("other kind empties") << "any5" << false << 1.0 << "";
    QTest::newRow("other kind empties even invalid") << "any0" << true << 1.0 << "";
}

void TfraDataTest::fieldFormats()
{
    QFETCH(QString, Field);
    QFETCH(bool, Invalid);
    QFETCH(double, Value);
    QFETCH(QString, Text);
    QWidget Panel;
    TfraData Row(&Panel);
    QLineEdit *Shown = nullptr;
    if (Field == u"f") {
        Row.ShowFrekvence(Invalid, Value);
        Shown = Row.edFrekvence;
    } else if (Field == u"z") {
        Row.ShowZ(Invalid, Value);
        Shown = Row.edZ;
    } else if (Field == u"rl") {
        Row.ShowRL(Invalid, Value);
        Shown = Row.edRL;
    } else if (Field == u"phase") {
        Row.ShowPhase(Invalid, Value);
        Shown = Row.edPhase;
    } else if (Field == u"rx") {
        Row.ShowRx(Invalid, Value);
        Shown = Row.edRx;
    } else if (Field == u"xx") {
        Row.ShowXx(Invalid, Value);
        Shown = Row.edXx;
    } else if (Field == u"c") {
        Row.ShowKapacita(Invalid, Value);
        Shown = Row.edKapacita;
    } else if (Field == u"l") {
        Row.ShowIndukcnost(Invalid, Value);
        Shown = Row.edIIndukcnost;
    } else {
        Row.edAny->setText(QStringLiteral("old"));
        Row.ShowAny(Invalid, Field.mid(3).toInt(), Value);
        Shown = Row.edAny;
    }
    QCOMPARE(Shown->text(), Text);
}

void TfraDataTest::zValueAndGetZ()
{
    QWidget Panel;
    TfraData Row(&Panel);
    double Z = -1.0;
    QVERIFY(!Row.GetZ(Z));
    QCOMPARE(Z, 0.0);
    Row.ShowZ(false, 50.0);
    Row.ShowZ(true, 0.0);
    QCOMPARE(Row.edZ->text(), QStringLiteral("E"));
    Z = -1.0;
    QVERIFY(!Row.GetZ(Z));
    QCOMPARE(Z, 0.0);
    QCOMPARE(Row.ZValue, 50.0);
    Row.ShowZ(false, 75.25);
    QCOMPARE(Row.edZ->text(), QStringLiteral("75.3"));
    QVERIFY(Row.GetZ(Z));
    QCOMPARE(Z, 75.25);
}

void TfraDataTest::cableLossByMode()
{
    const struct
    {
        TMeasureMode Mode;
        const char *Text;
    } Cases[] = { { mmImpedance, "50.0" }, { mmCableLoss, "1.23" }, { mmCableLength, "1.23" } };
    for (const auto &C : Cases) {
        QWidget Panel;
        TfraData Row(&Panel);
        Row.ShowZ(false, 50.0);
        MeasureMode = C.Mode;
        Row.ShowCableLoss(false, 1.234);
        QCOMPARE(Row.edZ->text(), QString::fromLatin1(C.Text));
        // The loss never becomes the impedance the cable tools take.
        QCOMPARE(Row.ZValue, 50.0);
        Row.ShowCableLoss(true, 0.0);
        QCOMPARE(Row.edZ->text(), QString::fromLatin1(C.Mode == mmImpedance ? "50.0" : "E"));
    }
}

void TfraDataTest::resetLayout_data()
{
    QTest::addColumn<TMeasureMode>("Mode");
    QTest::addColumn<int>("RowIndex");
    QTest::addColumn<QString>("Shown");
    QTest::newRow("impedance") << mmImpedance << 1 << "f psv z rl phase rx xx c l any";
    QTest::newRow("impedance, minimum row") << mmImpedance << 3 << "f psv z rl phase rx xx c l any";
    QTest::newRow("cable loss") << mmCableLoss << 1 << "f z";
    QTest::newRow("cable length") << mmCableLength << 2 << "f z phase";
}

void TfraDataTest::resetLayout()
{
    QFETCH(TMeasureMode, Mode);
    QFETCH(int, RowIndex);
    QFETCH(QString, Shown);
    QWidget Panel;
    TfraData Row(&Panel);
    Row.SetRowIndex(RowIndex);
    QCOMPARE(Row.RowIndex, RowIndex);
    QCOMPARE(Row.edAny->isVisibleTo(&Row), RowIndex != 3);
    Row.ShowPSV(false, 99.0);
    MeasureMode = Mode;
    Row.ResetLayout();
    const struct
    {
        const char *Name;
        QLineEdit *Field;
    } Fields[] = { { "f", Row.edFrekvence }, { "psv", Row.edPSV }, { "z", Row.edZ },
        { "rl", Row.edRL }, { "phase", Row.edPhase }, { "rx", Row.edRx }, { "xx", Row.edXx },
        { "c", Row.edKapacita }, { "l", Row.edIIndukcnost }, { "any", Row.edAny } };
    QStringList Visible;
    for (const auto &F : Fields) {
        if (F.Field->isVisibleTo(&Row))
            Visible << QString::fromLatin1(F.Name);
        QCOMPARE(
            F.Field->palette().color(QPalette::Base), F.Field->palette().color(QPalette::Button));
    }
    QCOMPARE(Visible.join(u' '), Shown);
    QVERIFY(Row.Shape1->isVisibleTo(&Row));
    QVERIFY(!Row.Shape2->isVisibleTo(&Row));
    QCOMPARE(Row.height(), TfraData::kRowHeight);
}

void TfraDataTest::componentsInPlace()
{
    QWidget Panel;
    TfraData Row(&Panel);
    const struct
    {
        QWidget *Component;
        QRect Geometry;
    } Expected[] = { { Row.Shape1, QRect(6, 3, 12, 14) },
        { Row.edFrekvence, QRect(28, 1, 100, 19) }, { Row.edPSV, QRect(130, 1, 54, 19) },
        { Row.edZ, QRect(186, 1, 54, 19) }, { Row.edRL, QRect(242, 1, 54, 19) },
        { Row.edPhase, QRect(298, 1, 54, 19) }, { Row.edRx, QRect(355, 1, 54, 19) },
        { Row.edXx, QRect(411, 1, 54, 19) }, { Row.edKapacita, QRect(467, 1, 70, 19) },
        { Row.edIIndukcnost, QRect(540, 1, 70, 19) }, { Row.edAny, QRect(612, 1, 100, 19) },
        { Row.Shape2, QRect(718, 3, 19, 15) } };
    for (const auto &E : Expected) {
        QCOMPARE(E.Component->geometry(), E.Geometry);
        if (auto *Field = qobject_cast<QLineEdit *>(E.Component)) {
            QVERIFY(Field->isReadOnly());
            QCOMPARE(Field->focusPolicy(), Qt::NoFocus);
            QVERIFY(!Field->hasFrame());
        }
    }
    QCOMPARE(TfraData::FieldLeft(Row.edPSV), 130);
    QCOMPARE(Row.Shape2->toolTip(),
        QStringLiteral("PSV je mimo rozsah měření a RX, Ry,  Z nejsou platné!"));
    Row.SetMarkColor(clBlue);
    QCOMPARE(Row.Shape1->Fill(), QColor(0, 0, 255));
}

void TfraDataTest::rowWithoutParentNeverShown()
{
    // A row without a parent would be a window of its own.
    TfraData Loose(nullptr);
    Loose.SetRowVisible(true);
    QVERIFY(!Loose.isVisible());
    QVERIFY(!Loose.isWindow() || !Loose.isVisible());
    QWidget Panel;
    Panel.show();
    auto *Row = new TfraData(&Panel);
    Row->SetRowVisible(false);
    QVERIFY(!Row->isVisible());
    Row->SetRowVisible(true);
    QVERIFY(Row->isVisible());
    QVERIFY(!Row->isWindow());
}

void TfraDataTest::testColorLabels()
{
    TfrmTestColor Legend(nullptr);
    QVERIFY(!Legend.isVisible());
    QCOMPARE(Legend.size(), QSize(115, 203));
    const struct
    {
        QLabel *Label;
        int Top;
        const char *Caption;
        bool Heading;
    } Expected[] = { { Legend.Label4, 9, "A/D[2.5V]", true }, { Legend.lbU1, 25, "U1 (50)", false },
        { Legend.lbU2, 41, "U2 (Z)", false }, { Legend.lbU3, 57, "U3(diag)", false },
        { Legend.Label5, 77, "Výs.[250mV]", true }, { Legend.lbU1v, 93, "U1 (50)", false },
        { Legend.lbU2v, 109, "U2 (Z)", false }, { Legend.lbU3v, 125, "U3(diag)", false } };
    for (const auto &E : Expected) {
        QCOMPARE(E.Label->pos(), QPoint(6, E.Top));
        QCOMPARE(E.Label->text(), QString::fromUtf8(E.Caption));
        QCOMPARE(E.Label->font().bold(), E.Heading);
        QCOMPARE(E.Label->font().underline(), E.Heading);
    }
}

QTEST_MAIN(TfraDataTest)
#include "tst_fraData.moc"
