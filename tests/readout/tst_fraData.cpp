#include "measure/Globals.h"
#include "readout/TfraData.h"
#include "readout/TfrmTestColor.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <limits>

Q_DECLARE_METATYPE(TMeasureMode)

class TfraDataTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { MeasureMode = mmImpedance; }
    void showPsv_data();
    void showPsv();
    void fieldFormats_data();
    void fieldFormats();
    void zValueAndCableLoss();
    void resetLayout_data();
    void resetLayout();
    void componentsInPlace();
};

void TfraDataTest::showPsv_data()
{
    QTest::addColumn<TMeasureMode>("Mode");
    QTest::addColumn<bool>("Invalid");
    QTest::addColumn<double>("Swr");
    QTest::addColumn<QString>("Text");
    QTest::addColumn<bool>("Circle");
    const auto Row = [](const char *Name, TMeasureMode Mode, bool Invalid, double Swr,
                         const char *Text, bool Circle) {
        QTest::newRow(Name) << Mode << Invalid << Swr << QString::fromLatin1(Text) << Circle;
    };
    Row("limit", mmImpedance, false, 99.0, ">= 99.00", true);
    Row("below", mmImpedance, false, 98.4, "98.40", false);
    Row("99.4 rounds to it", mmImpedance, false, 99.4, ">= 99.40", true);
    Row("tie 98.5 to 98", mmImpedance, false, 98.5, "98.50", false);
    Row("tie 99.5 to 100", mmImpedance, false, 99.5, "99.50", false);
    Row("far above 2^31", mmImpedance, false, 1e12, "1000000000000.00", false);
    Row("beyond 64 bits", mmImpedance, true, 1e300, "E", false);
    Row("invalid at the limit", mmImpedance, true, 99.0, "E", true);
    Row("invalid NaN", mmImpedance, true, std::numeric_limits<double>::quiet_NaN(), "E", false);
    Row("invalid infinity", mmImpedance, true, std::numeric_limits<double>::infinity(), "E", false);
    Row("cable length", mmCableLength, false, 99.0, "99.00", false);
    Row("cable loss", mmCableLoss, false, 99.0, "99.00", false);
}

void TfraDataTest::showPsv()
{
    QFETCH(TMeasureMode, Mode);
    QFETCH(bool, Invalid);
    QFETCH(double, Swr);
    QFETCH(QString, Text);
    QFETCH(bool, Circle);
    QWidget Panel;
    TfraData Row(&Panel);
    MeasureMode = Mode;
    // The circle of an earlier value goes away.
    Row.ShowPSV(false, 99.0);
    Row.ShowPSV(Invalid, Swr);
    QCOMPARE(Row.edPSV->text(), Text);
    QCOMPARE(Row.Shape2->isVisibleTo(&Row), Circle);
}

void TfraDataTest::fieldFormats_data()
{
    QTest::addColumn<int>("Field");
    QTest::addColumn<bool>("Invalid");
    QTest::addColumn<double>("Value");
    QTest::addColumn<QString>("Text");
    // Field: 0 frequency, 1 Z, 2 RL, 3 phase, 4 Rx, 5 Xx, 6 C, 7 L, 10 + Kind for edAny.
    const auto Row = [](const char *Name, int Field, bool Invalid, double Value, const char *Text) {
        QTest::newRow(Name) << Field << Invalid << Value << QString::fromLatin1(Text);
    };
    Row("frequency 14", 0, false, 14.0, "   14.000 000");
    Row("frequency 1.8", 0, false, 1.8, "    1.800 000");
    Row("frequency invalid", 0, true, 7.0, "E");
    Row("Z", 1, false, 75.25, "75.3");
    Row("RL", 2, false, 12.345, "12.35");
    Row("phase", 3, false, -3.256, "-3.26");
    Row("Rx whole ohms", 4, false, 47.6, "48");
    Row("Xx minus sign", 5, false, -3.25, "-3.3");
    Row("Xx zero has no sign", 5, false, -0.04, "0.0");
    Row("capacitance", 6, false, 1234.56, "1234.6");
    Row("capacitance invalid", 6, true, 0.0, "E");
    Row("inductance", 7, false, 0.5, "0.500");
    Row("bandwidth", 11, false, 0.35, "  0.350 000");
    Row("Q", 12, false, 40.123, "  40.12");
    Row("Q invalid", 12, true, 0.0, "E");
    Row("other kind empties", 15, false, 1.0, "");
    Row("other kind empties, invalid", 10, true, 1.0, "");
}

