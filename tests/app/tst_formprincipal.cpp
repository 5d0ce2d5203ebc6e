#include "app/CatalogoLookup.h"
#include "app/FormPrincipal.h"
#include "db/DM.h"
#include "db/Query.h"
#include "lookup/CriadorLookup.h"
#include "widgets/EventButton.h"
#include "widgets/EventEdit.h"

#include "Digitacao.h"
#include "JavaSubstituto.h"
#include "ModalDriver.h"
#include "TestDb.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using testsupport::digita;

namespace {

// The code edits in row order (top to bottom) and their captions.
const QStringList kSufixos = {"Emp", "Dep",  "Pro", "Forn",  "Depp", "Secp",
                              "Cat", "Scat", "Fam", "Marca", "App"};
const QStringList kLegendas = {"Empresa",   "Depósito",     "Produto", "Fornecedor", "Departamento", "Seção",
                               "Categoria", "Subcategoria", "Família", "Marca",      "Aplicação"};

// The same text as a keyboard with dead keys or an input method delivers it: one commit.
void compoe(const QString& texto) {
    QWidget* alvo = QApplication::focusWidget();
    if (!alvo)
        return;
    QInputMethodEvent evento;
    evento.setCommitString(texto);
    QApplication::sendEvent(alvo, &evento);
}

// The same text in a single key event (a key that types a character beyond U+FFFF, a macro key).
void umaTecla(const QString& texto) {
    if (QWidget* alvo = QApplication::focusWidget())
        QTest::sendKeyEvent(QTest::Press, alvo, Qt::Key_unknown, texto, Qt::NoModifier);
}

void entra(const QString& como, const QString& texto) {
    if (como == QStringLiteral("composição"))
        compoe(texto);
    else if (como == QStringLiteral("uma tecla"))
        umaTecla(texto);
    else
        digita(texto);
}

template <typename T> T* filho(QWidget* janela, const QString& nome) {
    T* w = janela->findChild<T*>(nome);
    if (!w)
        qWarning("control %s not found", qPrintable(nome));
    return w;
}

} // namespace

class TstFormPrincipal : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void ligacaoAoCatalogo_data();
    void ligacaoAoCatalogo();
    void semSQL_data();
    void semSQL();

    void janela();
    void linhas_data();
    void linhas();
    void escolhas_data();
    void escolhas();
    void aparencia();
    void ordemDeTab_data();
    void ordemDeTab();
    void botoesEDescricoesForaDoTab();
    void enterAvanca_data();
    void enterAvanca();
    void teclasDaJanela_data();
    void teclasDaJanela();
    void deleteApaga();

    void impressao_data();
    void impressao();
    void duasImpressoesDoisVisualizadores();

    void controladores();
    void teclasNosCodigos_data();
    void teclasNosCodigos();
    void enterComControladores();
    void catalogoNoBanco_data();
    void catalogoNoBanco();

private:
    // A new window, shown and active, without the creation step (no database needed).
    std::unique_ptr<TFormPrincipal> novaJanela();
    // The same after a successful creation step on the test database.
    std::unique_ptr<TFormPrincipal> novaJanelaComBanco();
    QList<QStringList> execucoes(int n, int timeoutMs = 10000);
    QStringList inicioDosArgumentos(const QString& formato) const;

    QTemporaryDir fTmp;
    QByteArray fPathOriginal;
    std::unique_ptr<testsupport::TestDataModule> fBanco;
};

void TstFormPrincipal::initTestCase() {
    fPathOriginal = testsupport::instalaJavaSubstituto(fTmp);
    QVERIFY(!fPathOriginal.isEmpty());
}

void TstFormPrincipal::init() {
    QDir saida(fTmp.filePath("saida"));
    for (const QString& f : saida.entryList(QDir::Files))
        saida.remove(f);
}

void TstFormPrincipal::cleanup() {
    fBanco.reset();
}

void TstFormPrincipal::cleanupTestCase() {
    qputenv("PATH", fPathOriginal);
}

std::unique_ptr<TFormPrincipal> TstFormPrincipal::novaJanela() {
    auto janela = std::make_unique<TFormPrincipal>(QStringList{"prog"});
    janela->show();
    QApplication::setActiveWindow(janela.get());
    if (!QTest::qWaitForWindowActive(janela.get()))
        qWarning("window did not become active");
    return janela;
}

std::unique_ptr<TFormPrincipal> TstFormPrincipal::novaJanelaComBanco() {
    fBanco = std::make_unique<testsupport::TestDataModule>();
    using testsupport::env;
    auto janela = std::make_unique<TFormPrincipal>(
        QStringList{"prog", env("ZV_TEST_PGHOST"), env("ZV_TEST_PGPORT"), env("ZV_TEST_PGUSER"),
                    env("ZV_TEST_PGPASSWORD"), env("ZV_TEST_PGDATABASE"), "1", "1", "teste"});
    janela->FormCreate();
    janela->show();
    QApplication::setActiveWindow(janela.get());
    if (!QTest::qWaitForWindowActive(janela.get()))
        qWarning("window did not become active");
    return janela;
}

