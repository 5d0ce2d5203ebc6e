#include "app/Application.h"

#include "common/ErrorReport.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Relatório de Endereçamento de Produto"));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowErrorText(QStringLiteral("Erro desconhecido"));
    }
    return false;
}

QStringList ArgumentosDaLinhaDeComando(int argc, const char* const* argv) {
    QStringList argumentos;
    for (int i = 0; i < argc && argv[i] != nullptr; ++i)
        argumentos << QString::fromLocal8Bit(argv[i]);
    return argumentos;
}
