// The lookup controller without a database: event take-over, description clearing, the
// entry record and the helpers that read the field.
#include "base/AppError.h"
#include "lookup/CriadorLookup.h"

#include <QTest>
#include <QVBoxLayout>

using widgets::EventButton;
using widgets::EventEdit;

namespace {

// A small window with one lookup field (code, two descriptions, button) and a plain edit.
struct Janela {
    EstadoLookups estado; // outlives the controls
    QWidget w;
    EventEdit* codigo = new EventEdit(&w);
    EventEdit* des0 = new EventEdit(&w);
    EventEdit* des1 = new EventEdit(&w);
    EventButton* botao = new EventButton(&w);
    EventEdit* outro = new EventEdit(&w);
    QStringList pedidos; // what the provider was asked
    Janela() {
        auto* l = new QVBoxLayout(&w);
        for (QWidget* c :
             {static_cast<QWidget*>(codigo), static_cast<QWidget*>(des0), static_cast<QWidget*>(des1),
              static_cast<QWidget*>(botao), static_cast<QWidget*>(outro)})
            l->addWidget(c);
        des0->setReadOnly(true);
        des1->setReadOnly(true);
    }
    TELookUpSQL provedor() {
        return [this](QObject*, quint8 evento) {
            pedidos << QString::number(evento);
            return QString();
        };
    }
};

} // namespace

class TestCriadorLookup : public QObject {
    Q_OBJECT
private slots:
    void takesOverOnlyFreeEvents() {
        Janela j;
        int proprios = 0;
        j.codigo->OnEnter = [&](QObject*) { ++proprios; };
        j.botao->OnClick = [&](QObject* s) { proprios += (s == j.codigo ? 100 : 10); };
        new TCriadorLookup(j.estado, j.codigo, {j.des0}, j.botao, j.provedor());
        // kept: the edit's own OnEnter and the button's own OnClick
        j.codigo->OnEnter(j.codigo);
        QCOMPARE(proprios, 1);
        j.botao->Click();
        QCOMPARE(proprios, 11);
        // taken over: OnChange, OnExit, OnKeyPress
        QVERIFY(widgets::Assigned(j.codigo->OnChange));
        QVERIFY(widgets::Assigned(j.codigo->OnExit));
        QVERIFY(widgets::Assigned(j.codigo->OnKeyPress));
        // leaving the code edit with a code runs the button's own handler, no validation
        j.codigo->setText("5");
        j.codigo->OnExit(j.codigo);
        QCOMPARE(proprios, 111);
        QVERIFY(j.pedidos.isEmpty());
    }

    void refusesWhatIsNotALookupField() {
        Janela j;
        QPushButton plain;
        QVERIFY_THROWS_EXCEPTION(InvalidTypeError,
                                 TCriadorLookup(j.estado, &plain, {j.des0}, j.botao, j.provedor()));
        QVERIFY_THROWS_EXCEPTION(RangeError, TCriadorLookup(j.estado, j.codigo, {}, j.botao, j.provedor()));
        QVERIFY_THROWS_EXCEPTION(InvalidTypeError,
                                 TCriadorLookup(j.estado, j.codigo, {j.des0}, nullptr, j.provedor()));
        // A refused construction leaves the code edit as it was: no handler of a dead object.
        QVERIFY(!widgets::Assigned(j.codigo->OnEnter));
        QVERIFY(!widgets::Assigned(j.codigo->OnExit));
        QVERIFY(!widgets::Assigned(j.codigo->OnChange));
        QVERIFY(!widgets::Assigned(j.codigo->OnKeyPress));
    }

    void changeClearsDescriptionsOnlyWhenTheFirstHasText_data() {
        QTest::addColumn<QString>("des0");
        QTest::addColumn<QString>("des1");
        QTest::addColumn<QString>("des0Depois");
        QTest::addColumn<QString>("des1Depois");
        QTest::newRow("both filled") << "BEBIDAS"
                                     << "X"
                                     << ""
                                     << "";
        QTest::newRow("first empty keeps others") << ""
                                                  << "X"
                                                  << ""
                                                  << "X";
    }
    void changeClearsDescriptionsOnlyWhenTheFirstHasText() {
        QFETCH(QString, des0);
        QFETCH(QString, des1);
        Janela j;
        new TCriadorLookup(j.estado, j.codigo, {j.des0, j.des1}, j.botao, j.provedor());
        j.des0->setText(des0);
        j.des1->setText(des1);
        j.codigo->setText("7"); // program change counts too
        QTEST(j.des0->text(), "des0Depois");
        QTEST(j.des1->text(), "des1Depois");
    }

