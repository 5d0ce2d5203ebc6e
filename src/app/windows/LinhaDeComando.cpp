#include "app/windows/LinhaDeComando.h"

#include <algorithm>

#include <windows.h>

#include <shellapi.h>

QStringList ArgumentosDaLinhaDoWindows(const wchar_t* linha) {
    QStringList argumentos;
    int n = 0;
    wchar_t** lidos = CommandLineToArgvW(linha, &n);
    if (lidos == nullptr)
        return argumentos;
    for (int i = 0; i < n; ++i)
        argumentos << QString::fromWCharArray(lidos[i]);
    LocalFree(lidos);
    return argumentos;
}

QString ArgumentoCitado(const QString& argumento) {
    if (!argumento.isEmpty() && !argumento.contains(QLatin1Char(' ')) &&
        !argumento.contains(QLatin1Char('\t')) && !argumento.contains(QLatin1Char('\n')) &&
        !argumento.contains(QLatin1Char('\v')) && !argumento.contains(QLatin1Char('"')))
        return argumento;
    // Backslashes are plain characters except before a quote, where they are doubled.
    QString citado = QStringLiteral("\"");
    qsizetype barras = 0;
    for (const QChar c : argumento) {
        if (c == QLatin1Char('\\')) {
            ++barras;
            continue;
        }
        if (c == QLatin1Char('"'))
            citado += QString(barras * 2 + 1, QLatin1Char('\\'));
        else
            citado += QString(barras, QLatin1Char('\\'));
        barras = 0;
        citado += c;
    }
    citado += QString(barras * 2, QLatin1Char('\\'));
    citado += QLatin1Char('"');
    return citado;
}

namespace {

// Where the program's name ends: its text is kept as written (its rules are not the others').
std::size_t fimDoNomeDoPrograma(const wchar_t* linha, std::size_t tamanho) {
    std::size_t i = 0;
    if (tamanho > 0 && linha[0] == L'"') {
        i = 1;
        while (i < tamanho && linha[i] != L'"')
            ++i;
        return std::min(i + 1, tamanho);
    }
    while (i < tamanho && linha[i] != L' ' && linha[i] != L'\t')
        ++i;
    return i;
}

void preenche(wchar_t* linha, std::size_t de, std::size_t tamanho) {
    std::fill(linha + de, linha + tamanho, L' ');
}

} // namespace

bool ApagaArgumentoDaLinha(wchar_t* linha, std::size_t tamanho, int posicao) {
    const QStringList antes = ArgumentosDaLinhaDoWindows(linha);
    const std::size_t nome = fimDoNomeDoPrograma(linha, tamanho);
    if (posicao <= 0 || posicao >= antes.size())
        return true;
    QStringList esperado = antes;
    esperado[posicao].clear();

    QString nova = QString::fromWCharArray(linha, static_cast<qsizetype>(nome));
    for (qsizetype i = 1; i < esperado.size(); ++i)
        nova += QLatin1Char(' ') + ArgumentoCitado(esperado[i]);
    const std::wstring texto = nova.toStdWString();
    if (texto.size() <= tamanho) {
        std::wstring copia = texto;
        copia.resize(tamanho, L' ');
        if (ArgumentosDaLinhaDoWindows(copia.c_str()) == esperado) {
            std::copy(copia.begin(), copia.end(), linha);
            return true;
        }
    }
    preenche(linha, nome, tamanho);
    return false;
}
