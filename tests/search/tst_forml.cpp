#include "Digitacao.h"
#include "ModalDriver.h"
#include "TestDb.h"
#include "base/AppError.h"
#include "common/Funcoes.h"
#include "db/Query.h"
#include "search/FormL.h"
#include "widgets/DataGrid.h"
#include "widgets/QueryModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

using db::Value;

using testsupport::digita;

namespace {

const QString kDepp =
    QStringLiteral("select deppcod as Código,deppdes as Descrição from depp where deppdes like :0 "
                   "order by deppdes limit 50;");
const QString kCabecaDepp = QStringLiteral("SELECT DEPPCOD AS CÓDIGO,DEPPDES AS DESCRIÇÃO FROM DEPP WHERE ");
// The department listing after the window was shown (column 0, descending).
const QString kMostrada =
    kCabecaDepp +
    QStringLiteral("UPPER(cast(DEPPCOD as varchar(254))) LIKE :0 ORDER BY DEPPCOD DESC  LIMIT 50;\r\n");
const QString kPro = QStringLiteral(
    "select procod as Código,prodes as Descrição,proref as Referência,prodtcad as Cadastro from pro "
    "where prodes like :0 order by prodes limit 50;");
const QString kMundes =
    QStringLiteral("select deppdes as mundes, deppcod as Código from depp where deppdes like :0 "
                   "order by deppdes limit 50;");
const QString kMunde =
    QStringLiteral("select deppdes as munde, deppcod as Código from depp where deppdes like :0 "
                   "order by deppdes limit 50;");

constexpr qint32 kVermelho = 0x0000FF; // 0x00BBGGRR

// A search window prepared the way the single-choice search prepares it: listing open with "%",
// one column per result field titled from the field name.
struct Busca {
    std::unique_ptr<TFormL> janela = std::make_unique<TFormL>();

    explicit Busca(const QString& listagem, bool comColunas = true) {
        FormL = janela.get();
        db::Query* q = janela->QueryLoc;
        q->close();
        q->setSql(listagem);
        q->setParam(0, Value::fromText(QStringLiteral("%")));
        sql_OpenQuery(*q);
        if (comColunas)
            for (const db::Field& f : q->fields())
                janela->DBGridB->addColumn(f.name, BuscaDisplayLabel(nullptr, f.name), 100);
    }
    ~Busca() {
        janela.reset();
        FormL = nullptr;
    }

    bool mostra() {
        janela->show();
        QApplication::setActiveWindow(janela.get());
        return QTest::qWaitForWindowExposed(janela.get());
    }
    DataGrid* grade() const { return janela->DBGridB; }
    db::Query* query() const { return janela->QueryLoc; }
    QString painel(int i) const { return janela->painelStatus(i)->text(); }
    QString parametro() const { return query()->param(0).text(); }
    QString sql() const { return query()->sql(); }

    void clicaTitulo(int coluna) {
        QHeaderView* titulos = grade()->horizontalHeader();
        const QPoint ponto(titulos->sectionViewportPosition(coluna) + 10, titulos->height() / 2);
        QTest::mouseClick(titulos->viewport(), Qt::LeftButton, Qt::NoModifier, ponto);
    }
    void vaiParaColuna(int coluna) {
        while (grade()->selectedIndex() < coluna)
            QTest::keyClick(grade(), Qt::Key_Right);
        while (grade()->selectedIndex() > coluna)
            QTest::keyClick(grade(), Qt::Key_Left);
    }
    QStringList coluna(int c) const {
        QStringList valores;
        for (int r = 0; r < janela->DsLoc->rowCount(); ++r)
            valores << janela->DsLoc->index(r, c).data().toString();
        return valores;
    }
};

bool vermelho(QRgb p) {
    return qRed(p) > 150 && qGreen(p) < 90 && qBlue(p) < 90;
}

// Horizontal extent of the red pixels inside a rectangle; {-1, -1} when there are none.
std::pair<int, int> extensaoVermelha(const QImage& imagem, const QRect& r) {
    int menor = -1;
    int maior = -1;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (vermelho(imagem.pixel(x, y))) {
                menor = menor < 0 ? x : qMin(menor, x);
                maior = qMax(maior, x);
            }
    return {menor, maior};
}

} // namespace

class TestFormL : public QObject {
    Q_OBJECT
    std::unique_ptr<testsupport::TestDataModule> m_dm;

private slots:
    void initTestCase() {
        REQUIRE_TEST_DB();
        m_dm = std::make_unique<testsupport::TestDataModule>();
    }

