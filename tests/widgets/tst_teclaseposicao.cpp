// Keys pressed with Alt in our edits and under a window's key preview, and where windows open.
#include "search/FormL.h"
#include "widgets/EventEdit.h"
#include "widgets/FormMens.h"
#include "widgets/KeyPreview.h"
#include "widgets/Posicao.h"

#include <QLineEdit>
#include <QScreen>
#include <QVBoxLayout>
#include <QtTest>

class TestTeclasEPosicao : public QObject {
    Q_OBJECT
private slots:
    void altKeysAreNoText_data() {
        QTest::addColumn<bool>("nossoEdit");
        QTest::addColumn<int>("modificadores");
        QTest::addColumn<QString>("texto");
        for (const bool nosso : {true, false}) {
            const char* alvo = nosso ? "our edit" : "plain edit";
            QTest::addRow("%s: Alt+I", alvo) << nosso << int(Qt::AltModifier) << "";
            QTest::addRow("%s: Alt+Shift+I", alvo) << nosso << int(Qt::AltModifier | Qt::ShiftModifier) << "";
            QTest::addRow("%s: AltGr, X11", alvo) << nosso << int(Qt::GroupSwitchModifier) << "i";
            QTest::addRow("%s: AltGr as Ctrl+Alt", alvo)
                << nosso << int(Qt::ControlModifier | Qt::AltModifier) << "i";
            QTest::addRow("%s: no modifier", alvo) << nosso << int(Qt::NoModifier) << "i";
        }
    }
    void altKeysAreNoText() {
        QFETCH(bool, nossoEdit);
        QFETCH(int, modificadores);
        QFETCH(QString, texto);
        QWidget janela;
        auto* l = new QVBoxLayout(&janela);
        QLineEdit* edit = nossoEdit ? new widgets::EventEdit(&janela) : new QLineEdit(&janela);
        l->addWidget(edit);
        auto* previa = new widgets::KeyPreview(&janela);
        QString vistas;
        previa->OnKeyPress = [&vistas](QObject*, QChar& k) { vistas += k; };
        janela.show();
        QVERIFY(QTest::qWaitForWindowExposed(&janela));
        edit->setFocus();
        QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_I, QStringLiteral("i"),
                            Qt::KeyboardModifiers(modificadores));
        QCOMPARE(edit->text(), texto);
        QCOMPARE(vistas, texto); // the window's preview sees only text
    }

    // Frame sizes of the filter window (960 x 596 and a title bar) at several scalings.
    void placement_data() {
        QTest::addColumn<QSize>("moldura");
        QTest::addColumn<QRect>("disponivel");
        QTest::addColumn<QPoint>("posicao");
        QTest::newRow("fits: centred") << QSize(966, 625) << QRect(0, 0, 1920, 1040) << QPoint(477, 207);
        QTest::newRow("1280x1024 at 200 %") << QSize(966, 625) << QRect(0, 0, 640, 512) << QPoint(0, 0);
        QTest::newRow("1280x1024 at 150 %") << QSize(966, 625) << QRect(0, 0, 853, 682) << QPoint(0, 28);
        QTest::newRow("1366x768 at 125 %, panel below")
            << QSize(966, 625) << QRect(0, 0, 1093, 590) << QPoint(63, 0);
        QTest::newRow("second screen, panel on top")
            << QSize(966, 625) << QRect(1280, 32, 640, 480) << QPoint(1280, 32);
        QTest::newRow("second screen, fits")
            << QSize(400, 300) << QRect(1280, 32, 1000, 700) << QPoint(1580, 232);
    }
    void placement() {
        QFETCH(QSize, moldura);
        QFETCH(QRect, disponivel);
        QTEST(widgets::PosicaoNaTela(moldura, disponivel), "posicao");
    }

    // The windows larger than the screen (the test screen is small) still open inside it.
    void windowsOpenWithinTheScreen_data() {
        QTest::addColumn<QString>("qual");
        QTest::newRow("search window") << "busca";
        QTest::newRow("message window") << "mensagem";
    }
    void windowsOpenWithinTheScreen() {
        QFETCH(QString, qual);
        std::unique_ptr<QDialog> janela;
        if (qual == QStringLiteral("busca"))
            janela = std::make_unique<TFormL>();
        else
            janela = std::make_unique<TFormMens>();
        const QRect area = janela->screen()->availableGeometry();
        janela->setFixedSize(area.size() + QSize(200, 100));
        janela->show();
        QVERIFY(QTest::qWaitForWindowExposed(janela.get()));
        QCOMPARE(janela->frameGeometry().topLeft(), area.topLeft());
    }
};

QTEST_MAIN(TestTeclasEPosicao)
#include "tst_teclaseposicao.moc"
