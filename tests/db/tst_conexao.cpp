// The connection's session rules where the server or the road to it is not plain: through a
// PgBouncer in session and transaction mode, and against legacy SQL_ASCII databases.
#include "TestDb.h"
#include "db/Codificacao.h"
#include "db/Connection.h"
#include "db/Error.h"
#include "db/Query.h"

#include <QProcess>
#include <QtTest>
#include <libpq-fe.h>

namespace {

// The pooler of that mode in front of the test cluster (started once per cluster); its port.
QString portaDoPooler(const QString& modo) {
    QProcess p;
    p.start(QStringLiteral("bash"), {testsupport::env("ZV_SOURCE_DIR") + QStringLiteral("/demo/pgcluster.sh"),
                                     QStringLiteral("pooler"), testsupport::env("ZV_TEST_CLUSTER"), modo});
    p.waitForFinished(60000);
    const QString porta = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    if (p.exitCode() != 0 || porta.isEmpty())
        qWarning("pooler: %s", p.readAllStandardError().constData());
    return porta;
}

// "" when the connection opened, else why not.
QString abre(db::Connection& c, const QString& porta, const QString& banco) {
    testsupport::applyTestParams(c);
    c.setParam(QStringLiteral("port"), porta);
    c.setParam(QStringLiteral("database"), banco);
    try {
        c.open();
    } catch (const db::Error& e) {
        return e.message();
    }
    return {};
}

QString valor(db::Connection& c, const QString& sql, const db::Value& param = db::Value::null()) {
    db::Query q(&c);
    q.setSql(sql);
    if (q.paramCount() > 0)
        q.setParam(0, param);
    q.open();
    return q.rowCount() == 0 ? QStringLiteral("<nenhuma linha>") : q.value(0).toString();
}

} // namespace

class TstConexao : public QObject {
    Q_OBJECT
    QHash<QString, QString> m_portas;

private slots:
    void initTestCase() {
        REQUIRE_TEST_DB();
        for (const QString& modo : {QStringLiteral("session"), QStringLiteral("transaction")}) {
            m_portas[modo] = portaDoPooler(modo);
            QVERIFY2(!m_portas[modo].isEmpty(), qPrintable(modo));
        }
        m_portas[QStringLiteral("direct")] = testsupport::env("ZV_TEST_PGPORT");
    }

    void caminhos_data() {
        QTest::addColumn<QString>("caminho");
        QTest::newRow("direct") << "direct";
        QTest::newRow("pgbouncer session") << "session";
        QTest::newRow("pgbouncer transaction") << "transaction";
    }

