#include "Digitacao.h"
#include "ModalDriver.h"
#include "TestDb.h"
#include "base/AppError.h"
#include "db/Query.h"
#include "widgets/DataGrid.h"
#include "widgets/QueryModel.h"

#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

using db::Value;

using testsupport::digita;

namespace {

const QString kDepp =
    QStringLiteral("select deppcod, deppdes from depp where deppdes like :0 order by deppcod");

// A dialog holding a grid over the department listing.
struct Tela {
    std::unique_ptr<QDialog> janela = std::make_unique<QDialog>();
    DataGrid* grade = new DataGrid(janela.get());
    db::Query* query = new db::Query(&DM->FDConnection1, janela.get());

    explicit Tela(bool comColunas = true) {
        auto* layout = new QVBoxLayout(janela.get());
        layout->addWidget(grade);
        janela->resize(400, 300);
        query->setSql(kDepp);
        query->setParam(0, Value::fromText(QStringLiteral("%")));
        query->open();
        grade->setQuery(query);
        if (comColunas) {
            grade->addColumn(QStringLiteral("DEPPCOD"), QStringLiteral("Código"), 60);
            grade->addColumn(QStringLiteral("deppdes"), QStringLiteral("Descrição"), 200);
        }
    }
    bool mostra() {
        janela->show();
        QApplication::setActiveWindow(janela.get());
        grade->setFocus();
        return QTest::qWaitForWindowExposed(janela.get());
    }
    void requery(const QString& filtro) {
        query->close();
        query->setParam(0, Value::fromText(filtro));
        query->open();
    }
    void clicaTitulo(int coluna) {
        QHeaderView* t = grade->horizontalHeader();
        QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(t->sectionViewportPosition(coluna) + 10, t->height() / 2));
    }
};

} // namespace

class TestDataGrid : public QObject {
    Q_OBJECT
    std::unique_ptr<testsupport::TestDataModule> m_dm;

private slots:
    void initTestCase() {
        REQUIRE_TEST_DB();
        m_dm = std::make_unique<testsupport::TestDataModule>();
    }

