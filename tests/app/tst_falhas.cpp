// Faults and bad input on the whole filter window: a server that cannot be reached at start-up,
// writes refused by the read-only session, pasted text in the code edits, an error box in the
// middle of a Tab, and the server dying under an open window. The test runs a PostgreSQL cluster
// of its own (demo/pgcluster.sh), which it kills at the end.
#include "app/FormPrincipal.h"
#include "common/ErrorReport.h"
#include "db/Connection.h"
#include "db/DM.h"
#include "db/Error.h"
#include "db/Query.h"
#include "lookup/CriadorLookup.h"
#include "search/FormL.h"
#include "search/FormLAvanc.h"
#include "widgets/DataGrid.h"
#include "widgets/EventButton.h"
#include "widgets/EventEdit.h"

#include "Digitacao.h"
#include "JanelaLookups.h"
#include "JavaSubstituto.h"
#include "ModalDriver.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <memory>

using testsupport::digita;

namespace {

QString scriptDoCluster() {
    QString raiz = qEnvironmentVariable("ZV_SOURCE_DIR");
    if (raiz.isEmpty())
        raiz = QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../..");
    return QDir(raiz).absoluteFilePath(QStringLiteral("demo/pgcluster.sh"));
}

// Runs pgcluster.sh with a bounded wait; false when it fails, with its output in `saida`.
bool cluster(const QStringList& args, QString* saida = nullptr) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("bash"), QStringList{scriptDoCluster()} + args);
    const bool terminou = p.waitForFinished(180000);
    if (!terminou) {
        p.kill();
        p.waitForFinished(5000);
    }
    if (saida)
        *saida = QString::fromUtf8(p.readAll());
    return terminou && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

void tecla(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    if (QWidget* alvo = QApplication::focusWidget())
        QTest::keyClick(alvo, k, m);
}

// Runs `acao` and answers the error box it raises (over the modal window `sobre`, if any);
// returns the box's text, "" when none came. Any other modal window is closed and reported, so a
// wrong turn fails instead of hanging.
QString respondeCaixa(QWidget* sobre, const std::function<void()>& acao) {
    QString texto;
    QPointer<QTimer> espera = testsupport::whenModal(
        [&](QWidget* modal) {
            if (auto* caixa = qobject_cast<QMessageBox*>(modal)) {
                texto = caixa->text();
                caixa->done(QMessageBox::Ok);
            } else {
                texto = QStringLiteral("<unexpected %1>").arg(modal->objectName());
                modal->close();
            }
        },
        nullptr, 30000, sobre);
    acao();
    if (espera) {
        espera->stop();
        espera->deleteLater();
    }
    return texto;
}

// respondeCaixa for the filter window; afterwards the window that was active is activated again,
// as a window manager would.
QString caixaDe(const std::function<void()>& acao) {
    QWidget* const ativa = QApplication::activeWindow();
    const QString texto = respondeCaixa(nullptr, acao);
    if (ativa && QApplication::activeWindow() != ativa) {
        QApplication::setActiveWindow(ativa);
        if (!QTest::qWaitForWindowActive(ativa))
            qWarning("the window did not become active again");
    }
    return texto;
}

// respondeCaixa for an action taken inside the modal window `sobre`: that window is not the box.
QString caixaSobre(QWidget* sobre, const std::function<void()>& acao) {
    return respondeCaixa(sobre, acao);
}

// A TCP port on 127.0.0.1 that either listens and never answers (the kernel completes the
// handshake, nobody reads) or, closed again, refuses connections.
class PortaLocal {
public:
    explicit PortaLocal(bool escutando) : m_fd(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in endereco{};
        endereco.sin_family = AF_INET;
        endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t tamanho = sizeof endereco;
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr*>(&endereco), tamanho) != 0 ||
            ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0)
            return;
        m_porta = ntohs(endereco.sin_port);
        if (escutando) {
            if (::listen(m_fd, 4) != 0)
                m_porta = 0;
        } else {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~PortaLocal() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    PortaLocal(const PortaLocal&) = delete;
    PortaLocal& operator=(const PortaLocal&) = delete;
    int porta() const { return m_porta; }

private:
    int m_fd;
    int m_porta = 0;
};