QList<QStringList> TstFormPrincipal::execucoes(int n, int timeoutMs) {
    const QDir saida(fTmp.filePath("saida"));
    auto prontos = [&] {
        QStringList l = saida.entryList({"run.*"}, QDir::Files, QDir::Time | QDir::Reversed);
        l.removeIf([](const QString& f) { return f.endsWith(".tmp"); });
        return l;
    };
    (void)QTest::qWaitFor([&] { return prontos().size() >= n; }, timeoutMs); // callers check the count
    QTest::qWait(200); // a stray extra run shows up here
    QList<QStringList> runs;
    for (const QString& nome : prontos()) {
        QFile f(saida.filePath(nome));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        QString texto = QString::fromUtf8(f.readAll());
        if (texto.endsWith('\n'))
            texto.chop(1);
        runs << texto.split('\n');
    }
    return runs;
}

QStringList TstFormPrincipal::inicioDosArgumentos(const QString& formato) const {
    const QString d = QCoreApplication::applicationDirPath();
    return {"-jar",    d + "/jasperviewer.jar",
            "Zarvent", d + "/relatorios/zv_relacao_produto_enderecamento",
            formato,   "N"};
}

// ---------------------------------------------------------------------------------------------
// SQL provider

// Every code edit asks the catalogue for its own row, with the parent fields' texts as typed.
void TstFormPrincipal::ligacaoAoCatalogo_data() {
    QTest::addColumn<QStringList>("pais"); // Depp, Secp, Cat
    QTest::newRow("sem pais") << QStringList{"", "", ""};
    QTest::newRow("pais com códigos") << QStringList{"5", "12", "40"};
    QTest::newRow("pai ruim") << QStringList{"5'", "12", "x"};
}

void TstFormPrincipal::ligacaoAoCatalogo() {
    QFETCH(QStringList, pais);
    TFormPrincipal janela({"prog"});
    janela.EditDepp->setText(pais[0]);
    janela.EditSecp->setText(pais[1]);
    janela.EditCat->setText(pais[2]);
    const CodigosPais codigos{pais[0], pais[1], pais[2]};
    const QList<std::pair<const char*, CampoLookup>> campos = {
        {"EditEmp", CampoLookup::Emp},     {"EditDep", CampoLookup::Dep},   {"EditPro", CampoLookup::Pro},
        {"EditForn", CampoLookup::Forn},   {"EditDepp", CampoLookup::Depp}, {"EditSecp", CampoLookup::Secp},
        {"EditCat", CampoLookup::Cat},     {"EditScat", CampoLookup::Scat}, {"EditFam", CampoLookup::Fam},
        {"EditMarca", CampoLookup::Marca}, {"EditApp", CampoLookup::App},
    };
    for (const auto& [nome, campo] : campos) {
        auto* edit = janela.findChild<widgets::EventEdit*>(QString::fromLatin1(nome));
        QVERIFY(edit);
        for (const TEventoLookUp evento : {evDescricao, evListagem}) {
            QVERIFY(!SqlDoLookup(campo, evento, codigos).isEmpty());
            QCOMPARE(janela.ELookUP(edit, evento), SqlDoLookup(campo, evento, codigos));
        }
    }
}

void TstFormPrincipal::semSQL_data() {
    QTest::addColumn<QString>("objeto"); // object name; empty for none
    QTest::addColumn<int>("evento");
    for (const char* nome : {"", "EditEmpDes", "EditSecpDes", "bbEmp", "cbOrdem", "BitBtn1", "FormPrincipal"})
        for (int evento : {1, 2})
            QTest::addRow("%s %d", *nome ? nome : "nenhum", evento) << nome << evento;
    for (int evento : {0, 3, 255}) {
        QTest::addRow("EditEmp %d", evento) << "EditEmp" << evento;
        QTest::addRow("EditScat %d", evento) << "EditScat" << evento;
    }
}

void TstFormPrincipal::semSQL() {
    QFETCH(QString, objeto);
    QFETCH(int, evento);
    TFormPrincipal janela({"prog"});
    janela.EditDepp->setText("5");
    janela.EditSecp->setText("12");
    QObject* o = objeto.isEmpty()                ? nullptr
                 : objeto == janela.objectName() ? static_cast<QObject*>(&janela)
                                                 : janela.findChild<QObject*>(objeto);
    QVERIFY(objeto.isEmpty() || o);
    QCOMPARE(janela.ELookUP(o, static_cast<TEventoLookUp>(evento)), QString());
}

// ---------------------------------------------------------------------------------------------
// Layout

