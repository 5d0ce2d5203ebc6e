// The lookup dispatcher, the code validation and the single-choice search flow against the
// demo database, with the search window driven from a timer.
#include "ModalDriver.h"
#include "TestDb.h"
#include "base/AppError.h"
#include "common/Funcoes.h"
#include "db/Connection.h"
#include "db/DM.h"
#include "db/Query.h"
#include "lookup/BuscaLookup.h"
#include "lookup/JanelaDaBusca.h"
#include "search/FormL.h"
#include "widgets/DataGrid.h"
#include "widgets/FormMens.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTest>
#include <QVBoxLayout>

using widgets::EventButton;
using widgets::EventEdit;

namespace {

const QString kDeppDes = QStringLiteral("select deppdes from depp where deppcod = :0");
const QString kDeppLista = QStringLiteral(
    "select deppcod as Código,deppdes as Descrição from depp where deppdes like :0 order by deppdes");

// One lookup field plus a plain edit after it, with a provider that counts what it is asked.
// Its lookup state is its own, or the one of another field of the same window.
struct Campo {
    EstadoLookups proprio;
    EstadoLookups& estado;
    QWidget janela;
    EventEdit* codigo = new EventEdit(&janela);
    EventButton* botao = new EventButton(&janela);
    EventEdit* des0 = new EventEdit(&janela);
    EventEdit* des1 = new EventEdit(&janela);
    EventEdit* depois = new EventEdit(&janela);
    QString sql1 = kDeppDes;
    QString sql2 = kDeppLista;
    QStringList pedidos;
    TCriadorLookup* controlador;

    explicit Campo(bool duasDescricoes = false, EstadoLookups* daJanela = nullptr)
        : estado(daJanela ? *daJanela : proprio) {
        auto* l = new QVBoxLayout(&janela);
        for (QWidget* w :
             {static_cast<QWidget*>(codigo), static_cast<QWidget*>(botao), static_cast<QWidget*>(des0),
              static_cast<QWidget*>(des1), static_cast<QWidget*>(depois)})
            l->addWidget(w);
        botao->setFocusPolicy(Qt::ClickFocus);
        des0->setFocusPolicy(Qt::ClickFocus);
        des1->setFocusPolicy(Qt::ClickFocus);
        TListaEdits des{des0};
        if (duasDescricoes)
            des << des1;
        controlador = new TCriadorLookup(estado, codigo, des, botao, [this](QObject*, quint8 e) {
            pedidos << QString::number(e);
            return e == 1 ? sql1 : sql2;
        });
        janela.show();
        QVERIFY(QTest::qWaitForWindowExposed(&janela));
    }
    // Types a code (as the program would see it after entering the field) and leaves it.
    void digitaESai(const QString& texto) {
        codigo->setFocus();
        codigo->setText(texto);
        codigo->OnExit(codigo);
    }
};

// Answers the next search window with `acao` and reports what the window showed.
struct Busca {
    bool abriu = false;
    int linhas = -1;
    QString sql;
    QString titulo0;
    QList<int> larguras;
};

void quandoBuscar(Busca& b, const std::function<void(TFormL*)>& acao) {
    testsupport::whenModal(
        [&b, acao](QWidget* modal) {
            auto* janela = qobject_cast<TFormL*>(modal);
            if (!janela) {
                modal->close();
                return;
            }
            b.abriu = true;
            b.linhas = janela->QueryLoc->rowCount();
            b.sql = janela->QueryLoc->sql();
            b.titulo0 = janela->DBGridB->columnTitle(0);
            for (int i = 0; i < janela->DBGridB->columnCount(); ++i)
                b.larguras << janela->DBGridB->columnWidth(i);
            acao(janela);
        },
        nullptr);
}

// A search window that cannot be created (out of memory, a failing resource).
struct JanelaQueNaoAbre {
    JanelaQueNaoAbre() { throw AppError(QStringLiteral("sem janela")); }
    void deleteLater() {}
};

void enter(TFormL* j) {
    QTest::keyClick(j->DBGridB, Qt::Key_Return);
}
void esc(TFormL* j) {
    QTest::keyClick(j->DBGridB, Qt::Key_Escape);
}

} // namespace

class TestBuscaLookup : public QObject {
    Q_OBJECT
    std::unique_ptr<testsupport::TestDataModule> m_dm;

private slots:
    void initTestCase() {
        REQUIRE_TEST_DB();
        m_dm = std::make_unique<testsupport::TestDataModule>();
    }
    void cleanup() { testsupport::cancelPendingModalDrivers(); }
    void init() { ColAntDBGridBL = 0; }

