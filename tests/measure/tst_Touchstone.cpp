#include "measure/ReplyLine.h"
#include "measure/Touchstone.h"

#include <QtTest>

#include <cmath>
#include <complex>

// One-port Touchstone files: every option line a reader meets, the files it must refuse, and
// the program's own export read back.
class TestTouchstone : public QObject
{
    Q_OBJECT

private slots:
    void optionLines_data();
    void optionLines();
    void refused_data();
    void refused();
    void exportReadsBack();
};

namespace {

std::string_view View(const QByteArray &Bytes)
{
    return std::string_view(Bytes.constData(), static_cast<size_t>(Bytes.size()));
}

} // namespace

// Each row holds one point of the load 50 + j50 ohm at 14 MHz, written in the row's way.
void TestTouchstone::optionLines_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("no option line: own S11 form, Z0 in use")
        << QByteArray("014.00000 0.200000 0.400000\r\n");
    QTest::newRow("bare option line: GHz S MA R 50")
        << QByteArray("#\n0.014 0.447213595499958 63.43494882292201\n");
    QTest::newRow("Hz S RI") << QByteArray("# Hz S RI R 50\n14000000 0.2 0.4\n");
    QTest::newRow("kHz S DB") << QByteArray("# kHz S DB R 50\n14000 -6.9897000433601875 "
                                            "63.43494882292201\n");
    QTest::newRow("MHz S MA R 75, lower case")
        << QByteArray("# mhz s ma r 75\n14 0.41522739926869984 94.76364169072617\n");
    QTest::newRow("GHz S RI R 75, exponents")
        << QByteArray("# GHZ S RI R 75\n1.4E-2 -3.4482758620689655e-2 4.1379310344827586E-1\n");
    QTest::newRow("MHz Z RI R 100, normalised") << QByteArray("# MHz Z RI R 100\n14 0.5 0.5\n");
    QTest::newRow("kHz Z MA R 50") << QByteArray("# KHz Z MA R 50\n14000 1.4142135623730951 45\n");
    QTest::newRow("Hz Z DB") << QByteArray("# Hz Z DB\n14e6 3.010299956639812 45\n");
    QTest::newRow("comments, blanks, tabs anywhere")
        << QByteArray("! exported\r\n\r\n  # MHz S RI R 50 ! options\r\n! data\r\n\t14\t0.2  "
                      "0.4 ! the point\r\n\r\n");
    QTest::newRow("second option line ignored")
        << QByteArray("# MHz S RI R 50\n# GHz Z MA R 1\n14 0.2 0.4\n");
}

void TestTouchstone::optionLines()
{
    QFETCH(QByteArray, file);
    std::vector<std::string> lines;
    int skipped = -1;
    std::string error;
    QVERIFY2(ReadTouchstone(View(file), 50.0, lines, skipped, error), error.c_str());
    QCOMPARE(lines.size(), size_t(1));
    QCOMPARE(skipped, 0);
    TLineFields point;
    QVERIFY2(ReadLineFields(lines[0], point), lines[0].c_str());
    QVERIFY2(std::fabs(point.FreqKHz - 14000.0) < 1e-6, lines[0].c_str());
    QVERIFY2(std::fabs(point.R - 50.0) < 1e-6, lines[0].c_str());
    QVERIFY2(std::fabs(point.X - 50.0) < 1e-6, lines[0].c_str());
}

