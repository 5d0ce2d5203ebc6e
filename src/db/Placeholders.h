#pragma once
#include <QString>

namespace db {

struct TranslatedSql {
    QString text;       // with $1, $2 ... in place of :0, :1 ...
    int paramCount = 0; // highest :N plus one
};

// Rewrites the positional parameters :0, :1 ... into libpq's $1, $2 ... String literals
// (also E'' and dollar-quoted), quoted identifiers, comments and :: casts are left alone.
TranslatedSql translatePlaceholders(const QString& sql);

} // namespace db