void TstFormPrincipal::janela() {
    const auto j = novaJanela();
    QCOMPARE(j->windowTitle(), QStringLiteral("Relatório de Endereçamento de Produto"));
    QCOMPARE(j->size(), QSize(960, 596));
    QCOMPARE(j->minimumSize(), j->maximumSize());
    QCOMPARE(j->font().family(), QStringLiteral("Segoe UI"));
    QCOMPARE(j->font().pointSize(), 9);
    QCOMPARE(QApplication::focusWidget(), j->EditEmp);

    auto* titulo = filho<QLabel>(j.get(), "PanelTitulo");
    QVERIFY(titulo);
    QCOMPARE(titulo->geometry(), QRect(0, 0, 960, 30));
    QCOMPARE(titulo->text(), QStringLiteral("Relação de Produtos por Endereço [v25.04.28.1]"));
    QCOMPARE(titulo->alignment(), Qt::AlignCenter);
    QCOMPARE(titulo->palette().color(QPalette::Window), QColor(0x49, 0x2E, 0x73));
    QCOMPARE(titulo->palette().color(QPalette::WindowText), QColor(Qt::white));
    QVERIFY(titulo->autoFillBackground());
    QCOMPARE(titulo->font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(titulo->font().pointSize(), 8);
    QVERIFY(titulo->font().bold());

    auto* area = filho<QGroupBox>(j.get(), "GroupBox1");
    QVERIFY(area);
    QCOMPARE(area->geometry(), QRect(0, 30, 960, 566));
    QVERIFY(area->title().isEmpty());

    // The choices are docked at the bottom of the filter area, below the last row.
    auto* escolhas = filho<QGroupBox>(j.get(), "GroupBox2");
    auto* painel = filho<QFrame>(j.get(), "Panel1");
    QVERIFY(escolhas && painel);
    QCOMPARE(escolhas->parentWidget(), area);
    QCOMPARE(escolhas->height(), 66);
    QVERIFY(escolhas->geometry().bottom() < area->height() &&
            escolhas->geometry().bottom() >= area->height() - 4);
    QVERIFY(escolhas->y() > j->EditApp->geometry().bottom());
    QCOMPARE(painel->parentWidget(), escolhas);
    QCOMPARE(painel->height(), 52);
    QCOMPARE(painel->frameShape(), QFrame::NoFrame);
    QVERIFY(painel->geometry().bottom() >= escolhas->height() - 4);
}

void TstFormPrincipal::linhas_data() {
    QTest::addColumn<QString>("sufixo");
    QTest::addColumn<QString>("legenda");
    QTest::addColumn<int>("topoLegenda");
    QTest::addColumn<int>("topo");
    QTest::addColumn<int>("esquerdaCodigo");
    QTest::addColumn<int>("topoBotao");
    const QList<std::array<int, 4>> medidas = {{6, 24, 12, 24},     {49, 66, 13, 67},    {94, 112, 12, 112},
                                               {138, 156, 12, 156}, {181, 199, 12, 199}, {224, 242, 12, 242},
                                               {268, 286, 12, 286}, {312, 330, 12, 330}, {356, 374, 12, 374},
                                               {400, 418, 12, 418}, {446, 464, 12, 465}};
    for (int i = 0; i < kSufixos.size(); ++i)
        QTest::newRow(qPrintable(kSufixos[i])) << kSufixos[i] << kLegendas[i] << medidas[i][0]
                                               << medidas[i][1] << medidas[i][2] << medidas[i][3];
}

void TstFormPrincipal::linhas() {
    QFETCH(QString, sufixo);
    QFETCH(QString, legenda);
    QFETCH(int, topoLegenda);
    QFETCH(int, topo);
    QFETCH(int, esquerdaCodigo);
    QFETCH(int, topoBotao);
    const auto j = novaJanela();
    auto* area = filho<QGroupBox>(j.get(), "GroupBox1");
    auto* codigo = filho<widgets::EventEdit>(j.get(), "Edit" + sufixo);
    auto* botao = filho<widgets::EventButton>(j.get(), "bb" + sufixo);
    auto* descricao = filho<widgets::EventEdit>(j.get(), "Edit" + sufixo + "Des");
    QVERIFY(area && codigo && botao && descricao);
    QLabel* label = nullptr;
    for (QLabel* l : area->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
        if (l->buddy() == codigo)
            label = l;
    QVERIFY2(label, "the row's caption is not the code edit's buddy");

    for (QWidget* w : std::initializer_list<QWidget*>{label, codigo, botao, descricao}) {
        QCOMPARE(w->parentWidget(), area);
        QVERIFY(w->isVisible());
        QCOMPARE(w->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(w->font().pointSize(), 10);
    }
    QCOMPARE(label->text(), legenda);
    QCOMPARE(label->pos(), QPoint(13, topoLegenda));
    QVERIFY(label->geometry().bottom() < topo);
    QCOMPARE(codigo->geometry(), QRect(esquerdaCodigo, topo, 86, 24));
    QCOMPARE(botao->geometry(), QRect(99, topoBotao, 24, 22));
    QCOMPARE(descricao->geometry(), QRect(124, topo, 626, 24));

    QVERIFY(codigo->text().isEmpty());
    QVERIFY(!codigo->isReadOnly());
    QVERIFY(descricao->isReadOnly());
    QCOMPARE(descricao->palette().color(QPalette::Base),
             QApplication::palette().color(QPalette::ToolTipBase));
    QCOMPARE(botao->toolTip(), QStringLiteral("Listagem de Produtos"));
    QVERIFY(!botao->icon().isNull());
    QVERIFY(botao->text().isEmpty());

    QCOMPARE(codigo->accessibleName(), legenda);
    QCOMPARE(descricao->accessibleName(), "Descrição de " + legenda);
    QCOMPARE(botao->accessibleName(), "Buscar " + legenda);
}

void TstFormPrincipal::escolhas_data() {
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QRect>("geometria"); // height 0: the control's natural height
    QTest::addColumn<QString>("texto");
    QTest::newRow("cbApresentacao") << "cbApresentacao" << QRect(7, 22, 130, 0) << "Depósito";
    QTest::newRow("cbOrdem") << "cbOrdem" << QRect(144, 22, 130, 0) << "Data";
    QTest::newRow("rgFormato") << "rgFormato" << QRect(288, 5, 537, 40) << "Formato";
    QTest::newRow("BitBtn1") << "BitBtn1" << QRect(841, 10, 100, 33) << "&Imprimir";
}

void TstFormPrincipal::escolhas() {
    QFETCH(QString, nome);
    QFETCH(QRect, geometria);
    QFETCH(QString, texto);
    const auto j = novaJanela();
    auto* w = filho<QWidget>(j.get(), nome);
    QVERIFY(w);
    QCOMPARE(w->parentWidget(), filho<QFrame>(j.get(), "Panel1"));
    QVERIFY(w->isVisible());
    QCOMPARE(w->pos(), geometria.topLeft());
    QCOMPARE(w->width(), geometria.width());
    if (geometria.height() > 0)
        QCOMPARE(w->height(), geometria.height());
    QVERIFY(w->geometry().bottom() < w->parentWidget()->height());
    if (auto* c = qobject_cast<QComboBox*>(w))
        QCOMPARE(c->currentText(), texto);
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        QCOMPARE(g->title(), texto);
    else
        QCOMPARE(qobject_cast<QPushButton*>(w)->text(), texto);
}

void TstFormPrincipal::aparencia() {
    const auto j = novaJanela();
    auto* panel = filho<QFrame>(j.get(), "Panel1");
    const QList<QLabel*> labels = panel->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(labels.size(), 2);
    QCOMPARE(labels[0]->text(), QStringLiteral("Apresentação"));
    QCOMPARE(labels[0]->pos(), QPoint(8, 4));
    QCOMPARE(labels[1]->text(), QStringLiteral("Ordenar por"));
    QCOMPARE(labels[1]->pos(), QPoint(149, 4));

    auto itens = [](const QComboBox* c) {
        QStringList l;
        for (int i = 0; i < c->count(); ++i)
            l << c->itemText(i);
        return l;
    };
    QVERIFY(!j->cbApresentacao->isEditable());
    QCOMPARE(itens(j->cbApresentacao), (QStringList{"Depósito", "Produto", "Empresa"}));
    QCOMPARE(j->cbApresentacao->currentIndex(), 0);
    QVERIFY(!j->cbOrdem->isEditable());
    QCOMPARE(itens(j->cbOrdem), (QStringList{"Data", "Valor Bruto", "Valor Líquido"}));
    QCOMPARE(j->cbOrdem->currentIndex(), 0);

    // Three bold items side by side, in columns of equal width, the first one chosen.
    QVERIFY(j->rgFormato->font().bold());
    const QList<QRadioButton*> radios = j->rgFormato->findChildren<QRadioButton*>();
    QCOMPARE(radios.size(), 3);
    QStringList textos;
    for (int i = 0; i < radios.size(); ++i) {
        textos << radios[i]->text();
        QVERIFY(radios[i]->font().bold());
        QVERIFY(radios[i]->isVisible());
        QVERIFY(radios[i]->geometry().bottom() < j->rgFormato->height());
        if (i > 0) {
            QCOMPARE(radios[i]->y(), radios[0]->y());
            QCOMPARE(radios[i]->x() - radios[i - 1]->x(), radios[1]->x() - radios[0]->x());
            QVERIFY(radios[i]->x() >= radios[i - 1]->geometry().right());
        }
    }
    QCOMPARE(textos, (QStringList{"Visualização", "PDF", "Excel(XLS)"}));
    QVERIFY(radios[0]->isChecked());
    QCOMPARE(j->rgFormatoIndex(), 0);
    radios[2]->click();
    QCOMPARE(j->rgFormatoIndex(), 2);
    QVERIFY(!radios[0]->isChecked());

    // The printer glyph has its own greyed look while the button is disabled.
    const QIcon icone = j->BitBtn1->icon();
    QVERIFY(!icone.isNull());
    const QImage normal = icone.pixmap(j->BitBtn1->iconSize(), QIcon::Normal).toImage();
    const QImage cinza = icone.pixmap(j->BitBtn1->iconSize(), QIcon::Disabled).toImage();
    QVERIFY(!normal.isNull() && !cinza.isNull());
    QVERIFY(normal != cinza);
    for (int y = 0; y < cinza.height(); ++y)
        for (int x = 0; x < cinza.width(); ++x) {
            const QRgb p = cinza.pixel(x, y);
            QVERIFY(qAlpha(p) == 0 || (qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)));
        }
    QVERIFY(j->BitBtn1->isEnabled());
}

void TstFormPrincipal::ordemDeTab_data() {
    QTest::addColumn<int>("formato");
    QTest::addColumn<QString>("radio");
    QTest::newRow("visualização") << 0 << "rgFormatoItem0";
    QTest::newRow("pdf escolhido") << 1 << "rgFormatoItem1";
    QTest::newRow("excel escolhido") << 2 << "rgFormatoItem2";
}

void TstFormPrincipal::ordemDeTab() {
    QFETCH(int, formato);
    QFETCH(QString, radio);
    const auto j = novaJanela();
    j->rgFormato->findChild<QRadioButton*>(QStringLiteral("rgFormatoItem%1").arg(formato))->setChecked(true);
    QStringList esperado;
    for (const QString& s : kSufixos.mid(1))
        esperado << "Edit" + s;
    esperado << "cbApresentacao"
             << "cbOrdem" << radio << "BitBtn1"
             << "EditEmp"
             << "EditDep";

    QStringList visitados;
    j->EditEmp->setFocus();
    for (int i = 0; i < esperado.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visitados << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "-");
    }
    QCOMPARE(visitados, esperado);

    // Shift+Tab walks the same road backwards.
    QStringList voltando;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        voltando << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(voltando, (QStringList{"EditEmp", "BitBtn1", radio, "cbOrdem"}));
}

void TstFormPrincipal::botoesEDescricoesForaDoTab() {
    const auto j = novaJanela();
    for (const QString& s : kSufixos) {
        auto* botao = filho<QWidget>(j.get(), "bb" + s);
        auto* descricao = filho<QWidget>(j.get(), "Edit" + s + "Des");
        QCOMPARE(botao->focusPolicy(), Qt::ClickFocus);
        QCOMPARE(descricao->focusPolicy(), Qt::ClickFocus);
        QVERIFY(filho<QWidget>(j.get(), "Edit" + s)->focusPolicy() & Qt::TabFocus);
    }
    // A click on a search button takes the focus: the lookup asks where it is.
    QTest::mouseClick(j->bbSecp, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), j->bbSecp);
    QTest::mouseClick(j->EditFamDes, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), j->EditFamDes);
}

