// Benchmarks: the program's own paths (lookup field, search window, start-up, memory) against the
// least the same job needs written straight on libpq and plain Qt widgets, measured in one run.
// Run through scripts/bench.sh, which builds, starts a scaled database and sets PG* for it.
//
//   zvbench [--reps-scale X]   all figures (X scales the repetition counts, default 1)
//   zvbench --only 1,2,2b,2c,3,4,5  some of them
//   zvbench --child search     (used by figure 5) the filter window as main.cpp builds it plus one
//                              search window; it paints, prints "VmHWM <kB>" and quits
// The baseline of figures 4 and 5 is zvbench_bare (bare_window.cpp).
#include "LibpqDireto.h"
#include "app/Application.h"
#include "app/FormPrincipal.h"
#include "common/ErrorReport.h"
#include "db/DM.h"
#include "db/Placeholders.h"
#include "db/Query.h"
#include "lookup/BuscaLookup.h"
#include "lookup/CriadorLookup.h"
#include "search/FormL.h"
#include "widgets/DataGrid.h"
#include "widgets/EventButton.h"
#include "widgets/EventEdit.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <libpq-fe.h>
#include <memory>
#include <stdexcept>
#include <vector>

#if !defined(ZV_PROGRAM_PATH) || !defined(ZV_BARE_PATH)
#error "ZV_PROGRAM_PATH and ZV_BARE_PATH must name the built program and the bare window"
#endif

