#pragma once
// Shared by the fuzz targets: how the fuzzer's bytes become program text, the round trip of a
// query's text, and what counts as a finding besides a crash or a sanitizer report.
#include "base/AppError.h"
#include "db/Query.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace fuzz {

inline QString deUtf8(const uint8_t* dados, std::size_t n) {
    return QString::fromUtf8(reinterpret_cast<const char*>(dados), static_cast<qsizetype>(n));
}

// Little-endian UTF-16 code units taken as they are: lone surrogates and all.
inline QString deUtf16(const uint8_t* dados, std::size_t n) {
    QString s(static_cast<qsizetype>(n / 2), Qt::Uninitialized);
    for (std::size_t i = 0; i < n / 2; ++i)
        s[static_cast<qsizetype>(i)] = QChar(static_cast<char16_t>(dados[2 * i] | (dados[2 * i + 1] << 8)));
    return s;
}

inline QString deUtf8(const std::vector<uint8_t>& v) {
    return deUtf8(v.data(), v.size());
}
inline QString deUtf16(const std::vector<uint8_t>& v) {
    return deUtf16(v.data(), v.size());
}

// Both readings of the same bytes (the UTF-16 one only when there is a whole code unit).
inline std::vector<QString> leituras(const uint8_t* dados, std::size_t n) {
    std::vector<QString> textos{deUtf8(dados, n)};
    if (n >= 2)
        textos.push_back(deUtf16(dados, n));
    return textos;
}

// The text as a query hands it back once it has been set: lines joined, each followed by CR LF.
inline QString comoQuery(const QString& texto) {
    db::Query q;
    q.setSql(texto);
    return q.sql();
}

// A broken invariant is a finding like a crash: say which and abort, so that libFuzzer keeps the input.
[[noreturn]] inline void falha(const char* condicao, const char* arquivo, int linha,
                               const QString& contexto) {
    std::fprintf(stderr, "\n%s:%d: invariant broken: %s\ncontext: %s\n", arquivo, linha, condicao,
                 contexto.toUtf8().constData());
    std::abort();
}

// Runs f; one of our exceptions is an accepted outcome (false), anything else escapes to libFuzzer.
template <typename F> bool tenta(F&& f) {
    try {
        f();
        return true;
    } catch (const AppError&) {
        return false;
    }
}

} // namespace fuzz

#define FUZZ_CHECK(condicao, contexto)                                                                       \
    do {                                                                                                     \
        if (!(condicao))                                                                                     \
            ::fuzz::falha(#condicao, __FILE__, __LINE__, (contexto));                                        \
    } while (0)
