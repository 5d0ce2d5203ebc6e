#pragma once
// The report filter window: eleven lookup fields, the choices and the print button.
#include "lookup/CriadorLookup.h"

#include <QStringList>
#include <QWidget>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QRadioButton;

namespace widgets {
class EventButton;
class EventEdit;
class KeyPreview;
} // namespace widgets

class TFormPrincipal : public QWidget {
    Q_OBJECT
public:
    // args: the command line as the host application passed it (argument 0 is the program).
    explicit TFormPrincipal(QStringList args, QWidget* parent = nullptr);
    ~TFormPrincipal() override;

    // The creation step: command line, connection, lookup field controllers.
    void FormCreate();

    qint32 codigoEmpresaLogada() const { return CodigoEmpresaLogada; }
    qint32 codigoFuncionarioLogado() const { return CodigoFuncionarioLogado; }

    // SQL of the lookup fields: the description of the code in :0, or the listing filtered by
    // the LIKE pattern in :0. Empty for any other control or kind.
    QString ELookUP(QObject* Objeto, TEventoLookUp Evento) const;

    // Every character typed in the window passes here first.
    void FormKeyPress(QObject* Sender, QChar& Key);

    // "Imprimir": launches the report with the current filters and choices.
    void BitBtn1Click(QObject* Sender);

    // Index of the checked output format, -1 when none is checked.
    int rgFormatoIndex() const;

    // What the window's lookup fields share (entry record, search under way).
    const EstadoLookups& estadoLookups() const { return m_estadoLookups; }

    QLabel* PanelTitulo = nullptr;
    QGroupBox* GroupBox1 = nullptr;

    QLabel* Label1 = nullptr;
    widgets::EventEdit* EditEmp = nullptr;
    widgets::EventButton* bbEmp = nullptr;
    widgets::EventEdit* EditEmpDes = nullptr;
    QLabel* Label2 = nullptr;
    widgets::EventEdit* EditDep = nullptr;
    widgets::EventButton* bbDep = nullptr;
    widgets::EventEdit* EditDepDes = nullptr;
    QLabel* Label3 = nullptr;
    widgets::EventEdit* EditPro = nullptr;
    widgets::EventButton* bbPro = nullptr;
    widgets::EventEdit* EditProDes = nullptr;
    QLabel* Label4 = nullptr;
    widgets::EventEdit* EditForn = nullptr;
    widgets::EventButton* bbForn = nullptr;
    widgets::EventEdit* EditFornDes = nullptr;
    QLabel* Label5 = nullptr;
    widgets::EventEdit* EditDepp = nullptr;
    widgets::EventButton* bbDepp = nullptr;
    widgets::EventEdit* EditDeppDes = nullptr;
    QLabel* Label6 = nullptr;
    widgets::EventEdit* EditSecp = nullptr;
    widgets::EventButton* bbSecp = nullptr;
    widgets::EventEdit* EditSecpDes = nullptr;
    QLabel* Label7 = nullptr;
    widgets::EventEdit* EditCat = nullptr;
    widgets::EventButton* bbCat = nullptr;
    widgets::EventEdit* EditCatDes = nullptr;
    QLabel* Label8 = nullptr;
    widgets::EventEdit* EditScat = nullptr;
    widgets::EventButton* bbScat = nullptr;
    widgets::EventEdit* EditScatDes = nullptr;
    QLabel* Label9 = nullptr;
    widgets::EventEdit* EditFam = nullptr;
    widgets::EventButton* bbFam = nullptr;
    widgets::EventEdit* EditFamDes = nullptr;
    QLabel* Label10 = nullptr;
    widgets::EventEdit* EditMarca = nullptr;
    widgets::EventButton* bbMarca = nullptr;
    widgets::EventEdit* EditMarcaDes = nullptr;
    QLabel* Label11 = nullptr;
    widgets::EventEdit* EditApp = nullptr;
    widgets::EventButton* bbApp = nullptr;
    widgets::EventEdit* EditAppDes = nullptr;

    QGroupBox* GroupBox2 = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Label12 = nullptr;
    QComboBox* cbApresentacao = nullptr;
    QLabel* Label13 = nullptr;
    QComboBox* cbOrdem = nullptr;
    QGroupBox* rgFormato = nullptr;
    QRadioButton* rbVisualizacao = nullptr;
    QRadioButton* rbPDF = nullptr;
    QRadioButton* rbExcel = nullptr;
    widgets::EventButton* BitBtn1 = nullptr;

protected:
    void changeEvent(QEvent* event) override;

private:
    QString argumento(int position) const;
    void criaControles();

    QStringList m_args;
    qint32 CodigoEmpresaLogada = 0;
    qint32 CodigoFuncionarioLogado = 0;
    widgets::KeyPreview* m_keyPreview = nullptr;
    bool m_jaAtivada = false;
    EstadoLookups m_estadoLookups;
};
