#pragma once
// A test window with lookup fields over the demo database configured the ways the filter
// window never uses: multi-selection and the filtered search.
#include "lookup/CriadorLookup.h"

#include <QWidget>

namespace testsupport {

struct CampoLookup {
    widgets::EventEdit* codigo = nullptr;
    widgets::EventButton* botao = nullptr;
    widgets::EventEdit* descricao = nullptr;
    TCriadorLookup* controlador = nullptr;
    QString sqlDescricao;
    QString sqlListagem;
    QStringList pedidos; // kinds the provider was asked for
};

class JanelaLookups : public QWidget {
public:
    JanelaLookups();
    ~JanelaLookups() override;
    // Application (multi-selection), department (filtered search), section (filtered, several
    // rows per typed department code) and a plain edit to leave fields for.
    CampoLookup app;
    CampoLookup depp;
    CampoLookup secp;
    widgets::EventEdit* fim = nullptr;
    EstadoLookups estado; // shared by the three fields

    // Puts the focus in the field's code edit, sets its text and leaves it as Tab would.
    void digitaESai(CampoLookup& campo, const QString& texto);

private:
    void montaCampo(CampoLookup& campo, const QString& rotulo, int linha);
};

} // namespace testsupport
