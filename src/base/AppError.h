#pragma once
// The one exception family of the program. Everything that fails raises an AppError (or a
// subclass); the event-slot layer and the top-level report show its message.
#include <QByteArray>
#include <QString>
#include <exception>
#include <utility>

class AppError : public std::exception {
public:
    explicit AppError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A text that should have been a number ("'%s' is not a valid integer value").
class ConversionError : public AppError {
public:
    using AppError::AppError;
};

// An index outside a list or a text (word cutting that runs off the text, a missing column ...).
class RangeError : public AppError {
public:
    using AppError::AppError;
};

// An object of the wrong kind handed to a routine that needs a specific one.
class InvalidTypeError : public AppError {
public:
    using AppError::AppError;
};
