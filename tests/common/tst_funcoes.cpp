#include "TestDb.h"
#include "base/AppError.h"
#include "common/Funcoes.h"
#include "db/Error.h"
#include "db/Query.h"

#include <QApplication>
#include <QLocale>
#include <QtTest>

using db::FieldGroup;
using db::Value;
using db::ValueKind;

namespace {

QDateTime dataHora(int a, int m, int d, int h = 0, int min = 0, int s = 0, int ms = 0) {
    return QDateTime(QDate(a, m, d), QTime(h, min, s, ms));
}

// A readable form of a value, so a mismatch shows what came back.
QString descreve(const Value& v) {
    switch (v.kind()) {
    case ValueKind::Empty:
        return QStringLiteral("Empty");
    case ValueKind::Null:
        return QStringLiteral("Null");
    case ValueKind::Int:
    case ValueKind::UInt:
        return QStringLiteral("Int:%1").arg(v.toInt());
    case ValueKind::Float:
    case ValueKind::Currency:
        return QStringLiteral("Float:%1").arg(v.toDouble());
    case ValueKind::DateTime:
        return QStringLiteral("DateTime:") + v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case ValueKind::Text:
        return QStringLiteral("Text:") + v.text();
    case ValueKind::Bool:
        return v.toBool() ? QStringLiteral("Bool:true") : QStringLiteral("Bool:false");
    case ValueKind::Other:
        return QStringLiteral("Other:") + v.text();
    case ValueKind::Array: {
        QStringList itens;
        for (const Value& i : v.array())
            itens << descreve(i);
        return QStringLiteral("Array[") + itens.join(u',') + u']';
    }
    }
    return {};
}

Value arranjo(std::vector<Value> itens) {
    return Value::fromArray(std::move(itens));
}

} // namespace

