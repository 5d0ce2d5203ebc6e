// The multi-choice flow and the multi-selection validation, on the test window's
// application field.
#include "JanelaLookups.h"
#include "ModalDriver.h"
#include "TestDb.h"
#include "common/Funcoes.h"
#include "db/Query.h"
#include "lookup/BuscaLookup.h"
#include "search/FormLAvanc.h"
#include "widgets/DataGrid.h"

#include <QPointer>
#include <QTest>

using testsupport::JanelaLookups;

namespace {

// Marks the given rows of the next multi-select window (as shown) and accepts with Enter.
void marcaEAceita(const QList<int>& linhas, QString* sql = nullptr) {
    testsupport::whenModal([=](QWidget* m) {
        auto* j = qobject_cast<TFormLAvanc*>(m);
        QVERIFY(j);
        if (sql)
            *sql = j->QueryLoc->sql();
        for (int r : linhas) {
            j->QueryLoc->moveTo(r);
            QChar blank(u' ');
            j->DBGridBKeyPress(j->DBGridB, blank);
        }
        QTest::keyClick(j->DBGridB, Qt::Key_Return);
    });
}

QString codigoDaLinha(int linha) {
    // The first window after start lists the applications by code, descending.
    return QString::number(8 - linha);
}

} // namespace

class TestBuscaAvancada : public QObject {
    Q_OBJECT
    std::unique_ptr<testsupport::TestDataModule> m_dm;

private slots:
    void initTestCase() {
        REQUIRE_TEST_DB();
        m_dm = std::make_unique<testsupport::TestDataModule>();
    }
    void cleanup() { testsupport::cancelPendingModalDrivers(); }
    void init() { ColAntDBGridBL = 0; }

    void twoMarkedRowsGiveSeveral() {
        JanelaLookups j;
        j.show();
        QString sql;
        marcaEAceita({0, 2}, &sql);
        QVERIFY(j.app.controlador->selecionar(j.app.botao));
        QCOMPARE(j.app.codigo->text(), QStringLiteral("VÁRIOS"));
        QCOMPARE(j.app.descricao->text(), codigoDaLinha(0) + u',' + codigoDaLinha(2));
        QVERIFY(!sql.contains(QStringLiteral("LIMIT"), Qt::CaseInsensitive)); // no row cap from the button
        QVERIFY(sql.startsWith(QStringLiteral("SELECT CAST('' AS VARCHAR(1)) AS CHECK, APPCOD")));
        QCOMPARE(j.app.controlador->obtemValorVarios(),
                 u'\'' + codigoDaLinha(0) + QStringLiteral("','") + codigoDaLinha(2) + u'\'');
        QVERIFY(!j.estado.NaoPassouOnEnter); // a multi-choice does not touch the entry record
        QCOMPARE(FormLAvanc, nullptr);
        QVERIFY(!j.estado.BotaoAtivo);
    }

    // The window is wider than the single-choice one it derives from: the stretched last
    // column must end 22 pixels before the edge of the grid as it is shown.
    void lastColumnEndsBeforeTheGridEdge() {
        JanelaLookups j;
        j.show();
        int soma = -1;
        int largura = -1;
        testsupport::whenModal([&](QWidget* m) {
            auto* janela = qobject_cast<TFormLAvanc*>(m);
            QVERIFY(janela);
            soma = 0;
            for (int i = 0; i < janela->DBGridB->columnCount(); ++i)
                soma += janela->DBGridB->columnWidth(i);
            largura = janela->DBGridB->width();
            QTest::keyClick(janela->DBGridB, Qt::Key_Escape);
        });
        j.app.controlador->selecionar(j.app.botao);
        QVERIFY(largura > 700);
        QCOMPARE(soma, largura - 22);
    }

    void oneMarkedRowWritesCodeAndDescription() {
        JanelaLookups j;
        j.show();
        marcaEAceita({5});
        QVERIFY(j.app.controlador->selecionar(j.app.botao));
        QCOMPARE(j.app.codigo->text(), QStringLiteral("3"));
        QCOMPARE(j.app.descricao->text(), QStringLiteral("INDUSTRIAL"));
    }

    void confirmedWithoutMarksEmptiesTheField() {
        JanelaLookups j;
        j.show();
        j.app.codigo->setText("7");
        j.app.descricao->setText("X");
        testsupport::whenModal([](QWidget* m) {
            UFormLAvanc::Escolheu = true; // accepted without any mark
            static_cast<QDialog*>(m)->accept();
        });
        QVERIFY(j.app.controlador->selecionar(j.app.botao));
        QCOMPARE(j.app.codigo->text(), QString());
        QCOMPARE(j.app.descricao->text(), QString());
    }

    void twoCodeControlsCollectTwice() {
        JanelaLookups j;
        j.show();
        marcaEAceita({1});
        QVERIFY(OnClickDoBotaoLookAvancado(j.estado, nullptr, {j.app.codigo, j.fim}, {j.app.descricao},
                                           j.app.sqlListagem, false, true, false));
        QCOMPARE(j.app.codigo->text(), QStringLiteral("VÁRIOS"));
        QCOMPARE(j.fim->text(), QString());
    }

    void escWritesNothing() {
        JanelaLookups j;
        j.show();
        j.app.codigo->setText("2");
        testsupport::whenModal([](QWidget* m) {
            auto* w = qobject_cast<TFormLAvanc*>(m);
            QTest::keyClick(w->DBGridB, Qt::Key_Escape);
        });
        QVERIFY(!j.app.controlador->selecionar(j.app.botao));
        QCOMPARE(j.app.codigo->text(), QStringLiteral("2"));
    }

    void validationUsesTheDigits() {
        JanelaLookups j;
        j.show();
        j.digitaESai(j.app, "0,3");
        QCOMPARE(j.app.codigo->text(), QStringLiteral("03")); // every other character dropped
        QCOMPARE(j.app.descricao->text(), QStringLiteral("INDUSTRIAL"));
        QVERIFY(j.estado.NaoPassouOnEnter);
    }

    void severalWordIsLeftAlone() {
        JanelaLookups j;
        j.show();
        j.app.codigo->setText("VÁRIOS");
        j.app.descricao->setText("1,2");
        j.app.pedidos.clear();
        QPointer<QTimer> espera = testsupport::whenModal([](QWidget* m) { m->close(); }, nullptr, 500);
        j.app.codigo->OnExit(j.app.codigo);
        QTest::qWait(50);
        QCOMPARE(j.app.codigo->text(), QStringLiteral("VÁRIOS"));
        QCOMPARE(j.app.descricao->text(), QStringLiteral("1,2")); // the chosen codes stay
        delete espera.data();
    }

    void textWithoutDigitsOpensTheMultiChoice() {
        JanelaLookups j;
        j.show();
        QString titulo;
        testsupport::whenModal([&](QWidget* m) {
            titulo = m->windowTitle();
            m->close();
        });
        j.digitaESai(j.app, ",,");
        QCOMPARE(titulo, QStringLiteral("Busca"));
    }

    void unknownCodeOpensTheSingleChoice() {
        JanelaLookups j;
        j.show();
        QString titulo;
        testsupport::whenModal([&](QWidget* m) {
            titulo = m->windowTitle();
            m->close();
        });
        j.digitaESai(j.app, "99");
        QCOMPARE(titulo, QStringLiteral("Buscar"));
        QCOMPARE(j.app.codigo->text(), QStringLiteral("99"));
    }
};

QTEST_MAIN(TestBuscaAvancada)
#include "tst_buscaavancada.moc"