QString erroDeConversao(const QString& texto) {
    return QStringLiteral("'%1' is not a valid integer value.").arg(texto);
}

} // namespace

class TstFalhas : public QObject {
    Q_OBJECT
public:
    ~TstFalhas() override { paraCluster(); }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void escritaRecusadaPelaSessao_data();
    void escritaRecusadaPelaSessao();
    void partidaSemServidor_data();
    void partidaSemServidor();
    void textoColadoNoCodigo_data();
    void textoColadoNoCodigo();
    void caixaDeErroNoMeioDoTab();
    void servidorReiniciadoNaoAparece();
    void servidorCaiComBuscaAberta_data();
    void servidorCaiComBuscaAberta();
    void servidorCaiComAJanelaAberta(); // kills the cluster: keep it last

private:
    QStringList argumentos() const;
    // The window after the start-up step (as main runs it: an error is reported, the window opens
    // all the same), shown and active. `erro` gets the start-up error box's text.
    TFormPrincipal& abreJanela(const QStringList& args, QString* erro = nullptr);
    QList<QStringList> execucoes(int n);
    void paraCluster();
    bool derrubaServidor();

    QTemporaryDir fTmp{QStringLiteral("/tmp/zvfalhas-XXXXXX")}; // the socket path must stay short
    QString fCluster;
    bool fClusterNoAr = false;
    bool fServidorCaido = false; // killed by a test that may have failed before restarting it
    QHash<QString, QString> fEnv;
    QByteArray fPathOriginal;
    std::unique_ptr<TDM> fDM;
    std::unique_ptr<TFormPrincipal> fJanela;
};

void TstFalhas::initTestCase() {
    fPathOriginal = testsupport::instalaJavaSubstituto(fTmp);
    QVERIFY(!fPathOriginal.isEmpty());

    fCluster = fTmp.filePath("db");
    // As root the server runs as the postgres user, which must be able to reach its folder.
    QVERIFY(QFile::setPermissions(fTmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                   QFile::ExeGroup | QFile::ExeOther));
    QElapsedTimer relogio;
    relogio.start();
    QString saida;
    fClusterNoAr = true; // stopping a cluster that never started is harmless
    QVERIFY2(cluster({"start", fCluster}, &saida), qPrintable(saida));
    qInfo("private cluster up in %lld ms", relogio.elapsed());
    QFile env(fCluster + "/env");
    QVERIFY(env.open(QIODevice::ReadOnly));
    for (const QByteArray& linha : env.readAll().split('\n'))
        if (const qsizetype igual = linha.indexOf('='); igual > 0)
            fEnv.insert(QString::fromUtf8(linha.left(igual)), QString::fromUtf8(linha.mid(igual + 1)));
    QVERIFY(!fEnv.value("PGPORT").isEmpty());

    // The reader may write here: whatever is refused later is refused by the session itself.
    QVERIFY2(cluster({"psql", fCluster, "-q", "-c",
                      "GRANT INSERT, UPDATE, DELETE ON depp TO zvleitura; "
                      "GRANT CREATE ON SCHEMA public TO zvleitura; "
                      "GRANT TEMPORARY ON DATABASE zvdemo TO zvleitura;"},
                     &saida),
             qPrintable(saida));
}

void TstFalhas::init() {
    QDir saida(fTmp.filePath("saida"));
    for (const QString& f : saida.entryList(QDir::Files))
        saida.remove(f);
}

void TstFalhas::cleanup() {
    testsupport::cancelPendingModalDrivers();
    if (fServidorCaido) {
        QString saida;
        if (!cluster({"restart", fCluster}, &saida))
            qWarning("could not restart the private cluster: %s", qPrintable(saida));
        fServidorCaido = false;
    }
    fJanela.reset();
    DM = nullptr;
    fDM.reset();
}

