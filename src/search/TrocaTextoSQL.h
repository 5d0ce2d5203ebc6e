#pragma once
// Rewriting of a listing's SQL text so that its LIKE condition and its first sort term use the column
// the user searches or sorts by. Pure functions of the text: the windows close the query, pass its
// text here and put the result back.
#include <QString>

// Typing in another column, clicking a column title, or the filtered search's explicit field.
enum class FormaTroca { Digitacao, Titulo, TextoDaSQL };

// Direction word for the new first sort term: "" or " DESC ". textoAux is the upper-cased query text.
QString TrataOrdem(const QString& textoAux, FormaTroca forma, int colunaClicada, int colAntDBGridBL,
                   bool decrescente);

// The select-list expression that the first " AS <nome>" of textoAux names, or nome itself when
// there is none. nome is already upper-cased as it is to be searched. Throws RangeError when the
// expression's parentheses do not balance.
QString RetornaCampo(const QString& textoAux, const QString& nome);

// Drops a "UPPER(" left at the end of the head once the old compared expression is cut off.
QString ApagaUpper(const QString& texto);

// textoSql: the query's text as the query hands it back (every line followed by "\r\n").
// nome: for Digitacao/Titulo the field name upper-cased with full Unicode rules; for TextoDaSQL the
// name as given (searched upper-cased by ASCII rules, inserted unchanged).
// Returns the new query text. Throws RangeError when the text has no LIKE condition to replace.
QString TrocaTextoSQL(const QString& textoSql, const QString& nome, FormaTroca forma, int colunaClicada,
                      int colAntDBGridBL, bool decrescente);
