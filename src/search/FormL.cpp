#include "search/FormL.h"

#include "base/AppError.h"
#include "common/ErrorReport.h"
#include "common/Funcoes.h"
#include "common/Teclas.h"
#include "db/DM.h"
#include "db/Query.h"
#include "search/TrocaTextoSQL.h"
#include "widgets/DataGrid.h"
#include "widgets/Fontes.h"
#include "widgets/Posicao.h"
#include "widgets/QueryModel.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QScopeGuard>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>

TFormL* FormL = nullptr;
qint32 ColAntDBGridBL = 0;

namespace UFormL {
qint32 TipoCampo = 0;
} // namespace UFormL

namespace {

constexpr int kPixelsPorCaractere = 14;

// Text columns take 1, numeric ones 0; other kinds leave the key kind as it was.
void defineTipoCampo(qint32& tipoCampo, const db::Field& campo) {
    if (campo.group == db::FieldGroup::Text)
        tipoCampo = 1;
    else if (campo.group == db::FieldGroup::Number)
        tipoCampo = 0;
}

bool letraOuDigito(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// Numeric column: digits, letters, "," (typed as ".") and ".", plus the control keys.
void filtroNumerico(QChar& Key) {
    const char16_t c = Key.unicode();
    if (c == u',') {
        Key = QChar(u'.');
        return;
    }
    if (!(c == kBackspace || c == kEnter || c == kEsc || c == u'.' || letraOuDigito(c)))
        Key = QChar(0);
}

// Text column: letters, digits and the few signs that occur in descriptions and codes. "%" is
// not typed (blanks already stand for "anything between"); "_" is, and LIKE reads it as "any one
// character".
void filtroTexto(QChar& Key) {
    const char16_t c = Key.unicode();
    switch (c) {
    case kBackspace:
    case kEnter:
    case kEsc:
    case u' ':
    case u'"':
    case u'&':
    case u',':
    case u'-':
    case u'.':
    case u'/':
    case u'\\':
    case u'_':
        return;
    default:
        if (!letraOuDigito(c))
            Key = QChar(0);
    }
}

QChar maiusculaAscii(QChar c) {
    if (c >= u'a' && c <= u'z')
        return QChar(static_cast<char16_t>(c.unicode() - u'a' + u'A'));
    return c;
}

QLabel* criaPainel(QStatusBar* barra, int indice, const QString& texto, int largura, int moldura) {
    auto* painel = new QLabel(texto, barra);
    painel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(indice));
    painel->setFixedWidth(largura);
    painel->setFrameStyle(moldura);
    painel->setIndent(2);
    barra->addWidget(painel);
    return painel;
}

} // namespace

TFormL::TFormL(QWidget* parent) : QDialog(parent) {
    // Created without a parent, the window is top-level with its own task-bar entry.
    setObjectName(QStringLiteral("FormL"));
    setWindowTitle(QStringLiteral("Buscar"));
    resize(674, 449);
    QFont fonte(kFonteControles);
    fonte.setPointSize(8);
    setFont(fonte);
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, paleta.color(QPalette::Button));
    setPalette(paleta);
    setAutoFillBackground(true);

    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(0, 0, 0, 0);
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    raiz->addWidget(Panel1);

    auto* disposicao = new QVBoxLayout(Panel1);
    disposicao->setContentsMargins(1, 1, 1, 1); // with the frame, 2 pixels around the grid
    disposicao->setSpacing(0);
    DBGridB = new DataGrid(Panel1);
    DBGridB->setObjectName(QStringLiteral("DBGridB"));
    disposicao->addWidget(DBGridB);

    Panel2 = new QFrame(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel2->setFixedHeight(24);
    disposicao->addWidget(Panel2);

    auto* barra = new QVBoxLayout(Panel2);
    barra->setContentsMargins(1, 1, 1, 1);
    StatusBar1 = new QStatusBar(Panel2);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedHeight(21);
    StatusBar1->setContentsMargins(0, 0, 0, 0);
    StatusBar1->setStyleSheet(QStringLiteral("QStatusBar::item { border: none; }"));
    // A panel sized from a long field is cut at the window's edge; it must not widen the window.
    StatusBar1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    barra->addWidget(StatusBar1);
    fPaineis[0] =
        criaPainel(StatusBar1, 0, QStringLiteral("Busca por CÓDIGO:"), 125, QFrame::Panel | QFrame::Sunken);
    fPaineis[1] = criaPainel(StatusBar1, 1, QString(), 90, QFrame::Panel | QFrame::Raised);
    fPaineis[2] = criaPainel(StatusBar1, 2, QString(), 50, QFrame::NoFrame);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(300);
    connect(Timer1, &QTimer::timeout, this, [this] { RunGuarded([this] { Timer1Timer(); }); });
    Timer1->start();

    QueryLoc = new db::Query(DM != nullptr ? &DM->FDConnection1 : nullptr, this);
    QueryLoc->setObjectName(QStringLiteral("QueryLoc"));
    DBGridB->setQuery(QueryLoc);
    DsLoc = DBGridB->queryModel();
    DsLoc->setObjectName(QStringLiteral("DsLoc"));

    DBGridB->OnDblClick = [this](QObject* Sender) { DBGridBDblClick(Sender); };
    DBGridB->OnTitleClick = [this](int Column) { DBGridBTitleClick(Column); };
    DBGridB->OnKeyPress = [this](QObject* Sender, QChar& Key) { DBGridBKeyPress(Sender, Key); };
    DBGridB->OnColEnter = [this](QObject* Sender) { DBGridBColEnter(Sender); };
    DBGridB->OnDrawColumnCell = [this](QPainter& Canvas, const QRect& Rect, int DataCol, int Row,
                                       bool Selected) {
        DBGridBDrawColumnCell(Canvas, Rect, DataCol, Row, Selected);
    };

    // The flow sizes the last column from the grid's width before the window is shown.
    raiz->activate();
    disposicao->activate();

    FormCreate();
}