void TstFormPrincipal::enterAvanca_data() {
    QTest::addColumn<QString>("de");
    QTest::addColumn<int>("formato");
    QTest::addColumn<QString>("para");
    for (int i = 0; i + 1 < kSufixos.size(); ++i)
        QTest::addRow("Edit%s", qPrintable(kSufixos[i]))
            << "Edit" + kSufixos[i] << 0 << "Edit" + kSufixos[i + 1];
    QTest::newRow("EditApp") << "EditApp" << 0 << "cbApresentacao";
    QTest::newRow("cbApresentacao") << "cbApresentacao" << 0 << "cbOrdem";
    QTest::newRow("cbOrdem") << "cbOrdem" << 0 << "rgFormatoItem0";
    QTest::newRow("cbOrdem, pdf") << "cbOrdem" << 1 << "rgFormatoItem1";
    QTest::newRow("formato") << "rgFormatoItem0" << 0 << "BitBtn1";
    QTest::newRow("formato excel") << "rgFormatoItem2" << 2 << "BitBtn1";
    // Description edits are reached only by a click; Enter moves on to the next row from them.
    QTest::newRow("descrição") << "EditDeppDes" << 0 << "EditSecp";
}

void TstFormPrincipal::enterAvanca() {
    QFETCH(QString, de);
    QFETCH(int, formato);
    QFETCH(QString, para);
    const auto j = novaJanela();
    j->rgFormato->findChild<QRadioButton*>(QStringLiteral("rgFormatoItem%1").arg(formato))->setChecked(true);
    const int apresentacao = j->cbApresentacao->currentIndex();
    auto* origem = filho<QWidget>(j.get(), de);
    origem->setFocus();
    QCOMPARE(QApplication::focusWidget(), origem);
    QTest::keyClick(origem, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget()->objectName(), para);
    // The key never reached the control: nothing was typed, chosen or launched.
    if (auto* e = qobject_cast<QLineEdit*>(origem))
        QVERIFY(e->text().isEmpty());
    QCOMPARE(j->cbApresentacao->currentIndex(), apresentacao);
    QCOMPARE(j->rgFormatoIndex(), formato);
    QVERIFY(execucoes(0, 0).isEmpty());
}

