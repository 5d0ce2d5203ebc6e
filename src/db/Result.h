#pragma once
// The answer to one query, as the server sent it: an immutable value that shares the libpq
// result among its copies (freed with the last one), with its fields and the values converted
// from their text form. Needs no connection once made.
#include "db/Codificacao.h"
#include "db/Field.h"
#include "db/Value.h"

#include <memory>
#include <vector>

struct pg_result;
typedef struct pg_result PGresult;

namespace db {

class Result {
public:
    Result() = default; // no result: no fields, no rows
    // Takes ownership of `result` (nullptr gives no result); texts are read as `codificacao`,
    // money with `casasMonetarias` decimals (Connection::casasMonetarias; -1: guessed from the text).
    explicit Result(PGresult* result, Codificacao codificacao = Codificacao::Utf8, int casasMonetarias = -1);

    bool valid() const { return m_result != nullptr; }
    int rowCount() const;
    const std::vector<Field>& fields() const { return m_fields; }
    int fieldCount() const { return static_cast<int>(m_fields.size()); }

    // Null for SQL NULL. RangeError for a row or column outside the result.
    Value value(int row, int column) const;

private:
    std::shared_ptr<PGresult> m_result; // freed with PQclear by the last copy
    std::vector<Field> m_fields;
    Codificacao m_codificacao = Codificacao::Utf8;
    int m_casasMonetarias = -1;
};

} // namespace db