void TfraDataTest::fieldFormats()
{
    QFETCH(int, Field);
    QFETCH(bool, Invalid);
    QFETCH(double, Value);
    QFETCH(QString, Text);
    QWidget Panel;
    TfraData Row(&Panel);
    QLineEdit *const Edits[] = { Row.edFrekvence, Row.edZ, Row.edRL, Row.edPhase, Row.edRx,
        Row.edXx, Row.edKapacita, Row.edIIndukcnost };
    Row.edAny->setText(QStringLiteral("old"));
    switch (Field) {
    case 0:
        Row.ShowFrekvence(Invalid, Value);
        break;
    case 1:
        Row.ShowZ(Invalid, Value);
        break;
    case 2:
        Row.ShowRL(Invalid, Value);
        break;
    case 3:
        Row.ShowPhase(Invalid, Value);
        break;
    case 4:
        Row.ShowRx(Invalid, Value);
        break;
    case 5:
        Row.ShowXx(Invalid, Value);
        break;
    case 6:
        Row.ShowKapacita(Invalid, Value);
        break;
    case 7:
        Row.ShowIndukcnost(Invalid, Value);
        break;
    default:
        Row.ShowAny(Invalid, Field - 10, Value);
    }
    QCOMPARE((Field >= 10 ? Row.edAny : Edits[Field])->text(), Text);
}

void TfraDataTest::zValueAndCableLoss()
{
    QWidget Panel;
    TfraData Row(&Panel);
    double Z = -1.0;
    // A row that never showed an impedance has none for the cable tools.
    QVERIFY(!Row.GetZ(Z) && Z == 0.0);
    Row.ShowZ(false, 50.0);
    Row.ShowZ(true, 0.0);
    Z = -1.0;
    QVERIFY(!Row.GetZ(Z) && Z == 0.0);
    Row.ShowZ(false, 75.25);
    QVERIFY(Row.GetZ(Z) && Z == 75.25);
    // The cable loss shows only outside impedance mode and never becomes the impedance.
    for (TMeasureMode Mode : { mmImpedance, mmCableLoss, mmCableLength }) {
        MeasureMode = Mode;
        Row.ShowZ(false, 50.0);
        Row.ShowCableLoss(false, 1.234);
        QCOMPARE(Row.edZ->text(), QLatin1String(Mode == mmImpedance ? "50.0" : "1.23"));
        QCOMPARE(Row.ZValue, 50.0);
    }
}

void TfraDataTest::resetLayout_data()
{
    QTest::addColumn<TMeasureMode>("Mode");
    QTest::addColumn<int>("RowIndex");
    QTest::addColumn<QString>("Shown");
    QTest::newRow("impedance") << mmImpedance << 1 << "f psv z rl phase rx xx c l any";
    // The minimum has no second cursor: a new layout keeps its bandwidth field hidden.
    QTest::newRow("impedance, minimum row") << mmImpedance << 3 << "f psv z rl phase rx xx c l";
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
    QCOMPARE(Row.edAny->isVisibleTo(&Row), RowIndex != 3);
    Row.ShowPSV(false, 99.0);
    MeasureMode = Mode;
    Row.ResetLayout();
    const char *Names[] = { "f", "psv", "z", "rl", "phase", "rx", "xx", "c", "l", "any" };
    QLineEdit *Fields[] = { Row.edFrekvence, Row.edPSV, Row.edZ, Row.edRL, Row.edPhase, Row.edRx,
        Row.edXx, Row.edKapacita, Row.edIIndukcnost, Row.edAny };
    QStringList Visible;
    for (int I = 0; I < 10; ++I) {
        if (Fields[I]->isVisibleTo(&Row))
            Visible << QString::fromLatin1(Names[I]);
        const QPalette &P = Fields[I]->palette();
        QCOMPARE(P.color(QPalette::Base), P.color(QPalette::Button));
    }
    QCOMPARE(Visible.join(u' '), Shown);
    QVERIFY(Row.Shape1->isVisibleTo(&Row) && !Row.Shape2->isVisibleTo(&Row));
    QCOMPARE(Row.height(), TfraData::kRowHeight);
}

