#include "db/Codificacao.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>

namespace db {

namespace {

// 0x80..0x9F of Windows-1252; the rest of the bytes are Latin-1. 0 marks the five unused bytes.
constexpr std::array<char16_t, 32> kFaixa80 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

QString deWindows1252(const char* bytes, int length) {
    QString texto(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        char16_t c = b;
        if (b >= 0x80 && b < 0xA0 && kFaixa80[b - 0x80] != 0)
            c = kFaixa80[b - 0x80];
        texto[i] = QChar(c);
    }
    return texto;
}

} // namespace

QString decodifica(const char* bytes, int length, Codificacao codificacao) {
    if (length < 0)
        length = static_cast<int>(qstrlen(bytes));
    if (codificacao == Codificacao::Utf8)
        return QString::fromUtf8(bytes, length);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texto = utf8.decode(QByteArrayView(bytes, length));
    return utf8.hasError() ? deWindows1252(bytes, length) : texto;
}

std::optional<QByteArray> paraWindows1252(const QString& texto) {
    QByteArray bytes;
    bytes.reserve(texto.size());
    for (const QChar c : texto) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes.append(static_cast<char>(u));
            continue;
        }
        const auto* const achado = std::find(kFaixa80.begin(), kFaixa80.end(), u);
        if (achado == kFaixa80.end())
            return std::nullopt;
        bytes.append(static_cast<char>(0x80 + (achado - kFaixa80.begin())));
    }
    return bytes;
}

} // namespace db
