#pragma once
// Text operations shared by the windows and by the rewriting of the listings' SQL text.
#include <QChar>
#include <QString>

// 1-based position of the last occurrence of textoProcurado in textoAux, matches taken from left to
// right without overlapping; 0 when there is none or textoProcurado is empty. Exact comparison.
int retornaPosUltimo(const QString& textoProcurado, const QString& textoAux);

// Cuts one word off one end of iTexto; a parenthesised group counts as part of the word.
// posicao 'u' cuts the last word (the stopping blank or "(" stays), anything else the first one
// (the stopping blank or "," stays). Throws RangeError when the text runs out before a stop.
QString ApagaPalavra(const QString& iTexto, QChar posicao);

// Drops the leading "0" characters of a code: "000123" -> "123", "000" -> "0", "" -> "".
QString ValorSemZerosAEsq(const QString& Conteudo);
