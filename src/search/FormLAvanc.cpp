#include "search/FormLAvanc.h"

#include "common/Funcoes.h"
#include "common/Teclas.h"
#include "db/Query.h"
#include "widgets/DataGrid.h"

#include <QLabel>
#include <QScopeGuard>

TFormLAvanc* FormLAvanc = nullptr;

namespace UFormLAvanc {
bool Escolheu = false;
qint32 TipoCampo = 0;
} // namespace UFormLAvanc

namespace {
const QString kMarca = QStringLiteral("X");
const QString kCampoMarca = QStringLiteral("check");
} // namespace

TFormLAvanc::TFormLAvanc(QWidget* parent) : TFormL(parent) {
    setObjectName(QStringLiteral("FormLAvanc"));
    setWindowTitle(QStringLiteral("Busca"));
    resize(734, 448);
    DBGridB->setTitleGradient(true);
    DBGridB->setTitleBold(true);
    DBGridB->setTitleClicksEnabled(false); // sorting is the window's, on show only
    painelStatus(1)->setFixedWidth(200);
    UFormLAvanc::Escolheu = false;
    usaDestaque = false;
}

TFormLAvanc::~TFormLAvanc() {
    if (FormLAvanc == this)
        FormLAvanc = nullptr;
}

// The shared index: it outlives the window and is read by the next search window.
qint32& TFormLAvanc::colunaDeBusca() {
    return ::ColAntDBGridBL;
}

void TFormLAvanc::FormShow() {
    if (::ColAntDBGridBL >= DBGridB->columnCount() || ::ColAntDBGridBL == 0)
        ::ColAntDBGridBL = 1;
    DBGridBTitleClick(::ColAntDBGridBL);
    DBGridB->setSelectedIndex(0);
}

void TFormLAvanc::filtraTecla(QChar& Key) const {
    if (tipoCampo() != 0) {
        TFormL::filtraTecla(Key);
        return;
    }
    // Numeric columns take no letters here.
    const char16_t c = Key.unicode();
    if (c == u',')
        Key = QChar(u'.');
    else if (!(c == kBackspace || c == kEnter || c == kEsc || c == u'.' || (c >= u'0' && c <= u'9')))
        Key = QChar();
}

bool TFormLAvanc::trataTeclaPropria(QChar& Key) {
    if (Key == QChar(u' ') && DBGridB->selectedIndex() == 0) {
        Key = QChar();
        marcar();
        return true;
    }
    if (Key == QChar(kEnter)) {
        Key = QChar();
        aceitar();
        return true;
    }
    return false;
}

void TFormLAvanc::defineMarca(const QString& marca) {
    const int campo = QueryLoc->fieldIndex(kCampoMarca);
    QueryLoc->edit();
    QueryLoc->setFieldReadOnly(campo, false); // a computed column arrives read-only
    QueryLoc->setValue(campo, db::Value::fromText(marca));
    QueryLoc->post();
}

void TFormLAvanc::marcar() {
    if (!QueryLoc->active() || QueryLoc->recNo() < 0)
        return;
    const bool marcado = QueryLoc->value(kCampoMarca).text() == kMarca;
    defineMarca(marcado ? QString() : kMarca);
}

void TFormLAvanc::DBGridBDblClick(QObject* /*Sender*/) {
    marcar();
}

void TFormLAvanc::aceitar() {
    if (!QueryLoc->active())
        return;
    const int linha = QueryLoc->recNo();
    QueryLoc->disableControls();
    const auto retoma = qScopeGuard([this] { QueryLoc->enableControls(); });
    QueryLoc->setFiltered(false);
    QueryLoc->setFilterText(kFiltroMarcados);
    QueryLoc->setFiltered(true);
    if (QueryLoc->rowCount() == 0) {
        // Nothing marked: the row under the cursor is the choice.
        QueryLoc->setFiltered(false);
        if (linha < 0)
            return; // an empty list has nothing to accept
        QueryLoc->moveTo(linha);
        defineMarca(kMarca);
        QueryLoc->setFilterText(kFiltroMarcados);
        QueryLoc->setFiltered(true);
    }
    UFormLAvanc::Escolheu = true;
    accept();
    QueryLoc->setFiltered(false);
}
