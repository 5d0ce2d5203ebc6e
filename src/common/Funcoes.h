#pragma once
// Value, field and query helpers shared by the lookups and the search windows.
#include "db/Field.h"
#include "db/Value.h"

#include <QString>

namespace db {
class Query;
}

// Opens a query with the busy cursor. A failure raises AppError "Erro na abertura da tabela"
// + CR CR + the driver's message + CR CR + the SQL text; it never returns false.
bool sql_OpenQuery(db::Query& Query);

// First row of TextoSql run with Parametro (an array fills :0, :1 ...); one column gives its
// value, several an array; nulls (and a missing row) become the empty value of the column's group.
db::Value EncontraValor(const QString& TextoSql, const db::Value& Parametro);

db::Value ConverterValoresString(const db::Value& Dados);
QString FormataValorEmString(const db::Value& valor);
bool ValorNull(const db::Value& valor);
QString SomenteNumeros(const QString& Documento);

// Ds stands for the data source of a grid: the query behind it, or none.
QString BuscaDisplayLabel(const db::Query* Ds, const QString& campo);
qint32 BuscaDisplayWidth(const db::Query* Ds, const QString& campo);
qint32 RetornaWidthDefault(db::FieldGroup TipoDoCampo);
