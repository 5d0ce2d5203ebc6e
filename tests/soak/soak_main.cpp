// A working day in one process: the filter window and a multi-select field driven through code
// validations, search windows (typing, title clicks, a choice or Esc), multi-select windows and
// prints (the stand-in java), offscreen against the test database (ZV_TEST_PG*). Resident memory
// and open file descriptors are sampled every so many steps; after the warm-up, memory may grow
// by at most 2 MB and descriptors not at all.
//
//   zvsoak            10,000 validations, 1,000 search windows, 300 multi-select windows, 200 prints
//   zvsoak --short    a tenth of each (CI)
#include "app/Application.h"
#include "app/FormPrincipal.h"
#include "common/ErrorReport.h"
#include "db/DM.h"
#include "db/Query.h"
#include "lookup/BuscaLookup.h"
#include "search/FormL.h"
#include "search/FormLAvanc.h"
#include "widgets/DataGrid.h"
#include "widgets/EventButton.h"
#include "widgets/EventEdit.h"

#include "Digitacao.h"
#include "JanelaLookups.h"
#include "JavaSubstituto.h"
#include "TestDb.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define ZV_SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZV_SOAK_ASAN 1
#endif
#endif

namespace {

constexpr long kCrescimentoMaximoKb = 2048;

struct Amostra {
    long passo = 0;
    long rssKb = 0;
    long heapKb = 0; // allocated and not yet freed, as malloc counts it
    int descritores = 0;
};

long rssKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& linha : f.readAll().split('\n'))
        if (linha.startsWith("VmRSS:"))
            return linha.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

long heapKb() {
    return static_cast<long>(mallinfo2().uordblks / 1024);
}

int descritoresAbertos() {
    // The listing itself holds one descriptor while it reads; it is the same one every time.
    return static_cast<int>(
        QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

void assenta() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

[[noreturn]] void aborta(const QString& motivo) {
    std::fprintf(stderr, "zvsoak: %s\nFAIL\n", qPrintable(motivo));
    std::fflush(stderr);
    std::_Exit(1);
}

// The day's steps, each kind spread evenly over the run.
enum class Passo { Validacao, Busca, Multipla, Impressao };

std::vector<Passo> agenda(int validacoes, int buscas, int multiplas, int impressoes) {
    struct Item {
        double posicao;
        Passo passo;
    };
    std::vector<Item> itens;
    const auto espalha = [&itens](int n, Passo p) {
        for (int i = 0; i < n; ++i)
            itens.push_back({(i + 0.5) / n, p});
    };
    espalha(validacoes, Passo::Validacao);
    espalha(buscas, Passo::Busca);
    espalha(multiplas, Passo::Multipla);
    espalha(impressoes, Passo::Impressao);
    std::stable_sort(itens.begin(), itens.end(),
                     [](const Item& a, const Item& b) { return a.posicao < b.posicao; });
    std::vector<Passo> r;
    r.reserve(itens.size());
    for (const Item& i : itens)
        r.push_back(i.passo);
    return r;
}

struct Campo {
    widgets::EventEdit* codigo;
    widgets::EventButton* botao;
    widgets::EventEdit* descricao;
    QStringList codigos; // valid ones, read from the field's own listing
};

// Runs `acao` on the next modal window the step opens; whatever is still open afterwards is closed.
// Counts the windows that were not the expected kind (an error box, say).
class Modais {
public:
    int inesperadas = 0;
    QString ultimaInesperada;

    void naProxima(std::function<void(QWidget*)> acao) {
        m_acao = std::move(acao);
        m_rodou = false;
    }
    bool rodou() const { return m_rodou; }

    void instala() {
        auto* t = new QTimer(qApp);
        t->setInterval(0);
        QObject::connect(t, &QTimer::timeout, t, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            if (auto* caixa = qobject_cast<QMessageBox*>(modal)) {
                ++inesperadas;
                ultimaInesperada = caixa->text();
                caixa->done(QMessageBox::Ok);
                return;
            }
            if (!m_acao) {
                ++inesperadas;
                ultimaInesperada = modal->metaObject()->className();
                modal->close();
                return;
            }
            const auto acao = std::move(m_acao);
            m_acao = nullptr;
            acao(modal);
            m_rodou = true;
            if (modal->isVisible())
                modal->close();
        });
        t->start();
    }

private:
    std::function<void(QWidget*)> m_acao;
    bool m_rodou = false;
};

QStringList codigosDe(const TFormPrincipal& form, QObject* campo) {
    db::Query q(&DM->FDConnection1);
    q.setSql(QStringLiteral("select * from (") + PreparaListagem(form.ELookUP(campo, evListagem), false) +
             QStringLiteral(") as listagem limit 12"));
    q.setParam(0, db::Value::fromText(QStringLiteral("%")));
    q.open();
    QStringList r;
    for (int l = 0; l < q.rowCount(); ++l)
        r << q.value(l, 0).toString().trimmed();
    return r;
}

} // namespace

