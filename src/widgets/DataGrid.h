#pragma once
// The grid of the search windows: a read-only table over a db::Query with columns bound to fields
// by name, a cell cursor that follows the query's current row both ways, and event slots for title
// clicks, double clicks, typed characters, column changes and per-cell drawing.
// The class name matters: the window key handler leaves Enter to controls named "DataGrid".
#include "widgets/EventSlots.h"

#include <QColor>
#include <QTableView>
#include <functional>

class QPainter;
class QueryModel;
namespace db {
class Query;
}

// A colour given as a number: 0x00BBGGRR, or a system colour (high byte 0xFF, low byte its index).
QColor CorDoNumero(qint32 cor);

class DataGrid : public QTableView, public widgets::KeySlotTarget {
    Q_OBJECT
public:
    using TitleClickEvent = std::function<void(int Column)>;
    // Runs after the grid drew a data cell: painter, cell rectangle, column, row, and whether the
    // cell is the grid's current cell.
    using DrawColumnCellEvent =
        std::function<void(QPainter& painter, const QRect& rect, int column, int row, bool selected)>;

    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    // The query behind the grid (the data source); not owned.
    void setQuery(db::Query* query);
    db::Query* query() const;
    QueryModel* queryModel() const { return m_modelo; }

    // Columns. Without added columns the grid shows one per result field, titled with its name.
    void addColumn(const QString& fieldName, const QString& title, int width);
    void clearColumns();
    int columnCount() const;
    QString columnFieldName(int column) const;
    QString columnTitle(int column) const;
    int columnWidth(int column) const;
    // Query field index of a column's field, -1 when it is not bound (no such field, query closed).
    int columnFieldIndex(int column) const;

    // The selected (current) column. Changing it runs OnColEnter.
    int selectedIndex() const { return m_colunaSelecionada; }
    void setSelectedIndex(int column);

    // Whether a click on a column title reaches OnTitleClick (resizing works either way).
    void setTitleClicksEnabled(bool on);
    bool titleClicksEnabled() const { return m_cliqueNoTitulo; }

    // Title row look.
    void setTitleColor(const QColor& color);
    void setTitleBold(bool bold);
    void setTitleGradient(bool gradient); // white to the button face instead of the title colour

    widgets::NotifyEvent OnDblClick;
    widgets::NotifyEvent OnColEnter;
    widgets::KeyPressEvent OnKeyPress; // typed characters only; the handler may replace or swallow them
    TitleClickEvent OnTitleClick;
    DrawColumnCellEvent OnDrawColumnCell;

    // Writes the value of a data cell again, in `cor`, over the cell's own background: numbers
    // right-aligned 2 pixels from the right edge, anything else 2 pixels from the left edge.
    void redrawCellText(QPainter& painter, const QRect& rect, int column, int row, bool selected,
                        const QColor& cor) const;

    // Used by the cell drawing: reports a failing draw handler once, outside the paint.
    void reportDrawError(const QString& message);

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    // Types each character of `texto` as a key of its own, with `base`'s modifiers.
    void digitaCadaUm(const QKeyEvent* base, const QString& texto);
    void modeloReiniciado();
    void sincronizaCursor();
    void aplicaLarguras();
    void aplicaEstiloTitulo();
    void ajustaAoTipo();
    void entraNaColuna(bool guardado);

    QueryModel* m_modelo;
    QMetaObject::Connection m_conexaoAtual;
    int m_colunaSelecionada = 0;
    bool m_sincronizando = false;
    bool m_aplicandoLarguras = false;
    bool m_cliqueNoTitulo = true;
    bool m_erroDeDesenhoRelatado = false;
    QColor m_corTitulo{0x00, 0x80, 0xC0};
    bool m_tituloNegrito = false;
    bool m_tituloDegrade = false;
};
