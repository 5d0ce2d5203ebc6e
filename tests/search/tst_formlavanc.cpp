// The multi-select window: marks in memory, type-to-search, Enter/Esc, the shared sort column.
#include "TestDb.h"
#include "common/Funcoes.h"
#include "db/Query.h"
#include "search/FormLAvanc.h"
#include "widgets/DataGrid.h"

#include <QLabel>
#include <QTest>

namespace {

const QString kListagem = QStringLiteral(
    "select cast('' as varchar(1)) as check, deppcod as Código,deppdes as Descrição from depp where "
    "deppdes like :0 order by deppdes");

// Prepares the window as the multi-choice flow does and shows it (not modally).
std::unique_ptr<TFormLAvanc> abre(const QString& sql = kListagem) {
    auto janela = std::make_unique<TFormLAvanc>();
    db::Query& q = *janela->QueryLoc;
    q.setSql(sql);
    q.setParam(0, db::Value::fromText(QStringLiteral("%")));
    q.open();
    janela->DBGridB->addColumn(q.field(0).name, QString(), 20);
    for (int k = 1; k < q.fieldCount(); ++k)
        janela->DBGridB->addColumn(q.field(k).name, BuscaDisplayLabel(nullptr, q.field(k).name), 100);
    janela->show();
    return janela;
}

QStringList marcados(db::Query& q) {
    QStringList codigos;
    for (int r = 0; r < q.rowCount(); ++r)
        if (q.value(r, 0).text() == u"X")
            codigos << q.value(r, 1).toString();
    return codigos;
}

void tecla(TFormLAvanc& j, QChar c) {
    QChar k = c;
    j.DBGridBKeyPress(j.DBGridB, k);
}

} // namespace

class TestFormLAvanc : public QObject {
    Q_OBJECT
    std::unique_ptr<testsupport::TestDataModule> m_dm;

private slots:
    void initTestCase() {
        REQUIRE_TEST_DB();
        m_dm = std::make_unique<testsupport::TestDataModule>();
    }
    void init() {
        ColAntDBGridBL = 0;
        UFormLAvanc::Escolheu = false;
    }

    void layout() {
        QCOMPARE(TFormLAvanc().painelStatus(1)->width(), 200);
        auto j = abre();
        QCOMPARE(j->windowTitle(), QStringLiteral("Busca"));
        QCOMPARE(j->size(), QSize(734, 448));
        QVERIFY(!j->DBGridB->titleClicksEnabled());
        QCOMPARE(j->DBGridB->selectedIndex(), 0);  // the mark column after showing
        QCOMPARE(j->painelStatus(1)->width(), 14); // sized for the one-character mark
        QCOMPARE(UFormLAvanc::TipoCampo, 1);
        QCOMPARE(j->painelStatus(0)->text(), QStringLiteral("Busca por :"));
    }

    void firstWindowSortsDescendingByColumnOne() {
        auto j = abre();
        QCOMPARE(ColAntDBGridBL, 1);
        QVERIFY(j->QueryLoc->sql().contains(QStringLiteral("ORDER BY DEPPCOD DESC")));
        QCOMPARE(j->QueryLoc->value(0, 1).toInt(), 8);
    }

    void blankOnMarkColumnAndDoubleClickToggle() {
        auto j = abre();
        db::Query& q = *j->QueryLoc;
        q.moveTo(2);
        tecla(*j, u' ');
        QCOMPARE(marcados(q), QStringList({"6"}));
        QCOMPARE(j->painelStatus(1)->text(), QString()); // the blank is no search text
        q.moveTo(4);
        j->DBGridBDblClick(nullptr);
        QCOMPARE(marcados(q), QStringList({"6", "4"}));
        q.moveTo(2);
        tecla(*j, u' ');
        QCOMPARE(marcados(q), QStringList({"4"}));
        QVERIFY(j->isVisible()); // a double click does not close the window
    }