int main(int argc, char** argv) {
    const bool curto = argc > 1 && qstrcmp(argv[1], "--short") == 0;
    const int fator = curto ? 10 : 1;
    const long intervalo = curto ? 50 : 500; // steps between samples
    const int amostrasDeAquecimento = 2;

    Application app(argc, argv);
    if (!testsupport::testDatabaseConfigured())
        aborta(QStringLiteral("ZV_TEST_PG* not set: run it through scripts/soak.sh"));
    QTemporaryDir tmp(QStringLiteral("/tmp/zvsoak-XXXXXX"));
    if (testsupport::instalaJavaSubstituto(tmp).isEmpty())
        aborta(QStringLiteral("could not install the stand-in java"));
    const QDir saida(tmp.filePath(QStringLiteral("saida")));

    auto dm = std::make_unique<TDM>();
    DM = dm.get();
    const QStringList args{QStringLiteral("zvsoak"),
                           testsupport::env("ZV_TEST_PGHOST"),
                           testsupport::env("ZV_TEST_PGPORT"),
                           testsupport::env("ZV_TEST_PGUSER"),
                           testsupport::env("ZV_TEST_PGPASSWORD"),
                           testsupport::env("ZV_TEST_PGDATABASE"),
                           QStringLiteral("1"),
                           QStringLiteral("1"),
                           QStringLiteral("soak")};
    auto form = std::make_unique<TFormPrincipal>(args);
    try {
        form->FormCreate();
    } catch (const std::exception& e) {
        aborta(QStringLiteral("start-up failed: %1").arg(QString::fromUtf8(e.what())));
    }
    form->show();
    auto lookups = std::make_unique<testsupport::JanelaLookups>();
    lookups->show();
    assenta();

    // Fields without a parent field, so that any of their codes stays valid whatever came before.
    std::vector<Campo> campos{{form->EditPro, form->bbPro, form->EditProDes, {}},
                              {form->EditForn, form->bbForn, form->EditFornDes, {}},
                              {form->EditDepp, form->bbDepp, form->EditDeppDes, {}},
                              {form->EditFam, form->bbFam, form->EditFamDes, {}},
                              {form->EditMarca, form->bbMarca, form->EditMarcaDes, {}}};
    try {
        for (Campo& c : campos) {
            c.codigos = codigosDe(*form, c.codigo);
            if (c.codigos.isEmpty())
                aborta(QStringLiteral("no codes for %1").arg(c.codigo->objectName()));
        }
    } catch (const std::exception& e) {
        aborta(QString::fromUtf8(e.what()));
    }

    Modais modais;
    modais.instala();
    const QStringList buscas{QStringLiteral("A"), QStringLiteral("AR"),  QStringLiteral("CO"),
                             QStringLiteral("1"), QStringLiteral("S A"), QStringLiteral("ZZZ")};

    const std::vector<Passo> dia = agenda(10000 / fator, 1000 / fator, 300 / fator, 200 / fator);
    std::vector<Amostra> amostras;
    int falhasDeValidacao = 0;
    int buscasSemJanela = 0;
    int escolhas = 0;
    int impressoes = 0;
    long nValidacao = 0, nBusca = 0, nMultipla = 0;
    QElapsedTimer relogio;
    relogio.start();
    std::printf("zvsoak: %zu steps (%s), a sample every %ld steps, the first %d are warm-up\n", dia.size(),
                curto ? "short" : "full", intervalo, amostrasDeAquecimento);
    std::printf("%8s %10s %10s %6s %9s\n", "step", "RSS kB", "heap kB", "fds", "seconds");
    for (size_t i = 0; i < dia.size(); ++i) {
        switch (dia[i]) {
        case Passo::Validacao: {
            Campo& c = campos[nValidacao % campos.size()];
            const QString& codigo = c.codigos[(nValidacao / campos.size()) % c.codigos.size()];
            ++nValidacao;
            c.codigo->setText(codigo);
            c.codigo->OnExit(c.codigo);
            if (c.descricao->text().isEmpty())
                ++falhasDeValidacao;
            break;
        }
        case Passo::Busca: {
            Campo& c = campos[nBusca % campos.size()];
            const long n = nBusca++;
            modais.naProxima([&](QWidget* m) {
                auto* janela = qobject_cast<TFormL*>(m);
                if (!janela)
                    return;
                DataGrid* grade = janela->DBGridB;
                if (n % 4 == 1) { // sorts by another column and back
                    janela->DBGridBTitleClick(1);
                    assenta();
                    janela->DBGridBTitleClick(0);
                }
                grade->setSelectedIndex(n % 3 == 0 ? 0 : 1);
                testsupport::digita(grade, buscas[n % buscas.size()]);
                assenta();
                if (n % 2 == 0 && janela->QueryLoc->rowCount() > 0) {
                    testsupport::digita(grade, QStringLiteral("\r"));
                    ++escolhas;
                } else {
                    testsupport::digita(grade, QStringLiteral("\x1b"));
                }
            });
            c.botao->click();
            if (!modais.rodou())
                ++buscasSemJanela;
            break;
        }
        case Passo::Multipla: {
            const long n = nMultipla++;
            modais.naProxima([n](QWidget* m) {
                auto* janela = qobject_cast<TFormLAvanc*>(m);
                if (!janela)
                    return;
                DataGrid* grade = janela->DBGridB;
                if (n % 3 == 2) {
                    grade->setSelectedIndex(2);
                    testsupport::digita(grade, QStringLiteral("O"));
                }
                grade->setSelectedIndex(0);
                for (int r = 0; r < std::min(2 + int(n % 3), janela->QueryLoc->rowCount()); ++r) {
                    janela->QueryLoc->moveTo(r);
                    testsupport::digita(grade, QStringLiteral(" "));
                }
                testsupport::digita(grade, n % 4 == 3 ? QStringLiteral("\x1b") : QStringLiteral("\r"));
            });
            lookups->app.controlador->selecionar(lookups->app.botao);
            if (!modais.rodou())
                ++buscasSemJanela;
            break;
        }
        case Passo::Impressao:
            form->BitBtn1->click();
            ++impressoes;
            break;
        }
        assenta();

        if ((i + 1) % intervalo == 0 || i + 1 == dia.size()) {
            // The stand-in's files are the test's, not the program's: cleared so they do not pile up.
            for (const QString& f : saida.entryList(QDir::Files))
                if (!f.endsWith(QStringLiteral(".tmp"))) // one the stand-in is still writing
                    QFile::remove(saida.filePath(f));
            amostras.push_back({static_cast<long>(i + 1), rssKb(), heapKb(), descritoresAbertos()});
            const Amostra& a = amostras.back();
            std::printf("%8ld %10ld %10ld %6d %9.1f\n", a.passo, a.rssKb, a.heapKb, a.descritores,
                        relogio.elapsed() / 1000.0);
            std::fflush(stdout);
        }
    }
    lookups.reset();
    form.reset();
    DM = nullptr;
    dm.reset();

    bool passou = true;
    const auto falha = [&passou](const QString& o_que) {
        std::printf("  %s\n", qPrintable(o_que));
        passou = false;
    };
    std::printf(
        "validations %ld, search windows %ld (%d choices), multi-select windows %ld, prints %d, in %.1f s\n",
        nValidacao, nBusca, escolhas, nMultipla, impressoes, relogio.elapsed() / 1000.0);
    if (amostras.size() <= static_cast<size_t>(amostrasDeAquecimento))
        aborta(QStringLiteral("too few samples"));
    const Amostra& base = amostras[amostrasDeAquecimento - 1];
    long maiorRss = base.rssKb;
    int maisDescritores = base.descritores;
    for (size_t i = amostrasDeAquecimento; i < amostras.size(); ++i) {
        maiorRss = std::max(maiorRss, amostras[i].rssKb);
        maisDescritores = std::max(maisDescritores, amostras[i].descritores);
    }
    const long crescimento = amostras.back().rssKb - base.rssKb;
    std::printf("after the warm-up (step %ld): RSS %ld kB -> %ld kB at the end (%+ld kB, peak %+ld kB); "
                "heap in use %+ld kB; descriptors %d -> %d (most %d)\n",
                base.passo, base.rssKb, amostras.back().rssKb, crescimento, maiorRss - base.rssKb,
                amostras.back().heapKb - base.heapKb, base.descritores, amostras.back().descritores,
                maisDescritores);
#ifdef ZV_SOAK_ASAN
    std::printf(
        "  (AddressSanitizer build: its quarantine holds freed memory, so the %ld kB limit is not applied)\n",
        kCrescimentoMaximoKb);
#else
    if (crescimento > kCrescimentoMaximoKb)
        falha(QStringLiteral("memory grew by %1 kB").arg(crescimento));
#endif
    if (maisDescritores > base.descritores)
        falha(
            QStringLiteral("open descriptors grew from %1 to %2").arg(base.descritores).arg(maisDescritores));
    if (falhasDeValidacao > 0)
        falha(QStringLiteral("%1 validations wrote no description").arg(falhasDeValidacao));
    if (buscasSemJanela > 0)
        falha(QStringLiteral("%1 search steps opened no window").arg(buscasSemJanela));
    if (modais.inesperadas > 0)
        falha(QStringLiteral("%1 unexpected windows, the last: %2")
                  .arg(modais.inesperadas)
                  .arg(modais.ultimaInesperada));
    std::printf("%s\n", passou ? "PASS" : "FAIL");
    return passou ? 0 : 1;
}
