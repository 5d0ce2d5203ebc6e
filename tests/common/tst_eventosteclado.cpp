#include "base/AppError.h"
#include "common/EventosTeclado.h"
#include "widgets/DataGrid.h"

#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {

// A multi-line box under another class name is not an exception.
class MemoProprio : public QPlainTextEdit {
    Q_OBJECT

public:
    using QPlainTextEdit::QPlainTextEdit;
};

constexpr char16_t kEnter = 13;

struct Janela {
    std::unique_ptr<QWidget> janela = std::make_unique<QWidget>();
    QLineEdit* primeiro = new QLineEdit(janela.get());
    QLineEdit* desabilitado = new QLineEdit(janela.get());
    QLineEdit* segundo = new QLineEdit(janela.get());
    QLineEdit* oculto = new QLineEdit(janela.get());
    QPlainTextEdit* memo = new QPlainTextEdit(janela.get());
    QTextEdit* texto = new QTextEdit(janela.get());
    DataGrid* grade = new DataGrid(janela.get());
    MemoProprio* memoProprio = new MemoProprio(janela.get());
    QDateEdit* data = new QDateEdit(janela.get());
    QLineEdit* ultimo = new QLineEdit(janela.get());

    Janela() {
        auto* layout = new QVBoxLayout(janela.get());
        for (QWidget* w : std::initializer_list<QWidget*>{primeiro, desabilitado, segundo, oculto, memo,
                                                          texto, grade, memoProprio, data, ultimo})
            layout->addWidget(w);
        desabilitado->setEnabled(false);
        janela->show();
        oculto->hide();
        QApplication::setActiveWindow(janela.get());
    }

    QWidget* porNome(const QString& nome) const {
        const QHash<QString, QWidget*> controles = {
            {"primeiro", primeiro}, {"segundo", segundo},         {"memo", memo}, {"texto", texto},
            {"grade", grade},       {"memoProprio", memoProprio}, {"data", data}, {"ultimo", ultimo},
        };
        return controles.value(nome);
    }
};

} // namespace

class TstEventosTeclado : public QObject {
    Q_OBJECT

private slots:
    void numeros_data();
    void numeros();
    void textos_data();
    void textos();
    void textosAceitaExatamenteOConjunto();
    void enterNoForm_data();
    void enterNoForm();
    void outrasTeclasNoForm();
    void formSemControleFocado();
    void remetenteQueNaoEJanela();
};

void TstEventosTeclado::numeros_data() {
    QTest::addColumn<int>("tecla");
    QTest::addColumn<int>("esperado");

    QTest::newRow("7") << int(u'7') << int(u'7');
    QTest::newRow("0") << int(u'0') << int(u'0');
    QTest::newRow("9") << int(u'9') << int(u'9');
    QTest::newRow("comma") << int(u',') << int(u',');
    QTest::newRow("Backspace") << 8 << 8;
    QTest::newRow("Enter") << 13 << 13;
    QTest::newRow("a") << int(u'a') << 0;
    QTest::newRow("minus") << int(u'-') << 0;
    QTest::newRow("full stop") << int(u'.') << 0;
    QTest::newRow("blank") << int(u' ') << 0;
    QTest::newRow("slash, before 0") << int(u'/') << 0;
    QTest::newRow("colon, after 9") << int(u':') << 0;
    QTest::newRow("Tab") << 9 << 0;
    QTest::newRow("Arabic-Indic digit") << 0x0663 << 0;
}

void TstEventosTeclado::numeros() {
    QFETCH(int, tecla);
    QFETCH(int, esperado);
    QChar key(static_cast<char16_t>(tecla));
    OnKeyPressDosNumeros(key);
    QCOMPARE(int(key.unicode()), esperado);
}

void TstEventosTeclado::textos_data() {
    QTest::addColumn<int>("tecla");
    QTest::addColumn<int>("esperado");

    QTest::newRow("ç") << 0xE7 << int(u'C');
    QTest::newRow("Ç") << 0xC7 << int(u'C');
    QTest::newRow("é") << 0xE9 << int(u'E');
    QTest::newRow("À") << 0xC0 << int(u'A');
    QTest::newRow("ã") << 0xE3 << int(u'A');
    QTest::newRow("î") << 0xEE << int(u'I');
    QTest::newRow("Õ") << 0xD5 << int(u'O');
    QTest::newRow("ü") << 0xFC << int(u'U');
    QTest::newRow("Ù") << 0xD9 << int(u'U');
    QTest::newRow("x") << int(u'x') << int(u'X');
    QTest::newRow("a") << int(u'a') << int(u'A');
    QTest::newRow("z") << int(u'z') << int(u'Z');
    QTest::newRow("Q") << int(u'Q') << int(u'Q');
    QTest::newRow("ª") << 0xAA << 0xAA;
    QTest::newRow("º") << 0xBA << 0xBA;
    QTest::newRow("§") << 0xA7 << 0xA7;
    QTest::newRow("1") << int(u'1') << int(u'1');
    QTest::newRow("%") << int(u'%') << int(u'%');
    QTest::newRow("blank") << 32 << 32;
    QTest::newRow("}") << int(u'}') << int(u'}');
    QTest::newRow("copy") << 3 << 3;
    QTest::newRow("paste") << 22 << 22;
    QTest::newRow("undo") << 26 << 26;
    QTest::newRow("Enter") << 13 << 13;
    QTest::newRow("Tab") << 9 << 9;
    QTest::newRow("line feed") << 10 << 10;
    QTest::newRow("Backspace") << 8 << 8;
    QTest::newRow("Ñ") << 0xD1 << 0;
    QTest::newRow("ñ") << 0xF1 << 0;
    QTest::newRow("Ä") << 0xC4 << 0;
    QTest::newRow("ë") << 0xEB << 0;
    QTest::newRow("apostrophe") << int(u'\'') << 0;
    QTest::newRow("caret") << int(u'^') << 0;
    QTest::newRow("grave") << int(u'`') << 0;
    QTest::newRow("tilde") << int(u'~') << 0;
    QTest::newRow("DEL") << 127 << 0;
    QTest::newRow("Escape") << 27 << 0;
    QTest::newRow("cut") << 24 << 0;
    QTest::newRow("select all") << 1 << 0;
    QTest::newRow("euro") << 0x20AC << 0;
    QTest::newRow("NUL") << 0 << 0;
}

