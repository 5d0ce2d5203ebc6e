// The key filters of the code edits and of the filter window, over every character a key can carry,
// and over whole typed texts (input method commits) with surrogate pairs.
// Every UTF-16 code unit is checked once at start-up; the inputs then reach them again as UTF-8 text
// and as raw UTF-16 code units.
#include "Entrada.h"
#include "common/EventosTeclado.h"
#include "widgets/EventEdit.h"

namespace {

QString descreve(QChar entrada, QChar saida) {
    return QStringLiteral("U+%1 -> U+%2")
        .arg(entrada.unicode(), 4, 16, QChar(u'0'))
        .arg(saida.unicode(), 4, 16, QChar(u'0'));
}

// Code edits: digits, ",", Backspace and Enter pass unchanged; everything else is swallowed.
void confereNumeros(QChar c) {
    QChar k = c;
    OnKeyPressDosNumeros(k);
    const char16_t u = c.unicode();
    const bool aceito = (u >= u'0' && u <= u'9') || u == u',' || u == 8 || u == 13;
    FUZZ_CHECK(aceito ? k == c : k.isNull(), descreve(c, k));
}

// What the filter window lets through: control keys it handles, the printable ASCII range without
// the quote and the dead-key accents, and three Latin-1 signs; never a lower-case letter.
bool permitidoNosTextos(char16_t u) {
    switch (u) {
    case 3:
    case 8:
    case 9:
    case 10:
    case 13:
    case 22:
    case 26:
    case 0xA7:
    case 0xAA:
    case 0xBA:
        return true;
    case u'\'':
    case u'^':
    case u'`':
        return false;
    default:
        return u >= 32 && u <= 125 && !(u >= u'a' && u <= u'z');
    }
}

void confereTextos(QChar c) {
    QChar k = c;
    OnKeyPressDosTextos(k);
    const auto contexto = [&] { return descreve(c, k); }; // only built for a report
    FUZZ_CHECK(k.isNull() || permitidoNosTextos(k.unicode()), contexto());
    // Letters come out upper-case: ASCII ones as themselves, accented Latin ones as their plain letter.
    if (c.unicode() < 128 && c.isLetter())
        FUZZ_CHECK(k == c.toUpper(), contexto());
    else if (!k.isNull() && k != c)
        FUZZ_CHECK(c.unicode() >= 0xC0 && c.unicode() <= 0xFF && c.isLetter() && k.isUpper() &&
                       c.decompositionTag() == QChar::Canonical &&
                       QString(c).normalized(QString::NormalizationForm_D).front().toUpper() == k,
                   contexto());
    // A character allowed as it is passes unchanged, and filtering twice changes nothing.
    if (permitidoNosTextos(c.unicode()))
        FUZZ_CHECK(k == c, contexto());
    QChar outraVez = k;
    OnKeyPressDosTextos(outraVez);
    FUZZ_CHECK(outraVez == k, contexto());
}

void confere(QChar c) {
    confereNumeros(c);
    confereTextos(c);
}

} // namespace

// True when every surrogate in `t` is half of a well-formed pair.
bool semMetades(const QString& t) {
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t.at(i).isHighSurrogate() && i + 1 < t.size() && t.at(i + 1).isLowSurrogate())
            ++i;
        else if (t.at(i).isSurrogate())
            return false;
    }
    return true;
}

// Whole texts (an input method's commit, a key typing several units) go through the same filters
// character by character: never half a character out, and nothing the filter would refuse.
void confereTextoDigitado(const QString& texto) {
    const QString livre = widgets::FilterTypedText(nullptr, {}, texto);
    FUZZ_CHECK(semMetades(livre) && livre.size() <= texto.size(), livre);
    if (semMetades(texto)) // no handler: well-formed text passes untouched, but for NUL (no key)
        FUZZ_CHECK(livre == QString(texto).remove(QChar(0)), livre);

    const QString textos = widgets::FilterTypedText(
        nullptr, [](QObject*, QChar& k) { OnKeyPressDosTextos(k); }, texto);
    for (const QChar c : textos)
        FUZZ_CHECK(permitidoNosTextos(c.unicode()), textos);

    const QString numeros = widgets::FilterTypedText(
        nullptr, [](QObject*, QChar& k) { OnKeyPressDosNumeros(k); }, texto);
    for (const QChar c : numeros)
        FUZZ_CHECK((c >= u'0' && c <= u'9') || c == u',' || c.unicode() == 8 || c.unicode() == 13, numeros);
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    for (char32_t u = 0; u <= 0xFFFF; ++u)
        confere(QChar(static_cast<char16_t>(u)));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    for (const QString& texto : fuzz::leituras(dados, tamanho)) {
        for (const QChar c : texto)
            confere(c);
        confereTextoDigitado(texto);
    }
    return 0;
}
