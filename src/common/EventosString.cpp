#include "common/EventosString.h"

#include "base/AppError.h"

namespace {

const QChar kBranco(u' ');

[[noreturn]] void faltouTexto(const QString& texto) {
    throw RangeError(QStringLiteral("Range check error: no word boundary in '%1'").arg(texto));
}

} // namespace

int retornaPosUltimo(const QString& textoProcurado, const QString& textoAux) {
    if (textoProcurado.isEmpty())
        return 0;
    qsizetype ultimo = -1;
    qsizetype de = 0;
    for (;;) {
        const qsizetype achou = textoAux.indexOf(textoProcurado, de);
        if (achou < 0)
            break;
        ultimo = achou;
        de = achou + textoProcurado.size();
    }
    return static_cast<int>(ultimo + 1);
}

QString ApagaPalavra(const QString& iTexto, QChar posicao) {
    int abertos = 0;
    int fechados = 0;
    const auto conta = [&](QChar c) {
        if (c == u'(')
            ++abertos;
        else if (c == u')')
            ++fechados;
    };

    if (posicao == u'u') {
        qsizetype fim = iTexto.size();
        while (fim > 0 && iTexto.at(fim - 1) == kBranco)
            --fim;
        for (;;) {
            if (fim == 0)
                faltouTexto(iTexto);
            const QChar c = iTexto.at(fim - 1);
            if ((c == kBranco || c == u'(') && abertos == fechados)
                break;
            conta(c);
            --fim;
        }
        return iTexto.left(fim);
    }

    if (iTexto.isEmpty())
        return iTexto;
    const qsizetype tamanho = iTexto.size();
    qsizetype inicio = 0;
    while (inicio < tamanho && iTexto.at(inicio) == kBranco)
        ++inicio;
    // Blanks only: there is no word to cut.
    if (inicio == tamanho)
        faltouTexto(iTexto);
    for (;;) {
        if (inicio == tamanho) {
            if (abertos == fechados)
                break;
            faltouTexto(iTexto);
        }
        const QChar c = iTexto.at(inicio);
        if ((c == kBranco || c == u',') && abertos == fechados)
            break;
        conta(c);
        ++inicio;
    }
    return iTexto.mid(inicio);
}

QString ValorSemZerosAEsq(const QString& Conteudo) {
    if (Conteudo.isEmpty())
        return Conteudo;
    qsizetype inicio = 0;
    while (inicio < Conteudo.size() && Conteudo.at(inicio) == u'0')
        ++inicio;
    if (inicio == Conteudo.size())
        return QStringLiteral("0");
    return Conteudo.mid(inicio);
}
