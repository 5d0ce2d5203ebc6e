#include "common/EventosForm.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const QColor kAzul(0x00, 0x80, 0xC0);
const QColor kBranco(0xFF, 0xFF, 0xFF);
const QColor kPreto(0x00, 0x00, 0x00);

class EditProprio : public QLineEdit {};

using Fabrica = std::function<QWidget*()>;

QColor fundo(const QWidget* w) {
    return w->palette().color(QPalette::Base);
}
QColor letra(const QWidget* w) {
    return w->palette().color(QPalette::Text);
}

} // namespace

Q_DECLARE_METATYPE(Fabrica)

class TstEventosForm : public QObject {
    Q_OBJECT

private slots:
    void entraESai_data();
    void entraESai();
    void outrosControlesNaoMudam_data();
    void outrosControlesNaoMudam();
    void editDesabilitadoMantemCores();
    void outrosDesabilitadosVoltam();
    void saidaLimpaEstilos();
    void repeticoesMantemCoresProprias_data();
    void repeticoesMantemCoresProprias();
};

void TstEventosForm::entraESai_data() {
    QTest::addColumn<Fabrica>("fabrica");

    QTest::newRow("line edit") << Fabrica([] { return new QLineEdit; });
    QTest::newRow("masked edit") << Fabrica([] {
        auto* e = new QLineEdit;
        e->setInputMask(QStringLiteral("99/99/9999"));
        return e;
    });
    QTest::newRow("line edit subclass") << Fabrica([] { return new EditProprio; });
    QTest::newRow("plain text box") << Fabrica([] { return new QPlainTextEdit; });
    QTest::newRow("rich text box") << Fabrica([] { return new QTextEdit; });
    QTest::newRow("date-time edit") << Fabrica([] { return new QDateTimeEdit; });
    QTest::newRow("date edit") << Fabrica([] { return new QDateEdit; });
}

void TstEventosForm::entraESai() {
    QFETCH(Fabrica, fabrica);
    const std::unique_ptr<QWidget> w(fabrica());

    OnEnterDoDBEdit(w.get());
    QCOMPARE(fundo(w.get()), kAzul);
    QCOMPARE(letra(w.get()), kBranco);
    QVERIFY(w->font().bold());
    QVERIFY(w->autoFillBackground());

    OnExitDoDBEdit(w.get());
    QCOMPARE(fundo(w.get()), kBranco);
    QCOMPARE(letra(w.get()), kPreto);
    QVERIFY(!w->font().bold());
}

void TstEventosForm::outrosControlesNaoMudam_data() {
    QTest::addColumn<Fabrica>("fabrica");

    QTest::newRow("push button") << Fabrica([] { return new QPushButton; });
    QTest::newRow("combo box") << Fabrica([] { return new QComboBox; });
    QTest::newRow("plain widget") << Fabrica([] { return new QWidget; });
}

void TstEventosForm::outrosControlesNaoMudam() {
    QFETCH(Fabrica, fabrica);
    const std::unique_ptr<QWidget> w(fabrica());
    const QPalette paleta = w->palette();
    const QFont fonte = w->font();

    OnEnterDoDBEdit(w.get());
    QCOMPARE(w->palette(), paleta);
    QCOMPARE(w->font(), fonte);
    OnExitDoDBEdit(w.get());
    QCOMPARE(w->palette(), paleta);
    QCOMPARE(w->font(), fonte);

    QObject naoControle;
    OnEnterDoDBEdit(&naoControle);
    OnExitDoDBEdit(&naoControle);
    OnEnterDoDBEdit(nullptr);
    OnExitDoDBEdit(nullptr);
}

void TstEventosForm::editDesabilitadoMantemCores() {
    QLineEdit e;
    OnEnterDoDBEdit(&e);
    e.setEnabled(false);
    OnExitDoDBEdit(&e);
    QCOMPARE(fundo(&e), kAzul);
    QCOMPARE(letra(&e), kBranco);
    QVERIFY(e.font().bold());

    e.setEnabled(true);
    OnExitDoDBEdit(&e);
    QCOMPARE(fundo(&e), kBranco);
    QVERIFY(!e.font().bold());
}

// The enabled rule is for single-line edits only.
void TstEventosForm::outrosDesabilitadosVoltam() {
    QPlainTextEdit memo;
    OnEnterDoDBEdit(&memo);
    memo.setEnabled(false);
    OnExitDoDBEdit(&memo);
    QCOMPARE(fundo(&memo), kBranco);
    QCOMPARE(letra(&memo), kPreto);
    QVERIFY(!memo.font().bold());
}

void TstEventosForm::saidaLimpaEstilos() {
    QLineEdit e;
    QFont f = e.font();
    f.setItalic(true);
    f.setUnderline(true);
    f.setStrikeOut(true);
    f.setBold(true);
    e.setFont(f);
    OnExitDoDBEdit(&e);
    QVERIFY(!e.font().bold());
    QVERIFY(!e.font().italic());
    QVERIFY(!e.font().underline());
    QVERIFY(!e.font().strikeOut());
}

// Entries and exits in any order leave the colours of the last one, set on the control itself in
// every colour group: a later change of the window's palette must not reach the field. Repeated
// exits skip the palette work once the colours are there, and must not skip it before.
void TstEventosForm::repeticoesMantemCoresProprias_data() {
    // E = enter, S = exit, X = something else paints the field, A = the window turns blue on white
    QTest::addColumn<QString>("passos");
    QTest::addColumn<bool>("dentro");

    QTest::newRow("exit only") << "S" << false;
    QTest::newRow("two exits") << "SS" << false;
    QTest::newRow("enter, two exits") << "ESS" << false;
    QTest::newRow("two entries") << "EE" << true;
    QTest::newRow("exit, exit, enter") << "SSE" << true;
    QTest::newRow("repainted between exits") << "ESXS" << false;
    QTest::newRow("repainted between entries") << "EXE" << true;
    QTest::newRow("window already in the entry colours") << "AE" << true;
}

void TstEventosForm::repeticoesMantemCoresProprias() {
    QFETCH(QString, passos);
    QFETCH(bool, dentro);
    QWidget janela;
    auto* e = new QLineEdit(&janela);
    for (const QChar p : passos) {
        if (p == u'E') {
            OnEnterDoDBEdit(e);
        } else if (p == u'S') {
            OnExitDoDBEdit(e);
        } else if (p == u'A') {
            QPalette azul = janela.palette();
            azul.setColor(QPalette::Base, kAzul);
            azul.setColor(QPalette::Text, kBranco);
            janela.setPalette(azul);
            e->setAutoFillBackground(true);
        } else {
            QPalette outra = e->palette();
            outra.setColor(QPalette::Inactive, QPalette::Base, Qt::yellow);
            outra.setColor(QPalette::Disabled, QPalette::Text, Qt::red);
            e->setPalette(outra);
        }
    }
    QPalette daJanela = janela.palette();
    daJanela.setColor(QPalette::Base, Qt::green);
    daJanela.setColor(QPalette::Text, Qt::magenta);
    janela.setPalette(daJanela);

    const QColor esperadoFundo = dentro ? kAzul : kBranco;
    const QColor esperadoLetra = dentro ? kBranco : kPreto;
    for (const auto grupo : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        QCOMPARE(e->palette().color(grupo, QPalette::Base), esperadoFundo);
        QCOMPARE(e->palette().color(grupo, QPalette::Text), esperadoLetra);
    }
    QVERIFY(e->autoFillBackground());
    QCOMPARE(e->font().bold(), dentro);
}

QTEST_MAIN(TstEventosForm)
#include "tst_eventosform.moc"
