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

QTEST_MAIN(TstEventosForm)
#include "tst_eventosform.moc"