    void init() {
        ColAntDBGridBL = 0;
        UFormL::TipoCampo = 0;
    }

    void layoutAsTheFlowExpects() {
        Busca b(kDepp);
        TFormL* j = b.janela.get();
        QCOMPARE(j->objectName(), QStringLiteral("FormL"));
        QCOMPARE(j->windowTitle(), QStringLiteral("Buscar"));
        QCOMPARE(j->size(), QSize(674, 449));
        QCOMPARE(j->findChild<DataGrid*>("DBGridB"), b.grade());
        QCOMPARE(j->findChild<QStatusBar*>("StatusBar1"), j->StatusBar1);
        QCOMPARE(j->Timer1->interval(), 300);
        QVERIFY(j->Timer1->isActive());
        QCOMPARE(b.painel(0), QStringLiteral("Busca por CÓDIGO:"));
        QCOMPARE(j->painelStatus(0)->width(), 125);
        QCOMPARE(j->painelStatus(1)->width(), 90);
        QCOMPARE(j->painelStatus(2)->width(), 50);
        QVERIFY(j->painelStatus(3) == nullptr);
        QVERIFY(!j->Escolheu && !j->usaDestaque && j->buscaNovamenteOnShow);
        // The flow stretches the last column from the width the grid has before the window shows.
        const int antes = b.grade()->width();
        QCOMPARE(antes, 670);
        QVERIFY(b.mostra());
        QCOMPARE(b.grade()->width(), antes);
        QVERIFY(!b.grade()->verticalHeader()->isVisible());
        QVERIFY(b.grade()->hasFocus());
    }

    void typing_data() {
        QTest::addColumn<QString>("listagem");
        QTest::addColumn<int>("coluna");
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<QString>("busca");
        QTest::addColumn<QString>("parametro");
        QTest::addColumn<int>("linhas");
        QTest::newRow("text: blanks become wildcards") << kDepp << 1 << "ab c"
                                                       << "AB C"
                                                       << "%AB%C%" << 0;
        QTest::newRow("text: found anywhere") << kDepp << 1 << "mpe"
                                              << "MPE"
                                              << "%MPE%" << 1;
        QTest::newRow("number: comma typed as a full stop") << kDepp << 0 << "12,5"
                                                            << "12.5"
                                                            << "12.5%" << 0;
        QTest::newRow("number: from the start") << kDepp << 0 << "5"
                                                << "5"
                                                << "5%" << 1;
        QTest::newRow("number: letters accepted") << kDepp << 0 << "x1"
                                                  << "X1"
                                                  << "X1%" << 0;
        QTest::newRow("number: blank, signs and accents swallowed") << kDepp << 0 << "5 -/ç%"
                                                                    << "5"
                                                                    << "5%" << 1;
        QTest::newRow("text: accents, % ' * swallowed") << kDepp << 1 << "hçor%'*t"
                                                        << "HORT"
                                                        << "%HORT%" << 1;
        QTest::newRow("text: its signs accepted") << kDepp << 1 << "a-b/c\\d_e&f\"g.h,i"
                                                  << "A-B/C\\D_E&F\"G.H,I"
                                                  << "%A-B/C\\D_E&F\"G.H,I%" << 0;
        QTest::newRow("text: first blank swallowed") << kDepp << 1 << " li"
                                                     << "LI"
                                                     << "%LI%" << 2;
        QTest::newRow("text: blank after text") << kDepp << 1 << "hi e"
                                                << "HI E"
                                                << "%HI%E%" << 1;
        QTest::newRow("backspace") << kDepp << 1 << "hox\b"
                                   << "HO"
                                   << "%HO%" << 1;
        QTest::newRow("backspace on empty text, text") << kDepp << 1 << "\b"
                                                       << ""
                                                       << "%%" << 8;
        QTest::newRow("backspace on empty text, number") << kDepp << 0 << "\b"
                                                         << ""
                                                         << "%" << 8;
        QTest::newRow("month column: from the start") << kMundes << 0 << "a"
                                                      << "A"
                                                      << "A%" << 1;
        QTest::newRow("other text column: anywhere") << kMunde << 0 << "a"
                                                     << "A"
                                                     << "%A%" << 7;
    }
    void typing() {
        QFETCH(QString, listagem);
        QFETCH(int, coluna);
        QFETCH(QString, digitado);
        QFETCH(QString, busca);
        QFETCH(QString, parametro);
        QFETCH(int, linhas);
        Busca b(listagem);
        QVERIFY(b.mostra());
        b.vaiParaColuna(coluna);
        digita(b.grade(), digitado);
        QCOMPARE(b.painel(1), busca);
        QCOMPARE(b.parametro(), parametro);
        QVERIFY(b.query()->active());
        QCOMPARE(b.query()->rowCount(), linhas);
        QCOMPARE(b.janela->DsLoc->rowCount(), linhas);
        QVERIFY(b.janela->isVisible());
    }

