#include "Outcome.h"
#include "numerics/TQuadDoubleArray.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"

#include <QTest>

#include <functional>
#include <memory>

using TRows = QList<QList<double>>;

namespace {

TQuadDoubleArray Matrix(const TRows &Rows)
{
    TQuadDoubleArray m;
    m.SetSize(static_cast<int>(Rows.size()), Rows.isEmpty() ? 0 : static_cast<int>(Rows[0].size()));
    for (int r = 0; r < Rows.size(); ++r)
        for (int c = 0; c < Rows[r].size(); ++c)
            m.SetValue(r + 1, c + 1, Rows[r][c]);
    return m;
}

TQuadDoubleArray Vector(const QList<double> &Values)
{
    TQuadDoubleArray v;
    v.SetVectorSize(static_cast<int>(Values.size()));
    for (int r = 0; r < Values.size(); ++r)
        v.SetVectorValue(r + 1, Values[r]);
    return v;
}

TRows RowsOf(const TQuadDoubleArray &M)
{
    TRows rows;
    for (int r = 1; r <= M.RowCount(); ++r) {
        QList<double> row;
        for (int c = 1; c <= M.ColCount(); ++c)
            row.append(M.GetValue(r, c));
        rows.append(row);
    }
    return rows;
}

} // namespace

class TMatrixTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void ElementCheck_data();
    void ElementCheck();
    void ColCountOfEmptyMatrixRaises();
    void RowOperations();
    void MultiplyMismatchLeavesResult();
    void MultiplyAndTranspose();
    void OperandMayBeTheResult();
    void Solve_data();
    void Solve();
    void SingularSystemStopsAfterOneMessage_data();
    void SingularSystemStopsAfterOneMessage();
    void ShapeMessages_data();
    void ShapeMessages();
    void SolveReshapesAnExistingX();

private:
    std::unique_ptr<TScriptedDialogs> ScriptedDialogs;
    std::unique_ptr<TDialogsScope> Scope;
};

void TMatrixTest::init()
{
    ScriptedDialogs = std::make_unique<TScriptedDialogs>();
    Scope = std::make_unique<TDialogsScope>(*ScriptedDialogs);
}

void TMatrixTest::cleanup()
{
    Scope.reset();
    ScriptedDialogs.reset();
}

void TMatrixTest::ElementCheck_data()
{
    QTest::addColumn<TRows>("Start");
    QTest::addColumn<bool>("Write");
    QTest::addColumn<int>("Row");
    QTest::addColumn<int>("Col");
    QTest::addColumn<double>("Read");
    QTest::addColumn<QString>("Message");
    QTest::addColumn<QString>("Error");

    const TRows m22 = { { 1, 2 }, { 3, 4 } };
    QTest::newRow("read inside") << m22 << false << 2 << 1 << 3.0 << QString() << QString();
    QTest::newRow("write inside") << m22 << true << 1 << 2 << 0.0 << QString() << QString();
    QTest::newRow("read below the last row")
        << m22 << false << 3 << 1 << 0.0 << QStringLiteral("Error r") << QString();
    QTest::newRow("read right of the last column")
        << m22 << false << 1 << 3 << 0.0 << QStringLiteral("Error TQuadDoubleArray s") << QString();
    QTest::newRow("write below the last row")
        << m22 << true << 3 << 1 << 0.0 << QStringLiteral("Error r") << QString();
    QTest::newRow("write right of the last column")
        << m22 << true << 2 << 3 << 0.0 << QStringLiteral("Error TQuadDoubleArray s") << QString();
    QTest::newRow("read an empty matrix")
        << TRows() << false << 1 << 1 << 0.0 << QStringLiteral("Error r") << QString();
    QTest::newRow("write an empty matrix")
        << TRows() << true << 1 << 1 << 0.0 << QStringLiteral("Error r") << QString();
    // Indices below 1 pass the check and end in the row list's or the row's own error.
    QTest::newRow("row 0") << m22 << false << 0 << 1 << 0.0 << QString()
                           << QStringLiteral("List index out of bounds (-1)");
    QTest::newRow("column 0") << m22 << true << 1 << 0 << 0.0 << QString()
                              << QStringLiteral("20522");
    QTest::newRow("row 0 right of the last column")
        << m22 << false << 0 << 3 << 0.0 << QStringLiteral("Error TQuadDoubleArray s") << QString();
    QTest::newRow("smallest ints") << m22 << true << INT_MIN << INT_MIN << 0.0 << QString()
                                   << QStringLiteral("List index out of bounds (-2147483649)");
}

