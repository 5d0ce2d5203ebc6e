#include "widgets/DataGrid.h"

#include "base/AppError.h"
#include "common/ErrorReport.h"
#include "common/Teclas.h"
#include "db/Query.h"
#include "widgets/EventEdit.h"
#include "widgets/QueryModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>

namespace {

// Draws a cell as usual, marking the grid's current cell as selected (the grid has a cell cursor,
// not a row selection), then hands the cell to the grid's drawing slot.
class DelegadoDaGrade : public QStyledItemDelegate {
public:
    explicit DelegadoDaGrade(DataGrid* grade) : QStyledItemDelegate(grade), m_grade(grade) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool atual = index == m_grade->currentIndex();
        QStyleOptionViewItem opcao(option);
        if (atual)
            opcao.state |= QStyle::State_Selected;
        QStyledItemDelegate::paint(painter, opcao, index);
        if (!m_grade->OnDrawColumnCell)
            return;
        painter->save();
        try {
            m_grade->OnDrawColumnCell(*painter, option.rect, index.column(), index.row(), atual);
        } catch (const AppError& e) {
            m_grade->reportDrawError(e.message());
        } catch (const std::exception& e) {
            m_grade->reportDrawError(QString::fromUtf8(e.what()));
        } catch (...) {
            m_grade->reportDrawError(QStringLiteral("Erro desconhecido"));
        }
        painter->restore();
    }

private:
    DataGrid* m_grade;
};

bool ehCaractereDigitado(QChar c) {
    const char16_t u = c.unicode();
    return u == kBackspace || u == kEnter || u == kEsc || (u >= 32 && u != 127);
}

} // namespace

QColor CorDoNumero(qint32 cor) {
    const auto valor = static_cast<quint32>(cor);
    if ((valor & 0xFF000000u) == 0) {
        // Red in the low byte.
        return QColor(static_cast<int>(valor & 0xFF), static_cast<int>((valor >> 8) & 0xFF),
                      static_cast<int>((valor >> 16) & 0xFF));
    }
    const QPalette paleta = QApplication::palette();
    switch (valor & 0xFF) {
    case 4: // menu
        return paleta.color(QPalette::Window);
    case 5: // window
        return paleta.color(QPalette::Base);
    case 13: // highlight
        return paleta.color(QPalette::Highlight);
    case 14: // highlighted text
        return paleta.color(QPalette::HighlightedText);
    case 15: // button face
        return paleta.color(QPalette::Button);
    case 16: // button shadow
        return paleta.color(QPalette::Dark);
    case 17: // grey text
        return paleta.color(QPalette::Disabled, QPalette::Text);
    case 18: // button text
        return paleta.color(QPalette::ButtonText);
    case 20: // button highlight
        return paleta.color(QPalette::Light);
    case 21: // dark shadow
        return paleta.color(QPalette::Shadow);
    case 22: // light
        return paleta.color(QPalette::Midlight);
    case 23: // tooltip text
        return paleta.color(QPalette::ToolTipText);
    case 24: // tooltip background
        return paleta.color(QPalette::ToolTipBase);
    default: // window text, menu text and the rest
        return paleta.color(QPalette::WindowText);
    }
}

DataGrid::DataGrid(QWidget* parent) : QTableView(parent), m_modelo(new QueryModel(this)) {
    setModel(m_modelo);
    setItemDelegate(new DelegadoDaGrade(this));

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Single cell selection keeps the header from selecting whole columns on a title press.
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(false);

    QPalette paleta = palette();
    const QColor fundo = QApplication::palette().color(QPalette::ToolTipBase);
    paleta.setColor(QPalette::Base, fundo);
    paleta.setColor(QPalette::AlternateBase, fundo);
    paleta.setColor(QPalette::Text, QApplication::palette().color(QPalette::WindowText));
    setPalette(paleta);
    aplicaEstiloTitulo();
    ajustaAoTipo();

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int secao) {
        if (m_cliqueNoTitulo && OnTitleClick)
            RunGuarded([this, secao] { OnTitleClick(secao); });
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int secao, int, int nova) {
        if (!m_aplicandoLarguras)
            m_modelo->setColumnWidth(secao, nova);
    });
    // During a reset the header rebuilds its sections with default sizes: those are not the user's.
    connect(m_modelo, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_aplicandoLarguras = true; });
    connect(m_modelo, &QAbstractItemModel::modelReset, this, &DataGrid::modeloReiniciado);
}

