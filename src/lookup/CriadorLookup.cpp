#include "lookup/CriadorLookup.h"

#include "base/AppError.h"
#include "common/EventosForm.h"
#include "common/EventosString.h"
#include "common/EventosTeclado.h"
#include "common/Funcoes.h"
#include "common/Numeros.h"
#include "db/DM.h"
#include "db/Query.h"
#include "lookup/BuscaLookup.h"

#include <QApplication>

#include <optional>

namespace {

widgets::EventEdit* planEdit(QObject* o) {
    return qobject_cast<widgets::EventEdit*>(o);
}

QString textOf(QObject* o) {
    const auto* e = planEdit(o);
    return e ? e->text() : QString();
}

void ApagaDes(const TListaEdits& edits) {
    if (edits.isEmpty() || edits.front()->text().isEmpty())
        return;
    for (widgets::EventEdit* e : edits)
        e->clear();
}

// What a description query answered for a code: the texts to show, one per column, or no
// description at all.
struct RespostaDaDescricao {
    int colunas = 0;
    std::optional<QStringList> textos;
};

// Texts that stand for "no description" in the first column.
bool textoDeNada(const QString& s, bool umaColuna) {
    if (s.isEmpty() || s == u"0" || s == u"0,00" || s == u"00:00")
        return true;
    return umaColuna ? s == u"01/01/1500" || s == u"01/01/1500 00:00" : s == u"01/01/1500 00:00:00";
}

// A code has no description when its first column is null, zero, or one of those texts as shown.
bool semDescricao(const db::Value& v, bool umaColuna) {
    switch (v.kind()) {
    case db::ValueKind::Empty:
    case db::ValueKind::Null:
    case db::ValueKind::Int:
    case db::ValueKind::UInt:
    case db::ValueKind::Float:
    case db::ValueKind::Currency:
        return ValorNull(v); // null or zero
    default:
        return textoDeNada(FormataValorEmString(v), umaColuna);
    }
}

// Runs the description query with the code; its first row holds the description(s).
RespostaDaDescricao consultaDescricao(db::Connection* conexao, const QString& sql, const db::Value& codigo) {
    if (conexao == nullptr)
        throw AppError(QStringLiteral("Conexão com o banco de dados não está aberta"));
    db::Query q(conexao);
    q.setSql(sql);
    if (q.paramCount() > 0)
        q.setParam(0, codigo);
    sql_OpenQuery(q);
    RespostaDaDescricao r;
    r.colunas = q.fieldCount();
    if (r.colunas == 0 || q.rowCount() == 0 || semDescricao(q.value(0), r.colunas == 1))
        return r;
    QStringList textos;
    for (int c = 0; c < r.colunas; ++c)
        textos << FormataValorEmString(q.value(c));
    r.textos = std::move(textos);
    return r;
}

// Writes a found description into the description edits: one column into edit 0, several one
// per edit.
void mostraDescricao(EstadoLookups& estado, const RespostaDaDescricao& r, const TListaEdits& Descricao) {
    const QStringList& textos = *r.textos;
    if (r.colunas == 1) {
        Descricao.front()->setText(textos.front());
    } else {
        if (textos.size() < Descricao.size())
            throw RangeError(QStringLiteral("A consulta de descrição retornou %1 colunas para %2 campos")
                                 .arg(textos.size())
                                 .arg(Descricao.size()));
        for (qsizetype i = 0; i < Descricao.size(); ++i)
            Descricao[i]->setText(textos[i]);
    }
    estado.NaoPassouOnEnter = true;
}

// True when the window owning the code edit has its search button as the focused control.
bool focoNoBotao(QWidget* codigo, QWidget* bbLook) {
    return codigo && bbLook && codigo->window()->focusWidget() == bbLook;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Free procedures

void OnKeyPressDoDBEditLook(QObject* Sender, QChar& Key, db::Query* /*DataSet*/, widgets::EventButton* bb) {
    if (Key != QChar(u' '))
        return;
    // Only plain edits exist in this toolkit; a data-bound edit would also need its data set
    // to be in edit or insert mode.
    if (const auto* edit = planEdit(Sender); edit && !edit->isReadOnly() && bb)
        bb->Click();
    Key = QChar();
}

void OnChangeLookUp(QObject* /*Sender*/, const TListaEdits& EditDes) {
    ApagaDes(EditDes);
}

void OnEnterLookUp(EstadoLookups& estado, QObject* Sender, const TListaEdits& EditDes) {
    if (!estado.NaoPassouOnEnter)
        return;
    estado.ConteudoDBEditAntLook = ValorSemZerosAEsq(textOf(Sender));
    if (!EditDes.isEmpty())
        TratarConteudodoEditDes(estado, EditDes,
                                estado.ConteudoDBEditAntLook.isEmpty() ? kLimparConteudo : kReceberConteudo);
    estado.NaoPassouOnEnter = false;
}

void TratarConteudodoEditDes(EstadoLookups& estado, const TListaEdits& EditDes, QChar acao) {
    if (estado.ConteudoDBEditAntLook.isEmpty())
        acao = kLimparConteudo;
    QStringList& ConteudoEditDes = estado.ConteudoEditDes;
    while (ConteudoEditDes.size() > EditDes.size())
        ConteudoEditDes.removeLast();
    while (ConteudoEditDes.size() < EditDes.size())
        ConteudoEditDes.append(QString());
    switch (acao.unicode()) {
    case kLimparConteudo:
        for (QString& s : ConteudoEditDes)
            s.clear();
        estado.DonoDoRegistro = nullptr;
        break;
    case kReceberConteudo:
        for (qsizetype i = 0; i < EditDes.size(); ++i)
            ConteudoEditDes[i] = EditDes[i]->text();
        estado.DonoDoRegistro = EditDes.isEmpty() ? nullptr : EditDes.front();
        break;
    case kPassarConteudo:
        // Another field's descriptions are never handed back: the ones shown go with the code.
        if (!EditDes.isEmpty() && estado.DonoDoRegistro == EditDes.front())
            for (qsizetype i = 0; i < EditDes.size(); ++i)
                EditDes[i]->setText(ConteudoEditDes[i]);
        ConteudoEditDes.clear();
        estado.DonoDoRegistro = nullptr;
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Controller

TCriadorLookup::TCriadorLookup(EstadoLookups& estado, QWidget* p_EditCodigo, const TListaEdits& p_EditDes,
                               widgets::EventButton* p_botaoBusca, db::Query* /*p_dataSet*/,
                               TELookUpSQL p_SQL)
    : QObject(p_EditCodigo ? p_EditCodigo->window() : nullptr), fEstado(estado) {
    fEditCodigo = p_EditCodigo;
    setEditDes(p_EditDes);
    fbotaoBusca = p_botaoBusca;
    // Only a data-bound code edit brings a data set, and this toolkit has none.
    fDataSet = nullptr;
    fSQL = std::move(p_SQL);
    fSomenteNumeros = true;
    fBuscaUnica = true;
    fPermiteMultiSelecao = false;
    // Both controls are checked before any handler is installed: a failed construction must
    // leave no handler behind that points at this object.
    if (!planEdit(fEditCodigo))
        throw InvalidTypeError(QStringLiteral("O campo de código do lookup deve ser um campo de edição"));
    if (!fbotaoBusca)
        throw InvalidTypeError(QStringLiteral("O lookup precisa de um botão de busca"));
    carregaEventosEditCodigo();
    carregaEventosBotao();
}

TCriadorLookup::TCriadorLookup(EstadoLookups& estado, QWidget* p_EditCodigo, const TListaEdits& p_EditDes,
                               widgets::EventButton* p_botaoBusca, TELookUpSQL p_SQL)
    : TCriadorLookup(estado, p_EditCodigo, p_EditDes, p_botaoBusca, nullptr, std::move(p_SQL)) {}

void TCriadorLookup::setEditDes(const TListaEdits& p_editdes) {
    if (p_editdes.isEmpty() || p_editdes.size() > 256)
        throw RangeError(QStringLiteral("Lista de descrições deve ter de 1 a 256 campos (recebeu %1)")
                             .arg(p_editdes.size()));
    for (auto* e : p_editdes)
        if (!e)
            throw InvalidTypeError(QStringLiteral("Campo de descrição inexistente"));
    EditDes = p_editdes;
}

void TCriadorLookup::setEditDesAux(const TListaEdits& p_editdesaux) {
    EditDesAux = p_editdesaux;
}

QString TCriadorLookup::getEditCodigoTexto() const {
    return textOf(fEditCodigo);
}

void TCriadorLookup::carregaEventosEditCodigo() {
    auto* const edit = planEdit(fEditCodigo); // checked by the constructor
    // A handler the edit already has is kept, and ours is not installed for that event.
    if (widgets::Assigned(edit->OnEnter))
        fOnEnterAtual = edit->OnEnter;
    else
        edit->OnEnter = [this](QObject* s) { fOnEnterEditCod(s); };
    if (widgets::Assigned(edit->OnChange))
        fOnChangeAtual = edit->OnChange;
    else
        edit->OnChange = [this](QObject* s) { fOnChangeEditCod(s); };
    if (widgets::Assigned(edit->OnExit))
        fOnExitAtual = edit->OnExit;
    else
        edit->OnExit = [this](QObject* s) { fOnExitEditCod(s); };
    if (widgets::Assigned(edit->OnKeyPress))
        fOnKeyPressAtual = edit->OnKeyPress;
    else
        edit->OnKeyPress = [this](QObject* s, QChar& k) { fOnKeyPressEditCod(s, k); };
}

void TCriadorLookup::carregaEventosBotao() {
    if (widgets::Assigned(fbotaoBusca->OnClick))
        fOnClickAtual = fbotaoBusca->OnClick;
    else
        fbotaoBusca->OnClick = [this](QObject* s) { fOnClickBotao(s); };
}

void TCriadorLookup::fOnEnterEditCod(QObject* Sender) {
    OnEnterLookUp(fEstado, Sender, EditDes);
    OnEnterDoDBEdit(Sender);
    ConteudoDBEditAntLook = textOf(fEditCodigo);
}

void TCriadorLookup::fOnChangeEditCod(QObject* Sender) {
    OnChangeLookUp(Sender, EditDes);
    ConteudoDBEditAntLook.clear();
    if (!EditDesAux.isEmpty())
        OnChangeLookUp(Sender, EditDesAux);
}

void TCriadorLookup::fOnExitEditCod(QObject* Sender) {
    try {
        OnExitDoDBEdit(Sender);
        if (!textOf(Sender).isEmpty())
            fOnClickBotao(Sender);
    } catch (...) {
        // A code that cannot be used is not left behind; the error is reported as usual.
        if (auto* edit = planEdit(fEditCodigo))
            edit->clear();
        throw;
    }
}

void TCriadorLookup::fOnKeyPressEditCod(QObject* Sender, QChar& Key) {
    OnKeyPressDoDBEditLook(Sender, Key, fDataSet, fbotaoBusca);
    if (fSomenteNumeros)
        OnKeyPressDosNumeros(Key);
}

void TCriadorLookup::fOnClickBotao(QObject* Sender) {
    if (widgets::Assigned(fOnClickAtual)) {
        fOnClickAtual(Sender);
        return;
    }
    selecionar(Sender);
}

db::Connection* TCriadorLookup::conexao() const {
    if (fConexao != nullptr)
        return fConexao;
    return DM != nullptr ? &DM->FDConnection1 : nullptr;
}

bool TCriadorLookup::houveAlteracao() const {
    return ConteudoDBEditAntLook != ValorSemZerosAEsq(getEditCodigoTexto());
}

void TCriadorLookup::setDestaque(const QString& p_Campo, const QString& p_CondicaoCampo,
                                 qint32 p_corDeDestaque) {
    fDestaque = std::make_unique<TLookupDestaque>(p_Campo, p_CondicaoCampo, p_corDeDestaque);
}

QString TCriadorLookup::obtemValorVarios() const {
    const QString t = getEditCodigoTexto();
    QString r = t == kVarios ? EditDes.front()->text() : t;
    if (!r.isEmpty()) {
        r.replace(u',', QStringLiteral("','"));
        r = u'\'' + r + u'\'';
    }
    return r;
}

// ---------------------------------------------------------------------------------------------
// Dispatcher and validation

bool TCriadorLookup::selecionar(QObject* Sender) {
    bool result = false;
    const QList<QWidget*> codigos{fEditCodigo};

    // Single-choice validation of a typed code against the description query.
    auto OnExitAntLook2 = [&](QWidget* Codigo, const TListaEdits& Descricao, const QString& TextoSql,
                              const QString& TextoSqlL, widgets::EventButton* bbLook, bool DispEsqDir,
                              bool limitar) -> bool {
        if (fEstado.BotaoAtivo)
            return false;
        const QString texto = textOf(Codigo);
        if (texto.isEmpty()) {
            for (auto* e : Descricao)
                e->clear();
            fEstado.NaoPassouOnEnter = true;
            return false;
        }
        const qint32 codigo = StrToInt(texto);
        const RespostaDaDescricao resposta =
            consultaDescricao(conexao(), TextoSql, db::Value::fromInt(codigo, 32));
        const bool proximo = focoNoBotao(Codigo, bbLook);
        if (resposta.textos) {
            mostraDescricao(fEstado, resposta, Descricao);
            return true;
        }
        if (resposta.colunas > 1)
            return OnClickDoBotaoLook(fEstado, nullptr, {Codigo}, Descricao, TextoSqlL, proximo, DispEsqDir,
                                      limitar);
        return OnClickDoBotaoLook2(fEstado, fDestaque.get(), nullptr, {Codigo}, Descricao, TextoSqlL, proximo,
                                   DispEsqDir, limitar);
    };

    // Multi-selection validation: the digits of the text as one code, sent as text.
    auto OnExitAntLookAvancado = [&](QWidget* Codigo, const TListaEdits& Descricao, const QString& TextoSql,
                                     const QString& TextoSqlL, widgets::EventButton* bbLook, bool DispEsqDir,
                                     bool limitar) -> bool {
        if (fEstado.BotaoAtivo)
            return false;
        auto* edit = planEdit(Codigo);
        if (!edit || edit->text().isEmpty()) {
            for (auto* e : Descricao)
                e->clear();
            fEstado.NaoPassouOnEnter = true;
            return false;
        }
        bool ok = true;
        const QString digitos = SomenteNumeros(edit->text());
        const bool proximo = focoNoBotao(Codigo, bbLook);
        if (!digitos.isEmpty()) {
            if (edit->text() != digitos)
                edit->setText(digitos);
            const RespostaDaDescricao resposta =
                consultaDescricao(conexao(), TextoSql, db::Value::fromText(digitos));
            // Not found, with one column or several: the plain single-choice search.
            if (resposta.textos)
                mostraDescricao(fEstado, resposta, Descricao);
            else
                ok = OnClickDoBotaoLook(fEstado, nullptr, {Codigo}, Descricao, TextoSqlL, proximo, DispEsqDir,
                                        limitar);
        } else if (edit->text() != kVarios) {
            OnClickDoBotaoLookAvancado(fEstado, nullptr, {Codigo}, Descricao, TextoSqlL, proximo, DispEsqDir,
                                       limitar);
        }
        return ok;
    };

    if (qobject_cast<QPushButton*>(Sender)) {
        if (fPermiteMultiSelecao) {
            const QString sqlL = fSQL(fEditCodigo, evListagem);
            result = OnClickDoBotaoLookAvancado(fEstado, nullptr, codigos, EditDes, sqlL, true, true, false);
        } else {
            const QString sqlL = fSQL(fEditCodigo, evListagem);
            result = OnClickDoBotaoLook(fEstado, nullptr, codigos, EditDes, sqlL, true, true, true);
        }
        return result;
    }

    OnExitDoDBEdit(Sender);
    if (textOf(Sender).isEmpty()) {
        fEstado.NaoPassouOnEnter = true;
        return result;
    }
    const bool alterado =
        ConteudoDBEditAntLook != ValorSemZerosAEsq(textOf(Sender)) || EditDes.front()->text().isEmpty();
    if (!alterado) {
        TratarConteudodoEditDes(fEstado, EditDes, kPassarConteudo);
        fEstado.NaoPassouOnEnter = true;
        return result;
    }
    auto* codigo = qobject_cast<QWidget*>(Sender);
    if (fBuscaUnica && !fPermiteMultiSelecao) {
        const QString sql = fSQL(fEditCodigo, evDescricao);
        const QString sqlL = fSQL(fEditCodigo, evListagem);
        result = OnExitAntLook2(codigo, EditDes, sql, sqlL, fbotaoBusca, true, true);
    } else if (fBuscaUnica) {
        const QString sql = fSQL(fEditCodigo, evDescricao);
        const QString sqlL = fSQL(fEditCodigo, evListagem);
        result = OnExitAntLookAvancado(codigo, EditDes, sql, sqlL, fbotaoBusca, true, false);
    } else {
        const QString sqlL = fSQL(fEditCodigo, evListagem);
        result = OnClickDoBotaoLookFiltrado({codigo}, EditDes, sqlL);
    }
    return result;
}