void TstFormPrincipal::teclasDaJanela_data() {
    QTest::addColumn<QString>("como"); // "teclas", "composição" (input method) or "uma tecla"
    QTest::addColumn<QString>("digitado");
    QTest::addColumn<QString>("esperado");
    // Without controllers (no database) the window's own normaliser is all there is.
    QTest::newRow("maiúsculas") << "teclas"
                                << "abc"
                                << "ABC";
    QTest::newRow("acentos") << "teclas"
                             << "çãéü"
                             << "CAEU";
    QTest::newRow("recusados") << "teclas"
                               << "1'2^3`4~"
                               << "1234";
    QTest::newRow("fora do conjunto") << "teclas"
                                      << "ñÄ5"
                                      << "5";
    QTest::newRow("aceitos como estão") << "teclas"
                                        << "ª%,7"
                                        << "ª%,7";
    // Dead keys and input methods deliver the same characters another way.
    QTest::newRow("acentos compostos") << "composição"
                                       << "çãéü"
                                       << "CAEU";
    QTest::newRow("recusados compostos") << "composição"
                                         << "1^`~2"
                                         << "12";
    QTest::newRow("além de U+FFFF composto") << "composição"
                                             << "a\U0001F600b"
                                             << "AB";
    QTest::newRow("além de U+FFFF numa tecla") << "uma tecla"
                                               << "a\U0001F600b"
                                               << "AB";
}

void TstFormPrincipal::teclasDaJanela() {
    QFETCH(QString, como);
    QFETCH(QString, digitado);
    QFETCH(QString, esperado);
    const auto j = novaJanela();
    j->EditForn->setFocus();
    entra(como, digitado);
    QCOMPARE(j->EditForn->text(), esperado);
}

void TstFormPrincipal::deleteApaga() {
    // Delete edits the text (X11 gives the key the text DEL): it is not a typed character.
    const auto j = novaJanela();
    j->EditForn->setFocus();
    digita(QStringLiteral("123"));
    j->EditForn->setCursorPosition(1);
    QTest::sendKeyEvent(QTest::Press, j->EditForn, Qt::Key_Delete, QStringLiteral("\x7f"), Qt::NoModifier);
    digita(QStringLiteral("9"));
    QCOMPARE(j->EditForn->text(), QStringLiteral("193"));
}

