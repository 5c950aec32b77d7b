#include "platform/Color.h"
#include "platform/Errors.h"
#include "platform/FloatOps.h"
#include "platform/Format.h"
#include "platform/Parse.h"
#include "platform/Paths.h"

#include <QTest>

#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

quint64 Bits(double Value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &Value, sizeof bits);
    return bits;
}

} // namespace

class TRuntimeTest : public QObject
{
    Q_OBJECT

private slots:
    void RoundHalvesToEven_data();
    void RoundHalvesToEven();
    void RoundFaults();
    void CheckedOperationsFault();
    void FormatFloatPatterns_data();
    void FormatFloatPatterns();
    void FormatFloatIgnoresLocale();
    void FloatToStrShortest_data();
    void FloatToStrShortest();
    void ParseFloat_data();
    void ParseFloat();
    void ParseInt_data();
    void ParseInt();
    void ConversionErrorsNameTheText();
    void HlsRoundTrip_data();
    void HlsRoundTrip();
    void HlsShadingOfWhite();
    void ConfigFolderFollowsXdg();
};

void TRuntimeTest::RoundHalvesToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("2.4999") << 2.4999 << 2;
    QTest::newRow("-3.7") << -3.7 << -4;
    QTest::newRow("int max") << 2147483647.0 << 2147483647;
    QTest::newRow("int min") << -2147483648.0 << -2147483647 - 1;
    QTest::newRow("tie onto int min") << -2147483648.5 << -2147483647 - 1;
    QTest::newRow("tie below int max") << 2147483646.5 << 2147483646;
}

void TRuntimeTest::RoundHalvesToEven()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(Round(value), expected);
    QCOMPARE(Round(static_cast<long double>(value)), expected);
}

void TRuntimeTest::RoundFaults()
{
    const double bad[]
        = { std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
              -std::numeric_limits<double>::infinity(), 2147483648.0, -2147483649.0, 1e300 };
    for (double v : bad) {
        QVERIFY_THROWS_EXCEPTION(EFloatError, Round(v));
        QVERIFY_THROWS_EXCEPTION(EFloatError, Round(static_cast<long double>(v)));
        QVERIFY_THROWS_EXCEPTION(EFloatError, Trunc(v));
    }
    // The ties just beyond either end round out of the range.
    for (double v : { 2147483647.5, -2147483649.5 }) {
        QVERIFY_THROWS_EXCEPTION(EFloatError, Round(v));
        QVERIFY_THROWS_EXCEPTION(EFloatError, Round(static_cast<long double>(v)));
    }
    // The extended-precision overload keeps ties that double would lose.
    QCOMPARE(Round(static_cast<long double>(2.5)), 2);
    QCOMPARE(Trunc(-2.9), -2);
}

void TRuntimeTest::CheckedOperationsFault()
{
    QVERIFY_THROWS_EXCEPTION(EFloatError, FDiv(1.0, 0.0));
    QVERIFY_THROWS_EXCEPTION(EFloatError, FDiv(0.0, 0.0));
    QVERIFY_THROWS_EXCEPTION(EFloatError, FDiv(1e308, 1e-308));
    QVERIFY_THROWS_EXCEPTION(EFloatError, FSqrt(-1.0));
    QVERIFY_THROWS_EXCEPTION(EFloatError, FLog10(0.0));
    QVERIFY_THROWS_EXCEPTION(EFloatError, FLog10(-2.0));
    QVERIFY_THROWS_EXCEPTION(EFloatError, FLn(0.0));
    QVERIFY_THROWS_EXCEPTION(EFloatError, FCheck(std::nan("")));
    QCOMPARE(FDiv(3.0, 2.0), 1.5);
    QCOMPARE(FSqrt(0.0), 0.0);
    QCOMPARE(FLog10(100.0), 2.0);
    try {
        FDiv(1.0, 0.0);
    } catch (const EFloatError &e) {
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Floating point division by zero"));
    }
}

