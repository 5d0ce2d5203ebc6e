#include "JanelaLookups.h"

#include <QGridLayout>
#include <QLabel>

namespace testsupport {

JanelaLookups::JanelaLookups() {
    setObjectName(QStringLiteral("JanelaLookups"));
    setWindowTitle(QStringLiteral("Lookups de teste"));
    auto* grade = new QGridLayout(this);
    Q_UNUSED(grade);
    app.sqlDescricao = QStringLiteral("select appdes from app where appcod = :0");
    app.sqlListagem = QStringLiteral("select appcod, appdes from app where appdes like :0 order by appdes");
    depp.sqlDescricao = QStringLiteral("select deppdes from depp where deppcod = :0");
    depp.sqlListagem = QStringLiteral(
        "select deppcod as Código,deppdes as Descrição from depp where deppdes like :0 order by deppdes");
    secp.sqlDescricao = QStringLiteral("select secpdes from secp where secpcod = :0");
    secp.sqlListagem = QStringLiteral("select secpdeppcod as Dep, secpdes as Descrição from secp where "
                                      "secpdes like :0 order by secpdes");
    montaCampo(app, QStringLiteral("Aplicação"), 0);
    montaCampo(depp, QStringLiteral("Departamento"), 1);
    montaCampo(secp, QStringLiteral("Seção"), 2);
    fim = new widgets::EventEdit(this);
    fim->setObjectName(QStringLiteral("fim"));
    static_cast<QGridLayout*>(layout())->addWidget(fim, 3, 1);

    app.controlador->setPermiteMultiSelecao(true);
    depp.controlador->setBuscaUnica(false);
    secp.controlador->setBuscaUnica(false);
}

JanelaLookups::~JanelaLookups() {
    // The controls' handlers reach `estado`: they go while it still exists.
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void JanelaLookups::montaCampo(CampoLookup& campo, const QString& rotulo, int linha) {
    auto* grade = static_cast<QGridLayout*>(layout());
    campo.codigo = new widgets::EventEdit(this);
    campo.codigo->setObjectName(QStringLiteral("Edit") + rotulo);
    campo.botao = new widgets::EventButton(this);
    campo.botao->setObjectName(QStringLiteral("bb") + rotulo);
    campo.botao->setFocusPolicy(Qt::ClickFocus);
    campo.descricao = new widgets::EventEdit(this);
    campo.descricao->setObjectName(QStringLiteral("Edit") + rotulo + QStringLiteral("Des"));
    campo.descricao->setReadOnly(true);
    campo.descricao->setFocusPolicy(Qt::ClickFocus);
    grade->addWidget(new QLabel(rotulo, this), linha, 0);
    grade->addWidget(campo.codigo, linha, 1);
    grade->addWidget(campo.botao, linha, 2);
    grade->addWidget(campo.descricao, linha, 3);
    CampoLookup* c = &campo;
    campo.controlador =
        new TCriadorLookup(estado, campo.codigo, {campo.descricao}, campo.botao, [c](QObject*, quint8 e) {
            c->pedidos << QString::number(e);
            return e == 1 ? c->sqlDescricao : e == 2 ? c->sqlListagem : QString();
        });
}

void JanelaLookups::digitaESai(CampoLookup& campo, const QString& texto) {
    campo.codigo->setFocus();
    campo.codigo->setText(texto);
    campo.codigo->OnExit(campo.codigo);
}

} // namespace testsupport
