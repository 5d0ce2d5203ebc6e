#include "common/Globais.h"

qint32 EmpresaLogada = 0;
qint32 FuncionarioLogado = 0;
QString UsuarioLogado;
