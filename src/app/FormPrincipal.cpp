#include "app/FormPrincipal.h"

#include "app/CatalogoLookup.h"
#include "common/ErrorReport.h"
#include "common/EventosTeclado.h"
#include "common/Globais.h"
#include "common/Numeros.h"
#include "db/DM.h"
#include "lookup/CriadorLookup.h"
#include "report/RelatorioJasper.h"
#include "widgets/EventButton.h"
#include "widgets/EventEdit.h"
#include "widgets/Fontes.h"
#include "widgets/Glifos.h"
#include "widgets/KeyPreview.h"
#include "widgets/Posicao.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QRadioButton>

#include <array>

QString Servidor;
QString Porta;
QString Usuario;
QString Senha;
QString Banco;

namespace {

using widgets::EventButton;
using widgets::EventEdit;

// One lookup row of the filter area: caption, positions (relative to GroupBox1) and its controls.
struct Linha {
    const char* sufixo; // Edit<sufixo>, bb<sufixo>, Edit<sufixo>Des
    CampoLookup campo;
    const char16_t* legenda;
    int topoLegenda;
    int topo;
    int esquerdaCodigo;
    int topoBotao;
    QLabel* TFormPrincipal::*label;
    EventEdit* TFormPrincipal::*codigo;
    EventButton* TFormPrincipal::*botao;
    EventEdit* TFormPrincipal::*descricao;
};

using F = TFormPrincipal;

const std::array<Linha, 11> kLinhas = {{
    {"Emp", CampoLookup::Emp, u"Empresa", 6, 24, 12, 24, &F::Label1, &F::EditEmp, &F::bbEmp, &F::EditEmpDes},
    {"Dep", CampoLookup::Dep, u"Depósito", 49, 66, 13, 67, &F::Label2, &F::EditDep, &F::bbDep,
     &F::EditDepDes},
    {"Pro", CampoLookup::Pro, u"Produto", 94, 112, 12, 112, &F::Label3, &F::EditPro, &F::bbPro,
     &F::EditProDes},
    {"Forn", CampoLookup::Forn, u"Fornecedor", 138, 156, 12, 156, &F::Label4, &F::EditForn, &F::bbForn,
     &F::EditFornDes},
    {"Depp", CampoLookup::Depp, u"Departamento", 181, 199, 12, 199, &F::Label5, &F::EditDepp, &F::bbDepp,
     &F::EditDeppDes},
    {"Secp", CampoLookup::Secp, u"Seção", 224, 242, 12, 242, &F::Label6, &F::EditSecp, &F::bbSecp,
     &F::EditSecpDes},
    {"Cat", CampoLookup::Cat, u"Categoria", 268, 286, 12, 286, &F::Label7, &F::EditCat, &F::bbCat,
     &F::EditCatDes},
    {"Scat", CampoLookup::Scat, u"Subcategoria", 312, 330, 12, 330, &F::Label8, &F::EditScat, &F::bbScat,
     &F::EditScatDes},
    {"Fam", CampoLookup::Fam, u"Família", 356, 374, 12, 374, &F::Label9, &F::EditFam, &F::bbFam,
     &F::EditFamDes},
    {"Marca", CampoLookup::Marca, u"Marca", 400, 418, 12, 418, &F::Label10, &F::EditMarca, &F::bbMarca,
     &F::EditMarcaDes},
    {"App", CampoLookup::App, u"Aplicação", 446, 464, 12, 465, &F::Label11, &F::EditApp, &F::bbApp,
     &F::EditAppDes},
}};

QFont fonte(const QString& familia, int pontos, bool negrito = false) {
    QFont f(familia, pontos);
    f.setBold(negrito);
    return f;
}

} // namespace