void TstEventosTeclado::textos() {
    QFETCH(int, tecla);
    QFETCH(int, esperado);
    QChar key(static_cast<char16_t>(tecla));
    OnKeyPressDosTextos(key);
    QCOMPARE(int(key.unicode()), esperado);
}

// Over every UTF-16 unit: 139 are kept, and nothing kept is a lower-case letter or an accent.
void TstEventosTeclado::textosAceitaExatamenteOConjunto() {
    int aceitos = 0;
    for (int c = 1; c <= 0xFFFF; ++c) {
        QChar key(static_cast<char16_t>(c));
        OnKeyPressDosTextos(key);
        if (key.isNull())
            continue;
        ++aceitos;
        const char16_t r = key.unicode();
        QVERIFY2(!(r >= u'a' && r <= u'z'), qPrintable(QString::number(c)));
        QVERIFY2(r < 0x80 || r == 0xA7 || r == 0xAA || r == 0xBA, qPrintable(QString::number(c)));
        if (c >= 0x20 && c < 0x7F && !(c >= u'a' && c <= u'z'))
            QCOMPARE(int(r), c);
    }
    QCOMPARE(aceitos, 139);
}

void TstEventosTeclado::enterNoForm_data() {
    QTest::addColumn<QString>("focado");
    QTest::addColumn<QString>("depois"); // control focused afterwards
    QTest::addColumn<bool>("engolida");

    QTest::newRow("line edit moves on, skipping disabled") << "primeiro"
                                                           << "segundo" << true;
    QTest::newRow("hidden controls are skipped") << "segundo"
                                                 << "memo" << true;
    QTest::newRow("last wraps to the first") << "ultimo"
                                             << "primeiro" << true;
    QTest::newRow("plain text box keeps Enter") << "memo"
                                                << "memo" << false;
    QTest::newRow("rich text box keeps Enter") << "texto"
                                               << "texto" << false;
    QTest::newRow("grid keeps Enter") << "grade"
                                      << "grade" << false;
    QTest::newRow("subclass of a text box moves on") << "memoProprio"
                                                     << "data" << true;
    QTest::newRow("date edit moves on") << "data"
                                        << "ultimo" << true;
}

void TstEventosTeclado::enterNoForm() {
    QFETCH(QString, focado);
    QFETCH(QString, depois);
    QFETCH(bool, engolida);

    Janela j;
    QVERIFY(QTest::qWaitForWindowActive(j.janela.get()));
    j.porNome(focado)->setFocus(Qt::OtherFocusReason);
    QCOMPARE(j.janela->focusWidget(), j.porNome(focado));

    QChar key(kEnter);
    OnKeyPressDoForm(j.janela.get(), key);
    QCOMPARE(key.isNull(), engolida);
    if (!engolida)
        QCOMPARE(int(key.unicode()), int(kEnter));
    QCOMPARE(j.janela->focusWidget(), j.porNome(depois));
}

void TstEventosTeclado::outrasTeclasNoForm() {
    Janela j;
    QVERIFY(QTest::qWaitForWindowActive(j.janela.get()));
    j.primeiro->setFocus(Qt::OtherFocusReason);

    QChar key(u'é');
    OnKeyPressDoForm(j.janela.get(), key);
    QCOMPARE(key, QChar(u'E'));
    key = QChar(u'~');
    OnKeyPressDoForm(j.janela.get(), key);
    QVERIFY(key.isNull());
    QCOMPARE(j.janela->focusWidget(), j.primeiro);
}

void TstEventosTeclado::formSemControleFocado() {
    QWidget janela;
    QChar key(kEnter);
    OnKeyPressDoForm(&janela, key);
    QCOMPARE(int(key.unicode()), int(kEnter));
}

void TstEventosTeclado::remetenteQueNaoEJanela() {
    Janela j;
    QChar key(kEnter);
    QVERIFY_THROWS_EXCEPTION(InvalidTypeError, OnKeyPressDoForm(j.primeiro, key));
    QObject objeto;
    QVERIFY_THROWS_EXCEPTION(InvalidTypeError, OnKeyPressDoForm(&objeto, key));
    QVERIFY_THROWS_EXCEPTION(InvalidTypeError, OnKeyPressDoForm(nullptr, key));
    QCOMPARE(int(key.unicode()), int(kEnter));
}

QTEST_MAIN(TstEventosTeclado)
#include "tst_eventosteclado.moc"
