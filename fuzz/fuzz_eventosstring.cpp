// Word cutting and last-position search, on texts of any shape: UTF-8 and raw UTF-16 readings.
//
// Input: for retornaPosUltimo the text before the first "\0" is searched for in the text after it
// (without a "\0", the last quarter of the text in the whole); the first byte also serves as the
// cutting mode of ApagaPalavra.
#include "Entrada.h"
#include "common/EventosString.h"

namespace {

void confereRetornaPosUltimo(const QString& procurado, const QString& texto) {
    const int pos = retornaPosUltimo(procurado, texto);
    const QString contexto = procurado + QStringLiteral(" | ") + texto;
    if (procurado.isEmpty() || !texto.contains(procurado)) {
        FUZZ_CHECK(pos == 0, contexto);
        return;
    }
    FUZZ_CHECK(pos >= 1 && pos <= texto.size() - procurado.size() + 1, contexto);
    FUZZ_CHECK(QStringView(texto).sliced(pos - 1, procurado.size()) == procurado, contexto);
    // The last of the matches taken left to right without overlapping: none starts after it.
    FUZZ_CHECK(texto.indexOf(procurado, pos - 1 + procurado.size()) < 0, contexto);
}

void confereApagaPalavra(const QString& texto, QChar modo) {
    // Cuts from the end keep a prefix that ends at its stop.
    fuzz::tenta([&] {
        QString t = texto;
        for (int i = 0; i < 8 && !t.isEmpty(); ++i) {
            const QString r = ApagaPalavra(t, u'u');
            FUZZ_CHECK(t.startsWith(r), t);
            FUZZ_CHECK(!r.isEmpty() && (r.back() == u' ' || r.back() == u'('), t);
            t = r.chopped(1);
        }
    });
    // Cuts from the start keep a suffix that starts at its stop, or nothing when the word ran to the end.
    for (const QChar m : {QChar(u'p'), modo}) {
        if (m == u'u')
            continue;
        fuzz::tenta([&] {
            QString t = texto;
            for (int i = 0; i < 8 && !t.isEmpty(); ++i) {
                const QString r = ApagaPalavra(t, m);
                FUZZ_CHECK(t.endsWith(r), t);
                FUZZ_CHECK(r.isEmpty() || r.front() == u' ' || r.front() == u',', t);
                t = r.mid(1);
            }
        });
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    const QChar modo = tamanho > 0 ? QChar(static_cast<char16_t>(dados[0])) : QChar(u'p');
    for (const QString& texto : fuzz::leituras(dados, tamanho)) {
        const qsizetype nul = texto.indexOf(QChar(0));
        if (nul >= 0)
            confereRetornaPosUltimo(texto.left(nul), texto.mid(nul + 1));
        else
            confereRetornaPosUltimo(texto.right(texto.size() / 4), texto);
        confereRetornaPosUltimo(texto.toUpper().right(4), texto.toUpper());
        confereApagaPalavra(texto, modo);
        confereApagaPalavra(fuzz::comoQuery(texto), modo);
    }
    return 0;
}