// ---------------------------------------------------------------------------------------------
// Print

void TstFormPrincipal::impressao_data() {
    QTest::addColumn<QStringList>("codigos"); // row order: Emp Dep Pro Forn Depp Secp Cat Scat Fam Marca App
    QTest::addColumn<int>("apresentacao");
    QTest::addColumn<int>("ordem");
    QTest::addColumn<int>("formato"); // -1: no item checked
    QTest::addColumn<QString>("como");
    QTest::addColumn<QStringList>("esperados"); // after "-jar <viewer> Zarvent <report>"

    const QStringList vazios(11, QString());
    const QStringList zeros = {"P_EMP=0", "P_DEP=0",  "P_PRO=0", "P_FORN=0",  "P_SECP=0",
                               "P_CAT=0", "P_SCAT=0", "P_FAM=0", "P_MARCA=0", "P_APP=0"};
    QTest::newRow("padrão") << vazios << 0 << 0 << 0 << "clique"
                            << QStringList{"VIS", "N"} + zeros + QStringList{"P_GRUPO=1", "P_ORDEM=0"};
    QTest::newRow("empresa, valor líquido, pdf")
        << vazios << 2 << 2 << 1 << "clique"
        << QStringList{"PDF", "N"} + zeros + QStringList{"P_GRUPO=3", "P_ORDEM=2"};
    QTest::newRow("produto, valor bruto, excel")
        << vazios << 1 << 1 << 2 << "clique"
        << QStringList{"XLS", "N"} + zeros + QStringList{"P_GRUPO=2", "P_ORDEM=1"};
    QTest::newRow("nenhum formato marcado")
        << vazios << 0 << 0 << -1 << "clique"
        << QStringList{"VIS", "N"} + zeros + QStringList{"P_GRUPO=1", "P_ORDEM=0"};
    // Codes go as typed, with no check; the department is not a report parameter.
    QTest::newRow("códigos como digitados")
        << QStringList{"1", "3,4", "007", "101", "5", "12", "40", "400", "1", "2", "9"} << 0 << 0 << 0
        << "clique" << QStringList{"VIS",        "N",         "P_EMP=1",   "P_DEP=3,4",  "P_PRO=007",
                                   "P_FORN=101", "P_SECP=12", "P_CAT=40",  "P_SCAT=400", "P_FAM=1",
                                   "P_MARCA=2",  "P_APP=9",   "P_GRUPO=1", "P_ORDEM=0"};
    QTest::newRow("só o departamento")
        << QStringList{"", "", "", "", "5", "", "", "", "", "", ""} << 0 << 0 << 0 << "clique"
        << QStringList{"VIS", "N"} + zeros + QStringList{"P_GRUPO=1", "P_ORDEM=0"};
    // The viewer's arguments are split at blanks: a blank value leaves the key without a value,
    // a value with a blank inside becomes an extra argument.
    QTest::newRow("só um branco") << QStringList{" ", "", "", "", "", "", "", "", "", "", ""} << 0 << 0 << 0
                                  << "clique"
                                  << QStringList{"VIS", "N", "P_EMP="} + zeros.mid(1) +
                                         QStringList{"P_GRUPO=1", "P_ORDEM=0"};
    QTest::newRow("branco no meio") << QStringList{"1 2", "", "", "", "", "", "", "", "", "", ""} << 0 << 0
                                    << 0 << "clique"
                                    << QStringList{"VIS", "N", "P_EMP=1", "2"} + zeros.mid(1) +
                                           QStringList{"P_GRUPO=1", "P_ORDEM=0"};
    QTest::newRow("alt+i") << vazios << 2 << 1 << 1 << "alt+i"
                           << QStringList{"PDF", "N"} + zeros + QStringList{"P_GRUPO=3", "P_ORDEM=1"};
    QTest::newRow("enter no botão") << vazios << 1 << 2 << 2 << "enter"
                                    << QStringList{"XLS", "N"} + zeros +
                                           QStringList{"P_GRUPO=2", "P_ORDEM=2"};
    QTest::newRow("espaço no botão") << vazios << 0 << 0 << 0 << "espaço"
                                     << QStringList{"VIS", "N"} + zeros +
                                            QStringList{"P_GRUPO=1", "P_ORDEM=0"};
}

void TstFormPrincipal::impressao() {
    QFETCH(QStringList, codigos);
    QFETCH(int, apresentacao);
    QFETCH(int, ordem);
    QFETCH(int, formato);
    QFETCH(QString, como);
    QFETCH(QStringList, esperados);

    const auto j = novaJanela();
    for (int i = 0; i < kSufixos.size(); ++i)
        filho<QLineEdit>(j.get(), "Edit" + kSufixos[i])->setText(codigos[i]);
    j->cbApresentacao->setCurrentIndex(apresentacao);
    j->cbOrdem->setCurrentIndex(ordem);
    const QList<QRadioButton*> radios = j->rgFormato->findChildren<QRadioButton*>();
    if (formato >= 0) {
        radios[formato]->setChecked(true);
    } else {
        for (QRadioButton* r : radios) {
            r->setAutoExclusive(false);
            r->setChecked(false);
        }
        QCOMPARE(j->rgFormatoIndex(), -1);
    }

    if (como == "clique") {
        QTest::mouseClick(j->BitBtn1, Qt::LeftButton);
    } else if (como == "alt+i") {
        j->EditPro->setFocus();
        QTest::keyClick(j->EditPro, Qt::Key_I, Qt::AltModifier);
    } else {
        j->BitBtn1->setFocus();
        QCOMPARE(QApplication::focusWidget(), j->BitBtn1);
        QTest::keyClick(j->BitBtn1, como == "enter" ? Qt::Key_Return : Qt::Key_Space);
    }

    const QList<QStringList> runs = execucoes(1);
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs.first(), inicioDosArgumentos(esperados.first()) + esperados.mid(2));
    // Printing leaves the window as it was.
    for (int i = 0; i < kSufixos.size(); ++i)
        QCOMPARE(filho<QLineEdit>(j.get(), "Edit" + kSufixos[i])->text(), codigos[i]);
    QCOMPARE(j->cbApresentacao->currentIndex(), apresentacao);
    QCOMPARE(j->cbOrdem->currentIndex(), ordem);
    QCOMPARE(j->rgFormatoIndex(), formato);
    if (como == "alt+i")
        QVERIFY(!j->EditPro->text().contains('I'));
}