    // A key pressed with Alt is a command, not text; AltGr (on X11 no Alt, elsewhere Ctrl+Alt)
    // types characters.
    void altKeysAreNoText_data() {
        QTest::addColumn<int>("modificadores");
        QTest::addColumn<QString>("busca");
        QTest::newRow("Alt+I") << int(Qt::AltModifier) << "";
        QTest::newRow("Alt+Shift+I") << int(Qt::AltModifier | Qt::ShiftModifier) << "";
        QTest::newRow("AltGr, X11") << int(Qt::GroupSwitchModifier) << "I";
        QTest::newRow("AltGr as Ctrl+Alt") << int(Qt::ControlModifier | Qt::AltModifier) << "I";
        QTest::newRow("no modifier") << int(Qt::NoModifier) << "I";
    }
    void altKeysAreNoText() {
        QFETCH(int, modificadores);
        Busca b(kDepp);
        QVERIFY(b.mostra());
        b.vaiParaColuna(1);
        QTest::sendKeyEvent(QTest::Press, b.grade(), Qt::Key_I, QStringLiteral("i"),
                            Qt::KeyboardModifiers(modificadores));
        QTEST(b.painel(1), "busca");
        if (b.painel(1).isEmpty())
            QCOMPARE(b.query()->rowCount(), 8);
    }

    void typingInAnotherColumnRewritesForIt() {
        Busca b(kDepp);
        QVERIFY(b.mostra());
        QCOMPARE(b.sql(), kMostrada);
        digita(b.grade(), "5");
        QCOMPARE(b.coluna(1), QStringList{"HORTIFRÚTI"});
        const QString antes = b.sql();

        // Moving to another column changes the status bar only: same text, same rows.
        QSignalSpy reinicios(b.janela->DsLoc, &QAbstractItemModel::modelReset);
        QTest::keyClick(b.grade(), Qt::Key_Right);
        QCOMPARE(b.grade()->selectedIndex(), 1);
        QCOMPARE(b.painel(0), QStringLiteral("Busca por DESCRIÇÃO:"));
        QCOMPARE(b.painel(1), QString());
        QCOMPARE(b.janela->painelStatus(1)->width(), 40 * 14);
        QCOMPARE(UFormL::TipoCampo, 1);
        QCOMPARE(reinicios.count(), 0);
        QCOMPARE(b.sql(), antes);
        QCOMPARE(b.coluna(1), QStringList{"HORTIFRÚTI"});

        // The next key searches the new column, keeping the list's direction.
        digita(b.grade(), "i");
        QCOMPARE(b.sql(),
                 kCabecaDepp + QStringLiteral("UPPER(cast(DEPPDES as varchar(254))) LIKE :0 ORDER BY "
                                              "DEPPDES DESC  LIMIT 50;\r\n"));
        QCOMPARE(b.parametro(), QStringLiteral("%I%"));
        QCOMPARE(b.coluna(1).first(), QStringLiteral("UTILIDADES DOMÉSTICAS"));

        // Back to the number column: its key kind again.
        QTest::keyClick(b.grade(), Qt::Key_Left);
        QCOMPARE(b.painel(0), QStringLiteral("Busca por CÓDIGO:"));
        QCOMPARE(UFormL::TipoCampo, 0);
        QCOMPARE(b.janela->painelStatus(1)->width(), 11 * 14);
        QTest::keyClick(b.grade(), Qt::Key_Tab);
        QCOMPARE(b.grade()->selectedIndex(), 1);
    }