TFormL::~TFormL() {
    if (FormL == this)
        FormL = nullptr;
}

QLabel* TFormL::painelStatus(int index) const {
    return index >= 0 && index < 3 ? fPaineis[index] : nullptr;
}

void TFormL::FormCreate() {
    Escolheu = false;
    usaDestaque = false;
    buscaNovamenteOnShow = true;
}

void TFormL::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    widgets::CentraNaTela(this);
    DBGridB->setFocus(Qt::OtherFocusReason);
    RunGuarded([this] { FormShow(); });
}

void TFormL::FormShow() {
    if (buscaNovamenteOnShow)
        OnShowDoFormL(DBGridB);
}

void TFormL::done(int r) {
    RunGuarded([this] { FormClose(); });
    QDialog::done(r);
}

void TFormL::FormClose() {
    if (!escolheu())
        QueryLoc->close();
    Decrescente = false;
}

void TFormL::Timer1Timer() {
    // Keeps the caption and task-bar entry blinking while the window waits for the user.
    QApplication::alert(this);
}

void TFormL::TrocaTextoDaSQL(const QString& p_campo) {
    QueryLoc->close();
    const QString novo =
        TrocaTextoSQL(QueryLoc->sql(), p_campo, FormaTroca::TextoDaSQL, 0, ColAntDBGridBL, Decrescente);
    QueryLoc->clearSql();
    QueryLoc->setSql(novo);
}

void TFormL::AlteraSQL(int Column) {
    const QString nome = DBGridB->columnFieldName(Column);
    if (nome.isEmpty())
        return;
    // The field's kind is read while the query is still open: closing it unbinds the column.
    const db::Field* campoDaColuna = DsLoc->field(Column);
    const std::optional<db::Field> ligado =
        campoDaColuna ? std::optional<db::Field>(*campoDaColuna) : std::nullopt;
    QueryLoc->close();
    const QString novo = TrocaTextoSQL(QueryLoc->sql(), nome.toUpper(), FormaTroca::Digitacao, Column,
                                       colunaDeBusca(), Decrescente);
    QueryLoc->clearSql();
    QueryLoc->setSql(novo);
    if (ligado)
        defineTipoCampo(tipoCampo(), *ligado);
    colunaDeBusca() = Column;
}

void TFormL::filtraTecla(QChar& Key) const {
    if (tipoCampo() == 0)
        filtroNumerico(Key);
    else if (tipoCampo() == 1)
        filtroTexto(Key);
}

bool TFormL::trataTeclaPropria(QChar& /*Key*/) {
    return false;
}

