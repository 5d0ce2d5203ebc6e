#include "search/TrocaTextoSQL.h"

#include "base/AppError.h"
#include "common/EventosString.h"

#include <algorithm>
#include <optional>

namespace {

const QString kLike = QStringLiteral("LIKE");
const QString kOrderBy = QStringLiteral("ORDER BY");
const QString kDescPalavra = QStringLiteral(" DESC ");
const QString kDesc = QStringLiteral("DESC");
const QString kAs = QStringLiteral(" AS ");
const QString kUpper = QStringLiteral("UPPER(");

// Substring by 1-based position and count, forgiving like the positions it is fed: a position
// before the text starts at its first character, a count past the end stops there, a count of zero
// or less gives the empty text.
QString copia(const QString& texto, qsizetype posicao, qsizetype quantos) {
    if (posicao < 1)
        posicao = 1;
    if (quantos <= 0 || posicao > texto.size())
        return {};
    return texto.mid(posicao - 1, std::min(quantos, texto.size() - posicao + 1));
}

QString maiusculasAscii(const QString& texto) {
    QString resultado = texto;
    for (QChar& c : resultado) {
        if (c >= u'a' && c <= u'z')
            c = QChar(static_cast<char16_t>(c.unicode() - u'a' + u'A'));
    }
    return resultado;
}

// The expression before the first " AS <nome>", read backwards up to a blank or a comma outside
// parentheses; nothing when the alias is not there.
std::optional<QString> expressaoDoApelido(const QString& textoAux, const QString& nome) {
    const qsizetype p = textoAux.indexOf(kAs + nome);
    if (p < 0)
        return std::nullopt;
    qsizetype i = p - 1;
    while (i >= 0 && textoAux.at(i) == u' ')
        --i;
    const qsizetype fim = i + 1;
    int abertos = 0;
    int fechados = 0;
    while (i >= 0) {
        const QChar c = textoAux.at(i);
        if ((c == u' ' || c == u',') && abertos == fechados)
            break;
        if (c == u'(')
            ++abertos;
        else if (c == u')')
            ++fechados;
        --i;
    }
    if (abertos != fechados)
        throw RangeError(
            QStringLiteral("Range check error: unbalanced expression before '%1'").arg(kAs + nome));
    return textoAux.mid(i + 1, fim - (i + 1));
}

} // namespace

QString TrataOrdem(const QString& textoAux, FormaTroca forma, int colunaClicada, int colAntDBGridBL,
                   bool decrescente) {
    const int posOrdem = retornaPosUltimo(kOrderBy, textoAux);
    // From the sort clause to the end, without the final line break's last character.
    const QString clausula = copia(textoAux, posOrdem, textoAux.size() - posOrdem);
    switch (forma) {
    case FormaTroca::Digitacao:
        return (decrescente && !clausula.contains(kDescPalavra)) ? kDescPalavra : QString();
    case FormaTroca::Titulo: {
        // A clause that already sorts several terms descending is not toggled.
        const QString antesDoUltimo = copia(clausula, 1, retornaPosUltimo(kDescPalavra, clausula) - 1);
        if (antesDoUltimo.contains(kDescPalavra))
            return {};
        return colunaClicada == colAntDBGridBL ? kDescPalavra : QString();
    }
    case FormaTroca::TextoDaSQL:
        break;
    }
    return {};
}

QString RetornaCampo(const QString& textoAux, const QString& nome) {
    return expressaoDoApelido(textoAux, nome).value_or(nome);
}

QString ApagaUpper(const QString& texto) {
    qsizetype fim = texto.size();
    while (fim > 0 && texto.at(fim - 1) == u' ')
        --fim;
    if (fim < kUpper.size() || QStringView(texto).sliced(fim - kUpper.size(), kUpper.size()) != kUpper)
        return texto;
    return QString(texto).remove(fim - kUpper.size(), kUpper.size());
}

QString TrocaTextoSQL(const QString& textoSql, const QString& nome, FormaTroca forma, int colunaClicada,
                      int colAntDBGridBL, bool decrescente) {
    const QString textoAux = textoSql.toUpper();
    const QString ordem = TrataOrdem(textoAux, forma, colunaClicada, colAntDBGridBL, decrescente);

    QString campo;
    if (forma == FormaTroca::TextoDaSQL)
        campo = expressaoDoApelido(textoAux, maiusculasAscii(nome)).value_or(nome);
    else
        campo = RetornaCampo(textoAux, nome);

    const int posLike = retornaPosUltimo(kLike, textoAux);
    const int posOrdem = retornaPosUltimo(kOrderBy, textoAux);

    // Head: everything before the compared expression (the character before LIKE is its blank).
    const QString s1 = ApagaUpper(ApagaPalavra(copia(textoAux, 1, posLike - 2), u'u'));
    // Middle: from LIKE through ORDER BY.
    const QString s2 = copia(textoAux, posLike, posOrdem + kOrderBy.size() - posLike);
    // Tail: what followed the old first sort term.
    QString s3 = ApagaPalavra(copia(textoAux, posOrdem + kOrderBy.size() + 1, textoAux.size()), u'p');
    if (forma != FormaTroca::Digitacao && s3.contains(kDesc))
        s3 = ApagaPalavra(s3, u'p');

    return s1 + QStringLiteral("UPPER(cast(") + campo + QStringLiteral(" as varchar(254))) ") + s2 +
           QStringLiteral(" ") + campo + ordem + s3;
}