    void oneRepaintPerKey_data() {
        QTest::addColumn<int>("coluna");
        QTest::addColumn<QString>("tecla");
        QTest::newRow("same column") << 0 << "1";
        QTest::newRow("switching column") << 1 << "h";
        QTest::newRow("backspace") << 1 << "\b";
        QTest::newRow("swallowed first blank still re-queries") << 1 << " ";
    }
    void oneRepaintPerKey() {
        QFETCH(int, coluna);
        QFETCH(QString, tecla);
        Busca b(kDepp);
        QVERIFY(b.mostra());
        b.vaiParaColuna(coluna);
        QSignalSpy reinicios(b.janela->DsLoc, &QAbstractItemModel::modelReset);
        digita(b.grade(), tecla);
        QCOMPARE(reinicios.count(), 1);
        QVERIFY(!b.query()->controlsDisabled());
    }

    void titleClicks() {
        Busca b(kDepp);
        QVERIFY(b.mostra());
        digita(b.grade(), "1");
        QCOMPARE(b.painel(1), QStringLiteral("1"));

        b.clicaTitulo(1); // not the search column: ascending
        QCOMPARE(b.sql(),
                 kCabecaDepp + QStringLiteral("UPPER(cast(DEPPDES as varchar(254))) LIKE :0 ORDER BY "
                                              "DEPPDES  LIMIT 50;\r\n"));
        QCOMPARE(b.parametro(), QStringLiteral("%"));
        QCOMPARE(b.painel(0), QStringLiteral("Busca por DESCRIÇÃO:"));
        QCOMPARE(b.painel(1), QString());
        QCOMPARE(b.janela->painelStatus(1)->width(), 40 * 14);
        QCOMPARE(b.grade()->selectedIndex(), 1);
        QCOMPARE(UFormL::TipoCampo, 1);
        // The server folds only ASCII letters of the alias ("descriÇÃo"); the column still finds it.
        QCOMPARE(b.query()->field(1).name, QStringLiteral("descriÇÃo"));
        QStringList descricoes = b.coluna(1);
        QCOMPARE(descricoes.size(), 8);
        QCOMPARE(descricoes.first(), QStringLiteral("AÇOUGUE"));

        b.clicaTitulo(1); // the search column: descending
        QCOMPARE(b.sql(),
                 kCabecaDepp + QStringLiteral("UPPER(cast(DEPPDES as varchar(254))) LIKE :0 ORDER BY "
                                              "DEPPDES DESC   LIMIT 50;\r\n"));
        QCOMPARE(b.coluna(1).first(), QStringLiteral("UTILIDADES DOMÉSTICAS"));

        b.clicaTitulo(1); // and stays descending, one more blank before the limit
        QCOMPARE(b.sql(),
                 kCabecaDepp + QStringLiteral("UPPER(cast(DEPPDES as varchar(254))) LIKE :0 ORDER BY "
                                              "DEPPDES DESC    LIMIT 50;\r\n"));
        QCOMPARE(b.coluna(1).first(), QStringLiteral("UTILIDADES DOMÉSTICAS"));

        b.clicaTitulo(0);
        QCOMPARE(b.sql(),
                 kCabecaDepp + QStringLiteral("UPPER(cast(DEPPCOD as varchar(254))) LIKE :0 ORDER BY "
                                              "DEPPCOD    LIMIT 50;\r\n"));
        QCOMPARE(b.coluna(0).first(), QStringLiteral("1"));
        QCOMPARE(b.painel(0), QStringLiteral("Busca por CÓDIGO:"));
        QCOMPARE(UFormL::TipoCampo, 0);
    }

