#pragma once
// PostgreSQL built-in type OIDs (pg_type.dat) the data layer tells apart: field descriptions,
// value conversion and the types of bound parameters.

namespace db {

enum TipoPg : unsigned {
    BOOLOID = 16,
    BYTEAOID = 17,
    CHAROID = 18,
    NAMEOID = 19,
    INT8OID = 20,
    INT2OID = 21,
    INT4OID = 23,
    TEXTOID = 25,
    OIDOID = 26,
    FLOAT4OID = 700,
    FLOAT8OID = 701,
    MONEYOID = 790,
    BPCHAROID = 1042,
    VARCHAROID = 1043,
    DATEOID = 1082,
    TIMEOID = 1083,
    TIMESTAMPOID = 1114,
    TIMESTAMPTZOID = 1184,
    NUMERICOID = 1700,
};

} // namespace db