TFormPrincipal::TFormPrincipal(const QStringList& args, QWidget* parent) : QWidget(parent), m_args(args) {
    setObjectName(QStringLiteral("FormPrincipal"));
    setWindowTitle(QStringLiteral("Relatório de Endereçamento de Produto"));
    setFont(fonte(kFonteJanela, 9));
    setFixedSize(960, 596);
    criaControles();

    m_keyPreview = new widgets::KeyPreview(this);
    m_keyPreview->OnKeyPress = [this](QObject* Sender, QChar& Key) { FormKeyPress(Sender, Key); };
    BitBtn1->OnClick = [this](QObject* Sender) { BitBtn1Click(Sender); };

    EditEmp->setFocus();
    widgets::CentraNaTela(this);
}

TFormPrincipal::~TFormPrincipal() = default;

void TFormPrincipal::criaControles() {
    PanelTitulo = new QLabel(QStringLiteral("Relação de Produtos por Endereço [v25.04.28.1]"), this);
    PanelTitulo->setObjectName(QStringLiteral("PanelTitulo"));
    PanelTitulo->setGeometry(0, 0, 960, 30);
    PanelTitulo->setAlignment(Qt::AlignCenter);
    PanelTitulo->setFont(fonte(kFonteTitulo, 8, true));
    PanelTitulo->setAutoFillBackground(true);
    {
        QPalette paleta = PanelTitulo->palette();
        paleta.setColor(QPalette::Window, QColor(0x49, 0x2E, 0x73));
        paleta.setColor(QPalette::WindowText, Qt::white);
        PanelTitulo->setPalette(paleta);
    }

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(0, 30, 960, 566);

    const QFont fonteDasLinhas = fonte(kFonteControles, 10);
    const QColor fundoDescricao = QApplication::palette().color(QPalette::ToolTipBase);
    const QIcon iconeBusca(glifoBusca());
    // The focus chain follows creation: row by row (code edit, button, description), then the
    // choices. Buttons and descriptions are no tab stops, but Enter in one of them still moves on
    // to the next row, as their place in the chain says.
    for (const Linha& l : kLinhas) {
        const QString sufixo = QString::fromLatin1(l.sufixo);
        const QString legenda = QString::fromUtf16(l.legenda);

        auto* label = new QLabel(legenda, GroupBox1);
        label->setObjectName(QStringLiteral("Label%1").arg(&l - kLinhas.data() + 1));
        label->setFont(fonteDasLinhas);
        label->move(13, l.topoLegenda);
        label->adjustSize();

        auto* codigo = new EventEdit(GroupBox1);
        codigo->setObjectName(QStringLiteral("Edit") + sufixo);
        codigo->setFont(fonteDasLinhas);
        codigo->setGeometry(l.esquerdaCodigo, l.topo, 86, 24);
        codigo->setAccessibleName(legenda);
        label->setBuddy(codigo);

        auto* botao = new EventButton(GroupBox1);
        botao->setObjectName(QStringLiteral("bb") + sufixo);
        botao->setFont(fonteDasLinhas);
        botao->setGeometry(99, l.topoBotao, 24, 22);
        botao->setIcon(iconeBusca);
        botao->setIconSize(QSize(16, 16));
        botao->setToolTip(QStringLiteral("Listagem de Produtos"));
        botao->setAccessibleName(QStringLiteral("Buscar ") + legenda);
        // Not a tab stop, but a click must still take the focus: the lookup checks where it is.
        botao->setFocusPolicy(Qt::ClickFocus);

        auto* descricao = new EventEdit(GroupBox1);
        descricao->setObjectName(QStringLiteral("Edit") + sufixo + QStringLiteral("Des"));
        descricao->setFont(fonteDasLinhas);
        descricao->setGeometry(124, l.topo, 626, 24);
        descricao->setReadOnly(true);
        descricao->setFocusPolicy(Qt::ClickFocus);
        descricao->setAccessibleName(QStringLiteral("Descrição de ") + legenda);
        QPalette paleta = descricao->palette();
        paleta.setColor(QPalette::Base, fundoDescricao);
        descricao->setPalette(paleta);

        this->*l.label = label;
        this->*l.codigo = codigo;
        this->*l.botao = botao;
        this->*l.descricao = descricao;
    }

    // The choices, docked at the bottom of the filter area.
    GroupBox2 = new QGroupBox(GroupBox1);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(2, GroupBox1->height() - 2 - 66, GroupBox1->width() - 4, 66);

    Panel1 = new QFrame(GroupBox2);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::NoFrame);
    Panel1->setGeometry(2, GroupBox2->height() - 2 - 52, GroupBox2->width() - 4, 52);

    Label12 = new QLabel(QStringLiteral("Apresentação"), Panel1);
    Label12->setObjectName(QStringLiteral("Label12"));
    Label12->move(8, 4);
    Label12->adjustSize();

    cbApresentacao = new QComboBox(Panel1);
    cbApresentacao->setObjectName(QStringLiteral("cbApresentacao"));
    cbApresentacao->addItems(
        {QStringLiteral("Depósito"), QStringLiteral("Produto"), QStringLiteral("Empresa")});
    cbApresentacao->setCurrentIndex(0);
    cbApresentacao->setGeometry(7, 22, 130, cbApresentacao->sizeHint().height());
    cbApresentacao->setAccessibleName(QStringLiteral("Apresentação"));
    Label12->setBuddy(cbApresentacao);

    Label13 = new QLabel(QStringLiteral("Ordenar por"), Panel1);
    Label13->setObjectName(QStringLiteral("Label13"));
    Label13->move(149, 4);
    Label13->adjustSize();

    cbOrdem = new QComboBox(Panel1);
    cbOrdem->setObjectName(QStringLiteral("cbOrdem"));
    cbOrdem->addItems(
        {QStringLiteral("Data"), QStringLiteral("Valor Bruto"), QStringLiteral("Valor Líquido")});
    cbOrdem->setCurrentIndex(0);
    cbOrdem->setGeometry(144, 22, 130, cbOrdem->sizeHint().height());
    cbOrdem->setAccessibleName(QStringLiteral("Ordenar por"));
    Label13->setBuddy(cbOrdem);

    rgFormato = new QGroupBox(QStringLiteral("Formato"), Panel1);
    rgFormato->setObjectName(QStringLiteral("rgFormato"));
    rgFormato->setFont(fonte(font().family(), font().pointSize(), true));
    rgFormato->setGeometry(288, 5, 537, 40);
    const std::array<std::pair<QRadioButton * TFormPrincipal::*, const char16_t*>, 3> itens = {{
        {&TFormPrincipal::rbVisualizacao, u"Visualização"},
        {&TFormPrincipal::rbPDF, u"PDF"},
        {&TFormPrincipal::rbExcel, u"Excel(XLS)"},
    }};
    // Three equal columns below the caption.
    const int margem = 8;
    const int larguraColuna = (rgFormato->width() - 2 * margem) / 3;
    for (std::size_t i = 0; i < itens.size(); ++i) {
        auto* radio = new QRadioButton(QString::fromUtf16(itens[i].second), rgFormato);
        radio->setObjectName(QStringLiteral("rgFormatoItem%1").arg(i));
        radio->setGeometry(margem + static_cast<int>(i) * larguraColuna, 17, larguraColuna, 20);
        this->*itens[i].first = radio;
        // The group is one tab stop: its checked item.
        connect(radio, &QRadioButton::toggled, this,
                [radio](bool marcado) { radio->setFocusPolicy(marcado ? Qt::StrongFocus : Qt::ClickFocus); });
        radio->setFocusPolicy(Qt::ClickFocus);
    }
    rbVisualizacao->setChecked(true);

    BitBtn1 = new EventButton(Panel1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setText(QStringLiteral("&Imprimir"));
    BitBtn1->setGeometry(841, 10, 100, 33);
    {
        const QPixmap impressora = glifoImpressora();
        QIcon icone;
        icone.addPixmap(impressora, QIcon::Normal);
        icone.addPixmap(acinzentado(impressora), QIcon::Disabled);
        BitBtn1->setIcon(icone);
        BitBtn1->setIconSize(impressora.size());
    }
}

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

    // Each controller makes itself a child of the window and lives as long as it does.
    const auto criaLookup = [this](EventEdit* codigo, EventEdit* descricao, EventButton* botao) {
        new TCriadorLookup(codigo, {descricao}, botao,
                           [this](QObject* o, quint8 e) { return ELookUP(o, e); });
    };
    criaLookup(EditEmp, EditEmpDes, bbEmp);
    criaLookup(EditPro, EditProDes, bbPro);
    criaLookup(EditDep, EditDepDes, bbDep);
    criaLookup(EditForn, EditFornDes, bbForn);
    criaLookup(EditDepp, EditDeppDes, bbDepp);
    criaLookup(EditSecp, EditSecpDes, bbSecp);
    criaLookup(EditCat, EditCatDes, bbCat);
    criaLookup(EditScat, EditScatDes, bbScat);
    criaLookup(EditFam, EditFamDes, bbFam);
    criaLookup(EditApp, EditAppDes, bbApp);
    criaLookup(EditMarca, EditMarcaDes, bbMarca);
}