void TMatrixTest::ElementCheck()
{
    QFETCH(TRows, Start);
    QFETCH(bool, Write);
    QFETCH(int, Row);
    QFETCH(int, Col);
    QFETCH(double, Read);
    QFETCH(QString, Message);
    QFETCH(QString, Error);

    TQuadDoubleArray m = Matrix(Start);
    const bool exists = Message.isEmpty() && Error.isEmpty();
    const QString error = ErrorOf([&] {
        if (Write)
            m.SetValue(Row, Col, 5.0);
        else
            QCOMPARE(m.GetValue(Row, Col), Read);
    });
    QCOMPARE(error, Error);
    QCOMPARE(Shown(*ScriptedDialogs), Message.isEmpty() ? QStringList() : QStringList { Message });

    TRows expected = Start;
    if (Write && exists)
        expected[Row - 1][Col - 1] = 5.0;
    if (!Start.isEmpty())
        QCOMPARE(RowsOf(m), expected);
}

void TMatrixTest::ColCountOfEmptyMatrixRaises()
{
    TQuadDoubleArray m;
    QCOMPARE(m.RowCount(), 0);
    QCOMPARE(ErrorOf([&] { (void)m.ColCount(); }), QStringLiteral("List index out of bounds (0)"));
    m.SetSize(2, 3);
    m.Clear();
    QCOMPARE(m.RowCount(), 0);
    QCOMPARE(ErrorOf([&] { (void)m.GetVectorValue(1); }), QString());
    QCOMPARE(Shown(*ScriptedDialogs), QStringList { QStringLiteral("Error r") });
}

void TMatrixTest::RowOperations()
{
    TQuadDoubleArray m = Matrix({ { 1, 2 }, { 3, 4 } });
    m.CombineRows(1, 2, -3.0);
    m.ScaleRow(2, 0.5);
    QCOMPARE(RowsOf(m), (TRows { { 0, -2 }, { 1.5, 2 } }));
    QVERIFY(Shown(*ScriptedDialogs).isEmpty());

    // A missing row reads as zeros and takes no writes.
    m.CombineRows(1, 3, 2.0);
    QCOMPARE(RowsOf(m), (TRows { { 0, -4 }, { 1.5, 2 } }));
    m.CombineRows(3, 1, 2.0);
    m.ScaleRow(3, 2.0);
    QCOMPARE(RowsOf(m), (TRows { { 0, -4 }, { 1.5, 2 } }));
    QCOMPARE(Shown(*ScriptedDialogs), QStringList(10, QStringLiteral("Error r")));
}

void TMatrixTest::MultiplyMismatchLeavesResult()
{
    TQuadDoubleArray c = Matrix({ { 7 } });
    const TQuadDoubleArray a = Matrix({ { 1, 2, 3 }, { 4, 5, 6 } });
    const TQuadDoubleArray b = Matrix({ { 1, 2 }, { 3, 4 } });
    QVERIFY(!MatrixMultiply(c, a, b));
    QCOMPARE(Shown(*ScriptedDialogs), QStringList { QStringLiteral("Error A.s <> B.r") });
    QCOMPARE(RowsOf(c), (TRows { { 7 } }));
}

