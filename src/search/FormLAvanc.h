#pragma once
// The modal multi-select search window: the search window with a mark column in front.
// Marks live in the query's in-memory edit cache and never reach the database.
#include "search/FormL.h"

namespace UFormLAvanc {
extern bool Escolheu;    // the window was accepted with Enter
extern qint32 TipoCampo; // key kind of the current column, apart from the single-choice window's
} // namespace UFormLAvanc

// The in-memory filter that keeps only the marked rows of the window's listing.
inline const QString kFiltroMarcados = QStringLiteral(" check = 'X' ");

class TFormLAvanc : public TFormL {
    Q_OBJECT
public:
    explicit TFormLAvanc(QWidget* parent = nullptr);
    ~TFormLAvanc() override;

    // Toggles the mark of the current row.
    void marcar();

    void FormShow() override;
    void DBGridBDblClick(QObject* Sender) override;

protected:
    qint32& colunaDeBusca() override;
    qint32& tipoCampo() const override { return UFormLAvanc::TipoCampo; }
    bool escolheu() const override { return UFormLAvanc::Escolheu; }
    void filtraTecla(QChar& Key) const override;
    bool trataTeclaPropria(QChar& Key) override;

private:
    // The multi-select window keeps its answer in UFormLAvanc::Escolheu and always searches again
    // on show: the single-choice members would only mislead here.
    using TFormL::buscaNovamenteOnShow;
    using TFormL::Escolheu;

    void aceitar();
    void defineMarca(const QString& marca);
};

extern TFormLAvanc* FormLAvanc;
