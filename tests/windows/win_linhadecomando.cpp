// The Windows command line: read in UTF-16, and the password blanked in the process's own copy
// with the other arguments still read as before.
#include "app/Application.h"
#include "app/windows/LinhaDeComando.h"

#include <QtTest>

#include <string>

#include <windows.h>

class TstLinhaDeComando : public QObject {
    Q_OBJECT
private slots:
    void citadoVoltaIgual_data() {
        QTest::addColumn<QString>("argumento");
        QTest::newRow("simples") << QStringLiteral("zarvent");
        QTest::newRow("vazio") << QString();
        QTest::newRow("acentos") << QStringLiteral("João Çã");
        QTest::newRow("aspas") << QStringLiteral("a\"b");
        QTest::newRow("barra antes das aspas") << QStringLiteral("a\\\"b");
        QTest::newRow("barras no fim") << QStringLiteral("C:\\Pasta com espaço\\");
        QTest::newRow("barras soltas") << QStringLiteral("\\\\servidor\\a b");
        QTest::newRow("tab") << QStringLiteral("a\tb");
    }
    void citadoVoltaIgual() {
        QFETCH(QString, argumento);
        const QString linha =
            QStringLiteral("prog.exe x ") + ArgumentoCitado(argumento) + QStringLiteral(" y");
        const QStringList lidos = ArgumentosDaLinhaDoWindows(reinterpret_cast<const wchar_t*>(linha.utf16()));
        QCOMPARE(lidos, (QStringList{QStringLiteral("prog.exe"), QStringLiteral("x"), argumento,
                                     QStringLiteral("y")}));
    }

    void senhaApagadaOsOutrosIguais_data() {
        QTest::addColumn<QString>("linha");
        QTest::addColumn<bool>("soASenha");
        QTest::newRow("simples") << QStringLiteral("relenderecamento.exe 1 2 joao segredo 5 6 7 8") << true;
        QTest::newRow("programa entre aspas")
            << QStringLiteral("\"C:\\Program Files\\r\\relenderecamento.exe\" 1 2 joão \"se gre do\" 5 6 7 8")
            << true;
        QTest::newRow("aspas e barras")
            << QStringLiteral("p.exe 1 2 \"a b\" se\\\"gr\\\\\"e do\" \"x\\\\\" 6 7 8") << true;
        QTest::newRow("senha vazia") << QStringLiteral("p.exe 1 2 u \"\" 5 6 7 8") << true;
        QTest::newRow("brancos extras") << QStringLiteral("p.exe   1\t2  u   segredo   5 6 7 8   ") << true;
        // A quote left open at the end reads as closed, and the rewrite (which closes it) would
        // not fit: everything after the program's name is blanked instead.
        QTest::newRow("aspas sem fim") << QStringLiteral("p.exe 1 2 u \"\" 5 6 7 \"a b") << false;
    }
    void senhaApagadaOsOutrosIguais() {
        QFETCH(QString, linha);
        QFETCH(bool, soASenha);
        std::wstring buffer = linha.toStdWString();
        const QStringList antes = ArgumentosDaLinhaDoWindows(buffer.c_str());
        QVERIFY(antes.size() > 4);
        const QString senha = antes.at(4);
        const bool so = ApagaArgumentoDaLinha(buffer.data(), buffer.size(), 4);
        QCOMPARE(buffer.size(), static_cast<std::size_t>(linha.size()));
        const QString depois = QString::fromStdWString(buffer);
        if (!senha.isEmpty())
            QVERIFY2(!depois.contains(senha), qPrintable(depois));
        const QStringList lidos = ArgumentosDaLinhaDoWindows(buffer.c_str());
        if (so) {
            QStringList esperado = antes;
            esperado[4].clear();
            QCOMPARE(lidos, esperado);
        } else {
            QCOMPARE(lidos.size(), 1);
            QCOMPARE(lidos.at(0), antes.at(0));
        }
        QCOMPARE(so, soASenha);
    }

    void semSenhaNadaMuda() {
        std::wstring buffer = L"p.exe 1 2 u";
        QVERIFY(ApagaArgumentoDaLinha(buffer.data(), buffer.size(), 4));
        QCOMPARE(QString::fromStdWString(buffer), QStringLiteral("p.exe 1 2 u"));
    }

    // The program's own reading: the process's UTF-16 line, not the ANSI argv.
    void argumentosVemDaLinhaUtf16() {
        const QStringList lidos = ArgumentosDaLinhaDeComando(0, nullptr);
        QCOMPARE(lidos, ArgumentosDaLinhaDoWindows(GetCommandLineW()));
        QVERIFY(!lidos.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstLinhaDeComando)
#include "win_linhadecomando.moc"
