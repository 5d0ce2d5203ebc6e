#include "app/FormPrincipal.h"

#include "app/CatalogoLookup.h"
#include "common/ErrorReport.h"
#include "common/EventosTeclado.h"
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
#include <QScopeGuard>

#include <array>

namespace {

using widgets::EventButton;
using widgets::EventEdit;

// One lookup field of the filter area: its caption, the catalogue row behind its lookup, its
// report parameter, its place (relative to GroupBox1) and the window's members for its controls.
// The window, the lookups and the print parameters are all built from kCampos.
struct Campo {
    const char* sufixo; // Edit<sufixo>, bb<sufixo>, Edit<sufixo>Des
    const char16_t* legenda;
    CampoLookup lookup;
    const char* parametro; // report parameter key; nullptr: the field only narrows others
    int ordemDoLookup;     // when its controller is made, among the others
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

constexpr auto kCampos = std::to_array<Campo>({
    {"Emp", u"Empresa", CampoLookup::Emp, "P_EMP", 0, 6, 24, 12, 24, &F::Label1, &F::EditEmp, &F::bbEmp,
     &F::EditEmpDes},
    {"Dep", u"Depósito", CampoLookup::Dep, "P_DEP", 2, 49, 66, 13, 67, &F::Label2, &F::EditDep, &F::bbDep,
     &F::EditDepDes},
    {"Pro", u"Produto", CampoLookup::Pro, "P_PRO", 1, 94, 112, 12, 112, &F::Label3, &F::EditPro, &F::bbPro,
     &F::EditProDes},
    {"Forn", u"Fornecedor", CampoLookup::Forn, "P_FORN", 3, 138, 156, 12, 156, &F::Label4, &F::EditForn,
     &F::bbForn, &F::EditFornDes},
    {"Depp", u"Departamento", CampoLookup::Depp, nullptr, 4, 181, 199, 12, 199, &F::Label5, &F::EditDepp,
     &F::bbDepp, &F::EditDeppDes},
    {"Secp", u"Seção", CampoLookup::Secp, "P_SECP", 5, 224, 242, 12, 242, &F::Label6, &F::EditSecp,
     &F::bbSecp, &F::EditSecpDes},
    {"Cat", u"Categoria", CampoLookup::Cat, "P_CAT", 6, 268, 286, 12, 286, &F::Label7, &F::EditCat, &F::bbCat,
     &F::EditCatDes},
    {"Scat", u"Subcategoria", CampoLookup::Scat, "P_SCAT", 7, 312, 330, 12, 330, &F::Label8, &F::EditScat,
     &F::bbScat, &F::EditScatDes},
    {"Fam", u"Família", CampoLookup::Fam, "P_FAM", 8, 356, 374, 12, 374, &F::Label9, &F::EditFam, &F::bbFam,
     &F::EditFamDes},
    {"Marca", u"Marca", CampoLookup::Marca, "P_MARCA", 10, 400, 418, 12, 418, &F::Label10, &F::EditMarca,
     &F::bbMarca, &F::EditMarcaDes},
    {"App", u"Aplicação", CampoLookup::App, "P_APP", 9, 446, 464, 12, 465, &F::Label11, &F::EditApp,
     &F::bbApp, &F::EditAppDes},
});

// The window's height follows the last field: title, fields, a gap, the choices area docked at the
// bottom of the filter area.
constexpr int kPosicaoDaSenha = 4; // in the command line

constexpr int kLargura = 960;
constexpr int kAlturaTitulo = 30;
constexpr int kAlturaEdit = 24;
constexpr int kFolgaAntesDasEscolhas = 10;
constexpr int kAlturaEscolhas = 66;
constexpr int kMargemDasEscolhas = 2;
constexpr int kAlturaFiltros =
    kCampos.back().topo + kAlturaEdit + kFolgaAntesDasEscolhas + kAlturaEscolhas + kMargemDasEscolhas;

QFont fonte(const QString& familia, int pontos, bool negrito = false) {
    QFont f(familia, pontos);
    f.setBold(negrito);
    return f;
}

} // namespace

TFormPrincipal::TFormPrincipal(QStringList args, QWidget* parent) : QWidget(parent), m_args(std::move(args)) {
    setObjectName(QStringLiteral("FormPrincipal"));
    setWindowTitle(QStringLiteral("Relatório de Endereçamento de Produto"));
    setFont(fonte(kFonteJanela, 9));
    setFixedSize(kLargura, kAlturaTitulo + kAlturaFiltros);
    criaControles();

    m_keyPreview = new widgets::KeyPreview(this);
    m_keyPreview->OnKeyPress = [this](QObject* Sender, QChar& Key) { FormKeyPress(Sender, Key); };
    BitBtn1->OnClick = [this](QObject* Sender) { BitBtn1Click(Sender); };

    EditEmp->setFocus();
    widgets::CentraNaTela(this);
}

TFormPrincipal::~TFormPrincipal() {
    // The lookup fields' handlers reach m_estadoLookups, which would otherwise go before QWidget
    // deletes the controls.
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void TFormPrincipal::criaControles() {
    PanelTitulo = new QLabel(QStringLiteral("Relação de Produtos por Endereço [v25.04.28.1]"), this);
    PanelTitulo->setObjectName(QStringLiteral("PanelTitulo"));
    PanelTitulo->setGeometry(0, 0, kLargura, kAlturaTitulo);
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
    GroupBox1->setGeometry(0, kAlturaTitulo, kLargura, kAlturaFiltros);

    const QFont fonteDasLinhas = fonte(kFonteControles, 10);
    const QColor fundoDescricao = QApplication::palette().color(QPalette::ToolTipBase);
    const QIcon iconeBusca(glifoBusca());
    // The focus chain follows creation: row by row (code edit, button, description), then the
    // choices. Buttons and descriptions are no tab stops, but Enter in one of them still moves on
    // to the next row, as their place in the chain says.
    for (const Campo& l : kCampos) {
        const QString sufixo = QString::fromLatin1(l.sufixo);
        const QString legenda = QString::fromUtf16(l.legenda);

        auto* label = new QLabel(legenda, GroupBox1);
        label->setObjectName(QStringLiteral("Label%1").arg(&l - kCampos.data() + 1));
        label->setFont(fonteDasLinhas);
        label->move(13, l.topoLegenda);
        label->adjustSize();

        auto* codigo = new EventEdit(GroupBox1);
        codigo->setObjectName(QStringLiteral("Edit") + sufixo);
        codigo->setFont(fonteDasLinhas);
        codigo->setGeometry(l.esquerdaCodigo, l.topo, 86, kAlturaEdit);
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
        descricao->setGeometry(124, l.topo, 626, kAlturaEdit);
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
    GroupBox2->setGeometry(kMargemDasEscolhas, GroupBox1->height() - kMargemDasEscolhas - kAlturaEscolhas,
                           GroupBox1->width() - 2 * kMargemDasEscolhas, kAlturaEscolhas);

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
    // The password is kept no longer than the connection needs it: libpq holds what it needs to
    // connect again.
    const QString senha = argumento(kPosicaoDaSenha);
    if (kPosicaoDaSenha < m_args.size())
        m_args[kPosicaoDaSenha].clear();
    CodigoEmpresaLogada = StrToInt(argumento(6));
    CodigoFuncionarioLogado = StrToInt(argumento(7));

    db::Connection& conexao = DM->FDConnection1;
    conexao.close();
    conexao.setDriverId(QStringLiteral("PG"));
    // libpq is linked with the program; there is no client library folder to point at.
    conexao.setParam(QStringLiteral("server"), argumento(1));
    conexao.setParam(QStringLiteral("port"), argumento(2));
    conexao.setParam(QStringLiteral("user_name"), argumento(3));
    conexao.setParam(QStringLiteral("password"), senha);
    conexao.setParam(QStringLiteral("database"), argumento(5));
    const auto esqueceSenha = qScopeGuard([&conexao] { conexao.setParam(QStringLiteral("password"), {}); });
    conexao.open();

    // Each controller makes itself a child of the window and lives as long as it does.
    std::array<const Campo*, kCampos.size()> emOrdem{};
    for (const Campo& c : kCampos)
        emOrdem[static_cast<std::size_t>(c.ordemDoLookup)] = &c;
    for (const Campo* c : emOrdem)
        new TCriadorLookup(m_estadoLookups, this->*c->codigo, {this->*c->descricao}, this->*c->botao,
                           [this](QObject* o, TEventoLookUp e) { return ELookUP(o, e); });
}

void TFormPrincipal::FormKeyPress(QObject* Sender, QChar& Key) {
    OnKeyPressDoForm(Sender, Key);
}

QString TFormPrincipal::ELookUP(QObject* Objeto, TEventoLookUp Evento) const {
    if (Objeto == nullptr)
        return {};
    for (const Campo& c : kCampos)
        if (Objeto == this->*c.codigo)
            return SqlDoLookup(c.lookup, Evento, {EditDepp->text(), EditSecp->text(), EditCat->text()});
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
    // A field without a parameter (the department) only narrows the lists below it.
    for (const Campo& c : kCampos)
        if (c.parametro != nullptr) {
            const QString texto = (this->*c.codigo)->text();
            relatorio.addParametro(QString::fromLatin1(c.parametro),
                                   texto.isEmpty() ? QStringLiteral("0") : texto);
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
