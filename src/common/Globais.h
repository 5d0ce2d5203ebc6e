#pragma once
// The login record handed over by the host application; written once at start-up.
#include <QString>

extern qint32 EmpresaLogada;
extern qint32 FuncionarioLogado;
extern QString UsuarioLogado;
