// The filter window's focus after a search window closes, under a real X server and window
// manager (run by e2e_foco.sh): the window manager hands the focus back to the filter window as
// on a desktop, on the control the search flow chose. That control must look focused and hold
// its entry record; the code edit left must look normal again. A choice validates nothing more:
// the server's log of the session's statements shows none after it.
#include "app/FormPrincipal.h"
#include "lookup/CriadorLookup.h"
#include "search/FormL.h"
#include "widgets/DataGrid.h"

#include "ModalDriver.h"
#include "TestDb.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <libpq-fe.h>
#include <memory>

namespace {

const QColor kFundoComFoco(0x00, 0x80, 0xC0);

bool pareceFocado(const widgets::EventEdit* e) {
    return e->palette().color(QPalette::Base) == kFundoComFoco && e->font().bold();
}

bool pareceNormal(const widgets::EventEdit* e) {
    return e->palette().color(QPalette::Base) == QColor(Qt::white) && !e->font().bold();
}

TCriadorLookup* controladorDe(QWidget* janela, QWidget* codigo) {
    for (auto* c : janela->findChildren<TCriadorLookup*>())
        if (c->EditCodigo() == codigo)
            return c;
    return nullptr;
}

// The statements the server logged for backend `pid` from byte `desde` of its log on.
QStringList comandosNoLog(const QString& log, qint64 desde, int pid) {
    QFile f(log);
    if (!f.open(QIODevice::ReadOnly) || !f.seek(desde))
        return {QStringLiteral("<log unreadable: %1>").arg(log)};
    const QByteArray marca = QByteArray("[") + QByteArray::number(pid) + "] LOG:  ";
    QStringList comandos;
    for (const QByteArray& linha : f.readAll().split('\n'))
        if (const qsizetype p = linha.indexOf(marca); p >= 0) {
            const QByteArray resto = linha.mid(p + marca.size());
            if (resto.startsWith("statement:") || resto.startsWith("execute"))
                comandos << QString::fromUtf8(resto);
        }
    return comandos;
}

qint64 tamanho(const QString& arquivo) {
    return QFileInfo(arquivo).size();
}

// Counts the search windows shown.
class ContaBuscas : public QObject {
public:
    int mostradas = 0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show && qobject_cast<TFormL*>(o)) {
            // A second one is closed at once, so that the test goes on to report it.
            if (++mostradas > 1)
                QMetaObject::invokeMethod(
                    o, [o] { static_cast<QWidget*>(o)->close(); }, Qt::QueuedConnection);
        }
        return false;
    }
};

} // namespace

