#include "base/AppError.h"
#include "db/Result.h"
#include "db/TiposPg.h"

#include <QTest>
#include <libpq-fe.h>

using db::Value;
using db::ValueKind;

namespace {

// A result built the way the server would send it: one row, one column of the given type, the
// value in its text form (nullptr for SQL NULL).
PGresult* umValor(unsigned oid, const char* texto, int modificador = -1) {
    PGresult* r = PQmakeEmptyPGresult(nullptr, PGRES_TUPLES_OK);
    PGresAttDesc coluna{};
    coluna.name = const_cast<char*>("campo");
    coluna.typid = oid;
    coluna.typlen = -1;
    coluna.atttypmod = modificador;
    PQsetResultAttrs(r, 1, &coluna);
    if (texto)
        PQsetvalue(r, 0, 0, const_cast<char*>(texto), static_cast<int>(qstrlen(texto)));
    else
        PQsetvalue(r, 0, 0, nullptr, -1);
    return r;
}

} // namespace

class TestResult : public QObject {
    Q_OBJECT

private slots:
    void valuesConvertFromTheirTextForm_data() {
        QTest::addColumn<uint>("oid");
        QTest::addColumn<QByteArray>("texto");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("esperado"); // Value::toString of the converted value
        QTest::newRow("bool true") << uint(db::BOOLOID) << QByteArray("t") << int(ValueKind::Bool) << "true";
        QTest::newRow("bool false") << uint(db::BOOLOID) << QByteArray("f") << int(ValueKind::Bool)
                                    << "false";
        QTest::newRow("int2") << uint(db::INT2OID) << QByteArray("-7") << int(ValueKind::Int) << "-7";
        QTest::newRow("int8 beyond 32 bits") << uint(db::INT8OID) << QByteArray("9007199254740993")
                                             << int(ValueKind::Int) << "9007199254740993";
        QTest::newRow("oid") << uint(db::OIDOID) << QByteArray("4000000000") << int(ValueKind::UInt)
                             << "4000000000";
        QTest::newRow("float8") << uint(db::FLOAT8OID) << QByteArray("1.5") << int(ValueKind::Float) << "1.5";
        QTest::newRow("negative money with grouping")
            << uint(db::MONEYOID) << QByteArray("-$1,234.50") << int(ValueKind::Currency) << "-1234.5";
        // The server writes money in its own lc_monetary: the session no longer sets one.
        QTest::newRow("money, comma decimals")
            << uint(db::MONEYOID) << QByteArray("R$ 1.234,50") << int(ValueKind::Currency) << "1234.5";
        QTest::newRow("money, sign and symbol after")
            << uint(db::MONEYOID) << QByteArray("-1.234.567,50 \xE2\x82\xAC") << int(ValueKind::Currency)
            << "-1234567.5";
        QTest::newRow("money in parentheses")
            << uint(db::MONEYOID) << QByteArray("($5.00)") << int(ValueKind::Currency) << "-5";
        QTest::newRow("money without cents") << uint(db::MONEYOID)
                                             << QByteArray("\xC2\xA5"
                                                           "1,235")
                                             << int(ValueKind::Currency) << "1235";
        QTest::newRow("varchar keeps accents")
            << uint(db::VARCHAROID) << QByteArray("Ação") << int(ValueKind::Text) << "Ação";
        QTest::newRow("numeric stays text")
            << uint(db::NUMERICOID) << QByteArray("1.50") << int(ValueKind::Other) << "1.50";
    }
    void valuesConvertFromTheirTextForm() {
        QFETCH(uint, oid);
        QFETCH(QByteArray, texto);
        QFETCH(int, kind);
        QFETCH(QString, esperado);
        const db::Result r(umValor(oid, texto.constData()));
        const Value v = r.value(0, 0);
        QCOMPARE(int(v.kind()), kind);
        QCOMPARE(v.toString(), esperado);
    }

    void dateAndTimeForms_data() {
        QTest::addColumn<uint>("oid");
        QTest::addColumn<QByteArray>("texto");
        QTest::addColumn<QDateTime>("esperado");
        const QDate dia(2024, 3, 5);
        QTest::newRow("date") << uint(db::DATEOID) << QByteArray("2024-03-05") << QDateTime(dia, QTime(0, 0));
        QTest::newRow("timestamp with microseconds")
            << uint(db::TIMESTAMPOID) << QByteArray("2024-03-05 14:30:00.123456")
            << QDateTime(dia, QTime(14, 30, 0, 123));
        QTest::newRow("timestamptz drops the zone")
            << uint(db::TIMESTAMPTZOID) << QByteArray("2024-03-05 14:30:00-03")
            << QDateTime(dia, QTime(14, 30));
        QTest::newRow("time of day as a fraction")
            << uint(db::TIMEOID) << QByteArray("06:00:00") << db::dateTimeFromDays(0.25);
    }
    void dateAndTimeForms() {
        QFETCH(uint, oid);
        QFETCH(QByteArray, texto);
        QFETCH(QDateTime, esperado);
        const db::Result r(umValor(oid, texto.constData()));
        QCOMPARE(int(r.value(0, 0).kind()), int(ValueKind::DateTime));
        QCOMPARE(r.value(0, 0).toDateTime(), esperado);
    }

    void nullAndFieldDescription() {
        const db::Result r(umValor(db::VARCHAROID, nullptr, 29 + 4));
        QVERIFY(r.value(0, 0).isNull());
        QCOMPARE(r.fieldCount(), 1);
        QCOMPARE(r.fields()[0].name, QStringLiteral("campo"));
        QCOMPARE(int(r.fields()[0].group), int(db::FieldGroup::Text));
        QCOMPARE(r.fields()[0].size, 29);
    }

    void copiesShareTheResult() {
        db::Result copia;
        QVERIFY(!copia.valid());
        QCOMPARE(copia.rowCount(), 0);
        {
            const db::Result original(umValor(db::TEXTOID, "fica"));
            copia = original;
        }
        // The original is gone; the copy still reads the server's answer.
        QVERIFY(copia.valid());
        QCOMPARE(copia.value(0, 0).text(), QStringLiteral("fica"));
    }

    void outsideTheResultIsARangeError_data() {
        QTest::addColumn<int>("linha");
        QTest::addColumn<int>("coluna");
        QTest::newRow("row after the last") << 1 << 0;
        QTest::newRow("negative row") << -1 << 0;
        QTest::newRow("column after the last") << 0 << 1;
        QTest::newRow("negative column") << 0 << -1;
    }
    void outsideTheResultIsARangeError() {
        QFETCH(int, linha);
        QFETCH(int, coluna);
        const db::Result r(umValor(db::TEXTOID, "x"));
        QVERIFY_THROWS_EXCEPTION(RangeError, r.value(linha, coluna));
        QVERIFY_THROWS_EXCEPTION(RangeError, db::Result().value(0, 0));
    }
};

QTEST_MAIN(TestResult)
#include "tst_result.moc"
