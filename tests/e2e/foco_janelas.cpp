// The filter window's focus after a search window closes, under a real X server and window
// manager (run by e2e_foco.sh): the window manager hands the focus back to the filter window as
// on a desktop, on the control the search flow chose. That control must look focused and hold
// its entry record; the code edit left must look normal again.
#include "app/FormPrincipal.h"
#include "lookup/CriadorLookup.h"
#include "search/FormL.h"
#include "widgets/DataGrid.h"

#include "ModalDriver.h"
#include "TestDb.h"

#include <QApplication>
#include <QtTest>

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

} // namespace

class FocoJanelas : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        REQUIRE_TEST_DB();
        QVERIFY2(QGuiApplication::platformName() == QStringLiteral("xcb"), "needs an X server");
    }
    void cleanup() {
        testsupport::cancelPendingModalDrivers();
        NaoPassouOnEnter = false;
        BotaoAtivo = false;
    }

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
};

QTEST_MAIN(FocoJanelas)
#include "foco_janelas.moc"
