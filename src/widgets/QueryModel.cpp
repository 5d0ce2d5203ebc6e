#include "widgets/QueryModel.h"

#include "db/Query.h"

#include <QLocale>

QString TextoNumeroGeral(double valor) {
    QLocale local;
    local.setNumberOptions(QLocale::OmitGroupSeparator);
    return local.toString(valor, 'g', 15);
}

QString TextoDaCelula(const db::Query& query, int linha, int campo) {
    const db::Value v = query.value(linha, campo);
    if (v.kind() == db::ValueKind::Float || v.kind() == db::ValueKind::Currency)
        return TextoNumeroGeral(v.toDouble());
    return query.displayText(linha, campo);
}

QueryModel::QueryModel(QObject* parent) : QAbstractTableModel(parent) {}

QueryModel::~QueryModel() = default;

void QueryModel::setQuery(db::Query* query) {
    beginResetModel();
    if (m_conexao)
        disconnect(m_conexao);
    m_query = query;
    if (query)
        m_conexao = connect(query, &db::Query::changed, this, &QueryModel::queryChanged);
    endResetModel();
}

void QueryModel::queryChanged() {
    beginResetModel();
    endResetModel();
}

void QueryModel::addColumn(const QString& fieldName, const QString& title, int width) {
    beginResetModel();
    m_colunas.push_back({fieldName, title, width});
    endResetModel();
}

void QueryModel::clearColumns() {
    beginResetModel();
    m_colunas.clear();
    endResetModel();
}

int QueryModel::larguraPadrao(const db::Field& f) const {
    const auto it = m_largurasPadrao.constFind(f.name.toCaseFolded());
    if (it != m_largurasPadrao.constEnd())
        return it.value();
    return qMax(1, f.displayWidth) * m_larguraCaractere + 4;
}

QueryModel::Coluna QueryModel::column(int index) const {
    if (index < 0)
        return {};
    if (!m_colunas.empty())
        return static_cast<size_t>(index) < m_colunas.size() ? m_colunas[static_cast<size_t>(index)]
                                                             : Coluna{};
    if (!m_query || index >= m_query->fieldCount())
        return {};
    const db::Field& f = m_query->field(index);
    return {f.name, f.name, larguraPadrao(f)};
}

void QueryModel::setColumnWidth(int index, int width) {
    if (index < 0)
        return;
    if (!m_colunas.empty()) {
        if (static_cast<size_t>(index) < m_colunas.size())
            m_colunas[static_cast<size_t>(index)].largura = width;
        return;
    }
    if (m_query && index < m_query->fieldCount())
        m_largurasPadrao.insert(m_query->field(index).name.toCaseFolded(), width);
}

int QueryModel::fieldIndex(int column) const {
    if (!m_query || !m_query->active())
        return -1;
    if (m_colunas.empty())
        return column >= 0 && column < m_query->fieldCount() ? column : -1;
    if (column < 0 || static_cast<size_t>(column) >= m_colunas.size())
        return -1;
    const QString& nome = m_colunas[static_cast<size_t>(column)].campo;
    return nome.isEmpty() ? -1 : m_query->fieldIndex(nome);
}

const db::Field* QueryModel::field(int column) const {
    const int indice = fieldIndex(column);
    return indice >= 0 ? &m_query->field(indice) : nullptr;
}

int QueryModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !m_query || !m_query->active())
        return 0;
    return m_query->rowCount();
}

int QueryModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    if (!m_colunas.empty())
        return static_cast<int>(m_colunas.size());
    return m_query && m_query->active() ? m_query->fieldCount() : 0;
}

QVariant QueryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::TextAlignmentRole))
        return {};
    const int campo = fieldIndex(index.column());
    if (campo < 0 || index.row() < 0 || index.row() >= m_query->rowCount())
        return {};
    if (role == Qt::TextAlignmentRole) {
        const bool numero = m_query->field(campo).group == db::FieldGroup::Number;
        return QVariant::fromValue(Qt::AlignVCenter | (numero ? Qt::AlignRight : Qt::AlignLeft));
    }
    try {
        return TextoDaCelula(*m_query, index.row(), campo);
    } catch (const std::exception&) {
        return {}; // a view must never see an exception; the cell stays blank
    }
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return column(section).titulo;
}

Qt::ItemFlags QueryModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
