#include "common/Conversao.h"

#include "base/AppError.h"

QString EnumeradoToStr(int t, const QStringList& AString, const QList<int>& AEnumerados) {
    if (AString.size() != AEnumerados.size())
        throw RangeError(QStringLiteral("Listas de textos (%1) e de valores (%2) com tamanhos diferentes")
                             .arg(AString.size())
                             .arg(AEnumerados.size()));
    QString resultado;
    for (qsizetype i = 0; i < AEnumerados.size(); ++i) {
        if (AEnumerados.at(i) == t)
            resultado = AString.at(i);
    }
    return resultado;
}