void TstFormPrincipal::duasImpressoesDoisVisualizadores() {
    const auto j = novaJanela();
    j->EditEmp->setText("2");
    j->cbOrdem->setCurrentIndex(1);
    QTest::mouseClick(j->BitBtn1, Qt::LeftButton);
    QTest::mouseClick(j->BitBtn1, Qt::LeftButton);
    const QList<QStringList> runs = execucoes(2);
    QCOMPARE(runs.size(), 2);
    QCOMPARE(runs[0], runs[1]);
    QCOMPARE(runs[0].mid(6, 1), QStringList{"P_EMP=2"});
    QCOMPARE(runs[0].last(), QStringLiteral("P_ORDEM=1"));
}

// ---------------------------------------------------------------------------------------------
// With the database: the creation step and the lookup controllers

void TstFormPrincipal::controladores() {
    REQUIRE_TEST_DB();
    const auto j = novaJanelaComBanco();
    QVERIFY(DM->FDConnection1.connected());
    QVERIFY2(DM->FDConnection1.param("password").isEmpty(), "the password outlived the connection");
    QCOMPARE(j->codigoEmpresaLogada(), 1);

    const QList<TCriadorLookup*> lista =
        j->findChildren<TCriadorLookup*>(QString(), Qt::FindDirectChildrenOnly);
    QStringList ordem;
    for (const TCriadorLookup* c : lista) {
        const QString nome = c->EditCodigo()->objectName();
        ordem << nome;
        QCOMPARE(c->EditDesLista(), TListaEdits{filho<widgets::EventEdit>(j.get(), nome + "Des")});
        QCOMPARE(c->BotaoBusca(), filho<widgets::EventButton>(j.get(), "bb" + nome.mid(4)));
        QVERIFY(c->PermiteSomenteNumeros());
        QVERIFY(c->BuscaUnica());
        QVERIFY(!c->PermiteMultiSelecao());
        QVERIFY(c->Destaque() == nullptr);
    }
    QCOMPARE(ordem, (QStringList{"EditEmp", "EditPro", "EditDep", "EditForn", "EditDepp", "EditSecp",
                                 "EditCat", "EditScat", "EditFam", "EditApp", "EditMarca"}));
    // The controllers took over every event: none of these had a handler of its own.
    for (const QString& s : kSufixos) {
        auto* e = filho<widgets::EventEdit>(j.get(), "Edit" + s);
        QVERIFY(widgets::Assigned(e->OnEnter) && widgets::Assigned(e->OnExit) &&
                widgets::Assigned(e->OnChange) && widgets::Assigned(e->OnKeyPress));
        QVERIFY(widgets::Assigned(filho<widgets::EventButton>(j.get(), "bb" + s)->OnClick));
        auto* d = filho<widgets::EventEdit>(j.get(), "Edit" + s + "Des");
        QVERIFY(!widgets::Assigned(d->OnKeyPress) && !widgets::Assigned(d->OnChange));
    }
    // The window's first field is entered when the window opens: it shows the focused look.
    QCOMPARE(QApplication::focusWidget(), j->EditEmp);
    QVERIFY(j->EditEmp->font().bold());
    QCOMPARE(j->EditEmp->palette().color(QPalette::Base), QColor(0x00, 0x80, 0xC0));
}

void TstFormPrincipal::teclasNosCodigos_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("como");
    QTest::addColumn<QString>("digitado");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("letra recusada, vírgula aceita") << "EditEmp"
                                                    << "teclas"
                                                    << "12a,3"
                                                    << "12,3";
    QTest::newRow("acento vira letra e cai") << "EditDep"
                                             << "teclas"
                                             << "é7çÃ"
                                             << "7";
    QTest::newRow("recusados pela janela") << "EditPro"
                                           << "teclas"
                                           << "'5^`"
                                           << "5";
    QTest::newRow("sinais e pontos") << "EditSecp"
                                     << "teclas"
                                     << "-1.2+3"
                                     << "123";
    QTest::newRow("maiúscula e minúscula") << "EditApp"
                                           << "teclas"
                                           << "xX9"
                                           << "9";
    QTest::newRow("acento composto") << "EditEmp"
                                     << "composição"
                                     << "12éã"
                                     << "12";
    QTest::newRow("além de U+FFFF numa tecla") << "EditEmp"
                                               << "uma tecla"
                                               << "1\U0001F6002"
                                               << "12";
}

