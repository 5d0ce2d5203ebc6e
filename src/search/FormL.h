#pragma once
// The modal single-choice search window: a grid over the listing query, type-to-search,
// sort by column title, optional row highlight. The flow reads the chosen row from QueryLoc.
#include <QDialog>
#include <QString>

class QFrame;
class QStatusBar;
class QLabel;
class QTimer;
class QPainter;
class QRect;
class DataGrid;
class QueryModel;
namespace db {
class Query;
}

namespace UFormL {
// Key kind of the current search column: 0 numeric, 1 text. Kept between windows.
extern qint32 TipoCampo;
} // namespace UFormL

class TFormL : public QDialog {
    Q_OBJECT
public:
    explicit TFormL(QWidget* parent = nullptr);
    ~TFormL() override;

    QFrame* Panel1 = nullptr;
    DataGrid* DBGridB = nullptr;
    QFrame* Panel2 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QTimer* Timer1 = nullptr;
    db::Query* QueryLoc = nullptr; // on DM's connection, owned by the window
    QueryModel* DsLoc = nullptr;   // links DBGridB to QueryLoc; owned by the grid

    QString campo;
    QString condicaoCampo;
    qint32 corDeDestaque = 0;
    bool usaDestaque = false;
    bool buscaNovamenteOnShow = true;
    bool Escolheu = false;

    void TrocaTextoDaSQL(const QString& p_campo);

    // The status bar's three panels.
    QLabel* painelStatus(int index) const;

    // Event handlers, wired to the window and the grid.
    void FormCreate();
    virtual void FormShow();
    void FormClose();
    virtual void DBGridBDblClick(QObject* Sender);
    void DBGridBTitleClick(int Column);
    virtual void DBGridBKeyPress(QObject* Sender, QChar& Key);
    void DBGridBColEnter(QObject* Sender);
    void DBGridBDrawColumnCell(QPainter& Canvas, const QRect& Rect, int DataCol, int Row, bool Selected);
    void Timer1Timer();

    // Whether row `linha` of QueryLoc is painted in corDeDestaque.
    bool destacaLinha(int linha) const;

    // Every way out (Enter, double click, Esc, the close box) passes here.
    void done(int r) override;

protected:
    void showEvent(QShowEvent* event) override;

    // What the multi-select window does differently: its search column is the shared index,
    // its key kind and "accepted" flag live in its own unit, it filters numeric keys without
    // letters and handles the blank on the mark column and Enter itself.
    virtual qint32& colunaDeBusca() { return ColAntDBGridBL; }
    virtual qint32& tipoCampo() const { return UFormL::TipoCampo; }
    virtual bool escolheu() const { return Escolheu; }
    virtual void filtraTecla(QChar& Key) const;
    virtual bool trataTeclaPropria(QChar& Key); // true: the key was handled
    void OnTitleClickDoDBGridB(int Column);

private:
    void AlteraSQL(int Column);

    QLabel* fPaineis[3] = {};
    bool Decrescente = false;  // never set: the typing rewrite keeps the list's direction
    qint32 ColAntDBGridBL = 0; // this window's search column (shadows the shared index)
};

// The current search window (one at a time).
extern TFormL* FormL;

// Search column of the multi-select window; read when any search window is shown.
extern qint32 ColAntDBGridBL;

// Re-applies the remembered sort column when a search window is shown.
void OnShowDoFormL(DataGrid* DBGridB);
