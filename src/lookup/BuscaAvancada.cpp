#include "lookup/BuscaLookup.h"
#include "common/AppError.h"

// TEMPORARY until the multi-select window lands (same session).
bool OnClickDoBotaoLookAvancado(const db::Query*, const QList<QWidget*>&, const TListaEdits&, const QString&, bool,
                                bool, bool) {
    throw AppError(QStringLiteral("Busca com seleção múltipla indisponível"));
}