void TestTouchstone::refused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("error");
    QTest::newRow("0-byte file") << QByteArray() << "the file holds no data points";
    QTest::newRow("only comments")
        << QByteArray("! nothing\n# MHz S RI R 50\n") << "the file holds no data points";
    QTest::newRow("a million blank lines")
        << QByteArray(1000000, '\n') << "the file holds no data points";
    QTest::newRow("two-port") << QByteArray("# MHz S RI R 50\n14 0.1 0 0.9 0 0.9 0 0.1 0\n")
                              << "line 2: two-port data; only one-port (.s1p) files can be opened";
    QTest::newRow("NaN") << QByteArray("# MHz S RI R 50\n14 0.2 0.4\n15 nan 0\n")
                         << "line 3: does not parse: \"15 nan 0\"";
    QTest::newRow("text") << QByteArray("Frequency;R;X\r\n14;50;50\r\n")
                          << "line 1: does not parse: \"Frequency;R;X\"";
    QTest::newRow("comma decimal")
        << QByteArray("14 0,2 0,4\n") << "line 1: does not parse: \"14 0,2 0,4\"";
    QTest::newRow("Y parameters") << QByteArray("# MHz Y RI R 50\n")
                                  << "line 1: Y parameters cannot be opened, only S or Z";
    QTest::newRow("unknown option")
        << QByteArray("# MHz S XY R 50\n") << "line 1: the option line does not parse: \"XY\"";
    QTest::newRow("R without value") << QByteArray("# MHz S RI R\n")
                                     << "line 1: the reference resistance after R is not a "
                                        "positive number";
    QTest::newRow("option line after data") << QByteArray("14 0.2 0.4\n# GHz S RI R 50\n")
                                            << "line 2: the option line comes after the data";
    QTest::newRow("negative frequency") << QByteArray("-14 0.2 0.4\n")
                                        << "line 1: the frequency is not a frequency: \"-14 0.2 "
                                           "0.4\"";
    QTest::newRow("only ideal opens")
        << QByteArray("# MHz S RI R 50\n14 1 0\n") << "no point of the file has a finite impedance";
}

void TestTouchstone::refused()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, error);
    std::vector<std::string> lines { "old" };
    int skipped = 0;
    std::string why;
    QVERIFY(!ReadTouchstone(View(file), 50.0, lines, skipped, why));
    QCOMPARE(QString::fromStdString(why), error);
    QVERIFY(lines.empty());
}

// The export of a sweep read back by the import: the same points to 1e-6, the unreadable
// line and the point that cannot be evaluated (R = -Z0) left out.
void TestTouchstone::exportReadsBack()
{
    const std::vector<std::string> sweep { "1000 20 -20", "7049.6 50 50", "14000 4x 3",
        "14000 -75 0", "21000 250.5 -120.25", "29999 0 0", "30000 1000 3000" };
    int points = 0;
    const std::string file
        = TouchstoneFile(sweep, { "KIVRA test", "2026-01-02 03:04", 75.0 }, points);
    QCOMPARE(points, 5);
    QVERIFY(file.rfind("! KIVRA test\r\n! Date: 2026-01-02 03:04\r\n! Range: 1.000 - 30.000 MHz, "
                       "5 points\r\n! Z0: 75 ohm\r\n# MHz S RI R 75\r\n1 ",
                0)
        == 0);
    std::vector<std::string> lines;
    int skipped = 0;
    std::string error;
    QVERIFY2(ReadTouchstone(file, 50.0, lines, skipped, error), error.c_str());
    const std::vector<std::string> expected { "1000 20 -20", "7049.6 50 50", "21000 250.5 -120.25",
        "29999 0 0", "30000 1000 3000" };
    QCOMPARE(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        TLineFields got;
        TLineFields want;
        QVERIFY(ReadLineFields(lines[i], got) && ReadLineFields(expected[i], want));
        // Compared as reflection coefficients, the quantity the file holds.
        const auto gamma = [](const TLineFields &p) {
            const std::complex<double> z(p.R, p.X);
            return (z - 75.0) / (z + 75.0);
        };
        QVERIFY2(std::fabs(got.FreqKHz - want.FreqKHz) < 1e-6, lines[i].c_str());
        QVERIFY2(std::abs(gamma(got) - gamma(want)) < 1e-6, lines[i].c_str());
    }
}

QTEST_GUILESS_MAIN(TestTouchstone)
#include "tst_Touchstone.moc"