    void modelIsLiveAndBoundsChecked() {
        Tela t;
        QueryModel* m = t.grade->queryModel();
        QCOMPARE(m->rowCount(), 8);
        QCOMPARE(m->index(4, 1).data().toString(), QStringLiteral("HORTIFRÚTI"));
        QCOMPARE(m->index(4, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
                 Qt::AlignRight);
        QCOMPARE(m->index(4, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
                 Qt::AlignLeft);
        QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Descrição"));

        const QModelIndex velho = m->index(5, 1);
        const QModelIndex primeiro = m->index(0, 0);
        t.requery(QStringLiteral("H%"));
        QCOMPARE(m->rowCount(), 2); // re-read, nothing kept from before
        QVERIFY(!m->index(5, 1).isValid());
        QVERIFY(!m->data(velho).isValid()); // an index from before reads nothing
        t.query->close();
        QCOMPARE(m->rowCount(), 0);
        QCOMPARE(m->columnCount(), 2); // added columns stay
        QVERIFY(!m->data(primeiro).isValid());
        QCOMPARE(t.grade->columnFieldIndex(0), -1);
    }

    void columnsBindByNameWithUnicodeFolding() {
        Tela t(false);
        t.query->close();
        t.query->setSql(
            QStringLiteral("SELECT DEPPDES AS DESCRIÇÃO, DEPPCOD AS CÓDIGO FROM DEPP ORDER BY DEPPCOD"));
        t.query->open();
        QCOMPARE(t.query->field(0).name, QStringLiteral("descriÇÃo"));
        t.grade->addColumn(QStringLiteral("código"), QStringLiteral("Código"), 60);
        t.grade->addColumn(QStringLiteral("descrição"), QStringLiteral("Descrição"), 200);
        t.grade->addColumn(QStringLiteral("nada"), QStringLiteral("Nada"), 50);
        QueryModel* m = t.grade->queryModel();
        QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("1"));
        QCOMPARE(m->index(0, 1).data().toString(), QStringLiteral("MERCEARIA"));
        QVERIFY(!m->index(0, 2).data().isValid()); // an unbound column stays blank
        QCOMPARE(t.grade->columnFieldIndex(1), 0);
        QCOMPARE(t.grade->columnFieldIndex(2), -1);
    }

    void defaultColumnsFollowTheResult() {
        Tela t(false);
        QCOMPARE(t.grade->columnCount(), 2);
        QCOMPARE(t.grade->columnTitle(1), QStringLiteral("deppdes"));
        QCOMPARE(t.grade->columnFieldName(0), QStringLiteral("deppcod"));
        QVERIFY(t.grade->columnWidth(1) > t.grade->columnWidth(0)); // varchar(40) wider than an integer
        t.query->close();
        QCOMPARE(t.grade->columnCount(), 0);
        t.query->setSql(QStringLiteral("select deppcod, deppdes, deppdes as outra from depp"));
        t.query->open();
        QCOMPARE(t.grade->columnCount(), 3);
    }

    void widthsSurviveRequeries() {
        Tela t;
        QVERIFY(t.mostra());
        QCOMPARE(t.grade->horizontalHeader()->sectionSize(1), 200);
        t.grade->horizontalHeader()->resizeSection(1, 150); // as a user drag does
        QCOMPARE(t.grade->columnWidth(1), 150);
        t.requery(QStringLiteral("%A%"));
        QCOMPARE(t.grade->horizontalHeader()->sectionSize(0), 60);
        QCOMPARE(t.grade->horizontalHeader()->sectionSize(1), 150);
    }

    void cursorFollowsTheQueryBothWays() {
        Tela t;
        QVERIFY(t.mostra());
        QueryModel* m = t.grade->queryModel();
        QList<int> entradas;
        t.grade->OnColEnter = [&](QObject*) { entradas << t.grade->selectedIndex(); };

        QTest::mouseClick(t.grade->viewport(), Qt::LeftButton, Qt::NoModifier,
                          t.grade->visualRect(m->index(3, 1)).center());
        QCOMPARE(t.query->recNo(), 3);
        QCOMPARE(entradas, QList<int>{1});
        QTest::keyClick(t.grade, Qt::Key_Down);
        QCOMPARE(t.query->recNo(), 4);
        t.query->moveTo(6);
        QCOMPARE(t.grade->currentIndex(), m->index(6, 1));
        QTest::keyClick(t.grade, Qt::Key_Left);
        QCOMPARE(entradas, (QList<int>{1, 0}));
        t.grade->setSelectedIndex(1);
        QCOMPARE(entradas, (QList<int>{1, 0, 1}));
        t.grade->setSelectedIndex(1); // no change, no event
        t.grade->setSelectedIndex(5); // no such column
        QCOMPARE(entradas.size(), 3);
        QCOMPARE(t.grade->selectedIndex(), 1);

        // A re-query keeps the selected column and starts at the first row.
        t.requery(QStringLiteral("%E%"));
        QCOMPARE(t.grade->currentIndex(), m->index(0, 1));
        QCOMPARE(entradas.size(), 3);
    }

    void titleClicks_data() {
        QTest::addColumn<bool>("ligados");
        QTest::newRow("enabled") << true;
        QTest::newRow("disabled") << false;
    }
    void titleClicks() {
        QFETCH(bool, ligados);
        Tela t;
        t.grade->setTitleClicksEnabled(ligados);
        QVERIFY(t.mostra());
        t.query->moveTo(5);
        QList<int> cliques;
        t.grade->OnTitleClick = [&](int coluna) { cliques << coluna; };
        t.clicaTitulo(1);
        QCOMPARE(cliques, ligados ? QList<int>{1} : QList<int>{});
        // A title press selects neither a column nor another row.
        QCOMPARE(t.query->recNo(), 5);
        QCOMPARE(t.grade->selectedIndex(), 0);
    }

    void typedCharacters_data() {
        QTest::addColumn<QString>("acao"); // what the key slot does
        QTest::addColumn<QString>("recebidas");
        QTest::addColumn<bool>("rejeitada"); // the dialog closed through Esc
        QTest::newRow("no slot") << ""
                                 << "" << true;
        QTest::newRow("slot lets keys through") << "passa"
                                                << "h\x1b" << true;
        QTest::newRow("slot swallows") << "engole"
                                       << "h\x1b" << false;
    }
    void typedCharacters() {
        QFETCH(QString, acao);
        QFETCH(QString, recebidas);
        QFETCH(bool, rejeitada);
        Tela t;
        QVERIFY(t.mostra());
        QString vistas;
        if (!acao.isEmpty())
            t.grade->OnKeyPress = [&](QObject* s, QChar& k) {
                QCOMPARE(s, t.grade);
                vistas += k;
                if (acao == u"engole")
                    k = QChar(0);
            };
        t.query->moveTo(2);
        digita(t.grade, QStringLiteral("h")); // the view's own type-ahead would jump to HIGIENE/HORTIFRÚTI
        QCOMPARE(t.query->recNo(), 2);
        digita(t.grade, QStringLiteral("\x1b"));
        QCOMPARE(vistas, recebidas);
        QCOMPARE(t.janela->isVisible(), !rejeitada);
    }

    // Text from an input method (dead keys) or a key typing several units reaches the key slot
    // one character at a time, never the view's type-ahead; beyond U+FFFF nothing reaches it.
    void composedTextIsTypedCharByChar_data() {
        QTest::addColumn<bool>("metodo"); // input method commit, or one key event
        QTest::newRow("input method") << true;
        QTest::newRow("one key event") << false;
    }
    void composedTextIsTypedCharByChar() {
        QFETCH(bool, metodo);
        Tela t;
        QVERIFY(t.mostra());
        QString vistas;
        t.grade->OnKeyPress = [&](QObject*, QChar& k) { vistas += k; };
        t.query->moveTo(2);
        const QString texto = QStringLiteral("h\U0001F600é");
        if (metodo) {
            QInputMethodEvent evento;
            evento.setCommitString(texto);
            QApplication::sendEvent(t.grade, &evento);
        } else {
            QKeyEvent aperta(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, texto);
            QApplication::sendEvent(t.grade, &aperta);
        }
        QCOMPARE(vistas, QStringLiteral("hé"));
        QCOMPARE(t.query->recNo(), 2);
    }

    void failingDrawSlotIsReportedOnce() {
        Tela t;
        int chamadas = 0;
        t.grade->OnDrawColumnCell = [&](QPainter&, const QRect&, int, int, bool) {
            ++chamadas;
            throw AppError(QStringLiteral("falhou o desenho"));
        };
        QStringList caixas;
        bool rodou = false;
        testsupport::whenModal(
            [&](QWidget* modal) {
                if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                    caixas << box->text();
                    box->accept();
                }
            },
            &rodou);
        QVERIFY(t.mostra());
        t.grade->viewport()->repaint();
        t.grade->viewport()->repaint();
        QTRY_VERIFY(rodou);
        QVERIFY(chamadas > 1);
        QCOMPARE(caixas, QStringList{QStringLiteral("falhou o desenho.")});
        QTest::qWait(100);
        QCOMPARE(caixas.size(), 1);
    }
};

QTEST_MAIN(TestDataGrid)
#include "tst_datagrid.moc"
