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

// money as the server's lc_monetary writes it: "-$1,234.50", "R$ 1.234,50", "1 234,57 лв.",
// "د.ك. 1,234.570", "CHF- 1’234.57", "($5.00)", "￥1,235". The symbols may hold dots and commas
// of their own, so only the text from the first digit to the last is the number. Money always
// writes all its decimals: with their count known, the digits alone give the value. Without it,
// a "." or "," is the decimal point when it comes last, once, and is not followed by exactly three
// digits, or when another separator comes before it.
double valorMonetario(const QString& s, int casas) {
    qsizetype inicio = 0;
    while (inicio < s.size() && !s[inicio].isDigit())
        ++inicio;
    qsizetype fim = s.size();
    while (fim > inicio && !s[fim - 1].isDigit())
        --fim;
    const QStringView numero = QStringView(s).mid(inicio, fim - inicio);
    QString digitos;
    if (casas < 0) {
        qsizetype ultimo = numero.size() - 1;
        while (ultimo >= 0 && numero[ultimo].isDigit())
            --ultimo;
        if (ultimo >= 0 && (numero[ultimo] == u'.' || numero[ultimo] == u',')) {
            const QChar ponto = numero[ultimo];
            bool outroSeparador = false;
            bool repetido = false;
            for (qsizetype i = 0; i < ultimo; ++i)
                if (!numero[i].isDigit())
                    (numero[i] == ponto ? repetido : outroSeparador) = true;
            if (!repetido && (outroSeparador || numero.size() - 1 - ultimo != 3))
                casas = static_cast<int>(numero.size() - 1 - ultimo);
        }
    }
    for (const QChar c : numero)
        if (c >= u'0' && c <= u'9')
            digitos += c;
    if (casas > 0) {
        if (digitos.size() <= casas)
            digitos = QString(casas + 1 - digitos.size(), u'0') + digitos;
        digitos.insert(digitos.size() - casas, u'.');
    }
    const double valor = digitos.toDouble();
    return s.contains(u'-') || s.contains(u'(') ? -valor : valor;
}

Value convert(unsigned oid, const char* raw, int length, Codificacao codificacao, int casasMonetarias) {
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
        return Value::fromCurrency(valorMonetario(s, casasMonetarias));
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

Result::Result(PGresult* result, Codificacao codificacao, int casasMonetarias)
    : m_codificacao(codificacao), m_casasMonetarias(casasMonetarias) {
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
                   PQgetlength(r, row, column), m_codificacao, m_casasMonetarias);
}

} // namespace db
