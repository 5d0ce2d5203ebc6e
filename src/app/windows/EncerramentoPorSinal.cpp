// Windows has no SIGTERM: a host ends a program by posting WM_CLOSE to its windows (taskkill
// without /F does that), a logoff sends WM_QUERYENDSESSION and WM_ENDSESSION, and a console, if
// the program has one, sends control events. All of them become encerramentoPedido with the
// message's number, as the signals do on Linux.
#include "app/EncerramentoPorSinal.h"

#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QPointer>

#include <atomic>
#include <memory>
#include <stdexcept>

#include <windows.h>

namespace {

// The one instance, for the console handler (which runs on a thread of its own) and the filter.
std::atomic<EncerramentoPorSinal*> gInstancia{nullptr};
// Set by the destructor, so a console close waits for the orderly end before Windows ends the
// process. Never closed: the console thread may still be waiting on it.
HANDLE gTerminou = CreateEventW(nullptr, TRUE, FALSE, nullptr);

void pedeEncerramento(int mensagem) {
    if (EncerramentoPorSinal* e = gInstancia.load())
        QMetaObject::invokeMethod(e, "encerramentoPedido", Qt::QueuedConnection, Q_ARG(int, mensagem));
}

BOOL WINAPI aoEventoDoConsole(DWORD evento) {
    switch (evento) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        pedeEncerramento(WM_CLOSE);
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        // Windows ends the process when this returns: wait (a while) for the loop to finish.
        pedeEncerramento(evento == CTRL_CLOSE_EVENT ? WM_CLOSE : WM_ENDSESSION);
        if (gTerminou != nullptr)
            WaitForSingleObject(gTerminou, 4000);
        return TRUE;
    default:
        return FALSE;
    }
}

// The window whose own close command (WM_SYSCOMMAND, SC_CLOSE) is being handled, until the
// event loop comes round again. Not a member of the filter: the clearing call may run after the
// filter is gone.
HWND gFechamentoDoUsuario = nullptr;

// A WM_CLOSE that follows the window's own close command (its X button, Alt+F4, the window
// manager) is the user closing that one window, and Qt handles it as on Linux; any other
// WM_CLOSE comes from outside and ends the program.
class FiltroDeFechamento : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& tipo, void* mensagem, qintptr* resultado) override {
        if (tipo != "windows_generic_MSG")
            return false;
        // The event dispatcher passes posted messages with no result, the window procedure with one.
        qintptr ignorado = 0;
        if (resultado == nullptr)
            resultado = &ignorado;
        const MSG* msg = static_cast<const MSG*>(mensagem);
        switch (msg->message) {
        case WM_SYSCOMMAND:
            if ((msg->wParam & 0xFFF0) == SC_CLOSE) {
                // DefWindowProc sends the WM_CLOSE at once, before any queued event runs.
                gFechamentoDoUsuario = msg->hwnd;
                QMetaObject::invokeMethod(
                    qApp, [] { gFechamentoDoUsuario = nullptr; }, Qt::QueuedConnection);
            }
            return false;
        case WM_CLOSE:
            if (msg->hwnd == gFechamentoDoUsuario) {
                gFechamentoDoUsuario = nullptr;
                return false;
            }
            pedeEncerramento(WM_CLOSE);
            *resultado = 0;
            return true;
        case WM_QUERYENDSESSION:
            // Nothing here needs saving: agree, and start closing.
            pedeEncerramento(WM_QUERYENDSESSION);
            *resultado = TRUE;
            return true;
        case WM_ENDSESSION:
            if (msg->wParam == TRUE)
                pedeEncerramento(WM_ENDSESSION);
            *resultado = 0;
            return true;
        default:
            return false;
        }
    }
};

std::unique_ptr<FiltroDeFechamento> gFiltro;

} // namespace

// The requests handled here are messages to windows, which do not exist before the application.
bool EncerramentoPorSinal::instalarCedo() noexcept {
    return true;
}

EncerramentoPorSinal::EncerramentoPorSinal(QObject* parent) : QObject(parent) {
    EncerramentoPorSinal* nenhuma = nullptr;
    if (!gInstancia.compare_exchange_strong(nenhuma, this))
        throw std::logic_error("EncerramentoPorSinal: only one instance may exist");
    if (gTerminou != nullptr)
        ResetEvent(gTerminou);
    gFiltro = std::make_unique<FiltroDeFechamento>();
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->installNativeEventFilter(gFiltro.get());
    SetConsoleCtrlHandler(aoEventoDoConsole, TRUE);
}

EncerramentoPorSinal::~EncerramentoPorSinal() {
    SetConsoleCtrlHandler(aoEventoDoConsole, FALSE);
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeNativeEventFilter(gFiltro.get());
    gFiltro.reset();
    gInstancia.store(nullptr);
    if (gTerminou != nullptr)
        SetEvent(gTerminou);
}

void EncerramentoPorSinal::lerSinal() {}