void TstFalhas::cleanupTestCase() {
    paraCluster();
    qputenv("PATH", fPathOriginal);
}

void TstFalhas::paraCluster() {
    if (!fClusterNoAr)
        return;
    fClusterNoAr = false;
    QString saida;
    if (!cluster({"stop", fCluster}, &saida))
        qWarning("could not stop the private cluster: %s", qPrintable(saida));
}

bool TstFalhas::derrubaServidor() {
    QString saida;
    fServidorCaido = true;
    if (cluster({"kill", fCluster}, &saida))
        return true;
    qWarning("%s", qPrintable(saida));
    return false;
}

QStringList TstFalhas::argumentos() const {
    return {"prog",
            fEnv.value("PGHOST"),
            fEnv.value("PGPORT"),
            fEnv.value("PGUSER"),
            fEnv.value("PGPASSWORD"),
            fEnv.value("PGDATABASE"),
            "1",
            "1",
            "teste"};
}

TFormPrincipal& TstFalhas::abreJanela(const QStringList& args, QString* erro) {
    fDM = std::make_unique<TDM>();
    DM = fDM.get();
    fJanela = std::make_unique<TFormPrincipal>(args);
    const QString texto = caixaDe([this] { RunGuarded([this] { fJanela->FormCreate(); }); });
    if (erro)
        *erro = texto;
    else if (!texto.isEmpty())
        qWarning("start-up error: %s", qPrintable(texto));
    fJanela->show();
    QApplication::setActiveWindow(fJanela.get());
    if (!QTest::qWaitForWindowActive(fJanela.get()))
        qWarning("window did not become active");
    return *fJanela;
}

QList<QStringList> TstFalhas::execucoes(int n) {
    const QDir saida(fTmp.filePath("saida"));
    auto prontos = [&] {
        QStringList l = saida.entryList({"run.*"}, QDir::Files, QDir::Time | QDir::Reversed);
        l.removeIf([](const QString& f) { return f.endsWith(".tmp"); });
        return l;
    };
    (void)QTest::qWaitFor([&] { return prontos().size() >= n; }, 20000);
    QList<QStringList> runs;
    for (const QString& nome : prontos()) {
        QFile f(saida.filePath(nome));
        if (f.open(QIODevice::ReadOnly))
            runs << QString::fromUtf8(f.readAll()).trimmed().split('\n');
    }
    return runs;
}

// ---------------------------------------------------------------------------------------------

void TstFalhas::escritaRecusadaPelaSessao_data() {
    QTest::addColumn<QString>("sql");
    QTest::newRow("insert") << "insert into depp (deppcod, deppdes) values (99, 'X')";
    QTest::newRow("update") << "update depp set deppdes = 'X' where deppcod = 1";
    QTest::newRow("delete") << "delete from depp where deppcod = 8";
    QTest::newRow("create table") << "create table falha (a int)";
    QTest::newRow("create temp table") << "create temp table falha (a int)";
}

void TstFalhas::escritaRecusadaPelaSessao() {
    QFETCH(QString, sql);
    // Opened the way the program opens its connection (the same parameters and defaults).
    db::Connection conexao;
    conexao.setDriverId(QStringLiteral("PG"));
    conexao.setParam(QStringLiteral("server"), fEnv.value("PGHOST"));
    conexao.setParam(QStringLiteral("port"), fEnv.value("PGPORT"));
    conexao.setParam(QStringLiteral("user_name"), fEnv.value("PGUSER"));
    conexao.setParam(QStringLiteral("password"), fEnv.value("PGPASSWORD"));
    conexao.setParam(QStringLiteral("database"), fEnv.value("PGDATABASE"));
    conexao.open();

    db::Query direitos(&conexao);
    direitos.setSql(
        "select has_table_privilege('depp', 'INSERT') and has_schema_privilege('public', 'CREATE')");
    direitos.open();
    QVERIFY2(direitos.value(0).toString() == u"true" || direitos.value(0).toString() == u"1",
             "the reader should hold write rights in this cluster");

    db::Query escrita(&conexao);
    escrita.setSql(sql);
    try {
        escrita.open();
        QFAIL("the write was accepted");
    } catch (const db::Error& e) {
        QCOMPARE(e.sqlState(), QStringLiteral("25006")); // read_only_sql_transaction
    }
    QVERIFY(conexao.connected());

    db::Query contagem(&conexao);
    contagem.setSql("select count(*) from depp where deppdes = 'X' or deppcod = 99");
    contagem.open();
    QCOMPARE(contagem.value(0).toString(), QStringLiteral("0"));
}