DataGrid::~DataGrid() = default;

void DataGrid::setQuery(db::Query* query) {
    if (m_conexaoAtual)
        disconnect(m_conexaoAtual);
    m_modelo->setQuery(query);
    if (query)
        m_conexaoAtual = connect(query, &db::Query::currentChanged, this, &DataGrid::sincronizaCursor);
}

db::Query* DataGrid::query() const {
    return m_modelo->query();
}

void DataGrid::addColumn(const QString& fieldName, const QString& title, int width) {
    m_modelo->addColumn(fieldName, title, width);
}

void DataGrid::clearColumns() {
    m_modelo->clearColumns();
}

int DataGrid::columnCount() const {
    return m_modelo->columnCount();
}

QString DataGrid::columnFieldName(int column) const {
    return m_modelo->column(column).campo;
}

QString DataGrid::columnTitle(int column) const {
    return m_modelo->column(column).titulo;
}

int DataGrid::columnWidth(int column) const {
    return m_modelo->column(column).largura;
}

int DataGrid::columnFieldIndex(int column) const {
    return m_modelo->fieldIndex(column);
}

void DataGrid::setSelectedIndex(int column) {
    if (column < 0 || column >= columnCount())
        return;
    const bool mudou = column != m_colunaSelecionada;
    m_colunaSelecionada = column;
    sincronizaCursor();
    if (mudou)
        entraNaColuna(false);
}

void DataGrid::setTitleClicksEnabled(bool on) {
    m_cliqueNoTitulo = on;
    horizontalHeader()->setSectionsClickable(on);
}

void DataGrid::setTitleColor(const QColor& color) {
    m_corTitulo = color;
    aplicaEstiloTitulo();
}

void DataGrid::setTitleBold(bool bold) {
    m_tituloNegrito = bold;
    aplicaEstiloTitulo();
}

void DataGrid::setTitleGradient(bool gradient) {
    m_tituloDegrade = gradient;
    aplicaEstiloTitulo();
}

void DataGrid::aplicaEstiloTitulo() {
    const QString fundo =
        m_tituloDegrade ? QStringLiteral("qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 %1)")
                              .arg(QApplication::palette().color(QPalette::Button).name())
                        : m_corTitulo.name();
    horizontalHeader()->setStyleSheet(
        QStringLiteral(
            "QHeaderView::section { background: %1; color: black; font-weight: %2; padding: 1px 3px;"
            " border: none; border-right: 1px solid #808080; border-bottom: 1px solid #808080; }")
            .arg(fundo, m_tituloNegrito ? QStringLiteral("bold") : QStringLiteral("normal")));
}

