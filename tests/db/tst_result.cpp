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

    // Real outputs of PostgreSQL 15's money under lc_monetary=X (glibc 2.36 locales), with the
    // decimals the server gives for X. Where the text alone decides, it is also read without them.
    void moneyInTheServersLocales_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("casas");
        QTest::addColumn<QString>("esperado");
        QTest::addColumn<bool>("semCasas");
        QTest::newRow("bg_BG") << QStringLiteral("1\u202F234,57 лв.") << 2 << "1234.57" << true;
        QTest::newRow("bg_BG negative")
            << QStringLiteral("-1\u202F234\u202F567,89 лв.") << 2 << "-1234567.89" << true;
        QTest::newRow("ar_KW") << QStringLiteral("د.ك. 1,234.570") << 3 << "1234.57" << true;
        QTest::newRow("ar_KW negative")
            << QStringLiteral("د.ك. 1,234,567.891-") << 3 << "-1234567.891" << true;
        // Three decimals or a thousands separator: only the count of decimals tells.
        QTest::newRow("ar_KW below one") << QStringLiteral("د.ك. 0.570") << 3 << "0.57" << false;
        QTest::newRow("ja_JP") << QStringLiteral("￥1,234") << 0 << "1234" << true;
        QTest::newRow("ja_JP negative") << QStringLiteral("￥-1,234,568") << 0 << "-1234568" << true;
        QTest::newRow("de_CH") << QStringLiteral("CHF- 1’234’567.89") << 2 << "-1234567.89" << true;
        QTest::newRow("pt_BR") << QStringLiteral("-R$ 1.234.567,89") << 2 << "-1234567.89" << true;
        QTest::newRow("es_CL") << QStringLiteral("$ 1.234,00") << 2 << "1234" << true;
        QTest::newRow("nl_NL") << QStringLiteral("€ -7,00") << 2 << "-7" << true;
        QTest::newRow("en_IN") << QStringLiteral("₹0.57") << 2 << "0.57" << true;
        QTest::newRow("fr_FR") << QStringLiteral("1\u202F234,57 €") << 2 << "1234.57" << true;
    }
    void moneyInTheServersLocales() {
        QFETCH(QString, texto);
        QFETCH(int, casas);
        QFETCH(QString, esperado);
        QFETCH(bool, semCasas);
        const QByteArray utf8 = texto.toUtf8();
        for (const int dadas : {casas, -1}) {
            if (dadas < 0 && !semCasas)
                continue;
            const db::Result r(umValor(db::MONEYOID, utf8.constData()), db::Codificacao::Utf8, dadas);
            QCOMPARE(int(r.value(0, 0).kind()), int(ValueKind::Currency));
            QCOMPARE(r.value(0, 0).toDouble(), esperado.toDouble());
        }
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