void TstFalhas::partidaSemServidor_data() {
    QTest::addColumn<bool>("mudo");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("closed port") << false << "Connection refused";
    // Accepts the connection and never answers: the wait is bounded by the connect timeout.
    QTest::newRow("silent server") << true << "timeout expired";
}

void TstFalhas::partidaSemServidor() {
    QFETCH(bool, mudo);
    QFETCH(QString, motivo);
    const PortaLocal local(mudo);
    QVERIFY(local.porta() > 0);
    const QString porta = QString::number(local.porta());

    QElapsedTimer relogio;
    relogio.start();
    QString erro;
    TFormPrincipal& janela = abreJanela(
        {"prog", "127.0.0.1", porta, "zvleitura", "zvleitura", "zvdemo", "1", "1", "teste"}, &erro);
    QVERIFY2(relogio.elapsed() < 60000, "the start-up wait is not bounded");
    QVERIFY2(erro.contains(motivo) && erro.contains(porta), qPrintable(erro));
    QVERIFY(janela.isVisible());
    QVERIFY(janela.findChildren<TCriadorLookup*>().isEmpty());

    // Usable: the codes can be typed and left without anything asked of the database.
    QVERIFY(janela.EditEmp->hasFocus());
    digita("12");
    QCOMPARE(caixaDe([] { tecla(Qt::Key_Tab); }), QString());
    QVERIFY(janela.EditDep->hasFocus());
    digita("3");
    QCOMPARE(janela.EditEmp->text(), QStringLiteral("12"));

    janela.BitBtn1->click();
    const QList<QStringList> runs = execucoes(1);
    QCOMPARE(runs.size(), 1);
    QVERIFY2(runs.first().contains("P_EMP=12") && runs.first().contains("P_DEP=3"),
             qPrintable(runs.first().join(' ')));
}

void TstFalhas::textoColadoNoCodigo_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("descricao"); // empty: the conversion error is expected
    QTest::newRow("letters") << "ABC"
                             << "";
    QTest::newRow("blanks") << "   "
                            << "";
    QTest::newRow("quotes") << "5' or '1'='1"
                            << "";
    QTest::newRow("statement") << "5; drop table depp; --"
                               << "";
    QTest::newRow("wildcards") << "%_"
                               << "";
    QTest::newRow("two lines") << "5\n6"
                               << "";
    QTest::newRow("several codes word") << "VÁRIOS"
                                        << "";
    QTest::newRow("10000 digits") << QString(10000, u'9') << "";
    QTest::newRow("10000 letters") << QString(10000, u'x') << "";
    // A leading blank is read as the number, like the conversion always did.
    QTest::newRow("leading blank") << " 5"
                                   << "HORTIFRÚTI";
}

