#pragma once
// The dynamic value passed between the data layer, the query helpers and the lookups.
#include <QDateTime>
#include <QString>
#include <variant>
#include <vector>

namespace db {

enum class ValueKind { Empty, Null, Int, UInt, Float, Currency, DateTime, Text, Bool, Other, Array };

class Value {
public:
    Value() = default; // empty: never assigned

    static Value null();
    static Value fromInt(qint64 v, int bits = 64);
    static Value fromUInt(quint32 v, int bits = 32);
    static Value fromFloat(double v);
    static Value fromCurrency(double v);
    // Days since 30 December 1899; the fraction is the time of day.
    static Value fromDateTime(double days);
    static Value fromDateTime(const QDateTime& dt);
    static Value fromText(const QString& v);
    static Value fromBool(bool v);
    // Whatever the data layer cannot map (decimal, unsigned 64-bit ...); keeps its text form.
    static Value fromOther(const QString& text);
    static Value fromArray(std::vector<Value> items);

    ValueKind kind() const { return m_kind; }
    bool isEmpty() const { return m_kind == ValueKind::Empty; }
    bool isNull() const { return m_kind == ValueKind::Null; }
    bool isArray() const { return m_kind == ValueKind::Array; }
    int intBits() const { return m_bits; }

    qint64 toInt() const;    // Int, UInt, Bool; otherwise 0
    double toDouble() const; // numbers and date-times
    bool toBool() const;
    QString text() const; // Text and Other: the text; otherwise empty
    QDateTime toDateTime() const;
    const std::vector<Value>& array() const;
    std::vector<Value>& array();

    // A plain text form for display and parameter binding ("" for empty and null).
    QString toString() const;

    friend bool operator==(const Value& a, const Value& b);

private:
    ValueKind m_kind = ValueKind::Empty;
    int m_bits = 0;
    std::variant<std::monostate, qint64, double, QString, bool, std::vector<Value>> m_data;
};

QDateTime dateTimeFromDays(double days);
double daysFromDateTime(const QDateTime& dt);

} // namespace db
