#include "db/Field.h"

#include "db/TiposPg.h"

namespace db {

Field describeField(const QString& name, unsigned typeOid, int typeModifier) {
    Field f;
    f.name = name;
    f.typeOid = typeOid;
    switch (typeOid) {
    case TEXTOID:
    case VARCHAROID:
    case BPCHAROID:
    case NAMEOID:
    case CHAROID:
        f.group = FieldGroup::Text;
        if ((typeOid == VARCHAROID || typeOid == BPCHAROID) && typeModifier >= 4)
            f.size = typeModifier - 4; // the modifier carries the header length
        else if (typeOid == CHAROID)
            f.size = 1;
        else if (typeOid == NAMEOID)
            f.size = 63;
        f.displayWidth = f.size > 0 ? f.size : 30;
        break;
    case INT2OID:
        f.group = FieldGroup::Number;
        f.displayWidth = 6;
        break;
    case INT4OID:
    case OIDOID:
        f.group = FieldGroup::Number;
        f.displayWidth = 11;
        break;
    case INT8OID:
        f.group = FieldGroup::Number;
        f.displayWidth = 20;
        break;
    case FLOAT4OID:
    case FLOAT8OID:
    case MONEYOID:
        f.group = FieldGroup::Number;
        f.displayWidth = 15;
        break;
    case BOOLOID:
        f.group = FieldGroup::Boolean;
        f.displayWidth = 5;
        break;
    case DATEOID:
        f.group = FieldGroup::Date;
        f.displayWidth = 10;
        break;
    case TIMEOID:
        f.group = FieldGroup::Time;
        f.displayWidth = 8;
        break;
    case TIMESTAMPOID:
    case TIMESTAMPTZOID:
        f.group = FieldGroup::DateTime;
        f.displayWidth = 19;
        break;
    default: // numeric, bytea, json, arrays ...
        f.group = FieldGroup::Other;
        f.displayWidth = 10;
        break;
    }
    return f;
}

} // namespace db
