#pragma once
// A query on the connection: SQL text kept as lines, positional parameters :0, :1 ...
// bound as real server-side parameters, the result held until the query is closed.
// Rows can be edited in an in-memory cache (never sent to the server) and filtered.
#include "db/Field.h"
#include "db/Result.h"
#include "db/Value.h"

#include <QObject>
#include <QStringList>
#include <map>
#include <vector>

namespace db {

class Connection;

class Query : public QObject {
    Q_OBJECT
public:
    explicit Query(Connection* connection = nullptr, QObject* parent = nullptr);
    ~Query() override;

    void setConnection(Connection* connection) { m_connection = connection; }
    Connection* connection() const { return m_connection; }

    // The text is split into lines at CR LF, LF or CR (a final line break adds no line);
    // sql() hands it back with every line followed by CR LF.
    void setSql(const QString& text);
    void clearSql();
    void addSqlLine(const QString& line);
    QString sql() const;
    const QStringList& sqlLines() const { return m_lines; }

    int paramCount() const { return m_paramCount; }
    void setParam(int index, const Value& value); // RangeError outside 0 .. paramCount-1
    Value param(int index) const;

    void open();  // db::Error with the server's message, SQLSTATE and this SQL text
    void close(); // drops the result, the edit cache and the filter's row list
    bool active() const { return m_result.valid(); }
    const Result& result() const { return m_result; } // as the server sent it, without edits

    // Fields of the open result.
    const std::vector<Field>& fields() const { return m_fields; }
    int fieldCount() const { return static_cast<int>(m_fields.size()); }
    // Case-insensitive with full Unicode folding: the server folds only ASCII letters of an
    // unquoted alias, so "AS DESCRIÇÃO" arrives as "descriÇÃo" and must match "descrição".
    int fieldIndex(const QString& name) const; // -1 when absent
    const Field& field(int index) const;       // RangeError when absent
    void setFieldReadOnly(int index, bool readOnly);

    // Rows as seen through the filter (all rows when it is off).
    int rowCount() const { return static_cast<int>(m_visible.size()); }
    int recNo() const { return m_current; } // 0-based, -1 without rows
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    void first();
    void next();
    void prior();
    void last();
    void moveTo(int row); // clamps into the rows

    Value value(int column) const; // of the current row
    Value value(int row, int column) const;
    Value value(const QString& fieldName) const;
    QString displayText(int row, int column) const;

    // Edit cache: set() on the current row after edit(); post() keeps the change in memory.
    void edit();
    void setValue(int column, const Value& v);
    void post();
    void cancel();
    bool editing() const { return m_editing; }

    // In-memory filter of the form  field = 'literal'  (blanks around allowed).
    void setFilterText(const QString& expression);
    const QString& filterText() const { return m_filterText; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }

    // While disabled, changes are not announced; enabling announces one change.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

signals:
    void changed();        // result opened/closed/filtered/edited: views must re-read
    void currentChanged(); // the current row moved

private:
    void rebuildVisibleRows();
    void announce();
    void announceCurrent();
    int rawRow(int row) const;
    Value rawValue(int raw, int column) const;

    Connection* m_connection = nullptr;
    QStringList m_lines;
    int m_paramCount = 0;
    QString m_translated;
    std::vector<Value> m_params;

    Result m_result;
    std::vector<Field> m_fields; // the result's, with the read-only flags set here
    std::vector<int> m_visible;
    std::map<int, std::map<int, Value>> m_cache; // raw row -> column -> posted value
    std::map<int, Value> m_pending;              // edits of the current row before post()
    bool m_editing = false;
    int m_current = -1;
    bool m_eof = true;
    bool m_bof = true;

    QString m_filterText;
    bool m_filtered = false;
    int m_filterColumn = -1;
    QString m_filterName;
    QString m_filterLiteral;

    int m_disableCount = 0;
    bool m_pendingChange = false;
};

} // namespace db