class TestFuncoes : public QObject {
    Q_OBJECT
    std::unique_ptr<testsupport::TestDataModule> m_dm;

private slots:
    void initTestCase() {
        REQUIRE_TEST_DB();
        m_dm = std::make_unique<testsupport::TestDataModule>();
    }

    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void formataValorEmString_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<Value>("valor");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("integer") << "pt_BR" << Value::fromInt(1234) << "1234";
        QTest::newRow("negative 16-bit, no grouping") << "en_US" << Value::fromInt(-12345, 16) << "-12345";
        QTest::newRow("unsigned 32-bit") << "pt_BR" << Value::fromUInt(4000000000u) << "4000000000";
        QTest::newRow("float pt_BR") << "pt_BR" << Value::fromFloat(1234.5) << "1.234,50";
        QTest::newRow("float en_US") << "en_US" << Value::fromFloat(1234.5) << "1,234.50";
        QTest::newRow("float millions") << "pt_BR" << Value::fromFloat(1234567.891) << "1.234.567,89";
        QTest::newRow("float below a thousand") << "en_US" << Value::fromFloat(999.5) << "999.50";
        QTest::newRow("negative float") << "en_US" << Value::fromFloat(-1234.5) << "-1,234.50";
        QTest::newRow("tiny negative rounds to zero") << "pt_BR" << Value::fromFloat(-0.001) << "0,00";
        QTest::newRow("currency") << "pt_BR" << Value::fromCurrency(12.5) << "12,50";
        QTest::newRow("missing date pt_BR")
            << "pt_BR" << Value::fromDateTime(dataHora(1500, 1, 1)) << "01/01/1500 00:00:00";
        QTest::newRow("missing date with the locale's separators")
            << "de_DE" << Value::fromDateTime(dataHora(1500, 1, 1)) << "01.01.1500 00:00:00";
        QTest::newRow("day zero") << "en_US" << Value::fromDateTime(0.0) << "30/12/1899 00:00:00";
        QTest::newRow("missing date taken to the second")
            << "pt_BR" << Value::fromDateTime(dataHora(1500, 1, 1, 0, 0, 0, 400)) << "01/01/1500 00:00:00";
        QTest::newRow("date and time pt_BR")
            << "pt_BR" << Value::fromDateTime(dataHora(2024, 3, 5, 14, 30)) << "05/03/2024 14:30:00";
        QTest::newRow("date and time en_US")
            << "en_US" << Value::fromDateTime(dataHora(2024, 3, 5, 14, 30)) << "3/5/24 2:30:00 PM";
        QTest::newRow("midnight shows the date only")
            << "pt_BR" << Value::fromDateTime(dataHora(2024, 3, 5)) << "05/03/2024";
        QTest::newRow("one second after day zero")
            << "pt_BR" << Value::fromDateTime(dataHora(1899, 12, 30, 0, 0, 1)) << "30/12/1899 00:00:01";
        QTest::newRow("true") << "pt_BR" << Value::fromBool(true) << "Verdadeiro";
        QTest::newRow("false") << "pt_BR" << Value::fromBool(false) << "Falso";
        QTest::newRow("text") << "pt_BR" << Value::fromText("Ação 1") << "Ação 1";
        QTest::newRow("empty") << "pt_BR" << Value() << "";
        QTest::newRow("null") << "pt_BR" << Value::null() << "";
        QTest::newRow("other") << "pt_BR" << Value::fromOther("1.5") << "";
        QTest::newRow("array") << "pt_BR" << arranjo({Value::fromInt(1)}) << "";
    }
    void formataValorEmString() {
        QFETCH(QString, locale);
        QFETCH(Value, valor);
        QFETCH(QString, esperado);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(FormataValorEmString(valor), esperado);
    }

    void valorNull_data() {
        QTest::addColumn<Value>("valor");
        QTest::addColumn<bool>("vazio");
        QTest::newRow("empty") << Value() << true;
        QTest::newRow("null") << Value::null() << true;
        QTest::newRow("integer 0") << Value::fromInt(0) << true;
        QTest::newRow("integer 5") << Value::fromInt(5) << false;
        QTest::newRow("unsigned 0") << Value::fromUInt(0) << true;
        QTest::newRow("float 0") << Value::fromFloat(0.0) << true;
        QTest::newRow("float 0.01") << Value::fromFloat(0.01) << false;
        QTest::newRow("currency 0") << Value::fromCurrency(0.0) << true;
        QTest::newRow("empty text") << Value::fromText("") << true;
        QTest::newRow("blank text") << Value::fromText(" ") << false;
        QTest::newRow("false") << Value::fromBool(false) << false;
        QTest::newRow("other, empty") << Value::fromOther("") << false;
        QTest::newRow("empty array") << arranjo({}) << false;
        QTest::newRow("1500-01-01") << Value::fromDateTime(dataHora(1500, 1, 1)) << true;
        QTest::newRow("1500-01-01 + 0.4 s")
            << Value::fromDateTime(dataHora(1500, 1, 1, 0, 0, 0, 400)) << true;
        QTest::newRow("1500-01-01 00:00:01") << Value::fromDateTime(dataHora(1500, 1, 1, 0, 0, 1)) << false;
        QTest::newRow("1899-12-30") << Value::fromDateTime(0.0) << true;
        QTest::newRow("1899-12-30 noon") << Value::fromDateTime(0.5) << false;
        QTest::newRow("1899-12-31") << Value::fromDateTime(1.0) << false;
        QTest::newRow("2024-03-05") << Value::fromDateTime(dataHora(2024, 3, 5)) << false;
    }
    void valorNull() {
        QFETCH(Value, valor);
        QFETCH(bool, vazio);
        QCOMPARE(ValorNull(valor), vazio);
    }

    void somenteNumeros_data() {
        QTest::addColumn<QString>("documento");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("formatted") << "12.345-6"
                                   << "123456";
        QTest::newRow("letters only") << "abc"
                                      << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("CNPJ") << "12.345.678/0001-90"
                              << "12345678000190";
        QTest::newRow("non-ASCII digits dropped") << QString::fromUtf8("1\u0663 2\u00b2") << "12";
    }
    void somenteNumeros() {
        QFETCH(QString, documento);
        QFETCH(QString, esperado);
        QCOMPARE(SomenteNumeros(documento), esperado);
    }

    void buscaDisplayLabel_data() {
        QTest::addColumn<bool>("comQuery");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("no query") << false << "data_cadastro"
                                  << "Data cadastro";
        QTest::newRow("accented first letter kept") << false << "ção_x"
                                                    << "ção x";
        QTest::newRow("leading underscore") << false << "_cod"
                                            << " cod";
        QTest::newRow("already capital") << false << "Des_Dep"
                                         << "Des Dep";
        QTest::newRow("query field, any case") << true << "DEPPDES"
                                               << "deppdes";
        QTest::newRow("accented alias folded by the server") << true << "descrição"
                                                             << "descriÇÃo";
        QTest::newRow("not in the query") << true << "outro_campo"
                                          << "Outro campo";
    }
    void buscaDisplayLabel() {
        QFETCH(bool, comQuery);
        QFETCH(QString, campo);
        QFETCH(QString, esperado);
        db::Query q(&DM->FDConnection1);
        q.setSql("select deppcod, deppdes, deppdes as DESCRIÇÃO from depp");
        q.open();
        QCOMPARE(BuscaDisplayLabel(comQuery ? &q : nullptr, campo), esperado);
    }

    void buscaDisplayLabelOfNothingIsAnError() {
        QVERIFY_THROWS_EXCEPTION(RangeError, BuscaDisplayLabel(nullptr, QString()));
    }

    void buscaDisplayWidth_data() {
        QTest::addColumn<bool>("comQuery");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<int>("largura");
        QTest::newRow("no query") << false << "deppdes" << 0;
        QTest::newRow("varchar(40)") << true << "DEPPDES" << 40;
        QTest::newRow("integer") << true << "deppcod" << 11;
        QTest::newRow("not in the query") << true << "nada" << 0;
    }
    void buscaDisplayWidth() {
        QFETCH(bool, comQuery);
        QFETCH(QString, campo);
        QFETCH(int, largura);
        db::Query q(&DM->FDConnection1);
        q.setSql("select deppcod, deppdes from depp");
        q.open();
        QCOMPARE(BuscaDisplayWidth(comQuery ? &q : nullptr, campo), largura);
    }

    void retornaWidthDefault_data() {
        QTest::addColumn<int>("grupo");
        QTest::addColumn<int>("largura");
        QTest::newRow("text") << int(FieldGroup::Text) << 35;
        QTest::newRow("number") << int(FieldGroup::Number) << 15;
        QTest::newRow("boolean") << int(FieldGroup::Boolean) << 5;
        QTest::newRow("date") << int(FieldGroup::Date) << 15;
        QTest::newRow("time") << int(FieldGroup::Time) << 8;
        QTest::newRow("date-time") << int(FieldGroup::DateTime) << 22;
        QTest::newRow("other (decimal)") << int(FieldGroup::Other) << 10;
    }
    void retornaWidthDefault() {
        QFETCH(int, grupo);
        QFETCH(int, largura);
        QCOMPARE(RetornaWidthDefault(FieldGroup(grupo)), largura);
    }

    void encontraValor_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<Value>("parametro");
        QTest::addColumn<QString>("esperado");
        QTest::addColumn<QString>("comoTexto"); // ConverterValoresString of the result
        const QString depp = QStringLiteral("select deppdes from depp where deppcod = :0");
        const QString depp2 = QStringLiteral("select deppcod, deppdes from depp where deppcod = :0");
        QTest::newRow("found") << depp << Value::fromInt(5) << "Text:HORTIFRÚTI"
                               << "Text:HORTIFRÚTI";
        QTest::newRow("code as text") << depp << Value::fromText("5") << "Text:HORTIFRÚTI"
                                      << "Text:HORTIFRÚTI";
        QTest::newRow("no row, text column") << depp << Value::fromInt(9999) << "Text:"
                                             << "Text:";
        QTest::newRow("no row, integer column")
            << "select deppcod from depp where deppcod = :0" << Value::fromInt(9999) << "Int:0"
            << "Text:0";
        QTest::newRow("two columns") << depp2 << Value::fromInt(5) << "Array[Int:5,Text:HORTIFRÚTI]"
                                     << "Array[Text:5,Text:HORTIFRÚTI]";
        QTest::newRow("two columns, no row") << depp2 << Value::fromInt(9999) << "Array[Int:0,Text:]"
                                             << "Array[Text:0,Text:]";
        QTest::newRow("null date") << "select cast(null as date) from depp where deppcod = :0"
                                   << Value::fromInt(5) << "DateTime:1500-01-01 00:00:00"
                                   << "Text:01/01/1500 00:00:00";
        QTest::newRow("null timestamp") << "select cast(null as timestamp) from depp where deppcod = :0"
                                        << Value::fromInt(5) << "DateTime:1500-01-01 00:00:00"
                                        << "Text:01/01/1500 00:00:00";
        QTest::newRow("null time") << "select cast(null as time) from depp where deppcod = :0"
                                   << Value::fromInt(5) << "DateTime:1899-12-30 00:00:00"
                                   << "Text:30/12/1899 00:00:00";
        QTest::newRow("null boolean") << "select cast(null as boolean) from depp where deppcod = :0"
                                      << Value::fromInt(5) << "Bool:false"
                                      << "Text:Falso";
        QTest::newRow("null decimal stays empty")
            << "select cast(null as numeric) from depp where deppcod = :0" << Value::fromInt(5) << "Empty"
            << "Text:";
        QTest::newRow("no row, mixed groups")
            << "select cast(null as date), true, 1.5::numeric, 2.5::float8 from depp where deppcod = :0"
            << Value::fromInt(9999) << "Array[DateTime:1500-01-01 00:00:00,Bool:false,Empty,Int:0]"
            << "Array[Text:01/01/1500 00:00:00,Text:Falso,Text:,Text:0]";
        QTest::newRow("a date") << "select prodtcad from pro where procod = :0" << Value::fromInt(1)
                                << "DateTime:2010-01-04 00:00:00"
                                << "Text:04/01/2010";
        QTest::newRow("parameter array")
            << "select deppdes from depp where deppcod in (:0, :1) order by deppcod desc"
            << arranjo({Value::fromInt(2), Value::fromInt(5)}) << "Text:HORTIFRÚTI"
            << "Text:HORTIFRÚTI";
        QTest::newRow("array shorter than the parameters")
            << "select count(*)::int from depp where deppcod = :0 or deppcod = :1"
            << arranjo({Value::fromInt(3)}) << "Int:1"
            << "Text:1";
        QTest::newRow("no parameter, value ignored")
            << "select deppdes from depp where deppcod = 1" << Value::fromInt(7) << "Text:MERCEARIA"
            << "Text:MERCEARIA";
        QTest::newRow("text parameter")
            << "select deppcod from depp where deppdes = :0" << Value::fromText("LIMPEZA") << "Int:3"
            << "Text:3";
    }
    void encontraValor() {
        QFETCH(QString, sql);
        QFETCH(Value, parametro);
        QFETCH(QString, esperado);
        QFETCH(QString, comoTexto);
        QLocale::setDefault(QLocale(QStringLiteral("pt_BR")));
        const Value v = EncontraValor(sql, parametro);
        QCOMPARE(descreve(v), esperado);
        QCOMPARE(descreve(ConverterValoresString(v)), comoTexto);
    }

    void encontraValorErrors_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<Value>("parametro");
        QTest::addColumn<bool>("erroDeIndice");
        QTest::newRow("more values than parameters")
            << "select deppdes from depp where deppcod = :0"
            << arranjo({Value::fromInt(1), Value::fromInt(2)}) << true;
        QTest::newRow("SQL error") << "select nada from depp where deppcod = :0" << Value::fromInt(1)
                                   << false;
    }
    void encontraValorErrors() {
        QFETCH(QString, sql);
        QFETCH(Value, parametro);
        QFETCH(bool, erroDeIndice);
        try {
            EncontraValor(sql, parametro);
            QFAIL("no error");
        } catch (const RangeError&) {
            QVERIFY(erroDeIndice);
        } catch (const AppError& e) {
            QVERIFY(!erroDeIndice);
            QVERIFY(e.message().startsWith(QStringLiteral("Erro na abertura da tabela\r\r")));
        }
        QVERIFY(QApplication::overrideCursor() == nullptr);
        // The connection is still usable afterwards.
        QCOMPARE(descreve(EncontraValor("select deppdes from depp where deppcod = :0", Value::fromInt(1))),
                 QStringLiteral("Text:MERCEARIA"));
    }

    void openErrorText_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("textoDaQuery");
        QTest::newRow("one line") << "select nada from tabela_que_nao_existe"
                                  << "select nada from tabela_que_nao_existe\r\n";
        QTest::newRow("several lines") << "select deppcod,\n  nada\r\nfrom depp"
                                       << "select deppcod,\r\n  nada\r\nfrom depp\r\n";
    }
    void openErrorText() {
        QFETCH(QString, sql);
        QFETCH(QString, textoDaQuery);
        // The driver's own message, as the data layer reports it.
        QString mensagemDoDriver;
        {
            db::Query direta(&DM->FDConnection1);
            direta.setSql(sql);
            try {
                direta.open();
            } catch (const db::Error& e) {
                mensagemDoDriver = e.message();
            }
        }
        QVERIFY(!mensagemDoDriver.isEmpty());

        db::Query q(&DM->FDConnection1);
        q.setSql(sql);
        try {
            sql_OpenQuery(q);
            QFAIL("no error");
        } catch (const db::Error&) {
            QFAIL("the driver's error must not leave unwrapped");
        } catch (const AppError& e) {
            QCOMPARE(e.message(), QStringLiteral("Erro na abertura da tabela\r\r") + mensagemDoDriver +
                                      QStringLiteral("\r\r") + textoDaQuery);
        }
        QVERIFY(!q.active());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void openLeavesTheCursorAsItWas() {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        db::Query q(&DM->FDConnection1);
        q.setSql("select deppdes from depp order by deppcod");
        QVERIFY(sql_OpenQuery(q));
        QVERIFY(q.active());
        QCOMPARE(q.value(0).text(), QStringLiteral("MERCEARIA"));
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);

        // Already open: nothing is run again (the current row stays) and the cursor is not touched.
        q.next();
        QVERIFY(sql_OpenQuery(q));
        QCOMPARE(q.recNo(), 1);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QApplication::restoreOverrideCursor();
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }
};

QTEST_MAIN(TestFuncoes)
#include "tst_funcoes.moc"
