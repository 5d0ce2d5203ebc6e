#pragma once
// The search flows that fill a lookup field from a search window. `estado` is the field's
// window's: the flow holds its BotaoAtivo while the window is prepared and shown, and sets
// NaoPassouOnEnter after a single choice.
#include "lookup/CriadorLookup.h"

// Single choice: lists TextoSqlL with "%" in the search window and writes the chosen row's
// code(s) and description(s) back. Ds stands for the data source (none in this program).
bool OnClickDoBotaoLook(EstadoLookups& estado, const db::Query* Ds, const QList<QWidget*>& Codigo,
                        const TListaEdits& EditDes, const QString& TextoSqlL, bool Proximo, bool DispEsqDir,
                        bool limitar);

// The same, handing a highlight rule to the window (the controller's own variant).
bool OnClickDoBotaoLook2(EstadoLookups& estado, const TLookupDestaque* Destaque, const db::Query* Ds,
                         const QList<QWidget*>& Codigo, const TListaEdits& EditDes, const QString& TextoSqlL,
                         bool Proximo, bool DispEsqDir, bool limitar);

// Multi-choice: the listing with a mark column in the multi-select window.
bool OnClickDoBotaoLookAvancado(EstadoLookups& estado, const db::Query* Ds, const QList<QWidget*>& Codigo,
                                const TListaEdits& EditDes, const QString& TextoSqlL, bool Proximo,
                                bool DispEsqDir, bool limitar);

// Listing text helpers of the flows (pure functions of the SQL).
QString PreparaListagem(QString TextoSqlL, bool limitar); // one ";" off, " limit 50;" unless " limit "
QString retornaPrimeiroCampo(const QString& TextoSqlL);
QString ListagemComMarcacao(QString TextoSqlL); // the mark-column prefix in place of "select"