    // Every statement is read-only and sees ISO dates, though the pooler's server sessions start
    // with DateStyle German and the user's PGDATESTYLE says German; a refused write leaves the
    // connection usable.
    void leituraSoEDatasIso_data() { caminhos_data(); }
    void leituraSoEDatasIso() {
        QFETCH(QString, caminho);
        db::Connection c;
        // The user's own date style is not what the connection reads with, and stays set.
        qputenv("PGDATESTYLE", "German");
        const QString erro = abre(c, m_portas[caminho], testsupport::env("ZV_TEST_PGDATABASE"));
        QCOMPARE(qgetenv("PGDATESTYLE"), QByteArray("German"));
        qunsetenv("PGDATESTYLE");
        QVERIFY2(erro.isEmpty(), qPrintable(erro));
        // ISO dates come with the start-up packet, so statements need not set them.
        QVERIFY(QByteArray(PQparameterStatus(c.handle(), "DateStyle")).startsWith("ISO"));
        for (int i = 0; i < 4; ++i) { // several server sessions behind a pooler
            db::Query data(&c);
            data.setSql("select date '2024-03-05', timestamp '2024-03-05 13:14:15'");
            data.open();
            QCOMPARE(data.value(0).toDateTime().date(), QDate(2024, 3, 5));
            QCOMPARE(data.value(1).toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(13, 14, 15)));
            QVERIFY(valor(c, "select current_setting('DateStyle')").startsWith(u"ISO"));
            QCOMPARE(valor(c, "select current_setting('transaction_read_only')"), QStringLiteral("on"));
            // A statement that asks for read-write mode ends with its own transaction, and one
            // that asks for it before writing is refused.
            try {
                valor(c, QStringLiteral("set transaction read write"));
            } catch (const db::Error&) {
            }
            for (const char* escrita :
                 {"insert into depp (deppcod, deppdes) values (99, 'X')", "create temp table falha (a int)",
                  "do $$ begin set transaction read write; "
                  "insert into depp (deppcod, deppdes) values (99, 'X'); end $$"}) {
                try {
                    valor(c, QString::fromLatin1(escrita));
                    QFAIL(escrita);
                } catch (const db::Error& e) {
                    QVERIFY2(e.sqlState() == u"25006" || e.sqlState() == u"25001", qPrintable(e.message()));
                }
            }
        }
        QCOMPARE(valor(c, "select count(*) from depp where deppcod = 99"), QStringLiteral("0"));
        QVERIFY(c.connected());
    }

    // A SQL_ASCII database with Windows-1252 names among UTF-8 ones reads and searches both.
    void bancoSqlAscii_data() {
        QTest::addColumn<QString>("caminho");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("param");
        QTest::addColumn<QString>("esperado");
        for (const QString& caminho : {QStringLiteral("direct"), QStringLiteral("transaction")}) {
            const auto linha = [&](const char* nome) -> QTestData& {
                return QTest::newRow(qPrintable(caminho + u' ' + QString::fromUtf8(nome))) << caminho;
            };
            linha("Windows-1252 name") << "select pardes from par where parcod = :0"
                                       << "1"
                                       << "MERCADÃO SÃO JOSÉ LTDA";
            linha("Windows-1252 brand") << "select marcasdes from marcas where marcascod = :0"
                                        << "11"
                                        << "TRÊS CORAÇÕES";
            linha("UTF-8 brand") << "select marcasdes from marcas where marcascod = :0"
                                 << "10"
                                 << "PILÃO";
            linha("search typed, stored Windows-1252")
                << "select marcascod from marcas where marcasdes like :0"
                << "TRÊS CORA%"
                << "11";
            linha("search typed, stored UTF-8") << "select marcascod from marcas where marcasdes like :0"
                                                << "PILÃ%"
                                                << "10";
            linha("search finds nothing") << "select marcascod from marcas where marcasdes like :0"
                                          << "ÇÇÇ%"
                                          << "<nenhuma linha>";
        }
    }
    void bancoSqlAscii() {
        QFETCH(QString, caminho);
        QFETCH(QString, sql);
        QFETCH(QString, param);
        db::Connection c;
        const QString erro = abre(c, m_portas[caminho], QStringLiteral("zvlegado"));
        QVERIFY2(erro.isEmpty(), qPrintable(erro));
        QCOMPARE(c.codificacao(), db::Codificacao::SqlAscii);
        QString lido;
        try {
            lido = valor(c, sql, db::Value::fromText(param));
        } catch (const db::Error& e) {
            QFAIL(qPrintable(e.message()));
        }
        QTEST(lido, "esperado");
    }

    void windows1252_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("texto");
        QTest::newRow("ascii") << QByteArray("ABC") << "ABC";
        QTest::newRow("utf-8 stays utf-8") << QByteArray("S\xC3\x83O") << "SÃO";
        QTest::newRow("latin letters") << QByteArray("S\xC3O") << "SÃO";
        QTest::newRow("0x80 range") << QByteArray("\x80 \x93x\x94 \x9C") << "€ “x” œ";
    }
    void windows1252() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, texto);
        QCOMPARE(db::decodifica(bytes.constData(), int(bytes.size()), db::Codificacao::SqlAscii), texto);
        if (!bytes.startsWith("S\xC3\x83"))
            QCOMPARE(db::paraWindows1252(texto).value_or("-"), bytes);
        QVERIFY(!db::paraWindows1252(QStringLiteral("Łódź")).has_value());
    }
};

QTEST_MAIN(TstConexao)
#include "tst_conexao.moc"