namespace {

using Clock = std::chrono::steady_clock;

double msDesde(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

double mediana(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

[[noreturn]] void falha(const QString& o_que) {
    std::fprintf(stderr, "zvbench: %s\n", qPrintable(o_que));
    std::fflush(stderr);
    std::_Exit(1);
}

// ---------------------------------------------------------------------------------------------
// The database, as scripts/bench.sh describes it in PG*.

struct DadosDoBanco {
    QString host = qEnvironmentVariable("PGHOST");
    QString port = qEnvironmentVariable("PGPORT");
    QString user = qEnvironmentVariable("PGUSER");
    QString password = qEnvironmentVariable("PGPASSWORD");
    QString dbname = qEnvironmentVariable("PGDATABASE");

    // The program's command line: server port user password database company employee login.
    QStringList argumentos() const {
        return {QStringLiteral(ZV_PROGRAM_PATH),
                host,
                port,
                user,
                password,
                dbname,
                QStringLiteral("1"),
                QStringLiteral("1"),
                QStringLiteral("bench")};
    }
};

using bench::Conexao;
using bench::Resultado;

Conexao conectaDireto(const DadosDoBanco& b) {
    Conexao c = bench::conectaDireto(b.host.toUtf8(), b.port.toUtf8(), b.user.toUtf8(), b.password.toUtf8(),
                                     b.dbname.toUtf8(), "zvbench");
    if (!c || PQstatus(c.get()) != CONNECTION_OK)
        falha(QStringLiteral("libpq connection failed: %1")
                  .arg(c ? QString::fromUtf8(PQerrorMessage(c.get())) : QString()));
    return c;
}

Resultado executa(PGconn* c, const QByteArray& sql, const QByteArray& parametro) {
    const char* valores[] = {parametro.constData()};
    Resultado r(PQexecParams(c, sql.constData(), 1, nullptr, valores, nullptr, nullptr, 0));
    if (!r || PQresultStatus(r.get()) != PGRES_TUPLES_OK)
        falha(QStringLiteral("libpq query failed: %1\n%2")
                  .arg(QString::fromUtf8(PQerrorMessage(c)), QString::fromUtf8(sql)));
    return r;
}

// The same statement the way a read-only client must send it through a pooler: BEGIN READ ONLY,
// the statement and COMMIT in one pipeline, one round trip; the statement's result.
Resultado executaSoLeitura(PGconn* c, const QByteArray& sql, const QByteArray& parametro) {
    const char* valores[] = {parametro.constData()};
    if (PQenterPipelineMode(c) != 1 ||
        PQsendQueryParams(c, "BEGIN READ ONLY", 0, nullptr, nullptr, nullptr, nullptr, 0) != 1 ||
        PQsendQueryParams(c, sql.constData(), 1, nullptr, valores, nullptr, nullptr, 0) != 1 ||
        PQsendQueryParams(c, "COMMIT", 0, nullptr, nullptr, nullptr, nullptr, 0) != 1 ||
        PQpipelineSync(c) != 1)
        falha(QStringLiteral("libpq pipeline failed: %1").arg(QString::fromUtf8(PQerrorMessage(c))));
    Resultado resposta;
    for (int etapa = 0; etapa < 3;) {
        Resultado r(PQgetResult(c));
        if (!r) {
            ++etapa;
            continue;
        }
        const ExecStatusType status = PQresultStatus(r.get());
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
            falha(QStringLiteral("libpq query failed: %1\n%2")
                      .arg(QString::fromUtf8(PQresultErrorMessage(r.get())), QString::fromUtf8(sql)));
        if (etapa == 1)
            resposta = std::move(r);
    }
    Resultado sincronia(PQgetResult(c));
    if (!sincronia || PQresultStatus(sincronia.get()) != PGRES_PIPELINE_SYNC || PQexitPipelineMode(c) != 1)
        falha(QStringLiteral("libpq pipeline did not end: %1").arg(QString::fromUtf8(PQerrorMessage(c))));
    return resposta;
}

// A plain model holding the rows of a result, titled with the field names.
std::unique_ptr<QStandardItemModel> modeloCom(const PGresult* r) {
    const int linhas = PQntuples(r);
    const int colunas = PQnfields(r);
    auto m = std::make_unique<QStandardItemModel>(linhas, colunas);
    QStringList titulos;
    for (int c = 0; c < colunas; ++c)
        titulos << QString::fromUtf8(PQfname(r, c));
    m->setHorizontalHeaderLabels(titulos);
    for (int l = 0; l < linhas; ++l)
        for (int c = 0; c < colunas; ++c)
            m->setItem(l, c, new QStandardItem(QString::fromUtf8(PQgetvalue(r, l, c), PQgetlength(r, l, c))));
    return m;
}

// The SQL text a query sends: its lines with :n turned into $n+1.
QByteArray textoEnviado(const db::Query& q) {
    return db::translatePlaceholders(q.sqlLines().join(u'\n')).text.toUtf8();
}

void imprimePico() {
    std::printf("VmHWM %ld\n", bench::picoDeMemoria());
    std::fflush(stdout);
}

// ---------------------------------------------------------------------------------------------
// Figures

struct Figura {
    QString nome;
    double nosso = 0;
    double base = 0;
    QString unidade;
    double limite = 0;
    int repeticoes = 0;
    double razao() const { return base > 0 ? nosso / base : 0; }
};

std::vector<Figura> g_figuras;
double g_escala = 1;
QStringList g_so; // --only: the figures to run (all when empty)

bool pedida(const char* figura) {
    return g_so.isEmpty() || g_so.contains(QString::fromLatin1(figura));
}

int repeticoes(int n) {
    return std::max(3, static_cast<int>(n * g_escala));
}

// Runs warm-ups, then `n` rounds of both sides, alternating which goes first to cancel drift.
void mede(const QString& nome, int aquecimento, int n, const std::function<double(int)>& nosso,
          const std::function<double(int)>& base, const QString& unidade, double limite) {
    for (int i = 0; i < aquecimento; ++i) {
        nosso(i);
        base(i);
    }
    std::vector<double> a, b;
    for (int i = 0; i < n; ++i) {
        if (i % 2 == 0) {
            a.push_back(nosso(aquecimento + i));
            b.push_back(base(aquecimento + i));
        } else {
            b.push_back(base(aquecimento + i));
            a.push_back(nosso(aquecimento + i));
        }
    }
    Figura f{nome, mediana(a), mediana(b), unidade, limite, n};
    std::printf("  %-62s ours %10.3f  base %10.3f %s  ratio %.2f\n", qPrintable(nome), f.nosso, f.base,
                qPrintable(unidade), f.razao());
    std::fflush(stdout);
    g_figuras.push_back(f);
}

// Flushes what the last step left queued (updates, deferred deletes, delayed layouts) outside the
// timed region, so that neither side pays for the other's leftovers.
void assenta() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// A plain view showing as many rows in the same space as the search grid: same font and row
// height, no row numbers.
void mesmasLinhas(QTableView* vista, const DataGrid& grade) {
    vista->setFont(grade.font());
    vista->verticalHeader()->setDefaultSectionSize(grade.verticalHeader()->defaultSectionSize());
    vista->verticalHeader()->hide();
}

// Runs `acao` inside the product search window that the button opens, then closes the window.
void dentroDaBusca(TFormPrincipal& form, const std::function<void(TFormL&)>& acao) {
    bool rodou = false;
    auto* espera = new QTimer(qApp);
    espera->setInterval(0);
    QObject::connect(espera, &QTimer::timeout, espera, [&] {
        auto* janela = qobject_cast<TFormL*>(QApplication::activeModalWidget());
        if (!janela || !janela->isVisible())
            return;
        espera->stop();
        espera->deleteLater();
        rodou = true;
        try {
            acao(*janela);
        } catch (const std::exception& e) {
            falha(QString::fromUtf8(e.what()));
        }
        janela->close();
    });
    espera->start();
    form.bbPro->click();
    assenta();
    if (!rodou)
        falha(QStringLiteral("the product search window did not open"));
}

// Typed-code validation of the product field, against the same statement in a read-only
// transaction of its own on libpq (executaSoLeitura) and a setText.
void figuraValidacao(TFormPrincipal& form, PGconn* direto) {
    // Codes spread over the benchmark sizes; those the loaded database lacks are left out.
    const QStringList candidatos = {
        QStringLiteral("2"),      QStringLiteral("333"),    QStringLiteral("1234"),
        QStringLiteral("4994"),   QStringLiteral("10001"),  QStringLiteral("23456"),
        QStringLiteral("57123"),  QStringLiteral("99999"),  QStringLiteral("131313"),
        QStringLiteral("150000"), QStringLiteral("177777"), QStringLiteral("209999"),
        QStringLiteral("345678"), QStringLiteral("612345"), QStringLiteral("1004999")};
    widgets::EventEdit* codigo = form.EditPro;
    widgets::EventEdit* descricao = form.EditProDes;
    const QString sql = form.ELookUP(codigo, evDescricao);
    const QByteArray enviado = db::translatePlaceholders(sql).text.toUtf8();

    QWidget janela;
    auto* simples = new QLineEdit(&janela);
    simples->setFont(descricao->font()); // lays the text out as the description edit does
    simples->setGeometry(descricao->geometry());
    janela.resize(800, 200);
    janela.show();
    QStringList codigos;
    QStringList esperado;
    for (const QString& c : candidatos) {
        const Resultado r = executa(direto, enviado, c.toUtf8());
        if (PQntuples(r.get()) == 0)
            continue;
        codigos << c;
        esperado << QString::fromUtf8(PQgetvalue(r.get(), 0, 0));
    }
    if (codigos.size() < 3)
        falha(QStringLiteral("too few of the products %1 exist").arg(candidatos.join(u',')));

    const auto nosso = [&](int i) {
        const int k = i % codigos.size();
        codigo->setText(codigos[k]); // the typing; it empties the description
        assenta();
        const auto t0 = Clock::now();
        codigo->OnExit(codigo);
        const double t = msDesde(t0);
        if (descricao->text() != esperado[k])
            falha(QStringLiteral("validation of %1 wrote '%2'").arg(codigos[k], descricao->text()));
        return t;
    };
    const auto base = [&](int i) {
        const int k = i % codigos.size();
        const QByteArray valor = codigos[k].toUtf8();
        simples->clear();
        assenta();
        const auto t0 = Clock::now();
        const Resultado r = executaSoLeitura(direto, enviado, valor);
        simples->setText(QString::fromUtf8(PQgetvalue(r.get(), 0, 0)));
        return msDesde(t0);
    };
    mede(QStringLiteral("1. typed-code validation (product)"), 200, repeticoes(4000), nosso, base,
         QStringLiteral("ms"), 1.10);
    codigo->clear();
}

// The baseline's window: a plain QTableView the size of the search grid, with its row height,
// showing a QStandardItemModel filled from a libpq result.
class VistaSimples {
public:
    explicit VistaSimples(const DataGrid& grade) : m_grade(grade) {
        auto* disposicao = new QVBoxLayout(&m_plano);
        disposicao->setContentsMargins(0, 0, 0, 0);
        m_vista = new QTableView(&m_plano);
        disposicao->addWidget(m_vista);
        mesmasLinhas(m_vista, grade);
        m_plano.resize(grade.size());
        m_plano.show();
    }
    ~VistaSimples() { m_vista->setModel(nullptr); }
    VistaSimples(const VistaSimples&) = delete;
    VistaSimples& operator=(const VistaSimples&) = delete;

    void mostra(const PGresult* r) {
        auto novo = modeloCom(r);
        m_vista->setModel(novo.get());
        m_modelo = std::move(novo);
        for (int c = 0; c < m_grade.columnCount(); ++c)
            m_vista->setColumnWidth(c, m_grade.columnWidth(c));
        m_vista->repaint();
    }

private:
    const DataGrid& m_grade;
    QWidget m_plano;
    QTableView* m_vista;
    std::unique_ptr<QStandardItemModel> m_modelo;
};

// A key typed into the search grid; QChar(8) is Backspace.
void teclaNaGrade(DataGrid* grade, QChar c) {
    const int codigoTecla = c.unicode() == 8 ? int(Qt::Key_Backspace) : int(c.toUpper().unicode());
    QKeyEvent e(QEvent::KeyPress, codigoTecla, Qt::NoModifier, QString(c));
    QApplication::sendEvent(grade, &e);
}

// Keystrokes in the search window: each types or erases one character of `teclas`.
void figuraDigitacao(TFormPrincipal& form, PGconn* direto, const QString& nome, int coluna,
                     const QString& teclas, int n) {
    dentroDaBusca(form, [&](TFormL& janela) {
        DataGrid* grade = janela.DBGridB;
        db::Query& q = *janela.QueryLoc;
        grade->setSelectedIndex(coluna);

        // Each step: a character of `teclas`, then as many Backspaces; the cycle ends where it began.
        std::vector<QChar> passos;
        for (const QChar c : teclas)
            passos.push_back(c);
        for (qsizetype i = 0; i < teclas.size(); ++i)
            passos.push_back(QChar(8));

        VistaSimples vista(*grade);
        const auto tecla = [&](QChar c) { teclaNaGrade(grade, c); };

        // One cycle to learn what each step sends (the first one also rewrites the SQL for the column).
        std::vector<std::pair<QByteArray, QByteArray>> enviados;
        for (const QChar c : passos) {
            tecla(c);
            enviados.emplace_back(textoEnviado(q), q.param(0).toString().toUtf8());
        }
        assenta();

        const auto nosso = [&](int i) {
            const size_t k = static_cast<size_t>(i) % passos.size();
            const auto t0 = Clock::now();
            tecla(passos[k]);
            grade->repaint();
            const double t = msDesde(t0);
            if (textoEnviado(q) != enviados[k].first || q.param(0).toString().toUtf8() != enviados[k].second)
                falha(QStringLiteral("keystroke %1 sent another query").arg(k));
            assenta();
            return t;
        };
        const auto base = [&](int i) {
            const size_t k = static_cast<size_t>(i) % passos.size();
            const auto t0 = Clock::now();
            const Resultado r = executa(direto, enviados[k].first, enviados[k].second);
            vista.mostra(r.get());
            const double t = msDesde(t0);
            assenta();
            return t;
        };
        mede(nome, static_cast<int>(passos.size()), n, nosso, base, QStringLiteral("ms"), 1.10);
    });
}

// A fast typist: the keys of `teclas` typed in a row, each one re-running the query, timed from the
// first key to the repaint after the last; the baseline runs the same queries on libpq, each with
// a repaint of a plain view. Untimed Backspaces bring the window back between rounds.
void figuraRajada(TFormPrincipal& form, PGconn* direto, const QString& nome, int coluna,
                  const QString& teclas, int n) {
    dentroDaBusca(form, [&](TFormL& janela) {
        DataGrid* grade = janela.DBGridB;
        db::Query& q = *janela.QueryLoc;
        grade->setSelectedIndex(coluna);
        VistaSimples vista(*grade);
        const auto tecla = [&](QChar c) { teclaNaGrade(grade, c); };
        const auto apaga = [&] {
            for (qsizetype i = 0; i < teclas.size(); ++i)
                tecla(QChar(8));
            assenta();
        };

        // What each key of the burst sends.
        std::vector<std::pair<QByteArray, QByteArray>> enviados;
        for (const QChar c : teclas) {
            tecla(c);
            enviados.emplace_back(textoEnviado(q), q.param(0).toString().toUtf8());
        }
        const int linhasNoFim = q.rowCount();
        apaga();

        const auto nosso = [&](int) {
            const auto t0 = Clock::now();
            for (const QChar c : teclas) {
                tecla(c);
                grade->repaint();
            }
            const double t = msDesde(t0);
            if (textoEnviado(q) != enviados.back().first || q.rowCount() != linhasNoFim)
                falha(QStringLiteral("the burst ended on another query"));
            apaga();
            return t;
        };
        const auto base = [&](int) {
            const auto t0 = Clock::now();
            for (const auto& [sql, valor] : enviados) {
                const Resultado r = executa(direto, sql, valor);
                vista.mostra(r.get());
            }
            const double t = msDesde(t0);
            assenta();
            return t;
        };
        mede(nome, 1, n, nosso, base, QStringLiteral("ms"), 1.10);
    });
}

// Opening the product search window from its button, closed again by a zero timer.
void figuraAbertura(TFormPrincipal& form, PGconn* direto) {
    // The search window's grid, for the baseline's font and row height.
    const TFormL referencia;
    const DataGrid* grade = referencia.DBGridB;
    const QString listagem = PreparaListagem(form.ELookUP(form.EditPro, evListagem), true);
    const QByteArray enviado = db::translatePlaceholders(listagem).text.toUtf8();

    // Closes the window as soon as its modal loop runs, after painting it once.
    QPointer<QWidget> aberta;
    std::pair<QByteArray, QByteArray> mostrada; // what the search window's rows came from
    const auto fechaAoMostrar = [&aberta, &mostrada](const std::function<bool(QWidget*)>& esperada) {
        QTimer::singleShot(0, qApp, [&aberta, &mostrada, esperada] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !esperada(modal))
                falha(QStringLiteral("not the expected window: %1")
                          .arg(modal ? QString::fromLatin1(modal->metaObject()->className()) : QString()));
            if (const auto* janela = qobject_cast<TFormL*>(modal))
                mostrada = {textoEnviado(*janela->QueryLoc), janela->QueryLoc->param(0).toString().toUtf8()};
            aberta = modal;
            modal->repaint();
            modal->close();
        });
    };
    const auto nosso = [&](int) {
        assenta();
        const auto t0 = Clock::now();
        fechaAoMostrar([](QWidget* w) { return qobject_cast<TFormL*>(w) != nullptr; });
        form.bbPro->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const double t = msDesde(t0);
        if (aberta)
            falha(QStringLiteral("the search window was not deleted"));
        return t;
    };
    const auto base = [&](int) {
        assenta();
        const auto t0 = Clock::now();
        {
            const Resultado r = executa(direto, enviado, "%");
            const auto modelo = modeloCom(r.get());
            QDialog dialogo;
            auto* disposicao = new QVBoxLayout(&dialogo);
            auto* vista = new QTableView(&dialogo);
            disposicao->addWidget(vista);
            mesmasLinhas(vista, *grade);
            vista->setModel(modelo.get());
            dialogo.resize(674, 449);
            fechaAoMostrar([&dialogo](QWidget* w) { return w == &dialogo; });
            dialogo.exec();
            vista->setModel(nullptr);
        }
        return msDesde(t0);
    };
    mede(QStringLiteral("3. opening the search window (product)"), 5, repeticoes(60), nosso, base,
         QStringLiteral("ms"), 1.10);

    // The window shows the rows of a second query (the remembered sort column, applied on show);
    // how the two compare on their own.
    std::vector<double> capada, exibida;
    for (int i = 0; i < 21; ++i) {
        auto t0 = Clock::now();
        executa(direto, enviado, "%");
        capada.push_back(msDesde(t0));
        t0 = Clock::now();
        executa(direto, mostrada.first, mostrada.second);
        exibida.push_back(msDesde(t0));
    }
    std::printf("     raw libpq: capped listing %.3f ms, the query whose rows the window shows %.3f ms\n",
                mediana(capada), mediana(exibida));
}

// The plain widget class of each control of the filter window, as "QLabel=14,QLineEdit=22,...".
QString widgetsDe(const QWidget& janela) {
    QMap<QString, int> contagem;
    for (const QWidget* w : janela.findChildren<QWidget*>()) {
        const QMetaObject* m = w->metaObject();
        while (m && !QByteArray(m->className()).startsWith('Q'))
            m = m->superClass();
        ++contagem[QString::fromLatin1(m ? m->className() : "QWidget")];
    }
    QStringList partes;
    for (auto it = contagem.cbegin(); it != contagem.cend(); ++it)
        partes << QStringLiteral("%1=%2").arg(it.key()).arg(it.value());
    return partes.join(u',');
}

struct Processo {
    double ms = 0;
    long picoKb = -1;
};

Processo roda(const QString& programa, const QStringList& argumentos, bool saiAoMostrar) {
    QProcess p;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    if (saiAoMostrar)
        ambiente.insert(QStringLiteral("ZV_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    p.setProcessEnvironment(ambiente);
    p.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer relogio;
    relogio.start();
    p.start(programa, argumentos);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        falha(QStringLiteral("%1 %2 failed: %3")
                  .arg(programa, argumentos.join(u' '), QString::fromUtf8(p.readAllStandardError())));
    Processo r;
    r.ms = relogio.nsecsElapsed() / 1e6;
    for (const QByteArray& linha : p.readAllStandardOutput().split('\n'))
        if (linha.startsWith("VmHWM "))
            r.picoKb = linha.mid(6).toLong();
    return r;
}

// Start-up: the program itself, launched with ZV_QUIT_WHEN_SHOWN, against the bare window.
void figuraPartida(const DadosDoBanco& banco, const QString& especificacao) {
    const QStringList argsNosso = banco.argumentos().mid(1);
    mede(
        QStringLiteral("4. start-up to the shown filter window"), 2, repeticoes(30),
        [&](int) { return roda(QStringLiteral(ZV_PROGRAM_PATH), argsNosso, true).ms; },
        [&](int) { return roda(QStringLiteral(ZV_BARE_PATH), {especificacao}, false).ms; },
        QStringLiteral("ms"), 1.30);
}

// Peak memory: main.cpp's start-up plus a search window (a child of this program) against the bare window.
void figuraMemoria(const QString& especificacao) {
    const auto pico = [](const QString& programa, const QStringList& argumentos) {
        const Processo p = roda(programa, argumentos, false);
        if (p.picoKb <= 0)
            falha(QStringLiteral("%1 reported no peak memory").arg(programa));
        return p.picoKb / 1024.0;
    };
    mede(
        QStringLiteral("5. peak memory, filter + search window open"), 1, repeticoes(8),
        [&](int) {
            return pico(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--child"), QStringLiteral("search")});
        },
        [&](int) { return pico(QStringLiteral(ZV_BARE_PATH), {especificacao}); }, QStringLiteral("MB"), 1.30);
}

// ---------------------------------------------------------------------------------------------
// Children

// main.cpp's start-up, then the product search window opened from its button.
int filhoBusca(int argc, char** argv) {
    Application app(argc, argv);
    const auto dataModule = std::make_unique<TDM>();
    DM = dataModule.get();
    TFormPrincipal form(DadosDoBanco().argumentos());
    RunGuarded([&] { form.FormCreate(); });
    form.show();
    bool mediu = false;
    QTimer::singleShot(0, &form, [&] {
        form.repaint();
        QTimer::singleShot(0, qApp, [&] {
            if (auto* janela = qobject_cast<TFormL*>(QApplication::activeModalWidget())) {
                janela->repaint();
                imprimePico();
                mediu = true;
                janela->close();
            }
        });
        form.bbPro->click();
        QCoreApplication::quit();
    });
    const int rc = app.exec();
    DM = nullptr;
    return mediu ? rc : 1;
}

// The offscreen platform warns about every fixed-size window; that says nothing about the figures.
void semAvisosDaPlataforma(QtMsgType tipo, const QMessageLogContext& contexto, const QString& mensagem) {
    if (!mensagem.contains(QStringLiteral("propagateSizeHints")))
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(tipo, contexto, mensagem)));
}

} // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(semAvisosDaPlataforma);
    if (argc >= 3 && qstrcmp(argv[1], "--child") == 0) {
        if (qstrcmp(argv[2], "search") == 0)
            return filhoBusca(argc, argv);
        return 2;
    }
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], "--reps-scale") == 0)
            g_escala = QByteArray(argv[i + 1]).toDouble();
        else if (qstrcmp(argv[i], "--only") == 0)
            g_so = QString::fromLatin1(argv[i + 1]).split(u',');
    if (g_escala <= 0)
        g_escala = 1;

    Application app(argc, argv);
    const DadosDoBanco banco;
    if (banco.port.isEmpty())
        falha(QStringLiteral("PGHOST, PGPORT, PGUSER, PGPASSWORD and PGDATABASE must describe the database"));
    const auto dataModule = std::make_unique<TDM>();
    DM = dataModule.get();
    TFormPrincipal form(banco.argumentos());
    try {
        form.FormCreate();
    } catch (const std::exception& e) {
        falha(QStringLiteral("start-up failed: %1").arg(QString::fromUtf8(e.what())));
    }
    form.show();
    assenta();
    const Conexao direto = conectaDireto(banco);
    const QString especificacao = widgetsDe(form);

    std::printf(
        "zvbench: medians; ours = the program's code, base = libpq and plain Qt doing the same job\n");
    try {
        if (pedida("1"))
            figuraValidacao(form, direto.get());
        if (pedida("2"))
            figuraDigitacao(form, direto.get(),
                            QStringLiteral("2. keystroke in the search window (description)"), 1,
                            QStringLiteral("ARROZ"), repeticoes(80));
        if (pedida("2b"))
            figuraDigitacao(form, direto.get(), QStringLiteral("2b. keystroke in the search window (code)"),
                            0, QStringLiteral("1500"), repeticoes(200));
        if (pedida("2c"))
            figuraRajada(form, direto.get(),
                         QStringLiteral("2c. burst of 8 keys in the search window (description)"), 1,
                         QStringLiteral("ARROZ IN"), repeticoes(15));
        if (pedida("3"))
            figuraAbertura(form, direto.get());
        if (pedida("4"))
            figuraPartida(banco, especificacao);
        if (pedida("5"))
            figuraMemoria(especificacao);
    } catch (const std::exception& e) {
        falha(QString::fromUtf8(e.what()));
    }

    std::printf(
        "\n| Figure | Ours | Baseline | Ratio | Limit | Repetitions |\n|---|---:|---:|---:|---:|---:|\n");
    bool dentro = true;
    for (const Figura& f : g_figuras) {
        std::printf("| %s | %.3f %s | %.3f %s | %.2f | %.2f | %d |\n", qPrintable(f.nome), f.nosso,
                    qPrintable(f.unidade), f.base, qPrintable(f.unidade), f.razao(), f.limite, f.repeticoes);
        dentro = dentro && f.razao() <= f.limite;
    }
    std::printf("\nwidgets of the bare window: %s\n", qPrintable(especificacao));
    std::printf("%s\n", dentro ? "all ratios within their limits" : "some ratio is over its limit");
    DM = nullptr;
    return 0;
}