    void showingSortsByTheRememberedColumn_data() {
        QTest::addColumn<QString>("listagem");
        QTest::addColumn<int>("lembrada");
        QTest::addColumn<int>("coluna");
        QTest::addColumn<QString>("ordem");
        QTest::addColumn<QString>("painel");
        QTest::newRow("index 0: column 0 descending") << kDepp << 0 << 0 << "ORDER BY DEPPCOD DESC  LIMIT 50;"
                                                      << "Busca por CÓDIGO:";
        QTest::newRow("index beyond the grid: column 0 descending")
            << kDepp << 3 << 0 << "ORDER BY DEPPCOD DESC  LIMIT 50;"
            << "Busca por CÓDIGO:";
        QTest::newRow("index 1: ascending") << kDepp << 1 << 1 << "ORDER BY DEPPDES LIMIT 50;"
                                            << "Busca por DESCRIÇÃO:";
        QTest::newRow("wide listing, long text column") << kPro << 1 << 1 << "ORDER BY PRODES LIMIT 50;"
                                                        << "Busca por DESCRIÇÃO:";
        QTest::newRow("wide listing, index 3: ascending") << kPro << 3 << 3 << "ORDER BY PRODTCAD LIMIT 50;"
                                                          << "Busca por CADASTRO:";
    }
    void showingSortsByTheRememberedColumn() {
        QFETCH(QString, listagem);
        QFETCH(int, lembrada);
        QFETCH(int, coluna);
        QFETCH(QString, ordem);
        QFETCH(QString, painel);
        ColAntDBGridBL = lembrada;
        Busca b(listagem);
        QVERIFY(b.mostra());
        QVERIFY2(b.sql().contains(ordem), qPrintable(b.sql()));
        QCOMPARE(ColAntDBGridBL, coluna);
        QCOMPARE(b.grade()->selectedIndex(), coluna);
        QCOMPARE(b.painel(0), painel);
        QCOMPARE(b.parametro(), QStringLiteral("%"));
        // The search-text panel takes the field's width, cut at the window's edge.
        const int largura = b.query()->field(b.grade()->columnFieldIndex(coluna)).displayWidth * 14;
        QCOMPARE(b.janela->painelStatus(1)->width(), largura);
        QCOMPARE(b.janela->width(), 674);

        // The rows really come in that order.
        const int campo = b.grade()->columnFieldIndex(coluna);
        QVERIFY(campo >= 0);
        const bool descendente = ordem.contains(QStringLiteral("DESC"));
        for (int r = 1; r < b.query()->rowCount(); ++r) {
            const Value anterior = b.query()->value(r - 1, campo);
            const Value atual = b.query()->value(r, campo);
            if (anterior.kind() == db::ValueKind::Text || anterior.isNull() || atual.isNull())
                continue; // text order is the server's collation
            QVERIFY(descendente ? anterior.toDouble() >= atual.toDouble()
                                : anterior.toDouble() <= atual.toDouble());
        }
        if (listagem == kPro && coluna == 3)
            QCOMPARE(b.query()->value(0, campo), EncontraValor("select min(prodtcad) from pro", Value()));
    }

    void showingWithoutRepeatingTheSearch() {
        Busca b(kDepp);
        b.janela->buscaNovamenteOnShow = false;
        QVERIFY(b.mostra());
        QCOMPARE(b.sql(), kDepp + QStringLiteral("\r\n"));
        QCOMPARE(b.coluna(1).first(), QStringLiteral("AÇOUGUE"));
    }

    void leaving_data() {
        QTest::addColumn<QString>("acao");
        QTest::addColumn<bool>("escolheu");
        QTest::addColumn<bool>("aberta");
        QTest::addColumn<bool>("visivel");
        QTest::addColumn<int>("codigo"); // of the query's current row, when open
        QTest::newRow("Enter on a row") << "enter" << true << true << false << 6;
        QTest::newRow("double click on a row") << "duplo" << true << true << false << 5;
        QTest::newRow("Esc") << "esc" << false << false << false << 0;
        QTest::newRow("close box") << "fechar" << false << false << false << 0;
        QTest::newRow("reject") << "rejeitar" << false << false << false << 0;
        QTest::newRow("Enter on an empty list") << "enter vazio" << false << true << true << 0;
        QTest::newRow("double click on an empty list") << "duplo vazio" << false << true << true << 0;
    }
    void leaving() {
        QFETCH(QString, acao);
        QFETCH(bool, escolheu);
        QFETCH(bool, aberta);
        QFETCH(bool, visivel);
        QFETCH(int, codigo);
        Busca b(kDepp);
        QVERIFY(b.mostra());
        DataGrid* g = b.grade();
        if (acao.endsWith(QStringLiteral("vazio"))) {
            digita(g, "999");
            QCOMPARE(b.query()->rowCount(), 0);
        }
        if (acao.startsWith(QStringLiteral("enter"))) {
            QTest::keyClick(g, Qt::Key_Down);
            QTest::keyClick(g, Qt::Key_Down); // rows 8, 7, 6: the third
            digita(g, "\r");
        } else if (acao.startsWith(QStringLiteral("duplo"))) {
            const QRect celula = g->visualRect(b.janela->DsLoc->index(3, 1)); // 8, 7, 6, 5
            QTest::mouseDClick(g->viewport(), Qt::LeftButton, Qt::NoModifier,
                               celula.isValid() ? celula.center() : QPoint(20, 20));
        } else if (acao == u"esc") {
            digita(g, "\x1b");
        } else if (acao == u"fechar") {
            b.janela->close();
        } else {
            b.janela->reject();
        }
        QCOMPARE(b.janela->Escolheu, escolheu);
        QCOMPARE(b.query()->active(), aberta);
        QCOMPARE(b.janela->isVisible(), visivel);
        if (escolheu)
            QCOMPARE(b.query()->value(0).toInt(), codigo);
    }