void TfraDataTest::componentsInPlace()
{
    QWidget Panel;
    // The main window's face.
    QFont Face(QStringLiteral("Liberation Sans"), 8);
    Panel.setFont(Face);
    TfraData Row(&Panel);
    // Left to right, apart, inside the row's width, and each field wide enough for the
    // longest text it shows.
    const std::pair<QWidget *, QString> Widest[]
        = { { Row.Shape1, {} }, { Row.edFrekvence, QStringLiteral("     29.999 990") },
              { Row.edPSV, QStringLiteral(">= 99.00") }, { Row.edZ, QStringLiteral("9999.9") },
              { Row.edRL, QStringLiteral("-99.99") }, { Row.edPhase, QStringLiteral("-179.99") },
              { Row.edRx, QStringLiteral("99999") }, { Row.edXx, QStringLiteral("-9999.9") },
              { Row.edKapacita, QStringLiteral("-99999.9") },
              { Row.edIIndukcnost, QStringLiteral("-999.999") },
              { Row.edAny, QStringLiteral("  29.999 990") }, { Row.Shape2, {} } };
    int Right = 0;
    for (const auto &[Component, Text] : Widest) {
        QVERIFY2(Component->x() > Right, qPrintable(Component->objectName()));
        Right = Component->geometry().right();
        if (auto *Field = qobject_cast<QLineEdit *>(Component)) {
            QVERIFY(
                Field->isReadOnly() && Field->focusPolicy() == Qt::NoFocus && !Field->hasFrame());
            QVERIFY2(Field->fontMetrics().horizontalAdvance(Text) + 4 <= Field->width(),
                qPrintable(Text));
        }
    }
    QVERIFY(Right < TfraData::kContentWidth);
    QCOMPARE(TfraData::FieldLeft(Row.edPSV), Row.edPSV->x());
    QCOMPARE(Row.Shape2->toolTip(),
        QStringLiteral("PSV je mimo rozsah měření a RX, Ry,  Z nejsou platné!"));
    Row.SetMarkColor(clBlue);
    QCOMPARE(Row.Shape1->Fill(), QColor(0, 0, 255));

    // A row or legend without a parent would be a window of its own: never shown.
    TfraData Loose(nullptr);
    Loose.SetRowVisible(true);
    Loose.show();
    QVERIFY(!Loose.isVisible());
    Panel.show();
    Row.SetRowVisible(true);
    QVERIFY(Row.isVisible() && !Row.isWindow());

    TfrmTestColor Legend(nullptr);
    Legend.show();
    QVERIFY(!Legend.isVisible());
    const std::tuple<QLabel *, int, const char *> Labels[]
        = { { Legend.Label4, 9, "A/D[2.5V]" }, { Legend.lbU1, 25, "U1 (50)" },
              { Legend.lbU2, 41, "U2 (Z)" }, { Legend.lbU3, 57, "U3(diag)" },
              { Legend.Label5, 77, "Výs.[250mV]" }, { Legend.lbU1v, 93, "U1 (50)" },
              { Legend.lbU2v, 109, "U2 (Z)" }, { Legend.lbU3v, 125, "U3(diag)" } };
    for (const auto &[Label, Top, Caption] : Labels) {
        QCOMPARE(Label->pos(), QPoint(6, Top));
        QCOMPARE(Label->text(), QString::fromUtf8(Caption));
        const bool Heading = Label == Legend.Label4 || Label == Legend.Label5;
        QVERIFY(Label->font().bold() == Heading && Label->font().underline() == Heading);
    }
}

QTEST_MAIN(TfraDataTest)
#include "tst_fraData.moc"
