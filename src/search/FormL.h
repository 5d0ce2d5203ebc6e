#pragma once
// The modal single-choice search window: a grid over the listing query, type-to-search,
// sort by column title, optional row highlight. The flow reads the chosen row from QueryLoc.
#include <QDialog>
#include <QString>

class QFrame;
class QStatusBar;
class QLabel;
class QTimer;
class DataGrid;
namespace db {
class Query;
}

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

    QString campo;
    QString condicaoCampo;
    qint32 corDeDestaque = 0;
    bool usaDestaque = false;
    bool buscaNovamenteOnShow = true;
    bool Escolheu = false;

    void TrocaTextoDaSQL(const QString& p_campo);

    // The status bar's three panels.
    QLabel* painelStatus(int index) const;
};

// The current search window (one at a time).
extern TFormL* FormL;

namespace UFormL {
// Key kind of the current search column: 0 numeric, 1 text. Kept between windows.
extern qint32 TipoCampo;
} // namespace UFormL
