// The program as a process, the way a host starts it: termination requests at any moment, the
// password kept out of the process list, and Qt's own texts in Portuguese.
#include "app/Application.h"

#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QtTest>

#include <arpa/inet.h>
#include <csignal>
#include <memory>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

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

// An X display on 127.0.0.1 that accepts connections and never answers them.
class TelaMuda {
public:
    TelaMuda() {
        servidor_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in endereco{};
        endereco.sin_family = AF_INET;
        endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        for (numero_ = 50; servidor_ >= 0 && numero_ < 100; ++numero_) {
            endereco.sin_port = htons(static_cast<uint16_t>(6000 + numero_));
            if (::bind(servidor_, reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco) == 0 &&
                ::listen(servidor_, 1) == 0)
                return;
        }
        numero_ = -1;
    }
    ~TelaMuda() {
        soltar();
        if (servidor_ >= 0)
            ::close(servidor_);
    }
    TelaMuda(const TelaMuda&) = delete;
    TelaMuda& operator=(const TelaMuda&) = delete;

    int numero() const { return numero_; }
    bool aceitar(int ms) {
        pollfd p{servidor_, POLLIN, 0};
        if (::poll(&p, 1, ms) != 1)
            return false;
        cliente_ = ::accept4(servidor_, nullptr, nullptr, SOCK_CLOEXEC);
        return cliente_ >= 0;
    }
    // Closes the client's connection: its X library gives up on the display.
    void soltar() {
        if (cliente_ >= 0)
            ::close(cliente_);
        cliente_ = -1;
    }

private:
    int servidor_ = -1;
    int cliente_ = -1;
    int numero_ = -1;
};

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

    void pedidoDeEncerramentoAoIniciar_data() {
        QTest::addColumn<int>("sinal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    // A request while Qt still connects to the display ends the program with 0 too. The display
    // here accepts the connection and never answers, so the program stays in that moment until
    // the test lets it go: the handler must already be there, and the window never opens.
    void pedidoDeEncerramentoAoIniciar() {
        QFETCH(int, sinal);
        TelaMuda tela;
        QVERIFY(tela.numero() >= 0);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // Once the display fails, Qt goes on offscreen.
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb;offscreen"));
        env.insert(QStringLiteral("DISPLAY"), QStringLiteral("127.0.0.1:%1").arg(tela.numero()));
        env.remove(QStringLiteral("XAUTHORITY"));
        p.setProcessEnvironment(env);
        p.start(programa(), {});
        QVERIFY(p.waitForStarted(10000));
        QVERIFY2(tela.aceitar(20000), "the program never connected to the display");
        QVERIFY2(esperaOTratador(p), "no handler while the display is being connected to");
        QCOMPARE(::kill(static_cast<pid_t>(p.processId()), sinal), 0);
        tela.soltar();
        const bool terminou = p.waitForFinished(20000);
        if (!terminou) {
            p.kill();
            p.waitForFinished(5000);
        }
        QVERIFY2(terminou, "the program kept running after the request to end");
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
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
