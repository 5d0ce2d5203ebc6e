#pragma once
#include <QString>

namespace db {

// How the program groups column types (titles, widths, empty values, key filters).
enum class FieldGroup { Text, Number, Boolean, Date, Time, DateTime, Other };

struct Field {
    QString name; // as the server returns it
    unsigned typeOid = 0;
    FieldGroup group = FieldGroup::Other;
    int size = 0;         // declared length of character columns (varchar(29) -> 29), 0 otherwise
    int displayWidth = 0; // characters
    bool readOnly = true;
};

// Maps a PostgreSQL type (and its modifier) onto the field description.
Field describeField(const QString& name, unsigned typeOid, int typeModifier);

} // namespace db
