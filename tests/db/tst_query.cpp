#include "TestDb.h"
#include "db/Error.h"
#include "db/Query.h"

#include <QTest>

using db::FieldGroup;
using db::Value;
using db::ValueKind;

class TestQuery : public QObject {
    Q_OBJECT
    std::unique_ptr<testsupport::TestDataModule> m_dm;

    db::Connection& conn() { return DM->FDConnection1; }

private slots:
    void initTestCase() {
        REQUIRE_TEST_DB();
        m_dm = std::make_unique<testsupport::TestDataModule>();
    }

    void sqlLinesAreHandedBackWithCrLf_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("lines");
        QTest::newRow("one line") << "select 1"
                                  << "select 1\r\n"
                                  << 1;
        QTest::newRow("final break adds no line") << "select 1\r\n"
                                                  << "select 1\r\n"
                                                  << 1;
        QTest::newRow("LF and CR") << "a\nb\rc"
                                   << "a\r\nb\r\nc\r\n"
                                   << 3;
        QTest::newRow("blank line kept") << "a\r\n\r\nb"
                                         << "a\r\n\r\nb\r\n"
                                         << 3;
        QTest::newRow("empty") << ""
                               << "" << 0;
    }
    void sqlLinesAreHandedBackWithCrLf() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(int, lines);
        db::Query q(&conn());
        q.setSql(text);
        QCOMPARE(q.sql(), expected);
        QCOMPARE(q.sqlLines().size(), lines);
        q.setSql(q.sql());
        QCOMPARE(q.sql(), expected); // stable when fed back
    }

    void bindingKeepsTheValueKind_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<Value>("param");
        QTest::addColumn<QString>("expected");
        QTest::newRow("integer") << "select deppdes from depp where deppcod = :0" << Value::fromInt(5)
                                 << "HORTIFRÚTI";
        QTest::newRow("text inferred as integer")
            << "select deppdes from depp where deppcod = :0" << Value::fromText("5") << "HORTIFRÚTI";
        QTest::newRow("like pattern") << "select deppdes from depp where deppdes like :0 order by deppdes"
                                      << Value::fromText("HORT%") << "HORTIFRÚTI";
        QTest::newRow("no blank before param")
            << "select famdes from fam where famcod=:0;" << Value::fromInt(1) << "ALIMENTOS";
        QTest::newRow("upper cast like")
            << "SELECT DEPPDES FROM DEPP WHERE UPPER(cast(DEPPCOD as varchar(254))) "
               "LIKE :0 ORDER BY DEPPCOD"
            << Value::fromText("5%") << "HORTIFRÚTI";
    }
    void bindingKeepsTheValueKind() {
        QFETCH(QString, sql);
        QFETCH(Value, param);
        QFETCH(QString, expected);
        db::Query q(&conn());
        q.setSql(sql);
        QCOMPARE(q.paramCount(), 1);
        q.setParam(0, param);
        q.open();
        QVERIFY(q.rowCount() >= 1);
        QCOMPARE(q.value(0).text(), expected);
    }

    void injectionTravelsAsAValue() {
        db::Query q(&conn());
        q.setSql("select count(*) from depp where deppdes like :0");
        q.setParam(0, Value::fromText("%' or '1'='1"));
        q.open();
        QCOMPARE(q.value(0).toInt(), 0);
    }

    void fieldGroupsAndSizes_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("kind");
        QTest::newRow("varchar(29)") << "proref" << int(FieldGroup::Text) << 29 << int(ValueKind::Text);
        QTest::newRow("varchar(80)") << "prodes" << int(FieldGroup::Text) << 80 << int(ValueKind::Text);
        QTest::newRow("text") << "prodes::text" << int(FieldGroup::Text) << 0 << int(ValueKind::Text);
        QTest::newRow("char(1)") << "cast('X' as varchar(1))" << int(FieldGroup::Text) << 1
                                 << int(ValueKind::Text);
        QTest::newRow("integer") << "procod" << int(FieldGroup::Number) << 0 << int(ValueKind::Int);
        QTest::newRow("bigint") << "procod::bigint" << int(FieldGroup::Number) << 0 << int(ValueKind::Int);
        QTest::newRow("smallint") << "1::smallint" << int(FieldGroup::Number) << 0 << int(ValueKind::Int);
        QTest::newRow("double") << "1.5::float8" << int(FieldGroup::Number) << 0 << int(ValueKind::Float);
        QTest::newRow("money") << "12.5::money" << int(FieldGroup::Number) << 0 << int(ValueKind::Currency);
        QTest::newRow("numeric") << "1.5::numeric" << int(FieldGroup::Other) << 0 << int(ValueKind::Other);
        QTest::newRow("boolean") << "true" << int(FieldGroup::Boolean) << 0 << int(ValueKind::Bool);
        QTest::newRow("date") << "date '2024-03-05'" << int(FieldGroup::Date) << 0
                              << int(ValueKind::DateTime);
        QTest::newRow("time") << "time '14:30:00'" << int(FieldGroup::Time) << 0 << int(ValueKind::DateTime);
        QTest::newRow("timestamp") << "timestamp '2024-03-05 14:30:00'" << int(FieldGroup::DateTime) << 0
                                   << int(ValueKind::DateTime);
    }
    void fieldGroupsAndSizes() {
        QFETCH(QString, expression);
        QFETCH(int, group);
        QFETCH(int, size);
        QFETCH(int, kind);
        db::Query q(&conn());
        q.setSql("select " + expression + " as campo from pro where procod = 1");
        q.open();
        QCOMPARE(q.fieldCount(), 1);
        QCOMPARE(int(q.field(0).group), group);
        QCOMPARE(q.field(0).size, size);
        QCOMPARE(int(q.value(0).kind()), kind);
    }

    void valuesConvert() {
        db::Query q(&conn());
        q.setSql("select date '2024-03-05', timestamp '2024-03-05 14:30:00', time '06:00', "
                 "12.5::money, -7::int, null::int, 'Ação'::text");
        q.open();
        QCOMPARE(q.value(0).toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
        QCOMPARE(q.value(1).toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(14, 30)));
        QCOMPARE(q.value(2).toDouble(), 0.25);
        QCOMPARE(q.value(3).toDouble(), 12.5);
        QCOMPARE(q.value(4).toInt(), -7);
        QVERIFY(q.value(5).isNull());
        QCOMPARE(q.value(6).text(), QStringLiteral("Ação"));
        QCOMPARE(db::dateTimeFromDays(0).date(), QDate(1899, 12, 30));
        QCOMPARE(db::daysFromDateTime(QDateTime(QDate(1500, 1, 1), QTime(0, 0))), -146095.0);
    }

    void fieldNamesFoldFullUnicode() {
        db::Query q(&conn());
        q.setSql("SELECT DEPPDES AS DESCRIÇÃO FROM DEPP WHERE DEPPCOD = 5");
        q.open();
        QCOMPARE(q.field(0).name, QStringLiteral("descriÇÃo")); // the server folds ASCII only
        QCOMPARE(q.fieldIndex(QStringLiteral("descrição")), 0);
        QCOMPARE(q.fieldIndex(QStringLiteral("DESCRIÇÃO")), 0);
        QCOMPARE(q.fieldIndex(QStringLiteral("descricao")), -1);
    }

    void navigation() {
        db::Query q(&conn());
        q.setSql("select deppcod from depp order by deppcod");
        q.open();
        QCOMPARE(q.rowCount(), 8);
        int seen = 0;
        for (q.first(); !q.eof(); q.next())
            ++seen;
        QCOMPARE(seen, 8);
        q.moveTo(4);
        QCOMPARE(q.value(0).toInt(), 5);
        q.close();
        QVERIFY(!q.active());
        QCOMPARE(q.rowCount(), 0);
    }

    void emptyResultHasNullColumns() {
        db::Query q(&conn());
        q.setSql("select deppdes from depp where deppcod = :0");
        q.setParam(0, Value::fromInt(9999));
        q.open();
        QCOMPARE(q.rowCount(), 0);
        QVERIFY(q.eof());
        QVERIFY(q.value(0).isNull());
        QVERIFY_THROWS_EXCEPTION(RangeError, q.value(3));
    }

    void editCacheAndFilterStayInMemory() {
        db::Query q(&conn());
        q.setSql("select cast('' as varchar(1)) as check, deppcod from depp order by deppcod");
        q.open();
        QVERIFY_THROWS_EXCEPTION(AppError,
                                 q.setValue(0, Value::fromText("X"))); // read-only until made writable
        q.setFieldReadOnly(0, false);
        q.moveTo(2);
        q.edit();
        q.setValue(0, Value::fromText("X"));
        q.post();
        q.moveTo(5);
        q.edit();
        q.setValue(0, Value::fromText("X"));
        q.post();
        q.first();
        QCOMPARE(q.value(2, 0).text(), QStringLiteral("X")); // survives cursor moves
        q.setFilterText(" check = 'X' ");
        q.setFiltered(true);
        QCOMPARE(q.rowCount(), 2);
        QCOMPARE(q.value(0, 1).toInt(), 3);
        QCOMPARE(q.value(1, 1).toInt(), 6);
        q.setFiltered(false);
        QCOMPARE(q.rowCount(), 8);
        q.close(); // discards the marks
        q.open();
        QCOMPARE(q.value(2, 0).text(), QString());
    }

    // A filter that is on still holds after the query is re-opened (the marks are gone, so
    // nothing matches), and a result without the filter's field shows no row rather than all.
    void filterHoldsAcrossReopen() {
        db::Query q(&conn());
        q.setSql("select cast(case when deppcod in (2, 5) then 'X' else '' end as varchar(1)) as check, "
                 "deppcod from depp order by deppcod");
        q.setFilterText(" check = 'X' ");
        q.setFiltered(true); // before the first open
        q.open();
        QCOMPARE(q.rowCount(), 2);
        QCOMPARE(q.value(0, 1).toInt(), 2);
        q.close();
        q.open();
        QVERIFY(q.filtered());
        QCOMPARE(q.rowCount(), 2);
        q.close();
        q.clearSql();
        q.setSql("select deppcod from depp");
        q.open();
        QCOMPARE(q.rowCount(), 0);
        q.setFiltered(false);
        QCOMPARE(q.rowCount(), 8);
    }

    void errorsCarryServerMessageStateAndSql() {
        db::Query q(&conn());
        q.setSql("select nao_existe from depp");
        try {
            q.open();
            QFAIL("no error");
        } catch (const db::Error& e) {
            QVERIFY(e.message().contains("nao_existe"));
            QCOMPARE(e.sqlState(), QStringLiteral("42703"));
            QCOMPARE(e.sql(), QStringLiteral("select nao_existe from depp\r\n"));
        }
        QVERIFY(!q.active());
    }

    void sessionIsReadOnly_data() {
        QTest::addColumn<QString>("sql");
        QTest::newRow("insert") << "insert into depp (deppcod, deppdes) values (99, 'X')";
        QTest::newRow("create table") << "create temp table t (a int)";
        QTest::newRow("update") << "update depp set deppdes = deppdes";
    }
    void sessionIsReadOnly() {
        QFETCH(QString, sql);
        db::Query q(&conn());
        q.setSql(sql);
        try {
            q.open();
            QFAIL("write accepted");
        } catch (const db::Error& e) {
            QCOMPARE(e.sqlState(), QStringLiteral("25006")); // read_only_sql_transaction
        }
    }

    void paramIndexOutsideRangeIsAnError() {
        db::Query q(&conn());
        q.setSql("select 1 where 1 = :0");
        QVERIFY_THROWS_EXCEPTION(RangeError, q.setParam(1, Value::fromInt(1)));
        QVERIFY_THROWS_EXCEPTION(RangeError, q.setParam(-1, Value::fromInt(1)));
    }

    void connectionParameters() {
        db::Connection c;
        c.setParam("Server", "a");
        c.setParam("PORT", "1");
        c.setParam("server", "b"); // same name, other case: replaced under the new spelling
        QCOMPARE(c.params(), QStringList({"server=b", "PORT=1"}));
        c.setParam("port", "");
        QCOMPARE(c.params(), QStringList({"server=b"}));
        c.setParam("database", "");
        QCOMPARE(c.params().size(), 1);
    }

    void closedPortGivesLibpqMessage() {
        db::Connection c;
        c.setDriverId("PG");
        c.setParam("server", "127.0.0.1");
        c.setParam("port", "1");
        try {
            c.open();
            QFAIL("connected to port 1");
        } catch (const db::Error& e) {
            QVERIFY2(e.message().contains("127.0.0.1") && e.message().contains("1"), qPrintable(e.message()));
        }
        QVERIFY(!c.connected());
    }
};

QTEST_GUILESS_MAIN(TestQuery)
#include "tst_query.moc"