void TFormL::DBGridBKeyPress(QObject* /*Sender*/, QChar& Key) {
    filtraTecla(Key);
    if (Key.isNull() || trataTeclaPropria(Key))
        return;

    const char16_t c = Key.unicode();
    QLabel* const busca = fPaineis[1];
    QString texto = busca->text();
    if (c == kBackspace) {
        texto.chop(1);
    } else if (c == kEnter || c == kEsc) {
        // the search text stays
    } else if (c == u' ' && texto.isEmpty()) {
        Key = QChar(0);
    } else {
        texto += maiusculaAscii(Key);
    }
    busca->setText(texto);

    if (c != kEnter && c != kEsc) {
        // One repaint per key: the grid hears of the close, the new text and the open at once.
        QueryLoc->disableControls();
        const auto retoma = qScopeGuard([this] { QueryLoc->enableControls(); });
        QString valor = texto + u'%';
        valor.replace(u' ', u'%');
        const int coluna = DBGridB->selectedIndex();
        // Text columns match anywhere in the value; numbers (and the month column) from the start.
        if (const db::Field* f = DsLoc->field(coluna);
            f != nullptr && f->group == db::FieldGroup::Text && f->name != u"mundes")
            valor.prepend(u'%');
        if (coluna != colunaDeBusca())
            AlteraSQL(coluna);
        QueryLoc->close();
        QueryLoc->setParam(0, db::Value::fromText(valor));
        QueryLoc->open();
    }

    if (c == kEnter) {
        Key = QChar(0);
        DBGridBDblClick(nullptr);
    } else if (c == kEsc) {
        Key = QChar(0);
        QueryLoc->close();
        close();
    }
}

void TFormL::DBGridBDblClick(QObject* /*Sender*/) {
    if (!QueryLoc->active() || QueryLoc->rowCount() == 0)
        return;
    Escolheu = true;
    accept();
}

void TFormL::DBGridBTitleClick(int Column) {
    if (Column < 0 || Column >= DBGridB->columnCount())
        return;
    OnTitleClickDoDBGridB(Column);
    DBGridB->setFocus(Qt::OtherFocusReason);
    DBGridB->setSelectedIndex(Column);
}

void TFormL::OnTitleClickDoDBGridB(int Column) {
    const QString nome = DBGridB->columnFieldName(Column);
    if (nome.isEmpty())
        return;
    {
        QueryLoc->disableControls();
        const auto retoma = qScopeGuard([this] { QueryLoc->enableControls(); });
        QueryLoc->close();
        const QString novo = TrocaTextoSQL(QueryLoc->sql(), nome.toUpper(), FormaTroca::Titulo, Column,
                                           colunaDeBusca(), Decrescente);
        QueryLoc->clearSql();
        QueryLoc->setSql(novo);
        QueryLoc->setParam(0, db::Value::fromText(QStringLiteral("%")));
        QueryLoc->open();
    }
    fPaineis[0]->setText(QStringLiteral("Busca por ") + DBGridB->columnTitle(Column).toUpper() + u':');
    fPaineis[1]->clear();
    if (const db::Field* f = DsLoc->field(Column)) {
        fPaineis[1]->setFixedWidth(f->displayWidth * kPixelsPorCaractere);
        colunaDeBusca() = Column;
        defineTipoCampo(tipoCampo(), *f);
    }
}

void TFormL::DBGridBColEnter(QObject* /*Sender*/) {
    const int coluna = DBGridB->selectedIndex();
    fPaineis[0]->setText(QStringLiteral("Busca por ") + DBGridB->columnTitle(coluna).toUpper() + u':');
    fPaineis[1]->clear();
    if (const db::Field* f = DsLoc->field(coluna)) {
        fPaineis[1]->setFixedWidth(f->displayWidth * kPixelsPorCaractere);
        defineTipoCampo(tipoCampo(), *f);
    }
}

bool TFormL::destacaLinha(int linha) const {
    if (!usaDestaque || !QueryLoc->active() || linha < 0 || linha >= QueryLoc->rowCount())
        return false;
    const int indice = QueryLoc->fieldIndex(campo);
    return indice >= 0 && TextoDaCelula(*QueryLoc, linha, indice) == condicaoCampo;
}

void TFormL::DBGridBDrawColumnCell(QPainter& Canvas, const QRect& Rect, int DataCol, int Row, bool Selected) {
    if (!destacaLinha(Row))
        return;
    DBGridB->redrawCellText(Canvas, Rect, DataCol, Row, Selected, CorDoNumero(corDeDestaque));
}

void OnShowDoFormL(DataGrid* DBGridB) {
    if (DBGridB == nullptr)
        throw InvalidTypeError(QStringLiteral("OnShowDoFormL sem grade"));
    if (!DBGridB->OnTitleClick)
        throw AppError(
            QStringLiteral("A grade '%1' não tem tratamento de clique no título").arg(DBGridB->objectName()));
    if (DBGridB->columnCount() <= ColAntDBGridBL || ColAntDBGridBL < 0)
        ColAntDBGridBL = 0;
    DBGridB->OnTitleClick(ColAntDBGridBL);
}