    void typingRequeriesAndLosesTheMarks() {
        auto j = abre();
        db::Query& q = *j->QueryLoc;
        q.moveTo(1);
        tecla(*j, u' ');
        QCOMPARE(marcados(q).size(), 1);
        j->DBGridB->setSelectedIndex(2);
        tecla(*j, u'b');
        QCOMPARE(j->painelStatus(1)->text(), QStringLiteral("B"));
        QVERIFY(marcados(q).isEmpty());
        QCOMPARE(q.param(0).text(), QStringLiteral("%B%"));
        QCOMPARE(ColAntDBGridBL, 2); // the shared index follows the typing column
    }

    void numericColumnRefusesLetters_data() {
        QTest::addColumn<QChar>("digitada");
        QTest::addColumn<QString>("busca");
        QTest::newRow("letter") << QChar(u'a') << "";
        QTest::newRow("digit") << QChar(u'5') << "5";
        QTest::newRow("comma") << QChar(u',') << ".";
        QTest::newRow("blank") << QChar(u' ') << "";
    }
    void numericColumnRefusesLetters() {
        QFETCH(QChar, digitada);
        auto j = abre();
        j->DBGridB->setSelectedIndex(1);
        QCOMPARE(UFormLAvanc::TipoCampo, 0);
        tecla(*j, digitada);
        QTEST(j->painelStatus(1)->text(), "busca");
    }

    void enterWithoutMarksTakesTheRowUnderTheCursor() {
        auto j = abre();
        db::Query& q = *j->QueryLoc;
        q.moveTo(3);
        const QString codigo = q.value(3, 1).toString();
        tecla(*j, QChar(13));
        QVERIFY(UFormLAvanc::Escolheu);
        QVERIFY(q.active());
        QVERIFY(!q.filtered());
        QCOMPARE(marcados(q), QStringList({codigo}));
        QVERIFY(!j->isVisible());
    }

    void enterWithMarksKeepsExactlyThem() {
        auto j = abre();
        db::Query& q = *j->QueryLoc;
        q.moveTo(0);
        tecla(*j, u' ');
        q.moveTo(5);
        tecla(*j, u' ');
        const QStringList antes = marcados(q);
        q.moveTo(3); // the cursor elsewhere does not count
        tecla(*j, QChar(13));
        QCOMPARE(marcados(q), antes);
    }

    void escDropsEverything() {
        auto j = abre();
        db::Query& q = *j->QueryLoc;
        tecla(*j, u' ');
        tecla(*j, QChar(27));
        QVERIFY(!UFormLAvanc::Escolheu);
        QVERIFY(!q.active());
        QVERIFY(!j->isVisible());
    }

    void closeBoxDropsEverything() {
        auto j = abre();
        j->close();
        QVERIFY(!j->QueryLoc->active());
    }

    void sharedColumnCarriesToTheNextWindows() {
        {
            auto j = abre();
            j->DBGridB->setSelectedIndex(2);
            tecla(*j, u'a');
            tecla(*j, QChar(27));
        }
        QCOMPARE(ColAntDBGridBL, 2);
        auto proxima = abre();
        QVERIFY(proxima->QueryLoc->sql().contains(QStringLiteral("ORDER BY DEPPDES DESC")));
        QCOMPARE(ColAntDBGridBL, 2);
    }

    void marksNeverReachTheServer() {
        auto j = abre();
        db::Query& q = *j->QueryLoc;
        for (int r = 0; r < q.rowCount(); ++r) {
            q.moveTo(r);
            tecla(*j, u' ');
        }
        tecla(*j, QChar(13));
        db::Query somenteLeitura(&DM->FDConnection1);
        somenteLeitura.setSql("show transaction_read_only");
        somenteLeitura.open();
        QCOMPARE(somenteLeitura.value(0).text(), QStringLiteral("on"));
        db::Query depp(&DM->FDConnection1);
        depp.setSql("select count(*) from depp where deppdes = 'X' or deppcod::text = 'X'");
        depp.open();
        QCOMPARE(depp.value(0).toInt(), 0);
    }
};

QTEST_MAIN(TestFormLAvanc)
#include "tst_formlavanc.moc"