void TFormPrincipal::FormKeyPress(QObject* Sender, QChar& Key) {
    OnKeyPressDoForm(Sender, Key);
}

QString TFormPrincipal::ELookUP(QObject* Objeto, quint8 Evento) const {
    if (Objeto == nullptr)
        return {};
    for (const Linha& l : kLinhas)
        if (Objeto == this->*l.codigo)
            return SqlDoLookup(l.campo, Evento, {EditDepp->text(), EditSecp->text(), EditCat->text()});
    return {};
}

int TFormPrincipal::rgFormatoIndex() const {
    const std::array<const QRadioButton*, 3> itens = {rbVisualizacao, rbPDF, rbExcel};
    for (std::size_t i = 0; i < itens.size(); ++i)
        if (itens[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}

void TFormPrincipal::BitBtn1Click(QObject* /*Sender*/) {
    TRelatorioVisualizador relatorio(QStringLiteral("zv_relacao_produto_enderecamento"));
    // The department only narrows the lists above; the report has no parameter for it.
    const std::array<std::pair<const char*, const EventEdit*>, 10> codigos = {{
        {"P_EMP", EditEmp},
        {"P_DEP", EditDep},
        {"P_PRO", EditPro},
        {"P_FORN", EditForn},
        {"P_SECP", EditSecp},
        {"P_CAT", EditCat},
        {"P_SCAT", EditScat},
        {"P_FAM", EditFam},
        {"P_MARCA", EditMarca},
        {"P_APP", EditApp},
    }};
    for (const auto& [chave, edit] : codigos) {
        const QString texto = edit->text();
        relatorio.addParametro(QString::fromLatin1(chave), texto.isEmpty() ? QStringLiteral("0") : texto);
    }
    relatorio.addParametro(QStringLiteral("P_GRUPO"),
                           static_cast<qint32>(cbApresentacao->currentIndex() + 1));
    relatorio.addParametro(QStringLiteral("P_ORDEM"), static_cast<qint32>(cbOrdem->currentIndex()));

    TFormatoSaida formato = tsVisualizacao;
    switch (rgFormatoIndex()) {
    case 1:
        formato = tsPDF;
        break;
    case 2:
        formato = tsXLS;
        break;
    default:
        break;
    }
    relatorio.executar(formato);
}

void TFormPrincipal::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // The code edits ignore focus that comes with a window's activation (a search window
    // closing). The window's own first activation is the user's entry into its first field.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_jaAtivada) {
        m_jaAtivada = true;
        if (auto* edit = qobject_cast<EventEdit*>(focusWidget()); edit && widgets::Assigned(edit->OnEnter))
            RunGuarded([edit] { edit->OnEnter(edit); });
    }
}
