#include "app/EncerramentoPorSinal.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array kSinais = {SIGTERM, SIGINT, SIGHUP};

// The self-pipe: the handler writes the signal's number, the notifier reads it in the loop.
// A handler can only reach static storage; the constructor guards against a second owner.
int gPar[2] = {-1, -1};
bool gDono = false;

extern "C" void aoReceberSinal(int sinal) {
    const int salvo = errno;
    const unsigned char byte = static_cast<unsigned char>(sinal);
    [[maybe_unused]] const ssize_t n = ::write(gPar[0], &byte, 1);
    errno = salvo;
}

} // namespace

bool EncerramentoPorSinal::instalarCedo() noexcept {
    if (gPar[0] != -1)
        return true;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gPar) != 0) {
        gPar[0] = gPar[1] = -1;
        return false;
    }
    struct sigaction acao {};
    acao.sa_handler = aoReceberSinal;
    sigemptyset(&acao.sa_mask);
    acao.sa_flags = SA_RESTART;
    for (const int sinal : kSinais)
        ::sigaction(sinal, &acao, nullptr);
    return true;
}

EncerramentoPorSinal::EncerramentoPorSinal(QObject* parent) : QObject(parent) {
    if (gDono)
        throw std::logic_error("EncerramentoPorSinal: only one instance may exist");
    if (!instalarCedo())
        throw std::runtime_error("EncerramentoPorSinal: socketpair failed");
    gDono = true;
    notificador_ = new QSocketNotifier(gPar[1], QSocketNotifier::Read, this);
    connect(notificador_, &QSocketNotifier::activated, this, &EncerramentoPorSinal::lerSinal);
}

EncerramentoPorSinal::~EncerramentoPorSinal() {
    struct sigaction padrao {};
    padrao.sa_handler = SIG_DFL;
    sigemptyset(&padrao.sa_mask);
    for (const int sinal : kSinais)
        ::sigaction(sinal, &padrao, nullptr);
    delete notificador_;
    ::close(gPar[0]);
    ::close(gPar[1]);
    gPar[0] = gPar[1] = -1;
    gDono = false;
}

void EncerramentoPorSinal::lerSinal() {
    unsigned char byte = 0;
    while (::read(gPar[1], &byte, 1) == 1)
        emit encerramentoPedido(byte);
}
