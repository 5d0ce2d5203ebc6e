// Start-up: the command line, the connection and the error report.
#include "ModalDriver.h"
#include "TestDb.h"
#include "app/EncerramentoPorSinal.h"
#include "app/FormPrincipal.h"
#include "base/AppError.h"
#include "common/ErrorReport.h"
#include "lookup/CriadorLookup.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <csignal>
#include <libpq-fe.h>

namespace {

QStringList argsDoBanco(const QString& empresa, const QString& funcionario) {
    using testsupport::env;
    return {"prog",
            env("ZV_TEST_PGHOST"),
            env("ZV_TEST_PGPORT"),
            env("ZV_TEST_PGUSER"),
            env("ZV_TEST_PGPASSWORD"),
            env("ZV_TEST_PGDATABASE"),
            empresa,
            funcionario,
            "maria"};
}

// Runs the creation step and returns the message of what it raised ("" when nothing).
QString criar(TFormPrincipal& form) {
    try {
        form.FormCreate();
    } catch (const AppError& e) {
        return e.message();
    }
    return {};
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
    std::unique_ptr<TDM> m_dm;

private slots:
    void init() {
        m_dm = std::make_unique<TDM>();
        DM = m_dm.get();
    }
    void cleanup() {
        DM = nullptr;
        m_dm.reset();
    }

    void badCodesGiveTheConversionError_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("no arguments") << QStringList{"prog"} << "'' is not a valid integer value";
        QTest::newRow("empty company")
            << QStringList{"prog", "h", "1", "u", "s", "b", "", "1"} << "'' is not a valid integer value";
        QTest::newRow("letters") << QStringList{"prog", "h", "1", "u", "s", "b", "abc", "1"}
                                 << "'abc' is not a valid integer value";
        QTest::newRow("above 32 bits") << QStringList{"prog", "h", "1", "u", "s", "b", "2147483648", "1"}
                                       << "'2147483648' is not a valid integer value";
        QTest::newRow("below 32 bits") << QStringList{"prog", "h", "1", "u", "s", "b", "-2147483649", "1"}
                                       << "'-2147483649' is not a valid integer value";
        QTest::newRow("trailing letter") << QStringList{"prog", "h", "1", "u", "s", "b", "12a", "1"}
                                         << "'12a' is not a valid integer value";
        QTest::newRow("employee missing")
            << QStringList{"prog", "h", "1", "u", "s", "b", "1"} << "'' is not a valid integer value";
        QTest::newRow("employee decimal") << QStringList{"prog", "h", "1", "u", "s", "b", "1", "2.5"}
                                          << "'2.5' is not a valid integer value";
    }
    void badCodesGiveTheConversionError() {
        QFETCH(QStringList, args);
        QFETCH(QString, mensagem);
        TFormPrincipal form(args);
        QCOMPARE(criar(form), mensagem);
        QVERIFY(!DM->FDConnection1.connected());
        QVERIFY(DM->FDConnection1.params().isEmpty()); // never configured
        QVERIFY(form.findChildren<TCriadorLookup*>().isEmpty());
    }

    void errorBoxShowsTheMessageWithAFullStop() {
        bool visto = false;
        QString texto, titulo;
        QMessageBox::Icon icone = QMessageBox::NoIcon;
        int botoes = 0;
        Qt::TextFormat formato = Qt::AutoText;
        testsupport::whenModal(
            [&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                QVERIFY(box);
                texto = box->text();
                formato = box->textFormat();
                titulo = box->windowTitle();
                icone = box->icon();
                botoes = box->buttons().size();
                box->accept();
            },
            &visto);
        // Pasted text that looks like markup is shown as typed.
        ShowException(ConversionError("'<b>5' is not a valid integer value"));
        QVERIFY(visto);
        QCOMPARE(texto, QStringLiteral("'<b>5' is not a valid integer value."));
        QCOMPARE(formato, Qt::PlainText);
        QCOMPARE(titulo, QCoreApplication::applicationName());
        QCOMPARE(icone, QMessageBox::Critical);
        QCOMPARE(botoes, 1);
    }

    void fullStopRule_data() {
        QTest::addColumn<QString>("mensagem");
        QTest::addColumn<QString>("mostrado");
        QTest::newRow("letter") << "abc"
                                << "abc.";
        QTest::newRow("ends with full stop") << "abc."
                                             << "abc.";
        QTest::newRow("ends with digit") << "porta 1"
                                         << "porta 1.";
        QTest::newRow("ends with blank") << "abc "
                                         << "abc ";
        QTest::newRow("ends with dash") << "abc -"
                                        << "abc -";
        QTest::newRow("ends with accent") << "conexão"
                                          << "conexão.";
        QTest::newRow("empty") << ""
                               << "";
    }
    void fullStopRule() {
        QFETCH(QString, mensagem);
        QTEST(TextoDoErro(mensagem), "mostrado");
    }