void DataGrid::redrawCellText(QPainter& painter, const QRect& rect, int column, int row, bool selected,
                              const QColor& cor) const {
    const QPalette::ColorGroup grupo = hasFocus() ? QPalette::Active : QPalette::Inactive;
    painter.fillRect(rect, palette().color(grupo, selected ? QPalette::Highlight : QPalette::Base));
    const db::Query* q = query();
    const int campo = columnFieldIndex(column);
    if (q == nullptr || campo < 0 || row < 0 || row >= q->rowCount())
        return;
    const db::Value valor = q->value(row, campo);
    const QFontMetrics medidas(font());
    QString texto;
    int x;
    if (q->field(campo).group == db::FieldGroup::Number) {
        texto = valor.isNull() ? QString() : TextoNumeroGeral(valor.toDouble());
        x = rect.x() + rect.width() - medidas.horizontalAdvance(texto) - 2;
    } else {
        texto = TextoDaCelula(*q, row, campo);
        x = rect.x() + 2;
    }
    painter.save();
    painter.setClipRect(rect);
    painter.setFont(font());
    painter.setPen(cor);
    painter.drawText(QRect(x, rect.y(), rect.x() + rect.width() - x, rect.height()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, texto);
    painter.restore();
}

void DataGrid::reportDrawError(const QString& message) {
    // Not inside the paint (the box would repaint the grid and fail again), and once per change of
    // the data: every repaint after the box would otherwise open another one.
    if (m_erroDeDesenhoRelatado)
        return;
    m_erroDeDesenhoRelatado = true;
    QTimer::singleShot(0, this, [message] { ShowErrorText(message); });
}

void DataGrid::modeloReiniciado() {
    m_erroDeDesenhoRelatado = false;
    aplicaLarguras();
    sincronizaCursor();
}

void DataGrid::aplicaLarguras() {
    m_aplicandoLarguras = true;
    const int n = columnCount();
    for (int c = 0; c < n; ++c)
        QTableView::setColumnWidth(c, m_modelo->column(c).largura);
    m_aplicandoLarguras = false;
}

void DataGrid::sincronizaCursor() {
    const db::Query* q = query();
    const int linhas = m_modelo->rowCount();
    const int colunas = columnCount();
    m_sincronizando = true;
    if (q == nullptr || linhas == 0 || colunas == 0 || q->recNo() < 0) {
        selectionModel()->clearCurrentIndex();
    } else {
        const QModelIndex alvo =
            m_modelo->index(qBound(0, q->recNo(), linhas - 1), qBound(0, m_colunaSelecionada, colunas - 1));
        if (alvo != currentIndex())
            selectionModel()->setCurrentIndex(alvo, QItemSelectionModel::ClearAndSelect);
        scrollTo(alvo);
    }
    m_sincronizando = false;
    viewport()->update();
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (m_sincronizando || !current.isValid())
        return;
    // The column first: moving the query re-synchronises the cursor with the selected column.
    const bool mudouDeColuna = current.column() != m_colunaSelecionada;
    m_colunaSelecionada = current.column();
    if (db::Query* q = query(); q && q->active() && current.row() != q->recNo())
        q->moveTo(current.row());
    if (mudouDeColuna)
        entraNaColuna(true);
}

void DataGrid::entraNaColuna(bool guardado) {
    if (!OnColEnter)
        return;
    if (guardado)
        RunGuarded([this] { OnColEnter(this); });
    else
        OnColEnter(this);
}

void DataGrid::ajustaAoTipo() {
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_modelo->setCharWidth(fontMetrics().averageCharWidth());
}

void DataGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        ajustaAoTipo(); // row height and default column widths follow the font
}

void DataGrid::digitaCadaUm(const QKeyEvent* base, const QString& texto) {
    for (const QChar c : texto) {
        if (c.isSurrogate())
            continue; // beyond U+FFFF: nothing the search could match
        QKeyEvent um = widgets::ReplacedKeyEvent(base, QString(c));
        keyPressEvent(&um);
    }
}

void DataGrid::inputMethodEvent(QInputMethodEvent* event) {
    // Text composed by an input method (dead keys, compose) is typed like keys; the view's own
    // type-ahead would only move the row.
    if (!event->commitString().isEmpty()) {
        const QKeyEvent base(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier);
        digitaCadaUm(&base, event->commitString());
    }
    event->accept();
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
    if (const QString texto = widgets::TypedText(event); texto.size() > 1) {
        // One key that types several units (a character beyond U+FFFF, a macro key).
        digitaCadaUm(event, texto);
        event->accept();
        return;
    }
    const QChar digitado = widgets::CharOfKeyEvent(event);
    if (digitado.isNull() || !ehCaractereDigitado(digitado)) {
        QTableView::keyPressEvent(event); // navigation: arrows, Tab, pages
        return;
    }
    QChar tecla = digitado;
    if (!widgets::PreviewAndFilterKey(this, OnKeyPress, tecla)) {
        event->accept();
        return;
    }
    if (tecla.unicode() == kEnter || tecla.unicode() == kEsc) {
        // Left to the window (Esc closes a dialog).
        event->ignore();
        return;
    }
    // A read-only grid has no use for text; the view's own type-ahead would move the row.
    event->accept();
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (OnDblClick)
        RunGuarded([this] { OnDblClick(this); });
}
