#pragma once
// Turns SIGTERM, SIGINT and SIGHUP into an orderly end of the event loop, so a session logout
// or a `kill` from the host closes the windows and frees everything instead of dying mid-way.
#include <QObject>

class QSocketNotifier;

class EncerramentoPorSinal : public QObject {
    Q_OBJECT
public:
    // Installs the handlers alone, before anything slow (creating the application, connecting to
    // the display): a request that comes meanwhile waits in the pipe. Returns false when that
    // failed; the constructor then tries again. Call at most once, before the constructor.
    static bool instalarCedo() noexcept;

    // Only one may exist at a time: a signal handler can reach no object, only a descriptor.
    explicit EncerramentoPorSinal(QObject* parent = nullptr);
    ~EncerramentoPorSinal() override;

    EncerramentoPorSinal(const EncerramentoPorSinal&) = delete;
    EncerramentoPorSinal& operator=(const EncerramentoPorSinal&) = delete;

    // Emits encerramentoPedido now for requests that came before the event loop ran.
    void lerPendentes() { lerSinal(); }

signals:
    // Emitted from the event loop (never from the handler) with the signal's number.
    void encerramentoPedido(int sinal);

private:
    void lerSinal();
    QSocketNotifier* notificador_ = nullptr;
};