void TstFormPrincipal::teclasNosCodigos() {
    REQUIRE_TEST_DB();
    QFETCH(QString, edit);
    QFETCH(QString, como);
    QFETCH(QString, digitado);
    QFETCH(QString, esperado);
    const auto j = novaJanelaComBanco();
    auto* e = filho<widgets::EventEdit>(j.get(), edit);
    e->setFocus();
    entra(como, digitado);
    QCOMPARE(e->text(), esperado);
    QCOMPARE(QApplication::focusWidget(), e);
    e->clear(); // nothing to validate when the window goes
}

void TstFormPrincipal::enterComControladores() {
    REQUIRE_TEST_DB();
    const auto j = novaJanelaComBanco();
    QStringList visitados;
    for (int i = 0; i < 14; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        visitados << QApplication::focusWidget()->objectName();
    }
    QStringList esperado;
    for (const QString& s : kSufixos.mid(1))
        esperado << "Edit" + s;
    esperado << "cbApresentacao"
             << "cbOrdem"
             << "rgFormatoItem0"
             << "BitBtn1";
    QCOMPARE(visitados, esperado);
    // Leaving empty code edits validated nothing and left the normal look behind.
    for (const QString& s : kSufixos) {
        auto* e = filho<widgets::EventEdit>(j.get(), "Edit" + s);
        QVERIFY(e->text().isEmpty());
        QVERIFY(!e->font().bold());
    }
    QVERIFY(execucoes(0, 0).isEmpty());
}

void TstFormPrincipal::catalogoNoBanco_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QStringList>("pais"); // Depp, Secp, Cat
    QTest::addColumn<int>("codigo");
    QTest::addColumn<QString>("descricao"); // empty: not found
    const QStringList sem{"", "", ""};
    QTest::newRow("empresa") << "EditEmp" << sem << 1 << "SUPERMERCADO BOA VISTA LTDA";
    QTest::newRow("parte que não é empresa") << "EditEmp" << sem << 3 << "";
    QTest::newRow("depósito") << "EditDep" << sem << 5 << "CORREDOR 02 - PRATELEIRA A - NÍVEL 1";
    QTest::newRow("produto") << "EditPro" << sem << 1 << "AÇÚCAR CRISTAL 5KG";
    QTest::newRow("fornecedor") << "EditForn" << sem << 100
                                << "COOPERATIVA AGROINDUSTRIAL DOS PRODUTORES DO VALE DO RIBEIRA";
    QTest::newRow("empresa não é fornecedor") << "EditForn" << sem << 1 << "";
    QTest::newRow("departamento") << "EditDepp" << sem << 5 << "HORTIFRÚTI";
    QTest::newRow("seção") << "EditSecp" << sem << 12 << "FRUTAS";
    QTest::newRow("seção do departamento") << "EditSecp" << QStringList{"5", "", ""} << 12 << "FRUTAS";
    QTest::newRow("seção de outro departamento") << "EditSecp" << QStringList{"1", "", ""} << 12 << "";
    QTest::newRow("categoria") << "EditCat" << QStringList{"5", "12", ""} << 40 << "FRUTAS TROPICAIS";
    QTest::newRow("categoria de outra seção") << "EditCat" << QStringList{"", "1", ""} << 40 << "";
    QTest::newRow("subcategoria") << "EditScat" << QStringList{"5", "12", "40"} << 400 << "BANANA";
    QTest::newRow("subcategoria de outra categoria") << "EditScat" << QStringList{"", "", "41"} << 400 << "";
    QTest::newRow("família") << "EditFam" << sem << 1 << "ALIMENTOS";
    QTest::newRow("marca") << "EditMarca" << sem << 1 << "NESTLÉ";
    QTest::newRow("marca fora de linha") << "EditMarca" << sem << 60 << "";
    QTest::newRow("aplicação") << "EditApp" << sem << 1 << "USO DOMÉSTICO";
}

// Every text of the catalogue runs on the demo database: the description finds its code and the
// listing, searched by that description, brings the code back in its first column.
void TstFormPrincipal::catalogoNoBanco() {
    REQUIRE_TEST_DB();
    QFETCH(QString, edit);
    QFETCH(QStringList, pais);
    QFETCH(int, codigo);
    QFETCH(QString, descricao);
    testsupport::TestDataModule banco;
    TFormPrincipal janela({"prog"});
    janela.EditDepp->setText(pais[0]);
    janela.EditSecp->setText(pais[1]);
    janela.EditCat->setText(pais[2]);
    QObject* objeto = janela.findChild<QObject*>(edit);

    db::Query q(&DM->FDConnection1);
    q.setSql(janela.ELookUP(objeto, evDescricao));
    q.setParam(0, db::Value::fromInt(codigo, 32));
    q.open();
    QCOMPARE(q.rowCount() > 0 ? q.value(0).toString() : QString(), descricao);
    q.close();

    q.setSql(janela.ELookUP(objeto, evListagem));
    q.setParam(0, db::Value::fromText(descricao.isEmpty() ? QStringLiteral("%") : descricao));
    q.open();
    QVERIFY(q.fieldCount() >= 2);
    bool achou = false;
    for (int r = 0; r < q.rowCount(); ++r)
        achou = achou || q.value(r, 0).toString() == QString::number(codigo);
    QCOMPARE(achou, !descricao.isEmpty());
}

QTEST_MAIN(TstFormPrincipal)
#include "tst_formprincipal.moc"