    void modal_data() {
        QTest::addColumn<QString>("teclas");
        QTest::addColumn<bool>("escolheu");
        QTest::addColumn<QString>("descricao");
        QTest::newRow("type and Enter") << "hort\r" << true << "HORTIFRÚTI";
        QTest::newRow("Esc after typing") << "hort\x1b" << false << "";
    }
    void modal() {
        QFETCH(QString, teclas);
        QFETCH(bool, escolheu);
        QFETCH(QString, descricao);
        Busca b(kDepp);
        bool rodou = false;
        testsupport::whenModal(
            [&](QWidget* modal) {
                auto* grade = testsupport::child<DataGrid>(modal, "DBGridB");
                QTimer::singleShot(0, grade, [grade] { grade->setFocus(); });
                QTimer::singleShot(10, grade, [grade, teclas] {
                    QTest::keyClick(grade, Qt::Key_Right); // the description column
                    digita(grade, teclas);
                });
            },
            &rodou);
        b.janela->exec();
        QVERIFY(rodou);
        QCOMPARE(b.janela->Escolheu, escolheu);
        QCOMPARE(b.query()->active(), escolheu);
        if (escolheu)
            QCOMPARE(b.query()->value(1).text(), descricao);
    }

    void rowCursorFollowsTheQuery() {
        Busca b(kDepp);
        QVERIFY(b.mostra());
        DataGrid* g = b.grade();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier,
                          g->visualRect(b.janela->DsLoc->index(4, 1)).center());
        QCOMPARE(b.query()->recNo(), 4);
        QCOMPARE(g->selectedIndex(), 1);
        b.query()->moveTo(2);
        QCOMPARE(g->currentIndex().row(), 2);
        QCOMPARE(g->currentIndex().column(), 1);
        // A new search starts on its first row, still in the selected column.
        digita(g, "e");
        QCOMPARE(b.query()->recNo(), 0);
        QCOMPARE(g->currentIndex(), b.janela->DsLoc->index(0, 1));
    }

    void highlight_data() {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("condicao");
        QTest::addColumn<bool>("ligado");
        QTest::addColumn<QList<int>>("destacadas"); // codes of the highlighted rows
        QTest::newRow("exact text") << "descrição"
                                    << "LIMPEZA" << true << QList<int>{3};
        QTest::newRow("case differs") << "descrição"
                                      << "limpeza" << true << QList<int>{};
        QTest::newRow("part of the text") << "descrição"
                                          << "LIMP" << true << QList<int>{};
        QTest::newRow("number read as text") << "código"
                                             << "5" << true << QList<int>{5};
        QTest::newRow("rule off") << "descrição"
                                  << "LIMPEZA" << false << QList<int>{};
        QTest::newRow("field not in the listing") << "nada"
                                                  << "LIMPEZA" << true << QList<int>{};
    }
    void highlight() {
        QFETCH(QString, campo);
        QFETCH(QString, condicao);
        QFETCH(bool, ligado);
        QFETCH(QList<int>, destacadas);
        Busca b(kDepp);
        b.janela->campo = campo;
        b.janela->condicaoCampo = condicao;
        b.janela->corDeDestaque = kVermelho;
        b.janela->usaDestaque = ligado;
        QVERIFY(b.mostra());
        DataGrid* g = b.grade();
        const QImage imagem = g->viewport()->grab().toImage();
        QCOMPARE(b.query()->rowCount(), 8);
        for (int r = 0; r < b.query()->rowCount(); ++r) {
            const bool destacada = destacadas.contains(int(b.query()->value(r, 0).toInt()));
            QCOMPARE(b.janela->destacaLinha(r), destacada);
            for (int c = 0; c < 2; ++c) {
                const QRect celula = g->visualRect(b.janela->DsLoc->index(r, c));
                const auto [menor, maior] = extensaoVermelha(imagem, celula);
                QVERIFY2((menor >= 0) == destacada,
                         qPrintable(QStringLiteral("row %1 column %2").arg(r).arg(c)));
                if (!destacada)
                    continue;
                const int direita = celula.x() + celula.width(); // first pixel after the cell
                if (c == 0) {                                    // numbers end 2 pixels before the right edge
                    QVERIFY2(maior <= direita - 3 && maior >= direita - 6,
                             qPrintable(QString::number(maior)));
                } else { // text starts 2 pixels after the left edge
                    QVERIFY2(menor >= celula.x() + 2 && menor <= celula.x() + 5,
                             qPrintable(QString::number(menor)));
                }
            }
        }
    }

    void failedSearchLeavesTheGridLive() {
        // Without ORDER BY the rewrite for another column gives invalid SQL and the open fails.
        Busca b(QStringLiteral("select appcod, appdes from app where appdes like :0 limit 50;"));
        b.janela->buscaNovamenteOnShow = false;
        QVERIFY(b.mostra());
        QVERIFY(b.janela->DsLoc->rowCount() > 0);
        b.grade()->setSelectedIndex(1);
        QChar tecla(u'a');
        QVERIFY_THROWS_EXCEPTION(AppError, b.janela->DBGridBKeyPress(b.grade(), tecla));
        QVERIFY(!b.query()->active());
        QVERIFY(!b.query()->controlsDisabled());
        QCOMPARE(b.janela->DsLoc->rowCount(), 0); // the grid shows what the query holds
        QVERIFY(b.janela->isVisible());
    }

    void explicitFieldRewrite() {
        Busca b(kPro);
        b.janela->TrocaTextoDaSQL(QStringLiteral("procod"));
        QVERIFY(!b.query()->active());
        QCOMPARE(b.sql(), QStringLiteral(
                              "SELECT PROCOD AS CÓDIGO,PRODES AS DESCRIÇÃO,PROREF AS REFERÊNCIA,PRODTCAD AS "
                              "CADASTRO FROM PRO WHERE UPPER(cast(procod as varchar(254))) LIKE :0 ORDER "
                              "BY procod LIMIT 50;\r\n"));
    }

    void defaultColumnsWhenNoneWasAdded() {
        Busca b(kDepp, false);
        QVERIFY(b.mostra());
        DataGrid* g = b.grade();
        QCOMPARE(g->columnCount(), 2);
        QCOMPARE(g->columnTitle(0), QStringLiteral("cÓdigo")); // the shown window re-ran the rewritten text
        b.clicaTitulo(1);
        QCOMPARE(b.painel(0), QStringLiteral("Busca por DESCRIÇÃO:"));
        QCOMPARE(b.coluna(1).first(), QStringLiteral("AÇOUGUE"));
        digita(g, "hort");
        QCOMPARE(b.coluna(1), QStringList{"HORTIFRÚTI"});
    }

    void onShowDoFormL_data() {
        QTest::addColumn<int>("colunas");
        QTest::addColumn<int>("antes");
        QTest::addColumn<int>("clicada");
        QTest::newRow("index 0") << 3 << 0 << 0;
        QTest::newRow("index inside the grid") << 3 << 2 << 2;
        QTest::newRow("index equal to the column count") << 3 << 3 << 0;
        QTest::newRow("index beyond the grid") << 2 << 7 << 0;
        QTest::newRow("negative index") << 2 << -1 << 0;
    }
    void onShowDoFormL() {
        QFETCH(int, colunas);
        QFETCH(int, antes);
        QFETCH(int, clicada);
        DataGrid grade;
        for (int c = 0; c < colunas; ++c)
            grade.addColumn(QStringLiteral("campo%1").arg(c), QStringLiteral("Campo %1").arg(c), 50);
        QList<int> cliques;
        grade.OnTitleClick = [&](int coluna) { cliques << coluna; };
        ColAntDBGridBL = antes;
        OnShowDoFormL(&grade);
        QCOMPARE(cliques, QList<int>{clicada});
        QCOMPARE(ColAntDBGridBL, clicada);
        ColAntDBGridBL = 0;
    }

    void onShowDoFormLNeedsATitleHandler() {
        DataGrid grade;
        grade.addColumn(QStringLiteral("a"), QStringLiteral("A"), 50);
        QVERIFY_THROWS_EXCEPTION(AppError, OnShowDoFormL(&grade));
        QVERIFY_THROWS_EXCEPTION(AppError, OnShowDoFormL(nullptr));
    }
};

QTEST_MAIN(TestFormL)
#include "tst_forml.moc"