void TstFalhas::textoColadoNoCodigo() {
    QFETCH(QString, texto);
    QFETCH(QString, descricao);
    TFormPrincipal& janela = abreJanela(argumentos());
    const QList<widgets::EventEdit*> filhos{janela.EditSecp, janela.EditCat, janela.EditScat};
    QStringList semFiltro;
    for (auto* f : filhos)
        semFiltro << janela.ELookUP(f, evDescricao) << janela.ELookUP(f, evListagem);

    janela.EditDepp->setFocus(Qt::TabFocusReason);
    QVERIFY(janela.EditDepp->hasFocus());
    QGuiApplication::clipboard()->setText(texto);
    janela.EditDepp->paste();
    const QString colado = janela.EditDepp->text();
    QVERIFY(!colado.isEmpty());

    // Nothing of it reaches the SQL of the fields below.
    QStringList comColado;
    for (auto* f : filhos)
        comColado << janela.ELookUP(f, evDescricao) << janela.ELookUP(f, evListagem);
    QCOMPARE(comColado, semFiltro);

    const QString caixa = caixaDe([] { tecla(Qt::Key_Tab); });
    QVERIFY(janela.EditSecp->hasFocus());
    if (descricao.isEmpty()) {
        QCOMPARE(caixa, erroDeConversao(colado));
        QCOMPARE(janela.EditDepp->text(), QString());
    } else {
        QCOMPARE(caixa, QString());
        QCOMPARE(janela.EditDepp->text(), colado);
    }
    QCOMPARE(janela.EditDeppDes->text(), descricao);
    QVERIFY(!janela.estadoLookups().BotaoAtivo);
    QVERIFY(FormL == nullptr);

    // The next field works as usual.
    digita("12");
    QCOMPARE(caixaDe([] { tecla(Qt::Key_Tab); }), QString());
    QCOMPARE(janela.EditSecpDes->text(), QStringLiteral("FRUTAS"));
}

void TstFalhas::caixaDeErroNoMeioDoTab() {
    // The error box of one field must not leave the next field with another field's description.
    TFormPrincipal& janela = abreJanela(argumentos());
    janela.EditDepp->setFocus(Qt::TabFocusReason);
    digita("5");
    QCOMPARE(caixaDe([] { tecla(Qt::Key_Tab); }), QString());
    QCOMPARE(janela.EditDeppDes->text(), QStringLiteral("HORTIFRÚTI"));
    digita("12");
    QCOMPARE(caixaDe([] { tecla(Qt::Key_Tab); }), QString());
    QCOMPARE(janela.EditSecpDes->text(), QStringLiteral("FRUTAS"));
    QVERIFY(janela.EditCat->hasFocus());

    // Back to the department, through the section, and a code beyond 32 bits typed over it.
    QCOMPARE(caixaDe([] { tecla(Qt::Key_Backtab, Qt::ShiftModifier); }), QString());
    QCOMPARE(caixaDe([] { tecla(Qt::Key_Backtab, Qt::ShiftModifier); }), QString());
    QVERIFY(janela.EditDepp->hasFocus());
    janela.EditDepp->selectAll();
    digita("99999999999");
    QCOMPARE(caixaDe([] { tecla(Qt::Key_Tab); }), erroDeConversao("99999999999"));
    QCOMPARE(janela.EditDepp->text(), QString());
    QVERIFY(janela.EditSecp->hasFocus());

    // The section, left untouched, keeps its own description.
    QCOMPARE(caixaDe([] { tecla(Qt::Key_Tab); }), QString());
    QCOMPARE(janela.EditSecp->text(), QStringLiteral("12"));
    QCOMPARE(janela.EditSecpDes->text(), QStringLiteral("FRUTAS"));
}