    void auxiliaryEditsAreClearedToo() {
        Janela j;
        auto* c = new TCriadorLookup(j.estado, j.codigo, {j.des0}, j.botao, j.provedor());
        c->setEditDesAux({j.des1});
        j.des0->setText("A");
        j.des1->setText("B");
        j.codigo->setText("1");
        QCOMPARE(j.des1->text(), QString());
    }

    void houveAlteracao_data() {
        QTest::addColumn<QString>("naEntrada");
        QTest::addColumn<QString>("digitado"); // empty: untouched
        QTest::addColumn<bool>("alterado");
        QTest::newRow("7 untouched") << "7"
                                     << "" << false;
        QTest::newRow("007 untouched") << "007"
                                       << "" << true;
        QTest::newRow("7 typed again") << "7"
                                       << "7" << true;
    }
    void houveAlteracao() {
        QFETCH(QString, naEntrada);
        QFETCH(QString, digitado);
        Janela j;
        auto* c = new TCriadorLookup(j.estado, j.codigo, {j.des0}, j.botao, j.provedor());
        j.codigo->setText(naEntrada);
        j.codigo->OnEnter(j.codigo);
        if (!digitado.isEmpty()) {
            j.codigo->clear();
            j.codigo->setText(digitado);
        }
        QTEST(c->houveAlteracao(), "alterado");
    }

    void obtemValorVarios_data() {
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QString>("des0");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("several") << "VÁRIOS"
                                 << "3,17,20"
                                 << "'3','17','20'";
        QTest::newRow("one") << "15"
                             << ""
                             << "'15'";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
    }
    void obtemValorVarios() {
        QFETCH(QString, codigo);
        QFETCH(QString, des0);
        Janela j;
        auto* c = new TCriadorLookup(j.estado, j.codigo, {j.des0}, j.botao, j.provedor());
        j.codigo->setText(codigo);
        j.des0->setText(des0);
        QTEST(c->obtemValorVarios(), "esperado");
    }

    void entryRecordAndHandBack() {
        Janela j;
        new TCriadorLookup(j.estado, j.codigo, {j.des0, j.des1}, j.botao, j.provedor());
        j.codigo->setText("0012");
        j.des0->setText("FRUTAS");
        j.des1->setText("HORTIFRÚTI");
        // the first entry after start is not recorded
        j.codigo->OnEnter(j.codigo);
        QVERIFY(j.estado.ConteudoEditDes.isEmpty());
        j.estado.NaoPassouOnEnter = true;
        j.codigo->OnEnter(j.codigo);
        QVERIFY(!j.estado.NaoPassouOnEnter);
        QCOMPARE(j.estado.ConteudoDBEditAntLook, QStringLiteral("12"));
        QCOMPARE(j.estado.ConteudoEditDes, QStringList({"FRUTAS", "HORTIFRÚTI"}));
        // hand back
        j.des0->setText("?");
        j.des1->setText("?");
        TratarConteudodoEditDes(j.estado, {j.des0, j.des1}, u'p');
        QCOMPARE(j.des0->text(), QStringLiteral("FRUTAS"));
        QCOMPARE(j.des1->text(), QStringLiteral("HORTIFRÚTI"));
        QVERIFY(j.estado.ConteudoEditDes.isEmpty());
    }

    void handBackWithoutRecordOnlyClears_data() {
        QTest::addColumn<QChar>("acao");
        QTest::newRow("p") << QChar(u'p');
        QTest::newRow("r") << QChar(u'r');
    }
    void handBackWithoutRecordOnlyClears() {
        QFETCH(QChar, acao);
        Janela j;
        j.des0->setText("MOSTRADO");
        j.estado.ConteudoEditDes = QStringList{"GUARDADO", "OUTRO", "A MAIS"};
        j.estado.ConteudoDBEditAntLook.clear();
        TratarConteudodoEditDes(j.estado, {j.des0}, acao);
        QCOMPARE(j.des0->text(), QStringLiteral("MOSTRADO"));
        QCOMPARE(j.estado.ConteudoEditDes, QStringList({QString()})); // resized to the edits, emptied
    }