void TRuntimeTest::FormatFloatPatterns_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("tie away from zero, negative") << "#0.0" << -3.25 << "-3.3";
    QTest::newRow("tie away from zero") << "#0.00" << 0.125 << "0.13";
    QTest::newRow("binary below the tie") << "#0.00" << 2.675 << "2.67";
    QTest::newRow("space inside the digits") << "#0.000 000" << 14.0 << "14.000 000";
    QTest::newRow("space, small") << "#0.000 000" << 1.8 << "1.800 000";
    QTest::newRow("three integer digits") << "#000.00000" << 1.8 << "001.80000";
    QTest::newRow("negative zero hides sign") << "#0.0" << -0.04 << "0.0";
    QTest::newRow("negative six decimals") << "#0.000000" << -0.333333333 << "-0.333333";
    QTest::newRow("integer pattern tie") << "0" << 2.5 << "3";
    QTest::newRow("integer pattern negative tie") << "0" << -2.5 << "-3";
    QTest::newRow("two digits") << "00" << 10.0 << "10";
    QTest::newRow("two digits pad") << "00" << 7.0 << "07";
    QTest::newRow("#0 small") << "#0" << 0.4 << "0";
    QTest::newRow("#0.000 carry") << "#0.000" << 9.9996 << "10.000";
    QTest::newRow("0.000") << "0.000" << 30.0 << "30.000";
    QTest::newRow("#0.00 at the limit") << "#0.00" << 99.0 << "99.00";
    QTest::newRow("large") << "#0.0" << 123456789.05 << "123456789.0";
    QTest::newRow("carry through point") << "#0.0" << 0.96 << "1.0";
}

void TRuntimeTest::FormatFloatPatterns()
{
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(FormatFloat(pattern.toStdString(), value)), expected);
}

void TRuntimeTest::FormatFloatIgnoresLocale()
{
    // A desktop with a decimal comma must still get points in files and fields.
    const char *previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
        QSKIP("no German locale on this machine");
    QCOMPARE(QString::fromStdString(FormatFloat("#0.000", 7.0)), QStringLiteral("7.000"));
    QCOMPARE(QString::fromStdString(FloatToStr(0.66)), QStringLiteral("0.66"));
    double v = 0;
    QVERIFY(!TryStrToFloat("1e999", v));
    QVERIFY(TryStrToFloat("7.5", v));
    QCOMPARE(v, 7.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

void TRuntimeTest::FloatToStrShortest_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1") << 1.0 << "1";
    QTest::newRow("1.2") << 1.2 << "1.2";
    QTest::newRow("37.5") << 37.5 << "37.5";
    QTest::newRow("10000") << 10000.0 << "10000";
    QTest::newRow("0.66") << 0.66 << "0.66";
    QTest::newRow("negative") << -0.25 << "-0.25";
    QTest::newRow("0") << 0.0 << "0";
    QTest::newRow("one third") << 1.0 / 3.0 << "0.333333333333333";
    QTest::newRow("0.1+0.2") << 0.1 + 0.2 << "0.3";
}

void TRuntimeTest::FloatToStrShortest()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(FloatToStr(value)), expected);
}

