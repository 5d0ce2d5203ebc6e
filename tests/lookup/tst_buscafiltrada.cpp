// The filtered search: a typed code looked up in the listing's first column.
#include "JanelaLookups.h"
#include "ModalDriver.h"
#include "TestDb.h"
#include "common/Funcoes.h"
#include "db/Query.h"
#include "search/FormL.h"
#include "widgets/DataGrid.h"
#include "widgets/FormMens.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

using testsupport::JanelaLookups;

class TestBuscaFiltrada : public QObject {
    Q_OBJECT
    std::unique_ptr<testsupport::TestDataModule> m_dm;

    // Counts the modal windows that appear while `f` runs; answers each with Enter (search) or OK.
    template <typename F> int janelasDurante(F f, QStringList* titulos = nullptr) {
        int janelas = 0;
        QPointer<QTimer> pendente;
        std::function<void()> arma;
        arma = [&] {
            pendente = testsupport::whenModal(
                [&](QWidget* m) {
                    ++janelas;
                    if (titulos)
                        *titulos << m->windowTitle();
                    if (auto* busca = qobject_cast<TFormL*>(m))
                        QTest::keyClick(busca->DBGridB, Qt::Key_Return);
                    else
                        m->close();
                    arma();
                },
                nullptr, 3000);
        };
        arma();
        f();
        QTest::qWait(100);
        delete pendente.data(); // stop waiting for a window that did not come
        return janelas;
    }

private slots:
    void initTestCase() {
        REQUIRE_TEST_DB();
        m_dm = std::make_unique<testsupport::TestDataModule>();
    }
    void cleanup() { testsupport::cancelPendingModalDrivers(); }
    void init() { ColAntDBGridBL = 0; }

    void uniqueMatchIsTakenWithoutAWindow() {
        JanelaLookups j;
        j.show();
        // Active before the field is used: a first activation later on would enter the field.
        QApplication::setActiveWindow(&j);
        QVERIFY(QTest::qWaitForWindowActive(&j));
        const int janelas = janelasDurante([&] { j.digitaESai(j.depp, "5"); });
        QCOMPARE(janelas, 0);
        QCOMPARE(j.depp.codigo->text(), QStringLiteral("5"));
        QCOMPARE(j.depp.descricao->text(), QStringLiteral("HORTIFRÚTI"));
        QCOMPARE(j.depp.pedidos, QStringList({"2"})); // no description query on this path
        QVERIFY(j.estado.NaoPassouOnEnter);
    }

    void severalMatchesAreOffered() {
        JanelaLookups j;
        j.show();
        QStringList titulos;
        const int janelas = janelasDurante([&] { j.digitaESai(j.secp, "5"); }, &titulos);
        QCOMPARE(janelas, 1);
        QCOMPARE(titulos, QStringList({"Buscar"}));
        QCOMPARE(j.secp.codigo->text(), QStringLiteral("5")); // the first column of the chosen row
        QVERIFY(!j.secp.descricao->text().isEmpty());         // one of department 5's sections
    }

    void noMatchFallsBackToTheWholeListing() {
        JanelaLookups j;
        j.show();
        int linhas = -1;
        testsupport::whenModal([&](QWidget* m) {
            auto* busca = qobject_cast<TFormL*>(m);
            QVERIFY(busca);
            linhas = busca->QueryLoc->rowCount();
            QTest::keyClick(busca->DBGridB, Qt::Key_Escape);
        });
        j.digitaESai(j.depp, "9999");
        QCOMPARE(linhas, 8);
        QCOMPARE(j.depp.codigo->text(), QStringLiteral("9999")); // left without a choice
        QCOMPARE(j.focusWidget(), j.depp.codigo);
    }

    void emptyListingIsReportedOnce() {
        JanelaLookups j;
        j.depp.sqlListagem =
            QStringLiteral("select deppcod as Código,deppdes as Descrição from depp where deppdes "
                           "like :0 and deppcod < 0 order by deppdes");
        j.show();
        QStringList titulos;
        const int janelas = janelasDurante([&] { j.digitaESai(j.depp, "5"); }, &titulos);
        QCOMPARE(janelas, 1);
        QCOMPARE(titulos, QStringList({"Mensagem de Informação"}));
        QCOMPARE(j.depp.codigo->text(), QString());
        QVERIFY(!j.estado.BotaoAtivo);
    }

    void emptyCodeDoesNothing() {
        JanelaLookups j;
        j.show();
        const int janelas = janelasDurante([&] { j.digitaESai(j.depp, ""); });
        QCOMPARE(janelas, 0);
        QVERIFY(j.depp.pedidos.isEmpty());
    }

    void refusesToStartWhileASearchIsUnderWay() {
        JanelaLookups j;
        j.estado.BotaoAtivo = true;
        j.depp.codigo->setText("5");
        QVERIFY(!j.depp.controlador->selecionar(j.depp.codigo));
        QCOMPARE(j.depp.descricao->text(), QString());
        j.estado.BotaoAtivo = false;
    }
};

QTEST_MAIN(TestBuscaFiltrada)
#include "tst_buscafiltrada.moc"