    void listingPreparation_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("limitar");
        QTest::addColumn<QString>("preparado");
        QTest::newRow("cap added") << "select a from t order by a" << true
                                   << "select a from t order by a limit 50;";
        QTest::newRow("one ; stripped")
            << "select a from t order by a;" << true << "select a from t order by a limit 50;";
        QTest::newRow("two ; keep one")
            << "select a from t order by a;;" << true << "select a from t order by a; limit 50;";
        QTest::newRow("own limit kept")
            << "select a from t order by a limit 10" << true << "select a from t order by a limit 10";
        QTest::newRow("capital LIMIT still capped") << "select a from t order by a LIMIT 10" << true
                                                    << "select a from t order by a LIMIT 10 limit 50;";
        QTest::newRow("no cap wanted")
            << "select a from t order by a;" << false << "select a from t order by a";
    }
    void listingPreparation() {
        QFETCH(QString, sql);
        QFETCH(bool, limitar);
        QTEST(PreparaListagem(sql, limitar), "preparado");
    }

    void firstColumn_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("campo");
        QTest::newRow("alias") << kDeppLista << "deppcod";
        QTest::newRow("distinct") << "select DISTINCT marcascod as Cód,marcasdes as Descrição from marcas"
                                  << "DISTINCT marcascod";
        QTest::newRow("capital Select") << "Select parcod,pardes as Descrição from par"
                                        << "";
        QTest::newRow("one column") << "select appdes from app"
                                    << "";
        QTest::newRow("no alias") << "select appcod, appdes from app"
                                  << "appcod";
    }
    void firstColumn() {
        QFETCH(QString, sql);
        QTEST(retornaPrimeiroCampo(sql), "campo");
    }

    void markColumnPrefix_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("esperado");
        const QString p = QStringLiteral("select cast('' as varchar(1)) as check, ");
        QTest::newRow("lower") << "select appcod, appdes from app where appdes like :0 order by appdes"
                               << p + "appcod, appdes from app where appdes like :0 order by appdes";
        // without a lower-case keyword the first six characters go and the seventh (a blank) stays
        QTest::newRow("capital Select") << "Select parcod,pardes from par" << p + " parcod,pardes from par";
        QTest::newRow("text before") << "/* x */ select a from t" << p + "a from t";
    }
    void markColumnPrefix() {
        QFETCH(QString, sql);
        QTEST(ListagemComMarcacao(sql), "esperado");
    }

    void knownCodeShowsItsDescription() {
        Campo c;
        c.digitaESai("5");
        QCOMPARE(c.des0->text(), QStringLiteral("HORTIFRÚTI"));
        QCOMPARE(c.pedidos, QStringList({"1", "2"}));
        QVERIFY(c.estado.NaoPassouOnEnter);
    }

    void leadingZerosAreValidatedEveryTime() {
        Campo c;
        c.digitaESai("0005");
        QCOMPARE(c.des0->text(), QStringLiteral("HORTIFRÚTI"));
        c.codigo->OnEnter(c.codigo); // untouched 0005 still counts as changed
        c.pedidos.clear();
        c.codigo->OnExit(c.codigo);
        QCOMPARE(c.pedidos, QStringList({"1", "2"}));
    }

    void unchangedCodeRunsNoQuery() {
        Campo c;
        c.digitaESai("2");
        c.estado.NaoPassouOnEnter = true;
        c.codigo->OnEnter(c.codigo);
        c.pedidos.clear();
        c.codigo->OnExit(c.codigo);
        QVERIFY(c.pedidos.isEmpty());
        QCOMPARE(c.des0->text(), QStringLiteral("BEBIDAS"));
    }

    void severalColumnDescription() {
        Campo c(true);
        c.sql1 = QStringLiteral(
            "select secpdes, deppdes from secp join depp on deppcod = secpdeppcod where secpcod = :0");
        c.digitaESai("12");
        QCOMPARE(c.des0->text(), QStringLiteral("FRUTAS"));
        QCOMPARE(c.des1->text(), QStringLiteral("HORTIFRÚTI"));
    }

    void unknownCodeOpensTheListAndTakesTheChoice() {
        Campo c;
        Busca b;
        quandoBuscar(b, enter);
        c.digitaESai("9999");
        QVERIFY(b.abriu);
        QCOMPARE(b.linhas, 8);
        // shown sorted by column 0 descending, so Enter takes department 8
        QCOMPARE(c.codigo->text(), QStringLiteral("8"));
        QCOMPARE(c.des0->text(), QStringLiteral("UTILIDADES DOMÉSTICAS"));
        QCOMPARE(b.titulo0, QStringLiteral("Código"));
        QVERIFY(c.estado.NaoPassouOnEnter);
        QVERIFY(!c.estado.BotaoAtivo);
        QCOMPARE(FormL, nullptr);
    }

    void leavingWithoutChoiceKeepsTheTypedCode() {
        Campo c;
        Busca b;
        quandoBuscar(b, esc);
        c.digitaESai("9999");
        QVERIFY(b.abriu);
        QCOMPARE(c.codigo->text(), QStringLiteral("9999"));
        QCOMPARE(c.des0->text(), QString());
        QCOMPARE(c.janela.focusWidget(), c.codigo);
    }

    // Leaving the code edit for its own search button moves the focus on after the choice;
    // leaving it for another control leaves the focus there.
    void leavingForItsButtonMovesOnAfterTheChoice_data() {
        QTest::addColumn<bool>("paraOBotao");
        QTest::newRow("to its search button") << true;
        QTest::newRow("to a description") << false;
    }
    void leavingForItsButtonMovesOnAfterTheChoice() {
        QFETCH(bool, paraOBotao);
        Campo c;
        c.codigo->setFocus();
        QTRY_COMPARE(c.janela.focusWidget(), c.codigo);
        c.codigo->setText("9999");
        Busca b;
        quandoBuscar(b, enter);
        QWidget* destino = paraOBotao ? static_cast<QWidget*>(c.botao) : c.des0;
        destino->setFocus(Qt::MouseFocusReason); // the exit runs the validation
        QVERIFY(b.abriu);
        QCOMPARE(c.codigo->text(), QStringLiteral("8"));
        QCOMPARE(c.janela.focusWidget(), paraOBotao ? c.depois : destino);
    }

    void buttonListsWithTheCapAndMovesOn() {
        Campo c;
        c.sql2 =
            QStringLiteral("select procod as Código,prodes as Descrição,proref as Referência from pro where "
                           "prodes like :0 order by Descrição");
        c.codigo->setFocus();
        Busca b;
        quandoBuscar(b, enter);
        c.botao->Click();
        QVERIFY(b.abriu);
        QCOMPARE(b.linhas, 50);
        QVERIFY(b.sql.endsWith(QStringLiteral("LIMIT 50;\r\n")));
        QCOMPARE(b.larguras.size(), 3);
        QVERIFY(!c.codigo->text().isEmpty());
        QVERIFY(!c.des0->text().isEmpty());
        QVERIFY(c.janela.focusWidget() != c.codigo); // moved on to the next control
    }

    void columnWidths() {
        Campo c;
        c.sql2 =
            QStringLiteral("select procod as Código,proref as Referência,prodes as Descrição from pro where "
                           "prodes like :0 order by Descrição");
        Busca b;
        int larguraGrade = 0;
        quandoBuscar(b, [&](TFormL* j) {
            larguraGrade = j->DBGridB->width();
            esc(j);
        });
        c.botao->Click();
        QVERIFY(b.abriu);
        QCOMPARE(b.larguras[0], 15 * 7);                              // integer: the number default
        QCOMPARE(b.larguras[1], 29 * 7);                              // varchar(29): its size
        QCOMPARE(b.larguras[2], larguraGrade - 22 - 15 * 7 - 29 * 7); // last one stretched
    }

    void sameChoiceStillRewritesAndMovesFocus() {
        Campo c;
        c.codigo->setFocus();
        c.codigo->setText("8");
        c.des0->setText("VELHO");
        Busca b;
        quandoBuscar(b, enter);
        c.botao->Click();
        QVERIFY(b.abriu);
        QCOMPARE(c.codigo->text(), QStringLiteral("8"));
        QCOMPARE(c.des0->text(), QStringLiteral("UTILIDADES DOMÉSTICAS"));
        QVERIFY(c.janela.focusWidget() != c.codigo); // moved on from the code edit
    }

    void emptyListingClearsTheField() {
        Campo c;
        c.sql2 =
            QStringLiteral("select deppcod as Código,deppdes as Descrição from depp where deppdes like :0 "
                           "and deppcod = 9999 order by deppdes");
        c.codigo->setText("77");
        c.des0->setText("X");
        bool mensagem = false;
        QString caption;
        testsupport::whenModal(
            [&](QWidget* m) {
                caption = m->windowTitle();
                if (auto* mens = qobject_cast<TFormMens*>(m))
                    QCOMPARE(mens->Memo1->toPlainText(), QStringLiteral("Listagem vazia!"));
                m->close();
            },
            &mensagem);
        QVERIFY(!c.controlador->selecionar(c.botao));
        QVERIFY(mensagem);
        QCOMPARE(caption, QStringLiteral("Mensagem de Informação"));
        QCOMPARE(c.codigo->text(), QString());
        QCOMPARE(c.des0->text(), QString());
        QVERIFY(!c.estado.BotaoAtivo);
    }

    void badCodesEmptyTheEditAndRaise_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("beyond 32 bits") << "99999999999"
                                        << "'99999999999' is not a valid integer value";
        QTest::newRow("commas only") << ",,"
                                     << "',,' is not a valid integer value";
        QTest::newRow("several codes") << "3,4"
                                       << "'3,4' is not a valid integer value";
        QTest::newRow("several word") << "VÁRIOS"
                                      << "'VÁRIOS' is not a valid integer value";
    }
    void badCodesEmptyTheEditAndRaise() {
        QFETCH(QString, texto);
        Campo c;
        try {
            c.digitaESai(texto);
            QFAIL("no error");
        } catch (const ConversionError& e) {
            QTEST(e.message(), "mensagem");
        }
        QCOMPARE(c.codigo->text(), QString());
    }

    void failingQueryReportsTheOpenError() {
        Campo c;
        c.sql1 = QStringLiteral("select nada from depp where deppcod = :0");
        try {
            c.digitaESai("5");
            QFAIL("no error");
        } catch (const AppError& e) {
            QVERIFY(e.message().startsWith(QStringLiteral("Erro na abertura da tabela\r\r")));
            QVERIFY(e.message().endsWith(QStringLiteral("\r\r") + c.sql1 + QStringLiteral("\r\n")));
        }
        QCOMPARE(c.codigo->text(), QString());
        QVERIFY(!c.estado.BotaoAtivo);
    }

    void validationDoesNothingWhileASearchIsUnderWay() {
        Campo c;
        c.estado.BotaoAtivo = true;
        c.digitaESai("5");
        QCOMPARE(c.des0->text(), QString());
        c.estado.BotaoAtivo = false;
    }

    // The entry record and the search under way belong to the window: another field of it sees
    // them, a field of another window does not.
    void lookupStateIsTheWindows_data() {
        QTest::addColumn<bool>("mesmaJanela");
        QTest::newRow("same window") << true;
        QTest::newRow("another window") << false;
    }
    void lookupStateIsTheWindows() {
        QFETCH(bool, mesmaJanela);
        Campo a;
        Campo b(false, mesmaJanela ? &a.estado : nullptr);
        a.digitaESai("5"); // found: the next entry is recorded
        b.codigo->setText("0002");
        b.codigo->OnEnter(b.codigo);
        QCOMPARE(a.estado.NaoPassouOnEnter, !mesmaJanela);
        QCOMPARE(b.estado.ConteudoDBEditAntLook, mesmaJanela ? QStringLiteral("2") : QString());

        // b is left while a's search window is shown
        b.codigo->setText("5");
        Busca busca;
        quandoBuscar(busca, [&b](TFormL* janela) {
            b.codigo->OnExit(b.codigo);
            esc(janela);
        });
        a.botao->click();
        QVERIFY(busca.abriu);
        QCOMPARE(b.des0->text(), mesmaJanela ? QString() : QStringLiteral("HORTIFRÚTI"));
        QVERIFY(!a.estado.BotaoAtivo);
    }

    // The description query's answer: shown when found; no row, a null, a zero or a text that
    // stands for nothing opens the search instead.
    void descriptionAnswers_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("mostrado"); // empty: not found
        const QStringList nada;
        QTest::newRow("text") << "select 'ABC'::text" << QStringList{"ABC"};
        QTest::newRow("number") << "select 42" << QStringList{"42"};
        QTest::newRow("no row") << "select 'ABC'::text where false" << nada;
        QTest::newRow("null") << "select null::text" << nada;
        QTest::newRow("empty text") << "select ''::text" << nada;
        QTest::newRow("zero") << "select 0" << nada;
        QTest::newRow("zero as text") << "select '0'::text" << nada;
        QTest::newRow("zero money as text") << "select '0,00'::text" << nada;
        QTest::newRow("empty date as text") << "select '01/01/1500'::text" << nada;
        QTest::newRow("float zero, whatever the locale") << "select 0.0::float8" << nada;
        QTest::newRow("two columns") << "select 'A'::text, 'B'::text" << QStringList{"A", "B"};
        QTest::newRow("two columns, first empty") << "select ''::text, 'B'::text" << nada;
        QTest::newRow("two columns, first null") << "select null::text, 'B'::text" << nada;
        QTest::newRow("two columns, a text only one column stands for nothing with")
            << "select '01/01/1500'::text, 'B'::text" << QStringList{"01/01/1500", "B"};
    }
    void descriptionAnswers() {
        QFETCH(QString, sql);
        QFETCH(QStringList, mostrado);
        Campo c(sql.contains(u','));
        c.sql1 = sql;
        Busca b;
        quandoBuscar(b, esc);
        c.digitaESai(QStringLiteral("5"));
        QCOMPARE(b.abriu, mostrado.isEmpty());
        QCOMPARE(c.des0->text(), mostrado.value(0));
        if (mostrado.size() > 1)
            QCOMPARE(c.des1->text(), mostrado.value(1));
        QCOMPARE(c.estado.NaoPassouOnEnter, !mostrado.isEmpty());
    }

    // A controller given a connection of its own validates on it, without the data module.
    void ownConnectionNeedsNoDataModule() {
        db::Connection propria;
        testsupport::applyTestParams(propria);
        propria.open();
        Campo c;
        c.controlador->setConexao(&propria);
        {
            const auto volta = qScopeGuard([dm = DM] { DM = dm; });
            DM = nullptr;
            c.digitaESai(QStringLiteral("5"));
        }
        QCOMPARE(c.des0->text(), QStringLiteral("HORTIFRÚTI"));
    }

    // The focus leaving with the window and coming back with it (another window, a search closed
    // with Esc) is neither an exit nor a second entry: the field's entry record keeps its value.
    void focusBackWithTheWindowIsNoEntry_data() {
        QTest::addColumn<QString>("como");
        QTest::newRow("another window") << "janela";
        QTest::newRow("blank, Esc") << "espaço";
        QTest::newRow("button, Esc") << "botão";
    }
    void focusBackWithTheWindowIsNoEntry() {
        QFETCH(QString, como);
        Campo c;
        int entradas = 0;
        int saidas = 0;
        const widgets::NotifyEvent entra = c.codigo->OnEnter;
        const widgets::NotifyEvent sai = c.codigo->OnExit;
        c.codigo->OnEnter = [&](QObject* s) {
            ++entradas;
            entra(s);
        };
        c.codigo->OnExit = [&](QObject* s) {
            ++saidas;
            sai(s);
        };
        c.janela.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&c.janela));
        c.depois->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), c.depois);
        entradas = saidas = 0;
        c.codigo->setText(QStringLiteral("5"));
        c.estado.NaoPassouOnEnter = true;
        c.codigo->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), c.codigo);
        QCOMPARE(entradas, 1);
        c.codigo->setText(QStringLiteral("7")); // typed: the record of the entry is emptied

        if (como == u"janela") {
            QWidget outra;
            outra.show();
            outra.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&outra));
            c.janela.activateWindow();
        } else {
            Busca b;
            quandoBuscar(b, esc);
            if (como == u"espaço")
                QTest::keyClick(c.codigo, Qt::Key_Space);
            else
                c.botao->click();
            QVERIFY(b.abriu);
            c.janela.activateWindow(); // as the window manager does once the search has closed
        }
        QVERIFY(QTest::qWaitForWindowActive(&c.janela));
        QTRY_COMPARE(QApplication::focusWidget(), c.codigo);
        QCOMPARE(entradas, 1);
        QCOMPARE(saidas, 0);
        QCOMPARE(c.controlador->ConteudoNaEntrada(), QString());
        QVERIFY(c.controlador->houveAlteracao());
        QCOMPARE(c.estado.ConteudoDBEditAntLook, QStringLiteral("5"));
        QCOMPARE(c.codigo->text(), QStringLiteral("7"));
    }

    void aWindowThatCannotBeCreatedLeavesValidationOn() {
        Campo c;
        JanelaQueNaoAbre* variavel = nullptr;
        QVERIFY_THROWS_EXCEPTION(AppError, JanelaDaBusca<JanelaQueNaoAbre>{variavel, c.estado});
        QVERIFY(!c.estado.BotaoAtivo);
        c.digitaESai("5");
        QCOMPARE(c.des0->text(), QStringLiteral("HORTIFRÚTI"));
    }

    void highlightRuleReachesTheWindow() {
        Campo c;
        c.controlador->setDestaque("descrição", "BEBIDAS", 0x0000FF);
        Busca b;
        bool usa = false;
        QString campo;
        quandoBuscar(b, [&](TFormL* j) {
            usa = j->usaDestaque;
            campo = j->campo;
            esc(j);
        });
        c.digitaESai("9999");
        QVERIFY(usa);
        QCOMPARE(campo, QStringLiteral("descrição"));
    }
};

QTEST_MAIN(TestBuscaLookup)
#include "tst_buscalookup.moc"
