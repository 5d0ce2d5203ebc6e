#include "app/FormPrincipal.h"

#include "app/DM.h"
#include "common/Globais.h"
#include "common/Numeros.h"

QString Servidor;
QString Porta;
QString Usuario;
QString Senha;
QString Banco;

TFormPrincipal::TFormPrincipal(const QStringList& args, QWidget* parent) : QWidget(parent), m_args(args) {
    setObjectName(QStringLiteral("FormPrincipal"));
    setWindowTitle(QStringLiteral("Relatório de Endereçamento de Produto"));
}

TFormPrincipal::~TFormPrincipal() = default;

QString TFormPrincipal::argumento(int position) const {
    return position < m_args.size() ? m_args[position] : QString();
}

void TFormPrincipal::FormCreate() {
    Servidor = argumento(1);
    Porta = argumento(2);
    Usuario = argumento(3);
    Senha = argumento(4);
    Banco = argumento(5);
    CodigoEmpresaLogada = StrToInt(argumento(6));
    CodigoFuncionarioLogado = StrToInt(argumento(7));
    EmpresaLogada = CodigoEmpresaLogada;
    FuncionarioLogado = CodigoFuncionarioLogado;
    UsuarioLogado = argumento(8);

    db::Connection& conexao = DM->FDConnection1;
    conexao.close();
    conexao.setDriverId(QStringLiteral("PG"));
    // libpq is linked with the program; there is no client library folder to point at.
    conexao.setParam(QStringLiteral("server"), Servidor);
    conexao.setParam(QStringLiteral("port"), Porta);
    conexao.setParam(QStringLiteral("user_name"), Usuario);
    conexao.setParam(QStringLiteral("password"), Senha);
    conexao.setParam(QStringLiteral("database"), Banco);
    conexao.open();
}