void TRuntimeTest::ParseFloat_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "14000" << true << 14000.0;
    QTest::newRow("fraction") << "7.125" << true << 7.125;
    QTest::newRow("signed") << "-12" << true << -12.0;
    QTest::newRow("plus") << "+3" << true << 3.0;
    QTest::newRow("leading point") << ".5" << true << 0.5;
    QTest::newRow("trailing point") << "5." << true << 5.0;
    QTest::newRow("exponent") << "1e3" << true << 1000.0;
    QTest::newRow("exponent sign") << "2.5E-1" << true << 0.25;
    QTest::newRow("underflow is zero") << "1e-999" << true << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("comma") << "7,000" << false << 0.0;
    QTest::newRow("blank before") << " 7" << false << 0.0;
    QTest::newRow("blank after") << "7 " << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
    QTest::newRow("inf") << "inf" << false << 0.0;
    QTest::newRow("hex") << "0x10" << false << 0.0;
    QTest::newRow("overflow") << "1e999" << false << 0.0;
    QTest::newRow("sign only") << "-" << false << 0.0;
    QTest::newRow("plus only") << "+" << false << 0.0;
    QTest::newRow("fifteen digits") << "-123456789012345" << true << -123456789012345.0;
    QTest::newRow("twenty digits") << "12345678901234567890" << true << 12345678901234567890.0;
    QTest::newRow("leading zeros") << "007" << true << 7.0;
    QTest::newRow("point only") << "." << false << 0.0;
    QTest::newRow("bare exponent") << "1e" << false << 0.0;
    QTest::newRow("line feed") << "50\n" << false << 0.0;
    QTest::newRow("trailing text") << "12ohm" << false << 0.0;
    // A decimal of up to 15 digits is its digits over a power of ten, rounded once.
    QTest::newRow("tenths") << "45.3" << true << 45.3;
    QTest::newRow("three tenths, not 3 x 0.1") << "0.3" << true << 0.3;
    QTest::newRow("binary just below") << "-2.675" << true << -2.675;
    QTest::newRow("negative zero") << "-0.0" << true << -0.0;
    QTest::newRow("fifteen digits, point") << "-12345678.1234567" << true << -12345678.1234567;
    QTest::newRow("fifteen decimals") << "0.123456789012345" << true << 0.123456789012345;
    QTest::newRow("sixteen digits, point") << "1234567890.123456" << true << 1234567890.123456;
    QTest::newRow("two points") << "1.2.3" << false << 0.0;
}

void TRuntimeTest::ParseFloat()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    double v = -1.0;
    QCOMPARE(TryStrToFloat(text.toStdString(), v), ok);
    // To the bit: a fuzzy compare would pass a last digit off by one, or the wrong zero.
    if (ok)
        QCOMPARE(Bits(v), Bits(value));
    else
        QCOMPARE(v, -1.0);
}

void TRuntimeTest::ParseInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "9" << true << 9;
    QTest::newRow("negative") << "-50" << true << -50;
    QTest::newRow("plus") << "+3" << true << 3;
    QTest::newRow("max") << "2147483647" << true << 2147483647;
    QTest::newRow("min") << "-2147483648" << true << -2147483647 - 1;
    QTest::newRow("too big") << "2147483648" << false << 0;
    QTest::newRow("huge") << "99999999999999999999" << false << 0;
    QTest::newRow("fraction") << "9.0" << false << 0;
    QTest::newRow("blank") << " 9" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("hex") << "$10" << false << 0;
}

void TRuntimeTest::ParseInt()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    int v = -1;
    QCOMPARE(TryStrToInt(text.toStdString(), v), ok);
    QCOMPARE(v, ok ? value : -1);
}

void TRuntimeTest::ConversionErrorsNameTheText()
{
    try {
        StrToInt("x9");
        QFAIL("no error");
    } catch (const EConvertError &e) {
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("'x9' is not a valid integer value"));
    }
    try {
        StrToFloat("1,5");
        QFAIL("no error");
    } catch (const EConvertError &e) {
        QCOMPARE(QString::fromUtf8(e.what()),
            QStringLiteral("'1,5' is not a valid floating point value"));
    }
}

