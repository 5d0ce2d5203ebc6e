#include "app/Application.h"
#include "app/DM.h"
#include "app/EncerramentoPorSinal.h"
#include "app/FormPrincipal.h"
#include "common/ErrorReport.h"

#include <QTimer>

#include <memory>

int main(int argc, char** argv) {
    Application app(argc, argv);
    // A logout or a `kill` ends the loop normally: windows close and everything is freed.
    EncerramentoPorSinal encerramento;
    QObject::connect(&encerramento, &EncerramentoPorSinal::encerramentoPedido, &app,
                     [] { QCoreApplication::exit(0); });
    const auto dataModule = std::make_unique<TDM>();
    DM = dataModule.get();

    TFormPrincipal form(QCoreApplication::arguments());
    // A failure while starting (bad arguments, no database) is reported and the window
    // still opens, with plain code edits.
    RunGuarded([&] { form.FormCreate(); });
    form.show();
    // For timing the start-up (bench/): paint the window once and quit.
    if (qEnvironmentVariableIsSet("ZV_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, &form, [&form] {
            form.repaint();
            QCoreApplication::quit();
        });
    const int rc = app.exec();
    DM = nullptr;
    return rc;
}
