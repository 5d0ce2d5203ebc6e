#include "app/Application.h"
#include "app/EncerramentoPorSinal.h"
#include "app/FormPrincipal.h"
#include "common/ErrorReport.h"
#include "db/DM.h"

#include <QTimer>

#include <memory>

int main(int argc, char** argv) {
    // First of all: a logout or a `kill` while Qt starts (tens of milliseconds, or longer on a
    // slow display) must end the program normally too, not by the signal.
    EncerramentoPorSinal::instalarCedo();
    // The command line is the host's eight positional arguments. Qt would take out the ones it
    // knows as its own options ("-reverse", "-style X" ...) and shift the rest, so a password or
    // login that looks like one must never reach it: Qt sees only the program's name.
    QStringList argumentos = ArgumentosDaLinhaDeComando(argc, argv);
    ApagaSenhaDaLinhaDeComando(argc, argv);
    int argcDoQt = 1;
    Application app(argcDoQt, argv);
    // A logout or a `kill` ends the loop normally: windows close and everything is freed.
    // A request that comes while the start-up error box is up ends only the box's own loop: it
    // is remembered so that the window then never opens.
    EncerramentoPorSinal encerramento;
    bool encerrar = false;
    QObject::connect(&encerramento, &EncerramentoPorSinal::encerramentoPedido, &app, [&encerrar] {
        encerrar = true;
        QCoreApplication::exit(0);
    });
    encerramento.lerPendentes();
    const auto dataModule = std::make_unique<TDM>();
    DM = dataModule.get();

    // The window keeps the only copy of the command line, and the password only until it connects.
    TFormPrincipal FormPrincipal(std::move(argumentos));
    // A failure while starting (bad arguments, no database) is reported and the window
    // still opens, with plain code edits.
    if (!encerrar)
        RunGuarded([&] { FormPrincipal.FormCreate(); });
    // A request during a slow connection: the window never opens.
    encerramento.lerPendentes();
    int rc = 0;
    if (!encerrar) {
        FormPrincipal.show();
#ifdef ZV_QUIT_WHEN_SHOWN
        // The benchmark's build of the program: paint the window once and quit.
        QTimer::singleShot(0, &FormPrincipal, [&FormPrincipal] {
            FormPrincipal.repaint();
            QCoreApplication::quit();
        });
#endif
        rc = app.exec();
    }
    DM = nullptr;
    return rc;
}