void TMatrixTest::MultiplyAndTranspose()
{
    const TQuadDoubleArray a = Matrix({ { 1, 2, 3 }, { 4, 5, 6 } });
    const TQuadDoubleArray b = Matrix({ { 7, 8 }, { 9, 10 }, { 11, 12 } });
    TQuadDoubleArray c = Matrix({ { 1, 1, 1, 1 } }); // old contents do not add in
    QVERIFY(MatrixMultiply(c, a, b));
    QCOMPARE(RowsOf(c), (TRows { { 58, 64 }, { 139, 154 } }));

    TQuadDoubleArray t;
    QVERIFY(MatrixTranspose(t, a));
    QCOMPARE(RowsOf(t), (TRows { { 1, 4 }, { 2, 5 }, { 3, 6 } }));

    // A column vector times its transpose: an outer product.
    const TQuadDoubleArray v = Vector({ 1, 2 });
    QVERIFY(MatrixTranspose(t, v));
    QVERIFY(MatrixMultiply(c, v, t));
    QCOMPARE(RowsOf(c), (TRows { { 1, 2 }, { 2, 4 } }));
    QVERIFY(Shown(*ScriptedDialogs).isEmpty());
}

void TMatrixTest::OperandMayBeTheResult()
{
    TQuadDoubleArray a = Matrix({ { 1, 2 }, { 3, 4 } });
    const TQuadDoubleArray b = Matrix({ { 0, 1 }, { 1, 0 } });
    QVERIFY(MatrixMultiply(a, a, b));
    QCOMPARE(RowsOf(a), (TRows { { 2, 1 }, { 4, 3 } }));
    QVERIFY(MatrixMultiply(a, a, a));
    QCOMPARE(RowsOf(a), (TRows { { 8, 5 }, { 20, 13 } }));

    TQuadDoubleArray r = Matrix({ { 1, 2, 3 } });
    QVERIFY(MatrixTranspose(r, r));
    QCOMPARE(RowsOf(r), (TRows { { 1 }, { 2 }, { 3 } }));

    TQuadDoubleArray s = Matrix({ { 2, 1 }, { 1, 3 } });
    TQuadDoubleArray rhs = Vector({ 3, 5 });
    SolveLinear(s, rhs, rhs);
    QCOMPARE(rhs.RowCount(), 2);
    QVERIFY(qFuzzyCompare(rhs.GetVectorValue(1), 0.8));
    QVERIFY(qFuzzyCompare(rhs.GetVectorValue(2), 1.4));
    QVERIFY(Shown(*ScriptedDialogs).isEmpty());
}

void TMatrixTest::Solve_data()
{
    QTest::addColumn<TRows>("A");
    QTest::addColumn<QList<double>>("B");
    QTest::addColumn<QList<double>>("X");

    QTest::newRow("symmetric 2x2")
        << TRows { { 2, 1 }, { 1, 3 } } << QList<double> { 3, 5 } << QList<double> { 0.8, 1.4 };
    QTest::newRow("column 1 pivots in row 2")
        << TRows { { 0, 1 }, { 1, 0 } } << QList<double> { 2, 3 } << QList<double> { 3, 2 };
    QTest::newRow("pivots in rows 2, 3, 1")
        << TRows { { 0, 0, 1 }, { 1, 0, 0 }, { 0, 1, 0 } } << QList<double> { 7, 8, 9 }
        << QList<double> { 8, 9, 7 };
    QTest::newRow("a zero made by elimination moves the pivot") << TRows { { 1, 1, 1 }, { 1, 1, 2 },
        { 1, 2, 1 } } << QList<double> { 6, 9, 8 } << QList<double> { 1, 2, 3 };
    QTest::newRow("dense 3x3") << TRows { { 4, -2, 1 }, { -2, 4, -2 }, { 1, -2, 4 } }
                               << QList<double> { 11, -16, 17 } << QList<double> { 1, -2, 3 };
    QTest::newRow("1x1") << TRows { { 4 } } << QList<double> { 2 } << QList<double> { 0.5 };
}

void TMatrixTest::Solve()
{
    QFETCH(TRows, A);
    QFETCH(QList<double>, B);
    QFETCH(QList<double>, X);

    const TQuadDoubleArray a = Matrix(A);
    const TQuadDoubleArray b = Vector(B);
    std::unique_ptr<TQuadDoubleArray> x;
    SolveLinear(a, x, b);
    QVERIFY(x);
    QCOMPARE(x->RowCount(), X.size());
    QCOMPARE(x->ColCount(), 1);
    for (int r = 0; r < X.size(); ++r)
        QVERIFY2(qAbs(x->GetVectorValue(r + 1) - X[r]) < 1e-12,
            qPrintable(QString::number(x->GetVectorValue(r + 1), 'g', 17)));
    QVERIFY(Shown(*ScriptedDialogs).isEmpty());
    // The inputs are left as they were.
    QCOMPARE(RowsOf(a), A);
}

