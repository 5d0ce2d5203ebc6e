#include "lookup/BuscaLookup.h"

#include "base/AppError.h"
#include "common/EventosTeclado.h"
#include "common/Funcoes.h"
#include "db/Query.h"
#include "lookup/JanelaDaBusca.h"
#include "search/FormL.h"
#include "search/FormLAvanc.h"
#include "widgets/DataGrid.h"
#include "widgets/FormMens.h"

#include <QLayout>
#include <QScopeGuard>

namespace {

const QString kLimiteMarcador = QStringLiteral(" limit ");
const QString kLimiteSufixo = QStringLiteral(" limit 50;");
const QString kMarcacao = QStringLiteral("select cast('' as varchar(1)) as check, ");
constexpr int kPixelsPorCaractere = 7;
constexpr int kTetoTamanho = 30;
constexpr int kMargemDireita = 22;
constexpr int kLarguraMarca = 20;

widgets::EventEdit* editDe(QWidget* w) {
    return qobject_cast<widgets::EventEdit*>(w);
}

QString semPontoEVirgulaFinal(QString sql) {
    if (sql.endsWith(u';'))
        sql.chop(1);
    return sql;
}

QString aplicaLimite(const QString& sql, bool limitar) {
    return (!limitar || sql.contains(kLimiteMarcador)) ? sql : sql + kLimiteSufixo;
}

void carregaListagem(db::Query& q, const QString& sql) {
    q.close();
    q.clearSql();
    q.setSql(sql);
}

void focaSeVisivel(QWidget* w) {
    if (w && w->isVisible())
        w->setFocus(Qt::OtherFocusReason);
}

// An empty listing clears the field and sends the user back to the code edit.
void listaVazia(const QList<QWidget*>& Codigo, const TListaEdits& EditDes) {
    Mensagem(QStringLiteral("Listagem vazia!"), Informacao);
    if (Codigo.isEmpty() || !editDe(Codigo.front()))
        return;
    for (QWidget* c : Codigo)
        if (auto* e = editDe(c))
            e->clear();
    for (auto* d : EditDes)
        d->clear();
    focaSeVisivel(Codigo.front());
}

// Moves the focus on while the search is still under way (BotaoAtivo), so that leaving the code
// edit validates nothing, also when its window is not active yet and Qt would deliver the move
// only once it is, after the search has ended.
void moveFocoAdiante(QWidget* janela) {
    FocaProximoControle(janela);
    widgets::SincronizaFoco(janela);
}

int larguraDaGrade(QWidget* janela, DataGrid* grade) {
    // The window is not shown yet: let its layouts place the grid first, at the window's
    // present size. A hidden widget gets no resize event, so each layout between the window
    // and the grid is run by hand, outermost first.
    QList<QWidget*> cadeia;
    for (QWidget* w = grade->parentWidget(); w != nullptr; w = w->parentWidget()) {
        cadeia.prepend(w);
        if (w == janela)
            break;
    }
    for (QWidget* w : cadeia)
        if (QLayout* l = w->layout()) {
            l->invalidate();
            l->activate();
        }
    return grade->width();
}

// Adds the listing's columns from `primeira` on (`ocupada` pixels are already taken): each as wide
// as the caller's display width, else its field size when `porTamanho` and the size is small, else
// its kind's default; the last one is stretched to end kMargemDireita pixels before the grid's edge.
void montaColunas(TFormL& janela, const db::Query& q, const db::Query* Ds, int primeira, int ocupada,
                  bool porTamanho) {
    const int larguraGrade = larguraDaGrade(&janela, janela.DBGridB);
    int total = ocupada;
    for (int k = primeira; k < q.fieldCount(); ++k) {
        const db::Field& campo = q.field(k);
        int largura;
        if (const int l = BuscaDisplayWidth(Ds, campo.name); l > 0)
            largura = l * kPixelsPorCaractere;
        else if (porTamanho && campo.size > 0 && campo.size < kTetoTamanho)
            largura = campo.size * kPixelsPorCaractere;
        else
            largura = RetornaWidthDefault(campo.group) * kPixelsPorCaractere;
        if (k == q.fieldCount() - 1 && largura + total < larguraGrade - kMargemDireita)
            largura = larguraGrade - kMargemDireita - total;
        janela.DBGridB->addColumn(campo.name, BuscaDisplayLabel(Ds, campo.name), largura);
        total += largura;
    }
}

void escreveCodigo(QWidget* controle, const QString& texto) {
    if (auto* e = editDe(controle))
        e->setText(texto);
}

// Copies the chosen row into the code controls and description edits.
void transfereResultado(db::Query& q, const QList<QWidget*>& Codigo, const TListaEdits& EditDes,
                        bool DispEsqDir, int deslocamento) {
    const int n = static_cast<int>(Codigo.size());
    const int m = static_cast<int>(EditDes.size());
    const int f = q.fieldCount() - deslocamento;
    if (!Codigo.isEmpty() && Codigo.front())
        for (int i = 0; i < n; ++i)
            escreveCodigo(Codigo[i],
                          FormataValorEmString(q.value(deslocamento + (DispEsqDir ? i : f - n - 1 + i))));
    if (!EditDes.isEmpty() && EditDes.front())
        for (int j = 0; j < m; ++j)
            EditDes[j]->setText(
                FormataValorEmString(q.value(deslocamento + (DispEsqDir ? n + j : f - m + j))));
}

bool buscaSimples(EstadoLookups& estado, const TLookupDestaque* destaque, const db::Query* Ds,
                  const QList<QWidget*>& Codigo, const TListaEdits& EditDes, const QString& TextoSqlL,
                  bool Proximo, bool DispEsqDir, bool limitar) {
    bool result = true;
    const JanelaDaBusca<TFormL> fim(FormL, estado);
    TFormL& janela = *FormL;

    if (destaque) {
        janela.campo = destaque->Campo();
        janela.condicaoCampo = destaque->CondicaoCampo();
        janela.corDeDestaque = destaque->CorDeDestaque();
        janela.usaDestaque = true;
    }

    db::Query& q = *janela.QueryLoc;
    const QString sql = semPontoEVirgulaFinal(TextoSqlL);
    carregaListagem(q, aplicaLimite(sql, limitar));
    q.setParam(0, db::Value::fromText(QStringLiteral("%")));
    sql_OpenQuery(q);

    if (q.rowCount() == 0) {
        listaVazia(Codigo, EditDes);
        return false;
    }

    montaColunas(janela, q, Ds, 0, 0, true);

    janela.exec();

    if (q.active()) {
        transfereResultado(q, Codigo, EditDes, DispEsqDir, 0);
        estado.NaoPassouOnEnter = true;
        if (Proximo && !Codigo.isEmpty() && Codigo.front())
            moveFocoAdiante(Codigo.front()->window());
    } else {
        result = false;
        if (!Codigo.isEmpty())
            focaSeVisivel(Codigo.front());
    }
    return result;
}

} // namespace

