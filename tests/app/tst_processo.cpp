// The program as a process, the way a host starts it: termination requests at any moment, the
// password kept out of the process list, and Qt's own texts in Portuguese.
#include "app/Application.h"

#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <memory>

namespace {

QString programa() {
    return qEnvironmentVariable("ZV_PROGRAMA", QStringLiteral(ZV_PROGRAMA));
}

// True once the program has its handler for `sinal` installed (SigCgt in /proc/PID/status).
bool trataOSinal(qint64 pid, int sinal) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& linha : status.readAll().split('\n'))
        if (linha.startsWith("SigCgt:"))
            return (linha.mid(7).trimmed().toULongLong(nullptr, 16) >> (sinal - 1)) & 1U;
    return false;
}

// Started offscreen; a closed port makes the connection fail, so the start-up error box is up.
std::unique_ptr<QProcess> inicia(const QStringList& args) {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p->setProcessEnvironment(env);
    p->start(programa(), args);
    if (!p->waitForStarted(10000))
        return nullptr;
    return p;
}

bool esperaOTratador(const QProcess& p) {
    QElapsedTimer relogio;
    relogio.start();
    while (!trataOSinal(p.processId(), SIGTERM) || !trataOSinal(p.processId(), SIGHUP)) {
        if (relogio.elapsed() > 20000 || p.state() != QProcess::Running)
            return false;
        QTest::qSleep(20);
    }
    return true;
}

} // namespace

class TstProcesso : public QObject {
    Q_OBJECT
private slots:
    void pedidoDeEncerramentoDuranteACaixaDeErro_data() {
        QTest::addColumn<int>("sinal");
        QTest::addColumn<QStringList>("args");
        const QStringList semServidor{"127.0.0.1", "1", "u", "s", "b", "1", "2", "maria"};
        QTest::newRow("SIGTERM, no arguments") << SIGTERM << QStringList{};
        QTest::newRow("SIGINT, no server") << SIGINT << semServidor;
        QTest::newRow("SIGHUP, no server") << SIGHUP << semServidor;
    }
    // The request ends the program, not just the box: the window never opens.
    void pedidoDeEncerramentoDuranteACaixaDeErro() {
        QFETCH(int, sinal);
        QFETCH(QStringList, args);
        const auto p = inicia(args);
        QVERIFY(p);
        QVERIFY(esperaOTratador(*p));
        QTest::qWait(300); // the box's loop is running by now
        QCOMPARE(::kill(static_cast<pid_t>(p->processId()), sinal), 0);
        const bool terminou = p->waitForFinished(10000);
        if (!terminou) {
            p->kill();
            p->waitForFinished(5000);
        }
        QVERIFY2(terminou, "the program kept running after the request to end");
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0);
    }

    // The host's command line stays, but the process list shows no password.
    void senhaForaDaListaDeProcessos() {
        const QString senha = QStringLiteral("Segr3do-da-Loja");
        const QStringList args{"127.0.0.1", "1", "leitor", senha, "erp", "1", "2", "maria"};
        const auto p = inicia(args);
        QVERIFY(p);
        QVERIFY(esperaOTratador(*p));
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(p->processId()));
        QVERIFY(cmdline.open(QIODevice::ReadOnly));
        const QByteArray linha = cmdline.readAll();
        p->kill();
        p->waitForFinished(10000);

        QVERIFY2(!linha.contains(senha.toUtf8()), linha.constData());
        QVERIFY(!linha.contains("Segr3do"));
        QList<QByteArray> partes = linha.split('\0');
        partes.removeAll(QByteArray());
        QCOMPARE(partes.size(), 1 + args.size() - 1);
        QCOMPARE(partes.at(3), QByteArray("leitor"));
        QCOMPARE(partes.at(4), QByteArray("erp"));
        QCOMPARE(partes.last(), QByteArray("maria"));
    }

    void textosDoQtEmPortugues() {
        QLineEdit edit;
        const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList textos;
        for (const QAction* a : menu->actions())
            if (!a->isSeparator())
                textos << a->text().section(u'\t', 0, 0); // without the shortcut
        QVERIFY2(textos.contains(QStringLiteral("&Desfazer")) && textos.contains(QStringLiteral("C&olar")),
                 qPrintable(textos.join(u'|')));
        QVERIFY(!textos.contains(QStringLiteral("&Undo")));
    }
};

// The program's own application object, so the test sees what the program loads at start-up.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    TstProcesso teste;
    return QTest::qExec(&teste, argc, argv);
}

#include "tst_processo.moc"
