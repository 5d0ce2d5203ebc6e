#pragma once
// How text travels on a session. Normally the server converts everything to UTF-8. A SQL_ASCII
// database converts nothing and often holds Windows-1252 text from older programs beside UTF-8:
// there each text is read as UTF-8 when it is valid UTF-8, else as Windows-1252.
#include <QByteArray>
#include <QString>
#include <optional>

namespace db {

enum class Codificacao { Utf8, SqlAscii };

QString decodifica(const char* bytes, int length, Codificacao codificacao);

// The Windows-1252 form of a text; none when some character has no place in it.
std::optional<QByteArray> paraWindows1252(const QString& texto);

} // namespace db
