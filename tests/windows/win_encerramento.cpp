// Windows' requests to end (WM_CLOSE from outside, a logoff) become encerramentoPedido, while the
// user closing one window with its own close command stays Qt's business. Run with the real
// Windows platform plugin (under Wine on Xvfb), so messages go through Qt's window procedure.
#include "app/EncerramentoPorSinal.h"

#include <QApplication>
#include <QSignalSpy>
#include <QWidget>
#include <QtTest>

#include <stdexcept>

#include <windows.h>

Q_DECLARE_METATYPE(UINT)

class TstEncerramento : public QObject {
    Q_OBJECT
private slots:
    void pedidosDeFora_data() {
        QTest::addColumn<UINT>("mensagem");
        QTest::addColumn<WPARAM>("wparam");
        QTest::addColumn<int>("pedido");
        QTest::newRow("WM_CLOSE") << UINT(WM_CLOSE) << WPARAM(0) << int(WM_CLOSE);
        QTest::newRow("WM_QUERYENDSESSION")
            << UINT(WM_QUERYENDSESSION) << WPARAM(0) << int(WM_QUERYENDSESSION);
        QTest::newRow("WM_ENDSESSION") << UINT(WM_ENDSESSION) << WPARAM(TRUE) << int(WM_ENDSESSION);
    }
    void pedidosDeFora() {
        QFETCH(UINT, mensagem);
        QFETCH(WPARAM, wparam);
        QFETCH(int, pedido);
        QWidget janela;
        janela.show();
        QVERIFY(QTest::qWaitForWindowExposed(&janela));
        const HWND hwnd = reinterpret_cast<HWND>(janela.winId());
        EncerramentoPorSinal encerramento;
        QVERIFY_THROWS_EXCEPTION(std::logic_error, EncerramentoPorSinal{});
        QSignalSpy pedidos(&encerramento, &EncerramentoPorSinal::encerramentoPedido);
        // Posted (taskkill does that) and sent (another program's SendMessage).
        QVERIFY(PostMessageW(hwnd, mensagem, wparam, 0));
        QTRY_COMPARE(pedidos.size(), 1);
        SendMessageW(hwnd, mensagem, wparam, 0);
        QTRY_COMPARE(pedidos.size(), 2);
        QCOMPARE(pedidos.at(0).at(0).toInt(), pedido);
        QCOMPARE(pedidos.at(1).at(0).toInt(), pedido);
        // Ending is the program's decision: the window itself is still there.
        QVERIFY(janela.isVisible());
    }

    void logoffCanceladoNaoEncerra() {
        QWidget janela;
        janela.show();
        QVERIFY(QTest::qWaitForWindowExposed(&janela));
        EncerramentoPorSinal encerramento;
        QSignalSpy pedidos(&encerramento, &EncerramentoPorSinal::encerramentoPedido);
        SendMessageW(reinterpret_cast<HWND>(janela.winId()), WM_ENDSESSION, FALSE, 0);
        QTest::qWait(200);
        QCOMPARE(pedidos.size(), 0);
    }

    // The window's own close command (its X, Alt+F4, the window manager's close) closes that
    // window as on Linux, and is no request to end the program.
    void fechamentoDoUsuarioFechaSoAJanela() {
        QWidget janela;
        janela.show();
        QVERIFY(QTest::qWaitForWindowExposed(&janela));
        EncerramentoPorSinal encerramento;
        QSignalSpy pedidos(&encerramento, &EncerramentoPorSinal::encerramentoPedido);
        QVERIFY(PostMessageW(reinterpret_cast<HWND>(janela.winId()), WM_SYSCOMMAND, SC_CLOSE, 0));
        QTRY_VERIFY(!janela.isVisible());
        QCOMPARE(pedidos.size(), 0);
        // A WM_CLOSE from outside afterwards is a request again.
        QWidget outra;
        outra.show();
        QVERIFY(QTest::qWaitForWindowExposed(&outra));
        QVERIFY(PostMessageW(reinterpret_cast<HWND>(outra.winId()), WM_CLOSE, 0, 0));
        QTRY_COMPARE(pedidos.size(), 1);
    }

    // Once the owner is gone, WM_CLOSE closes a window as Qt always did, and a new owner can be made.
    void semDonoOQtFecha() {
        { EncerramentoPorSinal encerramento; }
        QWidget janela;
        janela.show();
        QVERIFY(QTest::qWaitForWindowExposed(&janela));
        QVERIFY(PostMessageW(reinterpret_cast<HWND>(janela.winId()), WM_CLOSE, 0, 0));
        QTRY_VERIFY(!janela.isVisible());
        EncerramentoPorSinal deNovo;
    }
};

QTEST_MAIN(TstEncerramento)
#include "win_encerramento.moc"
