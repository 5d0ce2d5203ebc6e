#pragma once
// A live table model over a db::Query. It keeps no rows of its own: every access reads the query,
// and each change the query announces resets the model. Columns are either the ones added
// (field name, title, width) or, when none was added, one per result field titled with its name.
#include "db/Field.h"
#include "db/Query.h" // QPointer needs the complete type

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>
#include <vector>

// The grid's number format: up to 15 significant digits with the user's decimal separator and no
// grouping. The highlight drawing writes numbers the same way, so a repainted cell looks the same.
QString TextoNumeroGeral(double valor);

// The text a grid cell shows for the field at `campo` of row `linha`.
QString TextoDaCelula(const db::Query& query, int linha, int campo);

class QueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Coluna {
        QString campo;   // field name it is bound to
        QString titulo;  // header text
        int largura = 0; // pixels
    };

    explicit QueryModel(QObject* parent = nullptr);
    ~QueryModel() override;

    void setQuery(db::Query* query);
    db::Query* query() const { return m_query.data(); }

    void addColumn(const QString& fieldName, const QString& title, int width);
    void clearColumns();
    bool hasPersistentColumns() const { return !m_colunas.empty(); }

    // The effective column (added or default); an empty one when out of range.
    Coluna column(int index) const;
    void setColumnWidth(int index, int width);
    // Pixels per character for the widths of default columns.
    void setCharWidth(int pixels) { m_larguraCaractere = pixels; }

    // The query field a column is bound to (by name, case-insensitively), -1 when none.
    int fieldIndex(int column) const;
    // The bound field, or nullptr (unbound column, closed query).
    const db::Field* field(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void queryChanged();
    int larguraPadrao(const db::Field& f) const;

    QPointer<db::Query> m_query;
    QMetaObject::Connection m_conexao;
    std::vector<Coluna> m_colunas;
    QHash<QString, int> m_largurasPadrao; // widths the user gave default columns, by folded field name
    int m_larguraCaractere = 7;
};
