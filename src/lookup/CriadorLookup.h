#pragma once
// Turns a code edit, a search button and description edits into a lookup field: takes
// over their events, keeps the field's little state and hands the work to the dispatcher
// (selecionar) and the search flows. The SQL comes from the owning window's provider.
#include "lookup/EstadoLookups.h"
#include "widgets/EventButton.h"
#include "widgets/EventEdit.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

namespace db {
class Connection;
class Query;
} // namespace db

// What a lookup asks its window's SQL provider for; both texts take the parameter :0.
enum TEventoLookUp : quint8 {
    evDescricao = 1, // the description(s) of the code in :0
    evListagem = 2,  // the search window's listing, :0 being the LIKE pattern
};
using TELookUpSQL = std::function<QString(QObject* Objeto, TEventoLookUp Evento)>;

using TListaEdits = QList<widgets::EventEdit*>;

// What a code edit shows when the field holds several codes (joined by "," in description edit 0).
inline const QString kVarios = QStringLiteral("VÁRIOS");

// Rows of the search list whose column fCampo reads exactly fCondicaoCampo are painted
// in fCorDeDestaque (0x00BBGGRR).
class TLookupDestaque {
public:
    TLookupDestaque(QString p_Campo, QString p_CondicaoCampo, qint32 p_corDeDestaque)
        : fCampo(std::move(p_Campo)), fCondicaoCampo(std::move(p_CondicaoCampo)),
          fCorDeDestaque(p_corDeDestaque) {}
    const QString& Campo() const { return fCampo; }
    const QString& CondicaoCampo() const { return fCondicaoCampo; }
    qint32 CorDeDestaque() const { return fCorDeDestaque; }

private:
    QString fCampo;
    QString fCondicaoCampo;
    qint32 fCorDeDestaque;
};

class TCriadorLookup : public QObject {
    Q_OBJECT
public:
    // The controller belongs to the code edit's window and lives as long as its controls; `estado`
    // is that window's, shared with its other lookup fields, and must outlive the controls.
    TCriadorLookup(EstadoLookups& estado, QWidget* p_EditCodigo, const TListaEdits& p_EditDes,
                   widgets::EventButton* p_botaoBusca, db::Query* p_dataSet, TELookUpSQL p_SQL);
    TCriadorLookup(EstadoLookups& estado, QWidget* p_EditCodigo, const TListaEdits& p_EditDes,
                   widgets::EventButton* p_botaoBusca, TELookUpSQL p_SQL);

    TCriadorLookup* criarLookUp() { return this; }
    void setEditDesAux(const TListaEdits& p_editdesaux);
    bool selecionar(QObject* Sender);
    bool houveAlteracao() const;
    void setDestaque(const QString& p_Campo, const QString& p_CondicaoCampo, qint32 p_corDeDestaque);
    QString obtemValorVarios() const;

    widgets::EventButton* BotaoBusca() const { return fbotaoBusca; }
    void setBotaoBusca(widgets::EventButton* b) { fbotaoBusca = b; }
    QWidget* EditCodigo() const { return fEditCodigo; }
    void setEditCodigo(QWidget* e) { fEditCodigo = e; }
    QString EditCodigoTexto() const { return getEditCodigoTexto(); }
    bool PermiteSomenteNumeros() const { return fSomenteNumeros; }
    void setPermiteSomenteNumeros(bool v) { fSomenteNumeros = v; }
    bool BuscaUnica() const { return fBuscaUnica; }
    void setBuscaUnica(bool v) { fBuscaUnica = v; }
    bool PermiteMultiSelecao() const { return fPermiteMultiSelecao; }
    void setPermiteMultiSelecao(bool v) { fPermiteMultiSelecao = v; }

    const TListaEdits& EditDesLista() const { return EditDes; }
    const TLookupDestaque* Destaque() const { return fDestaque.get(); }
    // The connection the description query runs on: the data module's unless set.
    void setConexao(db::Connection* conexao) { fConexao = conexao; }
    // The code edit's text at its last entry (emptied by every change).
    const QString& ConteudoNaEntrada() const { return ConteudoDBEditAntLook; }

private:
    void setEditDes(const TListaEdits& p_editdes);
    QString getEditCodigoTexto() const;
    db::Connection* conexao() const;
    void carregaEventosEditCodigo();
    void carregaEventosBotao();
    void fOnEnterEditCod(QObject* Sender);
    void fOnChangeEditCod(QObject* Sender);
    void fOnExitEditCod(QObject* Sender);
    void fOnKeyPressEditCod(QObject* Sender, QChar& Key);
    void fOnClickBotao(QObject* Sender);
    bool OnClickDoBotaoLookFiltrado(const QList<QWidget*>& Codigo, const TListaEdits& EditDes,
                                    const QString& TextoSqlL);

    EstadoLookups& fEstado;
    QWidget* fEditCodigo = nullptr;
    TListaEdits EditDes;
    TListaEdits EditDesAux;
    widgets::EventButton* fbotaoBusca = nullptr;
    db::Query* fDataSet = nullptr;
    db::Connection* fConexao = nullptr;
    TELookUpSQL fSQL;
    bool fSomenteNumeros = true;
    bool fPermiteMultiSelecao = false;
    bool fBuscaUnica = true;
    std::unique_ptr<TLookupDestaque> fDestaque;
    QString ConteudoDBEditAntLook;
    widgets::NotifyEvent fOnEnterAtual;
    widgets::NotifyEvent fOnChangeAtual;
    widgets::NotifyEvent fOnExitAtual;
    widgets::KeyPressEvent fOnKeyPressAtual;
    widgets::NotifyEvent fOnClickAtual;
};

// Free procedures of the lookup unit.
void OnKeyPressDoDBEditLook(QObject* Sender, QChar& Key, db::Query* DataSet, widgets::EventButton* bb);
void OnChangeLookUp(QObject* Sender, const TListaEdits& EditDes);
void OnEnterLookUp(EstadoLookups& estado, QObject* Sender, const TListaEdits& EditDes);
// acao: what to do with the description texts recorded at the last entry.
inline constexpr char16_t kLimparConteudo = u'l';  // empty them
inline constexpr char16_t kReceberConteudo = u'r'; // take them from the edits
inline constexpr char16_t kPassarConteudo = u'p';  // hand them back to the edits, then forget them
void TratarConteudodoEditDes(EstadoLookups& estado, const TListaEdits& EditDes, QChar acao);