void TMatrixTest::SingularSystemStopsAfterOneMessage_data()
{
    QTest::addColumn<TRows>("A");
    QTest::addColumn<QList<double>>("B");

    QTest::newRow("dependent rows") << TRows { { 1, 2 }, { 2, 4 } } << QList<double> { 1, 2 };
    QTest::newRow("zero first column") << TRows { { 0, 1 }, { 0, 2 } } << QList<double> { 1, 2 };
    QTest::newRow("zero matrix") << TRows { { 0, 0, 0 }, { 0, 0, 0 }, { 0, 0, 0 } }
                                 << QList<double> { 1, 2, 3 };
}

void TMatrixTest::SingularSystemStopsAfterOneMessage()
{
    QFETCH(TRows, A);
    QFETCH(QList<double>, B);

    std::unique_ptr<TQuadDoubleArray> x;
    QCOMPARE(ErrorOf([&] { SolveLinear(Matrix(A), x, Vector(B)); }), QStringLiteral("20517"));
    QCOMPARE(Shown(*ScriptedDialogs), QStringList { QStringLiteral("Pivot nenalezen") });
    QVERIFY(x);
    QCOMPARE(RowsOf(*x), TRows(A.size(), QList<double> { 0.0 }));
}

void TMatrixTest::ShapeMessages_data()
{
    QTest::addColumn<TRows>("A");
    QTest::addColumn<TRows>("B");
    QTest::addColumn<QString>("FirstMessage");
    QTest::addColumn<bool>("Completes");
    QTest::addColumn<QList<double>>("X");

    QTest::newRow("A is 3x2") << TRows { { 1, 0 }, { 0, 1 }, { 1, 1 } }
                              << TRows { { 1 }, { 2 }, { 3 } }
                              << QStringLiteral("matice A není čtvercová") << false
                              << QList<double>();
    QTest::newRow("B longer than A")
        << TRows { { 2, 1 }, { 1, 3 } } << TRows { { 3 }, { 5 }, { 9 } }
        << QStringLiteral("matice A nemá stejný počet řádků jako vektor B") << true
        << QList<double> { 0.8, 1.4 };
    QTest::newRow("B has two columns")
        << TRows { { 2, 1 }, { 1, 3 } } << TRows { { 3, 9 }, { 5, 9 } }
        << QStringLiteral("Vektor B není vektor") << true << QList<double> { 0.8, 1.4 };
}

void TMatrixTest::ShapeMessages()
{
    QFETCH(TRows, A);
    QFETCH(TRows, B);
    QFETCH(QString, FirstMessage);
    QFETCH(bool, Completes);
    QFETCH(QList<double>, X);

    std::unique_ptr<TQuadDoubleArray> x;
    const QString error = ErrorOf([&] { SolveLinear(Matrix(A), x, Matrix(B)); });
    const QStringList shown = Shown(*ScriptedDialogs);
    QVERIFY(!shown.isEmpty());
    QCOMPARE(shown.front(), FirstMessage);
    if (!Completes)
        return;
    QCOMPARE(error, QString());
    QCOMPARE(shown, QStringList { FirstMessage });
    QCOMPARE(x->RowCount(), X.size());
    for (int r = 0; r < X.size(); ++r)
        QVERIFY(qAbs(x->GetVectorValue(r + 1) - X[r]) < 1e-12);
}

void TMatrixTest::SolveReshapesAnExistingX()
{
    TQuadDoubleArray x = Matrix({ { 9, 9, 9 }, { 9, 9, 9 }, { 9, 9, 9 }, { 9, 9, 9 } });
    SolveLinear(Matrix({ { 0, 1 }, { 1, 0 } }), x, Vector({ 2, 3 }));
    QCOMPARE(RowsOf(x), (TRows { { 3 }, { 2 } }));
    QVERIFY(Shown(*ScriptedDialogs).isEmpty());
}

QTEST_GUILESS_MAIN(TMatrixTest)
#include "tst_Matrix.moc"