QString PreparaListagem(QString TextoSqlL, bool limitar) {
    return aplicaLimite(semPontoEVirgulaFinal(std::move(TextoSqlL)), limitar);
}

QString retornaPrimeiroCampo(const QString& TextoSqlL) {
    const qsizetype p = TextoSqlL.indexOf(QStringLiteral("select"));
    if (p < 0)
        return {};
    const QString resto = TextoSqlL.mid(p + 6).trimmed();
    const qsizetype virgula = resto.indexOf(u',');
    if (virgula < 0)
        return {};
    QString campo = resto.left(virgula).trimmed();
    if (const qsizetype as = campo.indexOf(QStringLiteral(" as ")); as >= 0)
        campo = campo.left(as).trimmed();
    return campo;
}

QString ListagemComMarcacao(QString TextoSqlL) {
    // From the character after "select " on; without a lower-case keyword the first six
    // characters give way to the prefix all the same.
    const qsizetype p = TextoSqlL.indexOf(QStringLiteral("select")) + 1; // 1-based, 0 when absent
    return kMarcacao + TextoSqlL.mid(p + 6);
}

bool OnClickDoBotaoLook(EstadoLookups& estado, const db::Query* Ds, const QList<QWidget*>& Codigo,
                        const TListaEdits& EditDes, const QString& TextoSqlL, bool Proximo, bool DispEsqDir,
                        bool limitar) {
    return buscaSimples(estado, nullptr, Ds, Codigo, EditDes, TextoSqlL, Proximo, DispEsqDir, limitar);
}

