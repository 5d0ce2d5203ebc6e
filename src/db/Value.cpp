#include "db/Value.h"

#include <cmath>

namespace db {

namespace {
const QDateTime kEpoch(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
constexpr double kMsPerDay = 86400000.0;
} // namespace

QDateTime dateTimeFromDays(double days) {
    // Whole days count from the epoch; the fraction is the time of day also for negative dates.
    const double whole = std::floor(days);
    const double frac = std::fabs(days - whole);
    const qint64 ms = std::llround(frac * kMsPerDay);
    QDateTime dt = kEpoch.addDays(static_cast<qint64>(whole)).addMSecs(ms);
    return QDateTime(dt.date(), dt.time(), Qt::LocalTime);
}

double daysFromDateTime(const QDateTime& dt) {
    const qint64 wholeDays = kEpoch.date().daysTo(dt.date());
    const double frac = dt.time().msecsSinceStartOfDay() / kMsPerDay;
    return static_cast<double>(wholeDays) + frac;
}

Value Value::null() {
    Value v;
    v.m_kind = ValueKind::Null;
    return v;
}

Value Value::fromInt(qint64 x, int bits) {
    Value v;
    v.m_kind = ValueKind::Int;
    v.m_bits = bits;
    v.m_data = x;
    return v;
}

Value Value::fromUInt(quint32 x, int bits) {
    Value v;
    v.m_kind = ValueKind::UInt;
    v.m_bits = bits;
    v.m_data = static_cast<qint64>(x);
    return v;
}

Value Value::fromFloat(double x) {
    Value v;
    v.m_kind = ValueKind::Float;
    v.m_data = x;
    return v;
}

Value Value::fromCurrency(double x) {
    Value v;
    v.m_kind = ValueKind::Currency;
    v.m_data = x;
    return v;
}

Value Value::fromDateTime(double days) {
    Value v;
    v.m_kind = ValueKind::DateTime;
    v.m_data = days;
    return v;
}

Value Value::fromDateTime(const QDateTime& dt) {
    return fromDateTime(daysFromDateTime(dt));
}

Value Value::fromText(const QString& x) {
    Value v;
    v.m_kind = ValueKind::Text;
    v.m_data = x;
    return v;
}

Value Value::fromBool(bool x) {
    Value v;
    v.m_kind = ValueKind::Bool;
    v.m_data = x;
    return v;
}

Value Value::fromOther(const QString& text) {
    Value v;
    v.m_kind = ValueKind::Other;
    v.m_data = text;
    return v;
}

Value Value::fromArray(std::vector<Value> items) {
    Value v;
    v.m_kind = ValueKind::Array;
    v.m_data = std::move(items);
    return v;
}

qint64 Value::toInt() const {
    if (const auto* i = std::get_if<qint64>(&m_data))
        return *i;
    if (const auto* b = std::get_if<bool>(&m_data))
        return *b ? 1 : 0;
    if (const auto* d = std::get_if<double>(&m_data))
        return static_cast<qint64>(*d);
    return 0;
}

double Value::toDouble() const {
    if (const auto* d = std::get_if<double>(&m_data))
        return *d;
    if (const auto* i = std::get_if<qint64>(&m_data))
        return static_cast<double>(*i);
    return 0.0;
}

bool Value::toBool() const {
    if (const auto* b = std::get_if<bool>(&m_data))
        return *b;
    return toInt() != 0;
}

QString Value::text() const {
    if (const auto* s = std::get_if<QString>(&m_data))
        return *s;
    return {};
}

QDateTime Value::toDateTime() const {
    return dateTimeFromDays(toDouble());
}

const std::vector<Value>& Value::array() const {
    static const std::vector<Value> empty;
    if (const auto* a = std::get_if<std::vector<Value>>(&m_data))
        return *a;
    return empty;
}

std::vector<Value>& Value::array() {
    if (!std::holds_alternative<std::vector<Value>>(m_data)) {
        m_kind = ValueKind::Array;
        m_data = std::vector<Value>{};
    }
    return std::get<std::vector<Value>>(m_data);
}

QString Value::toString() const {
    switch (m_kind) {
    case ValueKind::Empty:
    case ValueKind::Null:
    case ValueKind::Array:
        return {};
    case ValueKind::Int:
    case ValueKind::UInt:
        return QString::number(toInt());
    case ValueKind::Float:
    case ValueKind::Currency:
        return QString::number(toDouble(), 'g', 17);
    case ValueKind::DateTime:
        return toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    case ValueKind::Text:
    case ValueKind::Other:
        return text();
    case ValueKind::Bool:
        return toBool() ? QStringLiteral("true") : QStringLiteral("false");
    }
    return {};
}

bool operator==(const Value& a, const Value& b) {
    return a.m_kind == b.m_kind && a.m_data == b.m_data;
}

} // namespace db
