#include "db/Result.h"

#include "base/AppError.h"
#include "db/TiposPg.h"

#include <QDateTime>
#include <QRegularExpression>
#include <libpq-fe.h>

namespace db {

namespace {

QDate parseDate(const QString& s) {
    return QDate::fromString(s.left(10), Qt::ISODate);
}

QTime parseTime(QString s) {
    // hh:mm:ss[.ffffff][+tz]: keep milliseconds, drop the zone
    const qsizetype zone =
        s.indexOf(QRegularExpression(QStringLiteral("[+-]"), QRegularExpression::NoPatternOption), 8);
    if (zone > 0)
        s.truncate(zone);
    if (s.size() > 12)
        s.truncate(12);
    QTime t = QTime::fromString(s, s.size() > 8 ? QStringLiteral("HH:mm:ss.z") : QStringLiteral("HH:mm:ss"));
    return t.isValid() ? t : QTime(0, 0);
}

// money as the server's lc_monetary writes it: "-$1,234.50", "R$ 1.234,50", "-1.234,50 €",
// "($5.00)", "¥1,235". The last "." or "," is the decimal point when fewer than three digits
// follow it (money always writes its cents); every other one groups thousands.
double valorMonetario(const QString& s) {
    qsizetype decimal = -1;
    for (qsizetype i = s.size() - 1; i >= 0; --i)
        if (s[i] == u'.' || s[i] == u',') {
            qsizetype digitos = 0;
            for (qsizetype j = i + 1; j < s.size() && s[j].isDigit(); ++j)
                ++digitos;
            if (digitos < 3)
                decimal = i;
            break;
        }
    QString numero;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (i == decimal)
            numero += u'.';
        else if (s[i] >= u'0' && s[i] <= u'9')
            numero += s[i];
    }
    const double valor = numero.toDouble();
    return s.contains(u'-') || s.contains(u'(') ? -valor : valor;
}

Value convert(unsigned oid, const char* raw, int length, Codificacao codificacao) {
    const QString s = decodifica(raw, length, codificacao);
    switch (oid) {
    case BOOLOID:
        return Value::fromBool(s == u"t");
    case INT8OID:
        return Value::fromInt(s.toLongLong(), 64);
    case INT2OID:
        return Value::fromInt(s.toLongLong(), 16);
    case INT4OID:
        return Value::fromInt(s.toLongLong(), 32);
    case OIDOID:
        return Value::fromUInt(s.toUInt(), 32);
    case FLOAT4OID:
    case FLOAT8OID:
        return Value::fromFloat(s.toDouble());
    case MONEYOID:
        return Value::fromCurrency(valorMonetario(s));
    case DATEOID:
        return Value::fromDateTime(QDateTime(parseDate(s), QTime(0, 0)));
    case TIMEOID:
        return Value::fromDateTime(parseTime(s).msecsSinceStartOfDay() / 86400000.0);
    case TIMESTAMPOID:
    case TIMESTAMPTZOID:
        return Value::fromDateTime(QDateTime(parseDate(s), parseTime(s.mid(11))));
    case TEXTOID:
    case VARCHAROID:
    case BPCHAROID:
    case NAMEOID:
    case CHAROID:
        return Value::fromText(s);
    default:
        return Value::fromOther(s);
    }
}

} // namespace

Result::Result(PGresult* result, Codificacao codificacao) : m_codificacao(codificacao) {
    if (!result)
        return;
    m_result = std::shared_ptr<PGresult>(result, PQclear);
    const int n = PQnfields(result);
    m_fields.reserve(static_cast<size_t>(n));
    for (int c = 0; c < n; ++c)
        m_fields.push_back(describeField(decodifica(PQfname(result, c), -1, codificacao), PQftype(result, c),
                                         PQfmod(result, c)));
}

int Result::rowCount() const {
    return m_result ? PQntuples(m_result.get()) : 0;
}

Value Result::value(int row, int column) const {
    if (column < 0 || column >= fieldCount())
        throw RangeError(
            QStringLiteral("Campo %1 fora da lista de campos (%2)").arg(column).arg(fieldCount()));
    if (row < 0 || row >= rowCount())
        throw RangeError(QStringLiteral("Linha %1 fora do resultado (%2 linhas)").arg(row).arg(rowCount()));
    const PGresult* r = m_result.get();
    if (PQgetisnull(r, row, column))
        return Value::null();
    return convert(m_fields[static_cast<size_t>(column)].typeOid, PQgetvalue(r, row, column),
                   PQgetlength(r, row, column), m_codificacao);
}

} // namespace db