    void handBackNeverReachesAnotherField() {
        Janela a;
        Janela b;
        new TCriadorLookup(a.estado, a.codigo, {a.des0}, a.botao, a.provedor());
        new TCriadorLookup(a.estado, b.codigo, {b.des0}, b.botao, b.provedor());
        a.codigo->setText("5");
        a.des0->setText("HORTIFRÚTI");
        a.estado.NaoPassouOnEnter = true;
        a.codigo->OnEnter(a.codigo); // records field a
        b.codigo->setText("13");
        b.des0->setText("VERDURAS E LEGUMES");
        TratarConteudodoEditDes(a.estado, {b.des0}, u'p'); // b is a field of the same window, never recorded
        QCOMPARE(b.des0->text(), QStringLiteral("VERDURAS E LEGUMES"));
    }

    void leavingEmptyAsksNothing() {
        Janela j;
        new TCriadorLookup(j.estado, j.codigo, {j.des0}, j.botao, j.provedor());
        j.estado.NaoPassouOnEnter = false;
        j.codigo->OnExit(j.codigo);
        QVERIFY(j.pedidos.isEmpty());
        QVERIFY(!j.estado.NaoPassouOnEnter);
    }

    void unchangedExitHandsBackWithoutQuery() {
        Janela j;
        new TCriadorLookup(j.estado, j.codigo, {j.des0}, j.botao, j.provedor());
        j.codigo->setText("7");
        j.des0->setText("BEBIDAS");
        j.estado.NaoPassouOnEnter = true;
        j.codigo->OnEnter(j.codigo); // recorded: 7 / BEBIDAS
        j.codigo->OnExit(j.codigo);
        QVERIFY(j.pedidos.isEmpty());
        QCOMPARE(j.des0->text(), QStringLiteral("BEBIDAS"));
        QVERIFY(j.estado.NaoPassouOnEnter);
    }

    void exitErrorEmptiesTheCodeAndRaisesAgain() {
        Janela j;
        new TCriadorLookup(j.estado, j.codigo, {j.des0}, j.botao, j.provedor());
        j.codigo->setText(",,"); // changed, not a number
        QVERIFY_THROWS_EXCEPTION(ConversionError, j.codigo->OnExit(j.codigo));
        QCOMPARE(j.codigo->text(), QString());
        QCOMPARE(j.pedidos, QStringList({"1", "2"})); // both texts asked before either runs
    }

    void keyFilterAndSpace_data() {
        QTest::addColumn<QChar>("tecla");
        QTest::addColumn<bool>("somenteLeitura");
        QTest::addColumn<QChar>("resultado");
        QTest::addColumn<int>("buscas");
        QTest::newRow("digit") << QChar(u'7') << false << QChar(u'7') << 0;
        QTest::newRow("comma") << QChar(u',') << false << QChar(u',') << 0;
        QTest::newRow("letter") << QChar(u'A') << false << QChar() << 0;
        QTest::newRow("space opens search") << QChar(u' ') << false << QChar() << 1;
        QTest::newRow("space in read-only edit") << QChar(u' ') << true << QChar() << 0;
        QTest::newRow("backspace") << QChar(8) << false << QChar(8) << 0;
    }
    void keyFilterAndSpace() {
        QFETCH(QChar, tecla);
        QFETCH(bool, somenteLeitura);
        Janela j;
        int buscas = 0;
        new TCriadorLookup(j.estado, j.codigo, {j.des0}, j.botao, j.provedor());
        j.botao->OnClick = [&](QObject* s) { buscas += s == j.botao; };
        j.codigo->setReadOnly(somenteLeitura);
        j.codigo->OnKeyPress(j.codigo, tecla);
        QTEST(tecla, "resultado");
        QTEST(buscas, "buscas");
    }

    void propertiesDoNotMoveTheTakeOver() {
        Janela j;
        auto* c = new TCriadorLookup(j.estado, j.codigo, {j.des0}, j.botao, j.provedor());
        c->setEditCodigo(j.outro);
        QVERIFY(!widgets::Assigned(j.outro->OnExit));
        QVERIFY(c->PermiteSomenteNumeros());
        QVERIFY(c->BuscaUnica());
        QVERIFY(!c->PermiteMultiSelecao());
    }
};

QTEST_MAIN(TestCriadorLookup)
#include "tst_criadorlookup.moc"