void TstFalhas::servidorCaiComAJanelaAberta() {
    TFormPrincipal& janela = abreJanela(argumentos());
    janela.EditDepp->setFocus(Qt::TabFocusReason);
    digita("5");
    QCOMPARE(caixaDe([] { tecla(Qt::Key_Tab); }), QString());
    QCOMPARE(janela.EditDeppDes->text(), QStringLiteral("HORTIFRÚTI"));

    QString saida;
    QVERIFY2(cluster({"kill", fCluster}, &saida), qPrintable(saida));

    // Leaving a changed code: the error box, the code emptied.
    QVERIFY(janela.EditSecp->hasFocus());
    digita("12");
    const QString caixa = caixaDe([] { tecla(Qt::Key_Tab); });
    QVERIFY2(caixa.startsWith(QStringLiteral("Erro na abertura da tabela")), qPrintable(caixa));
    QVERIFY2(caixa.contains(QStringLiteral("select secpdes from secp")), qPrintable(caixa));
    QCOMPARE(janela.EditSecp->text(), QString());
    QCOMPARE(janela.EditSecpDes->text(), QString());
    QCOMPARE(janela.EditDeppDes->text(), QStringLiteral("HORTIFRÚTI"));

    // Still usable: the next field takes a code, and printing launches the viewer with it.
    QVERIFY(janela.EditCat->hasFocus());
    digita("40");
    QCOMPARE(janela.EditCat->text(), QStringLiteral("40"));
    janela.BitBtn1->click();
    const QList<QStringList> runs = execucoes(1);
    QCOMPARE(runs.size(), 1);
    QVERIFY2(runs.first().contains("P_CAT=40") && runs.first().contains("P_SECP=0"),
             qPrintable(runs.first().join(' ')));

    // Every later query fails the same way, the search button included, and leaves nothing open.
    const QString deNovo = caixaDe([] { tecla(Qt::Key_Tab); });
    QVERIFY2(deNovo.startsWith(QStringLiteral("Erro na abertura da tabela")), qPrintable(deNovo));
    QCOMPARE(janela.EditCat->text(), QString());
    const QString daBusca = caixaDe([&] { janela.bbScat->click(); });
    QVERIFY2(daBusca.startsWith(QStringLiteral("Erro na abertura da tabela")), qPrintable(daBusca));
    QVERIFY(!janela.estadoLookups().BotaoAtivo);
    QVERIFY(FormL == nullptr);
    QVERIFY(janela.isVisible());

    // The server comes back: the next lookup connects again by itself and works.
    QVERIFY2(cluster({"restart", fCluster}, &saida), qPrintable(saida));
    janela.EditFam->setFocus(Qt::TabFocusReason);
    digita("1");
    QCOMPARE(caixaDe([] { tecla(Qt::Key_Tab); }), QString());
    QCOMPARE(janela.EditFamDes->text(), QStringLiteral("ALIMENTOS"));
    QVERIFY(DM->FDConnection1.connected());
}

// A server restart is noticed only by the next query, which fails on the dead connection: it is
// run again on a new one, so the user never sees the restart.
void TstFalhas::servidorReiniciadoNaoAparece() {
    abreJanela(argumentos());
    db::Connection& conexao = DM->FDConnection1;
    QVERIFY(conexao.connected());
    QString saida;
    QVERIFY2(cluster({"stop", fCluster}, &saida), qPrintable(saida));
    QVERIFY2(cluster({"restart", fCluster}, &saida), qPrintable(saida));
    db::Query q(&conexao);
    q.setSql(QStringLiteral("select deppdes from depp where deppcod = :0"));
    q.setParam(0, db::Value::fromInt(5));
    q.open();
    QCOMPARE(q.value(0).text(), QStringLiteral("HORTIFRÚTI"));
}

void TstFalhas::servidorCaiComBuscaAberta_data() {
    QTest::addColumn<bool>("multipla");
    QTest::addColumn<QString>("busca");
    QTest::addColumn<QString>("achada"); // the description the search finds
    QTest::newRow("search window") << false << "HORT"
                                   << "HORTIFRÚTI";
    QTest::newRow("multi-select window") << true << "INDU"
                                         << "INDUSTRIAL";
}