bool OnClickDoBotaoLook2(EstadoLookups& estado, const TLookupDestaque* Destaque, const db::Query* Ds,
                         const QList<QWidget*>& Codigo, const TListaEdits& EditDes, const QString& TextoSqlL,
                         bool Proximo, bool DispEsqDir, bool limitar) {
    return buscaSimples(estado, Destaque, Ds, Codigo, EditDes, TextoSqlL, Proximo, DispEsqDir, limitar);
}

bool TCriadorLookup::OnClickDoBotaoLookFiltrado(const QList<QWidget*>& Codigo, const TListaEdits& EditDes,
                                                const QString& TextoSqlL) {
    const QString valor_parametro =
        Codigo.isEmpty() ? QString() : (editDe(Codigo.front()) ? editDe(Codigo.front())->text() : QString());
    if (valor_parametro.isEmpty() || fEstado.BotaoAtivo)
        return false;
    bool result = true;
    const JanelaDaBusca<TFormL> fim(FormL, fEstado);
    TFormL& janela = *FormL;
    db::Query& q = *janela.QueryLoc;

    const QString sql = semPontoEVirgulaFinal(TextoSqlL);
    carregaListagem(q, aplicaLimite(sql, true));
    janela.TrocaTextoDaSQL(retornaPrimeiroCampo(sql));
    q.setParam(0, db::Value::fromText(valor_parametro));
    sql_OpenQuery(q);
    if (q.rowCount() == 0) {
        q.close();
        q.setParam(0, db::Value::fromText(QStringLiteral("%")));
        q.open();
    }
    if (q.rowCount() == 0) {
        listaVazia(Codigo, EditDes);
        return false;
    }
    if (q.rowCount() > 1) {
        janela.buscaNovamenteOnShow = false;
        janela.exec();
    }
    if (q.active()) {
        transfereResultado(q, Codigo, EditDes, true, 0);
        fEstado.NaoPassouOnEnter = true;
    } else {
        result = false;
        focaSeVisivel(Codigo.front());
    }
    return result;
}

bool OnClickDoBotaoLookAvancado(EstadoLookups& estado, const db::Query* Ds, const QList<QWidget*>& Codigo,
                                const TListaEdits& EditDes, const QString& TextoSqlL, bool Proximo,
                                bool DispEsqDir, bool limitar) {
    Q_UNUSED(DispEsqDir); // the mark column always comes first, codes right after it
    bool result = true;
    const JanelaDaBusca<TFormLAvanc> fim(FormLAvanc, estado);
    TFormLAvanc& janela = *FormLAvanc;
    db::Query& q = *janela.QueryLoc;

    const QString sql = ListagemComMarcacao(semPontoEVirgulaFinal(TextoSqlL));
    carregaListagem(q, aplicaLimite(sql, limitar));
    q.setParam(0, db::Value::fromText(QStringLiteral("%")));
    q.open();
    if (q.rowCount() == 0) {
        listaVazia(Codigo, EditDes);
        return false;
    }

    janela.DBGridB->addColumn(q.field(0).name, QString(), kLarguraMarca);
    montaColunas(janela, q, Ds, 1, kLarguraMarca, false);

    janela.exec();

    if (q.active()) {
        q.disableControls();
        const auto retoma = qScopeGuard([&q] {
            q.setFiltered(false);
            q.enableControls();
        });
        q.setFiltered(false);
        q.setFilterText(kFiltroMarcados);
        q.setFiltered(true);
        QString escolhidos;
        for (qsizetype i = 0; i < Codigo.size(); ++i)
            for (q.first(); !q.eof(); q.next()) {
                escolhidos += FormataValorEmString(q.value(1 + static_cast<int>(i))) + u',';
                if (q.recNo() == q.rowCount() - 1)
                    break;
            }
        escolhidos.chop(escolhidos.endsWith(u',') ? 1 : 0);
        if (escolhidos.contains(u',')) {
            if (!Codigo.isEmpty() && Codigo.front())
                escreveCodigo(Codigo.front(), kVarios);
            if (!EditDes.isEmpty() && EditDes.front())
                EditDes.front()->setText(escolhidos);
        } else {
            transfereResultado(q, Codigo.mid(0, 1), EditDes, true, 1);
        }
        if (Proximo && !Codigo.isEmpty() && Codigo.front())
            moveFocoAdiante(Codigo.front()->window());
    } else {
        result = false;
        if (!Codigo.isEmpty())
            focaSeVisivel(Codigo.front());
    }
    return result;
}