    void emptyConnectionArgumentsAreRemoved() {
        TFormPrincipal form({"prog", "", "", "", "", "", "0", "0"});
        DM->FDConnection1.setParam("server", "velho"); // a stored value must not survive
        criar(form);                                   // the open may or may not reach libpq's default server
        QVERIFY(DM->FDConnection1.params().isEmpty());
        QCOMPARE(DM->FDConnection1.driverId(), QStringLiteral("PG"));
        QCOMPARE(form.codigoEmpresaLogada(), 0);
    }

    void closedPortShowsLibpqText() {
        TFormPrincipal form({"prog", "127.0.0.1", "1", "u", "s", "b", "1", "2"});
        const QString mensagem = criar(form);
        QVERIFY2(mensagem.contains("127.0.0.1") && mensagem.contains("port 1"), qPrintable(mensagem));
        QVERIFY(form.findChildren<TCriadorLookup*>().isEmpty());
        QCOMPARE(form.codigoEmpresaLogada(), 1); // the login codes were read before the open
        QCOMPARE(form.codigoFuncionarioLogado(), 2);
        QVERIFY(DM->FDConnection1.param("password").isEmpty()); // not kept after a failed open
    }

    // SERVER and PORT may list hosts in libpq's way; they are tried in order. "H" and "P" stand for
    // the test database's host and port, "1" and "2" for ports nobody listens on.
    void severalHostsAreTriedInOrder_data() {
        QTest::addColumn<QString>("servidor");
        QTest::addColumn<QString>("porta");
        QTest::addColumn<bool>("abre");
        QTest::newRow("first down, second up") << "127.0.0.1,H" << "1,P" << true;
        QTest::newRow("first up") << "H,127.0.0.1" << "P,1" << true;
        QTest::newRow("one port for every host") << "127.0.0.1,H" << "P" << true;
        QTest::newRow("all down") << "127.0.0.1,127.0.0.1" << "1,2" << false;
    }
    void severalHostsAreTriedInOrder() {
        REQUIRE_TEST_DB();
        QFETCH(QString, servidor);
        QFETCH(QString, porta);
        QFETCH(bool, abre);
        QStringList args = argsDoBanco("1", "1");
        args[1] = servidor.replace("H", args[1]);
        args[2] = porta.replace("P", args[2]);
        TFormPrincipal form(args);
        const QString mensagem = criar(form);
        QCOMPARE(DM->FDConnection1.param("server"), args[1]); // passed on unchanged
        QCOMPARE(DM->FDConnection1.param("port"), args[2]);
        if (abre) {
            QCOMPARE(mensagem, QString());
            QCOMPARE(QString::fromUtf8(PQport(DM->FDConnection1.handle())), testsupport::env("ZV_TEST_PGPORT"));
            QCOMPARE(form.findChildren<TCriadorLookup*>().size(), 11);
        } else {
            // Every attempt is in the message, not just the last.
            QVERIFY2(mensagem.contains("port 1") && mensagem.contains("port 2"), qPrintable(mensagem));
        }
    }

    void validStartOpensAndBuildsTheLookups() {
        REQUIRE_TEST_DB();
        QStringList args = argsDoBanco("0", "-7");
        args << "ignored"
             << "too";
        TFormPrincipal form(args);
        QCOMPARE(criar(form), QString());
        QVERIFY(DM->FDConnection1.connected());
        QCOMPARE(form.codigoEmpresaLogada(), 0);
        QCOMPARE(form.codigoFuncionarioLogado(), -7);
        QCOMPARE(form.findChildren<TCriadorLookup*>().size(), 11);
    }

#ifndef Q_OS_WIN // Windows has no such signals: tests/windows/win_encerramento.cpp
    // A signal from outside reaches the event loop as a request to end, once per signal,
    // and the default disposition comes back when the owner goes.
    void aSignalBecomesAnOrderlyShutdownRequest_data() {
        QTest::addColumn<int>("sinal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void aSignalBecomesAnOrderlyShutdownRequest() {
        QFETCH(int, sinal);
        {
            EncerramentoPorSinal encerramento;
            QVERIFY_THROWS_EXCEPTION(std::logic_error, EncerramentoPorSinal{});
            QSignalSpy pedidos(&encerramento, &EncerramentoPorSinal::encerramentoPedido);
            QCOMPARE(::raise(sinal), 0);
            QCOMPARE(::raise(sinal), 0);
            QTRY_COMPARE(pedidos.size(), 2);
            QCOMPARE(pedidos.at(0).at(0).toInt(), sinal);
            QCOMPARE(pedidos.at(1).at(0).toInt(), sinal);
        }
        struct sigaction atual {};
        QCOMPARE(::sigaction(sinal, nullptr, &atual), 0);
        QVERIFY(atual.sa_handler == SIG_DFL);
        // A new owner can be made once the old one is gone.
        EncerramentoPorSinal deNovo;
    }
#endif
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