// The server dies while the user types in a search window: every key that needs the database
// shows the error, the window keeps taking keys and closes with Esc, the filter window goes on,
// and once the server is back a new search window finds rows again.
void TstFalhas::servidorCaiComBuscaAberta() {
    QFETCH(bool, multipla);
    QFETCH(QString, busca);
    QFETCH(QString, achada);
    TFormPrincipal& janela = abreJanela(argumentos());
    testsupport::JanelaLookups lookups;
    if (multipla)
        lookups.show();

    // Opens the window (the department button, or the multi-select field's), runs `naJanela` in
    // it and makes sure it is gone afterwards, whatever failed inside.
    auto naBusca = [&](const std::function<void(TFormL&)>& naJanela) {
        bool rodou = false;
        testsupport::whenModal(
            [&](QWidget* m) {
                auto* busca = qobject_cast<TFormL*>(m);
                if (busca == nullptr || (qobject_cast<TFormLAvanc*>(m) != nullptr) != multipla) {
                    m->close();
                    return;
                }
                busca->DBGridB->setSelectedIndex(multipla ? 2 : 1); // the description column
                naJanela(*busca);
                if (busca->isVisible()) {
                    qWarning("the search window was still open");
                    busca->reject();
                }
            },
            &rodou, 30000);
        if (multipla)
            lookups.app.controlador->selecionar(lookups.app.botao);
        else
            janela.bbDepp->click();
        return rodou;
    };

    const auto erroDoBanco = [](const QString& caixa) {
        return caixa.startsWith(QStringLiteral("Erro na abertura da tabela"));
    };
    bool fechou = false;
    QVERIFY(naBusca([&](TFormL& busca) {
        DataGrid* const grade = busca.DBGridB;
        QCOMPARE(caixaSobre(&busca, [&] { digita(grade, "A"); }), QString());
        QVERIFY(busca.QueryLoc->rowCount() > 0);

        QVERIFY(derrubaServidor());
        for (const QString& tecla : {QStringLiteral("L"), QStringLiteral("I"), QStringLiteral("\b")}) {
            // The first key meets the dead connection, the next ones the refused new one.
            const QString caixa = caixaSobre(&busca, [&] { digita(grade, tecla); });
            QVERIFY2(caixa.contains(QStringLiteral("connection"), Qt::CaseInsensitive), qPrintable(caixa));
            QVERIFY(busca.isVisible());
        }
        QCOMPARE(busca.painelStatus(1)->text(), QStringLiteral("AL"));
        QTest::keyClick(grade, Qt::Key_Down); // nothing to move over, nothing to fail
        QCOMPARE(caixaSobre(&busca, [&] { digita(grade, "\x1b"); }), QString());
        fechou = !busca.isVisible();
    }));
    QVERIFY(fechou);
    QCOMPARE(FormL, nullptr);
    QCOMPARE(FormLAvanc, nullptr);
    QVERIFY(!janela.estadoLookups().BotaoAtivo);
    QVERIFY(!lookups.estado.BotaoAtivo);
    if (multipla)
        QCOMPARE(lookups.app.codigo->text(), QString());

    // The filter window: a code left reports the error, the next field takes keys, printing works.
    QApplication::setActiveWindow(&janela);
    QVERIFY(QTest::qWaitForWindowActive(&janela));
    janela.EditSecp->setFocus(Qt::TabFocusReason);
    digita("12");
    const QString caixa = caixaDe([] { tecla(Qt::Key_Tab); });
    QVERIFY2(erroDoBanco(caixa), qPrintable(caixa));
    QVERIFY(janela.EditCat->hasFocus());
    digita("40");
    janela.BitBtn1->click();
    const QList<QStringList> runs = execucoes(1);
    QCOMPARE(runs.size(), 1);
    QVERIFY2(runs.first().contains("P_CAT=40"), qPrintable(runs.first().join(' ')));

    // The server is back: a new search window finds rows as the user types.
    QString saida;
    QVERIFY2(cluster({"restart", fCluster}, &saida), qPrintable(saida));
    fServidorCaido = false;
    int linhas = -1;
    QVERIFY(naBusca([&](TFormL& janelaDeBusca) {
        QCOMPARE(caixaSobre(&janelaDeBusca, [&] { digita(janelaDeBusca.DBGridB, busca); }), QString());
        linhas = janelaDeBusca.QueryLoc->rowCount();
        QCOMPARE(janelaDeBusca.QueryLoc->value(multipla ? 2 : 1).text(), achada);
        digita(janelaDeBusca.DBGridB, "\x1b");
    }));
    QCOMPARE(linhas, 1);
}

QTEST_MAIN(TstFalhas)
#include "tst_falhas.moc"
