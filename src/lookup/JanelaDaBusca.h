#pragma once
// A search under way: the lookups' BotaoAtivo is set and the window lives in its unit's variable
// until the flow ends, on every path (it is released once its pending events are processed).
#include "lookup/EstadoLookups.h"

template <typename Janela> class JanelaDaBusca {
public:
    JanelaDaBusca(Janela*& variavel, EstadoLookups& estado) : m_variavel(variavel), m_estado(estado) {
        // Set only once the window exists: a window that cannot be created must not leave every
        // later validation switched off.
        m_variavel = new Janela();
        m_estado.BotaoAtivo = true;
    }
    ~JanelaDaBusca() {
        m_estado.BotaoAtivo = false;
        if (m_variavel)
            m_variavel->deleteLater();
        m_variavel = nullptr;
    }
    JanelaDaBusca(const JanelaDaBusca&) = delete;
    JanelaDaBusca& operator=(const JanelaDaBusca&) = delete;

private:
    Janela*& m_variavel;
    EstadoLookups& m_estado;
};
