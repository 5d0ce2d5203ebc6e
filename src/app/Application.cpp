#include "app/Application.h"

#include "common/ErrorReport.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>

#ifdef Q_OS_WIN
#include "app/windows/LinhaDeComando.h"

#include <cwchar>

#include <windows.h>
#endif

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Relatório de Endereçamento de Produto"));
    // Without them the program is Portuguese and the toolkit's menus are English. A system
    // without the translations keeps the English texts.
    auto* traducaoDoQt = new QTranslator(this);
    if (traducaoDoQt->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                           QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(traducaoDoQt);
    else
        delete traducaoDoQt;
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
#ifdef Q_OS_WIN
    // argv is in the ANSI code page: an accent it cannot show would be lost.
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return ArgumentosDaLinhaDoWindows(GetCommandLineW());
#endif
    QStringList argumentos;
    for (int i = 0; i < argc && argv[i] != nullptr; ++i)
        argumentos << QString::fromLocal8Bit(argv[i]);
    return argumentos;
}

void ApagaSenhaDaLinhaDeComando(int argc, char** argv) {
    constexpr int kPosicaoDaSenha = 4;
    if (argc > kPosicaoDaSenha && argv[kPosicaoDaSenha] != nullptr)
        std::memset(argv[kPosicaoDaSenha], 0, std::strlen(argv[kPosicaoDaSenha]));
#ifdef Q_OS_WIN
    // Other processes read the command line from the process's own copy, the one
    // GetCommandLineW returns.
    wchar_t* linha = GetCommandLineW();
    ApagaArgumentoDaLinha(linha, std::wcslen(linha), kPosicaoDaSenha);
#endif
}