class FocoJanelas : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        REQUIRE_TEST_DB();
        QVERIFY2(QGuiApplication::platformName() == QStringLiteral("xcb"), "needs an X server");
    }
    void cleanup() { testsupport::cancelPendingModalDrivers(); }

    void focoDepoisDaBusca_data() {
        QTest::addColumn<QString>("como");
        QTest::addColumn<bool>("escolhe");
        QTest::addColumn<bool>("avanca");
        QTest::newRow("search button") << "botão" << true << true;
        QTest::newRow("unknown code and Tab") << "Tab" << true << true;
        QTest::newRow("blank") << "espaço" << true << true;
        QTest::newRow("unknown code and Tab, Esc") << "Tab" << false << false;
        QTest::newRow("blank, Esc") << "espaço" << false << false;
    }
    void focoDepoisDaBusca() {
        QFETCH(QString, como);
        QFETCH(bool, escolhe);
        QFETCH(bool, avanca);
        testsupport::TestDataModule banco;
        using testsupport::env;
        TFormPrincipal janela({"prog", env("ZV_TEST_PGHOST"), env("ZV_TEST_PGPORT"), env("ZV_TEST_PGUSER"),
                               env("ZV_TEST_PGPASSWORD"), env("ZV_TEST_PGDATABASE"), "1", "1", "teste"});
        janela.FormCreate();
        janela.show();
        janela.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&janela));

        widgets::EventEdit* const deixado = janela.EditDepp;
        widgets::EventEdit* const proximo = janela.EditSecp;
        proximo->setText(QStringLiteral("13"));
        deixado->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), deixado);
        QVERIFY(pareceFocado(deixado));

        bool abriu = false;
        testsupport::whenModal(
            [escolhe](QWidget* modal) {
                auto* busca = qobject_cast<TFormL*>(modal);
                if (!busca || !QTest::qWaitForWindowActive(busca)) {
                    modal->close();
                    return;
                }
                QTest::keyClick(busca->DBGridB, escolhe ? Qt::Key_Return : Qt::Key_Escape);
            },
            &abriu, 15000);
        if (como == QStringLiteral("botão")) {
            janela.bbDepp->click();
        } else if (como == QStringLiteral("Tab")) {
            deixado->setText(QStringLiteral("9999"));
            QTest::keyClick(deixado, Qt::Key_Tab);
        } else {
            QTest::keyClick(deixado, Qt::Key_Space, Qt::NoModifier);
        }
        QTRY_VERIFY_WITH_TIMEOUT(abriu, 15000);
        QTRY_VERIFY(FormL == nullptr);
        // The window manager gives the focus back to the filter window.
        QTRY_VERIFY(janela.isActiveWindow());

        widgets::EventEdit* const focado = avanca ? proximo : deixado;
        QTRY_COMPARE(QApplication::focusWidget(), focado);
        QVERIFY2(pareceFocado(focado), "the control with the focus does not look focused");
        QCOMPARE(controladorDe(&janela, focado)->ConteudoNaEntrada(), focado->text());
        if (avanca) {
            QVERIFY2(pareceNormal(deixado), "the code edit left still looks focused");
            QVERIFY(!deixado->text().isEmpty());
            QVERIFY(!janela.EditDeppDes->text().isEmpty());
        }
    }

    // A blank in the department opens its search without leaving the field; Enter on a row then
    // writes the row and moves on while the search is still under way, so leaving the department
    // validates nothing: no statement, no second window, and the next field entered once.
    void escolhaSemValidacao_data() {
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QString>("descricao");
        QTest::newRow("row with a description") << "6" << QString::fromUtf8("AÇOUGUE");
        QTest::newRow("row with an empty description") << "9"
                                                       << "";
    }
    void escolhaSemValidacao() {
        QFETCH(QString, codigo);
        QFETCH(QString, descricao);
        using testsupport::env;
        const QString log = env("ZV_FOCO_LOG");
        QVERIFY2(!log.isEmpty(), "ZV_FOCO_LOG not set: run through e2e_foco.sh");
        testsupport::TestDataModule banco;
        TFormPrincipal janela({"prog", env("ZV_TEST_PGHOST"), env("ZV_TEST_PGPORT"), env("ZV_FOCO_PGUSER"),
                               env("ZV_FOCO_PGPASSWORD"), env("ZV_TEST_PGDATABASE"), "1", "1", "teste"});
        janela.FormCreate();
        const int pid = PQbackendPID(banco.dm().FDConnection1.handle());
        janela.show();
        janela.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&janela));
        ContaBuscas buscas;
        qApp->installEventFilter(&buscas);

        widgets::EventEdit* const deixado = janela.EditDepp;
        widgets::EventEdit* const proximo = janela.EditSecp;
        deixado->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), deixado);
        proximo->setText(QStringLiteral("13"));

        qint64 antesDaEscolha = -1;
        bool abriu = false;
        testsupport::whenModal(
            [&](QWidget* modal) {
                auto* busca = qobject_cast<TFormL*>(modal);
                if (!busca || !QTest::qWaitForWindowActive(busca)) {
                    modal->close();
                    return;
                }
                QTest::keyClicks(busca->DBGridB, codigo); // narrows the list to that code
                antesDaEscolha = tamanho(log);
                QTest::keyClick(busca->DBGridB, Qt::Key_Return);
            },
            &abriu, 15000);
        QTest::keyClick(deixado, Qt::Key_Space, Qt::NoModifier);
        QTRY_VERIFY_WITH_TIMEOUT(abriu, 15000);
        QTRY_VERIFY(FormL == nullptr);
        QTRY_VERIFY(janela.isActiveWindow());
        QTRY_COMPARE(QApplication::focusWidget(), proximo);
        qApp->removeEventFilter(&buscas);

        QCOMPARE(deixado->text(), codigo);
        QCOMPARE(janela.EditDeppDes->text(), descricao);
        QCOMPARE(buscas.mostradas, 1);
        QVERIFY2(pareceFocado(proximo), "the next field does not look focused");
        QVERIFY2(pareceNormal(deixado), "the department still looks focused");
        QCOMPARE(controladorDe(&janela, proximo)->ConteudoNaEntrada(), QStringLiteral("13"));
        QCOMPARE(janela.estadoLookups().ConteudoDBEditAntLook, QStringLiteral("13"));
        QVERIFY(!janela.estadoLookups().NaoPassouOnEnter);

        // The log holds the session's statements up to the choice, and none after it.
        QVERIFY(antesDaEscolha > 0);
        const QStringList antes = comandosNoLog(log, 0, pid);
        QVERIFY2(antes.filter(QStringLiteral("deppdes like")).size() > 0, qPrintable(antes.join(u'\n')));
        const QStringList depois = comandosNoLog(log, antesDaEscolha, pid);
        QVERIFY2(depois.isEmpty(), qPrintable(depois.join(u'\n')));
    }
};

QTEST_MAIN(FocoJanelas)
#include "foco_janelas.moc"