void TRuntimeTest::HlsRoundTrip_data()
{
    QTest::addColumn<TColor>("Colour");
    QTest::addColumn<int>("Hue");
    QTest::addColumn<int>("Lightness");
    QTest::addColumn<int>("Saturation");
    QTest::addColumn<TColor>("Back");
    // Ten lightness steps lower, the band shading.
    QTest::addColumn<TColor>("Shade");
    QTest::newRow("black") << TColor(0x000000) << 160 << 0 << 0 << RGBColor(0, 0, 0)
                           << RGBColor(0, 0, 0);
    QTest::newRow("white") << TColor(0xFFFFFF) << 160 << 240 << 0 << RGBColor(255, 255, 255)
                           << RGBColor(244, 244, 244);
    QTest::newRow("red") << TColor(0x0000FF) << 0 << 120 << 240 << RGBColor(255, 0, 0)
                         << RGBColor(234, 0, 0);
    QTest::newRow("green") << TColor(0x008000) << 80 << 60 << 240 << RGBColor(0, 128, 0)
                           << RGBColor(0, 106, 0);
    QTest::newRow("blue") << TColor(0xFF0000) << 160 << 120 << 240 << RGBColor(0, 0, 255)
                          << RGBColor(0, 0, 234);
    QTest::newRow("gray loses a unit") << TColor(0x808080) << 160 << 120 << 0
                                       << RGBColor(127, 127, 127) << RGBColor(116, 116, 116);
    QTest::newRow("silver") << TColor(0xC0C0C0) << 160 << 181 << 0 << RGBColor(192, 192, 192)
                            << RGBColor(181, 181, 181);
    QTest::newRow("light blue") << TColor(0xFFF3EA) << 143 << 230 << 240 << RGBColor(234, 243, 255)
                                << RGBColor(213, 231, 255);
    QTest::newRow("graph background") << TColor(0xC0F9FA) << 39 << 208 << 205
                                      << RGBColor(250, 249, 192) << RGBColor(249, 247, 172);
    QTest::newRow("maroon") << TColor(0x000080) << 0 << 60 << 240 << RGBColor(128, 0, 0)
                            << RGBColor(106, 0, 0);
    QTest::newRow("fuchsia") << TColor(0xFF00FF) << 200 << 120 << 240 << RGBColor(255, 0, 255)
                             << RGBColor(234, 0, 234);
}

void TRuntimeTest::HlsRoundTrip()
{
    QFETCH(TColor, Colour);
    QFETCH(int, Hue);
    QFETCH(int, Lightness);
    QFETCH(int, Saturation);
    QFETCH(TColor, Back);
    QFETCH(TColor, Shade);
    int h = -1;
    int l = -1;
    int s = -1;
    ColorRGBToHLS(Colour, h, l, s);
    QCOMPARE(h, Hue);
    QCOMPARE(l, Lightness);
    QCOMPARE(s, Saturation);
    QCOMPARE(ColorHLSToRGB(h, l, s), Back);
    QCOMPARE(ColorHLSToRGB(h, l - 10, s), Shade);
}

void TRuntimeTest::HlsShadingOfWhite()
{
    int h = 0;
    int l = 0;
    int s = 0;
    ColorRGBToHLS(clWhite, h, l, s);
    QCOMPARE(l, 240);
    QCOMPARE(s, 0);
    // Ten lightness steps below white: 230/240 of full scale, a light grey.
    QCOMPARE(ColorHLSToRGB(h, l - 10, s), RGBColor(244, 244, 244));
}

void TRuntimeTest::ConfigFolderFollowsXdg()
{
    const QByteArray savedXdg = qgetenv("XDG_CONFIG_HOME");
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("XDG_CONFIG_HOME", "/cfg");
    QCOMPARE(QString::fromStdString(KivraIniPath()), QStringLiteral("/cfg/kivra/KIVRA.INI"));
    // A relative or empty value is ignored, and so is a relative HOME.
    qputenv("XDG_CONFIG_HOME", "relative");
    qputenv("HOME", "/srv/someone");
    QCOMPARE(
        QString::fromStdString(KivraConfigDir()), QStringLiteral("/srv/someone/.config/kivra"));
    qputenv("HOME", "");
    QVERIFY(QString::fromStdString(KivraConfigDir()).startsWith(QLatin1Char('/')));
    QVERIFY(QString::fromStdString(KivraConfigDir()) != QStringLiteral("/.config/kivra"));
    qputenv("XDG_CONFIG_HOME", savedXdg);
    qputenv("HOME", savedHome);
}

QTEST_GUILESS_MAIN(TRuntimeTest)
#include "tst_Runtime.moc"
