#pragma once
// Errors of the data layer: the server's (or libpq's) message, the SQLSTATE and the SQL text.
#include "base/AppError.h"

namespace db {

class Error : public AppError {
public:
    Error(QString message, QString sqlState = {}, QString sql = {})
        : AppError(std::move(message)), m_sqlState(std::move(sqlState)), m_sql(std::move(sql)) {}
    const QString& sqlState() const noexcept { return m_sqlState; }
    const QString& sql() const noexcept { return m_sql; }

private:
    QString m_sqlState;
    QString m_sql;
};

} // namespace db
